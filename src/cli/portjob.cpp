#include "cli/portjob.h"

#include "core/channels/channelsetdiff.h"
#include "core/radio/channelframe.h"
#include "core/radio/readinesspoll.h"
#include "core/radio/readtransfer.h"
#include "core/radio/writetransfer.h"
#include "core/serial/porttable.h"
#include "core/serial/seriallink.h"

namespace {

QString shown(const QVariant &value)
{
    const QString text = value.toString();
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString shown(const ChannelRecord &record)
{
    return QStringLiteral("%1 / %2 / %3").arg(shown(record.rf), shown(record.tf), shown(record.bt));
}

QString seconds(int milliseconds)
{
    return QString::number(milliseconds / 1000.0, 'g', 3);
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
    // The transfers and the poll hold on to the port: they go first.
    delete m_write;
    delete m_read;
    delete m_poll;
}

void PortJob::start()
{
    m_port = std::make_unique<SerialLink>(PortTable({m_plan.devicePath}));
    m_port->setPortNumber(PortTable::FirstPort);
    m_port->setTrace(m_plan.trace);
    m_port->open();
    if (!m_port->isOpen()) {
        const QString why = m_port->explainOpenFault(PortAccess::Language::English);
        fail(QStringLiteral("cannot open %1: %2").arg(m_plan.devicePath, why.isEmpty() ? m_port->openErrorText() : why));
        return;
    }
    m_poll = new ReadinessPoll(*m_port);
    connect(m_poll, &ReadinessPoll::radioReady, this, &PortJob::radioReady);
    // The transfers get no poll to restart: between steps this job checks readiness itself.
    m_write = new WriteTransfer(*m_port, m_pacing, nullptr);
    m_read = new ReadTransfer(*m_port, m_arming, nullptr);
    connect(m_write, &WriteTransfer::progress, this, [this](int frame, int total) { emit progress(stageName(), frame, total); });
    connect(m_write, &WriteTransfer::finished, this, &PortJob::writeFinished);
    connect(m_write, &WriteTransfer::failed, this, &PortJob::writeFailed);
    connect(m_read, &ReadTransfer::progress, this, [this](int frame, int total) { emit progress(stageName(), frame, total); });
    connect(m_read, &ReadTransfer::finished, this, &PortJob::readFinished);
    connect(m_read, &ReadTransfer::failed, this, &PortJob::readFailed);
    // After the transfers, so that a port dying mid-transfer is told in their words.
    connect(m_port.get(), &SerialLink::failed, this, &PortJob::portFailed);

    if (m_plan.task == Task::Read)
        waitForRadio(Step::Read);
    else if (m_plan.dryRun)
        waitForRadio(Step::Preview);
    else
        waitForRadio(m_plan.backupPath.isEmpty() ? Step::Write : Step::Backup);
}

void PortJob::waitForRadio(Step next)
{
    m_step = Step::Ready;
    m_afterReady = next;
    m_readyLimit.start(m_plan.readyTimeoutMs);
    m_poll->start();
}

void PortJob::radioReady()
{
    if (m_step != Step::Ready)
        return;
    m_readyLimit.stop();
    m_step = m_afterReady;
    runStep();
}

void PortJob::readyTimedOut()
{
    if (m_step != Step::Ready)
        return;
    const QString before = m_afterReady == Step::Verify ? QStringLiteral(" after the write") : QString();
    fail(QStringLiteral("radio not ready%1: no answer to \"C\" within %2 s").arg(before, seconds(m_plan.readyTimeoutMs)));
}

void PortJob::portFailed(const QString &reason)
{
    fail(QStringLiteral("%1 failed: the port failed: %2").arg(stageName(), reason));
}

void PortJob::runStep()
{
    if (m_step != Step::Write) {
        m_read->start();
        return;
    }
    const QString refused = m_write->start(numberedSet());
    if (!refused.isEmpty())
        fail(QStringLiteral("write refused: %1").arg(refused));
}

ChannelSet PortJob::numberedSet() const
{
    // A file's set carries no channel numbers; on the radio they are 1 to 16 in order.
    ChannelSet numbered = m_plan.toWrite;
    for (int k = 0; k < numbered.channels.size(); ++k)
        numbered.channels[k].no = QString::number(k + 1);
    return numbered;
}

void PortJob::readFinished()
{
    m_readSet = m_read->channelSet();
    switch (m_step) {
    case Step::Backup: {
        m_backupSet = m_readSet;
        const QString error = ChannelSheet::save(m_plan.backupPath, m_readSet, m_plan.backupFormat);
        if (!error.isEmpty()) {
            // The radio's old set must be safe before it is overwritten.
            fail(QStringLiteral("backup not saved, nothing written: %1").arg(error));
            return;
        }
        waitForRadio(Step::Write);
        return;
    }
    case Step::Verify:
        m_verifySet = m_readSet;
        compareReadBack();
        return;
    case Step::Preview:
        tellChanges();
        return;
    case Step::Read: {
        if (!m_plan.outputPath.isEmpty()) {
            const QString error = ChannelSheet::save(m_plan.outputPath, m_readSet, m_plan.outputFormat);
            if (!error.isEmpty()) {
                fail(QStringLiteral("read 16 channels but cannot save them: %1").arg(error));
                return;
            }
            succeed(QStringLiteral("read 16 channels into %1").arg(m_plan.outputPath));
            return;
        }
        succeed(QStringLiteral("read 16 channels"));
        return;
    }
    default:
        return;
    }
}

void PortJob::readFailed(const QString &message)
{
    // One line per port on standard error.
    QString line = message;
    line.replace(u'\n', u' ');
    fail(QStringLiteral("%1 failed: %2").arg(stageName(), line));
}

void PortJob::writeFinished()
{
    if (m_step != Step::Write)
        return;
    m_written = m_write->frames();
    m_sent = true;
    if (m_plan.verify) {
        waitForRadio(Step::Verify);
        return;
    }
    succeed(m_plan.backupPath.isEmpty() ? QStringLiteral("wrote 16 channels")
                                        : QStringLiteral("wrote 16 channels, old set saved in %1").arg(m_plan.backupPath));
}

void PortJob::writeFailed(const QString &reason)
{
    fail(QStringLiteral("write failed, the radio may hold an incomplete set: %1").arg(reason));
}

void PortJob::compareReadBack()
{
    // What was written, as the radio gives it back: the same frames decoded, compared by the
    // rule the window's read-back uses.
    m_differences.clear();
    ChannelSet written;
    written.squelch = ChannelFrame::squelchOf(m_written.value(0));
    for (int k = 0; k < ChannelCount; ++k)
        written.channels << ChannelFrame::decode(m_written.value(k));
    const ChannelSetDiff::Result diff = ChannelSetDiff::compare(written, m_readSet);
    if (diff.squelchChanged)
        m_differences << QStringLiteral("squelch: wrote %1, radio holds %2").arg(diff.squelchBefore, diff.squelchAfter);
    for (const ChannelSetDiff::ChannelChange &change : diff.channels)
        m_differences << QStringLiteral("channel %1: wrote %2, radio holds %3")
                             .arg(change.channel)
                             .arg(shown(change.before), shown(change.after));
    if (m_differences.isEmpty())
        succeed(QStringLiteral("wrote 16 channels, verified"));
    else
        fail(QStringLiteral("verify failed: the radio does not hold what was written (%1 differences)").arg(m_differences.size()));
}

void PortJob::tellChanges()
{
    const ChannelSetDiff::Result diff = ChannelSetDiff::compare(m_readSet, numberedSet());
    m_changes.clear();
    if (diff.squelchChanged)
        m_changes << QStringLiteral("squelch: %1 → %2").arg(diff.squelchBefore, diff.squelchAfter);
    for (const ChannelSetDiff::ChannelChange &change : diff.channels)
        m_changes << QStringLiteral("channel %1: %2 → %3")
                         .arg(change.channel)
                         .arg(ChannelSetDiff::shown(change.before), ChannelSetDiff::shown(change.after));
    succeed(diff.isEmpty() ? QStringLiteral("dry run: the radio holds this set already, nothing sent")
                           : QStringLiteral("dry run: %1 changes, nothing sent").arg(m_changes.size()));
}

WriteLogEntry PortJob::logEntry() const
{
    WriteLogEntry entry;
    entry.program = QStringLiteral("qz300-cli");
    entry.port = m_plan.portName;
    entry.device = m_plan.devicePath;
    entry.before = m_backupSet;
    entry.after = m_verifySet;
    if (m_verifySet)
        entry.outcome = m_differences.isEmpty() ? WriteLogEntry::Outcome::Verified : WriteLogEntry::Outcome::VerifyFailed;
    else if (m_sent) // sent in full; a read-back that failed leaves it unverified
        entry.outcome = WriteLogEntry::Outcome::Written;
    else
        entry.outcome = WriteLogEntry::Outcome::Failed;
    return entry;
}

QString PortJob::stageName() const
{
    switch (m_step == Step::Ready ? m_afterReady : m_step) {
    case Step::Backup:
        return QStringLiteral("backup");
    case Step::Write:
        return QStringLiteral("write");
    case Step::Verify:
        return QStringLiteral("verify");
    default:
        return QStringLiteral("read");
    }
}

void PortJob::succeed(const QString &outcome)
{
    if (m_step == Step::Done)
        return;
    m_succeeded = true;
    m_outcome = outcome;
    m_step = Step::Done;
    m_readyLimit.stop();
    if (m_poll)
        m_poll->stop();
    m_port->close();
    emit finished();
}

void PortJob::fail(const QString &reason)
{
    if (m_step == Step::Done)
        return;
    m_succeeded = false;
    m_outcome = reason;
    m_step = Step::Done;
    m_readyLimit.stop();
    m_pacing.stop();
    m_arming.stop();
    if (m_poll)
        m_poll->stop();
    if (m_port)
        m_port->close();
    emit finished();
}
