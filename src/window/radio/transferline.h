// The line under the status line: a transfer's progress bar while it runs, then how it ended.
// It spans the status line's width and follows it when the window is resized.
#pragma once

#include <QWidget>

class ElidedLabel;
class TransferProgressBar;

class TransferLine : public QObject
{
    Q_OBJECT

public:
    /// Places the bar and the result under `statusLine`, in the same parent.
    explicit TransferLine(QWidget *statusLine);

    TransferProgressBar *progressBar() const { return m_progress; }
    ElidedLabel *resultLabel() const { return m_result; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QWidget *m_statusLine = nullptr;
    TransferProgressBar *m_progress = nullptr;
    ElidedLabel *m_result = nullptr;
};
