// The system's reason for a failed file operation, for the user: the common causes (permission,
// disk full, read-only, missing folder) in the program's language, the system's own words after.
#pragma once

#include <QString>

namespace SystemError {

/// "磁盘已满（No space left on device）"; the system's words alone for a less common cause.
QString describe(int errorNumber);

} // namespace SystemError
