#include "core/files/csvrecords.h"

#include <QRegularExpression>

namespace CsvRecords {

namespace {

constexpr qsizetype ExcerptLength = 80;

} // namespace

Reader::Reader(QStringView text, QChar separator, qsizetype from, int line)
    : m_text(text)
    , m_separator(separator)
    , m_pos(from)
    , m_line(line)
{
}

bool Reader::next(Record &record, qsizetype keep)
{
    const qsizetype size = m_text.size();
    const QChar *const text = m_text.data();
    while (m_pos < size && m_errorLine == 0) {
        record.line = m_line;
        record.fields.clear();
        record.unescaped.clear();
        record.fieldCount = 0;
        record.usedCount = 0;
        record.blank = true;
        bool lastWasQuoted = false;
        bool lastEmpty = true;
        bool recordEnded = false;
        qsizetype i = m_pos;
        while (!recordEnded) {
            // One field from `start`. Nothing is copied while scanning: an unquoted field is a
            // trimmed slice; a quoted one a slice of its inside unless quotes were doubled or text
            // follows the closing quote.
            const qsizetype start = i;
            bool quoted = false;
            bool wasQuoted = false;
            bool blankSoFar = true;   // unquoted: only blanks up to here
            bool anyCharacter = false; // quoted: the value is not empty
            bool content = false;     // quoted: the value is not blanks only
            qsizetype insideStart = 0;
            qsizetype segmentStart = 0;
            qsizetype closedAt = -1;
            QString built;
            bool doubled = false;
            qsizetype end = i;
            while (true) {
                if (i >= size) {
                    if (quoted) {
                        m_errorLine = record.line;
                        m_pos = size;
                        return false;
                    }
                    end = i;
                    recordEnded = true;
                    break;
                }
                const QChar c = text[i];
                if (quoted) {
                    if (c == u'"' && i + 1 < size && text[i + 1] == u'"') {
                        if (record.fieldCount < keep) {
                            built += QStringView(text + segmentStart, i - segmentStart);
                            built += u'"';
                        }
                        doubled = true;
                        anyCharacter = content = true;
                        i += 2;
                        segmentStart = i;
                        continue;
                    }
                    if (c == u'"') {
                        quoted = false;
                        closedAt = i;
                    } else {
                        anyCharacter = true;
                        if (!c.isSpace())
                            content = true;
                        if (c == u'\n')
                            ++m_line;
                    }
                    ++i;
                    continue;
                }
                if (c == u'\n' || (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')) {
                    end = i;
                    i += c == u'\r' ? 2 : 1;
                    ++m_line;
                    recordEnded = true;
                    break;
                }
                if (c == m_separator) {
                    end = i;
                    ++i;
                    break;
                }
                if (c == u'"' && blankSoFar && !wasQuoted) {
                    quoted = wasQuoted = true;
                    insideStart = segmentStart = i + 1;
                } else if (wasQuoted) {
                    anyCharacter = true;
                    if (!c.isSpace())
                        content = true;
                } else if (!c.isSpace()) {
                    blankSoFar = false;
                }
                ++i;
            }

            bool empty = true;
            if (wasQuoted) {
                empty = !anyCharacter;
                if (content)
                    record.blank = false;
            } else {
                empty = blankSoFar;
                if (!blankSoFar)
                    record.blank = false;
            }
            if (record.fieldCount < keep) {
                if (!wasQuoted) {
                    record.fields << QStringView(text + start, end - start).trimmed();
                } else if (!doubled && closedAt + 1 == end) {
                    record.fields << QStringView(text + insideStart, closedAt - insideStart);
                } else {
                    // The inside (its doubled quotes undone) and whatever follows the closing quote.
                    built += QStringView(text + segmentStart, closedAt - segmentStart);
                    built += QStringView(text + closedAt + 1, end - closedAt - 1);
                    record.unescaped << built;
                    record.fields << QStringView(record.unescaped.last());
                }
            }
            ++record.fieldCount;
            if (!empty)
                record.usedCount = record.fieldCount;
            lastWasQuoted = wasQuoted;
            lastEmpty = empty;
        }
        m_pos = i;
        if (record.fieldCount == 1 && lastEmpty && !lastWasQuoted)
            continue;
        // A record that ended at a line end finished on the line before `m_line`.
        m_lastLine = m_pos > 0 && text[m_pos - 1] == u'\n' ? m_line - 1 : m_line;
        return true;
    }
    return false;
}

int Reader::drain()
{
    Record record;
    while (next(record, 0)) {
    }
    return m_errorLine;
}

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

QString textOf(QByteArrayView bytes)
{
    QString text = QString::fromUtf8(bytes);
    // Old spreadsheets end lines with a lone CR; every reader after this sees only LF. One pass
    // over the text, writing behind the reading position: a replace per line end is quadratic.
    const qsizetype size = text.size();
    QChar *data = text.data();
    qsizetype from = !text.isEmpty() && data[0] == QChar(0xFEFF) ? 1 : 0;
    qsizetype to = 0;
    for (; from < size; ++from) {
        const QChar c = data[from];
        if (c == u'\r') {
            data[to++] = u'\n';
            if (from + 1 < size && data[from + 1] == u'\n')
                ++from;
        } else {
            data[to++] = c;
        }
    }
    text.truncate(to);
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

QString excerpt(QStringView value)
{
    if (value.size() <= ExcerptLength)
        return value.toString();
    qsizetype length = ExcerptLength;
    // Never half a character outside the basic plane.
    if (value.at(length - 1).isHighSurrogate())
        --length;
    return value.first(length).toString() + QChar(0x2026);
}

} // namespace CsvRecords
