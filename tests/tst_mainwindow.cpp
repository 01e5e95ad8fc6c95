#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/channels/channelgrid.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void designTimeState();
    void menuCaptions_data();
    void menuCaptions();
    void statusLineClearsOnEleventhTick();
    void statusLineClearsInRealTime();
    void activityLocksOutEverything_data();
    void activityLocksOutEverything();
    void exitClosesOtherWindows();
    void squelchCheck_data();
    void squelchCheck();
    void squelchCheckOnAssignment();
    void beatChoiceSetsCurrentRow();

private:
    QAction *action(const char *name) const { return m_window->findChild<QAction *>(QString::fromUtf8(name)); }

    QTemporaryDir m_dir;
    std::unique_ptr<PseudoTerminal> m_radio;
    std::unique_ptr<RecordedMessages> m_messages;
    std::unique_ptr<MainWindow> m_window;
};

void tst_MainWindow::init()
{
    m_radio = std::make_unique<PseudoTerminal>();
    m_messages = std::make_unique<RecordedMessages>();
    m_window = Startup::run(m_dir.filePath(QStringLiteral("qz3300E.mdb")), PortTable({m_radio->devicePath()}));
    QVERIFY(m_window);
}

void tst_MainWindow::cleanup()
{
    m_window.reset();
    m_messages.reset();
    m_radio.reset();
}

void tst_MainWindow::designTimeState()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("启动窗体"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("QZ300 版本 [ A 1.1 ]"));
    const struct
    {
        const char *name;
        const char *text;
    } labels[] = {{"Label1", "信道设置系统"}, {"Label2", " "}, {"Label3", "(QZ_3300)"}, {"Label4", "静噪级别："}, {"Label5", "拍频:"}};
    for (const auto &label : labels) {
        auto *widget = m_window->findChild<QLabel *>(QString::fromUtf8(label.name));
        QVERIFY2(widget, label.name);
        QCOMPARE(widget->text(), QString::fromUtf8(label.text));
    }
    QCOMPARE(m_window->squelchBox()->currentText(), QStringLiteral("3"));
    QCOMPARE(m_window->squelchBox()->count(), 10);
    QCOMPARE(m_window->squelchBox()->itemText(5), QStringLiteral("  5"));
    // The beat box shows the flag of the current row, the first: empty in a new table.
    QCOMPARE(m_window->shiftBox()->currentText(), QString());
    QCOMPARE(m_window->shiftBox()->itemText(2), QStringLiteral("  "));
    QCOMPARE(m_window->channelGrid()->model()->rowCount(), 16);
    for (const char *name : {"Timer1", "Timer2", "Timer3", "Timer4"})
        QVERIFY2(m_window->findChild<QTimer *>(QString::fromUtf8(name)), name);
    QCOMPARE(m_window->writePacingTimer().interval(), 300);
    QCOMPARE(m_window->statusClearTimer().interval(), 100);
    QCOMPARE(m_window->readArmTimer().interval(), 100);
}

void tst_MainWindow::menuCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("topLevel");
    QTest::newRow("文件") << "文件" << "       文件(&F)" << true;
    QTest::newRow("打开") << "打开" << "打开文件(&O)" << false;
    QTest::newRow("保存") << "保存" << "保存文件(&V)" << false;
    QTest::newRow("读信道") << "读信道" << "        读信道数据(&R)" << true;
    QTest::newRow("写信道") << "写信道" << "        写信道数据(&W)" << true;
    QTest::newRow("端口") << "端口" << "       选择端口(&P)" << true;
    QTest::newRow("退出") << "退出" << "       退出系统(&E)" << true;
    QTest::newRow("帮助") << "帮助" << "       帮助(&H)" << true;
    QTest::newRow("操作") << "操作" << "操作说明(&I)" << false;
    QTest::newRow("关于") << "关于" << "关于本软件(&A)" << false;
}

void tst_MainWindow::menuCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, topLevel);
    auto *item = m_window->findChild<QAction *>(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QVERIFY(item->isEnabled());
    QCOMPARE(m_window->menuBar()->actions().contains(item), topLevel);
}

void tst_MainWindow::statusLineClearsOnEleventhTick()
{
    m_window->setStatusText(QStringLiteral("数据传送完毕..."));
    m_window->startStatusClearing();
    m_window->statusClearTimer().stop(); // tick by hand
    for (int tick = 1; tick <= 10; ++tick) {
        m_window->statusClearTick();
        QCOMPARE(m_window->statusText(), QStringLiteral("数据传送完毕..."));
    }
    m_window->statusClearTimer().start();
    m_window->statusClearTick();
    QCOMPARE(m_window->statusText(), QString());
    QVERIFY(!m_window->statusClearTimer().isActive());

    // The counter started again from zero: the next run also lasts 11 ticks.
    m_window->setStatusText(QStringLiteral("x"));
    for (int tick = 1; tick <= 10; ++tick)
        m_window->statusClearTick();
    QCOMPARE(m_window->statusText(), QStringLiteral("x"));
    m_window->statusClearTick();
    QCOMPARE(m_window->statusText(), QString());
}

