#include "core/radio/radioscan.h"
#include "windowonradio.h"

#include <QSignalSpy>
#include <QTest>

class tst_ReadinessPoll : public QObject
{
    Q_OBJECT

private slots:
    void silentRadioGetsOneCPerTick();
    void radioAnswers();
    void waitingCharacters_data();
    void waitingCharacters();
    void scanFindsTheAnsweringRadio();
};

void tst_ReadinessPoll::silentRadioGetsOneCPerTick()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    rig.radio.setSilent(true);
    int ticks = 0;
    connect(&rig.window->poll().timer(), &QTimer::timeout, this, [&] { ++ticks; });

    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 5, 10000);
    rig.window->poll().stop();
    QTRY_COMPARE_WITH_TIMEOUT(rig.radio.received().size(), qsizetype(ticks), 5000);
    QCOMPARE(rig.radio.received(), QByteArray(ticks, 'C'));
    QCOMPARE(rig.window->statusText(), QStringLiteral(" "));
}

void tst_ReadinessPoll::radioAnswers()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    QTRY_COMPARE_WITH_TIMEOUT(rig.window->statusText(), QStringLiteral("对讲机就绪..."), 5000);
    QVERIFY(!rig.window->poll().isRunning());
    rig.radio.clearReceived();
    QTest::qWait(400);
    QCOMPARE(rig.radio.received(), QByteArray());
}

void tst_ReadinessPoll::waitingCharacters_data()
{
    QTest::addColumn<QByteArray>("waiting");
    QTest::addColumn<bool>("ready");
    QTest::newRow("X, Y and C") << QByteArray("XYC") << true;
    QTest::newRow("X and Y only") << QByteArray("XY") << false;
    QTest::newRow("lower-case c") << QByteArray("c") << false;
    QTest::newRow("C after a run of noise") << QByteArray(500, '\x7f') + 'C' << true;
}

void tst_ReadinessPoll::waitingCharacters()
{
    QFETCH(QByteArray, waiting);
    QFETCH(bool, ready);

    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    rig.radio.setSilent(true);
    ReadinessPoll &poll = rig.window->poll();
    SerialLink &port = rig.window->serialLink();
    QTest::qWait(250);
    poll.stop();
    QTest::qWait(100);
    rig.radio.clearReceived();
    rig.radio.inject(waiting);
    QTRY_COMPARE_WITH_TIMEOUT(port.waitingCount(), int(waiting.size()), 5000);

    poll.start();
    poll.pollTick();
    const bool running = poll.isRunning();
    poll.stop();

    QCOMPARE(running, !ready);
    QCOMPARE(port.waitingCount(), 0);
    QCOMPARE(rig.window->statusText(), ready ? QStringLiteral("对讲机就绪...") : QStringLiteral(" "));
    QTest::qWait(300);
    QCOMPARE(rig.radio.received(), ready ? QByteArray() : QByteArray("C"));
}

void tst_ReadinessPoll::scanFindsTheAnsweringRadio()
{
    // COM1 silent, COM2 answers, COM3 names a missing device, COM4 has none.
    FakeRadio silent;
    silent.setSilent(true);
    FakeRadio answering;
    const PortTable table({silent.devicePath(), answering.devicePath(), QStringLiteral("/nonexistent/ttyQZ3")});
    RadioScan scan(table);
    QSignalSpy finished(&scan, &RadioScan::finished);
    scan.start({1, 2, 3, 4}, 1000);
    QVERIFY(scan.isRunning());
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.count(), 1);
    QVERIFY(!scan.isRunning());
    QCOMPARE(scan.asked(), (QList<int>{1, 2}));
    QCOMPARE(scan.answered(), (QList<int>{2}));
    // The readiness "C" went to both radios that could hear it, and nothing else.
    QVERIFY(silent.received().startsWith("C"));
    QCOMPARE(silent.received(), QByteArray(silent.received().size(), 'C'));
    QVERIFY(answering.received().startsWith("C"));

    // Every port is closed again: another program can take them.
    for (int n : {1, 2}) {
        SerialLink after(table);
        after.setPortNumber(n);
        QVERIFY2(after.open(), qPrintable(QString::number(n)));
    }

    // Nothing that opens: finished at once.
    RadioScan none(table);
    QSignalSpy noneFinished(&none, &RadioScan::finished);
    none.start({3, 4, 5});
    QCOMPARE(noneFinished.count(), 1);
    QVERIFY(none.asked().isEmpty());
}

QTEST_MAIN(tst_ReadinessPoll)
#include "tst_readinesspoll.moc"
