// Why a port will not open for this user, in words that say what to do: the group that owns the
// device node and how to join it, or which program holds the port's lock file.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace PortAccess {

struct Facts
{
    bool exists = false;
    bool mayOpen = true; ///< this user may read and write the node
    QString group;       ///< the node's group: its name, or its number when the system has none
    std::optional<qint64> holderPid;
    QString holderProgram; ///< empty when the holder's name cannot be read
    QString oddLock;       ///< the port's lock path when it is there but no regular file
};

enum class Language { Chinese, English };

/// Where the serial programs of this system (minicom, picocom, Qt) put their lock files.
inline QString systemLockDir() { return QStringLiteral("/run/lock"); }

/// Who holds a device's lock file, read without waiting (a FIFO in its place is not opened).
struct Lock
{
    enum class State { None, Held, NotAFile };
    State state = State::None;
    std::optional<qint64> pid; ///< for Held: the process the file names
    QString path;
};
Lock lockOf(const QString &node, const QString &lockDir = systemLockDir());

/// A lock another program holds now: it names a process that is alive and not this one, or it
/// is no regular file (nothing can be read from it, nor should it be removed).
bool isHeldElsewhere(const Lock &lock);

/// What the system tells of `device` (a link is followed): the node's group and this user's
/// access from stat, the holder from `lockDir`/LCK..<node> and `procDir`/<pid>/comm.
Facts fromSystem(const QString &device, const QString &lockDir = systemLockDir(),
                 const QString &procDir = QStringLiteral("/proc"));

using Inspector = std::function<Facts(const QString &device)>;
/// The facts from the installed inspector, the system's unless a test replaced it.
Facts of(const QString &device);
/// Replaces the inspector; returns the previous one. An empty inspector restores the system's.
Inspector setInspector(Inspector inspector);

/// "/dev/ttyUSB0 属于 dialout 组：sudo usermod -aG dialout $USER，然后重新登录", or the same in English.
QString permissionRemedy(const QString &device, const Facts &facts, Language language);

/// The holder of a port in use, "进程 1234（minicom）" or "process 1234 (minicom)"; empty when
/// the lock file does not tell.
QString holder(const Facts &facts, Language language);

} // namespace PortAccess
