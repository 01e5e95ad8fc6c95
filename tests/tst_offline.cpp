#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "core/radio/readinesspoll.h"
#include "core/serial/seriallink.h"
#include "fakeradio.h"
#include "recordedmessages.h"
#include "window/channels/channelgrid.h"
#include "window/files/filedialogs.h"
#include "window/radio/portdialog.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <memory>

// qz300 --offline: the window without a serial port, until one is chosen through 选择端口.
class tst_Offline : public QObject
{
    Q_OBJECT

private slots:
    void startsWithoutPort_data();
    void startsWithoutPort();
    void menuBarShowsWhy();
    void fileOpensOffline();
    void portDialogEndsOffline_data();
    void portDialogEndsOffline();
    void probeStartUnchanged();

private:
    std::unique_ptr<MainWindow> start(const QStringList &ports, MainWindow::LinkStart how = MainWindow::LinkStart::Offline)
    {
        return Startup::run(m_dir.filePath(QStringLiteral("qz3300E.mdb")), PortTable(ports), how);
    }
    static QAction *action(const MainWindow &window, const char *name)
    {
        return window.findChild<QAction *>(QString::fromUtf8(name));
    }
    static QStringList enabledCommands(const MainWindow &window)
    {
        QStringList names;
        for (const char *name : {"文件", "打开", "保存", "读信道", "写信道", "端口", "退出", "帮助"}) {
            if (action(window, name)->isEnabled())
                names << QString::fromUtf8(name);
        }
        return names;
    }

    QTemporaryDir m_dir;
};

namespace {

const QString WhyGreyed = QStringLiteral("离线编辑：没有打开串行端口。请先用“选择端口”选择连接对讲机的端口。");
const QStringList AllCommands{"文件", "打开", "保存", "读信道", "写信道", "端口", "退出", "帮助"};
const QStringList EditingCommands{"文件", "打开", "保存", "端口", "退出", "帮助"};

} // namespace

void tst_Offline::startsWithoutPort_data()
{
    QTest::addColumn<bool>("radioPresent");
    QTest::newRow("a radio on COM1 is left alone") << true;
    QTest::newRow("no port at all") << false;
}

void tst_Offline::startsWithoutPort()
{
    QFETCH(bool, radioPresent);
    RecordedMessages messages;
    FakeRadio radio;
    auto window = start(radioPresent ? QStringList{radio.devicePath()} : QStringList{});
    QVERIFY(window);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(u'|')));
    QVERIFY(window->isVisible());
    QVERIFY(window->isOffline());
    QVERIFY(!window->serialLink().isOpen());
    QVERIFY(!window->poll().isRunning());

    QCOMPARE(enabledCommands(*window), EditingCommands);
    QCOMPARE(action(*window, "读信道")->toolTip(), WhyGreyed);
    QCOMPARE(action(*window, "写信道")->toolTip(), WhyGreyed);
    QVERIFY(window->channelGrid()->isEnabled());
    QVERIFY(window->squelchBox()->isEnabled());
    QCOMPARE(window->statusText(), QStringLiteral("离线编辑：未打开串行端口"));

    // Nothing goes to the radio: the port was never opened.
    QTest::qWait(400);
    QCOMPARE(radio.received(), QByteArray());
}

void tst_Offline::menuBarShowsWhy()
{
    RecordedMessages messages;
    auto window = start({});
    QVERIFY(window);
    QMenuBar *bar = window->menuBar();
    for (const char *name : {"读信道", "写信道"}) {
        QAction *greyed = action(*window, name);
        const QRect place = bar->actionGeometry(greyed);
        QVERIFY(place.isValid());
        QHelpEvent help(QEvent::ToolTip, place.center(), bar->mapToGlobal(place.center()));
        QApplication::sendEvent(bar, &help);
        QTRY_COMPARE(QToolTip::text(), WhyGreyed);
        QToolTip::hideText();
        QTRY_VERIFY(QToolTip::text().isEmpty());
    }
    // A command with nothing to explain shows no tooltip that would only repeat its caption.
    const QRect place = bar->actionGeometry(action(*window, "端口"));
    QHelpEvent help(QEvent::ToolTip, place.center(), bar->mapToGlobal(place.center()));
    QApplication::sendEvent(bar, &help);
    QTest::qWait(100);
    QCOMPARE(QToolTip::text(), QString());
}

