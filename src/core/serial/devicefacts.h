// What a serial device is and whether this user may open it, as a connection check tells it: the
// node a name leads to, the kind of port, the USB adapter's maker, model and driver, its stable
// /dev/serial/by-id name, and the group that owns the node.
#pragma once

#include "core/serial/portdetails.h"

#include <QString>

struct DeviceFacts
{
    enum class Presence { Present, NoDevice, Missing, LinkToNowhere, NotADevice };
    enum class Kind { UsbAdapter, OnBoard, PseudoTerminal, Other };

    QString path;  ///< as the port table or the user names it
    QString node;  ///< the device node it leads to
    Presence presence = Presence::NoDevice;
    Kind kind = Kind::Other;
    PortDetails usb;
    QString driver;   ///< the kernel driver, such as ftdi_sio or cp210x; empty when not known
    QString byIdName; ///< a /dev/serial/by-id link to the node (the path itself when it is one)

    bool mayOpen = false;
    QString group;    ///< the node's group: its name, or its number when the system has none
    /// The user belongs to the node's group, but this login began before joining it.
    bool groupNotActiveYet = false;

    /// The facts of `path`; the folders are the system's unless a test names others.
    static DeviceFacts of(const QString &path, const QString &byIdDir = QStringLiteral("/dev/serial/by-id"),
                          const QString &sysTtyDir = QStringLiteral("/sys/class/tty"));
};
