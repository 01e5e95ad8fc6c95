#include "window/info/blankwraplabel.h"

#include "core/info/blankwrap.h"

#include <QFontMetricsF>
#include <QPainter>

BlankWrapLabel::BlankWrapLabel(const QString &text, QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(text);
}

QStringList BlankWrapLabel::lines(int width) const
{
    const QFontMetricsF metrics(font());
    return BlankWrap::lines(text(), width, [&metrics](QStringView piece) { return metrics.horizontalAdvance(piece.toString()); });
}

int BlankWrapLabel::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    const QFontMetricsF metrics(font());
    const qsizetype count = lines(width - margins.left() - margins.right()).size();
    return qCeil(count * metrics.lineSpacing()) + margins.top() + margins.bottom();
}

QSize BlankWrapLabel::sizeHint() const
{
    return QSize(width(), heightForWidth(width()));
}

QSize BlankWrapLabel::minimumSizeHint() const
{
    return sizeHint();
}

void BlankWrapLabel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QFontMetricsF metrics(font());
    const QRect area = contentsRect();
    qreal baseline = area.top() + metrics.ascent();
    for (const QString &line : lines())
    {
        painter.drawText(QPointF(area.left(), baseline), line);
        baseline += metrics.lineSpacing();
    }
}