void tst_MainWindow::statusLineClearsInRealTime()
{
    m_window->setStatusText(QStringLiteral("读出信道数据完毕！"));
    m_window->startStatusClearing();
    QTest::qWait(500);
    QCOMPARE(m_window->statusText(), QStringLiteral("读出信道数据完毕！"));
    QVERIFY(QTest::qWaitFor([&] { return m_window->statusText().isEmpty(); }, 5000));
    QVERIFY(!m_window->statusClearTimer().isActive());
}

void tst_MainWindow::activityLocksOutEverything_data()
{
    QTest::addColumn<MainWindow::Activity>("activity");
    QTest::newRow("writing") << MainWindow::Activity::Writing;
    QTest::newRow("reading") << MainWindow::Activity::Reading;
}

void tst_MainWindow::activityLocksOutEverything()
{
    QFETCH(MainWindow::Activity, activity);
    const char *names[] = {"文件", "打开", "保存", "读信道", "写信道", "端口", "退出", "帮助"};
    m_window->setActivity(activity);
    for (const char *name : names)
        QVERIFY2(!action(name)->isEnabled(), name);
    QVERIFY(!m_window->channelGrid()->isEnabled());
    QVERIFY(!m_window->squelchBox()->isEnabled());
    QVERIFY(!m_window->shiftBox()->isEnabled());

    m_window->setActivity(MainWindow::Activity::Idle);
    for (const char *name : names)
        QVERIFY2(action(name)->isEnabled(), name);
    QVERIFY(m_window->channelGrid()->isEnabled());
    QVERIFY(m_window->squelchBox()->isEnabled());
    QVERIFY(m_window->shiftBox()->isEnabled());
}

void tst_MainWindow::exitClosesOtherWindows()
{
    auto *other = new QWidget(m_window.get(), Qt::Window);
    other->show();
    m_window->adoptWindow(other);
    QVERIFY(other->isVisible());
    action("退出")->trigger();
    QVERIFY(!m_window->isVisible());
    QVERIFY(!other->isVisible());
    QVERIFY(m_messages->isEmpty());
}

void tst_MainWindow::squelchCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("10 refused") << "10" << "3";
    QTest::newRow("9.5 refused") << "9.5" << "3";
    QTest::newRow("9 accepted") << "9" << "9";
    QTest::newRow("-1 accepted") << "-1" << "-1";
    QTest::newRow("letters accepted") << "ab" << "ab";
    QTest::newRow("blank before 12 refused") << " 12" << "3";
}

void tst_MainWindow::squelchCheck()
{
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QComboBox *box = m_window->squelchBox();
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), typed);
    QCOMPARE(box->currentText(), after);
    const bool refused = after != typed;
    QCOMPARE(m_messages->count(), refused ? 1 : 0);
    if (refused) {
        QCOMPARE(m_messages->last().text, QStringLiteral("静燥级别不可大于 9 ！！！"));
        QCOMPARE(m_messages->last().title, QStringLiteral("错误警告"));
        QCOMPARE(m_messages->last().icon, Messages::Icon::Warning);
    }
}

void tst_MainWindow::squelchCheckOnAssignment()
{
    m_window->setSquelchLevel(QStringLiteral("12"));
    QCOMPARE(m_window->squelchLevel(), QStringLiteral("3"));
    QCOMPARE(m_messages->count(), 1);

    m_window->setSquelchLevel(QStringLiteral("  7"));
    QCOMPARE(m_window->squelchLevel(), QStringLiteral("  7"));
    m_window->squelchBox()->setCurrentIndex(9);
    QCOMPARE(m_window->squelchLevel(), QStringLiteral("  9"));
    QCOMPARE(m_messages->count(), 1);
}

void tst_MainWindow::beatChoiceSetsCurrentRow()
{
    ChannelTable &table = m_window->channelTable();
    QComboBox *beat = m_window->shiftBox();
    table.moveTo(4);
    beat->setCurrentIndex(1);
    emit beat->activated(1);
    QCOMPARE(table.channel(4).bt, QVariant(QStringLiteral("on")));
    for (int row = 0; row < 16; ++row) {
        if (row != 4)
            QCOMPARE(table.channel(row).bt, emptyText());
    }
    QCOMPARE(m_window->channelGrid()->model()->index(4, 3).data().toString(), QStringLiteral("on"));

    table.moveTo(6);
    QCOMPARE(beat->currentText(), QString()); // the box follows the row: row 7 has no flag
    table.moveTo(4);
    QCOMPARE(beat->currentText(), QStringLiteral("on"));
    table.moveTo(6);
    beat->setCurrentIndex(2);
    emit beat->activated(2);
    QCOMPARE(table.channel(6).bt, QVariant(QStringLiteral("  ")));

    // Typing without picking changes nothing.
    table.moveTo(7);
    beat->lineEdit()->setText(QStringLiteral("on"));
    QCOMPARE(table.channel(7).bt, emptyText());
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
