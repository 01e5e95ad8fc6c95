#include "core/radio/readinesspoll.h"
#include "core/serial/modemlines.h"
#include "core/serial/portdetails.h"
#include "core/serial/portsurvey.h"
#include "core/serial/seriallink.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/radio/portdialog.h"

#include <QFile>
#include <QRadioButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Which port is the cable: what the port dialog's tooltips and the port listing say of a device,
// stable /dev/serial/by-id names, and the modem lines every open sets.
class tst_PortIdentity : public QObject
{
    Q_OBJECT

private slots:
    void describesDevice_data();
    void describesDevice();
    void stableNameFollowed();
    void modemLinesAtOpen();
    void modemLinesOnPseudoTerminal();
};

namespace {

/// Replaces the system's port information for one test.
class InjectedDetails
{
public:
    explicit InjectedDetails(QHash<QString, PortDetails> byDevice)
        : m_previous(PortDetails::setProvider([byDevice](const QString &device) { return byDevice.value(device); }))
    {
    }
    ~InjectedDetails() { PortDetails::setProvider(m_previous); }

private:
    PortDetails::Provider m_previous;
};

/// Remembers every request to set the lines and leaves the port alone.
class RecordingModemLines : public ModemLines
{
public:
    bool set(QSerialPort &port, bool dataTerminalReady, bool requestToSend) override
    {
        requests << std::pair{dataTerminalReady, requestToSend};
        openWhenSet << port.isOpen();
        return true;
    }
    QList<std::pair<bool, bool>> requests;
    QList<bool> openWhenSet;
};

PortDetails details(const QString &description, const QString &maker, int vendor, int product, const QString &serial)
{
    PortDetails d;
    d.description = description;
    d.manufacturer = maker;
    if (vendor >= 0)
        d.vendorId = quint16(vendor);
    if (product >= 0)
        d.productId = quint16(product);
    d.serialNumber = serial;
    return d;
}

QString tooltipOf(SerialLink &link, int port)
{
    ReadinessPoll poll(link);
    PortDialog dialog(link, poll, {});
    const QString tip = dialog.option(port)->toolTip();
    link.close(); // the dialog's test left the link on its port
    return tip;
}

} // namespace

void tst_PortIdentity::describesDevice_data()
{
    // %1 stands for the device path of COM1; the listing is compared with its runs of blanks
    // made single, since the column width depends on the length of the path.
    QTest::addColumn<PortDetails>("info");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("listed");
    QTest::newRow("FTDI adapter, everything known")
        << details("FT232R USB UART", "FTDI", 0x0403, 0x6001, "A50285BI")
        << "%1\n设备：FT232R USB UART\n厂商：FTDI\nUSB 标识：0403:6001\n序列号：A50285BI"
        << "COM1 %1 opens FT232R USB UART, FTDI, USB 0403:6001, serial A50285BI";
    QTest::newRow("CH340 cable without serial number, small identifiers padded")
        << details("USB Serial", "QinHeng Electronics", 0x1a86, 0x7523, QString())
        << "%1\n设备：USB Serial\n厂商：QinHeng Electronics\nUSB 标识：1a86:7523"
        << "COM1 %1 opens USB Serial, QinHeng Electronics, USB 1a86:7523";
    QTest::newRow("identifiers below 0x1000") << details(QString(), QString(), 0x0403, 0x0001, QString())
                                              << "%1\nUSB 标识：0403:0001"
                                              << "COM1 %1 opens USB 0403:0001";
    QTest::newRow("on-board port, a description only")
        << details("16550A UART", QString(), -1, -1, QString()) << "%1\n设备：16550A UART" << "COM1 %1 opens 16550A UART";
    QTest::newRow("nothing known") << PortDetails() << "%1" << "COM1 %1 opens";
}

void tst_PortIdentity::describesDevice()
{
    QFETCH(PortDetails, info);
    QFETCH(QString, tooltip);
    QFETCH(QString, listed);
    RecordedMessages messages;
    PseudoTerminal cable;
    const QString held = QStringLiteral("/nonexistent/ttyQZ2");
    InjectedDetails injected({{cable.devicePath(), info},
                              {held, details("Missing adapter", "Prolific", 0x067b, 0x2303, "X1")}});
    SerialLink link(PortTable({cable.devicePath(), held}));

    QCOMPARE(tooltipOf(link, 1), tooltip.arg(cable.devicePath()));
    // A port that does not open says why first, then what the system knows of it.
    QCOMPARE(tooltipOf(link, 2), QStringLiteral("/nonexistent/ttyQZ2：设备不存在\n设备：Missing adapter\n厂商：Prolific\n"
                                                 "USB 标识：067b:2303\n序列号：X1"));

    const QStringList lines = PortSurvey::format(PortSurvey::survey(link.ports())).split(u'\n');
    QCOMPARE(lines.size(), 9); // eight ports and the last line end
    QCOMPARE(lines.at(0).simplified(), listed.arg(cable.devicePath()));
    QCOMPARE(lines.at(1).simplified(), QStringLiteral("COM2 /nonexistent/ttyQZ2 missing Missing adapter, Prolific, USB 067b:2303, serial X1"));
    QCOMPARE(lines.at(2), QStringLiteral("COM3  -                     no device"));
}

