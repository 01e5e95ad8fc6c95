#include "window/radio/transferline.h"

#include "core/channels/channelrecord.h"
#include "window/radio/transferprogressbar.h"
#include "window/ui/elidedlabel.h"

#include <QEvent>

TransferLine::TransferLine(QWidget *statusLine)
    : QObject(statusLine)
    , m_statusLine(statusLine)
{
    setObjectName(QStringLiteral("transferLine"));
    QWidget *area = statusLine->parentWidget();
    // A thin bar just under the status line, seen only while a transfer runs.
    m_progress = new TransferProgressBar(area);
    m_progress->setObjectName(QStringLiteral("transferProgress"));
    m_progress->setRange(0, ChannelCount);
    m_progress->setFormat(QStringLiteral("%v/%m"));
    m_progress->setTextVisible(true);
    // Painted over its own background, a new count repaints the bar alone, not the window under it.
    m_progress->setAutoFillBackground(true);
    m_progress->hide();

    // The outcome of the last transfer, on the bar's line once the bar is gone.
    m_result = new ElidedLabel(QString(), area);
    m_result->setObjectName(QStringLiteral("transferResult"));
    m_result->setStyleSheet(QStringLiteral("color: #00007f"));
    m_result->hide();

    place();
    statusLine->installEventFilter(this);
}

bool TransferLine::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_statusLine && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        place();
    return QObject::eventFilter(watched, event);
}

void TransferLine::place()
{
    const QRect line = m_statusLine->geometry();
    m_progress->setGeometry(line.x(), line.bottom() + 2, line.width() * 2 / 3, qMax(12, line.height() * 2 / 3));
    m_result->setGeometry(line.x(), line.bottom() + 2, line.width(), qMax(16, line.height() * 2 / 3));
}
