// SIGINT and SIGTERM as a Qt signal: the handler only writes a byte to a pipe, and the event loop
// tells the program, so that each radio's job ends in order (its write log line included) before
// the program exits.
#pragma once

#include <QObject>

class QSocketNotifier;

class StopSignals : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    /// The signal that arrived first, 0 for none.
    int received() const { return m_received; }

signals:
    void stopRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
};
