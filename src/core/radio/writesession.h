// One write of a channel set into one radio, from the first question to the log line: the radio's
// readiness, the read of its old set (for a backup and the changes to confirm), the frames, the
// wait for the radio to answer again, the read-back and its comparison, and exactly one line in the
// write log however it ends. The window and the command line each drive one per radio and answer
// its questions their own way, so both reach the same outcome for the same radio and set.
#pragma once

#include "core/channels/channelsetdiff.h"
#include "core/channels/radiochannel.h"
#include "core/files/writelog.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class ReadTransfer;
class ReadinessPoll;
class WriteTransfer;

class WriteSession : public QObject
{
    Q_OBJECT

public:
    /// How long the radio may take to answer again after the frames, busy storing them; it is read
    /// back after that all the same, and the read tells what happened.
    static constexpr int AnswerAfterWriteMs = 2000;

    struct Plan
    {
        RadioSet set;
        bool backup = false;      ///< keep the radio's old set first
        bool showChanges = false; ///< confirm what the write changes
        bool verify = false;      ///< read the set back and compare
        bool dryRun = false;      ///< read the old set and stop: nothing sent, nothing logged
        /// How long to wait for the radio's answer to the readiness poll before asking whether to
        /// write all the same; 0 asks at once unless it has answered already.
        int readyWaitMs = 0;
        WriteLogEntry log; ///< program, port, device and usb; the session fills in the rest

        bool readsFirst() const { return backup || showChanges || dryRun; }
    };

    /// The session's questions; the window asks the user, the command line answers by its options.
    class Answers
    {
    public:
        virtual ~Answers() = default;
        /// The radio did not answer the readiness poll: write all the same?
        virtual bool writeWithoutAnswer() = 0;
        /// The radio's old set could not be read (`why`): write all the same?
        virtual bool writeWithoutOldSet(const QString &why) = 0;
        /// The radio's old set could not be kept as a backup (`why`): write all the same?
        virtual bool writeWithoutBackup(const QString &why) = 0;
        /// Keeps the radio's old set; returns why it could not, or empty.
        virtual QString keepBackup(const RadioSet &old) = 0;
        /// What the write will change (perhaps nothing): go ahead?
        virtual bool confirmChanges(const ChannelSetDiff::Result &changes) = 0;
        /// Last thing before the write command; returns why not to send, or empty.
        virtual QString beforeSending() { return QString(); }
    };

    enum class Step { Idle, AwaitingRadio, ReadingBefore, Sending, AwaitingRadioAfter, ReadingBack, Done };
    /// Previewed: a dry run read the old set. The others are the write log's outcomes.
    enum class Outcome { None, Verified, VerifyFailed, Written, Interrupted, Failed, Cancelled, Previewed };

    /// The transfers and the poll are the caller's, on one port; the session uses them while it runs.
    WriteSession(ReadinessPoll &poll, ReadTransfer &read, WriteTransfer &write, Answers &answers, QObject *parent = nullptr);

    void start(const Plan &plan);
    /// Ends now, by where the write stands: before the frames cancelled, during them interrupted,
    /// after them written (unverified). The log line is written; finished() follows.
    void interrupt();

    bool isRunning() const { return m_step != Step::Idle && m_step != Step::Done; }
    Step step() const { return m_step; }
    const Plan &plan() const { return m_plan; }
    Outcome outcome() const { return m_outcome; }
    /// What went wrong, for Failed, Cancelled (a refusal or a question declined) and a Written whose
    /// read-back failed; empty otherwise.
    QString problem() const { return m_problem; }
    /// Why the session stopped before sending anything: the radio did not answer, the old set was
    /// not kept, the user said no.
    enum class Stop { None, NoAnswer, OldSetNotRead, BackupNotKept, ChangesDeclined, Refused };
    Stop stop() const { return m_stop; }
    int framesSent() const { return m_framesSent; }
    std::optional<RadioSet> radioBefore() const { return m_before; }
    std::optional<RadioSet> radioAfter() const { return m_after; }
    /// What the read before found different from the set (the changes), or the read-back from it.
    ChannelSetDiff::Result differences() const { return m_differences; }
    /// Why the log line could not be written, or empty.
    QString logWarning() const { return m_logWarning; }

signals:
    void stepChanged(WriteSession::Step step);
    /// Frame `frame` of `total` of the current step (read before, frames, read-back).
    void progress(int frame, int total);
    void finished();

private:
    void setStep(Step step);
    void awaitRadio();
    void radioReady();
    void waitOver();
    void afterReady();
    bool ask(const std::function<bool()> &question);
    void readBefore();
    void readFinished();
    void readFailed(const QString &message);
    void oldSetRead();
    void oldSetNotRead(const QString &message);
    void holdPoll();
    void send();
    void writeFinished();
    void writeFailed(const QString &reason);
    void awaitRadioAfter();
    void readBack();
    void end(Outcome outcome, const QString &problem = QString(), Stop stop = Stop::None);

    ReadinessPoll &m_poll;
    ReadTransfer &m_read;
    WriteTransfer &m_write;
    Answers &m_answers;
    QTimer m_wait;
    Plan m_plan;
    Step m_step = Step::Idle;
    Outcome m_outcome = Outcome::None;
    Stop m_stop = Stop::None;
    QString m_problem;
    QString m_logWarning;
    int m_framesSent = 0;
    std::optional<RadioSet> m_before;
    std::optional<RadioSet> m_after;
    ChannelSetDiff::Result m_differences;
    bool m_asking = false;
    bool m_pollHeld = false; ///< stopped for the questions after the read before the write
};
