// Who else has a serial device: a lock file of a live process, in Qt's form (pid, program and host
// on three lines) or the older UUCP form (the pid alone, as text or as four bytes), and any process
// that holds the device open, as /proc shows it.
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace PortHolders {

struct Lock
{
    enum class Form { Qt, Uucp };

    QString path;
    Form form = Form::Uucp;
    qint64 pid = 0;
    bool alive = false;  ///< the process still runs
    QString program;     ///< from /proc; empty when it cannot be read
};

struct Holder
{
    qint64 pid = 0;
    QString program;
};

struct Found
{
    std::optional<Lock> lock;
    /// Processes other than this one with the device open; the far end of a pseudo-terminal (the
    /// holder of its master) is the line, not a competitor, and is left out.
    QList<Holder> openBy;
};

/// The lock file's name for a device node, as Qt and minicom make it: "LCK..ttyUSB0" for
/// /dev/ttyUSB0, "LCK..pts_3" for /dev/pts/3 (the path below /dev, '/' as '_').
QString lockFileName(const QString &node);

/// The lock file at `path`: read without waiting, and only when it is a plain file of a lock's size
/// (a FIFO in its place would block, a folder is no lock); nullopt when there is none to trust.
std::optional<Lock> readLock(const QString &path);

/// Lock files of `node` (a device path such as /dev/ttyUSB0 or /dev/pts/3) in `lockDirs`: both
/// "LCK..pts_3" (Qt's name: the path below /dev with "/" as "_") and "LCK..3" (the node's name).
/// A lock of this process is not another program's.
std::optional<Lock> lockOf(const QString &node, const QStringList &lockDirs, const QString &procDir = QStringLiteral("/proc"));

/// The processes that hold `node` open, this process left out.
QList<Holder> openBy(const QString &node, const QString &procDir = QStringLiteral("/proc"));

/// lockOf() and openBy() on the system's lock folders.
Found inspect(const QString &node);

/// The lock folders looked in, in order: /run/lock and /var/lock (one folder on most systems).
QStringList systemLockDirs();

/// The name of process `pid` from `procDir`/<pid>/comm; empty when it cannot be read.
QString programOf(qint64 pid, const QString &procDir = QStringLiteral("/proc"));

} // namespace PortHolders
