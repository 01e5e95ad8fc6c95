#include "core/serial/devicefacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

QString groupName(gid_t gid)
{
    if (const group *entry = getgrgid(gid))
        return QString::fromLocal8Bit(entry->gr_name);
    return QString::number(gid);
}

/// Whether the group database counts this user in `gid`, as the next login will.
bool userListedIn(gid_t gid)
{
    const passwd *user = getpwuid(getuid());
    if (!user)
        return false;
    if (user->pw_gid == gid)
        return true;
    const group *entry = getgrgid(gid);
    if (!entry)
        return false;
    for (char **member = entry->gr_mem; member && *member; ++member) {
        if (std::strcmp(*member, user->pw_name) == 0)
            return true;
    }
    return false;
}

/// Whether this process already has `gid` among its groups.
bool sessionHas(gid_t gid)
{
    if (getegid() == gid)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int got = getgroups(count, groups.data());
    for (int i = 0; i < got; ++i) {
        if (groups[size_t(i)] == gid)
            return true;
    }
    return false;
}

DeviceFacts::Kind kindOf(const QString &node, const QString &sysDevice)
{
    if (node.startsWith(QStringLiteral("/dev/pts/")))
        return DeviceFacts::Kind::PseudoTerminal;
    const QString subsystem = QFileInfo(sysDevice + QStringLiteral("/subsystem")).canonicalFilePath();
    const QString name = QFileInfo(node).fileName();
    if (subsystem.contains(QStringLiteral("/usb")) || name.startsWith(QStringLiteral("ttyUSB")) || name.startsWith(QStringLiteral("ttyACM")))
        return DeviceFacts::Kind::UsbAdapter;
    if (name.startsWith(QStringLiteral("ttyS")))
        return DeviceFacts::Kind::OnBoard;
    return DeviceFacts::Kind::Other;
}

} // namespace

DeviceFacts DeviceFacts::of(const QString &path, const QString &byIdDir, const QString &sysTtyDir)
{
    DeviceFacts facts;
    facts.path = path;
    if (path.isEmpty())
        return facts;
    const QFileInfo info(path);
    facts.node = info.canonicalFilePath();
    if (facts.node.isEmpty()) {
        facts.presence = info.isSymLink() ? Presence::LinkToNowhere : Presence::Missing;
        facts.node = info.isSymLink() ? info.symLinkTarget() : path;
        return facts;
    }
    struct stat status{};
    if (::stat(QFile::encodeName(facts.node).constData(), &status) != 0) {
        facts.presence = Presence::Missing;
        return facts;
    }
    if (!S_ISCHR(status.st_mode)) {
        facts.presence = Presence::NotADevice;
        return facts;
    }
    facts.presence = Presence::Present;

    const QString sysDevice = QStringLiteral("%1/%2/device").arg(sysTtyDir, QFileInfo(facts.node).fileName());
    facts.kind = kindOf(facts.node, sysDevice);
    const QString driver = QFileInfo(sysDevice + QStringLiteral("/driver")).canonicalFilePath();
    if (!driver.isEmpty())
        facts.driver = QFileInfo(driver).fileName();
    if (facts.kind != Kind::PseudoTerminal)
        facts.usb = PortDetails::of(facts.node);

    if (QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath() == QFileInfo(byIdDir).canonicalFilePath() && !byIdDir.isEmpty()) {
        facts.byIdName = path;
    } else {
        const QFileInfoList links = QDir(byIdDir).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo &link : links) {
            if (link.canonicalFilePath() == facts.node) {
                facts.byIdName = link.absoluteFilePath();
                break;
            }
        }
    }

    facts.group = groupName(status.st_gid);
    facts.mayOpen = ::access(QFile::encodeName(facts.node).constData(), R_OK | W_OK) == 0;
    facts.groupNotActiveYet = !facts.mayOpen && (status.st_mode & S_IRGRP) && (status.st_mode & S_IWGRP)
        && userListedIn(status.st_gid) && !sessionHas(status.st_gid);
    return facts;
}
