// Labels of the windows: a name to find them by, a design font and a text colour.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace LabelStyle {

template<typename Label>
Label *apply(Label *label, const QString &name, const QFont &font, const QColor &colour)
{
    label->setObjectName(name);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace LabelStyle
