// The port selection dialog 选择端口: shows which of COM1 to COM8 open and moves the radio link.
#pragma once

#include "core/radio/portselection.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QRadioButton;

class PortDialog : public QDialog
{
    Q_OBJECT

public:
    /// Runs the availability test at once; the dialog deletes itself when closed.
    PortDialog(SerialLink &port, ReadinessPoll &poll, std::function<bool()> linkBusy, QWidget *parent = nullptr);

    const PortSelection &selection() const { return m_selection; }
    QRadioButton *option(int port) const { return m_options.at(port - 1); }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    /// While a transfer holds the link OK is not offered; Cancel then leaves the link alone.
    void setLinkBusy(bool busy);

    void accept() override;
    void reject() override;

private:
    void buildControls();
    void loadPortStates();
    void onOkClicked();
    void onCancelClicked();
    int checkedPort() const;

    PortSelection m_selection;
    QLabel *m_label = nullptr;
    std::array<QRadioButton *, PortTable::LastPort> m_options{};
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_closing = false;
};
