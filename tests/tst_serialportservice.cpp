#include "app/serialportservice.h"
#include "pseudoterminal.h"

#include <QSignalSpy>
#include <QTest>

class tst_SerialPortService : public QObject
{
    Q_OBJECT

private slots:
    void oneCharacterPerRead();
    void sendsWithoutTerminator();
    void openFaults_data();
    void openFaults();
    void hangUpClosesOnce();
};

void tst_SerialPortService::oneCharacterPerRead()
{
    PseudoTerminal radio;
    SerialPortService port(PortTable({radio.devicePath()}));
    port.setPortOpen(true);
    QVERIFY(port.PortOpen());

    radio.write("XY");
    QVERIFY(QTest::qWaitFor([&] { return port.InBufferCount() == 2; }, 5000));
    QCOMPARE(port.Input(), QStringLiteral("X"));
    QCOMPARE(port.InBufferCount(), 1);
    QCOMPARE(port.Input(), QStringLiteral("Y"));
    QCOMPARE(port.InBufferCount(), 0);
    QCOMPARE(port.Input(), QString());
}

void tst_SerialPortService::sendsWithoutTerminator()
{
    PseudoTerminal radio;
    SerialPortService port(PortTable({radio.devicePath()}));
    port.setPortOpen(true);
    port.Output("A");
    port.Output("0123");
    QTest::qWait(50);
    QCOMPARE(radio.readFor(2000, 5), QByteArray("A0123"));
}

void tst_SerialPortService::openFaults_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<SerialPortService::OpenFault>("fault");
    QTest::newRow("no device for the number") << "none" << SerialPortService::OpenFault::NoDevice;
    QTest::newRow("device missing") << "missing" << SerialPortService::OpenFault::Missing;
    QTest::newRow("held by another program") << "held" << SerialPortService::OpenFault::InUse;
}

void tst_SerialPortService::openFaults()
{
    QFETCH(QString, situation);
    QFETCH(SerialPortService::OpenFault, fault);

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
    SerialPortService port(PortTable({path, radio.devicePath()}));
    port.setPortOpen(true);
    QVERIFY(!port.PortOpen());
    QCOMPARE(port.openFault(), fault);
    QVERIFY(!SerialPortService::describe(fault).isEmpty());

    // The object stays usable for the next number.
    port.setPortOpen(false);
    port.setCommPort(2);
    other.close();
    port.setPortOpen(true);
    QVERIFY(port.PortOpen());
    QCOMPARE(port.openFault(), SerialPortService::OpenFault::None);
}

void tst_SerialPortService::hangUpClosesOnce()
{
    auto radio = std::make_unique<PseudoTerminal>();
    SerialPortService port(PortTable({radio->devicePath()}));
    QSignalSpy failed(&port, &SerialPortService::failed);
    port.setPortOpen(true);
    QVERIFY(port.PortOpen());
    port.Output("C");
    radio.reset();
    // Reading or writing on a hung-up line makes the port fail; it must close and say so once.
    for (int i = 0; i < 20 && failed.isEmpty(); ++i) {
        port.Output("C");
        QTest::qWait(50);
    }
    QTest::qWait(200);
    QCOMPARE(failed.count(), 1);
    QVERIFY(!port.PortOpen());
    QCOMPARE(port.Input(), QString());
}

QTEST_GUILESS_MAIN(tst_SerialPortService)
#include "tst_serialportservice.moc"
