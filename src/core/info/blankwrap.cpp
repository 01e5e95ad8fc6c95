#include "core/info/blankwrap.h"

namespace BlankWrap {

namespace {

bool isBlank(QChar c)
{
    return c == u' ';
}

} // namespace

QStringList lines(const QString &text, qreal width, const Measure &measure)
{
    QStringList result;
    QString line;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = i;
        const bool blanks = isBlank(text.at(i));
        while (end < text.size() && isBlank(text.at(end)) == blanks)
            ++end;
        const QStringView token = QStringView(text).mid(i, end - i);
        i = end;
        // Blanks never break a line; they hang at its end when the next word wraps.
        if (blanks || measure(line + token.toString()) <= width) {
            line += token;
            continue;
        }
        if (!line.isEmpty()) {
            result << line;
            line.clear();
        }
        // A word wider than a whole line is split where the line is full.
        for (const QChar c : token) {
            if (!line.isEmpty() && measure(line + c) > width) {
                result << line;
                line.clear();
            }
            line += c;
        }
    }
    if (!line.isEmpty())
        result << line;
    return result;
}

} // namespace BlankWrap
