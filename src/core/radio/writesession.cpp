#include "core/radio/writesession.h"

#include "core/radio/readinesspoll.h"
#include "core/radio/readtransfer.h"
#include "core/radio/writetransfer.h"

#include <QCoreApplication>

namespace {

WriteLogEntry::Outcome logOutcome(WriteSession::Outcome outcome)
{
    switch (outcome) {
    case WriteSession::Outcome::Verified:
        return WriteLogEntry::Outcome::Verified;
    case WriteSession::Outcome::VerifyFailed:
        return WriteLogEntry::Outcome::VerifyFailed;
    case WriteSession::Outcome::Written:
        return WriteLogEntry::Outcome::Written;
    case WriteSession::Outcome::Interrupted:
        return WriteLogEntry::Outcome::Interrupted;
    case WriteSession::Outcome::Cancelled:
        return WriteLogEntry::Outcome::Cancelled;
    default:
        return WriteLogEntry::Outcome::Failed;
    }
}

} // namespace

WriteSession::WriteSession(ReadinessPoll &poll, ReadTransfer &read, WriteTransfer &write, Answers &answers, QObject *parent)
    : QObject(parent)
    , m_poll(poll)
    , m_read(read)
    , m_write(write)
    , m_answers(answers)
{
    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &WriteSession::waitOver);
    // Connected for good, ahead of anyone who connects later, so that the session has moved on
    // before others hear of a transfer's end. Outside a session they are ignored: the window's
    // read transfer serves its own reads too.
    connect(&m_poll, &ReadinessPoll::radioReady, this, &WriteSession::radioReady);
    connect(&m_read, &ReadTransfer::progress, this, [this](int frame, int total) {
        if (m_step == Step::ReadingBefore || m_step == Step::ReadingBack)
            emit progress(frame, total);
    });
    connect(&m_read, &ReadTransfer::finished, this, &WriteSession::readFinished);
    connect(&m_read, &ReadTransfer::failed, this, &WriteSession::readFailed);
    connect(&m_write, &WriteTransfer::progress, this, [this](int frame, int total) {
        if (m_step != Step::Sending)
            return;
        m_framesSent = frame;
        emit progress(frame, total);
    });
    connect(&m_write, &WriteTransfer::finished, this, &WriteSession::writeFinished);
    connect(&m_write, &WriteTransfer::failed, this, &WriteSession::writeFailed);
}

void WriteSession::start(const Plan &plan)
{
    if (isRunning())
        return;
    m_plan = plan;
    m_outcome = Outcome::None;
    m_stop = Stop::None;
    m_problem.clear();
    m_logWarning.clear();
    m_framesSent = 0;
    m_before.reset();
    m_after.reset();
    m_differences = {};
    m_asking = false;
    m_pollHeld = false;
    awaitRadio();
}

void WriteSession::setStep(Step step)
{
    m_step = step;
    emit stepChanged(step);
}

bool WriteSession::ask(const std::function<bool()> &question)
{
    // A question may run an event loop of its own (a box): nothing the radio does meanwhile moves
    // the session on, and an interrupt while it is up ends the session.
    m_asking = true;
    const bool yes = question();
    m_asking = false;
    return yes;
}

void WriteSession::awaitRadio()
{
    setStep(Step::AwaitingRadio);
    if (m_poll.hasAnswered()) {
        afterReady();
        return;
    }
    if (m_plan.readyWaitMs <= 0) {
        waitOver();
        return;
    }
    if (!m_poll.isRunning())
        m_poll.start();
    m_wait.start(m_plan.readyWaitMs);
}

void WriteSession::radioReady()
{
    if (m_asking)
        return;
    if (m_step == Step::AwaitingRadio) {
        m_wait.stop();
        afterReady();
    } else if (m_step == Step::AwaitingRadioAfter) {
        readBack();
    }
}

void WriteSession::waitOver()
{
    if (m_asking)
        return;
    if (m_step == Step::AwaitingRadioAfter) {
        readBack();
        return;
    }
    if (m_step != Step::AwaitingRadio)
        return;
    m_wait.stop();
    // The radio never acknowledges a frame: a write to a line where nobody answers would otherwise
    // be reported as done.
    if (!ask([this] { return m_answers.writeWithoutAnswer(); })) {
        end(Outcome::Cancelled,
            QCoreApplication::translate("WriteSession", "对讲机没有应答"), Stop::NoAnswer);
        return;
    }
    if (m_step == Step::AwaitingRadio)
        afterReady();
}

void WriteSession::afterReady()
{
    if (m_plan.readsFirst())
        readBefore();
    else
        send();
}

void WriteSession::readBefore()
{
    setStep(Step::ReadingBefore);
    m_read.start();
}

