#include "channels/frequencycheck.h"

#include "channels/textvalue.h"

#include <cmath>

namespace FrequencyCheck {

namespace {

constexpr double Scale = 100000.0; // MHz to units of 10 Hz
constexpr qint64 Raster625 = 625;  // 6.25 kHz
constexpr qint64 Raster500 = 500;  // 5 kHz

double valueOf(const QVariant &field)
{
    return TextValue::numericValue(field.toString());
}

bool isEmptySide(const QVariant &field)
{
    return field.isNull() || valueOf(field) == 0.0;
}

qint64 roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        rounded = lower + 1.0;
    return qint64(rounded);
}

bool inRange(double megahertz)
{
    return megahertz >= LowerLimit && megahertz <= UpperLimit;
}

} // namespace

QString snapToRaster(double megahertz)
{
    const double scaled = megahertz * Scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e15)
        return TextValue::fiveDecimals(megahertz);
    // Round before testing: 145.3 * 100000 comes out a hair above 14530000, and only the rounded
    // count is a multiple of 625. Ties go to the even count.
    const qint64 units = roundHalfEven(scaled);
    if (units % Raster625 == 0 || units % Raster500 == 0)
        return TextValue::fiveDecimals(megahertz);
    return TextValue::fiveDecimals(double(units / Raster500 * Raster500) / Scale);
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
        const double value = valueOf(record.rf);
        if (!inRange(value)) {
            // The old transmit frequency and shift stay: only the refused entry goes.
            outcome.outOfRange = true;
            outcome.assignments = {{ChannelField::Rf, cleared}};
            return outcome;
        }
        const QString text = snapToRaster(value);
        outcome.assignments = {{ChannelField::Rf, text}, {ChannelField::Tf, text}, {ChannelField::Bt, QStringLiteral("off")}};
    } else if (column == ChannelField::Tf) {
        if (isEmptySide(record.rf) || isEmptySide(record.tf)) {
            outcome.assignments = {{ChannelField::Tf, cleared}};
            return outcome;
        }
        const double value = valueOf(record.tf);
        if (!inRange(value)) {
            outcome.outOfRange = true;
            outcome.assignments = {{ChannelField::Tf, cleared}};
            return outcome;
        }
        outcome.assignments = {{ChannelField::Tf, snapToRaster(value)}};
    }
    return outcome;
}

} // namespace FrequencyCheck
