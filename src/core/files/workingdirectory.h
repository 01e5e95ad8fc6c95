// The process working directory, read before a file command and set back after it.
#pragma once

#include <QString>

namespace WorkingDirectory {

/// The working directory; an empty text when the system cannot tell (then `ok` is false).
QString current(bool *ok = nullptr);

/// Makes `path` the working directory; false when that did not work (an empty path never does).
bool change(const QString &path);

/// The text before its first NUL character, or the whole text when it holds none.
QString textBeforeNul(const QString &text);

} // namespace WorkingDirectory
