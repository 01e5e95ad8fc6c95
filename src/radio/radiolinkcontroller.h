// The main window's side of the two transfers: locks the window while one runs, shows its progress
// beside the status line and tells the user how it ended.
#pragma once

#include <QObject>

class MainWindow;
class QProgressBar;
class ReadTransfer;
class WriteTransfer;

class RadioLinkController : public QObject
{
    Q_OBJECT

public:
    explicit RadioLinkController(MainWindow &window);

    /// The command 写信道.
    void writeChannels();
    /// The command 读信道.
    void readChannels();

    WriteTransfer &writeTransfer() { return *m_write; }
    ReadTransfer &readTransfer() { return *m_read; }
    QProgressBar *progressBar() const { return m_progress; }

private:
    void showProgress(int frame, int total);
    void writeFinished();
    void writeFailed(const QString &reason);
    void readFinished();
    void readFailed(const QString &message);
    void backToIdle();

    MainWindow &m_window;
    WriteTransfer *m_write = nullptr;
    ReadTransfer *m_read = nullptr;
    QProgressBar *m_progress = nullptr;
};
