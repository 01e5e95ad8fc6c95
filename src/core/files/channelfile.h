// The channel file: the squelch level and the 16 channels as 49 comma-terminated text items, with
// no header. Plain bytes in, plain results out; the window decides what to tell the user.
#pragma once

#include "core/channels/channelrecord.h"
#include "core/channels/channelset.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

namespace ChannelFile {

/// The squelch level, then rf, tf and bt of each channel.
constexpr int ItemCount = 1 + 3 * ChannelCount;

/// NotRegularFile: a pipe, device or socket, never waited on; NotText: bytes that no text holds;
/// NotFrequency: a frequency item that is no number, or a shift item neither on nor off.
/// TooLarge: longer than MaxFileBytes, refused rather than read in part.
enum class ReadError { None, CannotOpen, CannotRead, TooFewItems, NotRegularFile, NotText, NotFrequency, TooLarge };

/// The longest file or sheet read; a longer one is refused whole, never cut.
constexpr qint64 MaxFileBytes = qint64(64) << 20;

struct ReadResult
{
    ReadError error = ReadError::None;
    ChannelSet set; ///< complete when there is no error, empty otherwise
    int item = 0;   ///< the refused item (from 1) of NotFrequency
    QString detail; ///< its text
};

enum class WriteError { None, NotSixteenChannels, SeparatorInValue, CannotCreate, CannotWrite };

struct WriteResult
{
    WriteError error = WriteError::None;
    QByteArray bytes;  ///< the file's content (compose only)
    QString detail;    ///< the value or the system's reason behind an error
};

/// Splits file bytes into at most `limit` items: blanks before an item are skipped, an item
/// ends at a comma or a line end, and a line end right after a comma is no item of its own.
QStringList items(QByteArrayView bytes, int limit = ItemCount);

/// A loaded channel value: a decimal number in the "###.00000" form, any other item unchanged.
QString loadedValue(const QString &item);

/// Whether bytes are text of the system's 8-bit encoding: no control characters besides tab,
/// CR and LF, and no byte sequence that the encoding cannot decode.
bool isText(QByteArrayView bytes);

/// The channel set in the given bytes; only the first 49 items count, and they must be text.
/// Frequencies must be numbers (out of range is still read) and shifts on or off; "Null", what a
/// database null is saved as, reads as no frequency and as shift off.
ReadResult parse(QByteArrayView bytes);

/// The whole content of an open file: a file by its size, a pipe in pieces; TooLarge past
/// MaxFileBytes, CannotRead when the system fails.
ReadError readWhole(QFile &file, QByteArray &bytes);

/// Reads a channel file, a regular file only; the file is closed again when this returns.
ReadResult load(const QString &path);

/// The file's bytes: one line, every item followed by a comma, null written as "Null". A value
/// holding a comma or a line end cannot be read back in place and is refused.
WriteResult compose(const QString &squelch, const ChannelList &channels);

/// Writes a channel file through a temporary file, so a failed save leaves an old file as it was.
WriteResult save(const QString &path, const QString &squelch, const ChannelList &channels);

} // namespace ChannelFile
