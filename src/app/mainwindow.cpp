#include "app/mainwindow.h"

#include "app/languagemenu.h"
#include "core/channels/channelrecord.h"
#include "core/channels/channelrule.h"
#include "core/channels/channeltable.h"
#include "core/channels/frequencycheck.h"
#include "core/channels/squelchlevel.h"
#include "core/files/programsettings.h"
#include "core/radio/readinesspoll.h"
#include "core/serial/linetrace.h"
#include "core/serial/portprobe.h"
#include "core/serial/seriallink.h"
#include "print/fonts.h"
#include "window/channels/channelgrid.h"
#include "window/channels/edithistory.h"
#include "window/channels/grideditcommands.h"
#include "window/files/channelfilecommands.h"
#include "window/info/aboutbox.h"
#include "window/info/instructionswindow.h"
#include "window/print/printcommands.h"
#include "window/radio/connectioncheckdialog.h"
#include "window/radio/portdialog.h"
#include "window/radio/radiolinkcontroller.h"
#include "window/radio/writeoptionsmenu.h"
#include "window/ui/designnames.h"
#include "window/ui/elidedlabel.h"
#include "window/ui/labelstyle.h"
#include "window/ui/menubarchanges.h"
#include "window/ui/menubartooltips.h"
#include "window/ui/messagebox.h"
#include "window/ui/programicon.h"
#include "window/ui/translatedtext.h"
#include "window/ui/twips.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QUndoStack>

#include <functional>
#include <utility>

