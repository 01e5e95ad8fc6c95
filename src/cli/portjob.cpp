#include "cli/portjob.h"

#include "core/channels/channelsetdiff.h"
#include "core/channels/channeltext.h"
#include "core/radio/readinesspoll.h"
#include "core/radio/readtransfer.h"
#include "core/radio/writereport.h"
#include "core/radio/writetransfer.h"
#include "core/serial/porttable.h"
#include "core/serial/seriallink.h"

#include <QThreadPool>

namespace {

QString seconds(int milliseconds)
{
    return QString::number(milliseconds / 1000.0, 'g', 3);
}

/// One line per port on standard error: the message's lines joined as clauses.
QString oneLine(const QString &text)
{
    return text.split(u'\n', Qt::SkipEmptyParts).join(QStringLiteral(": "));
}

std::unique_ptr<SerialLink> openLink(const QString &devicePath)
{
    auto link = std::make_unique<SerialLink>(PortTable({devicePath}));
    link->setPortNumber(PortTable::FirstPort);
    link->setShownName(devicePath);
    link->open();
    return link;
}

} // namespace

PortJob::PortJob(Plan plan, QObject *parent)
    : QObject(parent)
    , m_plan(std::move(plan))
{
    m_readyLimit.setSingleShot(true);
    connect(&m_readyLimit, &QTimer::timeout, this, &PortJob::readyTimedOut);
}

PortJob::~PortJob()
{
    // The session, the transfers and the poll hold on to the port: they go first.
    delete m_session;
    delete m_write;
    delete m_read;
    delete m_poll;
}

void PortJob::start(QThreadPool *openers)
{
    if (m_running || m_done)
        return; // running already, or interrupted before its turn
    m_running = true;
    if (!openers) {
        portOpened(openLink(m_plan.devicePath));
        return;
    }
    // Opening a port takes its lock file, which is synced to disk: milliseconds each, so many
    // ports open side by side, off the event thread, and each job goes on as soon as its own is open.
    m_opening = true;
    openers->start([job = this, devicePath = m_plan.devicePath, home = thread()] {
        std::unique_ptr<SerialLink> link = openLink(devicePath);
        link->moveToThread(home);
        // The job waits for its port (it does not finish while opening), so it is still there.
        QMetaObject::invokeMethod(job, [job, opened = link.release()] { job->portOpened(std::unique_ptr<SerialLink>(opened)); },
                                  Qt::QueuedConnection);
    });
}

void PortJob::portOpened(std::unique_ptr<SerialLink> link)
{
    m_opening = false;
    m_port = std::move(link);
    m_port->setTrace(m_plan.trace);
    if (m_interruptedWhileOpening) {
        m_port->close();
        fail(interruptedBeforeStart());
        return;
    }
    if (!m_port->isOpen()) {
        const QString why = m_port->explainOpenFault(PortAccess::Language::English);
        fail(QStringLiteral("cannot open %1: %2").arg(m_plan.devicePath, why.isEmpty() ? m_port->openErrorText() : why));
        return;
    }
    m_poll = new ReadinessPoll(*m_port);
    // The transfers get no poll to restart: between steps this job or the session asks the radio.
    m_write = new WriteTransfer(*m_port, m_pacing, nullptr);
    m_read = new ReadTransfer(*m_port, m_arming, nullptr);
    // After the transfers, so that a port dying mid-transfer is told in their words.
    connect(m_port.get(), &SerialLink::failed, this, &PortJob::portFailed);

    if (m_plan.task == Task::Write) {
        startWrite();
        return;
    }
    connect(m_poll, &ReadinessPoll::radioReady, this, &PortJob::radioReady);
    connect(m_read, &ReadTransfer::progress, this, [this](int frame, int total) { emit progress(stageName(), frame, total); });
    connect(m_read, &ReadTransfer::finished, this, &PortJob::readFinished);
    connect(m_read, &ReadTransfer::failed, this, &PortJob::readFailed);
    waitForRadio();
}