void WriteSession::readFinished()
{
    if (m_step == Step::ReadingBefore) {
        oldSetRead();
    } else if (m_step == Step::ReadingBack) {
        m_after = m_read.radioSet();
        m_differences = ChannelSetDiff::compare(m_plan.set, *m_after);
        end(m_differences.isEmpty() ? Outcome::Verified : Outcome::VerifyFailed);
    }
}

void WriteSession::readFailed(const QString &message)
{
    if (m_step == Step::ReadingBefore)
        oldSetNotRead(message);
    else if (m_step == Step::ReadingBack)
        end(Outcome::Written, message); // all frames went out; whether the radio took them is unknown
}

void WriteSession::oldSetRead()
{
    m_before = m_read.radioSet();
    m_differences = ChannelSetDiff::compare(*m_before, m_plan.set);
    if (m_plan.dryRun) {
        end(Outcome::Previewed);
        return;
    }
    // Nothing for the poll to ask while the questions are up; the write starts it again.
    holdPoll();
    if (m_plan.backup) {
        const QString error = m_answers.keepBackup(*m_before);
        if (!error.isEmpty() && !ask([&] { return m_answers.writeWithoutBackup(error); })) {
            end(Outcome::Cancelled, error, Stop::BackupNotKept);
            return;
        }
    }
    if (m_step != Step::ReadingBefore)
        return; // interrupted while asked
    if (m_plan.showChanges && !ask([this] { return m_answers.confirmChanges(m_differences); })) {
        end(Outcome::Cancelled, QString(), Stop::ChangesDeclined);
        return;
    }
    if (m_step == Step::ReadingBefore)
        send();
}

void WriteSession::oldSetNotRead(const QString &message)
{
    if (m_plan.dryRun) {
        end(Outcome::Failed, message, Stop::OldSetNotRead);
        return;
    }
    holdPoll();
    if (!ask([&] { return m_answers.writeWithoutOldSet(message); })) {
        end(Outcome::Cancelled, message, Stop::OldSetNotRead);
        return;
    }
    if (m_step == Step::ReadingBefore)
        send();
}

void WriteSession::holdPoll()
{
    m_pollHeld = m_poll.isRunning() || m_pollHeld;
    m_poll.stop();
}

void WriteSession::send()
{
    const QString refused = m_write.start(m_plan.set, [this] { return m_answers.beforeSending(); });
    if (!refused.isEmpty()) {
        end(Outcome::Failed, refused, Stop::Refused);
        return;
    }
    setStep(Step::Sending);
}

void WriteSession::writeFinished()
{
    if (m_step != Step::Sending)
        return;
    if (m_plan.verify)
        awaitRadioAfter();
    else
        end(Outcome::Written);
}

void WriteSession::writeFailed(const QString &reason)
{
    if (m_step == Step::Sending)
        end(Outcome::Failed, reason);
}

void WriteSession::awaitRadioAfter()
{
    setStep(Step::AwaitingRadioAfter);
    m_wait.start(AnswerAfterWriteMs);
    if (!m_poll.isRunning())
        m_poll.start();
    // Asked at once, not a poll interval later: the write's empty last tick gave the radio its time.
    m_poll.pollTick();
}

void WriteSession::readBack()
{
    m_wait.stop();
    setStep(Step::ReadingBack);
    m_read.start();
    // The radio has just answered (or had its time): the read command goes out now, without the
    // arming tick a read from the menu waits for.
    m_read.armTick();
}

void WriteSession::interrupt()
{
    switch (m_step) {
    case Step::AwaitingRadio:
    case Step::ReadingBefore:
        m_read.abandon();
        end(Outcome::Cancelled, QCoreApplication::translate("WriteSession", "写入前被中止"));
        return;
    case Step::Sending:
        m_write.abandon();
        end(Outcome::Interrupted);
        return;
    case Step::AwaitingRadioAfter:
    case Step::ReadingBack:
        m_read.abandon();
        end(Outcome::Written, QCoreApplication::translate("WriteSession", "读回校验被中止"));
        return;
    case Step::Idle:
    case Step::Done:
        return;
    }
}

void WriteSession::end(Outcome outcome, const QString &problem, Stop stop)
{
    if (!isRunning())
        return;
    m_wait.stop();
    m_outcome = outcome;
    m_problem = problem;
    m_stop = stop;
    // A poll held for the questions runs again when no transfer is left to restart it.
    if (std::exchange(m_pollHeld, false) && (m_step == Step::AwaitingRadio || m_step == Step::ReadingBefore))
        m_poll.start();
    setStep(Step::Done);
    if (!m_plan.dryRun) {
        WriteLogEntry entry = m_plan.log;
        entry.time = QDateTime::currentDateTime();
        entry.before = m_before;
        entry.after = m_after;
        entry.outcome = logOutcome(outcome);
        m_logWarning = WriteLog::append(entry);
    }
    emit finished();
}
