// Comma-separated text as records of fields, with the line each record starts on, so that a reader
// can name the line and column of a refused cell.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>

namespace CsvRecords {

/// One record: its first fields as slices of the text, and what the fields it did not keep hold.
struct Record
{
    int line = 0;               ///< the line the record starts on, counted from 1
    QList<QStringView> fields;  ///< the first fields asked for; views into the text or into `unescaped`
    qsizetype fieldCount = 0;   ///< every field of the record, kept or not
    qsizetype usedCount = 0;    ///< the fields up to the last one that is not empty
    bool blank = true;          ///< every field is empty or blanks
    QStringList unescaped;      ///< quoted fields that held doubled quotes, undoubled

    /// The fields a reader counts when a spreadsheet pads short rows with empty cells: all of them
    /// up to `columns`, beyond it only up to the last that is not empty.
    qsizetype columns(qsizetype columns) const { return fieldCount <= columns ? fieldCount : std::max(columns, usedCount); }
    /// A kept field, or the empty view.
    QStringView field(qsizetype index) const { return index < fields.size() ? fields.at(index) : QStringView(); }
};

/// Reads records one after another, so that a sheet keeps only the rows and columns it uses: a
/// field is a slice of the text, copied only when doubled quotes are undone. A field may be quoted
/// (`"` with `""` for a quote inside, separators and line ends kept); unquoted fields lose their
/// surrounding blanks. Lines end with LF or CR LF; blank lines are no records.
class Reader
{
public:
    /// Reads `text` (which must outlive the records) from `from`, which lies on line `line`.
    Reader(QStringView text, QChar separator, qsizetype from = 0, int line = 1);

    /// The next record with at most `keep` fields kept; false at the end of the text, or at a quoted
    /// field that is not closed (errorLine()).
    bool next(Record &record, qsizetype keep);
    /// Reads to the end without keeping fields; the line of a quoted field that is not closed, or 0.
    int drain();

    qsizetype position() const { return m_pos; } ///< where the next record starts
    int line() const { return m_line; }          ///< the line the next record starts on
    int lastLine() const { return m_lastLine; }  ///< the last line that held a record (0 when none)
    int errorLine() const { return m_errorLine; } ///< the line of an unclosed quote; 0 when none

private:
    QStringView m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_lastLine = 0;
    int m_errorLine = 0;
};

/// The separator the first non-blank line uses: ';' when it holds more semicolons than commas
/// outside quotes (a spreadsheet in a locale with a decimal comma), else ','.
QChar separatorOf(QStringView text);

/// The text without a leading byte order mark, every line end (CR LF, a lone CR) made LF in one
/// pass.
QString textOf(QByteArrayView bytes);

/// A field as it can be written back: quoted when it holds the separator, a quote, a line end or
/// surrounding blanks.
QString quoted(const QString &field, QChar separator = u',');

/// A cell in a semicolon-separated sheet may write a decimal comma (145,5); here it becomes a point.
QString withDecimalPoint(const QString &cell, QChar separator);

/// A value as a message quotes it: at most its first 80 characters, "…" marking the cut.
QString excerpt(QStringView value);

} // namespace CsvRecords
