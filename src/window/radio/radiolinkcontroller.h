// The window's side of the two transfers and of the link: locks the window while a transfer
// runs, shows its progress beside the status line, tells the user how it ended, and tells when the
// port is lost and back. A write is a write session (the core's): this class answers its
// questions with boxes, keeps the table still while the frames go out and tells the outcome.
#pragma once

#include "core/files/writelog.h"
#include "core/radio/writesession.h"
#include "window/ui/elidedlabel.h"
#include "window/ui/messagebox.h"

#include <QObject>

class ChannelTable;
class CommandHost;
class PortReconnector;
class QTimer;
class ReadTransfer;
class ReadinessPoll;
class SerialLink;
class TransferProgressBar;
class WriteTransfer;

class RadioLinkController : public QObject, private WriteSession::Answers
{
    Q_OBJECT

public:
    /// The transfers run on `link` and pause `poll`; the write is paced by `writePacingTimer`, the
    /// read armed by `readArmTimer`.
    RadioLinkController(CommandHost &host, SerialLink &link, ReadinessPoll &poll, ChannelTable &table,
                        QTimer &writePacingTimer, QTimer &readArmTimer, QObject *parent = nullptr);

    /// The command 写信道.
    void writeChannels();
    /// The command 读信道.
    void readChannels();

    /// Whether the window may close now; during a write the user is asked first, and a write
    /// given up is stopped and reported.
    bool mayClose();

    WriteTransfer &writeTransfer() { return *m_write; }
    WriteSession &writeSession() { return *m_session; }
    ReadTransfer &readTransfer() { return *m_read; }
    PortReconnector &reconnector() { return *m_reconnect; }
    TransferProgressBar *progressBar() const { return m_progress; }
    /// How the last transfer ended, shown until the next one starts.
    QLabel *resultLabel() const { return m_result; }

private:
    // The write session's questions.
    bool writeWithoutAnswer() override;
    bool writeWithoutOldSet(const QString &why) override;
    bool writeWithoutBackup(const QString &why) override;
    QString keepBackup(const RadioSet &old) override;
    bool confirmChanges(const ChannelSetDiff::Result &changes) override;
    QString beforeSending() override;

    bool askWriteAnyway(const QString &why);
    void writeStepChanged(WriteSession::Step step);
    void writeProgress(int frame, int total);
    void writeEnded();
    void tellWriteEnd();
    WriteLogEntry logTemplate() const;
    void userReadFinished();
    void userReadFailed(const QString &message);
    void releaseTable();
    void showProgress(int frame, int total);
    void showFailure(const QString &title, const QString &text, Messages::Icon icon);
    void backToIdle();
    /// The outcome beside the bar, with "n/16" unless `frames` is negative, and the time.
    void showResult(const QString &outcome, int frames);
    bool portReady(const QString &command);
    void linkLost(int port, const QString &device);
    void linkBack();

    CommandHost &m_host;
    SerialLink &m_link;
    ReadinessPoll &m_poll;
    ChannelTable &m_table;
    PortReconnector *m_reconnect = nullptr;
    WriteTransfer *m_write = nullptr;
    ReadTransfer *m_read = nullptr;
    TransferProgressBar *m_progress = nullptr;
    ElidedLabel *m_result = nullptr;
    WriteSession *m_session = nullptr;
    int m_framesDone = 0;
    bool m_userReading = false;
    bool m_tableHeld = false;
    bool m_closing = false; ///< the window goes: a write's end is told only as far as it must be
    bool m_askingToClose = false;
};
