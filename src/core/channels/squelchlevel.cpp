#include "core/channels/squelchlevel.h"

#include "core/channels/textvalue.h"

#include <QStringList>

namespace SquelchLevel {

QStringList choices()
{
    QStringList list;
    for (int level = 0; level <= 9; ++level)
        list << QStringLiteral("  %1").arg(level);
    return list;
}

bool isAboveLimit(const QString &text)
{
    return TextValue::numericValue(text.trimmed()) > 9;
}

} // namespace SquelchLevel
