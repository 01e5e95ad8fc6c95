#include "core/serial/portdetails.h"

#include "core/serial/porttable.h"

#include <QCoreApplication>
#include <QSerialPortInfo>

#include <utility>

namespace {

PortDetails::Provider &installedProvider()
{
    static PortDetails::Provider provider;
    return provider;
}

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

} // namespace

bool PortDetails::isEmpty() const
{
    return description.isEmpty() && manufacturer.isEmpty() && !vendorId && !productId && serialNumber.isEmpty();
}

QString PortDetails::usbId() const
{
    if (!vendorId && !productId)
        return {};
    return QStringLiteral("%1:%2").arg(vendorId ? hex4(*vendorId) : QStringLiteral("????"),
                                       productId ? hex4(*productId) : QStringLiteral("????"));
}

QString PortDetails::summary() const
{
    QStringList parts;
    if (!description.isEmpty())
        parts << description;
    if (!manufacturer.isEmpty())
        parts << manufacturer;
    if (!usbId().isEmpty())
        parts << QStringLiteral("USB %1").arg(usbId());
    if (!serialNumber.isEmpty())
        parts << QStringLiteral("serial %1").arg(serialNumber);
    return parts.join(QStringLiteral(", "));
}

QStringList PortDetails::toolTipLines() const
{
    QStringList lines;
    if (!description.isEmpty())
        lines << QCoreApplication::translate("PortDetails", "设备：%1").arg(description);
    if (!manufacturer.isEmpty())
        lines << QCoreApplication::translate("PortDetails", "厂商：%1").arg(manufacturer);
    if (!usbId().isEmpty())
        lines << QCoreApplication::translate("PortDetails", "USB 标识：%1").arg(usbId());
    if (!serialNumber.isEmpty())
        lines << QCoreApplication::translate("PortDetails", "序列号：%1").arg(serialNumber);
    return lines;
}

PortDetails PortDetails::of(const QString &devicePath)
{
    if (devicePath.isEmpty())
        return {};
    const Provider &provider = installedProvider();
    return provider ? provider(devicePath) : fromSystem(devicePath);
}

PortDetails::Provider PortDetails::setProvider(Provider provider)
{
    return std::exchange(installedProvider(), std::move(provider));
}

PortDetails PortDetails::fromSystem(const QString &devicePath)
{
    // Qt lists the device nodes themselves; a stable link under /dev/serial/by-id leads to one.
    const QString device = PortTable::resolvedDevice(devicePath);
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        if (info.systemLocation() != device && info.portName() != device)
            continue;
        PortDetails details;
        details.description = info.description();
        details.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier())
            details.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            details.productId = info.productIdentifier();
        details.serialNumber = info.serialNumber();
        return details;
    }
    return {};
}
