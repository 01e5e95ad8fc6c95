#include "core/serial/portsurvey.h"

namespace PortSurvey {

namespace {

QString openState(const Entry &entry)
{
    if (entry.opens) {
        if (!entry.radioAnswered)
            return QStringLiteral("opens");
        return *entry.radioAnswered ? QStringLiteral("opens, radio answered") : QStringLiteral("opens, no answer");
    }
    switch (entry.fault) {
    case SerialLink::OpenFault::None:
    case SerialLink::OpenFault::NoDevice:
        return QStringLiteral("no device");
    case SerialLink::OpenFault::Missing:
        return QStringLiteral("missing");
    case SerialLink::OpenFault::InUse:
        return entry.explanation.isEmpty() ? QStringLiteral("in use") : entry.explanation;
    case SerialLink::OpenFault::NoPermission:
        return entry.explanation.isEmpty() ? QStringLiteral("no permission")
                                           : QStringLiteral("no permission: %1").arg(entry.explanation);
    case SerialLink::OpenFault::Other:
        break;
    }
    return QStringLiteral("cannot open: %1").arg(entry.errorText);
}

QString deviceColumn(const Entry &entry)
{
    if (entry.device.isEmpty())
        return QStringLiteral("-");
    // A stable name stays visible; the node it leads to tells it apart from the others.
    if (entry.resolvedDevice != entry.device)
        return QStringLiteral("%1 -> %2").arg(entry.device, entry.resolvedDevice);
    return entry.device;
}

} // namespace

QList<Entry> survey(const PortTable &table)
{
    SerialLink link(table);
    QList<Entry> entries;
    for (int n = PortTable::FirstPort; n <= PortTable::LastPort; ++n) {
        Entry entry;
        entry.port = n;
        entry.device = table.devicePath(n);
        entry.resolvedDevice = PortTable::resolvedDevice(entry.device);
        link.setPortNumber(n);
        entry.opens = link.open();
        link.close();
        if (!entry.opens) {
            entry.fault = link.openFault();
            entry.errorText = link.openErrorText();
            entry.explanation = link.explainOpenFault(PortAccess::Language::English);
        }
        entry.details = PortDetails::of(entry.device);
        entries << entry;
    }
    return entries;
}

QString format(const QList<Entry> &entries)
{
    QString listing;
    for (const Entry &entry : entries) {
        QString line = QStringLiteral("COM%1  %2  %3").arg(entry.port).arg(deviceColumn(entry), -20).arg(openState(entry));
        const QString details = entry.details.summary();
        if (!details.isEmpty())
            line += QStringLiteral("  ") + details;
        listing += line + u'\n';
    }
    return listing;
}

} // namespace PortSurvey
