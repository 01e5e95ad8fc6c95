// The About box 关于本软件: title, version, description, support line, and the button that
// starts the system-information program.
#pragma once

#include "core/info/systeminfoprogram.h"

#include <QDialog>

class QLabel;
class QPushButton;

class AboutBox : public QDialog
{
    Q_OBJECT

public:
    /// The phone number of technical support.
    static QString supportPhone() { return QStringLiteral("028-8888 6666"); }

    explicit AboutBox(QWidget *parent = nullptr);

    /// Replaces how the system-information program is found and started.
    void setSystemInfoProgram(SystemInfoProgram program) { m_systemInfo = std::move(program); }

    /// Starts the system-information program, or tells the user it is not available.
    void startSystemInfo();

    QPushButton *okButton() const { return m_ok; }
    QPushButton *systemInfoButton() const { return m_sysInfo; }

private:
    void buildControls();
    void onOkClicked();
    void onSystemInfoClicked();

    SystemInfoProgram m_systemInfo;
    QPushButton *m_ok = nullptr;
    QPushButton *m_sysInfo = nullptr;
};