namespace {

const TranslatedText SystemInfoTitle("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "系统信息"));
const TranslatedText ErrorTitle("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "错误警告"));
const TranslatedText OfflineToolTip("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "离线编辑：没有打开串行端口。请先用“选择端口”选择连接对讲机的端口。"));
const TranslatedText OfflineStatus("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "离线编辑：未打开串行端口"));

const QString SquelchLevelKey = QStringLiteral("window/squelchLevel");
const QString GeometryKey = QStringLiteral("window/geometry");

// The grid's designed place in the client area, in twips; it grows with the window from there.
constexpr int GridLeft = 2160;
constexpr int GridTop = 2280;
constexpr int GridWidth = 6855;
constexpr int DesignWidth = 11880;
constexpr int GridBottomMargin = 525;
// The status line starts right of the title and reaches to the window's right edge.
constexpr int StatusLeft = 8040;
constexpr int StatusTop = 720;
constexpr int StatusHeight = 375;
constexpr int StatusRightMargin = 225;
// Rows the grid keeps in view at the least window height; the rest scroll.
constexpr int LeastRowsInView = 4;

// One instance of each small window: shown again while open, created anew once closed.
template <typename Window>
void showSingle(MainWindow *owner, QPointer<Window> &window, const std::function<Window *()> &create)
{
    if (!window || !window->isVisible()) {
        window = create();
        owner->adoptWindow(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font, const QColor &colour)
{
    return LabelStyle::apply(new QLabel(text, parent), name, font, colour);
}

} // namespace

MainWindow::MainWindow(std::unique_ptr<ChannelTable> table, PortTable ports, QWidget *parent)
    : QMainWindow(parent)
    , m_table(std::move(table))
    , m_port(new SerialLink(std::move(ports), this))
    , m_poll(new ReadinessPoll(*m_port, this))
    , m_writePacingTimer(this)
    , m_statusClearTimer(this)
    , m_readArmTimer(this)
    , m_transferTrace(std::make_shared<LineTrace>())
{
    setObjectName(DesignNames::Main::window());
    setWindowTitle(tr("QZ300 版本 [ A 1.1 ]"));
    setWindowIcon(ProgramIcon::icon());
    m_port->setObjectName(DesignNames::Main::serialLink());
    m_port->setTrace(m_transferTrace);
    m_table->setObjectName(DesignNames::Main::channelTable());
    m_poll->timer().setObjectName(DesignNames::Main::pollTimer());

    m_writePacingTimer.setObjectName(DesignNames::Main::writePacingTimer());
    m_writePacingTimer.setInterval(300);
    m_writePacingTimer.setTimerType(Qt::PreciseTimer);
    m_statusClearTimer.setObjectName(DesignNames::Main::statusClearTimer());
    m_statusClearTimer.setInterval(100);
    m_readArmTimer.setObjectName(DesignNames::Main::readArmTimer());
    m_readArmTimer.setInterval(100);
    m_readArmTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_statusClearTimer, &QTimer::timeout, this, &MainWindow::statusClearTick);

    buildControls();
    m_history = new EditHistory(
        *m_table, [this] { return m_squelchBox->currentText(); }, [this](const QString &text) { setSquelchLevel(text); }, this);
    m_grid->setEditHistory(m_history);
    m_editCommands = new GridEditCommands(*m_grid, *m_table, *m_history, this);
    // A run of typing in the squelch box is one step; leaving the box or picking a level ends it.
    connect(m_squelchBox->lineEdit(), &QLineEdit::editingFinished, m_history, &EditHistory::endSquelchTyping);
    connect(m_squelchBox, &QComboBox::activated, m_history, &EditHistory::endSquelchTyping);
    m_print = new PrintCommands(*this, [this] { return printedPage(); }, this);
    buildMenus();
    m_files = new ChannelFileCommands(*this, *m_table, this);
    connect(m_files, &ChannelFileCommands::recentFilesChanged, this, &MainWindow::rebuildRecentMenu);
    connect(m_files, &ChannelFileCommands::fileMatched, this, &MainWindow::fileMatched);
    // Changes are marked only where the title names a file to save them into.
    connect(&m_history->stack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!m_files->currentFile().isEmpty())
            setWindowModified(!clean);
    });
    rebuildRecentMenu();
    m_link = new RadioLinkController(*this, *m_port, *m_poll, *m_table, m_writePacingTimer, m_readArmTimer, this);

    connect(m_table.get(), &ChannelTable::storeFailed, this, &MainWindow::storeFailed);
    connect(m_table.get(), &ChannelTable::storeConflict, this, &MainWindow::storeConflict);
    connect(m_history, &EditHistory::stepOutdated, this, &MainWindow::stepOutdated);
    connect(m_port, &SerialLink::failed, this, &MainWindow::portFailed);
    connect(m_poll, &ReadinessPoll::radioReady, this, &MainWindow::radioReady);
    restoreKeptSettings();
}

MainWindow::~MainWindow()
{
    // The grid must let go of the table before the table goes.
    delete m_grid;
    m_grid = nullptr;
}

void MainWindow::buildControls()
{
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(area);

    auto *line = new QFrame(area);
    line->setObjectName(DesignNames::Main::topLine());
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    Twips::place(line, 0, 120, 11880, 30);

    const QFont kaiTitle = Fonts::font(Fonts::kai(), 26.25);
    const QFont kaiStatus = Fonts::font(Fonts::kai(), 15.75);
    const QFont kaiCaption = Fonts::font(Fonts::kai(), 14.25);
    Twips::place(makeLabel(area, DesignNames::Main::titleLabel(), tr("信道设置系统"), kaiTitle, Qt::blue), 4200, 720, 3735, 855);
    m_statusLabel = LabelStyle::apply(new ElidedLabel(QStringLiteral(" "), area), DesignNames::Main::statusLabel(), kaiStatus, Qt::blue);
    Twips::place(m_statusLabel, StatusLeft, StatusTop, DesignWidth - StatusLeft - StatusRightMargin, StatusHeight);
    Twips::place(makeLabel(area, DesignNames::Main::modelLabel(), QStringLiteral("(QZ_3300)"), Fonts::font(Fonts::song(), 15.75), Qt::blue), 5160, 1440,
                 1695, 375);
    Twips::place(makeLabel(area, DesignNames::Main::squelchCaption(), tr("静噪级别："), kaiCaption, Qt::red), 2400, 1800, 1695, 495);
    // The caption ends where the shift box begins; a longer one (English) grows to the left
    // instead of running under the box.
    QLabel *shiftCaption = makeLabel(area, DesignNames::Main::shiftCaption(), tr("拍频:"), kaiCaption, Qt::red);
    Twips::place(shiftCaption, 6960, 1800, 7680 - 6960, 375);
    const int captionExtra = qMax(0, shiftCaption->sizeHint().width() - shiftCaption->width());
    shiftCaption->setGeometry(shiftCaption->geometry().adjusted(-captionExtra, 0, 0, 0));
    shiftCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_squelchBox = new QComboBox(area);
    m_squelchBox->setObjectName(DesignNames::Main::squelchBox());
    m_squelchBox->setEditable(true);
    m_squelchBox->setInsertPolicy(QComboBox::NoInsert);
    m_squelchBox->setFont(Fonts::font(Fonts::song(), 12));
    m_squelchBox->addItems(SquelchLevel::choices());
    m_squelchBox->setEditText(SquelchLevel::defaultText());
    // The level of the last run comes back before the edit history starts, so it is no step.
    // A level the check would refuse is not brought back.
    const QString keptLevel = ProgramSettings::open()->value(SquelchLevelKey).toString();
    if (!keptLevel.isNull() && !SquelchLevel::isAboveLimit(keptLevel))
        m_squelchBox->setEditText(keptLevel);
    // Red while usable; the disabled colours stay the style's grey.
    QPalette squelchPalette = m_squelchBox->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        squelchPalette.setColor(group, QPalette::Text, Qt::red);
        squelchPalette.setColor(group, QPalette::ButtonText, Qt::red);
    }
    m_squelchBox->setPalette(squelchPalette);
    Twips::place(m_squelchBox, 3840, 1800, 855, 360);
    connect(m_squelchBox, &QComboBox::editTextChanged, this, &MainWindow::onSquelchEdited);

    m_shiftBox = new QComboBox(area);
    m_shiftBox->setObjectName(DesignNames::Main::shiftBox());
    m_shiftBox->setEditable(true);
    m_shiftBox->setInsertPolicy(QComboBox::NoInsert);
    m_shiftBox->setFont(Fonts::font(Fonts::song(), 10.5));
    m_shiftBox->addItems({QStringLiteral("off"), QStringLiteral("on"), QStringLiteral("  ")});
    m_shiftBox->setEditText(QStringLiteral(" "));
    Twips::place(m_shiftBox, 7680, 1800, 975, 330);
    // "Shift" reads as a repeater offset to many: the box and its caption say what the flag does.
    const QString shiftMeaning = m_table->headerData(ChannelField::Bt, Qt::Horizontal, Qt::ToolTipRole).toString();
    m_shiftBox->setToolTip(shiftMeaning);
    shiftCaption->setToolTip(shiftMeaning);
    connect(m_shiftBox, &QComboBox::activated, this, &MainWindow::onShiftChosen);

    m_grid = new ChannelGrid(area);
    m_grid->setObjectName(DesignNames::Main::channelGrid());
    m_grid->bind(m_table.get());
    connect(m_grid, &ChannelGrid::cellEdited, this, &MainWindow::onCellEdited);
    connect(m_grid, &ChannelGrid::cellRefused, this, &MainWindow::onCellRefused);
    // The shift box shows the flag of the row the selection is on.
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &MainWindow::showRowShift);
    connect(m_table.get(), &QAbstractItemModel::dataChanged, this, &MainWindow::showRowShift);
    connect(m_table.get(), &QAbstractItemModel::modelReset, this, &MainWindow::showRowShift);

    // The window starts tall enough for all 16 channels where the screen has the room; a smaller
    // screen (a netbook's 600 lines) gets a shorter grid that scrolls.
    m_clientArea = area;
    const QSize gridPlace = Twips::size(area, GridLeft, GridTop);
    const QSize margins = Twips::size(area, DesignWidth - GridLeft - GridWidth, GridBottomMargin);
    area->setMinimumSize(Twips::size(area, DesignWidth, 0).width(),
                         gridPlace.height() + m_grid->heightForRows(LeastRowsInView) + margins.height());
    m_allRowsHeight = gridPlace.height() + m_grid->heightForAllRows() + margins.height();
    area->installEventFilter(this);
    placeGrid();
}

void MainWindow::placeGrid()
{
    const QSize topLeft = Twips::size(m_clientArea, GridLeft, GridTop);
    const QSize margins = Twips::size(m_clientArea, DesignWidth - GridLeft - GridWidth, GridBottomMargin);
    const QSize room = m_clientArea->size().expandedTo(m_clientArea->minimumSize());
    m_grid->setGeometry(topLeft.width(), topLeft.height(), room.width() - topLeft.width() - margins.width(),
                        room.height() - topLeft.height() - margins.height());
    const QSize statusPlace = Twips::size(m_clientArea, StatusLeft, StatusTop);
    const int statusRight = room.width() - Twips::size(m_clientArea, StatusRightMargin, 0).width();
    m_statusLabel->setGeometry(statusPlace.width(), statusPlace.height(), statusRight - statusPlace.width(),
                               Twips::size(m_clientArea, 0, StatusHeight).height());
}

QSize MainWindow::startSize(const QRect &available) const
{
    // The frame is not known before the window is shown: room is left for a title bar and borders.
    const QSize frameReserve(16, 48);
    const QSize wanted(m_clientArea->minimumWidth(), m_allRowsHeight + menuBar()->sizeHint().height());
    return wanted.boundedTo(available.size() - frameReserve).expandedTo(minimumSizeHint());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_clientArea && event->type() == QEvent::Resize)
        placeGrid();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showRowShift()
{
    // A transfer walks the rows with the box locked; the box shows the row it ends on.
    const int row = m_table->currentRow();
    if (row < 0 || m_activity != Activity::Idle)
        return;
    const QString shift = m_table->channel(row).bt.toString();
    if (m_shiftBox->currentText() != shift)
        m_shiftBox->setEditText(shift);
}

void MainWindow::restoreKeptSettings()
{
    const auto settings = ProgramSettings::open();
    if (!restoreGeometry(settings->value(GeometryKey).toByteArray()))
        resize(startSize(screen()->availableGeometry()));
}

void MainWindow::storeKeptSettings()
{
    const auto settings = ProgramSettings::open();
    settings->setValue(SquelchLevelKey, squelchLevel());
    settings->setValue(GeometryKey, saveGeometry());
}

QAction *MainWindow::addCommand(QMenu *menu, const QString &name, const QString &caption, void (MainWindow::*slot)())
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
    if (menu)
        menu->addAction(action);
    else
        menuBar()->addAction(action);
    return action;
}

