#include "radio/radiolinkcontroller.h"

#include "app/mainwindow.h"
#include "app/messagebox.h"
#include "channels/channelgrid.h"
#include "channels/channelrecord.h"
#include "radio/readtransfer.h"
#include "radio/writetransfer.h"

#include <QLabel>
#include <QProgressBar>

namespace {

const QString WarningTitle = QStringLiteral("错误警告");
const QString ReadErrorTitle = QStringLiteral("错误警告 ");

} // namespace

RadioLinkController::RadioLinkController(MainWindow &window)
    : QObject(&window)
    , m_window(window)
{
    setObjectName(QStringLiteral("radioLink"));
    m_write = new WriteTransfer(window.MSComm1(), window.Adodc1(), window.Timer1(), &window.poll(), this);
    m_write->setObjectName(QStringLiteral("writeTransfer"));
    m_read = new ReadTransfer(window.MSComm1(), window.Adodc1(), window.Timer4(), &window.poll(),
                              [&window](const QString &level) { window.setSquelchLevel(level); }, this);
    m_read->setObjectName(QStringLiteral("readTransfer"));

    connect(m_write, &WriteTransfer::progress, this, &RadioLinkController::showProgress);
    connect(m_write, &WriteTransfer::finished, this, &RadioLinkController::writeFinished);
    connect(m_write, &WriteTransfer::failed, this, &RadioLinkController::writeFailed);
    connect(m_read, &ReadTransfer::progress, this, &RadioLinkController::showProgress);
    connect(m_read, &ReadTransfer::finished, this, &RadioLinkController::readFinished);
    connect(m_read, &ReadTransfer::failed, this, &RadioLinkController::readFailed);

    // A thin bar just under the status line, seen only while a transfer runs.
    auto *status = window.findChild<QLabel *>(QStringLiteral("Label2"));
    m_progress = new QProgressBar(status ? status->parentWidget() : window.centralWidget());
    m_progress->setObjectName(QStringLiteral("transferProgress"));
    m_progress->setRange(0, ChannelCount);
    m_progress->setFormat(QStringLiteral("%v/%m"));
    m_progress->setTextVisible(true);
    if (status) {
        const QRect line = status->geometry();
        m_progress->setGeometry(line.x(), line.bottom() + 2, line.width() * 2 / 3, qMax(12, line.height() * 2 / 3));
    }
    m_progress->hide();
}

void RadioLinkController::writeChannels()
{
    if (m_window.activity() != MainWindow::Activity::Idle)
        return;
    // A cell still being typed in belongs to what is sent.
    m_window.DataGrid1()->commitOpenEditor();
    const QString refused = m_write->start(m_window.squelchLevel());
    if (!refused.isEmpty()) {
        Messages::show(&m_window, WarningTitle, refused, Messages::Icon::Warning);
        return;
    }
    m_window.setActivity(MainWindow::Activity::Writing);
    m_window.setStatusText(QStringLiteral("正在传送数据,,,,,,,"));
    showProgress(0, ChannelCount);
}

void RadioLinkController::readChannels()
{
    if (m_window.activity() != MainWindow::Activity::Idle)
        return;
    m_window.setActivity(MainWindow::Activity::Reading);
    showProgress(0, ChannelCount);
    m_read->start();
}

void RadioLinkController::showProgress(int frame, int total)
{
    m_progress->setMaximum(total);
    m_progress->setValue(frame);
    m_progress->show();
}

void RadioLinkController::writeFinished()
{
    m_window.setStatusText(QStringLiteral("数据传送完毕..."));
    backToIdle();
    m_window.startStatusClearing();
}

void RadioLinkController::writeFailed(const QString &reason)
{
    m_progress->hide();
    Messages::show(&m_window, WarningTitle,
                   QStringLiteral("写信道中断，串行端口出错：%1\n对讲机中的信道数据可能不完整，请重新选择端口后再写一次。").arg(reason),
                   Messages::Icon::Warning);
    m_window.setStatusText(QString());
    backToIdle();
}

void RadioLinkController::readFinished()
{
    m_window.setStatusText(QStringLiteral("读出信道数据完毕！"));
    m_window.startStatusClearing();
    backToIdle();
}

void RadioLinkController::readFailed(const QString &message)
{
    // The menus stay locked while the box is up, as in the rest of the program.
    m_progress->hide();
    Messages::show(&m_window, ReadErrorTitle, message, Messages::Icon::Information);
    m_window.setStatusText(QString());
    backToIdle();
}

void RadioLinkController::backToIdle()
{
    m_progress->hide();
    m_window.setActivity(MainWindow::Activity::Idle);
}
