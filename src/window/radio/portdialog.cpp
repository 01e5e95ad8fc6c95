#include "window/radio/portdialog.h"

#include "window/ui/designnames.h"
#include "window/ui/messagebox.h"
#include "window/ui/twips.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

void setTextColour(QWidget *widget, const QColor &colour)
{
    // A port that does not open keeps the style's grey.
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, colour);
        palette.setColor(group, QPalette::ButtonText, colour);
    }
    widget->setPalette(palette);
}

// Client area and places in twips.
constexpr int ClientWidth = 4800;
constexpr int ClientHeight = 3480;

} // namespace

PortDialog::PortDialog(SerialLink &port, ReadinessPoll &poll, std::function<bool()> linkBusy, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_selection(port, poll, std::move(linkBusy))
{
    setObjectName(DesignNames::PortChoice::window());
    setWindowTitle(tr("选择端口"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    buildControls();
    loadPortStates();
}

void PortDialog::buildControls()
{
    m_label = new QLabel(tr("请选择串行口:"), this);
    m_label->setObjectName(DesignNames::PortChoice::prompt());
    setTextColour(m_label, Qt::blue);
    Twips::place(m_label, 480, 240, 3840, 375);

    m_ok = new QPushButton(tr("确定"), this);
    m_ok->setObjectName(DesignNames::PortChoice::okButton());
    m_ok->setDefault(true);
    Twips::place(m_ok, 600, 2880, 1335, 375);
    m_cancel = new QPushButton(tr("取消"), this);
    m_cancel->setObjectName(DesignNames::PortChoice::cancelButton());
    Twips::place(m_cancel, 2760, 2880, 1335, 375);

    QWidget *previous = m_cancel;
    setTabOrder(m_ok, m_cancel);
    for (int n = PortTable::FirstPort; n <= PortTable::LastPort; ++n) {
        auto *option = new QRadioButton(QStringLiteral(" COM%1").arg(n), this);
        option->setObjectName(DesignNames::PortChoice::portOption(n));
        setTextColour(option, Qt::red);
        const int row = (n - 1) / 2;
        const int column = (n - 1) % 2;
        Twips::place(option, 720 + column * 2160, 720 + row * 480, 1560, 375);
        setTabOrder(previous, option);
        previous = option;
        m_options[n - 1] = option;
    }

    connect(m_ok, &QPushButton::clicked, this, &PortDialog::onOkClicked);
    connect(m_cancel, &QPushButton::clicked, this, &PortDialog::onCancelClicked);
    setFixedSize(Twips::size(this, ClientWidth, ClientHeight));
}

void PortDialog::loadPortStates()
{
    m_selection.load();
    for (const PortSelection::Option &state : m_selection.options()) {
        QRadioButton *button = option(state.port);
        button->setEnabled(state.enabled);
        button->setChecked(state.selected);
        button->setToolTip(state.toolTip());
    }
    m_ok->setFocus();
}

void PortDialog::setLinkBusy(bool busy)
{
    m_ok->setEnabled(!busy);
}

int PortDialog::checkedPort() const
{
    for (int n = PortTable::FirstPort; n <= PortTable::LastPort; ++n) {
        if (option(n)->isChecked())
            return n;
    }
    return 0;
}

void PortDialog::onOkClicked()
{
    const int chosen = checkedPort();
    const PortSelection::Outcome outcome = m_selection.accept(chosen);
    if (outcome == PortSelection::Outcome::Busy)
        return;
    if (outcome == PortSelection::Outcome::Failed) {
        // An exclusive option cannot be unchecked directly.
        QRadioButton *button = option(chosen);
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
        const QString remedy = m_selection.failureRemedy();
        Messages::show(this, tr("系统信息'"),
                       tr("选用的串行端口 无效！ ") + (remedy.isEmpty() ? QString() : QString(u'\n' + remedy)), Messages::Icon::Critical);
    }
    m_closing = true;
    QDialog::accept();
}

void PortDialog::onCancelClicked()
{
    m_selection.cancel();
    m_closing = true;
    QDialog::reject();
}

void PortDialog::accept()
{
    onOkClicked();
}

void PortDialog::reject()
{
    // Esc and the close box end up here as well; both mean "no change".
    if (m_closing)
        QDialog::reject();
    else
        onCancelClicked();
}
