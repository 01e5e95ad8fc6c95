#include "core/channels/textvalue.h"

#include <QByteArray>

#include <cmath>
#include <cstdlib>

namespace TextValue {

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QString withDecimalPoint(const QString &text)
{
    // One comma only, and no point: "1,234.5" or "1,2,3" are no decimal numbers of this kind.
    const qsizetype comma = text.indexOf(u',');
    if (comma <= 0 || comma + 1 >= text.size() || text.indexOf(u',', comma + 1) >= 0 || text.contains(u'.'))
        return text;
    if (!isDigit(text.at(comma - 1)) || !isDigit(text.at(comma + 1)))
        return text;
    QString pointed = text;
    pointed[comma] = u'.';
    return pointed;
}

QByteArray numberPrefix(const QString &text)
{
    // The longest prefix that still reads as a number, ignoring the skipped characters.
    QByteArray number;
    enum class Stage { Sign, Integer, Fraction, ExponentSign, Exponent } stage = Stage::Sign;
    bool haveDigits = false;
    qsizetype exponentMark = -1;

    for (const QChar c : text) {
        if (isSkipped(c))
            continue;
        if (stage == Stage::Sign && (c == u'-' || c == u'+')) {
            number += char(c.unicode());
            stage = Stage::Integer;
        } else if (isDigit(c) && stage <= Stage::Fraction) {
            number += char(c.unicode());
            haveDigits = true;
            if (stage == Stage::Sign)
                stage = Stage::Integer;
        } else if (c == u'.' && stage <= Stage::Integer) {
            number += '.';
            stage = Stage::Fraction;
        } else if ((c == u'e' || c == u'E') && haveDigits && stage <= Stage::Fraction) {
            exponentMark = number.size();
            number += 'e';
            stage = Stage::ExponentSign;
        } else if ((c == u'-' || c == u'+') && stage == Stage::ExponentSign) {
            number += char(c.unicode());
            stage = Stage::Exponent;
        } else if (isDigit(c) && stage >= Stage::ExponentSign) {
            number += char(c.unicode());
            stage = Stage::Exponent;
            exponentMark = -1;
        } else {
            break;
        }
    }
    if (!haveDigits)
        return QByteArray();
    if (exponentMark >= 0) // an "e" that no digit followed is not part of the number
        number.truncate(exponentMark);
    return number;
}

double numericValue(const QString &text)
{
    // The C library is locale independent for the prefix's characters.
    const QByteArray number = numberPrefix(text);
    if (number.isEmpty())
        return 0.0;
    const double value = std::strtod(number.constData(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

QString fiveDecimals(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    QString text = QString::number(value, 'f', 5);
    if (text.startsWith(u"-0."))
        text.remove(1, 1);
    else if (text.startsWith(u"0."))
        text.remove(0, 1);
    if (text == u"-.00000") // a value that rounds to zero has no sign
        text.remove(0, 1);
    return text;
}

} // namespace TextValue
