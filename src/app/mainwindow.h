// The main window 启动窗体: menu bar, channel grid, squelch and beat boxes, status line, the radio
// link and the timers that drive the radio work.
#pragma once

#include "core/serial/porttable.h"
#include "print/channellistpage.h"
#include "window/ui/commandhost.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <memory>

struct ChannelRecord;
class ChannelFileCommands;
class PrintCommands;
class AboutBox;
class ChannelGrid;
class ChannelTable;
class ConnectionCheckDialog;
class LineTrace;
class EditHistory;
class GridEditCommands;
class InstructionsWindow;
class PortDialog;
class QAction;
class QComboBox;
class ElidedLabel;
class QMenu;
class RadioLinkController;
class ReadinessPoll;
class SerialLink;

class MainWindow : public QMainWindow, public CommandHost
{
    Q_OBJECT

public:
    MainWindow(std::unique_ptr<ChannelTable> table, PortTable ports, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// How start-up finds the radio link.
    enum class LinkStart {
        ProbePorts, ///< the first port that opens; with none the user picks offline editing or the end
        Offline,    ///< no port: editing only until a port is chosen through 选择端口
    };

    /// Start-up: shows the window, moves to the first channel and opens the first serial port
    /// that opens. When none did, the user chooses offline editing or the end; returns false for
    /// the end (the window is closed then). Offline, no port is opened and start-up always succeeds.
    bool startUp(LinkStart start = LinkStart::ProbePorts);

    /// No port has been chosen since an offline start: reading and writing are not offered.
    bool isOffline() const { return m_offline; }

    SerialLink &serialLink() { return *m_port; }
    ChannelTable &channelTable() { return *m_table; }
    ReadinessPoll &poll() { return *m_poll; }
    ChannelGrid *channelGrid() const { return m_grid; }
    QComboBox *squelchBox() const { return m_squelchBox; }
    QComboBox *shiftBox() const { return m_shiftBox; }
    QTimer &writePacingTimer() { return m_writePacingTimer; }
    QTimer &statusClearTimer() { return m_statusClearTimer; }
    QTimer &readArmTimer() { return m_readArmTimer; }
    ChannelFileCommands &fileCommands() { return *m_files; }

    QWidget *dialogParent() override { return this; }

    QWidget *statusLabel() const override;
    QString statusText() const override;
    void setStatusText(const QString &text) override;

    /// Empties the status line on the 11th tick of the status-clearing timer from now.
    void startStatusClearing() override;
    void cancelStatusClearing() override;
    /// One tick of the status-line clearing.
    void statusClearTick();

    Activity activity() const override { return m_activity; }
    void setActivity(Activity activity) override;

    QString squelchLevel() const override;
    void setSquelchLevel(const QString &text) override;

    QString replaceChannelSet(const QString &stepName, const QList<ChannelRecord> &channels, const QString &squelch) override;
    void replaceChannelSetInBackground(const QString &stepName, const QList<ChannelRecord> &channels, const QString &squelch,
                                       std::function<void(const QString &error)> done) override;

    /// The check's refusal (out of range, or a shift neither on nor off) has been shown.
    bool commitOpenCell() override;

    EditHistory &editHistory() { return *m_history; }
    GridEditCommands &editCommands() { return *m_editCommands; }

    /// The size a first start takes on a screen with `available` room: all 16 channels in view
    /// where they fit, never more than the screen, never less than the window's least size.
    QSize startSize(const QRect &available) const;

    /// Keeps a window of the program that is closed with the main window.
    void adoptWindow(QWidget *window);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void placeGrid();
    void restoreKeptSettings();
    void storeKeptSettings();
    void showRowShift();
    void rebuildRecentMenu();
    QAction *addCommand(QMenu *menu, const QString &name, const QString &caption, void (MainWindow::*slot)());

    void onSquelchEdited();
    void onShiftChosen();
    void onCellEdited(int row, int column);
    /// A shift other than on or off: told, and the cell keeps its value.
    void onCellRefused(int row, int column, const QString &text);
    /// After a refusal's box, the keys go to the grid again.
    void focusGridAfterBox();
    bool assignEditedField(int row, int index, const QVariant &value);
    void storeFailed(const QString &reason);
    void storeConflict(int row, const ChannelRecord &refused, const ChannelRecord &stored);
    void stepOutdated(int row, bool undoing);
    bool storeBeforeClosing();
    void portFailed(const QString &reason);
    void applyOfflineState();
    void portDialogClosed();
    void radioReady();

    // Menu commands.
    void exitProgram();
    void readChannels();
    void writeChannels();
    void openChannelFile();
    void saveChannelFile();
    void saveChannelFileAs();
    /// The table now holds what the channel file `path` holds: the title names it, unmodified.
    void fileMatched(const QString &path);
    void restoreBackup();
    void importChannelSheet();
    void exportChannelSheet();
    /// The channel list page as 打印… and 导出 PDF… show it now.
    ChannelListPage::Content printedPage() const;
    void selectPort();
    void showInstructions();
    void showAbout();
    void showConnectionCheck();

    std::unique_ptr<ChannelTable> m_table;
    SerialLink *m_port = nullptr;
    ReadinessPoll *m_poll = nullptr;
    ChannelFileCommands *m_files = nullptr;
    PrintCommands *m_print = nullptr;
    RadioLinkController *m_link = nullptr;
    EditHistory *m_history = nullptr;
    GridEditCommands *m_editCommands = nullptr;

    ChannelGrid *m_grid = nullptr;
    QComboBox *m_squelchBox = nullptr;
    QComboBox *m_shiftBox = nullptr;
    ElidedLabel *m_statusLabel = nullptr;
    QWidget *m_clientArea = nullptr;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QMenu *m_recentMenu = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_saveAsAction = nullptr;
    QAction *m_restoreAction = nullptr;
    QAction *m_importAction = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_readAction = nullptr;
    QAction *m_writeAction = nullptr;
    QAction *m_portAction = nullptr;
    QAction *m_exitAction = nullptr;

    QTimer m_writePacingTimer;
    QTimer m_statusClearTimer;
    QTimer m_readArmTimer;
    int m_allRowsHeight = 0; ///< the client area's height with every channel in view
    qint16 m_statusClearTicks = 0;
    bool m_readyAfterClearing = false; ///< the radio answered while a completion text was up
    bool m_cellRefused = false;
    bool m_offline = false;

    Activity m_activity = Activity::Idle;
    bool m_askingToStore = false; ///< the exit question reports failed stores itself
    QList<QPointer<QWidget>> m_windows;
    QPointer<PortDialog> m_portDialog;
    QPointer<AboutBox> m_aboutBox;
    QPointer<ConnectionCheckDialog> m_connectionCheck;
    /// The line since the last transfer began, for the connection check's report.
    std::shared_ptr<LineTrace> m_transferTrace;
    QPointer<InstructionsWindow> m_instructions;
};
