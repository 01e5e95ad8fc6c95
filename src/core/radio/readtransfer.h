// Reads the sixteen channels and the squelch level from the radio: the arming timer's tick sends
// the read command, the frames are collected as they arrive, and only a complete, well-formed set
// is stored.
#pragma once

#include "core/channels/radiochannel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class ReadinessPoll;
class SerialLink;

class ReadTransfer : public QObject
{
    Q_OBJECT

public:
    static constexpr int ArmIntervalMs = 100;
    /// The radio answers at 1200 baud, a character every 8.33 ms; this much silence means it stopped.
    static constexpr int SilenceLimitMs = 2000;

    /// Tells the read whether the store took its set: why it could not, or an empty text.
    using StoreDone = std::function<void(const QString &error)>;
    /// Takes a complete read before it counts as finished, and calls `done` at once or later
    /// (a store that waits for the disk off the event thread).
    using ChannelSetStore = std::function<void(const RadioSet &set, StoreDone done)>;

    /// The arming timer belongs to the owner that starts reads; the poll, when given, is stopped
    /// while the port is busy and started again at the end.
    ReadTransfer(SerialLink &port, QTimer &armTimer, ReadinessPoll *poll, QObject *parent = nullptr);

    /// Arms the timer; its first tick starts the read. A complete read goes to `store` before
    /// finished() (the window's table); without one it is kept only in radioSet(), as a backup
    /// or a read-back needs it. A store that refuses turns the read into a failure.
    void start(ChannelSetStore store = {});

    bool isRunning() const { return m_state != State::Idle; }
    /// The set of the last complete read.
    RadioSet radioSet() const { return m_set; }

    /// Stops a read at once, without a signal; nothing more is stored (a store already handed the
    /// set may still finish).
    void abandon();

    /// The arming tick: sends the read command and starts collecting.
    void armTick();

signals:
    /// Frame `frame` of `total` has arrived.
    void progress(int frame, int total);
    /// radioSet() holds what the radio sent, and the store has taken it.
    void finished();
    /// Nothing was stored; the text is for the user.
    void failed(const QString &message);

private:
    enum class State { Idle, Armed, Collecting, Storing };

    void collect();
    void restartSilence();
    void silence();
    void portFailed(const QString &reason);
    void complete();
    void stored(const RadioSet &set, const QString &error);
    void fail(const QString &message);
    void end();

    SerialLink &m_port;
    QTimer &m_armTimer;
    ReadinessPoll *m_poll;
    ChannelSetStore m_store;
    /// Tells a store's late answer from the current read's.
    quint64 m_storeTicket = 0;
    QTimer m_silence;
    /// Since the read command or the last frame character handed on.
    QElapsedTimer m_sinceHeard;
    State m_state = State::Idle;
    QString m_frame;
    QStringList m_frames;
    RadioSet m_set;
};
