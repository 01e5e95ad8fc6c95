#include "core/channels/channelsetdiff.h"

namespace ChannelSetDiff {

namespace {

QString frequency(const std::optional<Frequency> &value)
{
    return value ? value->text() : QStringLiteral("-");
}

} // namespace

Result compare(const RadioSet &before, const RadioSet &after)
{
    Result result;
    result.squelchBefore = before.squelch;
    result.squelchAfter = after.squelch;
    result.squelchChanged = before.squelch != after.squelch;
    for (int k = 0; k < ChannelCount; ++k) {
        if (before.channels.at(k) != after.channels.at(k))
            result.channels.append({k + 1, before.channels.at(k), after.channels.at(k)});
    }
    return result;
}

QString shown(const RadioChannel &channel)
{
    return QStringLiteral("%1 / %2 / %3").arg(frequency(channel.receive), frequency(channel.transmit), channel.shift ? QStringLiteral("on") : QStringLiteral("off"));
}

} // namespace ChannelSetDiff