void tst_Offline::fileOpensOffline()
{
    RecordedMessages messages;
    auto window = start({});
    QVERIFY(window);
    QByteArray content("7,");
    for (int k = 1; k <= 16; ++k)
        content += QByteArray::number(140 + k) + ".5," + QByteArray::number(150 + k) + ".25,on,";
    const QString file = m_dir.filePath(QStringLiteral("plan.doc"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    const auto previous = FileDialogs::setHandler([&](QWidget *, const FileDialogs::Request &) { return file; });
    action(*window, "打开")->trigger();
    FileDialogs::setHandler(previous);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(u'|')));
    QCOMPARE(window->squelchLevel(), QStringLiteral("7"));
    const ChannelRecord first = window->channelTable().channel(0);
    QCOMPARE(first.rf.toString(), QStringLiteral("141.50000"));
    QCOMPARE(first.tf.toString(), QStringLiteral("151.25000"));
    const ChannelRecord last = window->channelTable().channel(15);
    QCOMPARE(last.rf.toString(), QStringLiteral("156.50000"));
    QCOMPARE(last.bt.toString(), QStringLiteral("on"));
    // Still offline: loading a file touches no port.
    QVERIFY(window->isOffline());
    QCOMPARE(enabledCommands(*window), EditingCommands);
}

void tst_Offline::portDialogEndsOffline_data()
{
    // Ports: COM1 a radio, COM2 a missing device.
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("online");
    QTest::addColumn<QString>("message");
    QTest::newRow("OK on COM1") << "ok" << 1 << true << QString();
    QTest::newRow("OK on COM2, which does not open") << "ok" << 2 << false << QStringLiteral("选用的串行端口 无效！ ");
    QTest::newRow("OK with nothing chosen") << "ok" << 0 << false << QString();
    QTest::newRow("Cancel") << "cancel" << 1 << false << QString();
    QTest::newRow("close box") << "close" << 1 << false << QString();
}

void tst_Offline::portDialogEndsOffline()
{
    QFETCH(QString, button);
    QFETCH(int, option);
    QFETCH(bool, online);
    QFETCH(QString, message);
    RecordedMessages messages;
    FakeRadio radio;
    auto window = start({radio.devicePath(), QStringLiteral("/nonexistent/ttyQZ2")});
    QVERIFY(window);

    action(*window, "端口")->trigger();
    auto *dialog = window->findChild<PortDialog *>(QStringLiteral("Dialog"));
    QVERIFY(dialog);
    // Offline there is no port in use to preselect; COM1 opens, COM2 does not.
    for (int n = 1; n <= 8; ++n)
        QVERIFY2(!dialog->option(n)->isChecked(), qPrintable(QString::number(n)));
    QVERIFY(dialog->option(1)->isEnabled());
    QVERIFY(!dialog->option(2)->isEnabled());
    // Loading tried the ports and left the link as it was: on no port.
    QVERIFY(!window->serialLink().isOpen());

    if (option > 0)
        dialog->option(option)->setChecked(true);
    if (button == u"ok")
        dialog->okButton()->click();
    else if (button == u"cancel")
        dialog->cancelButton()->click();
    else
        dialog->close();
    QTRY_VERIFY(!window->findChild<PortDialog *>(QStringLiteral("Dialog")));
    QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});

    QCOMPARE(window->isOffline(), !online);
    QCOMPARE(window->serialLink().isOpen(), online);
    QCOMPARE(enabledCommands(*window), online ? AllCommands : EditingCommands);
    QCOMPARE(action(*window, "读信道")->toolTip(), online ? QStringLiteral("读信道数据(R)") : WhyGreyed);
    if (online) {
        // The poll started as after any port choice, and the radio answers it.
        QTRY_COMPARE_WITH_TIMEOUT(window->statusText(), QStringLiteral("对讲机就绪..."), 5000);
        QVERIFY(radio.received().startsWith("C"));
    } else {
        QTest::qWait(300);
        QVERIFY(!window->poll().isRunning());
        QCOMPARE(radio.received(), QByteArray());
    }
}

void tst_Offline::probeStartUnchanged()
{
    // Without the option, no port asks; 退出 is still the end.
    RecordedMessages messages;
    messages.answerNext(1);
    auto window = start({QStringLiteral("/nonexistent/ttyQZ1")}, MainWindow::LinkStart::ProbePorts);
    QVERIFY(!window);
    QCOMPARE(messages.questions().size(), 1);
    QCOMPARE(messages.lastQuestion().text, QStringLiteral("无串行端口可用。可以离线编辑信道表，或退出。"));
    QCOMPARE(messages.lastQuestion().title, QStringLiteral("系统信息"));
}

QTEST_MAIN(tst_Offline)
#include "tst_offline.moc"
