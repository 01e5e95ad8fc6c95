// What a valid channel is, for every way a channel comes in: typed or pasted into the grid, read
// from a channel file or a sheet, or sent to the radio. The grid, the files, the command line and
// the write all ask here, so they never disagree.
#pragma once

#include "core/channels/channelrecord.h"
#include "core/channels/channeltext.h"

#include <QString>

#include <optional>

namespace ChannelRule {

/// No frequency text is longer; a longer cell is refused before it is read as a number.
constexpr int MaxCellLength = ChannelText::MaxFrequencyLength;

/// The refusal of an out-of-range frequency, naming the range.
QString outOfRangeMessage();

/// Whether a frequency item is a decimal number (blanks around it and a decimal comma allowed),
/// or empty for no frequency.
bool isFrequencyText(const QString &text);

/// The refusal of a shift that is neither on nor off.
QString shiftMessage();

/// A shift text as stored: "on" or "off" in any letter case, or empty; nullopt for anything else.
std::optional<QString> shiftText(const QString &text);

/// The shift item of a channel file: "Null" is what a database null is saved as, and means off.
std::optional<QString> fileShiftText(const QString &text);

/// Why a cell value put into the grid is refused; None when the grid may take it.
enum class CellProblem { None, TooLong, NotNumber, NotShift };
CellProblem cellProblem(int field, const QString &text);

/// A frequency of a channel that the radio cannot take: outside 130 to 500 MHz, or a text that is
/// no number. `field` is ChannelField::Rf or ChannelField::Tf; row -1 when all are fine.
struct BadFrequency
{
    int row = -1;
    int field = 0;
    QString text;
    bool found() const { return row >= 0; }
};
BadFrequency firstBadFrequency(const ChannelList &channels);

} // namespace ChannelRule
