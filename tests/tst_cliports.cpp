#include "clirun.h"
#include "fakeradio.h"
#include "outsiderrun.h"
#include "pseudoterminal.h"

#include <QFile>
#include <QTest>

// qz300-cli ports: the list of COM1 to COM8, and --probe asking where a radio answers.
class tst_CliPorts : public QObject
{
    Q_OBJECT

private slots:
    void probeFindsTheRadio();
    void listingSendsNothing();
    void listingNamesGroupToJoin();
    void commandLine_data();
    void commandLine();
};

namespace {

QStringList singleSpaced(const QByteArray &out)
{
    QStringList lines;
    for (const QString &line : QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts))
        lines << line.simplified();
    return lines;
}

} // namespace

void tst_CliPorts::probeFindsTheRadio()
{
    FakeRadio answering;
    FakeRadio silent;
    silent.setSilent(true);
    const QString missing = QStringLiteral("/nonexistent/ttyQZ3");
    const CliRun run = CliRun::run({"ports", "--probe"}, {silent.devicePath(), answering.devicePath(), missing}, {}, {}, 20000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    const QStringList expected{
        QStringLiteral("COM1 %1 opens, no answer").arg(silent.devicePath()),
        QStringLiteral("COM2 %1 opens, radio answered").arg(answering.devicePath()),
        QStringLiteral("COM3 /nonexistent/ttyQZ3 missing"),
        QStringLiteral("COM4 - no device"),
        QStringLiteral("COM5 - no device"),
        QStringLiteral("COM6 - no device"),
        QStringLiteral("COM7 - no device"),
        QStringLiteral("COM8 - no device"),
    };
    QCOMPARE(singleSpaced(run.out), expected);
    QVERIFY(silent.received().startsWith("C"));
    QVERIFY(answering.received().startsWith("C"));
}

void tst_CliPorts::listingSendsNothing()
{
    FakeRadio radio;
    const CliRun run = CliRun::run({"ports"}, {radio.devicePath()}, {}, {}, 20000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(singleSpaced(run.out).value(0), QStringLiteral("COM1 %1 opens").arg(radio.devicePath()));
    QTest::qWait(200);
    QCOMPARE(radio.received(), QByteArray());
}

void tst_CliPorts::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("firstError");
    QTest::newRow("a shorter wait") << QStringList{"ports", "--probe", "--ready-timeout", "0.3"} << 0 << QString();
    QTest::newRow("a wait without --probe") << QStringList{"ports", "--ready-timeout", "2"} << 2
                                            << "qz300-cli: ports takes --ready-timeout only with --probe";
    QTest::newRow("--probe elsewhere") << QStringList{"read", "--port", "COM1", "--probe"} << 2 << "qz300-cli: read takes no --probe";
    QTest::newRow("ports takes no port") << QStringList{"ports", "--port", "COM1"} << 2 << "qz300-cli: ports takes no --port";
}

void tst_CliPorts::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, firstError);
    FakeRadio radio;
    const CliRun run = CliRun::run(arguments, {radio.devicePath()}, {}, {}, 20000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.errorLines().value(0), firstError);
    if (exitCode == 0)
        QCOMPARE(singleSpaced(run.out).value(0), QStringLiteral("COM1 %1 opens, radio answered").arg(radio.devicePath()));
    else
        QCOMPARE(radio.received(), QByteArray());
}

void tst_CliPorts::listingNamesGroupToJoin()
{
    // The real refusal: the listing run as a user outside the device's group.
    if (OutsiderRun::setpriv().isEmpty())
        QSKIP("needs root and setpriv to run the listing as another user");
    PseudoTerminal pty;
    QVERIFY(pty.isOpen());
    const QString groupName = OutsiderRun::restrictToGroup(pty.devicePath());
    QVERIFY(!groupName.isEmpty());
    const OutsiderRun::Result run = OutsiderRun::run(pty.devicePath(), {QStringLiteral("ports")});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = singleSpaced(run.out);
    QCOMPARE(lines.value(0),
             QStringLiteral("COM1 %1 no permission: %1 belongs to group %2: sudo usermod -aG %2 $USER, then log in again")
                 .arg(pty.devicePath(), groupName));
}

QTEST_GUILESS_MAIN(tst_CliPorts)
#include "tst_cliports.moc"
