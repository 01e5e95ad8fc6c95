// The texts that tell the user what a write changes on the radio, before it (the changes to
// confirm) and after it (what the read-back found different from what was sent).
#pragma once

#include "core/channels/channelsetdiff.h"

#include <QString>
#include <QStringList>

namespace WriteReport {

/// One line for the squelch level (when it differs) and one per channel, each from its format:
/// (before, after) and (channel, before, after), the channels as ChannelSetDiff::shown() gives them.
QStringList lines(const ChannelSetDiff::Result &diff, const QString &squelchFormat, const QString &channelFormat);

/// One line per change, the squelch level first: "静噪级别：3 → 5", "第 2 信道：old → new".
QString changes(const ChannelSetDiff::Result &diff);

/// One line per difference between `diff`'s before (sent) and after (read back).
QString differences(const ChannelSetDiff::Result &diff);

/// The channels that differ, in order ("2、7"), with 静噪级别 first when the level differs.
QString differingParts(const ChannelSetDiff::Result &diff);

} // namespace WriteReport
