#include "core/serial/portholders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PortHolders {

namespace {

// Lock files are a few dozen bytes; anything larger, or not a plain file (a FIFO would block the
// read), is no lock of ours to trust.
constexpr qint64 LockSizeLimit = 1024;

QByteArray smallFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > LockSizeLimit)
        return {};
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray bytes(int(LockSizeLimit), Qt::Uninitialized);
    const ssize_t n = ::read(fd, bytes.data(), size_t(bytes.size()));
    ::close(fd);
    bytes.resize(n > 0 ? qsizetype(n) : 0);
    return bytes;
}


bool isAlive(qint64 pid, const QString &procDir)
{
    return QFileInfo::exists(QStringLiteral("%1/%2").arg(procDir).arg(pid));
}

/// The index of the pseudo-terminal whose master `fd` of process `pid` is, or -1.
int ptyMasterIndex(const QString &procDir, const QString &pid, const QString &fd)
{
    const QByteArray info = smallFile(QStringLiteral("%1/%2/fdinfo/%3").arg(procDir, pid, fd));
    for (const QByteArray &line : info.split('\n')) {
        if (line.startsWith("tty-index:")) {
            bool ok = false;
            const int index = line.mid(10).trimmed().toInt(&ok);
            return ok ? index : -1;
        }
    }
    return -1;
}

} // namespace

QString lockFileName(const QString &node)
{
    const QString devicePrefix = QStringLiteral("/dev/");
    QString name = node.startsWith(devicePrefix) ? node.mid(devicePrefix.size()) : node;
    name.replace(u'/', u'_');
    return QStringLiteral("LCK..") + name;
}

std::optional<Lock> readLock(const QString &path)
{
    const QByteArray bytes = smallFile(path);
    if (bytes.isEmpty())
        return std::nullopt;
    Lock lock;
    lock.path = path;
    const QList<QByteArray> lines = bytes.split('\n');
    bool ok = false;
    lock.pid = lines.value(0).trimmed().toLongLong(&ok);
    if (ok) {
        // Qt's lock file: pid, application name, host name (and more lines in newer versions).
        lock.form = lines.size() >= 3 && !lines.at(1).trimmed().isEmpty() ? Lock::Form::Qt : Lock::Form::Uucp;
    } else if (bytes.size() == 4) {
        // The oldest UUCP form: the pid as a binary int.
        qint32 pid = 0;
        std::memcpy(&pid, bytes.constData(), sizeof pid);
        lock.pid = pid;
        lock.form = Lock::Form::Uucp;
    }
    if (lock.pid <= 0)
        return std::nullopt;
    return lock;
}

QStringList systemLockDirs()
{
    QStringList dirs;
    QSet<QString> seen;
    for (const QString &dir : {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")}) {
        const QString canonical = QFileInfo(dir).canonicalFilePath();
        if (canonical.isEmpty() || seen.contains(canonical))
            continue;
        seen.insert(canonical);
        dirs << dir;
    }
    return dirs;
}

QString programOf(qint64 pid, const QString &procDir)
{
    return QString::fromLocal8Bit(smallFile(QStringLiteral("%1/%2/comm").arg(procDir).arg(pid)).trimmed());
}

std::optional<Lock> lockOf(const QString &node, const QStringList &lockDirs, const QString &procDir)
{
    QStringList names{lockFileName(node)};
    const QString plain = QStringLiteral("LCK..") + QFileInfo(node).fileName();
    if (!names.contains(plain))
        names << plain;
    const qint64 self = QCoreApplication::applicationPid();
    std::optional<Lock> stale;
    for (const QString &dir : lockDirs) {
        for (const QString &name : std::as_const(names)) {
            std::optional<Lock> lock = readLock(QDir(dir).filePath(name));
            if (!lock || lock->pid == self)
                continue;
            lock->alive = isAlive(lock->pid, procDir);
            if (lock->alive) {
                lock->program = programOf(lock->pid, procDir);
                return lock;
            }
            if (!stale)
                stale = lock;
        }
    }
    return stale;
}

QList<Holder> openBy(const QString &node, const QString &procDir)
{
    QList<Holder> holders;
    struct stat wanted{};
    if (::stat(QFile::encodeName(node).constData(), &wanted) != 0)
        return holders;
    // The far end of a pseudo-terminal holds /dev/ptmx with the terminal's index.
    int ptyIndex = -1;
    struct stat multiplexer{};
    if (node.startsWith(QStringLiteral("/dev/pts/")) && ::stat("/dev/ptmx", &multiplexer) == 0) {
        bool ok = false;
        ptyIndex = node.mid(9).toInt(&ok);
        if (!ok)
            ptyIndex = -1;
    }
    const QString self = QString::number(QCoreApplication::applicationPid());
    const QStringList pids = QDir(procDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric || pid == self)
            continue;
        const QString fdDir = QStringLiteral("%1/%2/fd").arg(procDir, pid);
        bool holds = false;
        bool farEnd = false;
        const QStringList fds = QDir(fdDir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : fds) {
            struct stat opened{};
            if (::stat(QFile::encodeName(fdDir + u'/' + fd).constData(), &opened) != 0 || !S_ISCHR(opened.st_mode))
                continue;
            if (opened.st_rdev == wanted.st_rdev)
                holds = true;
            else if (ptyIndex >= 0 && opened.st_rdev == multiplexer.st_rdev && ptyMasterIndex(procDir, pid, fd) == ptyIndex)
                farEnd = true;
        }
        if (holds && !farEnd)
            holders.append(Holder{pid.toLongLong(), programOf(pid.toLongLong(), procDir)});
    }
    return holders;
}

Found inspect(const QString &node)
{
    Found found;
    found.lock = lockOf(node, systemLockDirs());
    found.openBy = openBy(node);
    return found;
}

} // namespace PortHolders
