#include "core/radio/writetransfer.h"

#include "core/radio/channelframe.h"
#include "core/radio/readinesspoll.h"
#include "core/serial/seriallink.h"

#include <QTimer>

WriteTransfer::WriteTransfer(SerialLink &port, QTimer &timer, ReadinessPoll *poll, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_timer(timer)
    , m_poll(poll)
{
    m_timer.setInterval(IntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer); // a coarse timer runs up to 5% early
    connect(&m_timer, &QTimer::timeout, this, &WriteTransfer::pacingTick);
    connect(&m_port, &SerialLink::failed, this, &WriteTransfer::portFailed);
}

QString WriteTransfer::formFrames(const RadioSet &set, QStringList &frames)
{
    // Every frame is formed before anything is sent, so that a channel that cannot be written
    // never leaves the radio with half a set.
    frames.clear();
    for (int number = 1; number <= ChannelCount; ++number) {
        const ChannelFrame::Encoded encoded = ChannelFrame::encode(number, set.channels.at(number - 1), set.squelch);
        if (!encoded.ok())
            return tr("第 %1 信道的数据无法写入对讲机：%2。").arg(number).arg(encoded.error);
        frames << encoded.frame;
    }
    return QString();
}

QString WriteTransfer::start(const RadioSet &set, const BeforeSending &beforeSending)
{
    if (m_running)
        return tr("正在写信道");
    if (!m_port.isOpen())
        return tr("串行端口没有打开，无法写信道！");
    QStringList frames;
    if (const QString refused = formFrames(set, frames); !refused.isEmpty())
        return refused;

    if (beforeSending) {
        const QString refused = beforeSending();
        if (!refused.isEmpty())
            return refused;
    }

    m_frames = frames;
    if (m_poll)
        m_poll->stop();
    m_step = 0;
    m_running = true;
    m_port.send(QByteArray(1, ChannelFrame::WriteCommand));
    m_timer.start();
    return QString();
}

void WriteTransfer::pacingTick()
{
    if (!m_running) {
        m_timer.stop();
        return;
    }
    if (m_step < LastFrameBelow) {
        const int frame = m_step / Step + 1;
        m_port.takeChar(); // whatever the radio said is of no interest here
        m_port.send(m_frames.at(frame - 1).toLatin1());
        emit progress(frame, ChannelCount);
    }
    m_step += Step;
    if (m_step >= EndAt) {
        stop();
        emit finished();
    }
}

void WriteTransfer::portFailed(const QString &reason)
{
    if (!m_running)
        return;
    stop();
    emit failed(reason);
}

void WriteTransfer::abandon()
{
    if (m_running)
        stop();
}

void WriteTransfer::stop()
{
    m_timer.stop();
    m_running = false;
    m_step = 0;
    if (m_poll)
        m_poll->start();
}
