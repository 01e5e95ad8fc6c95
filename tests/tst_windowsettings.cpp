#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "core/files/programsettings.h"
#include "core/files/recentfiles.h"
#include "core/radio/readinesspoll.h"
#include "core/serial/seriallink.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/channels/channelgrid.h"
#include "window/channels/edithistory.h"
#include "window/files/filedialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The window on a user's desk: all channels in view, a start without a port that is no dead end,
// the settings and files kept from one run to the next, the file keys.
class tst_WindowSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gridShowsAllChannels_data();
    void gridShowsAllChannels();
    void noPortOffersOffline_data();
    void noPortOffersOffline();
    void noPortRealBoxDefaultIsOffline();
    void offlineOptionShowsOnStatusLine();
    void squelchAndShiftAfterRestart();
    void recentFilesList_data();
    void recentFilesList();
    void fileKeysAndSuffix();
    void recentFilesMenu();

private:
    std::unique_ptr<MainWindow> start(MainWindow::LinkStart how = MainWindow::LinkStart::ProbePorts)
    {
        return Startup::run(m_dir->filePath(QStringLiteral("qz3300E.mdb")), PortTable({m_pty->devicePath()}), how);
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeChannelFile(const QString &file, const QByteArray &squelch, int firstMHz)
    {
        QByteArray content = squelch + ',';
        for (int k = 0; k < 16; ++k)
            content += QByteArray::number(firstMHz + k) + ".5," + QByteArray::number(firstMHz + k) + ".5,off,";
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(content), content.size());
    }
    static QAction *action(const MainWindow &window, const QString &name) { return window.findChild<QAction *>(name); }
    static QStringList recentCaptions(const MainWindow &window)
    {
        QStringList captions;
        const auto *menu = window.findChild<QMenu *>(QStringLiteral("recentMenu"));
        for (const QAction *entry : menu->actions())
            captions << entry->text();
        return captions;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PseudoTerminal> m_pty;
    QString m_startDir;
    FileDialogs::Handler m_previousDialogs;
    QList<FileDialogs::Request> m_requests;
    QStringList m_answers;
};

void tst_WindowSettings::init()
{
    // Each case starts as a first run.
    ProgramSettings::open()->clear();
    m_startDir = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    m_pty = std::make_unique<PseudoTerminal>();
    QVERIFY(m_dir->isValid());
    QVERIFY(m_pty->isOpen());
    m_requests.clear();
    m_answers.clear();
    m_previousDialogs = FileDialogs::setHandler([this](QWidget *, const FileDialogs::Request &request) {
        m_requests << request;
        return FileDialogs::Answer(m_answers.isEmpty() ? QString() : m_answers.takeFirst());
    });
}

void tst_WindowSettings::cleanup()
{
    FileDialogs::setHandler(m_previousDialogs);
    QDir::setCurrent(m_startDir);
    m_pty.reset();
    m_dir.reset();
}

void tst_WindowSettings::gridShowsAllChannels_data()
{
    QTest::addColumn<QSize>("resizeTo"); // an empty size: the start size
    QTest::addColumn<bool>("grows");
    QTest::addColumn<bool>("allInView");
    QTest::newRow("start size") << QSize() << false << true;
    QTest::newRow("1100 x 1000") << QSize(1100, 1000) << true << true;
    // Below the height of 16 rows the grid scrolls (a netbook's screen: tst_smallscreen).
    QTest::newRow("smallest the window allows") << QSize(1, 1) << false << false;
}

void tst_WindowSettings::gridShowsAllChannels()
{
    QFETCH(QSize, resizeTo);
    QFETCH(bool, grows);
    QFETCH(bool, allInView);
    RecordedMessages messages;
    auto window = start();
    QVERIFY(window);
    ChannelGrid *grid = window->channelGrid();
    const QSize startGrid = grid->size();
    if (resizeTo.isValid()) {
        window->resize(resizeTo);
        QTRY_VERIFY(window->size() != QSize());
        QCoreApplication::processEvents();
    }
    QCOMPARE(grid->model()->rowCount(), 16);
    if (!allInView) {
        QVERIFY(grid->verticalScrollBar()->maximum() > 0);
        QVERIFY(grid->rowViewportPosition(3) + grid->rowHeight(3) <= grid->viewport()->height());
        QVERIFY(grid->geometry().bottom() < grid->parentWidget()->height());
        return;
    }
    const int viewportHeight = grid->viewport()->height();
    for (int row = 0; row < 16; ++row) {
        const int top = grid->rowViewportPosition(row);
        QVERIFY2(top >= 0 && top + grid->rowHeight(row) <= viewportHeight,
                 qPrintable(QStringLiteral("row %1 at %2 + %3 in %4").arg(row + 1).arg(top).arg(grid->rowHeight(row)).arg(viewportHeight)));
    }
    QCOMPARE(grid->verticalScrollBar()->maximum(), 0);
    QVERIFY(grid->horizontalScrollBar()->maximum() == 0);
    if (grows) {
        // The room the window gained goes to the grid.
        QVERIFY(grid->width() > startGrid.width());
        QVERIFY(grid->height() > startGrid.height());
        QVERIFY(grid->geometry().bottom() < grid->parentWidget()->height());
    }
}

