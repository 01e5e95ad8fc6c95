// The generic CSV layout of the CHIRP programming tool, which radio owners and repeater directories
// use to swap channel lists: one row per used memory, frequencies in MHz with six decimals, the
// transmit frequency given by Duplex and Offset.
#pragma once

#include "core/files/channelsheet.h"

#include <QString>
#include <QStringList>

namespace ChirpSheet {

/// The columns written, in order; a reader matches them by name and ignores others.
extern const QStringList Columns;

/// The word in Comment that stands for the beat-frequency shift, which has no column of its own.
inline const QString BeatShiftWord = QStringLiteral("beat-shift");

/// True when the first non-blank line is a header naming a Frequency column.
bool hasChirpHeader(const QString &text);

/// Locations that all lie from 1 to 16 are channel numbers; otherwise rows in Location order
/// become channels 1 to 16 (more than 16 rows need a first location, and count from it);
/// every frequency passes the grid's check. Names, tones, other modes, scan skips and comments
/// are warnings: the radio cannot hold them. The squelch level is the default one.
ChannelSheet::Result parse(const QString &text, const ChannelSheet::ReadOptions &options = {});

/// The used channels as rows, Location = channel number, lines ending in CR LF.
ChannelSheet::Composed compose(const ChannelSet &set);

} // namespace ChirpSheet
