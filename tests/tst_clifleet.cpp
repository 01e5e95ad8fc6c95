#include "clirun.h"
#include "fakeradio.h"
#include "pseudoterminal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

class tst_CliFleet : public QObject
{
    Q_OBJECT

private slots:
    void fourRadiosOneSilent();
    void severalPortsNameTheirFiles();
    void progressOnlyOnATerminal();
    void usageErrors_data();
    void usageErrors();
    void sameDeviceUnderTwoNames_data();
    void sameDeviceUnderTwoNames();
};

using namespace CliSample;

void tst_CliFleet::fourRadiosOneSilent()
{
    QTemporaryDir dir;
    std::vector<std::unique_ptr<FakeRadio>> radios;
    QStringList ports;
    for (int i = 0; i < 4; ++i) {
        radios.push_back(std::make_unique<FakeRadio>());
        QVERIFY(radios.back()->isOpen());
        ports << radios.back()->devicePath();
    }
    radios[2]->setSilent(true);
    const QString plan = saveSample(dir);
    const CliRun run = CliRun::run({"write", "--port", "COM1", "--port", "COM2", "--port", "COM3", "--port", "COM4", plan}, ports);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(radios[i]->writesStored(), i == 2 ? 0 : 1);
    QCOMPARE(radios[0]->frames(), framesOf(sampleSet()));
    const QStringList lines = run.errorLines();
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), "COM1: ok: wrote 16 channels");
    QCOMPARE(lines.at(1), "COM2: ok: wrote 16 channels");
    QVERIFY2(lines.at(2).startsWith("COM3: error: radio not ready"), qPrintable(lines.at(2)));
    QCOMPARE(lines.at(3), "COM4: ok: wrote 16 channels");
}

void tst_CliFleet::severalPortsNameTheirFiles()
{
    QTemporaryDir dir;
    FakeRadio first;
    FakeRadio second;
    const CliRun run = CliRun::run({"read", "--port", "COM1", "--port", "com2", "-o", "held.csv"},
                                   {first.devicePath(), second.devicePath()}, dir.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(QFile::exists(dir.filePath("held-COM1.csv")));
    QVERIFY(QFile::exists(dir.filePath("held-COM2.csv")));

    const CliRun placeholder = CliRun::run({"read", "--port", "COM1", "--port", second.devicePath(), "-o", "{port}/held.doc"},
                                           {first.devicePath()}, dir.path());
    QVERIFY(placeholder.finished);
    // Folders are not made: the port whose folder is missing fails, the other does not.
    QCOMPARE(placeholder.exitCode, 1);
    QVERIFY(QDir(dir.path()).mkdir("COM1"));
    const QString label = second.devicePath().mid(5).replace(u'/', u'-');
    QVERIFY(QDir(dir.path()).mkdir(label));
    const CliRun again = CliRun::run({"read", "--port", "COM1", "--port", second.devicePath(), "-o", "{port}/held.doc"},
                                     {first.devicePath()}, dir.path());
    QCOMPARE(again.exitCode, 0);
    QVERIFY(QFile::exists(dir.filePath("COM1/held.doc")));
    QVERIFY(QFile::exists(dir.filePath(label + "/held.doc")));
}

void tst_CliFleet::progressOnlyOnATerminal()
{
    FakeRadio radio;
    const CliRun piped = CliRun::run({"read", "--port", "COM1"}, {radio.devicePath()});
    QCOMPARE(piped.exitCode, 0);
    QVERIFY(!piped.err.contains("frame"));

    PseudoTerminal terminal;
    QVERIFY(terminal.isOpen());
    QByteArray shown;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QZ300_PORTS", radio.devicePath());
    process.setProcessEnvironment(env);
    process.setStandardErrorFile(terminal.devicePath());
    process.start(QStringLiteral(QZ300_CLI), {"read", "--port", "COM1"});
    QVERIFY(process.waitForStarted(10000));
    QVERIFY(QTest::qWaitFor(
        [&] {
            shown += terminal.readAvailable();
            return process.state() == QProcess::NotRunning;
        },
        60000));
    shown += terminal.readFor(500);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY2(shown.contains("COM1: read frame 1 of 16"), shown.constData());
    QVERIFY(shown.contains("COM1: read frame 16 of 16"));
    QVERIFY(shown.contains("COM1: ok: read 16 channels"));
}

void tst_CliFleet::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList{} << "no command given";
    QTest::newRow("unknown command") << QStringList{"erase"} << "unknown command";
    QTest::newRow("read without port") << QStringList{"read"} << "read needs --port";
    QTest::newRow("read with verify") << QStringList{"read", "--port", "COM1", "--verify"} << "read takes no --verify";
    QTest::newRow("write without file") << QStringList{"write", "--port", "COM1"} << "write takes one file";
    QTest::newRow("convert without --to") << QStringList{"convert", "a.doc"} << "convert needs --to";
    QTest::newRow("unknown format") << QStringList{"convert", "a.doc", "--to", "xls"} << "--to takes";
    QTest::newRow("port without device") << QStringList{"read", "--port", "COM5"} << "COM5: no device";
    QTest::newRow("COM9") << QStringList{"read", "--port", "COM9"} << "COM9: no device";
    QTest::newRow("same port twice") << QStringList{"read", "--port", "COM1", "--port", "/dev/pts/999999", "-o", "x"}
                                     << "the same device is named twice";
    QTest::newRow("several ports to standard output") << QStringList{"read", "--port", "COM1", "--port", "COM2"}
                                                      << "needs -o";
    QTest::newRow("unknown option") << QStringList{"read", "--port", "COM1", "--fast"} << "Unknown option";
}

void tst_CliFleet::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    // Nothing behind these ports: a usage error must stop before any of them is opened.
    const CliRun run = CliRun::run(arguments, {"/dev/pts/999999", "/dev/pts/999998"});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errorLines().value(0).contains(message), run.err.constData());
}

void tst_CliFleet::sameDeviceUnderTwoNames_data()
{
    // PTS: the fake radio's node; NODE: its file name; the folder link "dirlink" leads to its folder.
    QTest::addColumn<QStringList>("ports");
    QTest::newRow("through a link to the folder") << QStringList{"PTS", "./dirlink/NODE"};
    QTest::newRow("through a link to the folder, COM name first") << QStringList{"COM1", "dirlink/NODE"};
    QTest::newRow("through a link to the node") << QStringList{"PTS", "nodelink"};
}

void tst_CliFleet::sameDeviceUnderTwoNames()
{
    QFETCH(QStringList, ports);
    QTemporaryDir dir;
    FakeRadio radio;
    QVERIFY(radio.isOpen());
    const QFileInfo node(radio.devicePath());
    QVERIFY(QFile::link(node.absolutePath(), dir.filePath("dirlink")));
    QVERIFY(QFile::link(node.absoluteFilePath(), dir.filePath("nodelink")));
    QStringList arguments{"read"};
    for (QString port : std::as_const(ports))
        arguments << "--port" << port.replace("PTS", node.absoluteFilePath()).replace("NODE", node.fileName());
    arguments << "-o" << "held-{port}.doc";
    const CliRun run = CliRun::run(arguments, {radio.devicePath()}, dir.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errorLines().value(0).contains("the same device is named twice"), run.err.constData());
    QVERIFY(radio.received().isEmpty());
}

QTEST_GUILESS_MAIN(tst_CliFleet)
#include "tst_clifleet.moc"
