#include "print/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace Fonts {

void installSubstitutes()
{
    // fontconfig knows neither Windows name; AR PL UKai/UMing are Debian's Kai and Ming faces.
    const struct
    {
        QString family;
        QStringList standIns;
    } substitutes[] = {
        {kai(), {QStringLiteral("AR PL UKai CN"), QStringLiteral("KaiTi"), QStringLiteral("AR PL KaitiM GB"), QStringLiteral("Noto Serif CJK SC")}},
        {song(), {QStringLiteral("AR PL UMing CN"), QStringLiteral("SimSun"), QStringLiteral("AR PL SungtiL GB"), QStringLiteral("Noto Serif CJK SC")}},
    };
    for (const auto &substitute : substitutes) {
        if (QFontDatabase::hasFamily(substitute.family))
            continue;
        QFont::insertSubstitutions(substitute.family, substitute.standIns);
    }
}

QFont font(const QString &family, double points)
{
    QFont f(family);
    f.setPointSizeF(points);
    return f;
}

} // namespace Fonts
