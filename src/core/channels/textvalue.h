// Numbers held as text: the value a text stands for, and the fixed five-decimal form.
#pragma once

#include <QByteArray>
#include <QString>

namespace TextValue {

/// The number at the start of a text; blanks, tabs and line feeds are skipped wherever they
/// stand, "." is the decimal point in every locale, and a text that begins with no number is 0.
double numericValue(const QString &text);

/// The characters of that number as written (sign, digits, point, exponent), with the skipped
/// characters left out; empty when the text begins with no number.
QByteArray numberPrefix(const QString &text);

/// A decimal comma between digits ("146,52") as the decimal point; any other text unchanged.
QString withDecimalPoint(const QString &text);

/// The "###.00000" form: rounded to five decimals, integer digits without leading zeros
/// (none at all when the integer part is zero), a point and exactly five decimals.
QString fiveDecimals(double value);

} // namespace TextValue
