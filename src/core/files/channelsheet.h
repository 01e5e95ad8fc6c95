// A channel set as a spreadsheet (our CSV, or the generic CSV of the CHIRP programming tool) or a
// script-friendly JSON document, beside the program's own channel file. Rows pass the grid's
// frequency check on the way in, so a sheet holds only what the grid would have let a user type.
//
// Import and export are all or nothing: bytes or a path in, a channel set and warnings or an
// error out (load/parse); a channel set in, bytes and warnings or an error out (compose/save).
#pragma once

#include "core/files/channelfile.h"
#include "core/files/sheettext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace ChannelSheet {

/// Csv reads our CSV or, by its header, the CHIRP layout; Chirp is that layout only.
enum class Format { Channel, Csv, Json, Chirp };

/// "chan", "csv", "json" or "chirp".
std::optional<Format> formatNamed(const QString &name);
/// By the file name: .csv and .json, any other name is a channel file.
Format formatOfPath(const QString &path);

/// The squelch level a CHIRP sheet gives, since it has no column for one: the window's own start.
inline const QString DefaultSquelch = QStringLiteral("3");

struct ReadOptions
{
    /// A CHIRP sheet with more than 16 rows: the channels start at this location (Location order).
    std::optional<int> firstLocation;
};

/// The first error and the warnings of reading or writing a sheet, in English for the command line
/// and in the window's language (without the path) for the window.
struct Report
{
    QString error;
    QStringList warnings;
    QString shownError;
    QStringList shownWarnings;
    bool ok() const { return error.isEmpty(); }
    void fail(const SheetText &text)
    {
        error = text.english;
        shownError = text.shown;
    }
    void warn(const SheetText &text)
    {
        warnings << text.english;
        shownWarnings << text.shown;
    }
};

/// A channel set read or checked, or the first error: "line L, column C: ..." for a sheet,
/// "item N: ..." for a channel file. Warnings name what the radio cannot hold and was left out.
struct Result : Report
{
    ChannelSet set;
    Format format = Format::Channel; ///< the layout that was read (Csv never stands for CHIRP)
    bool squelchGiven = true;        ///< false when the layout has no squelch level (CHIRP)
    /// A sheet with more rows than channels and no first location: its Locations in order, for
    /// asking from which one to take the channels.
    QList<qint64> locations;
};

/// A channel row as the grid leaves it after the receive frequency, then the transmit frequency
/// were typed and the shift chosen. `column` (0 receive, 1 transmit, 2 shift) names a refused cell.
struct RowCheck
{
    ChannelRecord record;
    int column = -1;
    SheetText error;
    bool ok() const { return error.isEmpty(); }
};
RowCheck checkRow(const QString &receive, const QString &transmit, const QString &shift);

/// A squelch level: empty or one digit, blanks trimmed; nullopt when the radio cannot take it.
std::optional<QString> checkedSquelch(const QString &text);

/// Every value of a set checked as a sheet row; the errors name channel file items.
Result checkSet(const ChannelSet &set);

/// The channel set in the given bytes; in the Csv format a CHIRP header chooses the CHIRP layout.
Result parse(QByteArrayView bytes, Format format, const ReadOptions &options = {});
/// Reads a file in the given format; errors and warnings start with the path.
Result load(const QString &path, Format format, const ReadOptions &options = {});
/// Reads a file in the format its name and, for a CSV, its header tell.
Result load(const QString &path, const ReadOptions &options = {});

/// The sheet's bytes; the warnings name what the layout cannot carry (the squelch level in a CHIRP
/// sheet).
struct Composed : Report
{
    QByteArray bytes;
};
Composed compose(const ChannelSet &set, Format format);
/// Writes through a temporary file, so a failed write leaves an old file as it was; a device or a
/// FIFO is written in place, a folder refused. Returns the error, empty on success; `warnings`, when given, receives the composed warnings.
QString save(const QString &path, const ChannelSet &set, Format format, QStringList *warnings = nullptr);
/// The same for the window: no bytes, the error and warnings in both languages. A composing error
/// leaves the path out of the shown text; a system's write error is shown as the system gives it.
Composed saveComposed(const QString &path, const ChannelSet &set, Format format);

} // namespace ChannelSheet
