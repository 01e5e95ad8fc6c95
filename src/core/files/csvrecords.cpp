#include "core/files/csvrecords.h"

#include <QRegularExpression>

namespace CsvRecords {

namespace {

QString finished(const QString &field, bool wasQuoted)
{
    return wasQuoted ? field : field.trimmed();
}

} // namespace

QChar separatorOf(QStringView text)
{
    qsizetype commas = 0;
    qsizetype semicolons = 0;
    bool quoted = false;
    bool content = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == u'\n') {
            if (content)
                break;
            continue;
        }
        if (!c.isSpace())
            content = true;
        if (c == u',')
            ++commas;
        else if (c == u';')
            ++semicolons;
    }
    return semicolons > commas ? u';' : u',';
}

Table read(QStringView text, QChar separator)
{
    Table table;
    int line = 1;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        const int recordLine = line;
        QStringList fields;
        QString field;
        bool quoted = false;
        bool wasQuoted = false;
        while (i < size) {
            const QChar c = text.at(i);
            if (quoted) {
                if (c == u'"' && i + 1 < size && text.at(i + 1) == u'"') {
                    field += u'"';
                    i += 2;
                    continue;
                }
                if (c == u'"')
                    quoted = false;
                else
                    field += c;
                if (c == u'\n')
                    ++line;
                ++i;
                continue;
            }
            if (c == u'\n' || (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')) {
                i += c == u'\r' ? 2 : 1;
                ++line;
                break;
            }
            if (c == u'"' && field.trimmed().isEmpty() && !wasQuoted) {
                quoted = true;
                wasQuoted = true;
                field.clear();
            } else if (c == separator) {
                fields << finished(field, wasQuoted);
                field.clear();
                wasQuoted = false;
            } else {
                field += c;
            }
            ++i;
        }
        if (quoted) {
            table.errorLine = recordLine;
            return table;
        }
        fields << finished(field, wasQuoted);
        if (fields.size() == 1 && fields.first().isEmpty() && !wasQuoted)
            continue;
        table.records << Record{recordLine, fields};
        // A record that ended at a line end finished on the line before `line`.
        table.lastLine = i <= size && i > 0 && text.at(i - 1) == u'\n' ? line - 1 : line;
    }
    return table;
}

QString textOf(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // Old spreadsheets end lines with a lone CR; every reader after this sees only LF.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString quoted(const QString &field, QChar separator)
{
    const bool plain = !field.contains(separator) && !field.contains(u'"') && !field.contains(u'\n')
        && !field.contains(u'\r') && field.trimmed() == field;
    if (plain)
        return field;
    QString inner = field;
    inner.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

QString withDecimalPoint(const QString &cell, QChar separator)
{
    static const QRegularExpression decimalComma(QStringLiteral("^[+-]?\\d*,\\d+$"));
    if (separator != u';' || !decimalComma.match(cell).hasMatch())
        return cell;
    QString text = cell;
    return text.replace(u',', u'.');
}

} // namespace CsvRecords
