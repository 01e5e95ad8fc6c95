#include "windowonradio.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

class tst_PortLoss : public QObject
{
    Q_OBJECT

private slots:
    void transfersRefusedWithoutPort_data();
    void transfersRefusedWithoutPort();
    void cablePulledWhileIdleAndPluggedBack();
};

void tst_PortLoss::transfersRefusedWithoutPort_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("cablePulled");
    QTest::addColumn<QString>("says");
    QTest::newRow("read, port closed") << "读信道" << false << "串行端口没有打开，无法读信道！";
    QTest::newRow("write, port closed") << "写信道" << false << "串行端口没有打开，无法写信道！";
    QTest::newRow("read, cable pulled") << "读信道" << true << "已断开，无法读信道！";
    QTest::newRow("write, cable pulled") << "写信道" << true << "已断开，无法写信道！";
}

void tst_PortLoss::transfersRefusedWithoutPort()
{
    QFETCH(QString, command);
    QFETCH(bool, cablePulled);
    QFETCH(QString, says);
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    const QString device = rig.radio.devicePath();
    if (cablePulled) {
        rig.radio.hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.window->serialLink().isOpen(), 5000);
        QCOMPARE(rig.messages.count(), 1);
    } else {
        rig.window->serialLink().close();
    }
    rig.messages.clear();
    const ChannelList before = rig.table().channels();

    rig.action(command.toUtf8().constData())->trigger();
    QCOMPARE(rig.messages.count(), 1);
    const Messages::Message told = rig.messages.last();
    QVERIFY2(told.text.contains(says), qPrintable(told.text));
    if (cablePulled)
        QVERIFY2(told.text.contains(QStringLiteral("COM1（%1）").arg(device)), qPrintable(told.text));
    QCOMPARE(told.icon, Messages::Icon::Warning);
    QVERIFY(!rig.writer()->isRunning());
    QVERIFY(!rig.reader()->isRunning());
    QVERIFY(!rig.window->readArmTimer().isActive());
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    QVERIFY(rig.controlsEnabled());
    // No "读数错误！！" turns up later either.
    QTest::qWait(2500);
    QCOMPARE(rig.messages.count(), 1);
    QCOMPARE(rig.table().channels(), before);
}

void tst_PortLoss::cablePulledWhileIdleAndPluggedBack()
{
    // COM1 is a link that is pointed at a new pseudo-terminal, as a replugged adapter gets its
    // device node again. The name is the lock file's name too: unique to this process.
    QTemporaryDir links;
    const QString link = links.filePath(QStringLiteral("qz300-radio-%1").arg(QCoreApplication::applicationPid()));
    QTemporaryDir data;
    RecordedMessages messages;
    auto first = std::make_unique<FakeRadio>();
    QVERIFY(QFile::link(first->devicePath(), link));
    auto window = Startup::run(data.filePath(Startup::databaseFileName()), PortTable({link}));
    QVERIFY(window);
    QTRY_COMPARE_WITH_TIMEOUT(window->statusText(), QStringLiteral("对讲机就绪..."), 5000);

    first->hangUp();
    QTRY_VERIFY_WITH_TIMEOUT(!window->serialLink().isOpen(), 5000);
    QCOMPARE(messages.count(), 1);
    QVERIFY2(messages.last().text.contains(QStringLiteral("COM1（%1）").arg(link)), qPrintable(messages.last().text));
    QVERIFY2(messages.last().text.contains(QStringLiteral("已断开")), qPrintable(messages.last().text));
    QCOMPARE(messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(window->statusText(), QStringLiteral("端口已断开..."));

    // Nothing there for a while: it keeps waiting quietly.
    QTest::qWait(2500);
    QVERIFY(!window->serialLink().isOpen());
    QCOMPARE(messages.count(), 1);
    QCOMPARE(window->statusText(), QStringLiteral("端口已断开..."));

    FakeRadio second;
    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link(second.devicePath(), link));
    QTRY_VERIFY_WITH_TIMEOUT(window->serialLink().isOpen(), 5000);
    QCOMPARE(window->serialLink().portNumber(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(window->statusText(), QStringLiteral("对讲机就绪..."), 5000);
    QCOMPARE(messages.count(), 1);

    // And the link works again: a read from the new radio.
    ReadTransfer *reader = window->findChild<ReadTransfer *>();
    QSignalSpy finished(reader, &ReadTransfer::finished);
    window->findChild<QAction *>(QStringLiteral("读信道"))->trigger();
    QVERIFY(finished.wait(20000));
    QCOMPARE(messages.count(), 1);
}

QTEST_MAIN(tst_PortLoss)
#include "tst_portloss.moc"
