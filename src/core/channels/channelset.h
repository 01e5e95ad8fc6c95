// A channel set: the radio-wide squelch level and the 16 channels, as a plain value. The radio,
// the files and the table each hold one; a transfer, a file and a comparison take and give this.
#pragma once

#include "core/channels/channelrecord.h"

#include <QString>

struct ChannelSet
{
    QString squelch;
    ChannelList channels; ///< rf, tf and bt of channels 1 to 16 in order; their numbers may stay null

    friend bool operator==(const ChannelSet &, const ChannelSet &) = default;
};
