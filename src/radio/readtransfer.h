// Reads the sixteen channels and the squelch level from the radio: the arming timer's tick sends
// the read command, the frames are collected as they arrive, and only a complete, well-formed set
// is stored.
#pragma once

#include "channels/channelrecord.h"

#include <QObject>
#include <QTimer>

#include <functional>

class ChannelTable;
class ReadinessPoll;
class SerialLink;

class ReadTransfer : public QObject
{
    Q_OBJECT

public:
    static constexpr int ArmIntervalMs = 100;
    /// The radio answers at 1200 baud, a character every 8.33 ms; this much silence means it stopped.
    static constexpr int SilenceLimitMs = 2000;

    using SquelchSink = std::function<void(const QString &level)>;
    /// Stores a complete read (channels and squelch level); returns why it could not, or empty.
    using ChannelSetStore = std::function<QString(const ChannelList &channels, const QString &squelch)>;

    /// The arming timer belongs to the window that starts reads; the poll, when given, is stopped
    /// while the port is busy and started again at the end; the sink stores the squelch level read.
    ReadTransfer(SerialLink &port, ChannelTable &table, QTimer &armTimer, ReadinessPoll *poll,
                 SquelchSink storeSquelch, QObject *parent = nullptr);

    /// Replaces how a complete read is stored (by default: the table, then the squelch sink).
    void setChannelSetStore(ChannelSetStore store) { m_store = std::move(store); }

    /// Arms the timer; its first tick starts the read.
    void start();

    bool isRunning() const { return m_state != State::Idle; }
    /// The records of the last complete read.
    ChannelList channels() const { return m_channels; }
    QString squelch() const { return m_squelch; }

    /// The arming tick: sends the read command and starts collecting.
    void armTick();

signals:
    /// Frame `frame` of `total` has arrived.
    void progress(int frame, int total);
    /// The table and the squelch level hold what the radio sent; the table is on its first record.
    void finished();
    /// Nothing was stored; the text is for the user.
    void failed(const QString &message);

private:
    enum class State { Idle, Armed, Collecting };

    void collect();
    void silence();
    void portFailed();
    void complete();
    void fail(const QString &message);
    void end();

    SerialLink &m_port;
    ChannelTable &m_table;
    QTimer &m_armTimer;
    ReadinessPoll *m_poll;
    SquelchSink m_storeSquelch;
    ChannelSetStore m_store;
    QTimer m_silence;
    State m_state = State::Idle;
    QString m_frame;
    QStringList m_frames;
    ChannelList m_channels;
    QString m_squelch;
};
