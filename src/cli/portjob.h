// One radio on one port: the readiness check, then a read, or a write with an optional backup read
// before it and an optional read-back after it. Several jobs share one event loop, each with its own
// port and timers.
#pragma once

#include "core/files/channelsheet.h"
#include "core/files/channelfile.h"
#include "core/files/writelog.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class LineTrace;
class ReadTransfer;
class ReadinessPoll;
class SerialLink;
class WriteTransfer;

class PortJob : public QObject
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
        ChannelSet toWrite;
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

    void start();

    const Plan &plan() const { return m_plan; }
    bool isDone() const { return m_step == Step::Done; }
    bool succeeded() const { return m_succeeded; }
    /// The one summary line of this port, without the port name.
    QString outcome() const { return m_outcome; }
    /// Channels the read-back found different from what was written, one line each.
    QStringList differences() const { return m_differences; }
    /// A dry run's changes, old → new, one line each.
    QStringList changes() const { return m_changes; }
    /// The set of the last complete read.
    ChannelSet readSet() const { return m_readSet; }
    /// A write's line for the write log: the backup read, the verify read and how it ended.
    WriteLogEntry logEntry() const;

signals:
    /// `stage` is "read", "backup", "write" or "verify".
    void progress(const QString &stage, int frame, int total);
    void finished();

private:
    enum class Step { Idle, Ready, Backup, Write, Verify, Read, Preview, Done };

    void waitForRadio(Step next);
    void radioReady();
    void readyTimedOut();
    void portFailed(const QString &reason);
    void runStep();
    void readFinished();
    void readFailed(const QString &message);
    void writeFinished();
    void writeFailed(const QString &reason);
    void compareReadBack();
    void tellChanges();
    ChannelSet numberedSet() const;
    QString stageName() const;
    void succeed(const QString &outcome);
    void fail(const QString &reason);

    Plan m_plan;
    std::unique_ptr<SerialLink> m_port;
    ReadinessPoll *m_poll = nullptr;
    WriteTransfer *m_write = nullptr;
    ReadTransfer *m_read = nullptr;
    QTimer m_pacing;
    QTimer m_arming;
    QTimer m_readyLimit;
    Step m_step = Step::Idle;
    Step m_afterReady = Step::Idle;
    QStringList m_written;
    ChannelSet m_readSet;
    std::optional<ChannelSet> m_backupSet;
    std::optional<ChannelSet> m_verifySet;
    bool m_sent = false;
    QStringList m_differences;
    QStringList m_changes;
    bool m_succeeded = false;
    QString m_outcome;
};
