// The program icon: a handheld radio, 32 x 32.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace ProgramIcon {

inline QString resourcePath()
{
    return QStringLiteral(":/icons/qz300-32.png");
}

inline QPixmap pixmap()
{
    return QPixmap(resourcePath());
}

inline QIcon icon()
{
    return QIcon(resourcePath());
}

} // namespace ProgramIcon
