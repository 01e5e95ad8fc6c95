// The operating-instructions window 操作说明: the instruction text, below it what the program adds,
// and a button to close it.
#pragma once

#include <QDialog>

class BlankWrapLabel;
class QLabel;
class QPushButton;

class InstructionsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit InstructionsWindow(QWidget *parent = nullptr);

    BlankWrapLabel *textLabel() const { return m_description; }
    /// The second section: the program's own additions, after the instruction text.
    QLabel *guideLabel() const { return m_guide; }
    QPushButton *okButton() const { return m_ok; }

private:
    void onOkClicked();

    BlankWrapLabel *m_description = nullptr;
    QLabel *m_guide = nullptr;
    QPushButton *m_ok = nullptr;
};
