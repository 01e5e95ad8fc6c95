#include "files/outputtarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace OutputTarget {

QString identity(const QString &path)
{
    QFileInfo info(path);
    // A link to a file not there yet names that file.
    for (int hops = 0; hops < 40 && info.isSymLink() && !info.exists(); ++hops)
        info = QFileInfo(info.symLinkTarget());
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

QString write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("%1: is a folder").arg(path);
    if (info.exists() && !info.isFile()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || device.write(bytes) != bytes.size() || !device.flush())
            return QStringLiteral("%1: %2").arg(path, device.errorString());
        device.close();
        if (device.error() != QFileDevice::NoError)
            return QStringLiteral("%1: %2").arg(path, device.errorString());
        return QString();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("%1: %2").arg(path, reason);
    }
    return QString();
}

QString writeStandardOutput(const QByteArray &bytes)
{
    errno = 0;
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    if (written && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return QString();
    const int reason = errno;
    std::clearerr(stdout);
    return QStringLiteral("standard output: %1").arg(reason ? QString::fromLocal8Bit(std::strerror(reason)) : QStringLiteral("write error"));
}

} // namespace OutputTarget
