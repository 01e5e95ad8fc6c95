#include "core/radio/channelframe.h"

#include "core/channels/frequencycheck.h"
#include "core/channels/textvalue.h"

#include <QCoreApplication>

#include <cmath>

namespace ChannelFrame {

namespace {

// The radio's receiver works with a 21.4 MHz intermediate frequency: it stores the receive
// frequency lowered by it, in 10 Hz units.
constexpr double ReceiveOffset = 2140000.0;
constexpr double UnitsPerMHz = 100000.0;
constexpr double FieldLimit = 100000000.0; // eight decimal digits

bool allDigits(QStringView text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

/// Whole numbers print without point or exponent, as the radio's own software wrote them.
QString fifteenDigits(double value)
{
    return QString::number(value, 'g', 15).trimmed();
}

/// d1..d8 go on the line as d7 d8, d5 d6, d3 d4, d1 d2; read back the same way round.
QString pairsSwapped(QStringView digits)
{
    QString out;
    for (int first = 6; first >= 0; first -= 2)
        out += digits.mid(first, 2);
    return out;
}

/// Eight digits of a frequency field, or an empty text when the value does not fit.
QString frequencyDigits(const QVariant &field, double offset)
{
    if (field.isNull())
        return QStringLiteral("00000000");
    const double mhz = TextValue::numericValue(field.toString());
    if (mhz == 0.0)
        return QStringLiteral("00000000");
    const double scaled = mhz * UnitsPerMHz - offset;
    if (scaled < 0.0 || std::round(scaled) >= FieldLimit)
        return QString();
    QString text = fifteenDigits(scaled);
    if (text.size() < 8)
        text.prepend(u'0');
    text.truncate(8);
    return text.size() == 8 && allDigits(text) ? text : QString();
}

QString describe(const QVariant &value)
{
    return value.isNull() ? QCoreApplication::translate("ChannelFrame", "（空）") : value.toString();
}

/// A received frequency field in 10 Hz units, the receive offset added back; 0 for an unset side.
qint64 unitsOf(QStringView frame, int first, double offset)
{
    const qint64 field = pairsSwapped(frame.mid(first, 8)).toLongLong();
    return field == 0 ? 0 : field + qint64(offset);
}

/// Why a received frequency cannot be a channel's; empty when it is unset or within the range.
QString rangeFault(const QString &side, qint64 units)
{
    constexpr qint64 lowest = qint64(FrequencyCheck::LowerLimit * UnitsPerMHz);
    constexpr qint64 highest = qint64(FrequencyCheck::UpperLimit * UnitsPerMHz);
    if (units == 0 || (units >= lowest && units <= highest))
        return QString();
    return QCoreApplication::translate("ChannelFrame", "%1 %2 MHz 超出 130 到 500 MHz 的范围").arg(side, TextValue::fiveDecimals(double(units) / UnitsPerMHz));
}

QVariant frequencyOf(QStringView frame, int first, double offset)
{
    const double value = TextValue::numericValue(pairsSwapped(frame.mid(first, 8)));
    if (value == 0.0)
        return emptyText(); // an empty channel side carries no offset
    return TextValue::fiveDecimals(value / UnitsPerMHz + offset / UnitsPerMHz);
}

} // namespace

Encoded encode(int number, const ChannelRecord &record, const QString &squelch)
{
    Encoded result;
    QString address;
    if (number == 1) {
        const QString level = squelch.trimmed();
        if (level.size() > 1 || !allDigits(level)) {
            result.error = QCoreApplication::translate("ChannelFrame", "静噪级别“%1”不是 0 到 9 之间的一位数字").arg(squelch);
            return result;
        }
        address = level.isEmpty() || TextValue::numericValue(level) == 0.0 ? QStringLiteral("00") : u'0' + level;
    } else {
        const double channel = record.no.isNull() ? 0.0 : TextValue::numericValue(record.no.toString());
        address = fifteenDigits(channel - 1.0);
        if (address.size() == 1)
            address.prepend(u'0');
        if (address.size() != 2 || !allDigits(address)) {
            result.error = QCoreApplication::translate("ChannelFrame", "信道号“%1”不是 1 到 100 之间的整数").arg(describe(record.no));
            return result;
        }
    }

    const QString receive = frequencyDigits(record.rf, ReceiveOffset);
    if (receive.isEmpty()) {
        result.error = QCoreApplication::translate("ChannelFrame", "接收频率“%1”超出对讲机能存储的范围").arg(describe(record.rf));
        return result;
    }
    const QString transmit = frequencyDigits(record.tf, 0.0);
    if (transmit.isEmpty()) {
        result.error = QCoreApplication::translate("ChannelFrame", "发射频率“%1”超出对讲机能存储的范围").arg(describe(record.tf));
        return result;
    }
    const bool shift = !record.bt.isNull() && record.bt.toString() == u"on";

    result.frame = address + u'0' + (shift ? u'1' : u'0') + pairsSwapped(receive) + pairsSwapped(transmit);
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
    return rangeFault(QCoreApplication::translate("ChannelFrame", "发射频率"), unitsOf(frame, 12, 0.0));
}

ChannelRecord decode(QStringView frame)
{
    ChannelRecord record;
    if (frame.size() < Length)
        return record;
    record.rf = frequencyOf(frame, 4, ReceiveOffset);
    record.tf = frequencyOf(frame, 12, 0.0);
    if (frame.at(3) == u'1')
        record.bt = QStringLiteral("on");
    else
        record.bt = TextValue::numericValue(record.rf.toString()) != 0.0 ? QVariant(QStringLiteral("off")) : emptyText();
    return record;
}

QString squelchOf(QStringView frame)
{
    return frame.size() >= 2 ? frame.mid(1, 1).toString() : QString();
}

} // namespace ChannelFrame
