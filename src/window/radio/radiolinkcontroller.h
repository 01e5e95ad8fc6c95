// The window's side of the two transfers and of the link: locks the window while a transfer
// runs, shows its progress beside the status line, tells the user how it ended, and tells when the
// port is lost and back. A write reads the radio first (a backup and the changes to confirm),
// sends the table's set, reads it back to check it, and leaves a line in the write log.
#pragma once

#include "core/channels/channelset.h"
#include "core/files/writelog.h"
#include "core/radio/writeoptions.h"
#include "window/ui/elidedlabel.h"
#include "window/ui/messagebox.h"

#include <QObject>

#include <optional>

class ChannelTable;
class CommandHost;
class PortReconnector;
class QProgressBar;
class QTimer;
class ReadTransfer;
class ReadinessPoll;
class SerialLink;
class WriteTransfer;

class RadioLinkController : public QObject
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
    ReadTransfer &readTransfer() { return *m_read; }
    PortReconnector &reconnector() { return *m_reconnect; }
    QProgressBar *progressBar() const { return m_progress; }
    /// How the last transfer ended, shown until the next one starts.
    QLabel *resultLabel() const { return m_result; }

private:
    /// Where the window's write stands; the read transfer serves the user's read, the backup
    /// read before a write and the read-back after it.
    enum class WriteStep { None, ReadingBefore, Sending, WaitingForRadio, ReadingBack };

    void radioReadBefore();
    void radioNotReadBefore(const QString &message);
    bool confirmChanges();
    bool askWriteAnyway(const QString &why);
    void cancelWrite();
    void sendFrames();
    void startReadBack();
    void readBackDone();
    void readBackFailed(const QString &message);
    void logWrite(WriteLogEntry::Outcome outcome);
    void userReadFinished();
    void userReadFailed(const QString &message);
    QString holdTableForWrite();
    void releaseTable();
    void writeProgress(int frame, int total);
    void showProgress(int frame, int total);
    void writeFinished();
    void writeFailed(const QString &reason);
    void readFinished();
    void readFailed(const QString &message);
    void showFailure(const QString &title, const QString &text, Messages::Icon icon);
    void backToIdle();
    /// The outcome beside the bar, with "n/16" unless `frames` is negative, and the time.
    void showResult(const QString &outcome, int frames);
    bool portReady(const QString &command);
    bool radioAnsweredOrWriteAnyway();
    bool storeEdits(const QString &command);
    void linkLost(int port, const QString &device);
    void linkBack();

    CommandHost &m_host;
    SerialLink &m_link;
    ReadinessPoll &m_poll;
    ChannelTable &m_table;
    PortReconnector *m_reconnect = nullptr;
    WriteTransfer *m_write = nullptr;
    ReadTransfer *m_read = nullptr;
    QProgressBar *m_progress = nullptr;
    ElidedLabel *m_result = nullptr;
    int m_framesDone = 0;
    int m_framesSent = 0;
    WriteStep m_writeStep = WriteStep::None;
    WriteOptions m_options;
    ChannelSet m_sending;
    std::optional<ChannelSet> m_radioBefore;
    std::optional<ChannelSet> m_radioAfter;
    QTimer *m_readBackWait = nullptr; ///< how long the radio may take to answer again after a write
    bool m_pollHeld = false; ///< stopped between the read before a write and the write
    bool m_askingToClose = false;
};
