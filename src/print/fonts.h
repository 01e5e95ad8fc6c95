// The two font families the windows are designed with, and their stand-ins on machines without them.
#pragma once

#include <QFont>
#include <QString>

namespace Fonts {

inline QString kai()
{
    return QStringLiteral("楷体_GB2312");
}

inline QString song()
{
    return QStringLiteral("宋体");
}

/// Maps 楷体_GB2312 and 宋体 to installed Kai and Song/Ming fonts where the machine lacks them,
/// so that Chinese text never shows as boxes. Call before the first window.
void installSubstitutes();

/// A font of the given family and size in points.
QFont font(const QString &family, double points);

} // namespace Fonts