void tst_WindowSettings::noPortOffersOffline_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("runs");
    QTest::newRow("离线编辑") << 0 << true;
    QTest::newRow("退出") << 1 << false;
}

void tst_WindowSettings::noPortOffersOffline()
{
    QFETCH(int, button);
    QFETCH(bool, runs);
    RecordedMessages messages;
    messages.answerNext(button);
    auto window = Startup::run(path(QStringLiteral("qz3300E.mdb")), PortTable({QStringLiteral("/nonexistent/ttyQZ1")}));
    QCOMPARE(messages.questions().size(), 1);
    const Messages::Question asked = messages.lastQuestion();
    QCOMPARE(asked.text, QStringLiteral("无串行端口可用。可以离线编辑信道表，或退出。"));
    QCOMPARE(asked.title, QStringLiteral("系统信息"));
    QCOMPARE(asked.icon, Messages::Icon::Warning);
    QCOMPARE(asked.buttons, (QStringList{QStringLiteral("离线编辑"), QStringLiteral("退出")}));
    QCOMPARE(asked.defaultButton, 0);
    QCOMPARE(asked.escapeButton, 1);
    QVERIFY(messages.isEmpty());
    QCOMPARE(bool(window), runs);
    if (!runs)
        return;
    // As with --offline: the window up, no port, the radio commands off, the line says why.
    QVERIFY(window->isVisible());
    QVERIFY(window->isOffline());
    QVERIFY(!window->serialLink().isOpen());
    QVERIFY(!window->poll().isRunning());
    QVERIFY(!action(*window, QStringLiteral("读信道"))->isEnabled());
    QVERIFY(!action(*window, QStringLiteral("写信道"))->isEnabled());
    QVERIFY(action(*window, QStringLiteral("打开"))->isEnabled());
    QCOMPARE(window->statusText(), QStringLiteral("离线编辑：未打开串行端口"));
}

void tst_WindowSettings::noPortRealBoxDefaultIsOffline()
{
    // The real box, answered with Return: its default button.
    const Messages::Handler previous = Messages::setHandler({});
    const Messages::QuestionHandler previousQuestions = Messages::setQuestionHandler({});
    QString seenText;
    QStringList seenButtons;
    QTimer watch;
    watch.setInterval(50);
    connect(&watch, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !seenText.isEmpty())
            return;
        seenText = box->text();
        for (QAbstractButton *each : box->buttons())
            seenButtons << each->text();
        QTimer::singleShot(200, box, [box] { QTest::keyClick(box, Qt::Key_Return); });
    });
    watch.start();
    auto window = Startup::run(path(QStringLiteral("qz3300E.mdb")), PortTable({QStringLiteral("/nonexistent/ttyQZ1")}));
    watch.stop();
    Messages::setHandler(previous);
    Messages::setQuestionHandler(previousQuestions);
    QCOMPARE(seenText, QStringLiteral("无串行端口可用。可以离线编辑信道表，或退出。"));
    QCOMPARE(seenButtons.size(), 2);
    QVERIFY(seenButtons.contains(QStringLiteral("离线编辑")));
    QVERIFY(seenButtons.contains(QStringLiteral("退出")));
    QVERIFY(window);
    QVERIFY(window->isOffline());
    QCOMPARE(window->statusText(), QStringLiteral("离线编辑：未打开串行端口"));
}

