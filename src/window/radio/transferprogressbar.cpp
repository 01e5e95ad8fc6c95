#include "window/radio/transferprogressbar.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QStyle>
#include <QStyleOptionProgressBar>

TransferProgressBar::TransferProgressBar(QWidget *parent)
    : QProgressBar(parent)
{
}

void TransferProgressBar::showStep(int done, int total)
{
    if (done == value() && total == maximum())
        return;
    // QProgressBar repaints at once on a new value; with updates held the new value only marks
    // the bar for the next paint of the window.
    const bool held = !updatesEnabled();
    if (!held)
        setUpdatesEnabled(false);
    setMaximum(total);
    setValue(done);
    if (!held)
        setUpdatesEnabled(true); // schedules update()
    // The last step is followed at once by work that holds the loop (the read set stored, the
    // write's end): it is shown before that, as every step is shown.
    if (done == total && !held)
        repaint();
}

TransferProgressBar::Look TransferProgressBar::currentLook() const
{
    return {size(), devicePixelRatioF(), minimum(), maximum(), isEnabled(), isActiveWindow()};
}

QPixmap TransferProgressBar::faceOfCurrentStep()
{
    const Look look = currentLook();
    if (look != m_facesLook) {
        m_faces.clear();
        m_facesLook = look;
    }
    auto found = m_faces.constFind(value());
    if (found != m_faces.cend())
        return *found;
    QPixmap face(size() * look.pixelRatio);
    face.setDevicePixelRatio(look.pixelRatio);
    // Drawn as Qt draws the bar on the window: its own background, then the style with the
    // pen and font a painter on the widget starts with.
    QPainter painter(&face);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
    painter.end();
    m_faces.insert(value(), face);
    return face;
}

void TransferProgressBar::paintEvent(QPaintEvent *event)
{
    // A busy bar (no range) moves by itself; it is drawn live.
    if (minimum() >= maximum()) {
        QProgressBar::paintEvent(event);
        return;
    }
    const QPixmap face = faceOfCurrentStep();
    QPainter painter(this);
    painter.drawPixmap(0, 0, face);
}

void TransferProgressBar::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LocaleChange:
    case QEvent::LayoutDirectionChange:
        m_faces.clear();
        break;
    default:
        break;
    }
    QProgressBar::changeEvent(event);
}

void TransferProgressBar::resizeEvent(QResizeEvent *event)
{
    m_faces.clear();
    QProgressBar::resizeEvent(event);
}
