// What differs between two channel sets as the radio holds them: the squelch level and the
// channels whose frequencies or shift differ. The write's preview, its read-back check and the
// command line's dry run and verify all use this one rule, on typed values.
#pragma once

#include "core/channels/radiochannel.h"

#include <QList>
#include <QString>

namespace ChannelSetDiff {

struct ChannelChange
{
    int channel = 0; ///< 1 to 16
    RadioChannel before;
    RadioChannel after;
};

struct Result
{
    bool squelchChanged = false;
    int squelchBefore = 0;
    int squelchAfter = 0;
    QList<ChannelChange> channels;

    bool isEmpty() const { return !squelchChanged && channels.isEmpty(); }
};

/// The differences from `before` to `after`.
Result compare(const RadioSet &before, const RadioSet &after);

/// One channel for a line of text: "145.50000 / 145.50000 / on", "-" for an unset frequency.
QString shown(const RadioChannel &channel);

} // namespace ChannelSetDiff
