#include "core/files/outputtarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

namespace {

QString systemReason(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

#ifdef Q_OS_UNIX
/// Writes every byte, fsyncs and closes the temporary file, and only then renames it over the
/// old one. A buffered writer may report success at commit although its last write ran out of
/// space, so each step's own result is checked here.
QString replaceRegular(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? identity(path) : info.absoluteFilePath();
    const QByteArray targetName = QFile::encodeName(target);
    const QFileInfo targetInfo(target);
    struct stat old;
    const bool hadOld = ::stat(targetName.constData(), &old) == 0;
    QByteArray temporaryName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporaryName = QFile::encodeName(QDir(targetInfo.absolutePath())
                                              .filePath(QStringLiteral(".%1.%2-%3.tmp")
                                                            .arg(targetInfo.fileName())
                                                            .arg(::getpid())
                                                            .arg(attempt)));
        fd = ::open(temporaryName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return QStringLiteral("%1: %2").arg(path, systemReason(errno));
    }
    if (fd < 0)
        return QStringLiteral("%1: %2").arg(path, systemReason(EEXIST));
    auto fail = [&](int number) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporaryName.constData());
        return QStringLiteral("%1: %2").arg(path, systemReason(number));
    };
    if (hadOld && ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail(errno);
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail(written < 0 ? errno : ENOSPC);
        data += written;
        left -= written;
    }
    if (::fsync(fd) != 0 && errno != EINVAL)
        return fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(errno);
    if (::rename(temporaryName.constData(), targetName.constData()) != 0)
        return fail(errno);
    return QString();
}
#else
QString replaceRegular(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("%1: %2").arg(path, reason);
    }
    return QString();
}
#endif

} // namespace

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
    return replaceRegular(path, bytes);
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
