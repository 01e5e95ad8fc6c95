// Window layouts are designed in twips (1/1440 inch); the screen works in pixels.
#pragma once

#include <QRect>
#include <QWidget>

namespace Twips {

inline int toPixels(int twips, int dotsPerInch)
{
    return (twips * dotsPerInch + 720) / 1440;
}

/// Places a widget at a rectangle given in twips, at the widget's screen resolution.
inline void place(QWidget *widget, int left, int top, int width, int height)
{
    const int dpiX = widget->logicalDpiX();
    const int dpiY = widget->logicalDpiY();
    widget->setGeometry(toPixels(left, dpiX), toPixels(top, dpiY), toPixels(width, dpiX), toPixels(height, dpiY));
}

inline QSize size(const QWidget *widget, int width, int height)
{
    return QSize(toPixels(width, widget->logicalDpiX()), toPixels(height, widget->logicalDpiY()));
}

} // namespace Twips
