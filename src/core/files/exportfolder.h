// The folder the last export went to (a sheet or a PDF of the channel list), kept in the settings
// so that the next export starts there, in this run or a later one.
#pragma once

#include <QString>

namespace ExportFolder {

/// The folder of the last export; empty before the first.
QString last();

/// Keeps the folder of `exportedFile`.
void remember(const QString &exportedFile);

/// The name an export dialog starts with: `fileName` in the last export's folder, or the folder
/// alone for an empty `fileName`; `fileName` alone before the first export.
QString startName(const QString &fileName = QString());

} // namespace ExportFolder
