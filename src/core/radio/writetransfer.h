// Writes the sixteen channels and the squelch level into the radio: the write command at once,
// then one frame per tick of the pacing timer. The radio sends no answer to wait for.
#pragma once

#include "core/channels/radiochannel.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QTimer;
class ReadinessPoll;
class SerialLink;

class WriteTransfer : public QObject
{
    Q_OBJECT

public:
    static constexpr int IntervalMs = 300;
    /// Added to the step counter every tick; 16 frames and one empty tick make 17 ticks.
    static constexpr qint16 Step = 6;
    static constexpr qint16 LastFrameBelow = 96;
    static constexpr qint16 EndAt = 100;

    /// The timer paces the frames (the window owns it); the poll, when given, is stopped
    /// while the port is busy and started again at the end.
    WriteTransfer(SerialLink &port, QTimer &timer, ReadinessPoll *poll, QObject *parent = nullptr);

    /// Runs once all frames are formed, just before the first character goes out; returns why the
    /// write must not go ahead, or empty.
    using BeforeSending = std::function<QString()>;

    /// Builds all frames from `set` and starts sending. Returns why it cannot start (a channel that
    /// does not fit a frame, no open port, a refusal of `beforeSending`); nothing is sent then.
    QString start(const RadioSet &set, const BeforeSending &beforeSending = {});

    /// Stops a running write at once, without a signal; the radio keeps what it has received.
    void abandon();

    bool isRunning() const { return m_running; }
    qint16 stepCounter() const { return m_step; }
    /// The frames of the running or last transfer.
    QStringList frames() const { return m_frames; }

    /// One tick: the next frame, or the end after the sixteenth.
    void pacingTick();

signals:
    /// Frame `frame` of `total` is on its way.
    void progress(int frame, int total);
    /// All frames are out.
    void finished();
    /// The port failed on the way; the radio holds an incomplete set.
    void failed(const QString &reason);

private:
    static QString formFrames(const RadioSet &set, QStringList &frames);
    void portFailed(const QString &reason);
    void stop();

    SerialLink &m_port;
    QTimer &m_timer;
    ReadinessPoll *m_poll;
    QStringList m_frames;
    qint16 m_step = 0;
    bool m_running = false;
};
