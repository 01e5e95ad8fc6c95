#include "core/channels/frequencycheck.h"

#include "core/channels/textvalue.h"

#include <algorithm>
#include <optional>

namespace FrequencyCheck {

namespace {

constexpr int Decimals = 5;          // MHz to units of 10 Hz
constexpr qint64 Raster625 = 625;    // 6.25 kHz
constexpr qint64 Raster500 = 500;    // 5 kHz
constexpr qint64 LowerUnits = 13000000;
constexpr qint64 UpperUnits = 50000000;

/// A number as its decimal digits: 0.digits x 10^pointAt, digits without leading zeros.
struct Decimal
{
    bool negative = false;
    QByteArray digits;
    qint64 pointAt = 0;

    bool isZero() const { return digits.isEmpty(); }
};

Decimal decimalOf(const QString &text)
{
    const QByteArray number = TextValue::numberPrefix(TextValue::withDecimalPoint(text));
    Decimal value;
    qint64 integerDigits = 0;
    bool inFraction = false;
    qsizetype i = 0;
    if (i < number.size() && (number[i] == '-' || number[i] == '+'))
        value.negative = number[i++] == '-';
    for (; i < number.size() && number[i] != 'e'; ++i) {
        if (number[i] == '.') {
            inFraction = true;
            continue;
        }
        value.digits += number[i];
        if (!inFraction)
            ++integerDigits;
    }
    qint64 exponent = 0;
    if (i < number.size()) { // the exponent, held within bounds far beyond any digit count
        bool negativeExponent = false;
        for (++i; i < number.size(); ++i) {
            if (number[i] == '-' || number[i] == '+')
                negativeExponent = number[i] == '-';
            else
                exponent = std::min<qint64>(exponent * 10 + (number[i] - '0'), qint64(1) << 40);
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    qsizetype leadingZeros = 0;
    while (leadingZeros < value.digits.size() && value.digits[leadingZeros] == '0')
        ++leadingZeros;
    value.digits.remove(0, leadingZeros);
    value.pointAt = integerDigits + exponent - leadingZeros;
    return value;
}

/// The frequency in units of 10 Hz, rounded half to even, when it lies from 130 to 500 MHz.
std::optional<qint64> unitsInRange(const Decimal &value)
{
    // 130 to 500 have three integer digits; the limits compare the unrounded value.
    if (value.negative || value.isZero() || value.pointAt != 3)
        return std::nullopt;
    const int kept = 3 + Decimals;
    const QByteArray head = value.digits.left(kept).leftJustified(kept, '0');
    const QByteArray rest = value.digits.mid(kept);
    const qint64 units = head.toLongLong();
    const bool restIsZero = rest.count('0') == rest.size();
    if (units < LowerUnits || units > UpperUnits || (units == UpperUnits && !restIsZero))
        return std::nullopt;
    if (rest.isEmpty())
        return units;
    const bool pastHalf = rest[0] > '5' || (rest[0] == '5' && rest.mid(1).count('0') != rest.size() - 1);
    const bool half = rest[0] == '5' && !pastHalf;
    return pastHalf || (half && units % 2 != 0) ? units + 1 : units;
}

QString unitsText(qint64 units)
{
    const qint64 scale = 100000;
    return QStringLiteral("%1.%2").arg(units / scale).arg(units % scale, Decimals, 10, QLatin1Char('0'));
}

bool isEmptySide(const QVariant &field)
{
    return field.isNull() || decimalOf(field.toString()).isZero();
}

} // namespace

Reading read(const QVariant &field)
{
    if (field.isNull())
        return Reading::Empty;
    const Decimal value = decimalOf(field.toString());
    if (value.isZero())
        return Reading::Empty;
    return unitsInRange(value) ? Reading::InRange : Reading::OutOfRange;
}

QString snapToRaster(const QString &megahertz)
{
    const std::optional<qint64> rounded = unitsInRange(decimalOf(megahertz));
    if (!rounded)
        return QString();
    // The decision and the text both come from the rounded count, so the text is on the raster.
    qint64 units = *rounded;
    if (units % Raster625 != 0 && units % Raster500 != 0)
        units = units / Raster500 * Raster500;
    return unitsText(units);
}

Outcome afterEdit(int column, const ChannelRecord &record)
{
    const QVariant cleared = emptyText();
    Outcome outcome;
    if (column == ChannelField::Rf) {
        if (isEmptySide(record.rf)) {
            outcome.assignments = {{ChannelField::Rf, cleared}, {ChannelField::Tf, cleared}, {ChannelField::Bt, cleared}};
            return outcome;
        }
        if (read(record.rf) != Reading::InRange) {
            // An empty receive frequency empties the channel: no transmit frequency without one.
            outcome.outOfRange = true;
            outcome.assignments = {{ChannelField::Rf, cleared}, {ChannelField::Tf, cleared}, {ChannelField::Bt, cleared}};
            return outcome;
        }
        const QString text = snapToRaster(record.rf.toString());
        outcome.assignments = {{ChannelField::Rf, text}, {ChannelField::Tf, text}, {ChannelField::Bt, QStringLiteral("off")}};
    } else if (column == ChannelField::Tf) {
        if (isEmptySide(record.rf) || isEmptySide(record.tf)) {
            outcome.assignments = {{ChannelField::Tf, cleared}};
            return outcome;
        }
        if (read(record.tf) != Reading::InRange) {
            outcome.outOfRange = true;
            outcome.assignments = {{ChannelField::Tf, cleared}};
            return outcome;
        }
        outcome.assignments = {{ChannelField::Tf, snapToRaster(record.tf.toString())}};
    }
    return outcome;
}

} // namespace FrequencyCheck