void PortJob::interrupt()
{
    if (m_done)
        return;
    if (!m_running) {
        fail(interruptedBeforeStart());
        return;
    }
    if (m_opening) {
        m_interruptedWhileOpening = true; // told when the port is open
        return;
    }
    if (m_session && m_session->isRunning()) {
        m_session->interrupt(); // its end is told by writeEnded()
        return;
    }
    m_read->abandon();
    fail(QStringLiteral("interrupted, nothing read"));
}

QString PortJob::interruptedBeforeStart() const
{
    return m_plan.task == Task::Write ? QStringLiteral("interrupted before the port was opened, nothing sent")
                                      : QStringLiteral("interrupted before the port was opened, nothing read");
}

void PortJob::waitForRadio()
{
    m_readyLimit.start(m_plan.readyTimeoutMs);
    m_poll->start();
}

void PortJob::radioReady()
{
    if (!m_readyLimit.isActive())
        return;
    m_readyLimit.stop();
    m_read->start();
}

QString PortJob::noAnswer(const QString &when) const
{
    return QStringLiteral("radio not ready%1: no answer to \"C\" within %2 s").arg(when, seconds(m_plan.readyTimeoutMs));
}

void PortJob::readyTimedOut()
{
    fail(noAnswer(QString()));
}

void PortJob::portFailed(const QString &reason)
{
    if (m_done)
        return;
    if (m_session && m_session->isRunning()) {
        // Between transfers (waiting for the radio) nothing else sees the port go.
        m_portFailure = reason;
        m_session->interrupt();
        return;
    }
    fail(QStringLiteral("%1 failed: the port failed: %2").arg(stageName(), reason));
}

void PortJob::readFinished()
{
    m_readSet = m_read->radioSet();
    if (!m_plan.outputPath.isEmpty()) {
        const QString error = ChannelSheet::save(m_plan.outputPath, ChannelText::fromRadio(m_readSet), m_plan.outputFormat);
        if (!error.isEmpty()) {
            fail(QStringLiteral("read 16 channels but cannot save them: %1").arg(error));
            return;
        }
        succeed(QStringLiteral("read 16 channels into %1").arg(m_plan.outputPath));
        return;
    }
    succeed(QStringLiteral("read 16 channels"));
}

void PortJob::readFailed(const QString &message)
{
    fail(QStringLiteral("read failed: %1").arg(oneLine(message)));
}

void PortJob::startWrite()
{
    m_session = new WriteSession(*m_poll, *m_read, *m_write, *this);
    connect(m_session, &WriteSession::progress, this, [this](int frame, int total) { emit progress(stageName(), frame, total); });
    connect(m_session, &WriteSession::finished, this, &PortJob::writeEnded);
    WriteSession::Plan plan;
    plan.set = m_plan.toWrite;
    plan.backup = !m_plan.backupPath.isEmpty();
    plan.verify = m_plan.verify;
    plan.dryRun = m_plan.dryRun;
    plan.readyWaitMs = m_plan.readyTimeoutMs;
    plan.log.program = QStringLiteral("qz300-cli");
    plan.log.port = m_plan.portName;
    plan.log.device = m_plan.devicePath;
    m_session->start(plan);
}

QString PortJob::keepBackup(const RadioSet &old)
{
    return ChannelSheet::save(m_plan.backupPath, ChannelText::fromRadio(old), m_plan.backupFormat);
}

