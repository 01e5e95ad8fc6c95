// The channel frame: one channel as twenty decimal characters on the serial line, and the two
// one-character commands that move all sixteen of them.
#pragma once

#include "core/channels/radiochannel.h"

#include <QString>
#include <QStringView>

namespace ChannelFrame {

constexpr int Length = 20;
/// Sent once before the sixteen frames of a write.
constexpr char WriteCommand = 'A';
/// Asks the radio for its sixteen frames.
constexpr char ReadCommand = '5';

/// A built frame, or why the record cannot be sent.
struct Encoded
{
    QString frame;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// Builds frame `number` (1 to 16) of a channel: frame 1 carries the squelch level in its address
/// field, the others their channel number minus one. Refuses what does not fit 20 decimal digits.
Encoded encode(int number, const RadioChannel &channel, int squelch);

/// True for exactly twenty decimal digits.
bool isWellFormed(QStringView frame);

/// Why a frame received from the radio cannot be one of its channels, for the user; empty when it
/// can. A channel holds twenty digits, a flag of "0" or "1", and frequencies that are either unset
/// (all zeros) or within 130 to 500 MHz. The address field is not looked at: a radio need not fill it.
QString answerFault(QStringView frame);

/// The receive and transmit frequencies and the shift flag of a frame; the address field is not
/// looked at.
RadioChannel decode(QStringView frame);

/// The squelch level that frame 1 carries: its second character; 0 when that is no digit.
int squelchOf(QStringView frame);

} // namespace ChannelFrame
