#include "window/ui/elidedlabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

ElidedLabel::ElidedLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    // The label takes the room it is given; a long text does not push the window wider.
    setMinimumWidth(0);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setText(const QString &text)
{
    QLabel::setText(text);
    refreshToolTip();
}

void ElidedLabel::clear()
{
    QLabel::clear();
    refreshToolTip();
}

bool ElidedLabel::isElided() const
{
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent *event)
{
    if (!isElided()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(), shownText(), foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    refreshToolTip();
}

void ElidedLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        refreshToolTip();
}

void ElidedLabel::refreshToolTip()
{
    const QString tip = isElided() ? text() : QString();
    if (toolTip() != tip)
        setToolTip(tip);
}