void MainWindow::buildMenus()
{
    MenuBarToolTips::install(menuBar());
    m_fileMenu = menuBar()->addMenu(tr("       文件(&F)"));
    m_fileMenu->setObjectName(DesignNames::Main::fileMenu());
    m_fileMenu->menuAction()->setObjectName(DesignNames::Main::fileMenu());
    m_openAction = addCommand(m_fileMenu, DesignNames::Main::openCommand(), tr("打开文件(&O)"), &MainWindow::openChannelFile);
    m_saveAction = addCommand(m_fileMenu, DesignNames::Main::saveCommand(), tr("保存文件(&V)"), &MainWindow::saveChannelFile);
    m_openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveAsAction = addCommand(m_fileMenu, QStringLiteral("saveAsCommand"), tr("另存为…(&A)"), &MainWindow::saveChannelFileAs);
    m_saveAsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_recentMenu = m_fileMenu->addMenu(tr("最近的文件(&L)"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m_recentMenu->menuAction()->setObjectName(QStringLiteral("recentMenu"));
    m_restoreAction = addCommand(m_fileMenu, QStringLiteral("restoreBackupCommand"), tr("恢复备份…(&R)"), &MainWindow::restoreBackup);
    m_fileMenu->addSeparator();
    m_importAction = addCommand(m_fileMenu, QStringLiteral("importCommand"), tr("导入…(&I)"), &MainWindow::importChannelSheet);
    m_exportAction = addCommand(m_fileMenu, QStringLiteral("exportCommand"), tr("导出…(&X)"), &MainWindow::exportChannelSheet);
    m_fileMenu->addSeparator();
    QAction *printAction = m_fileMenu->addAction(tr("打印…(&P)"));
    printAction->setObjectName(QStringLiteral("printCommand"));
    connect(printAction, &QAction::triggered, m_print, &PrintCommands::print);
    QAction *pdfAction = m_fileMenu->addAction(tr("导出 PDF…(&D)"));
    pdfAction->setObjectName(QStringLiteral("exportPdfCommand"));
    connect(pdfAction, &QAction::triggered, m_print, &PrintCommands::exportPdf);

    // 退出系统 holds E; 编 (bian) gives B.
    m_editMenu = menuBar()->addMenu(tr("       编辑(&B)"));
    m_editMenu->setObjectName(QStringLiteral("editMenu"));
    m_editMenu->menuAction()->setObjectName(QStringLiteral("editMenu"));
    m_editMenu->addAction(m_editCommands->undoAction());
    m_editMenu->addAction(m_editCommands->redoAction());
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_editCommands->copyAction());
    m_editMenu->addAction(m_editCommands->pasteAction());
    m_editMenu->addAction(m_editCommands->clearAction());
    m_editMenu->addSeparator();
    new WriteOptionsMenu(m_editMenu, this);

    m_readAction = addCommand(nullptr, DesignNames::Main::readCommand(), tr("        读信道数据(&R)"), &MainWindow::readChannels);
    m_writeAction = addCommand(nullptr, DesignNames::Main::writeCommand(), tr("        写信道数据(&W)"), &MainWindow::writeChannels);
    m_portAction = addCommand(nullptr, DesignNames::Main::portCommand(), tr("       选择端口(&P)"), &MainWindow::selectPort);
    m_exitAction = addCommand(nullptr, DesignNames::Main::exitCommand(), tr("       退出系统(&E)"), &MainWindow::exitProgram);

    m_helpMenu = menuBar()->addMenu(tr("       帮助(&H)"));
    m_helpMenu->setObjectName(DesignNames::Main::helpMenu());
    m_helpMenu->menuAction()->setObjectName(DesignNames::Main::helpMenu());
    addCommand(m_helpMenu, DesignNames::Main::instructionsCommand(), tr("操作说明(&I)"), &MainWindow::showInstructions);
    addCommand(m_helpMenu, QStringLiteral("connectionCheckCommand"), tr("连接检查…(&C)"), &MainWindow::showConnectionCheck);
    addCommand(m_helpMenu, DesignNames::Main::aboutCommand(), tr("关于本软件(&A)"), &MainWindow::showAbout);
    new LanguageMenu(m_helpMenu, this);
}

bool MainWindow::startUp(LinkStart start)
{
    show();
    m_table->moveFirst();
    m_writePacingTimer.stop();
    if (start == LinkStart::Offline) {
        // Port number 0 stands for no port: the port dialog then preselects nothing and puts the
        // link back to no port on Cancel, instead of onto COM1.
        m_port->close();
        m_port->setPortNumber(0);
        m_offline = true;
        applyOfflineState();
        m_statusClearTimer.stop();
        setStatusText(OfflineStatus);
        return true;
    }
    if (PortProbe::openFirst(*m_port) == 0) {
        const Messages::Question noPort{SystemInfoTitle,
                                        tr("无串行端口可用。可以离线编辑信道表，或退出。"),
                                        Messages::Icon::Warning,
                                        {tr("离线编辑"), tr("退出")},
                                        0,
                                        1};
        if (Messages::ask(this, noPort) == 0)
            return startUp(LinkStart::Offline);
        close();
        return false;
    }
    m_poll->start();
    m_writePacingTimer.stop();
    m_statusClearTimer.stop();
    return true;
}

QWidget *MainWindow::statusLabel() const
{
    return m_statusLabel;
}

QString MainWindow::statusText() const
{
    return m_statusLabel->text();
}

void MainWindow::setStatusText(const QString &text)
{
    m_statusLabel->setText(text);
}

void MainWindow::startStatusClearing()
{
    m_statusClearTimer.start();
}

void MainWindow::cancelStatusClearing()
{
    m_statusClearTimer.stop();
    m_statusClearTicks = 0;
    m_readyAfterClearing = false;
}

void MainWindow::statusClearTick()
{
    ++m_statusClearTicks;
    if (m_statusClearTicks > 10) {
        setStatusText(std::exchange(m_readyAfterClearing, false) ? tr("对讲机就绪...") : QString());
        m_statusClearTicks = 0;
        m_statusClearTimer.stop();
    }
}

void MainWindow::setActivity(Activity activity)
{
    if (m_activity == Activity::Idle && activity != Activity::Idle)
        m_transferTrace->restart();
    m_activity = activity;
    const bool idle = activity == Activity::Idle;
    {
        const MenuBarChanges together(menuBar());
        for (QAction *action : {m_fileMenu->menuAction(), m_openAction, m_saveAction, m_saveAsAction, m_restoreAction, m_importAction, m_exportAction,
                                m_readAction, m_writeAction, m_portAction, m_exitAction, m_helpMenu->menuAction(), m_editMenu->menuAction()})
            action->setEnabled(idle);
        m_history->setLocked(!idle);
        applyOfflineState();
    }
    if (!idle)
        m_grid->commitOpenEditor();
    m_grid->setEnabled(idle);
    m_squelchBox->setEnabled(idle);
    m_shiftBox->setEnabled(idle);
    if (idle)
        showRowShift();
}

QString MainWindow::squelchLevel() const
{
    return m_squelchBox->currentText();
}

void MainWindow::setSquelchLevel(const QString &text)
{
    if (m_squelchBox->currentText() == text)
        onSquelchEdited(); // an unchanged text raises no change signal, but the check still applies
    else
        m_squelchBox->setEditText(text);
}

QString MainWindow::replaceChannelSet(const QString &stepName, const QList<ChannelRecord> &channels, const QString &squelch)
{
    return m_history->replaceChannelSet(stepName, channels, squelch);
}

void MainWindow::replaceChannelSetInBackground(const QString &stepName, const QList<ChannelRecord> &channels, const QString &squelch,
                                               std::function<void(const QString &error)> done)
{
    m_history->replaceChannelSetInBackground(stepName, channels, squelch, std::move(done));
}

bool MainWindow::commitOpenCell()
{
    m_cellRefused = false;
    m_grid->commitOpenEditor();
    return !std::exchange(m_cellRefused, false);
}

void MainWindow::adoptWindow(QWidget *window)
{
    m_windows.removeAll(nullptr);
    m_windows.append(window);
}

void MainWindow::onSquelchEdited()
{
    if (!SquelchLevel::isAboveLimit(m_squelchBox->currentText())) {
        if (m_history)
            m_history->squelchEdited();
        return;
    }
    Messages::show(this, ErrorTitle, tr("静燥级别不可大于 9 ！！！"), Messages::Icon::Warning);
    // A refused level never becomes a step: the replacement joins the typing before it.
    m_squelchBox->setEditText(SquelchLevel::defaultText());
    // The level of the last run comes back before the edit history starts, so it is no step.
    // A level the check would refuse is not brought back.
    const QString keptLevel = ProgramSettings::open()->value(SquelchLevelKey).toString();
    if (!keptLevel.isNull() && !SquelchLevel::isAboveLimit(keptLevel))
        m_squelchBox->setEditText(keptLevel);
}

void MainWindow::onShiftChosen()
{
    if (m_table->currentRow() < 0)
        return;
    m_history->record(tr("拍频"), [this] { m_table->setField(3, m_shiftBox->currentText()); });
}

void MainWindow::onCellEdited(int row, int column)
{
    const FrequencyCheck::Outcome outcome = FrequencyCheck::afterEdit(column, m_table->channel(row));
    m_cellRefused = outcome.outOfRange;
    if (outcome.outOfRange) {
        Messages::show(this, tr("错误警告 "), ChannelRule::outOfRangeMessage(), Messages::Icon::Warning);
        focusGridAfterBox();
    }
    for (const FrequencyCheck::Assignment &assignment : outcome.assignments) {
        if (!assignEditedField(row, assignment.field, assignment.value))
            return;
    }
}

void MainWindow::onCellRefused(int, int, const QString &)
{
    m_cellRefused = true;
    Messages::show(this, tr("错误警告 "), ChannelRule::shiftMessage(), Messages::Icon::Warning);
    focusGridAfterBox();
}

void MainWindow::focusGridAfterBox()
{
    // The box took the focus from the cell editor, which closed meanwhile: Qt hands the focus back
    // to the squelch box then, where Ctrl+Z would undo its text instead of the refused edit.
    m_grid->setFocus(Qt::OtherFocusReason);
}

bool MainWindow::assignEditedField(int row, int index, const QVariant &value)
{
    if (row == m_table->currentRow())
        return m_table->setField(index, value);
    // An edit committed because the selection moved on lands in the row it was made in.
    return m_table->setData(m_table->index(row, index), value);
}

void MainWindow::storeFailed(const QString &reason)
{
    // A transfer tells of its own store failure once the pacing is over; at closing the question
    // carries the reason.
    if (m_askingToStore || m_activity != Activity::Idle)
        return;
    Messages::show(this, ErrorTitle,
                   tr("信道数据无法存入数据库 %1，修改尚未保存：\n%2").arg(m_table->path(), reason),
                   Messages::Icon::Critical);
}

void MainWindow::storeConflict(int row, const ChannelRecord &refused, const ChannelRecord &stored)
{
    const auto value = [](const QVariant &field) {
        return field.isNull() ? tr("（无）") : tr("“%1”").arg(field.toString());
    };
    const auto channel = [&value](const ChannelRecord &record) {
        return tr("接收频率 %1，发送频率 %2，拍频 %3").arg(value(record.rf), value(record.tf), value(record.bt));
    };
    Messages::show(this, ErrorTitle,
                   tr("第 %1 信道已被另一个程序改动，您的修改没有存入数据库 %2。\n"
                                  "您的输入：%3\n数据库中现为：%4\n表格现在显示数据库中的内容。")
                       .arg(row + 1)
                       .arg(m_table->path(), channel(refused), channel(stored)),
                   Messages::Icon::Warning);
}

void MainWindow::stepOutdated(int row, bool undoing)
{
    Messages::show(this, ErrorTitle,
                   tr("第 %1 信道已被另一个程序改动，这一步无法%2，表格和数据库保持不变。")
                       .arg(row + 1)
                       .arg(undoing ? tr("撤销", "this step cannot be") : tr("重做", "this step cannot be")),
                   Messages::Icon::Warning);
}

bool MainWindow::storeBeforeClosing()
{
    // A change that cannot be stored is not dropped without the user's word.
    m_askingToStore = true;
    m_grid->commitOpenEditor(); // nothing typed is lost: a cell still being edited counts too
    bool close = true;
    while (!m_table->submit() && m_table->hasPendingChanges()) {
        const Messages::Question question{
            ErrorTitle,
            tr("信道数据无法存入数据库 %1，修改尚未保存：\n%2\n\n重试保存，放弃修改并退出，还是取消退出？")
                .arg(m_table->path(), m_table->lastError()),
            Messages::Icon::Warning,
            {tr("重试"), tr("放弃修改"), tr("取消")},
            0,
            2};
        const int chosen = Messages::ask(this, question);
        if (chosen == 0)
            continue;
        close = chosen == 1;
        break;
    }
    m_askingToStore = false;
    return close;
}

void MainWindow::portFailed(const QString &reason)
{
    Q_UNUSED(reason);
    // The transfers take care of themselves; an idle link just waits for the next port choice.
}

void MainWindow::applyOfflineState()
{
    for (QAction *action : {m_readAction, m_writeAction}) {
        if (m_offline)
            action->setEnabled(false);
        // An empty tooltip gives the action's own text back.
        action->setToolTip(m_offline ? OfflineToolTip : QString());
    }
}

void MainWindow::portDialogClosed()
{
    // A port that opened through the dialog ends offline editing; the dialog started the poll.
    if (!m_offline || !m_port->isOpen())
        return;
    m_offline = false;
    applyOfflineState();
    setActivity(m_activity);
    if (statusText() == QString(OfflineStatus))
        setStatusText(QStringLiteral(" "));
}

void MainWindow::radioReady()
{
    // Between the steps of a write the radio answers too; the write's own texts stay.
    if (m_activity != Activity::Idle)
        return;
    // A completion text keeps its time on the line; the ready text follows it.
    if (m_statusClearTimer.isActive()) {
        m_readyAfterClearing = true;
        return;
    }
    setStatusText(tr("对讲机就绪..."));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_link->mayClose()) {
        event->ignore();
        return;
    }
    // Nothing typed is lost: a cell still being edited and a changed row are stored first.
    if (!storeBeforeClosing()) {
        event->ignore();
        return;
    }
    for (const QPointer<QWidget> &window : std::as_const(m_windows)) {
        if (window)
            window->close();
    }
    storeKeptSettings();
    event->accept();
}

