#include "core/files/outputtarget.h"

#include "core/files/systemerror.h"

#include <QCoreApplication>
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
    return SystemError::describe(number);
}

/// "<path>: <reason>": the front ends take the path off where they name the file themselves.
QString failed(const QString &path, const QString &reason)
{
    return QStringLiteral("%1: %2").arg(path, reason);
}

#ifdef Q_OS_UNIX
/// A name for the temporary file beside `fileName` that stays within the folder's limit for a
/// name: ".<name>.<pid>-<attempt>.tmp", the name shortened when it is long.
QByteArray temporaryNameFor(const QString &folder, const QString &fileName, int attempt)
{
    const QByteArray folderName = QFile::encodeName(folder);
    const long limit = ::pathconf(folderName.constData(), _PC_NAME_MAX);
    const qsizetype nameMax = limit > 0 ? qsizetype(limit) : 255;
    const QByteArray suffix = QStringLiteral(".%1-%2.tmp").arg(::getpid()).arg(attempt).toLatin1();
    QString stem = fileName;
    while (!stem.isEmpty() && 1 + QFile::encodeName(stem).size() + suffix.size() > nameMax)
        stem.chop(stem.size() > 1 && stem.at(stem.size() - 1).isLowSurrogate() ? 2 : 1);
    return folderName + '/' + '.' + QFile::encodeName(stem) + suffix;
}

/// Why this user may not write the existing file, or 0. A file without any write permission is
/// read-only for root too: root may write it, but the user made it so.
int writeDenied(const QByteArray &name, const struct stat &status)
{
    if (::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0)
        return errno;
    return (status.st_mode & 0222) == 0 ? EACCES : 0;
}

/// The replacement keeps the old file's owner and group where this process may give them (as
/// root it may: the user's file must not become root's); where it may not, it is this user's.
void keepOwner(int fd, const struct stat &old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) == 0)
        return;
    if (::fchown(fd, uid_t(-1), old.st_gid) == 0)
        return;
}

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
    // The rename would replace a file the user may not write (a read-only one, another user's in
    // a shared folder): such a file is refused and stays as it is.
    if (const int denied = hadOld ? writeDenied(targetName, old) : 0; denied != 0)
        return failed(path, QCoreApplication::translate("OutputTarget", "文件不可写：%1").arg(systemReason(denied)));
    QByteArray temporaryName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporaryName = temporaryNameFor(targetInfo.absolutePath(), targetInfo.fileName(), attempt);
        fd = ::open(temporaryName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno == EACCES || errno == EPERM))
            return failed(path, QCoreApplication::translate("OutputTarget", "文件夹 %1 不可写：%2")
                                    .arg(QDir::toNativeSeparators(targetInfo.absolutePath()), systemReason(errno)));
        if (fd < 0 && errno != EEXIST)
            return failed(path, systemReason(errno));
    }
    if (fd < 0)
        return failed(path, systemReason(EEXIST));
    auto fail = [&](int number) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporaryName.constData());
        return failed(path, systemReason(number));
    };
    if (hadOld) {
        keepOwner(fd, old);
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            return fail(errno);
    }
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
        return failed(path, reason);
    }
    return QString();
}
#endif

} // namespace

QString write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (info.isDir())
        return failed(path, QCoreApplication::translate("OutputTarget", "是文件夹"));
    if (info.exists() && !info.isFile()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || device.write(bytes) != bytes.size() || !device.flush())
            return failed(path, device.errorString());
        device.close();
        if (device.error() != QFileDevice::NoError)
            return failed(path, device.errorString());
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
