#include "core/channels/radiochannel.h"

QString Frequency::text() const
{
    const qint64 whole = m_units / UnitsPerMegahertz;
    const qint64 fraction = m_units % UnitsPerMegahertz;
    // No leading zeros, none at all for less than 1 MHz, as the table's format has it.
    const QString wholeText = whole == 0 ? QString() : QString::number(whole);
    return QStringLiteral("%1.%2").arg(wholeText).arg(fraction, Decimals, 10, QLatin1Char('0'));
}