void MainWindow::exitProgram()
{
    close();
}

void MainWindow::readChannels()
{
    m_link->readChannels();
}

void MainWindow::writeChannels()
{
    m_link->writeChannels();
}

void MainWindow::openChannelFile()
{
    m_files->open();
}

void MainWindow::saveChannelFile()
{
    m_files->save();
}

void MainWindow::saveChannelFileAs()
{
    m_files->saveAs();
}

void MainWindow::fileMatched(const QString &path)
{
    // The title names the file; "[*]" shows once the table or the level moves away from it.
    setWindowTitle(QStringLiteral("%1[*] - %2").arg(QFileInfo(path).fileName(), tr("QZ300 版本 [ A 1.1 ]")));
    m_history->endSquelchTyping(); // typing after the save is a change of its own
    m_history->stack().setClean();
    setWindowModified(false);
}

void MainWindow::restoreBackup()
{
    m_files->restoreBackup();
}

void MainWindow::importChannelSheet()
{
    m_files->importSheet();
}

void MainWindow::exportChannelSheet()
{
    m_files->exportSheet();
}

void MainWindow::rebuildRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = m_files->recentFiles();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        auto *action = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        action->setData(path);
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { m_files->openRecent(path); });
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

ChannelListPage::Content MainWindow::printedPage() const
{
    ChannelListPage::Content page;
    // The blanks a level picked from the list carries belong to the channel file only.
    page.set = ChannelSet{m_squelchBox->currentText().trimmed(), m_table->channels()};
    if (m_offline || m_port->portNumber() == 0)
        page.port = tr("离线编辑（未打开串行端口）");
    else
        page.port = QStringLiteral("COM%1 (%2)").arg(m_port->portNumber()).arg(m_port->devicePath());
    page.printedAt = QDateTime::currentDateTime();
    return page;
}

