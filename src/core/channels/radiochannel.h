// A channel set as the radio stores it: typed values, no text. Every channel that leaves the
// table, a file or the grid for the radio becomes one of these at one place (ChannelText), and the
// frames, the comparison of two sets and the write log all work on them.
#pragma once

#include "core/channels/channelrecord.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <compare>
#include <optional>

/// A frequency as the radio keeps it: a whole number of 10 Hz units (145.5 MHz is 14,550,000).
class Frequency
{
public:
    static constexpr qint64 UnitsPerMegahertz = 100000;
    static constexpr int Decimals = 5; ///< decimals of a megahertz text: 10 Hz is the fifth

    constexpr Frequency() = default;
    static constexpr Frequency fromUnits(qint64 units) { return Frequency(units); }
    static constexpr Frequency fromMegahertz(qint64 megahertz) { return Frequency(megahertz * UnitsPerMegahertz); }

    /// The lowest and highest frequency the radio takes.
    static constexpr Frequency lowest() { return fromMegahertz(130); }
    static constexpr Frequency highest() { return fromMegahertz(500); }

    constexpr qint64 units() const { return m_units; }
    constexpr bool isInRadioRange() const { return m_units >= lowest().m_units && m_units <= highest().m_units; }

    /// The "###.00000" form: whole megahertz without leading zeros, a point, five decimals.
    QString text() const;

    friend constexpr auto operator<=>(Frequency, Frequency) = default;

private:
    constexpr explicit Frequency(qint64 units)
        : m_units(units)
    {
    }
    qint64 m_units = 0;
};

/// One channel of the radio: a receive and a transmit frequency, each of them optional, and the
/// beat-frequency shift flag.
struct RadioChannel
{
    std::optional<Frequency> receive;
    std::optional<Frequency> transmit;
    bool shift = false;

    bool isEmpty() const { return !receive && !transmit && !shift; }
    friend bool operator==(const RadioChannel &, const RadioChannel &) = default;
};

/// What the radio holds: the squelch level (0 to 9) and its 16 channels in order.
struct RadioSet
{
    static constexpr int HighestSquelch = 9;

    int squelch = 0;
    std::array<RadioChannel, ChannelCount> channels{};

    friend bool operator==(const RadioSet &, const RadioSet &) = default;
};
