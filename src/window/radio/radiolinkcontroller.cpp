#include "window/radio/radiolinkcontroller.h"

#include "window/radio/transferline.h"
#include "window/radio/transferprogressbar.h"

#include "core/channels/channelrecord.h"
#include "core/channels/channelset.h"
#include "core/channels/channelsetdiff.h"
#include "core/channels/channeltable.h"
#include "core/channels/channeltext.h"
#include "core/files/backupstore.h"
#include "core/radio/readinesspoll.h"
#include "core/radio/readtransfer.h"
#include "core/radio/writeoptions.h"
#include "core/radio/writereport.h"
#include "core/radio/writetransfer.h"
#include "core/serial/portdetails.h"
#include "core/serial/portreconnector.h"
#include "core/serial/seriallink.h"
#include "window/ui/commandhost.h"
#include "window/ui/messagebox.h"
#include "window/ui/translatedtext.h"

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
    m_session = new WriteSession(poll, *m_read, *m_write, *this, this);
    m_session->setObjectName(QStringLiteral("writeSession"));
    connect(m_session, &WriteSession::stepChanged, this, &RadioLinkController::writeStepChanged);
    connect(m_session, &WriteSession::progress, this, &RadioLinkController::writeProgress);
    connect(m_session, &WriteSession::finished, this, &RadioLinkController::writeEnded);
    // The user's own reads; during a write the session takes the read transfer's signals.
    connect(m_read, &ReadTransfer::progress, this, [this](int frame, int total) {
        if (m_userReading)
            showProgress(frame, total);
    });
    connect(m_read, &ReadTransfer::finished, this, [this] {
        if (std::exchange(m_userReading, false))
            userReadFinished();
    });
    connect(m_read, &ReadTransfer::failed, this, [this](const QString &message) {
        if (std::exchange(m_userReading, false))
            userReadFailed(message);
    });

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
    const ChannelText::Conversion sending = ChannelText::toRadio({m_host.squelchLevel(), m_table.channels()});
    if (!sending.ok()) {
        Messages::show(m_host.dialogParent(), WarningTitle, sending.refusal->message(), Messages::Icon::Warning);
        return;
    }
    const WriteOptions options = WriteOptions::load();
    WriteSession::Plan plan;
    plan.set = sending.set;
    plan.backup = options.backupFirst;
    plan.showChanges = options.showChanges;
    plan.verify = options.verifyAfter;
    plan.log = logTemplate();
    m_closing = false; // a close that was called off again
    m_host.setActivity(CommandHost::Activity::Writing);
    m_host.cancelStatusClearing();
    m_result->clear();
    m_result->hide();
    m_session->start(plan);
}

void RadioLinkController::writeStepChanged(WriteSession::Step step)
{
    switch (step) {
    case WriteSession::Step::ReadingBefore:
        m_host.setStatusText(tr("正在读出对讲机中原有的信道,,,,,,,"));
        showProgress(0, ChannelCount);
        return;
    case WriteSession::Step::Sending:
        m_host.setStatusText(tr("正在传送数据,,,,,,,"));
        showProgress(0, ChannelCount);
        return;
    case WriteSession::Step::AwaitingRadioAfter:
        releaseTable();
        m_host.setStatusText(tr("正在读回校验,,,,,,,"));
        showProgress(0, ChannelCount);
        return;
    default:
        return;
    }
}

void RadioLinkController::writeProgress(int frame, int total)
{
    // The table's current record follows the frame on the line.
    if (m_session->step() == WriteSession::Step::Sending)
        m_table.moveNext();
    showProgress(frame, total);
}

bool RadioLinkController::writeWithoutAnswer()
{
    const int choice = Messages::ask(
        m_host.dialogParent(),
        {WarningTitle,
         tr("对讲机没有应答（端口 COM%1）。请检查电缆和对讲机电源。仍要写入吗？").arg(m_link.portNumber()),
         Messages::Icon::Warning, {tr("写入"), tr("取消")}, 1, 1});
    return choice == 0;
}

bool RadioLinkController::writeWithoutOldSet(const QString &why)
{
    return askWriteAnyway(m_session->plan().backup ? tr("写入前没有读到对讲机中原有的信道，无法备份：\n%1").arg(why)
                                                   : tr("写入前没有读到对讲机中原有的信道，无法显示改动：\n%1").arg(why));
}

bool RadioLinkController::writeWithoutBackup(const QString &why)
{
    return askWriteAnyway(tr("对讲机中原有的信道无法备份：\n%1").arg(why));
}

QString RadioLinkController::keepBackup(const RadioSet &old)
{
    return BackupStore::save(ChannelText::fromRadio(old), QStringLiteral("COM%1").arg(m_link.portNumber())).error;
}

bool RadioLinkController::confirmChanges(const ChannelSetDiff::Result &changes)
{
    m_progress->hide();
    if (changes.isEmpty()) {
        return Messages::ask(m_host.dialogParent(),
                             {tr("写信道数据"), tr("对讲机中的信道与要写入的相同，写入不会改动什么。"),
                              Messages::Icon::Information, {tr("仍然写入"), tr("取消")}, 1, 1})
            == 0;
    }
    return Messages::ask(m_host.dialogParent(),
                         {tr("写信道数据"), tr("写入将改动对讲机中的以下内容（原有 → 写入）：\n\n%1").arg(WriteReport::changes(changes)),
                          Messages::Icon::Information, {tr("写入"), tr("取消")}, 0, 1})
        == 0;
}