void PortJob::writeEnded()
{
    const WriteSession &session = *m_session;
    if (session.radioBefore())
        m_readSet = *session.radioBefore();
    if (session.radioAfter())
        m_readSet = *session.radioAfter();
    const ChannelSetDiff::Result &diff = session.differences();
    const QString problem = oneLine(session.problem());
    if (!m_portFailure.isEmpty()) {
        fail(QStringLiteral("%1 failed: the port failed: %2").arg(stageName(), m_portFailure));
        return;
    }
    switch (session.outcome()) {
    case WriteSession::Outcome::Verified:
        succeed(QStringLiteral("wrote 16 channels, verified"));
        return;
    case WriteSession::Outcome::VerifyFailed:
        m_differences = WriteReport::lines(diff, QStringLiteral("squelch: wrote %1, radio holds %2"),
                                  QStringLiteral("channel %1: wrote %2, radio holds %3"));
        fail(QStringLiteral("verify failed: the radio does not hold what was written (%1 differences)").arg(m_differences.size()));
        return;
    case WriteSession::Outcome::Written:
        if (m_plan.verify) {
            fail(QStringLiteral("verify failed, the set was written but not read back: %1").arg(problem));
            return;
        }
        succeed(m_plan.backupPath.isEmpty() ? QStringLiteral("wrote 16 channels")
                                            : QStringLiteral("wrote 16 channels, old set saved in %1").arg(m_plan.backupPath));
        return;
    case WriteSession::Outcome::Interrupted:
        fail(QStringLiteral("interrupted during the write after %1 of 16 channels, the radio holds an incomplete set")
                 .arg(session.framesSent()));
        return;
    case WriteSession::Outcome::Failed:
        if (session.stop() == WriteSession::Stop::Refused)
            fail(QStringLiteral("write refused: %1").arg(problem));
        else if (m_plan.dryRun)
            fail(QStringLiteral("read failed: %1").arg(problem));
        else
            fail(QStringLiteral("write failed, the radio may hold an incomplete set: %1").arg(problem));
        return;
    case WriteSession::Outcome::Cancelled:
        switch (session.stop()) {
        case WriteSession::Stop::NoAnswer:
            fail(noAnswer(QString()));
            return;
        case WriteSession::Stop::OldSetNotRead:
            fail(QStringLiteral("backup failed: %1").arg(problem));
            return;
        case WriteSession::Stop::BackupNotKept:
            // The radio's old set must be safe before it is overwritten.
            fail(QStringLiteral("backup not saved, nothing written: %1").arg(problem));
            return;
        default:
            fail(QStringLiteral("interrupted before the write, nothing sent"));
            return;
        }
    case WriteSession::Outcome::Previewed:
        m_changes = WriteReport::lines(diff, QStringLiteral("squelch: %1 → %2"), QStringLiteral("channel %1: %2 → %3"));
        succeed(diff.isEmpty() ? QStringLiteral("dry run: the radio holds this set already, nothing sent")
                               : QStringLiteral("dry run: %1 changes, nothing sent").arg(m_changes.size()));
        return;
    case WriteSession::Outcome::None:
        fail(QStringLiteral("write ended without an outcome"));
        return;
    }
}

QString PortJob::stageName() const
{
    if (!m_session)
        return QStringLiteral("read");
    const QString before = m_plan.dryRun ? QStringLiteral("read") : QStringLiteral("backup");
    switch (m_session->step()) {
    case WriteSession::Step::AwaitingRadio:
        return m_session->plan().readsFirst() ? before : QStringLiteral("write");
    case WriteSession::Step::ReadingBefore:
        return before;
    case WriteSession::Step::AwaitingRadioAfter:
    case WriteSession::Step::ReadingBack:
        return QStringLiteral("verify");
    default:
        return QStringLiteral("write");
    }
}

void PortJob::succeed(const QString &outcome)
{
    if (m_done)
        return;
    m_succeeded = true;
    m_outcome = outcome;
    finish();
}

void PortJob::fail(const QString &reason)
{
    if (m_done)
        return;
    m_succeeded = false;
    m_outcome = reason;
    finish();
}

void PortJob::finish()
{
    m_done = true;
    m_readyLimit.stop();
    m_pacing.stop();
    m_arming.stop();
    if (m_poll)
        m_poll->stop();
    if (m_port)
        m_port->close();
    emit finished();
}