void tst_WindowSettings::offlineOptionShowsOnStatusLine()
{
    RecordedMessages messages;
    auto window = start(MainWindow::LinkStart::Offline);
    QVERIFY(window);
    QCOMPARE(window->statusText(), QStringLiteral("离线编辑：未打开串行端口"));
    // The line keeps saying so; no clearing countdown takes it away.
    QTest::qWait(1500);
    QCOMPARE(window->statusText(), QStringLiteral("离线编辑：未打开串行端口"));
    QVERIFY(messages.isEmpty());
}

void tst_WindowSettings::squelchAndShiftAfterRestart()
{
    RecordedMessages messages;
    const QString file = path(QStringLiteral("level5.doc"));
    writeChannelFile(file, "5", 140);
    {
        auto window = start();
        QVERIFY(window);
        QCOMPARE(window->squelchLevel(), QStringLiteral("3"));
        m_answers << file;
        action(*window, QStringLiteral("打开"))->trigger();
        QCOMPARE(window->squelchLevel(), QStringLiteral("5"));
        // Flags that differ from row to row, so that the box has something to follow.
        ChannelTable &table = window->channelTable();
        const QStringList flags{QStringLiteral("on"), QStringLiteral("off"), QStringLiteral("  ")};
        for (int row = 0; row < 3; ++row) {
            QVERIFY(table.setData(table.index(row, 3), flags.at(row)));
            QVERIFY(table.submit());
        }
        QVERIFY(window->close());
    }
    auto window = start();
    QVERIFY(window);
    QCOMPARE(window->squelchLevel(), QStringLiteral("5"));
    QComboBox *shiftBox = window->shiftBox();
    ChannelGrid *grid = window->channelGrid();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QCOMPARE(shiftBox->currentText(), QStringLiteral("on"));
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(window->channelTable().currentRow(), 1);
    QCOMPARE(shiftBox->currentText(), QStringLiteral("off"));
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(shiftBox->currentText(), QStringLiteral("  "));
    // A choice still goes to the current row only, and the box stays with the row.
    shiftBox->setCurrentIndex(1);
    emit shiftBox->activated(1);
    QCOMPARE(window->channelTable().channel(2).bt.toString(), QStringLiteral("on"));
    QCOMPARE(window->channelTable().channel(1).bt.toString(), QStringLiteral("off"));
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(shiftBox->currentText(), QStringLiteral("off"));
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(u'|')));
}

void tst_WindowSettings::recentFilesList_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("newest first") << QStringList{"/a.doc", "/b.doc"} << QStringList{"/b.doc", "/a.doc"};
    QTest::newRow("again moves to the front") << QStringList{"/a.doc", "/b.doc", "/a.doc"} << QStringList{"/a.doc", "/b.doc"};
    QTest::newRow("five kept") << QStringList{"/1.doc", "/2.doc", "/3.doc", "/4.doc", "/5.doc", "/6.doc"}
                               << QStringList{"/6.doc", "/5.doc", "/4.doc", "/3.doc", "/2.doc"};
    QTest::newRow("one spelling per file") << QStringList{"/x/a.doc", "/x/./a.doc"} << QStringList{"/x/a.doc"};
}

void tst_WindowSettings::recentFilesList()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, expected);
    RecentFiles recent;
    for (const QString &each : added)
        recent.add(each);
    QCOMPARE(recent.paths(), expected);
    // The same list comes back from the settings.
    {
        const auto settings = ProgramSettings::open();
        recent.store(*settings);
    }
    QCOMPARE(RecentFiles::load(*ProgramSettings::open()).paths(), expected);
    recent.remove(expected.constFirst());
    QCOMPARE(recent.paths(), expected.mid(1));
}

