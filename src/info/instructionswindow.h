// The operating-instructions window 操作说明: the instruction text and a button to close it.
#pragma once

#include <QDialog>

class BlankWrapLabel;
class QPushButton;

class InstructionsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit InstructionsWindow(QWidget *parent = nullptr);

    BlankWrapLabel *textLabel() const { return m_description; }
    QPushButton *okButton() const { return m_ok; }

private:
    void onOkClicked();

    BlankWrapLabel *m_description = nullptr;
    QPushButton *m_ok = nullptr;
};
