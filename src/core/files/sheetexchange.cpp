#include "core/files/sheetexchange.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace SheetExchange {

namespace {

enum Entry { ChirpEntry, CsvEntry, JsonEntry, AnyEntry };

QString extensionOf(int filterIndex)
{
    return filterIndex == JsonEntry ? QStringLiteral("json") : QStringLiteral("csv");
}

} // namespace

QString importFilter()
{
    return exportFilter() + QCoreApplication::translate("SheetExchange", "|所有文件|*");
}

QString exportFilter()
{
    return QStringLiteral("CHIRP CSV|*.csv|CSV|*.csv|JSON|*.json");
}

ChannelSheet::Format exportFormat(const QString &path, int filterIndex)
{
    // A typed extension that names a layout decides it: "x.json" is JSON whatever entry is picked,
    // and a ".csv" keeps the picked CSV layout or, picked as JSON, becomes our CSV.
    const ChannelSheet::Format byName = ChannelSheet::formatOfPath(path);
    if (byName == ChannelSheet::Format::Json)
        return byName;
    if (byName == ChannelSheet::Format::Csv && filterIndex == JsonEntry)
        return byName;
    switch (filterIndex) {
    case CsvEntry:
        return ChannelSheet::Format::Csv;
    case JsonEntry:
        return ChannelSheet::Format::Json;
    default:
        return ChannelSheet::Format::Chirp;
    }
}

QString exportPath(const QString &typed, int filterIndex)
{
    const QString name = QFileInfo(typed).fileName();
    if (name.isEmpty() || !QFileInfo(typed).suffix().isEmpty())
        return typed;
    // "plan." is a name whose extension the user has not finished typing.
    return typed + (typed.endsWith(u'.') ? QString() : QStringLiteral(".")) + extensionOf(filterIndex);
}

ChannelSheet::Format importFormat(const QString &path, int filterIndex)
{
    const ChannelSheet::Format byName = ChannelSheet::formatOfPath(path);
    if (byName != ChannelSheet::Format::Channel)
        return byName;
    switch (filterIndex) {
    case ChirpEntry:
    case CsvEntry:
        return ChannelSheet::Format::Csv;
    case JsonEntry:
        return ChannelSheet::Format::Json;
    default:
        return ChannelSheet::Format::Channel;
    }
}

QString listed(const QStringList &lines, int cap)
{
    if (lines.size() <= cap)
        return lines.join(u'\n');
    return (lines.mid(0, cap) << QCoreApplication::translate("SheetExchange", "…还有 %1 条").arg(lines.size() - cap)).join(u'\n');
}

QString withoutPath(const QString &text, const QString &path)
{
    const QString prefix = path + QStringLiteral(": ");
    return text.startsWith(prefix) ? text.mid(prefix.size()) : text;
}

} // namespace SheetExchange
