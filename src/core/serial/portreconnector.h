// Watches the radio link for a port that goes away while open (cable pulled, adapter unplugged)
// and opens the same port number again by itself once its device is back.
#pragma once

#include <QObject>
#include <QTimer>

class SerialLink;

class PortReconnector : public QObject
{
    Q_OBJECT

public:
    /// A retry costs one open attempt; once a second notices a replugged cable soon enough.
    static constexpr int RetryIntervalMs = 1000;

    explicit PortReconnector(SerialLink &port, QObject *parent = nullptr);

    /// The port failed while open and has not come back yet.
    bool isLost() const { return m_lost; }
    /// The port number and device that were lost.
    int lostPort() const { return m_lostPort; }
    QString lostDevice() const { return m_lostDevice; }
    QTimer &retryTimer() { return m_retry; }

    /// One retry: opens the lost port again if its device is there.
    void retry();

signals:
    /// The open port failed; retries have begun.
    void lost(int port, const QString &device, const QString &reason);
    /// The lost port is open again.
    void reopened(int port, const QString &device);

private:
    void portFailed(const QString &reason);

    SerialLink &m_port;
    QTimer m_retry;
    bool m_lost = false;
    int m_lostPort = 0;
    QString m_lostDevice;
};