void tst_PortIdentity::stableNameFollowed()
{
    RecordedMessages messages;
    PseudoTerminal cable;
    QTemporaryDir byId;
    const QString stable = byId.filePath(QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
    QVERIFY(QFile::link(cable.devicePath(), stable));
    const QString gone = byId.filePath(QStringLiteral("usb-Prolific-unplugged"));
    QVERIFY(QFile::link(byId.filePath(QStringLiteral("nothing-here")), gone));
    QCOMPARE(PortTable::resolvedDevice(stable), cable.devicePath());
    QCOMPARE(PortTable::resolvedDevice(gone), gone); // a dangling link stays as named
    QCOMPARE(PortTable::resolvedDevice(cable.devicePath()), cable.devicePath());

    InjectedDetails injected({{stable, details("FT232R USB UART", "FTDI", 0x0403, 0x6001, "A50285BI")}});
    const PortTable table = PortTable::fromList(stable + u',' + gone);
    SerialLink link(table);
    QCOMPARE(table.portNumberOf(stable), 1);

    // The stable name stays visible, with the node it leads to.
    QCOMPARE(tooltipOf(link, 1).section(u'\n', 0, 0), QStringLiteral("%1 → %2").arg(stable, cable.devicePath()));
    QCOMPARE(tooltipOf(link, 2), QStringLiteral("%1：设备不存在").arg(gone));
    const QStringList lines = PortSurvey::format(PortSurvey::survey(table)).split(u'\n');
    QCOMPARE(lines.at(0), QStringLiteral("COM1  %1 -> %2  opens  FT232R USB UART, FTDI, USB 0403:6001, serial A50285BI")
                              .arg(stable, cable.devicePath()));
    QCOMPARE(lines.at(1).simplified(), QStringLiteral("COM2 %1 missing").arg(gone));

    // Opened through the link, the port is the device's: another program holding the device by
    // its own name keeps it from being opened twice, and the other way round.
    link.setPortNumber(1);
    QVERIFY(link.open());
    QCOMPARE(link.devicePath(), stable);
    QSerialPort other(cable.devicePath());
    QVERIFY(!other.open(QIODevice::ReadWrite));
    link.close();
    QVERIFY(other.open(QIODevice::ReadWrite));
    QVERIFY(!link.open());
    QCOMPARE(link.openFault(), SerialLink::OpenFault::InUse);
}

void tst_PortIdentity::modemLinesAtOpen()
{
    PseudoTerminal cable;
    SerialLink link(PortTable({cable.devicePath(), QStringLiteral("/nonexistent/ttyQZ2")}));
    auto lines = std::make_shared<RecordingModemLines>();
    link.setModemLines(lines);

    QVERIFY(link.open());
    link.close();
    link.setPortNumber(2);
    QVERIFY(!link.open()); // a port that does not open gets no lines set
    link.setPortNumber(1);
    QVERIFY(link.open());

    // DTR on (power for the cable), RTS off (no keyed transmitter), on the open port, each open.
    const QList<std::pair<bool, bool>> expected{{true, false}, {true, false}};
    QCOMPARE(lines->requests, expected);
    QCOMPARE(lines->openWhenSet, (QList<bool>{true, true}));
}

void tst_PortIdentity::modemLinesOnPseudoTerminal()
{
    // A pseudo-terminal has no modem lines: the real setting fails there, and that must not keep
    // the port from opening or working.
    PseudoTerminal cable;
    QSerialPort raw(cable.devicePath());
    QVERIFY(raw.open(QIODevice::ReadWrite));
    PortModemLines real;
    QVERIFY(!real.set(raw, true, false));
    QCOMPARE(raw.error(), QSerialPort::NoError);
    raw.close();

    SerialLink link(PortTable({cable.devicePath()}));
    QVERIFY(link.open());
    QCOMPARE(link.openFault(), SerialLink::OpenFault::None);
    link.send("C");
    QCOMPARE(cable.readFor(2000, 1), QByteArray("C"));
    cable.write("C");
    QTRY_COMPARE(link.waitingCount(), 1);
    QCOMPARE(link.takeChar(), QStringLiteral("C"));
}

QTEST_MAIN(tst_PortIdentity)
#include "tst_portidentity.moc"
