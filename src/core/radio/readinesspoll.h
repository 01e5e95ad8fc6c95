// Tells when the radio answers: sends "C" every tick while nothing has come back, and stops at
// the first "C" received.
#pragma once

#include <QObject>
#include <QTimer>

class SerialLink;

class ReadinessPoll : public QObject
{
    Q_OBJECT

public:
    static constexpr int IntervalMs = 100;
    /// Characters other than "C" read in one tick at the most, so a noisy line cannot hold the window.
    static constexpr int MaxDroppedPerTick = 99999;

    explicit ReadinessPoll(SerialLink &port, QObject *parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    /// Whether the radio has answered since the poll last started (a port opened, a transfer ended).
    bool hasAnswered() const { return m_answered; }
    QTimer &timer() { return m_timer; }

    /// One tick: drain what has arrived looking for "C"; send "C" when none was found.
    void pollTick();

signals:
    /// The radio answered "C"; the poll has stopped.
    void radioReady();

private:
    SerialLink &m_port;
    QTimer m_timer;
    bool m_answered = false;
};
