// Runs the real qz300-cli as a user outside a device's group (nobody, no groups, through setpriv),
// on a pseudo-terminal that only its owner and group may open: the refusal such a user meets.
#pragma once

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OutsiderRun {

/// setpriv's path, or empty when this run cannot switch users (not root, or no setpriv).
inline QString setpriv()
{
    return geteuid() == 0 ? QStandardPaths::findExecutable(QStringLiteral("setpriv")) : QString();
}

/// Takes the world's access to `device` away; returns the name of the group that may still open it,
/// or empty when that failed.
inline QString restrictToGroup(const QString &device)
{
    if (!QFile::setPermissions(device, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup))
        return QString();
    struct stat status{};
    if (::stat(QFile::encodeName(device).constData(), &status) != 0)
        return QString();
    const group *owner = getgrgid(status.st_gid);
    return owner ? QString::fromLocal8Bit(owner->gr_name) : QString::number(status.st_gid);
}

struct Result
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
};

/// qz300-cli `arguments` with QZ300_PORTS set to `device`, its settings and data in a fresh folder.
inline Result run(const QString &device, const QStringList &arguments)
{
    QTemporaryDir home;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QZ300_PORTS"), device);
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    process.setProcessEnvironment(env);
    process.start(setpriv(), QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                                         QStringLiteral(QZ300_CLI)} + arguments);
    Result result;
    result.finished = process.waitForFinished(20000);
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    return result;
}

} // namespace OutsiderRun