void MainWindow::selectPort()
{
    showSingle<PortDialog>(this, m_portDialog, [this] {
        auto *dialog = new PortDialog(*m_port, *m_poll, [this] { return m_activity != Activity::Idle; }, this);
        // A transfer started while the dialog is up owns the link until it ends.
        connect(m_portAction, &QAction::enabledChanged, dialog, [dialog](bool enabled) { dialog->setLinkBusy(!enabled); });
        connect(dialog, &QDialog::finished, this, &MainWindow::portDialogClosed);
        return dialog;
    });
}

void MainWindow::showInstructions()
{
    showSingle<InstructionsWindow>(this, m_instructions, [this] { return new InstructionsWindow(this); });
}

void MainWindow::showConnectionCheck()
{
    const bool fresh = !m_connectionCheck || !m_connectionCheck->isVisible();
    showSingle<ConnectionCheckDialog>(this, m_connectionCheck, [this] {
        auto *dialog = new ConnectionCheckDialog(*m_port, *m_poll, m_transferTrace, [this] { return m_activity != Activity::Idle; }, this);
        // While the check has the port, no transfer and no port change.
        connect(dialog, &ConnectionCheckDialog::linkHeld, this, [this](bool held) {
            for (QAction *action : {m_readAction, m_writeAction, m_portAction})
                action->setEnabled(!held && m_activity == Activity::Idle);
            applyOfflineState();
        });
        return dialog;
    });
    if (fresh)
        m_connectionCheck->startCheck();
}

void MainWindow::showAbout()
{
    showSingle<AboutBox>(this, m_aboutBox, [this] { return new AboutBox(this); });
}