bool RadioLinkController::askWriteAnyway(const QString &why)
{
    m_progress->hide();
    const int choice = Messages::ask(m_host.dialogParent(), {WarningTitle, tr("%1\n\n仍要写入吗？").arg(why),
                                                             Messages::Icon::Warning, {tr("写入"), tr("取消")}, 1, 1});
    return choice == 0;
}

QString RadioLinkController::beforeSending()
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
    m_tableHeld = true;
    return QString();
}

void RadioLinkController::releaseTable()
{
    if (!std::exchange(m_tableHeld, false))
        return;
    m_table.moveFirst();
    m_table.holdStores(false);
}

void RadioLinkController::writeEnded()
{
    releaseTable();
    tellWriteEnd();
    if (const QString warning = m_session->logWarning(); !warning.isEmpty() && !m_closing)
        Messages::show(m_host.dialogParent(), WarningTitle, warning, Messages::Icon::Warning);
}

void RadioLinkController::tellWriteEnd()
{
    const WriteSession &session = *m_session;
    switch (session.outcome()) {
    case WriteSession::Outcome::Verified:
        m_host.setStatusText(tr("数据传送完毕..."));
        backToIdle();
        showResult(tr("写入并校验完成"), session.framesSent());
        m_host.startStatusClearing();
        return;
    case WriteSession::Outcome::VerifyFailed:
        showResult(tr("校验失败 %1").arg(WriteReport::differingParts(session.differences())), -1);
        showFailure(WarningTitle,
                    tr("校验失败：对讲机读回的信道与写入的不同（写入 / 读回）：\n\n%1\n\n请检查电缆和对讲机后再写一次。")
                        .arg(WriteReport::differences(session.differences())),
                    Messages::Icon::Warning);
        return;
    case WriteSession::Outcome::Written:
        if (session.plan().verify) {
            showResult(tr("写入完成，未能校验"), session.framesSent());
            if (m_closing) {
                backToIdle();
                return;
            }
            showFailure(WarningTitle, tr("信道数据已写入，但读回校验没有成功，不知道对讲机是否全部收到：\n%1").arg(session.problem()),
                        Messages::Icon::Warning);
            return;
        }
        m_host.setStatusText(tr("数据传送完毕..."));
        backToIdle();
        showResult(tr("写入完成"), session.framesSent());
        m_host.startStatusClearing();
        return;
    case WriteSession::Outcome::Interrupted:
        backToIdle();
        m_host.setStatusText(QString());
        showResult(tr("写入中断"), session.framesSent());
        Messages::show(m_host.dialogParent(), WarningTitle,
                       tr("写信道已中断，对讲机中的信道数据不完整。\n请在使用对讲机前重新写信道数据。"),
                       Messages::Icon::Warning);
        return;
    case WriteSession::Outcome::Failed:
        if (session.stop() == WriteSession::Stop::Refused) {
            backToIdle();
            Messages::show(m_host.dialogParent(), WarningTitle, session.problem(), Messages::Icon::Warning);
            return;
        }
        showResult(tr("写入失败：端口出错"), session.framesSent());
        showFailure(WarningTitle,
                    tr("写信道中断，串行端口出错：%1\n对讲机中的信道数据可能不完整，请重新选择端口后再写一次。").arg(session.problem()),
                    Messages::Icon::Warning);
        return;
    case WriteSession::Outcome::Cancelled:
    case WriteSession::Outcome::Previewed:
    case WriteSession::Outcome::None:
        m_host.setStatusText(QString());
        backToIdle();
        return;
    }
}

WriteLogEntry RadioLinkController::logTemplate() const
{
    WriteLogEntry entry;
    entry.program = QStringLiteral("qz300");
    entry.port = QStringLiteral("COM%1").arg(m_link.portNumber());
    entry.device = m_link.devicePath();
    const PortDetails details = PortDetails::of(entry.device);
    if (!details.serialNumber.isEmpty())
        entry.usb = details.summary();
    return entry;
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
    m_userReading = true;
    // A read is one step the user can undo: table and squelch level together.
    // The store waits for the disk on a thread of its own, so that the window never stalls.
    m_read->start([this](const RadioSet &radio, ReadTransfer::StoreDone done) {
        const ChannelSet set = ChannelText::fromRadio(radio);
        m_host.replaceChannelSetInBackground(tr("读信道数据"), set.channels, set.squelch, [this, done = std::move(done)](const QString &error) {
            if (error.isEmpty())
                m_table.moveFirst();
            done(error);
        });
    });
}

bool RadioLinkController::mayClose()
{
    if (m_askingToClose)
        return false; // the close box again while the question is up
    if (!m_session->isRunning())
        return true; // an unfinished read stores nothing; a store under way ends before the table goes
    if (m_session->step() == WriteSession::Step::Sending) {
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
    }
    // Before the frames nothing was sent (cancelled); after them the radio has the set, only its
    // read-back is given up (written): either way the write log gets its line now.
    m_closing = true;
    m_poll.stop(); // the window goes: nothing more for the radio
    m_session->interrupt();
    m_poll.stop();
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



void RadioLinkController::showProgress(int frame, int total)
{
    m_framesDone = frame;
    m_progress->showStep(frame, total);
    m_progress->show();
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
