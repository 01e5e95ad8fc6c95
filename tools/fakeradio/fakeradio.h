// A QZ300 on a pseudo-terminal: answers the program at the radio's own line speed, keeps the
// sixteen frames a write sends, and can misbehave the ways a real radio and cable do.
#pragma once

#include "pseudoterminal.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QSocketNotifier;

class FakeRadio : public QObject
{
    Q_OBJECT

public:
    /// One character at 1200 baud 8N1: start bit, eight data bits, stop bit.
    static constexpr qint64 CharacterNs = 10'000'000'000LL / 1200;
    static constexpr int FrameLength = 20;
    static constexpr int FrameCount = 16;

    explicit FakeRadio(QObject *parent = nullptr);
    ~FakeRadio() override;

    bool isOpen() const { return m_pty.isOpen(); }
    QString devicePath() const { return m_pty.devicePath(); }

    /// The radio's memory: sixteen frames as a read sends them; frame 1 carries the squelch level.
    QStringList frames() const { return m_frames; }
    void setFrames(const QStringList &frames) { m_frames = frames; }
    /// The squelch digit held in frame 1.
    QString squelch() const { return m_frames.value(0).mid(1, 1); }

    /// A frame as the radio stores it, built independently of the program: frequencies in 10 Hz
    /// units, 0 for none.
    static QString frame(int address, bool shift, qint64 receive10Hz, qint64 transmit10Hz);
    /// Sixteen plausible channels and squelch level 3.
    static QStringList defaultFrames();

    // Ways to misbehave.
    /// Answers nothing at all (switched off).
    void setSilent(bool silent) { m_silent = silent; }
    /// Answers a read with only this many frames; -1 for all.
    void setStopAfterFrames(int frames) { m_stopAfter = frames; }
    /// Puts a noise character into frame `frame` (1 to 16) of a read answer; 0 for none.
    void setNoiseInFrame(int frame, char noise = '#')
    {
        m_noiseFrame = frame;
        m_noise = noise;
    }
    /// Stores frame `frame` of a write with one digit wrong; 0 for none.
    void setCorruptStoredFrame(int frame) { m_corruptFrame = frame; }
    /// Sends these characters before the frames of a read answer.
    void setStrayPrefix(const QByteArray &prefix) { m_strayPrefix = prefix; }
    /// Answers a read with this text repeated without end, as fast as the line takes it (a broken
    /// radio or cable); empty for a normal answer. Only a hang-up stops the stream.
    void setEndlessAnswer(const QByteArray &pattern) { m_endless = pattern; }
    /// Thinks this long after the read command before the first character of its answer.
    void setAnswerDelayMs(int ms) { m_answerDelayNs = qint64(ms) * 1'000'000; }
    /// Returns every character it receives at once, as a cable that echoes does; with setSilent()
    /// an echoing adapter with no radio behind it.
    void setEcho(bool echo) { m_echo = echo; }
    /// Bytes of the endless answer the line has taken so far.
    qint64 endlessSent() const { return m_endlessSent; }

    /// Puts bytes on the line at once, unpaced.
    void inject(const QByteArray &bytes);
    /// Pulls the cable.
    void hangUp();

    /// Everything the program has sent so far.
    QByteArray received() const { return m_received; }
    void clearReceived() { m_received.clear(); }
    /// Completed writes since creation.
    int writesStored() const { return m_writesStored; }

signals:
    /// A write of sixteen frames is in memory.
    void framesStored();
    /// The last character of a read answer has gone out.
    void answerSent();

private:
    void readLine();
    void handle(char c);
    void queue(const QByteArray &bytes, qint64 delayNs = 0);
    void sendNext();
    void flood();
    void schedule();
    QByteArray readAnswer() const;

    PseudoTerminal m_pty;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_pacer;
    QElapsedTimer m_clock;
    qint64 m_nextDueNs = 0;
    QByteArray m_outgoing;
    bool m_answerPending = false;

    QStringList m_frames;
    bool m_collecting = false;
    qint64 m_lastReceivedNs = 0;
    QByteArray m_incoming;
    QByteArray m_received;
    int m_writesStored = 0;

    bool m_silent = false;
    bool m_echo = false;
    int m_stopAfter = -1;
    int m_noiseFrame = 0;
    char m_noise = '#';
    int m_corruptFrame = 0;
    QByteArray m_strayPrefix;
    QByteArray m_endless;
    qint64 m_answerDelayNs = 0;
    QByteArray m_endlessChunk;
    qsizetype m_endlessOffset = 0;
    qint64 m_endlessSent = 0;
    QTimer m_flood;
};
