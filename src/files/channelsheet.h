// A channel set as a spreadsheet (CSV) or a script-friendly JSON document, beside the program's own
// channel file. Rows pass the grid's frequency check on the way in, so a sheet holds only what the
// grid would have let a user type.
#pragma once

#include "files/channelfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace ChannelSheet {

enum class Format { Channel, Csv, Json };

/// "chan", "csv" or "json".
std::optional<Format> formatNamed(const QString &name);
/// By the file name: .csv and .json, any other name is a channel file.
Format formatOfPath(const QString &path);

/// A channel set read or checked, or the first error: "line L, column C: ..." for a sheet,
/// "item N: ..." for a channel file.
struct Result
{
    ChannelFile::ChannelSet set;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// A channel row as the grid leaves it after the receive frequency, then the transmit frequency
/// were typed and the shift chosen. `column` (0 receive, 1 transmit, 2 shift) names a refused cell.
struct RowCheck
{
    ChannelRecord record;
    int column = -1;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
RowCheck checkRow(const QString &receive, const QString &transmit, const QString &shift);

/// A squelch level: empty or one digit, blanks trimmed; nullopt when the radio cannot take it.
std::optional<QString> checkedSquelch(const QString &text);

/// Every value of a set checked as a sheet row; the errors name channel file items.
Result checkSet(const ChannelFile::ChannelSet &set);

Result parse(QByteArrayView bytes, Format format);
/// Reads a file in the given format; errors start with the path.
Result load(const QString &path, Format format);

struct Composed
{
    QByteArray bytes;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
Composed compose(const ChannelFile::ChannelSet &set, Format format);
/// Writes through a temporary file, so a failed write leaves an old file as it was.
QString save(const QString &path, const ChannelFile::ChannelSet &set, Format format);

} // namespace ChannelSheet
