// Finds where a radio is: opens each given port, sends the readiness "C" as the window's poll
// does, and waits a short time for a "C" back; all ports at once, so the wait is paid once.
#pragma once

#include "core/serial/porttable.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class ReadinessPoll;
class SerialLink;

class RadioScan : public QObject
{
    Q_OBJECT

public:
    /// A radio that is on answers within a few characters' time; a second leaves room for a
    /// slow adapter and a loaded machine.
    static constexpr int DefaultWaitMs = 1000;

    explicit RadioScan(PortTable table, QObject *parent = nullptr);
    ~RadioScan() override;

    /// Asks the ports that open; finished() follows once every one has answered or `waitMs`
    /// have passed, at once when none opened. The ports are closed again by then.
    void start(const QList<int> &ports, int waitMs = DefaultWaitMs);
    bool isRunning() const { return m_running; }

    /// The ports that opened and were asked, in the order given.
    QList<int> asked() const;
    /// The ports a radio answered on.
    QList<int> answered() const;

signals:
    void finished();

private:
    struct Probe;
    void portAnswered(Probe &probe);
    void finish();

    PortTable m_table;
    std::vector<std::unique_ptr<Probe>> m_probes;
    QTimer m_limit;
    bool m_running = false;
};
