// What differs between two channel sets as the radio holds them: the squelch level and the
// channels whose frequencies or shift differ. The write's preview, its read-back check and the
// command line's dry run all use this one rule.
#pragma once

#include "core/channels/channelset.h"

#include <QList>

namespace ChannelSetDiff {

struct ChannelChange
{
    int channel = 0; ///< 1 to 16
    ChannelRecord before;
    ChannelRecord after;
};

struct Result
{
    bool squelchChanged = false;
    QString squelchBefore; ///< as the radio holds it: one digit, "0" for none
    QString squelchAfter;
    QList<ChannelChange> channels;

    bool isEmpty() const { return !squelchChanged && channels.isEmpty(); }
};

/// The differences from `before` to `after`. Frequencies count as equal when the radio stores the
/// same 10 Hz steps (null, empty and zero are all "unset"); the shift only as on or not on.
Result compare(const ChannelSet &before, const ChannelSet &after);

/// True when the radio would hold the same for both records.
bool sameOnRadio(const ChannelRecord &a, const ChannelRecord &b);

/// One record for a line of text: "145.50000 / 145.50000 / on", "-" for an unset field.
QString shown(const ChannelRecord &record);

} // namespace ChannelSetDiff
