#include "core/serial/porttable.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

PortTable::PortTable(QStringList devices)
    : m_devices(std::move(devices))
{
}

PortTable PortTable::fromEnvironment(const QProcessEnvironment &env)
{
    if (env.contains(QStringLiteral("QZ300_PORTS")))
        return fromList(env.value(QStringLiteral("QZ300_PORTS")));
#ifdef Q_OS_WIN
    QStringList names;
    for (int n = FirstPort; n <= LastPort; ++n)
        names << QStringLiteral("COM%1").arg(n);
    return PortTable(names);
#else
    const QStringList found = QDir(QStringLiteral("/dev"))
                                  .entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*"), QStringLiteral("ttyS*")},
                                             QDir::System | QDir::Files | QDir::Hidden);
    return fromDeviceNames(found);
#endif
}

PortTable PortTable::fromList(const QString &commaSeparated)
{
    QStringList devices = commaSeparated.split(u',');
    for (QString &device : devices)
        device = device.trimmed();
    return PortTable(devices);
}

PortTable PortTable::fromDeviceNames(const QStringList &namesInDev, const QString &devDir)
{
    // USB cables first, so that a user with one programming cable finds it on COM1.
    static const QStringList kinds = {QStringLiteral("ttyUSB"), QStringLiteral("ttyACM"), QStringLiteral("ttyS")};
    QStringList devices;
    for (const QString &kind : kinds) {
        const QRegularExpression pattern(QStringLiteral("^%1(\\d+)$").arg(kind));
        QList<std::pair<int, QString>> numbered;
        for (const QString &name : namesInDev) {
            const auto match = pattern.match(name);
            if (match.hasMatch())
                numbered.append({match.captured(1).toInt(), name});
        }
        std::sort(numbered.begin(), numbered.end());
        for (const auto &[number, name] : numbered)
            devices << devDir + u'/' + name;
    }
    return PortTable(devices);
}

QString PortTable::devicePath(int port) const
{
    if (port < FirstPort || port > LastPort || port > m_devices.size())
        return {};
    return m_devices.at(port - 1);
}

QString PortTable::resolvedDevice(const QString &devicePath)
{
    const QFileInfo info(devicePath);
    if (!info.isSymLink())
        return devicePath;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? devicePath : target;
}

int PortTable::portNumberOf(const QString &name) const
{
    static const QRegularExpression comName(QStringLiteral("^COM([1-8])$"), QRegularExpression::CaseInsensitiveOption);
    const auto match = comName.match(name.trimmed());
    if (match.hasMatch())
        return match.captured(1).toInt();
    for (int n = FirstPort; n <= LastPort; ++n) {
        if (!name.isEmpty() && devicePath(n) == name)
            return n;
    }
    return 0;
}
