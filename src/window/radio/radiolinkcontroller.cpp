#include "window/radio/radiolinkcontroller.h"

#include "window/radio/transferline.h"

#include "core/channels/channelrecord.h"
#include "core/channels/channelset.h"
#include "core/channels/channelsetdiff.h"
#include "core/channels/channeltable.h"
#include "core/files/backupstore.h"
#include "core/radio/readinesspoll.h"
#include "core/radio/readtransfer.h"
#include "core/radio/writereport.h"
#include "core/radio/writetransfer.h"
#include "core/serial/portdetails.h"
#include "core/serial/portreconnector.h"
#include "core/serial/seriallink.h"
#include "window/ui/commandhost.h"
#include "window/ui/messagebox.h"
#include "window/ui/translatedtext.h"

#include <QProgressBar>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace {

const TranslatedText WarningTitle("RadioLinkController", QT_TRANSLATE_NOOP("RadioLinkController", "错误警告"));
const TranslatedText ReadErrorTitle("RadioLinkController", QT_TRANSLATE_NOOP("RadioLinkController", "错误警告 "));
const TranslatedText LostStatus("RadioLinkController", QT_TRANSLATE_NOOP("RadioLinkController", "端口已断开..."));
const TranslatedText ReadCommand("RadioLinkController", QT_TRANSLATE_NOOP("RadioLinkController", "读信道"));
const TranslatedText WriteCommand("RadioLinkController", QT_TRANSLATE_NOOP("RadioLinkController", "写信道"));

QString portName(int port, const QString &device)
{
    return device.isEmpty() ? QStringLiteral("COM%1").arg(port) : QCoreApplication::translate("RadioLinkController", "COM%1（%2）").arg(port).arg(device);
}

} // namespace

