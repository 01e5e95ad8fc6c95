// The one place where channel texts (the table's stored values, the grid, channel files, sheets)
// become the typed set the radio holds, and back. Every reader of a frequency text goes through
// readFrequency(), so what is checked, sent, compared and logged is the same number.
#pragma once

#include "core/channels/channelset.h"
#include "core/channels/radiochannel.h"

#include <QString>
#include <QStringView>
#include <QVariant>

#include <optional>

namespace ChannelText {

/// No frequency text is longer; a longer one is refused before it is looked at.
constexpr int MaxFrequencyLength = 64;

enum class Problem { None, TooLong, NotNumber, OutOfRange };

/// A frequency text read: a frequency, no frequency (empty text, blanks, or the number 0), or why it
/// cannot be one.
struct FrequencyReading
{
    Problem problem = Problem::None;
    std::optional<Frequency> frequency;

    bool ok() const { return problem == Problem::None; }
};

/// Reads a frequency in MHz: blanks around it, an optional sign, digits with one decimal point or
/// comma. Digits beyond the fifth decimal are dropped (the radio keeps 10 Hz steps); the rest must
/// lie from 130 to 500 MHz. One pass over the text, whatever its length.
FrequencyReading readFrequency(QStringView text);

/// The "###.00000" text of a frequency, empty for none: what the table stores.
QString frequencyText(const std::optional<Frequency> &frequency);

/// The shift flag of a stored text: only the exact text "on" is on.
bool shiftOn(const QVariant &shift);

/// The squelch level of a text: empty means 0, else one digit (blanks around it allowed).
std::optional<int> readSquelch(const QString &text);

/// The first part of a channel set that the radio cannot take.
struct Refusal
{
    enum class Part { MissingChannels, Squelch, Receive, Transmit };

    Part part = Part::Receive;
    int channel = 0; ///< 1 to 16 for a frequency; the number of channels found for MissingChannels
    QString text;    ///< the refused text
    Problem problem = Problem::None;

    /// For the user, in the window's language.
    QString message() const;
};

/// A channel set as the radio would hold it, or the first part it cannot take.
struct Conversion
{
    RadioSet set;
    std::optional<Refusal> refusal;

    bool ok() const { return !refusal; }
};

/// The table's or a file's texts as the radio would hold them. Channel numbers play no part: the
/// radio's channels are the set's rows in order.
Conversion toRadio(const ChannelSet &set);

/// One channel's texts; nullopt with `problem` set when a frequency cannot be taken.
std::optional<RadioChannel> channelOf(const ChannelRecord &record, Refusal *refusal = nullptr);

/// The texts the table stores for what the radio holds: frequencies as "###.00000" or empty, the
/// shift "on", "off" for a channel with a receive frequency, else empty. Channel numbers stay null.
ChannelSet fromRadio(const RadioSet &set);
ChannelRecord recordOf(const RadioChannel &channel);

} // namespace ChannelText
