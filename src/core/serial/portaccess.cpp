#include "core/serial/portaccess.h"

#include "core/serial/portholders.h"

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

} // namespace

Lock lockOf(const QString &node, const QString &lockDir)
{
    Lock lock;
    lock.path = lockDir + u'/' + PortHolders::lockFileName(node);
    const QByteArray name = QFile::encodeName(lock.path);
    struct stat status{};
    if (::stat(name.constData(), &status) != 0)
        return lock;
    // Anyone may put a FIFO or a folder in the lock folder: opening one must not wait.
    if (!S_ISREG(status.st_mode)) {
        lock.state = Lock::State::NotAFile;
        return lock;
    }
    if (const std::optional<PortHolders::Lock> held = PortHolders::readLock(lock.path)) {
        lock.pid = held->pid;
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
    if (facts.holderPid)
        facts.holderProgram = PortHolders::programOf(*facts.holderPid, procDir);
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
