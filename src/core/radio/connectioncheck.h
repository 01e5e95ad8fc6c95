// The connection check: for each port, in order, the device, this user's access, other programs
// holding it, the opening at 1200 baud 8N1, the radio's "C", and a read of the sixteen channels
// whose answer is looked at for the faults cables and radios show. Nothing is stored. The window
// and the command line run the same steps and word the results themselves.
#pragma once

#include "core/radio/readanswer.h"
#include "core/serial/devicefacts.h"
#include "core/serial/portaccess.h"
#include "core/serial/portholders.h"
#include "core/serial/seriallink.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>

class LineTrace;
class ReadinessPoll;

struct CheckStep
{
    enum class Kind { Device, Access, OtherPrograms, Opening, Readiness, Reading };
    enum class Verdict { Passed, Problem, NotRun };
    enum class Finding {
        NotRun,
        // the device
        DeviceFound, NoDevice, DeviceMissing, LinkToNowhere, NotADevice,
        // access
        MayOpen, NotInGroup, GroupNotActiveYet,
        // other programs
        NoOtherProgram, StaleLock, LockedByProcess, OpenElsewhere,
        // opening
        Opened, OpenFailed,
        // the radio's readiness
        RadioReady, NoAnswer, OtherCharacters,
        // the read
        ReadWell, ReadSilent, EchoOnly, EchoThenAnswer, Stopped, Noise, NotAChannel,
    };

    Kind kind = Kind::Device;
    Verdict verdict = Verdict::NotRun;
    Finding finding = Finding::NotRun;

    DeviceFacts device;              ///< Device, Access
    PortHolders::Found holders;      ///< OtherPrograms, Opening
    SerialLink::OpenFault openFault = SerialLink::OpenFault::None; ///< Opening
    QString openError;               ///< the system's words for a failed open
    PortAccess::Facts openFacts;     ///< what the system told of a failed open
    double ms = 0;                   ///< Readiness: until the "C" came back; the time waited otherwise
    int characters = 0;              ///< Readiness: characters other than "C" heard
    ReadAnswer::Analysis answer;     ///< Reading
};

struct PortCheck
{
    QString name;       ///< COMn or the path the user gave
    QString devicePath;
    QList<CheckStep> steps;

    /// Every step ran and passed: a radio answered and read well.
    bool isGood() const;
    /// The first step with a problem, or nullptr.
    const CheckStep *firstProblem() const;
};

class ConnectionCheck : public QObject
{
    Q_OBJECT

public:
    struct Target
    {
        QString name;
        QString devicePath;
    };

    static constexpr int StepCount = 6;
    static constexpr int DefaultReadyTimeoutMs = 3000;
    /// How long the read waits for a first character, and for the next one while the answer is short.
    static constexpr int SilenceLimitMs = 2000;
    /// After a whole answer: time for anything that follows it (an echo's extra character, noise).
    static constexpr int LingerMs = 300;
    /// A line that keeps sending is cut off here.
    static constexpr int ReadLimitMs = 10000;

    explicit ConnectionCheck(QObject *parent = nullptr);
    ~ConnectionCheck() override;

    /// How long the radio may take to answer "C".
    void setReadyTimeout(int milliseconds) { m_readyTimeoutMs = milliseconds; }
    /// The line of every port goes into `trace`; without one the check keeps its own.
    void setTrace(std::shared_ptr<LineTrace> trace);
    std::shared_ptr<LineTrace> trace() const { return m_trace; }

    /// Checks the ports one after another; finished() follows the last.
    void start(const QList<Target> &targets);
    bool isRunning() const { return m_running; }
    QList<PortCheck> results() const { return m_results; }

    /// The ports a check without named ports looks at: those of the table that name a device.
    static QList<Target> targetsOf(const PortTable &table);

signals:
    void portStarted(int index);
    /// Step `step` of port `index` is done (its verdict may be NotRun).
    void stepDone(int index, const CheckStep &step);
    void portFinished(int index);
    void finished();

private:
    void nextPort();
    void addStep(CheckStep step);
    void skipRest();
    void readinessAnswered();
    void readinessTimedOut();
    void startRead();
    void readArrived();
    void readEnded();
    void portFailed(const QString &reason);
    void endPort();

    std::shared_ptr<LineTrace> m_trace;
    int m_readyTimeoutMs = DefaultReadyTimeoutMs;
    QList<Target> m_targets;
    QList<PortCheck> m_results;
    int m_current = -1;
    bool m_running = false;
    std::unique_ptr<SerialLink> m_link;
    ReadinessPoll *m_poll = nullptr;
    QTimer m_readyLimit;
    QTimer m_quiet;
    QTimer m_readLimit;
    QElapsedTimer m_stepClock;
    double m_stepStartMs = 0;
    int m_received = 0;
    bool m_reading = false;
};
