#include "core/serial/seriallink.h"
#include "pseudoterminal.h"

#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

class tst_SerialLink : public QObject
{
    Q_OBJECT

private slots:
    void oneCharacterPerRead();
    void gathersPacedCharacters_data();
    void gathersPacedCharacters();
    void sendsWithoutTerminator();
    void openFaults_data();
    void openFaults();
    void hangUpClosesOnce();
};

void tst_SerialLink::oneCharacterPerRead()
{
    PseudoTerminal radio;
    SerialLink port(PortTable({radio.devicePath()}));
    port.open();
    QVERIFY(port.isOpen());

    radio.write("XY");
    QVERIFY(QTest::qWaitFor([&] { return port.waitingCount() == 2; }, 5000));
    QCOMPARE(port.takeChar(), QStringLiteral("X"));
    QCOMPARE(port.waitingCount(), 1);
    QCOMPARE(port.takeChar(), QStringLiteral("Y"));
    QCOMPARE(port.waitingCount(), 0);
    QCOMPARE(port.takeChar(), QString());
}

void tst_SerialLink::gathersPacedCharacters_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("spacingMs");
    // The radio's own pace, and a line that sends faster than the gathering lasts.
    QTest::newRow("a frame at 1200 baud") << QByteArray("05010000411200005514") << 8;
    QTest::newRow("a character every 2 ms") << QByteArray("C0123456789012345678901234567890C") << 2;
    QTest::newRow("four frames at 1200 baud") << QByteArray("05010000411200005514").repeated(4) << 8;
}

void tst_SerialLink::gathersPacedCharacters()
{
    QFETCH(QByteArray, line);
    QFETCH(int, spacingMs);
    PseudoTerminal radio;
    SerialLink port(PortTable({radio.devicePath()}));
    port.open();
    QVERIFY(port.isOpen());

    // What the line costs the event thread: each time Qt's read notifier fires, the program wakes.
    int notifierWakes = 0;
    struct WakeCounter : QObject
    {
        int &count;
        explicit WakeCounter(int &counter) : count(counter) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::SockAct)
                ++count;
            return false;
        }
    } wakeCounter(notifierWakes);
    for (QSocketNotifier *notifier : port.findChildren<QSocketNotifier *>())
        if (notifier->type() == QSocketNotifier::Read)
            notifier->installEventFilter(&wakeCounter);

    QByteArray received;
    int handOvers = 0;
    connect(&port, &SerialLink::readyRead, this, [&] {
        ++handOvers;
        received += port.takeInput();
    });
    QTimer pacer;
    pacer.setTimerType(Qt::PreciseTimer);
    qsizetype sent = 0;
    connect(&pacer, &QTimer::timeout, this, [&] {
        radio.write(line.mid(sent, 1));
        if (++sent == line.size())
            pacer.stop();
    });
    pacer.start(spacingMs);
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), line.size(), 5000);
    QCOMPARE(received, line);
    // One wake-up of the reader for each character is what the gathering saves.
    QVERIFY2(handOvers * 2 <= line.size(), qPrintable(QStringLiteral("%1 signals for %2 characters").arg(handOvers).arg(line.size())));
    // A line that keeps sending is gathered on with the notifier at rest: it fires once a
    // gathering, not also for the gathering's first character.
    QVERIFY2(notifierWakes <= handOvers + 2, qPrintable(QStringLiteral("%1 notifier wakes for %2 hand-overs").arg(notifierWakes).arg(handOvers)));
    QTest::qWait(3 * SerialLink::GatherMs);
    QCOMPARE(received, line);
}

void tst_SerialLink::sendsWithoutTerminator()
{
    PseudoTerminal radio;
    SerialLink port(PortTable({radio.devicePath()}));
    port.open();
    port.send("A");
    port.send("0123");
    QTest::qWait(50);
    QCOMPARE(radio.readFor(2000, 5), QByteArray("A0123"));
}

void tst_SerialLink::openFaults_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<SerialLink::OpenFault>("fault");
    QTest::newRow("no device for the number") << "none" << SerialLink::OpenFault::NoDevice;
    QTest::newRow("device missing") << "missing" << SerialLink::OpenFault::Missing;
    QTest::newRow("held by another program") << "held" << SerialLink::OpenFault::InUse;
}

void tst_SerialLink::openFaults()
{
    QFETCH(QString, situation);
    QFETCH(SerialLink::OpenFault, fault);

    PseudoTerminal radio;
    QSerialPort other;
    QString path;
    if (situation == QLatin1String("missing")) {
        path = QStringLiteral("/nonexistent/ttyQZ0");
    } else if (situation == QLatin1String("held")) {
        path = radio.devicePath();
        other.setPortName(path);
        QVERIFY(other.open(QIODevice::ReadWrite));
    }
    SerialLink port(PortTable({path, radio.devicePath()}));
    port.open();
    QVERIFY(!port.isOpen());
    QCOMPARE(port.openFault(), fault);
    QVERIFY(!SerialLink::describe(fault).isEmpty());

    // The object stays usable for the next number.
    port.close();
    port.setPortNumber(2);
    other.close();
    port.open();
    QVERIFY(port.isOpen());
    QCOMPARE(port.openFault(), SerialLink::OpenFault::None);
}

void tst_SerialLink::hangUpClosesOnce()
{
    auto radio = std::make_unique<PseudoTerminal>();
    SerialLink port(PortTable({radio->devicePath()}));
    QSignalSpy failed(&port, &SerialLink::failed);
    port.open();
    QVERIFY(port.isOpen());
    port.send("C");
    radio.reset();
    // Reading or writing on a hung-up line makes the port fail; it must close and say so once.
    for (int i = 0; i < 20 && failed.isEmpty(); ++i) {
        port.send("C");
        QTest::qWait(50);
    }
    QTest::qWait(200);
    QCOMPARE(failed.count(), 1);
    QVERIFY(!port.isOpen());
    QCOMPARE(port.takeChar(), QString());
}

QTEST_GUILESS_MAIN(tst_SerialLink)
#include "tst_seriallink.moc"
