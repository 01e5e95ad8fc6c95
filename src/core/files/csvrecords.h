// Comma-separated text as records of fields, with the line each record starts on, so that a reader
// can name the line and column of a refused cell.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace CsvRecords {

struct Record
{
    int line = 0; ///< the line the record starts on, counted from 1
    QStringList fields;
};

struct Table
{
    QList<Record> records;
    int lastLine = 0;  ///< the last line that holds a record (0 when there is none)
    int errorLine = 0; ///< the line of an unclosed quote; 0 when the text was read to its end
    bool ok() const { return errorLine == 0; }
};

/// The separator the first non-blank line uses: ';' when it holds more semicolons than commas
/// outside quotes (a spreadsheet in a locale with a decimal comma), else ','.
QChar separatorOf(QStringView text);

/// Splits text into records. A field may be quoted (`"` with `""` for a quote inside, separators and
/// line ends kept); unquoted fields lose their surrounding blanks. Lines end with LF or CR LF;
/// blank lines are no records.
Table read(QStringView text, QChar separator);

/// The text without a leading byte order mark.
QString textOf(const QByteArray &bytes);

/// A field as it can be written back: quoted when it holds the separator, a quote, a line end or
/// surrounding blanks.
QString quoted(const QString &field, QChar separator = u',');

/// A cell in a semicolon-separated sheet may write a decimal comma (145,5); here it becomes a point.
QString withDecimalPoint(const QString &cell, QChar separator);

} // namespace CsvRecords
