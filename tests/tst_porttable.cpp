#include "core/serial/porttable.h"

#include <QTest>

class tst_PortTable : public QObject
{
    Q_OBJECT

private slots:
    void environmentList();
    void deviceOrder_data();
    void deviceOrder();
    void portNumberOf_data();
    void portNumberOf();
};

void tst_PortTable::environmentList()
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("QZ300_PORTS"), QStringLiteral("/dev/pts/7, ,/dev/ttyUSB0"));
    const PortTable table = PortTable::fromEnvironment(env);
    QCOMPARE(table.devicePath(1), QStringLiteral("/dev/pts/7"));
    QCOMPARE(table.devicePath(2), QString());
    QCOMPARE(table.devicePath(3), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(table.devicePath(4), QString());
    QCOMPARE(table.devicePath(0), QString());
    QCOMPARE(table.devicePath(9), QString());
}

void tst_PortTable::deviceOrder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("usb before on-board") << QStringList{"ttyS0", "ttyS1", "ttyUSB0"}
                                         << QStringList{"/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS1"};
    QTest::newRow("numeric, not text order") << QStringList{"ttyS10", "ttyS2", "ttyUSB1", "ttyUSB0"}
                                             << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS2", "/dev/ttyS10"};
    QTest::newRow("acm between usb and on-board") << QStringList{"ttyS0", "ttyACM0", "ttyUSB0"}
                                                  << QStringList{"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0"};
    QTest::newRow("other devices ignored") << QStringList{"tty0", "ttyUSBx", "console", "ttyS3"} << QStringList{"/dev/ttyS3"};
    QTest::newRow("nothing") << QStringList{} << QStringList{};
}

void tst_PortTable::deviceOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    QCOMPARE(PortTable::fromDeviceNames(names).devices(), expected);
}

void tst_PortTable::portNumberOf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::newRow("COM1") << "COM1" << 1;
    QTest::newRow("lower case") << "com8" << 8;
    QTest::newRow("beyond COM8") << "COM9" << 0;
    QTest::newRow("device path") << "/dev/pts/9" << 2;
    QTest::newRow("unknown path") << "/dev/pts/1" << 0;
    QTest::newRow("empty") << "" << 0;
}

void tst_PortTable::portNumberOf()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    const PortTable table({QStringLiteral("/dev/pts/3"), QStringLiteral("/dev/pts/9"), QString()});
    QCOMPARE(table.portNumberOf(name), number);
}

QTEST_GUILESS_MAIN(tst_PortTable)
#include "tst_porttable.moc"
