#include "core/channels/channelsetdiff.h"

#include "core/channels/textvalue.h"

#include <cmath>

namespace ChannelSetDiff {

namespace {

/// The radio keeps frequencies in 10 Hz steps; 0 stands for unset.
qint64 steps(const QVariant &mhz)
{
    if (mhz.isNull())
        return 0;
    const QString text = mhz.toString().trimmed();
    return text.isEmpty() ? 0 : qint64(std::llround(TextValue::numericValue(text) * 100000.0));
}

bool shiftOn(const QVariant &bt)
{
    return bt.toString().trimmed() == QStringLiteral("on");
}

QString level(const QString &squelch)
{
    const QString text = squelch.trimmed();
    return text.isEmpty() ? QStringLiteral("0") : text;
}

QString frequency(const QVariant &mhz)
{
    const qint64 units = steps(mhz);
    return units == 0 ? QStringLiteral("-") : TextValue::fiveDecimals(double(units) / 100000.0);
}

} // namespace

bool sameOnRadio(const ChannelRecord &a, const ChannelRecord &b)
{
    return steps(a.rf) == steps(b.rf) && steps(a.tf) == steps(b.tf) && shiftOn(a.bt) == shiftOn(b.bt);
}

Result compare(const ChannelSet &before, const ChannelSet &after)
{
    Result result;
    result.squelchBefore = level(before.squelch);
    result.squelchAfter = level(after.squelch);
    result.squelchChanged = result.squelchBefore != result.squelchAfter;
    for (int k = 0; k < ChannelCount; ++k) {
        const ChannelRecord old = before.channels.value(k);
        const ChannelRecord now = after.channels.value(k);
        if (!sameOnRadio(old, now))
            result.channels.append({k + 1, old, now});
    }
    return result;
}

QString shown(const ChannelRecord &record)
{
    return QStringLiteral("%1 / %2 / %3").arg(frequency(record.rf), frequency(record.tf), shiftOn(record.bt) ? QStringLiteral("on") : QStringLiteral("off"));
}

} // namespace ChannelSetDiff