RadioLinkController::RadioLinkController(CommandHost &host, SerialLink &link, ReadinessPoll &poll, ChannelTable &table,
                                         QTimer &writePacingTimer, QTimer &readArmTimer, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_link(link)
    , m_poll(poll)
    , m_table(table)
{
    setObjectName(QStringLiteral("radioLink"));
    // Connected to the port before the transfers, so that a loss during a transfer is seen while
    // the transfer still runs and is told once, by the transfer.
    m_reconnect = new PortReconnector(link, this);
    connect(m_reconnect, &PortReconnector::lost, this, &RadioLinkController::linkLost);
    connect(m_reconnect, &PortReconnector::reopened, this, &RadioLinkController::linkBack);
    m_write = new WriteTransfer(link, writePacingTimer, &poll, this);
    m_write->setObjectName(QStringLiteral("writeTransfer"));
    m_read = new ReadTransfer(link, readArmTimer, &poll, this);
    m_read->setObjectName(QStringLiteral("readTransfer"));
    connect(m_write, &WriteTransfer::progress, this, &RadioLinkController::writeProgress);
    connect(m_write, &WriteTransfer::finished, this, &RadioLinkController::writeFinished);
    connect(m_write, &WriteTransfer::failed, this, &RadioLinkController::writeFailed);
    connect(m_read, &ReadTransfer::progress, this, &RadioLinkController::showProgress);
    connect(m_read, &ReadTransfer::finished, this, &RadioLinkController::readFinished);
    connect(m_read, &ReadTransfer::failed, this, &RadioLinkController::readFailed);
    // The read-back waits until the radio, busy storing the set, answers the poll again; a radio
    // that stays silent is then read all the same, and the read tells what happened.
    m_readBackWait = new QTimer(this);
    m_readBackWait->setObjectName(QStringLiteral("readBackWait"));
    m_readBackWait->setSingleShot(true);
    m_readBackWait->setInterval(ReadTransfer::SilenceLimitMs);
    connect(m_readBackWait, &QTimer::timeout, this, &RadioLinkController::startReadBack);
    connect(&poll, &ReadinessPoll::radioReady, this, &RadioLinkController::startReadBack);

    auto *line = new TransferLine(host.statusLabel());
    m_progress = line->progressBar();
    m_result = line->resultLabel();
}

void RadioLinkController::writeChannels()
{
    if (m_host.activity() != CommandHost::Activity::Idle)
        return;
    // A cell still being typed in belongs to what is sent; a value its check refused stops the write.
    if (!m_host.commitOpenCell())
        return;
    if (!portReady(WriteCommand))
        return;
    // A table the radio cannot take is refused before the radio is asked anything.
    const ChannelSet sending{m_host.squelchLevel(), m_table.channels()};
    if (const QString refused = WriteTransfer::refusalOf(sending); !refused.isEmpty()) {
        Messages::show(m_host.dialogParent(), WarningTitle, refused, Messages::Icon::Warning);
        return;
    }
    m_sending = sending;
    m_radioBefore.reset();
    m_radioAfter.reset();
    m_framesSent = 0;
    m_options = WriteOptions::load();
    if (!radioAnsweredOrWriteAnyway()) {
        logWrite(WriteLogEntry::Outcome::Cancelled);
        return;
    }
    // Locked before the start stores pending edits, so a store failure is told once, below.
    m_host.setActivity(CommandHost::Activity::Writing);
    m_host.cancelStatusClearing();
    m_result->clear();
    m_result->hide();
    if (!m_options.readsFirst()) {
        sendFrames();
        return;
    }
    m_writeStep = WriteStep::ReadingBefore;
    m_host.setStatusText(tr("正在读出对讲机中原有的信道,,,,,,,"));
    showProgress(0, ChannelCount);
    m_read->start();
}

void RadioLinkController::radioReadBefore()
{
    // Nothing for the poll to ask while the questions below are up; the write starts it again.
    m_poll.stop();
    m_pollHeld = true;
    m_progress->hide();
    m_radioBefore = m_read->channelSet();
    if (m_options.backupFirst) {
        const BackupStore::Saved saved = BackupStore::save(*m_radioBefore, QStringLiteral("COM%1").arg(m_link.portNumber()));
        if (!saved.error.isEmpty() && !askWriteAnyway(tr("对讲机中原有的信道无法备份：\n%1").arg(saved.error))) {
            cancelWrite();
            return;
        }
    }
    if (m_options.showChanges && !confirmChanges()) {
        cancelWrite();
        return;
    }
    sendFrames();
}

void RadioLinkController::radioNotReadBefore(const QString &message)
{
    m_poll.stop();
    m_pollHeld = true;
    m_progress->hide();
    const QString why = m_options.backupFirst
        ? tr("写入前没有读到对讲机中原有的信道，无法备份：\n%1").arg(message)
        : tr("写入前没有读到对讲机中原有的信道，无法显示改动：\n%1").arg(message);
    if (!askWriteAnyway(why)) {
        cancelWrite();
        return;
    }
    sendFrames();
}

bool RadioLinkController::confirmChanges()
{
    const ChannelSetDiff::Result diff = ChannelSetDiff::compare(*m_radioBefore, m_sending);
    if (diff.isEmpty()) {
        return Messages::ask(m_host.dialogParent(),
                             {tr("写信道数据"), tr("对讲机中的信道与要写入的相同，写入不会改动什么。"),
                              Messages::Icon::Information, {tr("仍然写入"), tr("取消")}, 1, 1})
            == 0;
    }
    return Messages::ask(m_host.dialogParent(),
                         {tr("写信道数据"), tr("写入将改动对讲机中的以下内容（原有 → 写入）：\n\n%1").arg(WriteReport::changes(diff)),
                          Messages::Icon::Information, {tr("写入"), tr("取消")}, 0, 1})
        == 0;
}

bool RadioLinkController::askWriteAnyway(const QString &why)
{
    const int choice = Messages::ask(m_host.dialogParent(), {WarningTitle, tr("%1\n\n仍要写入吗？").arg(why),
                                                             Messages::Icon::Warning, {tr("写入"), tr("取消")}, 1, 1});
    return choice == 0;
}

void RadioLinkController::cancelWrite()
{
    m_writeStep = WriteStep::None;
    m_host.setStatusText(QString());
    backToIdle();
    logWrite(WriteLogEntry::Outcome::Cancelled);
    if (std::exchange(m_pollHeld, false))
        m_poll.start();
}

void RadioLinkController::sendFrames()
{
    m_writeStep = WriteStep::Sending;
    const QString refused = m_write->start(m_sending, [this] { return holdTableForWrite(); });
    // A started write runs the poll again when it ends; a refused one leaves it to us.
    const bool pollHeld = std::exchange(m_pollHeld, false);
    if (!refused.isEmpty()) {
        m_writeStep = WriteStep::None;
        backToIdle();
        logWrite(WriteLogEntry::Outcome::Failed);
        Messages::show(m_host.dialogParent(), WarningTitle, refused, Messages::Icon::Warning);
        if (pollHeld)
            m_poll.start();
        return;
    }
    m_host.setStatusText(tr("正在传送数据,,,,,,,"));
    showProgress(0, ChannelCount);
}

void RadioLinkController::readChannels()
{
    if (m_host.activity() != CommandHost::Activity::Idle)
        return;
    if (!portReady(ReadCommand))
        return;
    m_host.setActivity(CommandHost::Activity::Reading);
    // The arming tick moves the table; pending edits are stored now, not inside the transfer.
    if (!m_table.submit()) {
        backToIdle();
        Messages::show(m_host.dialogParent(), WarningTitle,
                       tr("信道数据无法存入数据库，没有读信道：\n%1").arg(m_table.lastError()),
                       Messages::Icon::Warning);
        return;
    }
    m_table.moveFirst();
    m_host.cancelStatusClearing();
    m_result->clear();
    m_result->hide();
    showProgress(0, ChannelCount);
    // A read is one step the user can undo: table and squelch level together.
    m_read->start([this](const ChannelSet &set) {
        const QString error = m_host.replaceChannelSet(tr("读信道数据"), set.channels, set.squelch);
        if (error.isEmpty())
            m_table.moveFirst();
        return error;
    });
}

bool RadioLinkController::mayClose()
{
    if (m_askingToClose)
        return false; // the close box again while the question is up
    if (!m_write->isRunning())
        return true; // an unfinished read stores nothing
    m_askingToClose = true;
    // The frames keep going while the question is up.
    const int choice = Messages::ask(
        m_host.dialogParent(), {WarningTitle,
                                tr("正在写信道数据。现在退出，对讲机中只写入了部分信道，信道数据将不完整。\n"
                                               "继续写信道，还是放弃写信道并退出？"),
                                Messages::Icon::Warning, {tr("继续写信道"), tr("放弃并退出")}, 0, 0});
    m_askingToClose = false;
    if (choice != 1)
        return false;
    if (m_write->isRunning()) {
        m_write->abandon();
        m_writeStep = WriteStep::None;
        releaseTable();
        m_poll.stop(); // the window goes: nothing more for the radio
        backToIdle();
        m_host.setStatusText(QString());
        showResult(tr("写入中断"), m_framesDone);
        logWrite(WriteLogEntry::Outcome::Failed);
        Messages::show(m_host.dialogParent(), WarningTitle,
                       tr("写信道已中断，对讲机中的信道数据不完整。\n请在使用对讲机前重新写信道数据。"),
                       Messages::Icon::Warning);
    }
    return true;
}

bool RadioLinkController::portReady(const QString &command)
{
    if (m_link.isOpen())
        return true;
    const QString text = m_reconnect->isLost()
        ? tr("串行端口 %1 已断开，无法%2！\n接好电缆后，程序会自动重新打开这个端口。")
              .arg(portName(m_reconnect->lostPort(), m_reconnect->lostDevice()), command)
        : tr("串行端口没有打开，无法%1！").arg(command);
    Messages::show(m_host.dialogParent(), WarningTitle, text, Messages::Icon::Warning);
    return false;
}

bool RadioLinkController::radioAnsweredOrWriteAnyway()
{
    // The radio never acknowledges a frame: a write to a line where nobody answers would
    // otherwise report success.
    if (m_poll.hasAnswered())
        return true;
    const int choice = Messages::ask(
        m_host.dialogParent(),
        {WarningTitle,
         tr("对讲机没有应答（端口 COM%1）。请检查电缆和对讲机电源。仍要写入吗？").arg(m_link.portNumber()),
         Messages::Icon::Warning, {tr("写入"), tr("取消")}, 1, 1});
    return choice == 0;
}

void RadioLinkController::linkLost(int port, const QString &device)
{
    // A transfer that loses its port reports that itself.
    if (m_host.activity() != CommandHost::Activity::Idle)
        return;
    m_host.cancelStatusClearing();
    m_host.setStatusText(LostStatus);
    Messages::show(m_host.dialogParent(), WarningTitle,
                   tr("串行端口 %1 已断开。\n接好电缆后，程序会自动重新打开这个端口。").arg(portName(port, device)),
                   Messages::Icon::Warning);
}

void RadioLinkController::linkBack()
{
    if (m_host.activity() != CommandHost::Activity::Idle)
        return; // a failed transfer's box is up; its end restarts the poll
    m_host.setStatusText(tr("端口已恢复..."));
    m_poll.start();
}

QString RadioLinkController::holdTableForWrite()
{
    // Edits still pending are stored before anything goes out. Once the pacing runs, nothing may
    // wait on the database: a locked file would stall the frames and the radio would drop the set.
    const auto refusal = [this] {
        return tr("信道数据无法存入数据库，没有写入对讲机：\n%1").arg(m_table.lastError());
    };
    if (!m_table.submit())
        return refusal();
    m_table.moveFirst();
    m_table.setField(ChannelField::No, QStringLiteral("1"));
    if (m_table.hasPendingChanges() && !m_table.submit())
        return refusal();
    m_table.holdStores(true);
    return QString();
}

void RadioLinkController::releaseTable()
{
    m_table.moveFirst();
    m_table.holdStores(false);
}

void RadioLinkController::writeProgress(int frame, int total)
{
    m_framesSent = frame;
    // The table's current record follows the frame on the line.
    m_table.moveNext();
    showProgress(frame, total);
}

void RadioLinkController::showProgress(int frame, int total)
{
    m_framesDone = frame;
    m_progress->setMaximum(total);
    m_progress->setValue(frame);
    m_progress->show();
}

void RadioLinkController::writeFinished()
{
    releaseTable();
    m_host.setStatusText(tr("数据传送完毕..."));
    if (m_options.verifyAfter) {
        // The radio never acknowledges a frame: only reading it back tells what it took.
        m_writeStep = WriteStep::WaitingForRadio;
        m_host.setStatusText(tr("正在读回校验,,,,,,,"));
        showProgress(0, ChannelCount);
        m_readBackWait->start();
        // Asked at once, not a poll interval later: the write's empty last tick gave the radio its time.
        m_poll.pollTick();
        return;
    }
    m_writeStep = WriteStep::None;
    backToIdle();
    showResult(tr("写入完成"), m_framesSent);
    m_host.startStatusClearing();
    logWrite(WriteLogEntry::Outcome::Written);
}

void RadioLinkController::writeFailed(const QString &reason)
{
    m_writeStep = WriteStep::None;
    releaseTable();
    showResult(tr("写入失败：端口出错"), m_framesSent);
    logWrite(WriteLogEntry::Outcome::Failed);
    showFailure(WarningTitle,
                tr("写信道中断，串行端口出错：%1\n对讲机中的信道数据可能不完整，请重新选择端口后再写一次。").arg(reason),
                Messages::Icon::Warning);
}

void RadioLinkController::startReadBack()
{
    if (m_writeStep != WriteStep::WaitingForRadio)
        return;
    m_readBackWait->stop();
    m_writeStep = WriteStep::ReadingBack;
    m_read->start();
    // The radio has just answered (or had its 2 s): the read command goes out now, without the
    // arming tick a read from the menu waits for.
    m_read->armTick();
}

void RadioLinkController::readBackDone()
{
    m_writeStep = WriteStep::None;
    m_radioAfter = m_read->channelSet();
    const ChannelSetDiff::Result diff = ChannelSetDiff::compare(m_sending, *m_radioAfter);
    if (diff.isEmpty()) {
        m_host.setStatusText(tr("数据传送完毕..."));
        backToIdle();
        showResult(tr("写入并校验完成"), m_framesSent);
        m_host.startStatusClearing();
        logWrite(WriteLogEntry::Outcome::Verified);
        return;
    }
    showResult(tr("校验失败 %1").arg(WriteReport::differingParts(diff)), -1);
    logWrite(WriteLogEntry::Outcome::VerifyFailed);
    showFailure(WarningTitle,
                tr("校验失败：对讲机读回的信道与写入的不同（写入 / 读回）：\n\n%1\n\n请检查电缆和对讲机后再写一次。")
                    .arg(WriteReport::differences(diff)),
                Messages::Icon::Warning);
}

void RadioLinkController::readBackFailed(const QString &message)
{
    m_writeStep = WriteStep::None;
    showResult(tr("写入完成，未能校验"), m_framesSent);
    logWrite(WriteLogEntry::Outcome::Written);
    showFailure(WarningTitle, tr("信道数据已写入，但读回校验没有成功，不知道对讲机是否全部收到：\n%1").arg(message),
                Messages::Icon::Warning);
}

void RadioLinkController::readFinished()
{
    switch (m_writeStep) {
    case WriteStep::ReadingBefore:
        radioReadBefore();
        return;
    case WriteStep::ReadingBack:
        readBackDone();
        return;
    default:
        userReadFinished();
    }
}

void RadioLinkController::readFailed(const QString &message)
{
    switch (m_writeStep) {
    case WriteStep::ReadingBefore:
        radioNotReadBefore(message);
        return;
    case WriteStep::ReadingBack:
        readBackFailed(message);
        return;
    default:
        userReadFailed(message);
    }
}

void RadioLinkController::userReadFinished()
{
    m_host.setStatusText(tr("读出信道数据完毕！"));
    m_host.startStatusClearing();
    backToIdle();
    showResult(tr("读出完成"), m_framesDone);
}

void RadioLinkController::userReadFailed(const QString &message)
{
    // Nothing of a failed read is stored, so no count of frames.
    showResult(tr("读出失败"), -1);
    showFailure(ReadErrorTitle, message, Messages::Icon::Warning);
}

void RadioLinkController::logWrite(WriteLogEntry::Outcome outcome)
{
    WriteLogEntry entry;
    entry.program = QStringLiteral("qz300");
    entry.port = QStringLiteral("COM%1").arg(m_link.portNumber());
    entry.device = m_link.devicePath();
    const PortDetails details = PortDetails::of(entry.device);
    if (!details.serialNumber.isEmpty())
        entry.usb = details.summary();
    entry.before = m_radioBefore;
    entry.after = m_radioAfter;
    entry.outcome = outcome;
    const QString warning = WriteLog::append(entry);
    if (!warning.isEmpty())
        Messages::show(m_host.dialogParent(), WarningTitle, warning, Messages::Icon::Warning);
}

void RadioLinkController::showFailure(const QString &title, const QString &text, Messages::Icon icon)
{
    // The menus stay locked while the box is up, as in the rest of the program. The poll waits
    // for the box too: an answer while it is up would be wiped by the emptied line below and
    // leave the poll stopped although the radio is ready.
    m_progress->hide();
    m_poll.stop();
    Messages::show(m_host.dialogParent(), title, text, icon);
    m_host.setStatusText(m_reconnect->isLost() ? LostStatus : QString());
    backToIdle();
    m_poll.start(); // on a lost port it waits quietly for the port to come back
}

void RadioLinkController::showResult(const QString &outcome, int frames)
{
    const QString count = frames >= 0 ? QStringLiteral(" %1/%2").arg(frames).arg(ChannelCount) : QString();
    m_result->setText(QStringLiteral("%1%2  %3").arg(outcome, count, QTime::currentTime().toString(QStringLiteral("hh:mm:ss"))));
    m_result->show();
}

void RadioLinkController::backToIdle()
{
    m_progress->hide();
    m_host.setActivity(CommandHost::Activity::Idle);
}