void tst_WindowSettings::fileKeysAndSuffix()
{
    RecordedMessages messages;
    const QString opened = path(QStringLiteral("plan0.doc"));
    writeChannelFile(opened, "4", 141);
    auto window = start();
    QVERIFY(window);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(window->windowTitle(), QStringLiteral("QZ300 版本 [ A 1.1 ]"));

    m_answers << opened;
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(m_requests.size(), 1);
    QCOMPARE(m_requests.last().mode, FileDialogs::Mode::Open);
    QCOMPARE(m_requests.last().filter, QStringLiteral("信道文件 (*.doc)"));
    QCOMPARE(window->squelchLevel(), QStringLiteral("4"));
    QCOMPARE(window->windowTitle(), QStringLiteral("plan0.doc[*] - QZ300 版本 [ A 1.1 ]"));
    QVERIFY(!window->isWindowModified());

    // A change marks the title; 保存文件 writes into the open file without asking.
    window->setSquelchLevel(QStringLiteral("6"));
    QVERIFY(window->isWindowModified());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_requests.size(), 1);
    QVERIFY(!window->isWindowModified());
    QCOMPARE(window->statusText(), QStringLiteral("已保存 plan0.doc"));
    {
        QFile saved(opened);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().startsWith("6,141.50000,"));
    }
    // Undoing back past the save is a change again.
    QVERIFY(window->editHistory().canUndo());
    window->editHistory().undo();
    QVERIFY(window->isWindowModified());

    // 另存为 asks, starting at the open file; a bare name is a channel file, and the new file is open.
    m_answers << path(QStringLiteral("plan1"));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_requests.size(), 2);
    QCOMPARE(m_requests.last().mode, FileDialogs::Mode::Save);
    QCOMPARE(QFileInfo(m_requests.last().initialName).absoluteFilePath(), opened);
    QVERIFY(QFile::exists(path(QStringLiteral("plan1.doc"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("plan1"))));
    QCOMPARE(window->windowTitle(), QStringLiteral("plan1.doc[*] - QZ300 版本 [ A 1.1 ]"));
    QVERIFY(!window->isWindowModified());
    QFile saved(path(QStringLiteral("plan1.doc")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().startsWith("4,141.50000,"));

    // Cancelled, 另存为 leaves the open file as it was.
    m_answers << QString();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_requests.last().initialName, path(QStringLiteral("plan1.doc")));
    QCOMPARE(window->windowTitle(), QStringLiteral("plan1.doc[*] - QZ300 版本 [ A 1.1 ]"));

    // The next run has no file open: 保存 asks, starting at the file last saved.
    QVERIFY(window->close());
    window.reset();
    window = start();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("QZ300 版本 [ A 1.1 ]"));
    const qsizetype asked = m_requests.size();
    action(*window, QStringLiteral("保存"))->trigger();
    QCOMPARE(m_requests.size(), asked + 1);
    QCOMPARE(m_requests.last().initialName, path(QStringLiteral("plan1.doc")));
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(u'|')));
}

void tst_WindowSettings::recentFilesMenu()
{
    RecordedMessages messages;
    QStringList files;
    for (int k = 1; k <= 6; ++k) {
        files << path(QStringLiteral("set%1.doc").arg(k));
        writeChannelFile(files.last(), QByteArray::number(k), 140 + k);
    }
    {
        auto window = start();
        QVERIFY(window);
        QVERIFY(!window->findChild<QMenu *>(QStringLiteral("recentMenu"))->isEnabled());
        for (const QString &file : files) {
            m_answers << file;
            action(*window, QStringLiteral("打开"))->trigger();
        }
        QCOMPARE(recentCaptions(*window), (QStringList{"&1 set6.doc", "&2 set5.doc", "&3 set4.doc", "&4 set3.doc", "&5 set2.doc"}));
        QVERIFY(window->close());
    }
    // The next run offers the same files; the third is set4.doc, with squelch level 4.
    auto window = start();
    QVERIFY(window);
    QCOMPARE(recentCaptions(*window), (QStringList{"&1 set6.doc", "&2 set5.doc", "&3 set4.doc", "&4 set3.doc", "&5 set2.doc"}));
    action(*window, QStringLiteral("recentFile3"))->trigger();
    QCOMPARE(window->squelchLevel(), QStringLiteral("4"));
    QCOMPARE(window->channelTable().channel(0).rf.toString(), QStringLiteral("144.50000"));
    QCOMPARE(recentCaptions(*window), (QStringList{"&1 set4.doc", "&2 set6.doc", "&3 set5.doc", "&4 set3.doc", "&5 set2.doc"}));
    QVERIFY(messages.isEmpty());

    // A file gone since: told, and off the list; nothing else changes.
    QVERIFY(QFile::remove(files.at(4)));
    action(*window, QStringLiteral("recentFile3"))->trigger();
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().text, QStringLiteral("文件 %1 已不存在，已从最近的文件中移除。").arg(files.at(4)));
    QCOMPARE(window->squelchLevel(), QStringLiteral("4"));
    QCOMPARE(recentCaptions(*window), (QStringList{"&1 set4.doc", "&2 set6.doc", "&3 set3.doc", "&4 set2.doc"}));
    QCOMPARE(RecentFiles::load(*ProgramSettings::open()).paths().size(), 4);
}

QTEST_MAIN(tst_WindowSettings)
#include "tst_windowsettings.moc"
