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
};

enum class Language { Chinese, English };

/// What the system tells of `device` (a link is followed): the node's group and this user's
/// access from stat, the holder from `lockDir`/LCK..<node> and `procDir`/<pid>/comm.
Facts fromSystem(const QString &device, const QString &lockDir = QStringLiteral("/run/lock"),
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
