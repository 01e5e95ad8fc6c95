// The radio's channel frame written out by hand from its layout, in whole 10 Hz units, so that tests
// check the program's frames against something the program did not produce.
#pragma once

#include "core/channels/channelrecord.h"

#include <QString>
#include <QStringList>

namespace FrameModel {

constexpr qint64 ReceiveOffset10Hz = 2'140'000; // 21.4 MHz

struct Channel
{
    int address = 0;          ///< frame 1: the squelch level; frames 2 to 16: channel number - 1
    bool shift = false;
    qint64 receive10Hz = 0;   ///< 0: no receive frequency
    qint64 transmit10Hz = 0;  ///< 0: no transmit frequency
    friend bool operator==(const Channel &, const Channel &) = default;
};

/// Eight digits d1..d8, sent as d7d8 d5d6 d3d4 d1d2.
inline QString pairsReversed(qint64 value)
{
    const QString d = QStringLiteral("%1").arg(value, 8, 10, QLatin1Char('0'));
    return d.mid(6, 2) + d.mid(4, 2) + d.mid(2, 2) + d.mid(0, 2);
}

inline QString frame(const Channel &c)
{
    const qint64 receiveField = c.receive10Hz == 0 ? 0 : c.receive10Hz - ReceiveOffset10Hz;
    return QStringLiteral("%1").arg(c.address, 2, 10, QLatin1Char('0')) + u'0' + (c.shift ? u'1' : u'0')
        + pairsReversed(receiveField) + pairsReversed(c.transmit10Hz);
}

inline Channel parse(const QString &frame)
{
    const auto field = [&](int first) { return pairsReversed(frame.mid(first, 8).toLongLong()).toLongLong(); };
    Channel c;
    c.address = frame.left(2).toInt();
    c.shift = frame.at(3) == u'1';
    const qint64 receiveField = field(4);
    c.receive10Hz = receiveField == 0 ? 0 : receiveField + ReceiveOffset10Hz;
    c.transmit10Hz = field(12);
    return c;
}

/// "145.50000" from 14'550'000; the empty text for 0.
inline QString mhzText(qint64 tenHz)
{
    if (tenHz == 0)
        return QStringLiteral("");
    return QStringLiteral("%1.%2").arg(tenHz / 100000).arg(tenHz % 100000, 5, 10, QLatin1Char('0'));
}

/// 14'550'000 from "145.50000" (exactly five decimals, as the table holds them); 0 for empty.
inline qint64 tenHzOf(const QString &mhz)
{
    if (mhz.isEmpty())
        return 0;
    QString digits = mhz;
    digits.remove(u'.');
    return digits.toLongLong();
}

/// The record a read leaves for a frame: the flag is "off" only beside a receive frequency.
inline ChannelRecord recordOf(const Channel &c)
{
    const QString shift = c.shift ? QStringLiteral("on") : c.receive10Hz ? QStringLiteral("off") : QStringLiteral("");
    return ChannelRecord{QVariant(), QVariant(mhzText(c.receive10Hz)), QVariant(mhzText(c.transmit10Hz)), QVariant(shift)};
}

/// The frame a record in the table's form is sent as.
inline Channel channelOf(int address, const ChannelRecord &record)
{
    return Channel{address, record.bt.toString() == u"on", tenHzOf(record.rf.toString()), tenHzOf(record.tf.toString())};
}

} // namespace FrameModel
