// One radio on one port: the readiness check and a read, or a write session (an optional backup
// read before it and an optional read-back after it) answered by the command line's options.
// Several jobs share one event loop, each with its own port and timers.
#pragma once

#include "core/files/channelfile.h"
#include "core/files/channelsheet.h"
#include "core/radio/writesession.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class LineTrace;
class QThreadPool;
class ReadTransfer;
class ReadinessPoll;
class SerialLink;
class WriteTransfer;

class PortJob : public QObject, private WriteSession::Answers
{
    Q_OBJECT

public:
    enum class Task { Read, Write };

    struct Plan
    {
        Task task = Task::Read;
        QString portName;   ///< as the user gave it
        QString devicePath;
        /// Read: where the set goes; empty keeps it for the caller (standard output).
        QString outputPath;
        ChannelSheet::Format outputFormat = ChannelSheet::Format::Channel;
        RadioSet toWrite;
        QString backupPath; ///< write: where the radio's old set goes first; empty for none
        ChannelSheet::Format backupFormat = ChannelSheet::Format::Channel;
        bool verify = false;
        /// write: only read the radio and tell what the write would change
        bool dryRun = false;
        int readyTimeoutMs = 3000;
        /// Where the line is recorded (--trace); none when empty.
        std::shared_ptr<LineTrace> trace;
    };

    explicit PortJob(Plan plan, QObject *parent = nullptr);
    ~PortJob() override;

    /// Opens the port and starts; with `openers`, the port opens on one of its threads and the job
    /// goes on when it is open.
    void start(QThreadPool *openers = nullptr);
    /// Ends the job now (the program was told to stop): a write ends with its log line, a job not
    /// started yet ends without opening its port.
    void interrupt();

    const Plan &plan() const { return m_plan; }
    bool isDone() const { return m_done; }
    bool succeeded() const { return m_succeeded; }
    /// The one summary line of this port, without the port name.
    QString outcome() const { return m_outcome; }
    /// Channels the read-back found different from what was written, one line each.
    QStringList differences() const { return m_differences; }
    /// A dry run's changes, old → new, one line each.
    QStringList changes() const { return m_changes; }
    /// The set of the last complete read.
    RadioSet readSet() const { return m_readSet; }
    /// Why a write's log line could not be written, or empty.
    QString logWarning() const { return m_session ? m_session->logWarning() : QString(); }

signals:
    /// `stage` is "read", "backup", "write" or "verify".
    void progress(const QString &stage, int frame, int total);
    void finished();

private:
    // The write session's questions, answered by the options given.
    bool writeWithoutAnswer() override { return false; }
    bool writeWithoutOldSet(const QString &) override { return false; }
    bool writeWithoutBackup(const QString &) override { return false; }
    QString keepBackup(const RadioSet &old) override;
    bool confirmChanges(const ChannelSetDiff::Result &) override { return true; }

    void portOpened(std::unique_ptr<SerialLink> link);
    QString interruptedBeforeStart() const;
    void waitForRadio();
    void radioReady();
    void readyTimedOut();
    void portFailed(const QString &reason);
    void readFinished();
    void readFailed(const QString &message);
    void startWrite();
    void writeEnded();
    QString noAnswer(const QString &when) const;
    QString stageName() const;
    void succeed(const QString &outcome);
    void fail(const QString &reason);
    void finish();

    Plan m_plan;
    std::unique_ptr<SerialLink> m_port;
    ReadinessPoll *m_poll = nullptr;
    WriteTransfer *m_write = nullptr;
    ReadTransfer *m_read = nullptr;
    WriteSession *m_session = nullptr;
    QTimer m_pacing;
    QTimer m_arming;
    QTimer m_readyLimit;
    bool m_running = false;
    bool m_opening = false;
    bool m_interruptedWhileOpening = false;
    bool m_done = false;
    QString m_portFailure;
    RadioSet m_readSet;
    QStringList m_differences;
    QStringList m_changes;
    bool m_succeeded = false;
    QString m_outcome;
};
