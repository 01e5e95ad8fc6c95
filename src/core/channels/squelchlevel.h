// The radio-wide squelch level, 0 to 9, held as the text of the squelch box.
#pragma once

#include <QString>
#include <QStringList>

namespace SquelchLevel {

/// The text the squelch box starts with, and the one a refused level is replaced by.
inline QString defaultText()
{
    return QStringLiteral("3");
}

/// The list the squelch box offers: two blanks and a digit each.
QStringList choices();

/// True for a level the radio cannot take: a value above 9. Every other text passes.
bool isAboveLimit(const QString &text);

} // namespace SquelchLevel
