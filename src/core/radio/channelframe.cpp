#include "core/radio/channelframe.h"

#include <QCoreApplication>

namespace ChannelFrame {

namespace {

// The radio's receiver works with a 21.4 MHz intermediate frequency: it stores the receive
// frequency lowered by it, in 10 Hz units.
constexpr qint64 ReceiveOffset = 2140000;
constexpr qint64 FieldLimit = 100000000; // eight decimal digits

bool allDigits(QStringView text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

/// d1..d8 go on the line as d7 d8, d5 d6, d3 d4, d1 d2; read back the same way round.
QString pairsSwapped(QStringView digits)
{
    QString out;
    for (int first = 6; first >= 0; first -= 2)
        out += digits.mid(first, 2);
    return out;
}

/// Eight digits of a frequency field, "00000000" for none, or an empty text when it does not fit.
QString frequencyDigits(const std::optional<Frequency> &frequency, qint64 offset)
{
    if (!frequency || frequency->units() == 0)
        return QStringLiteral("00000000");
    const qint64 field = frequency->units() - offset;
    if (field < 0 || field >= FieldLimit)
        return QString();
    return QStringLiteral("%1").arg(field, 8, 10, QLatin1Char('0'));
}

QString describe(const std::optional<Frequency> &frequency)
{
    return frequency ? frequency->text() : QCoreApplication::translate("ChannelFrame", "（空）");
}

/// A received frequency field in 10 Hz units, the receive offset added back; 0 for an unset side.
qint64 unitsOf(QStringView frame, int first, qint64 offset)
{
    const qint64 field = pairsSwapped(frame.mid(first, 8)).toLongLong();
    return field == 0 ? 0 : field + offset;
}

/// Why a received frequency cannot be a channel's; empty when it is unset or within the range.
QString rangeFault(const QString &side, qint64 units)
{
    if (units == 0 || Frequency::fromUnits(units).isInRadioRange())
        return QString();
    return QCoreApplication::translate("ChannelFrame", "%1 %2 MHz 超出 130 到 500 MHz 的范围").arg(side, Frequency::fromUnits(units).text());
}

std::optional<Frequency> frequencyOf(QStringView frame, int first, qint64 offset)
{
    const qint64 units = unitsOf(frame, first, offset);
    if (units == 0)
        return std::nullopt; // an empty channel side carries no offset
    return Frequency::fromUnits(units);
}

} // namespace

Encoded encode(int number, const RadioChannel &channel, int squelch)
{
    Encoded result;
    QString address;
    if (number == 1) {
        if (squelch < 0 || squelch > RadioSet::HighestSquelch) {
            result.error = QCoreApplication::translate("ChannelFrame", "静噪级别“%1”不是 0 到 9 之间的一位数字").arg(squelch);
            return result;
        }
        address = QStringLiteral("0%1").arg(squelch);
    } else {
        if (number < 2 || number > 100) {
            result.error = QCoreApplication::translate("ChannelFrame", "信道号“%1”不是 1 到 100 之间的整数").arg(number);
            return result;
        }
        address = QStringLiteral("%1").arg(number - 1, 2, 10, QLatin1Char('0'));
    }

    const QString receive = frequencyDigits(channel.receive, ReceiveOffset);
    if (receive.isEmpty()) {
        result.error = QCoreApplication::translate("ChannelFrame", "接收频率“%1”超出对讲机能存储的范围").arg(describe(channel.receive));
        return result;
    }
    const QString transmit = frequencyDigits(channel.transmit, 0);
    if (transmit.isEmpty()) {
        result.error = QCoreApplication::translate("ChannelFrame", "发射频率“%1”超出对讲机能存储的范围").arg(describe(channel.transmit));
        return result;
    }
    result.frame = address + u'0' + (channel.shift ? u'1' : u'0') + pairsSwapped(receive) + pairsSwapped(transmit);
    return result;
}

bool isWellFormed(QStringView frame)
{
    return frame.size() == Length && allDigits(frame);
}

QString answerFault(QStringView frame)
{
    if (!isWellFormed(frame))
        return QCoreApplication::translate("ChannelFrame", "收到的“%1”不是 20 位数字").arg(frame.toString());
    if (frame.at(3) != u'0' && frame.at(3) != u'1')
        return QCoreApplication::translate("ChannelFrame", "频差标志“%1”不是 0 或 1").arg(frame.at(3));
    const QString receive = rangeFault(QCoreApplication::translate("ChannelFrame", "接收频率"), unitsOf(frame, 4, ReceiveOffset));
    if (!receive.isEmpty())
        return receive;
    return rangeFault(QCoreApplication::translate("ChannelFrame", "发射频率"), unitsOf(frame, 12, 0));
}

RadioChannel decode(QStringView frame)
{
    RadioChannel channel;
    if (frame.size() < Length)
        return channel;
    channel.receive = frequencyOf(frame, 4, ReceiveOffset);
    channel.transmit = frequencyOf(frame, 12, 0);
    channel.shift = frame.at(3) == u'1';
    return channel;
}

int squelchOf(QStringView frame)
{
    if (frame.size() < 2 || frame.at(1) < u'0' || frame.at(1) > u'9')
        return 0;
    return frame.at(1).unicode() - u'0';
}

} // namespace ChannelFrame
