// The check of a frequency typed into the grid: range 130 to 500 MHz, the channel raster and the
// fixed five-decimal text. Plain inputs and outputs; the window shows the message and assigns.
#pragma once

#include "core/channels/channelrecord.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace FrequencyCheck {

constexpr double LowerLimit = 130.0; ///< MHz, accepted
constexpr double UpperLimit = 500.0; ///< MHz, accepted

/// One field of the edited record to be given a new value.
struct Assignment
{
    int field = 0;
    QVariant value;

    friend bool operator==(const Assignment &, const Assignment &) = default;
};

/// What an edit leads to: first the out-of-range message (if any), then the assignments in order.
struct Outcome
{
    bool outOfRange = false;
    QList<Assignment> assignments;
};

/// How a frequency text reads, decided on its decimal digits (no binary rounding).
enum class Reading { Empty, OutOfRange, InRange };

/// Empty: no number or the number 0; OutOfRange: below 130 or above 500 MHz (however many
/// digits); InRange: accepted.
Reading read(const QVariant &field);

/// An accepted frequency text on the 6.25 kHz or 5 kHz raster, else cut down to the 5 kHz raster
/// below, as "###.00000" text; an empty text for a text that is not in range.
QString snapToRaster(const QString &megahertz);

/// The check after the grid stored an edit of `column` into `record`. Only the receive and
/// transmit columns are checked; any other column gives an empty outcome.
Outcome afterEdit(int column, const ChannelRecord &record);

} // namespace FrequencyCheck
