#include "core/radio/readinesspoll.h"

#include "core/serial/seriallink.h"

ReadinessPoll::ReadinessPoll(SerialLink &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_timer(this)
{
    m_timer.setInterval(IntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReadinessPoll::pollTick);
}

void ReadinessPoll::start()
{
    // Each start follows a port opened or a transfer ended: an earlier answer no longer counts.
    m_answered = false;
    m_timer.start();
}

void ReadinessPoll::stop()
{
    m_timer.stop();
}

void ReadinessPoll::pollTick()
{
    // A closed port (a dialog left the link without a port) has nobody to ask; keep ticking
    // quietly so the poll takes up again once a port is open.
    if (!m_port.isOpen())
        return;
    for (int dropped = 0; dropped < MaxDroppedPerTick; ++dropped) {
        const QString received = m_port.takeChar();
        if (received == QLatin1String("C")) {
            stop();
            m_answered = true;
            emit radioReady();
            return;
        }
        if (received.isEmpty())
            break;
    }
    m_port.send("C");
}
