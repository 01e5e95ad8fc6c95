#include "databaselock.h"
#include "realboxes.h"
#include "windowonradio.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <optional>

class tst_StatusLine : public QObject
{
    Q_OBJECT

private slots:
    void completionTextKeepsItsTime_data();
    void completionTextKeepsItsTime();
    void newTransferStopsTheClearing();
    void pollResumesAfterFailureBox_data();
    void pollResumesAfterFailureBox();
};

namespace {

const QString Ready = QStringLiteral("对讲机就绪...");

} // namespace

void tst_StatusLine::completionTextKeepsItsTime_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("completion");
    QTest::newRow("read") << "读信道" << "读出信道数据完毕！";
    QTest::newRow("write") << "写信道" << "数据传送完毕...";
}

void tst_StatusLine::completionTextKeepsItsTime()
{
    QFETCH(QString, command);
    QFETCH(QString, completion);
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    QTRY_COMPARE_WITH_TIMEOUT(rig.window->statusText(), Ready, 5000);

    QElapsedTimer shown;
    const auto ended = [&] { shown.start(); };
    connect(rig.reader(), &ReadTransfer::finished, this, ended);
    connect(rig.writer(), &WriteTransfer::finished, this, ended);
    rig.action(command.toUtf8().constData())->trigger();
    QVERIFY(QTest::qWaitFor([&] { return shown.isValid(); }, 30000));
    QCOMPARE(rig.window->statusText(), completion);

    // The radio answers the poll at once; its text waits until the completion text has had its
    // eleven ticks of 100 ms.
    QVERIFY(QTest::qWaitFor([&] { return rig.window->statusText() != completion; }, 5000));
    const qint64 held = shown.elapsed();
    QVERIFY2(held >= 1000, qPrintable(QStringLiteral("held for %1 ms").arg(held)));
    QCOMPARE(rig.window->statusText(), Ready);
    QVERIFY(!rig.window->poll().isRunning());
    QVERIFY(rig.messages.isEmpty());
}

void tst_StatusLine::newTransferStopsTheClearing()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    QSignalSpy readDone(rig.reader(), &ReadTransfer::finished);
    rig.action("读信道")->trigger();
    QVERIFY(readDone.wait(30000));
    QCOMPARE(rig.window->statusText(), QStringLiteral("读出信道数据完毕！"));

    // Written straight after the read: the read's clearing must not wipe the write's text.
    QSignalSpy writeDone(rig.writer(), &WriteTransfer::finished);
    rig.action("写信道")->trigger();
    QCOMPARE(rig.window->statusText(), QStringLiteral("正在传送数据,,,,,,,"));
    QTest::qWait(1600);
    QVERIFY(rig.writer()->isRunning());
    QCOMPARE(rig.window->statusText(), QStringLiteral("正在传送数据,,,,,,,"));
    QVERIFY(writeDone.wait(30000));
    QCOMPARE(rig.window->statusText(), QStringLiteral("数据传送完毕..."));
}

void tst_StatusLine::pollResumesAfterFailureBox_data()
{
    QTest::addColumn<bool>("lockDatabase");
    QTest::addColumn<bool>("realBoxes");
    QTest::addColumn<QString>("message");
    QTest::newRow("radio stops after 7 frames") << false << false << "读数错误！！";
    QTest::newRow("radio stops after 7 frames, real box") << false << true << "读数错误！！";
    QTest::newRow("database locked at the end of the read, real box") << true << true << "无法存入数据库";
}

void tst_StatusLine::pollResumesAfterFailureBox()
{
    // The radio answers the poll while the box is up: after OK the line must not stay empty with
    // the poll stopped.
    QFETCH(bool, lockDatabase);
    QFETCH(bool, realBoxes);
    QFETCH(QString, message);
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    if (!lockDatabase)
        rig.radio.setStopAfterFrames(7);
    std::unique_ptr<DatabaseLock> lock;
    if (lockDatabase) {
        lock = std::make_unique<DatabaseLock>(rig.table().path());
        QVERIFY(lock->isLocked());
    }
    const ChannelList before = rig.table().channels();
    std::optional<RealBoxes> real;
    if (realBoxes)
        real.emplace(600);
    else
        rig.messages.onNext([](const Messages::Message &) { QTest::qWait(600); });

    QSignalSpy failed(rig.reader(), &ReadTransfer::failed);
    rig.action("读信道")->trigger();
    QVERIFY(failed.wait(30000));
    const QStringList texts = real ? real->texts() : rig.messages.texts();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts.first().contains(message), qPrintable(texts.first()));
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    QCOMPARE(rig.table().channels(), before);
    QTRY_COMPARE_WITH_TIMEOUT(rig.window->statusText(), Ready, 3000);
    QTRY_VERIFY(!rig.window->poll().isRunning());
}

QTEST_MAIN(tst_StatusLine)
#include "tst_statusline.moc"
