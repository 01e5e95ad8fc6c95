#include "window/radio/connectioncheckdialog.h"

#include "core/files/outputtarget.h"
#include "core/radio/checkreport.h"
#include "core/radio/checkwording.h"
#include "core/radio/readinesspoll.h"
#include "core/serial/linetrace.h"
#include "core/serial/seriallink.h"
#include "window/files/filedialogs.h"
#include "window/ui/messagebox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr auto Language = PortAccess::Language::Chinese; // the window's: the catalogue turns it

} // namespace

ConnectionCheckDialog::ConnectionCheckDialog(SerialLink &link, ReadinessPoll &poll, std::shared_ptr<const LineTrace> transferTrace,
                                             std::function<bool()> linkBusy, QWidget *parent)
    : QDialog(parent)
    , m_link(link)
    , m_poll(poll)
    , m_transferTrace(std::move(transferTrace))
    , m_linkBusy(std::move(linkBusy))
    , m_check(new ConnectionCheck(this))
{
    setObjectName(QStringLiteral("connectionCheckDialog"));
    setWindowTitle(tr("连接检查"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("checkSteps"));
    m_list->setWordWrap(true);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("checkSummary"));
    m_summary->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    m_again = buttons->addButton(tr("重新检查(&R)"), QDialogButtonBox::ActionRole);
    m_again->setObjectName(QStringLiteral("checkAgainButton"));
    m_save = buttons->addButton(tr("保存报告…(&S)"), QDialogButtonBox::ActionRole);
    m_save->setObjectName(QStringLiteral("saveReportButton"));
    QPushButton *close = buttons->addButton(tr("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(640, 420);

    connect(m_again, &QPushButton::clicked, this, &ConnectionCheckDialog::startCheck);
    connect(m_save, &QPushButton::clicked, this, &ConnectionCheckDialog::saveReport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_check, &ConnectionCheck::portStarted, this, &ConnectionCheckDialog::portStarted);
    connect(m_check, &ConnectionCheck::stepDone, this, &ConnectionCheckDialog::stepDone);
    connect(m_check, &ConnectionCheck::finished, this, &ConnectionCheckDialog::checkFinished);
}

ConnectionCheckDialog::~ConnectionCheckDialog()
{
    // A check cut short closes its port with it; the window gets its own back.
    delete m_check;
    m_check = nullptr;
    giveLinkBack(false);
}

void ConnectionCheckDialog::done(int result)
{
    if (isChecking()) {
        delete m_check;
        m_check = nullptr;
    }
    giveLinkBack(true);
    QDialog::done(result);
}

bool ConnectionCheckDialog::isChecking() const
{
    return m_check && m_check->isRunning();
}

void ConnectionCheckDialog::startCheck()
{
    if (!m_check || isChecking())
        return;
    if (m_linkBusy && m_linkBusy()) {
        m_summary->setText(tr("正在传输，传输结束后才能检查。"));
        return;
    }
    m_list->clear();
    m_again->setEnabled(false);
    m_save->setEnabled(false);
    m_summary->setText(tr("正在检查…"));
    const int port = m_link.portNumber();
    if (m_link.isOpen() && port > 0) {
        // The port in use: the check opens it itself, as the command line would.
        m_targets = {ConnectionCheck::Target{QStringLiteral("COM%1").arg(port), m_link.devicePath()}};
        m_lentPort = port;
        m_holdingLink = true;
        emit linkHeld(true);
        m_poll.stop();
        m_link.close();
    } else {
        m_targets = ConnectionCheck::targetsOf(m_link.ports());
    }
    m_check->trace()->restart();
    m_check->start(m_targets);
}

void ConnectionCheckDialog::portStarted(int index)
{
    const ConnectionCheck::Target &target = m_targets.at(index);
    auto *item = new QListWidgetItem(QStringLiteral("%1  %2").arg(target.name, target.devicePath), m_list);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
}

void ConnectionCheckDialog::stepDone(int, const CheckStep &step)
{
    const QString mark = step.verdict == CheckStep::Verdict::Passed ? QStringLiteral("✓")
        : step.verdict == CheckStep::Verdict::Problem               ? QStringLiteral("✗")
                                                                    : QStringLiteral("–");
    QString text = QStringLiteral("%1 %2").arg(mark, CheckWording::line(step, Language));
    const QString remedy = CheckWording::remedy(step, Language);
    if (!remedy.isEmpty())
        text += u'\n' + tr("处理：%1").arg(remedy);
    auto *item = new QListWidgetItem(text, m_list);
    if (step.verdict == CheckStep::Verdict::Problem)
        item->setForeground(Qt::red);
    else if (step.verdict == CheckStep::Verdict::NotRun)
        item->setForeground(Qt::gray);
    m_list->scrollToItem(item);
}

void ConnectionCheckDialog::checkFinished()
{
    giveLinkBack(true);
    m_summary->setText(CheckWording::summary(m_check->results(), Language));
    m_again->setEnabled(true);
    m_save->setEnabled(true);
}

void ConnectionCheckDialog::giveLinkBack(bool tell)
{
    if (!m_holdingLink)
        return;
    m_holdingLink = false;
    m_link.setPortNumber(m_lentPort);
    // As after a transfer: the poll asks the radio again. A port that does not open again is as
    // a lost one: the port dialog picks another.
    m_link.open();
    m_poll.start();
    if (tell)
        emit linkHeld(false);
}

QString ConnectionCheckDialog::reportText() const
{
    CheckReport::Content content = CheckReport::ofThisSystem(m_link.ports(), m_check ? m_check->results() : QList<PortCheck>());
    if (m_check && !m_check->trace()->isEmpty())
        content.checkTrace = m_check->trace()->text();
    if (m_transferTrace && !m_transferTrace->isEmpty())
        content.transferTrace = m_transferTrace->text();
    return CheckReport::text(content, Language);
}

void ConnectionCheckDialog::saveReport()
{
    FileDialogs::Request request;
    request.mode = FileDialogs::Mode::Save;
    request.filter = tr("文本文件 (*.txt)");
    request.initialName = QStringLiteral("qz300-check.txt");
    request.suffixFromFilter = true;
    const FileDialogs::Answer answer = FileDialogs::ask(this, request);
    if (answer.fileName.isEmpty())
        return;
    const QString problem = OutputTarget::write(answer.fileName, reportText().toUtf8());
    if (!problem.isEmpty())
        Messages::show(this, tr("错误警告"), tr("报告无法保存：%1").arg(problem), Messages::Icon::Critical);
}
