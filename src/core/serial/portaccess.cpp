#include "core/serial/portaccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace PortAccess {

namespace {

Inspector &installedInspector()
{
    static Inspector inspector;
    return inspector;
}

QString groupName(gid_t gid)
{
    if (const group *entry = getgrgid(gid))
        return QString::fromLocal8Bit(entry->gr_name);
    return QString::number(gid);
}

// UUCP lock files hold the pid as text, blanks before it; Qt's own put the pid on the first line.
std::optional<qint64> pidIn(const QByteArray &text)
{
    bool ok = false;
    const qsizetype lineEnd = text.indexOf('\n');
    const qint64 pid = (lineEnd < 0 ? text : text.left(lineEnd)).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0)
        return std::nullopt;
    return pid;
}

} // namespace

QString lockFileName(const QString &node)
{
    const QString devicePrefix = QStringLiteral("/dev/");
    QString name = node.startsWith(devicePrefix) ? node.mid(devicePrefix.size()) : node;
    name.replace(u'/', u'_');
    return QStringLiteral("LCK..") + name;
}

Lock lockOf(const QString &node, const QString &lockDir)
{
    Lock lock;
    lock.path = lockDir + u'/' + lockFileName(node);
    const QByteArray name = QFile::encodeName(lock.path);
    struct stat status{};
    if (::stat(name.constData(), &status) != 0)
        return lock;
    // Anyone may put a FIFO or a folder in the lock folder: opening one must not wait.
    if (!S_ISREG(status.st_mode)) {
        lock.state = Lock::State::NotAFile;
        return lock;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return lock;
    char text[64] = {};
    ssize_t got = -1;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
        got = ::read(fd, text, sizeof text - 1);
    else
        lock.state = Lock::State::NotAFile;
    ::close(fd);
    if (got > 0) {
        lock.pid = pidIn(QByteArray(text, int(got)));
        if (lock.pid)
            lock.state = Lock::State::Held;
    }
    return lock;
}

bool isHeldElsewhere(const Lock &lock)
{
    if (lock.state == Lock::State::NotAFile)
        return true;
    if (lock.state != Lock::State::Held || !lock.pid || *lock.pid == qint64(::getpid()))
        return false;
    // EPERM: alive, and another user's.
    return ::kill(pid_t(*lock.pid), 0) == 0 || errno == EPERM;
}

Facts fromSystem(const QString &device, const QString &lockDir, const QString &procDir)
{
    Facts facts;
    const QString node = QFileInfo(device).canonicalFilePath();
    struct stat status{};
    if (node.isEmpty() || ::stat(QFile::encodeName(node).constData(), &status) != 0)
        return facts;
    facts.exists = true;
    facts.group = groupName(status.st_gid);
    facts.mayOpen = ::access(QFile::encodeName(node).constData(), R_OK | W_OK) == 0;
    const Lock lock = lockOf(node, lockDir);
    facts.holderPid = lock.pid;
    if (lock.state == Lock::State::NotAFile)
        facts.oddLock = lock.path;
    if (facts.holderPid) {
        QFile comm(procDir + QStringLiteral("/%1/comm").arg(*facts.holderPid));
        if (comm.open(QIODevice::ReadOnly))
            facts.holderProgram = QString::fromLocal8Bit(comm.readLine(256).trimmed());
    }
    return facts;
}

Facts of(const QString &device)
{
    const Inspector &inspector = installedInspector();
    return inspector ? inspector(device) : fromSystem(device);
}

Inspector setInspector(Inspector inspector)
{
    return std::exchange(installedInspector(), std::move(inspector));
}

QString permissionRemedy(const QString &device, const Facts &facts, Language language)
{
    const QString group = facts.group.isEmpty() ? QStringLiteral("dialout") : facts.group;
    if (language == Language::English)
        return QStringLiteral("%1 belongs to group %2: sudo usermod -aG %2 $USER, then log in again").arg(device, group);
    return QCoreApplication::translate("PortAccess", "%1 属于 %2 组：sudo usermod -aG %2 $USER，然后重新登录").arg(device, group);
}

QString holder(const Facts &facts, Language language)
{
    if (!facts.holderPid)
        return QString();
    const QString pid = QString::number(*facts.holderPid);
    if (language == Language::English)
        return facts.holderProgram.isEmpty() ? QStringLiteral("process %1").arg(pid)
                                             : QStringLiteral("process %1 (%2)").arg(pid, facts.holderProgram);
    return facts.holderProgram.isEmpty() ? QCoreApplication::translate("PortAccess", "进程 %1").arg(pid) : QCoreApplication::translate("PortAccess", "进程 %1（%2）").arg(pid, facts.holderProgram);
}

} // namespace PortAccess
