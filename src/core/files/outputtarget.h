// Where a written channel set goes. A regular file is replaced through a temporary file, so a
// failed write leaves the old one; a device or a FIFO is written in place, because renaming a
// temporary file over it would replace the device itself; a folder is refused.
#pragma once

#include <QByteArray>
#include <QString>

namespace OutputTarget {

/// One text per file, whatever name it goes by: links resolved, a file not yet there named by
/// its resolved folder.
QString identity(const QString &path);

/// Writes the bytes to the path; the error, starting with the path, or an empty text.
QString write(const QString &path, const QByteArray &bytes);

/// Writes the bytes to standard output and flushes it; the error or an empty text.
QString writeStandardOutput(const QByteArray &bytes);

} // namespace OutputTarget
