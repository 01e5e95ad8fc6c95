#include "core/serial/portreconnector.h"

#include "core/serial/seriallink.h"

PortReconnector::PortReconnector(SerialLink &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_retry(this)
{
    m_retry.setObjectName(QStringLiteral("portRetry"));
    m_retry.setInterval(RetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &PortReconnector::retry);
    connect(&m_port, &SerialLink::failed, this, &PortReconnector::portFailed);
}

void PortReconnector::portFailed(const QString &reason)
{
    m_lost = true;
    m_lostPort = m_port.portNumber();
    m_lostDevice = m_port.devicePath();
    m_retry.start();
    emit lost(m_lostPort, m_lostDevice, reason);
}

void PortReconnector::retry()
{
    if (!m_lost) {
        m_retry.stop();
        return;
    }
    // Someone else (the port dialog) has put the link on a port meanwhile: nothing left to mend.
    if (m_port.isOpen()) {
        m_lost = false;
        m_retry.stop();
        return;
    }
    m_port.setPortNumber(m_lostPort);
    m_port.open();
    if (!m_port.isOpen())
        return;
    m_lost = false;
    m_retry.stop();
    emit reopened(m_lostPort, m_lostDevice);
}
