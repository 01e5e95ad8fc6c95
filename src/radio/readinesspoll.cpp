#include "radio/readinesspoll.h"

#include "app/serialportservice.h"

ReadinessPoll::ReadinessPoll(SerialPortService &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_timer(this)
{
    m_timer.setObjectName(QStringLiteral("Timer3"));
    m_timer.setInterval(IntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReadinessPoll::Timer3_Timer);
}

void ReadinessPoll::start()
{
    m_timer.start();
}

void ReadinessPoll::stop()
{
    m_timer.stop();
}

void ReadinessPoll::Timer3_Timer()
{
    // A closed port (a dialog left the link without a port) has nobody to ask; keep ticking
    // quietly so the poll takes up again once a port is open.
    if (!m_port.PortOpen())
        return;
    for (int dropped = 0; dropped < MaxDroppedPerTick; ++dropped) {
        const QString received = m_port.Input();
        if (received == QLatin1String("C")) {
            stop();
            emit radioReady();
            return;
        }
        if (received.isEmpty())
            break;
    }
    m_port.Output("C");
}
