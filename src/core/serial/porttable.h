// Which device each of the port numbers COM1 to COM8 stands for.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class PortTable
{
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 8;

    /// A table with the given device paths, entry 0 for COM1; an empty entry means no device.
    explicit PortTable(QStringList devices = {});

    /// The table of this machine: QZ300_PORTS when set, otherwise the serial devices found.
    static PortTable fromEnvironment(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

    /// The table QZ300_PORTS describes: comma-separated device paths, entry n for COMn.
    static PortTable fromList(const QString &commaSeparated);

    /// Serial device nodes found in a /dev listing, USB adapters first, then on-board ports.
    static PortTable fromDeviceNames(const QStringList &namesInDev, const QString &devDir = QStringLiteral("/dev"));

    /// The device path for port n, or an empty text when there is none.
    QString devicePath(int port) const;

    /// The device node a path leads to: a link such as /dev/serial/by-id/... followed, anything
    /// else (a dangling link too) as given.
    static QString resolvedDevice(const QString &devicePath);

    /// "COMn" or a device path given by the user, as a port number; 0 when it names no port.
    int portNumberOf(const QString &name) const;

    QStringList devices() const { return m_devices; }

private:
    QStringList m_devices;
};
