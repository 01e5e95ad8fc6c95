// What the system knows of the device behind a port: for a USB adapter enough to tell which plug
// is the programming cable (its description, maker, USB vendor and product, serial number).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct PortDetails
{
    QString description;
    QString manufacturer;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString serialNumber;

    bool isEmpty() const;

    /// "0403:6001" (four hex digits each), or empty when the identifiers are not known.
    QString usbId() const;

    /// One line for the command line: "FT232R USB UART, FTDI, USB 0403:6001, serial A50285BI";
    /// the parts that are not known are left out.
    QString summary() const;

    /// Lines for a tooltip, one labelled detail each.
    QStringList toolTipLines() const;

    /// Looks up the details of a device path (a link such as /dev/serial/by-id/... is followed).
    using Provider = std::function<PortDetails(const QString &devicePath)>;

    /// The details from the installed provider, the system's unless a test replaced it.
    static PortDetails of(const QString &devicePath);

    /// Replaces the provider; returns the previous one. An empty provider restores the system's.
    static Provider setProvider(Provider provider);

    /// What Qt's serial port information says of the device; empty details when it knows nothing.
    static PortDetails fromSystem(const QString &devicePath);
};
