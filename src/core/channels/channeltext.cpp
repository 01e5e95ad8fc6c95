#include "core/channels/channeltext.h"

#include <QCoreApplication>

namespace ChannelText {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

FrequencyReading readFrequency(QStringView text)
{
    FrequencyReading reading;
    if (text.size() > MaxFrequencyLength) {
        reading.problem = Problem::TooLong;
        return reading;
    }
    const QStringView number = text.trimmed();
    if (number.isEmpty())
        return reading;

    qsizetype i = 0;
    bool negative = false;
    if (number.at(0) == u'+' || number.at(0) == u'-')
        negative = number.at(i++) == u'-';
    qint64 whole = 0;
    int wholeDigits = 0; // significant ones: leading zeros do not count
    int digits = 0;
    for (; i < number.size() && isDigit(number.at(i)); ++i, ++digits) {
        if (wholeDigits > 0 || number.at(i) != u'0')
            ++wholeDigits;
        if (wholeDigits <= 4) // more than 500 needs no exact value
            whole = whole * 10 + (number.at(i).unicode() - u'0');
    }
    qint64 fraction = 0;
    int fractionDigits = 0;
    if (i < number.size() && (number.at(i) == u'.' || number.at(i) == u',')) {
        // A comma only between digits ("146,52"), as a list separator is no decimal comma.
        const bool comma = number.at(i) == u',';
        ++i;
        if (comma && (digits == 0 || i == number.size() || !isDigit(number.at(i)))) {
            reading.problem = Problem::NotNumber;
            return reading;
        }
        for (; i < number.size() && isDigit(number.at(i)); ++i, ++digits) {
            // Digits beyond the fifth decimal are dropped, as the frame drops them.
            if (fractionDigits < Frequency::Decimals)
                fraction = fraction * 10 + (number.at(i).unicode() - u'0');
            ++fractionDigits;
        }
    }
    if (i != number.size() || digits == 0) {
        reading.problem = Problem::NotNumber;
        return reading;
    }
    for (int k = fractionDigits; k < Frequency::Decimals; ++k)
        fraction *= 10;
    if (wholeDigits > 3) {
        reading.problem = Problem::OutOfRange;
        return reading;
    }
    const qint64 units = whole * Frequency::UnitsPerMegahertz + fraction;
    if (units == 0)
        return reading; // 0 is no frequency, as an empty text is
    const Frequency frequency = Frequency::fromUnits(units);
    if (negative || !frequency.isInRadioRange()) {
        reading.problem = Problem::OutOfRange;
        return reading;
    }
    reading.frequency = frequency;
    return reading;
}

QString frequencyText(const std::optional<Frequency> &frequency)
{
    return frequency ? frequency->text() : QStringLiteral("");
}

bool shiftOn(const QVariant &shift)
{
    return !shift.isNull() && shift.toString() == u"on";
}

std::optional<int> readSquelch(const QString &text)
{
    const QString level = text.trimmed();
    if (level.isEmpty())
        return 0;
    if (level.size() == 1 && isDigit(level.at(0)))
        return level.at(0).unicode() - u'0';
    return std::nullopt;
}

QString Refusal::message() const
{
    switch (part) {
    case Part::MissingChannels:
        return QCoreApplication::translate("WriteTransfer", "数据表只有 %1 个信道，少于 %2 个").arg(channel).arg(ChannelCount);
    case Part::Squelch:
        return QCoreApplication::translate("ChannelFrame", "静噪级别“%1”不是 0 到 9 之间的一位数字").arg(text);
    case Part::Receive:
    case Part::Transmit:
        break;
    }
    const QString side = part == Part::Receive ? QCoreApplication::translate("WriteTransfer", "接收频率")
                                               : QCoreApplication::translate("WriteTransfer", "发送频率");
    if (problem == Problem::OutOfRange) {
        return QCoreApplication::translate("WriteTransfer", "第 %1 信道的%2 %3 超出范围（%4 到 %5 MHz），没有写入对讲机。")
            .arg(channel)
            .arg(side, text)
            .arg(Frequency::lowest().units() / Frequency::UnitsPerMegahertz)
            .arg(Frequency::highest().units() / Frequency::UnitsPerMegahertz);
    }
    // A text too long to show whole is cut: it is no frequency either way.
    const QString shown = text.size() > 80 ? text.left(80) + QStringLiteral("…") : text;
    return QCoreApplication::translate("WriteTransfer", "第 %1 信道的%2“%3”不是频率，没有写入对讲机。").arg(channel).arg(side, shown);
}

std::optional<RadioChannel> channelOf(const ChannelRecord &record, Refusal *refusal)
{
    RadioChannel channel;
    for (const bool receive : {true, false}) {
        const QVariant &field = receive ? record.rf : record.tf;
        if (field.isNull())
            continue;
        const QString text = field.toString();
        const FrequencyReading reading = readFrequency(text);
        if (!reading.ok()) {
            if (refusal) {
                refusal->part = receive ? Refusal::Part::Receive : Refusal::Part::Transmit;
                refusal->text = text;
                refusal->problem = reading.problem;
            }
            return std::nullopt;
        }
        (receive ? channel.receive : channel.transmit) = reading.frequency;
    }
    channel.shift = shiftOn(record.bt);
    return channel;
}

Conversion toRadio(const ChannelSet &set)
{
    Conversion conversion;
    if (set.channels.size() < ChannelCount) {
        conversion.refusal = Refusal{Refusal::Part::MissingChannels, int(set.channels.size()), QString(), Problem::None};
        return conversion;
    }
    const std::optional<int> squelch = readSquelch(set.squelch);
    if (!squelch) {
        conversion.refusal = Refusal{Refusal::Part::Squelch, 0, set.squelch, Problem::NotNumber};
        return conversion;
    }
    conversion.set.squelch = *squelch;
    for (int k = 0; k < ChannelCount; ++k) {
        Refusal refusal;
        const std::optional<RadioChannel> channel = channelOf(set.channels.at(k), &refusal);
        if (!channel) {
            refusal.channel = k + 1;
            conversion.refusal = refusal;
            return conversion;
        }
        conversion.set.channels[k] = *channel;
    }
    return conversion;
}

ChannelRecord recordOf(const RadioChannel &channel)
{
    ChannelRecord record;
    record.rf = frequencyText(channel.receive);
    record.tf = frequencyText(channel.transmit);
    if (channel.shift)
        record.bt = QStringLiteral("on");
    else
        record.bt = channel.receive ? QStringLiteral("off") : QStringLiteral("");
    return record;
}

ChannelSet fromRadio(const RadioSet &set)
{
    ChannelSet texts;
    texts.squelch = QString::number(set.squelch);
    for (const RadioChannel &channel : set.channels)
        texts.channels << recordOf(channel);
    return texts;
}

} // namespace ChannelText
