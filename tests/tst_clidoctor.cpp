#include "clirun.h"
#include "fakeradio.h"
#include "outsiderrun.h"
#include "pseudoterminal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>


// qz300-cli doctor: the connection check against the fake radio and the faults of cables and
// ports, and --trace, the record of the line for a fault report.
class tst_CliDoctor : public QObject
{
    Q_OBJECT

private slots:
    void verdicts_data();
    void verdicts();
    void linesForPeople();
    void everyPortOfTheTable();
    void lockedByLiveProcess_data();
    void lockedByLiveProcess();
    void openInAnotherProcess();
    void userMayNotOpen();
    void traceOfRead();
    void commandLine_data();
    void commandLine();
};

namespace {

enum class Radio { Answers, Silent, StopsAfterSeven, NoiseInThird, EchoingCable, EchoNoRadio, Missing };

/// The JSON objects doctor printed, one a line.
QList<QJsonObject> objectsOf(const QByteArray &out)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : out.split('\n')) {
        if (!line.trimmed().isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    }
    return objects;
}

/// step name: verdict finding, for each of the six steps.
QStringList stepsOf(const QJsonObject &port)
{
    QStringList steps;
    for (const QJsonValue &value : port.value(QStringLiteral("steps")).toArray()) {
        const QJsonObject step = value.toObject();
        steps << QStringLiteral("%1: %2 %3").arg(step.value(QStringLiteral("step")).toString(), step.value(QStringLiteral("verdict")).toString(),
                                                 step.value(QStringLiteral("finding")).toString());
    }
    return steps;
}

QJsonObject step(const QJsonObject &port, int number)
{
    return port.value(QStringLiteral("steps")).toArray().at(number - 1).toObject();
}

QStringList healthyUntilRead(const QString &read)
{
    return {"device: ok deviceFound", "access: ok mayOpen", "other programs: ok noOtherProgram", "opening: ok opened",
            "radio ready: ok radioReady", read};
}

/// A process that lives until the test ends it: the holder of a lock or of the device.
struct LiveProcess
{
    QProcess process;
    bool started = false;
    explicit LiveProcess(const QStringList &shellCommand = {QStringLiteral("exec sleep 60")})
    {
        // Not the fake radio's descriptors: a holder of the line's far end is the radio, not a rival.
        process.setChildProcessModifier([] {
            for (int fd = 3; fd < 1024; ++fd)
                ::close(fd);
        });
        process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), shellCommand.join(u' ')});
        process.waitForStarted(5000);
        // The shell has become sleep once its name says so.
        started = QTest::qWaitFor([this] {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(process.processId()));
            return comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "sleep";
        }, 5000);
    }
    ~LiveProcess()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    qint64 pid() const { return process.processId(); }
};

} // namespace

void tst_CliDoctor::verdicts_data()
{
    QTest::addColumn<int>("radio");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("readText"); // the read step's text
    QTest::newRow("a radio that answers") << int(Radio::Answers) << healthyUntilRead("read: ok readWell") << 0 << "16 channels read; first character after";
    QTest::newRow("a silent radio") << int(Radio::Silent)
                                    << QStringList{"device: ok deviceFound", "access: ok mayOpen", "other programs: ok noOtherProgram",
                                                   "opening: ok opened", "radio ready: problem noAnswer", "read: not run notRun"}
                                    << 1 << "not run";
    QTest::newRow("stops after 7 frames") << int(Radio::StopsAfterSeven) << healthyUntilRead("read: problem stopped") << 1
                                          << "the answer stopped after 7 of 16 channels (140 of 320 characters)";
    QTest::newRow("noise") << int(Radio::NoiseInThird) << healthyUntilRead("read: problem noise") << 1
                           << "noise: characters that are not digits in channel 3";
    QTest::newRow("a cable that echoes") << int(Radio::EchoingCable) << healthyUntilRead("read: problem echoThenAnswer") << 1
                                         << "the answer begins with the command \"5\" just sent: the cable echoes (320 characters followed)";
    QTest::newRow("an echoing adapter, no radio") << int(Radio::EchoNoRadio) << healthyUntilRead("read: problem echoOnly") << 1
                                                  << "only the command \"5\" came back: no radio behind an echoing adapter";
    QTest::newRow("a missing device") << int(Radio::Missing)
                                      << QStringList{"device: problem deviceMissing", "access: not run notRun", "other programs: not run notRun",
                                                     "opening: not run notRun", "radio ready: not run notRun", "read: not run notRun"}
                                      << 1 << "not run";
}

void tst_CliDoctor::verdicts()
{
    QFETCH(int, radio);
    QFETCH(QStringList, steps);
    QFETCH(int, exitCode);
    QFETCH(QString, readText);
    FakeRadio fake;
    switch (Radio(radio)) {
    case Radio::Silent:
        fake.setSilent(true);
        break;
    case Radio::StopsAfterSeven:
        fake.setStopAfterFrames(7);
        break;
    case Radio::NoiseInThird:
        fake.setNoiseInFrame(3);
        break;
    case Radio::EchoingCable:
        fake.setEcho(true);
        break;
    case Radio::EchoNoRadio:
        fake.setEcho(true);
        fake.setSilent(true);
        break;
    default:
        break;
    }
    const QString device = Radio(radio) == Radio::Missing ? QStringLiteral("/nonexistent/ttyQZ3") : fake.devicePath();
    const CliRun run = CliRun::run({"doctor", "--port", device, "--json", "--ready-timeout", "1"}, {}, {}, {}, 30000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    const QList<QJsonObject> ports = objectsOf(run.out);
    QCOMPARE(ports.size(), 1);
    QCOMPARE(ports.first().value(QStringLiteral("device")).toString(), device);
    QCOMPARE(ports.first().value(QStringLiteral("good")).toBool(), exitCode == 0);
    QCOMPARE(stepsOf(ports.first()), steps);
    const QJsonObject read = step(ports.first(), 6);
    QVERIFY2(read.value(QStringLiteral("text")).toString().startsWith(readText), qPrintable(read.value(QStringLiteral("text")).toString()));
    // Every problem says what to do.
    for (const QJsonValue &value : ports.first().value(QStringLiteral("steps")).toArray()) {
        if (value.toObject().value(QStringLiteral("verdict")).toString() == u"problem")
            QVERIFY(!value.toObject().value(QStringLiteral("remedy")).toString().isEmpty());
    }
    if (Radio(radio) == Radio::Answers) {
        // The radio paces its answer at 1200 baud: 8.33 ms a character, the first two characters'
        // time after the command.
        const double perCharacter = read.value(QStringLiteral("msPerCharacter")).toDouble();
        // Never faster than the line; a loaded machine may make the fake radio slower.
        QVERIFY2(perCharacter > 7.5 && perCharacter < 25, qPrintable(QString::number(perCharacter)));
        QCOMPARE(read.value(QStringLiteral("completeChannels")).toInt(), 16);
        QVERIFY(read.value(QStringLiteral("answerDelayMs")).toInt() < 1000);
        // Nothing was stored: the radio saw a readiness "C" and one read command, never a write.
        QVERIFY(!fake.received().contains('A'));
        QCOMPARE(fake.received().count('5'), 1);
    }
}

void tst_CliDoctor::linesForPeople()
{
    FakeRadio radio;
    FakeRadio silent;
    silent.setSilent(true);
    const CliRun run = CliRun::run({"doctor", "--port", "COM1", "--port", "COM2", "--ready-timeout", "0.5"},
                                   {radio.devicePath(), silent.devicePath()}, {}, {}, 30000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 15);
    QCOMPARE(lines.at(0), QStringLiteral("COM1  %1").arg(radio.devicePath()));
    for (int k = 1; k <= 6; ++k)
        QVERIFY2(lines.at(k).startsWith(QStringLiteral("  [ok]       %1 ").arg(k)), qPrintable(lines.at(k)));
    QVERIFY(lines.at(1).contains(QStringLiteral("%1 pseudo-terminal").arg(radio.devicePath())));
    QCOMPARE(lines.at(7), QStringLiteral("COM2  %1").arg(silent.devicePath()));
    QCOMPARE(lines.at(11), QStringLiteral("  [ok]       4 opening: opened at 1200 baud 8N1"));
    QCOMPARE(lines.at(12),
             QStringLiteral("  [problem]  5 radio ready: \"C\" sent, nothing back within 0.5 s; what to do: switch the radio on, push the cable "
                            "fully into its programming socket, and make sure this is the cable's port"));
    QCOMPARE(lines.at(13), QStringLiteral("  [not run]  6 read: not run"));
    QCOMPARE(lines.last(), QStringLiteral("1 of 2 ports good; problems: COM2 (radio ready)"));
}

void tst_CliDoctor::everyPortOfTheTable()
{
    FakeRadio radio;
    // Without --port: each port of the table that names a device, none for the empty entries.
    const CliRun run = CliRun::run({"doctor", "--json"}, {radio.devicePath(), QString(), QStringLiteral("/nonexistent/ttyQZ5")}, {}, {}, 30000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> ports = objectsOf(run.out);
    QCOMPARE(ports.size(), 2);
    QCOMPARE(ports.at(0).value(QStringLiteral("port")).toString(), QStringLiteral("COM1"));
    QVERIFY(ports.at(0).value(QStringLiteral("good")).toBool());
    QCOMPARE(ports.at(1).value(QStringLiteral("port")).toString(), QStringLiteral("COM3"));
    QCOMPARE(step(ports.at(1), 1).value(QStringLiteral("finding")).toString(), QStringLiteral("deviceMissing"));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tracePath = dir.filePath(QStringLiteral("line.txt"));
    const CliRun good = CliRun::run({"doctor", "--trace", tracePath}, {radio.devicePath()}, {}, {}, 30000);
    QCOMPARE(good.exitCode, 0);
    QFile trace(tracePath);
    QVERIFY(trace.open(QIODevice::ReadOnly));
    QVERIFY(trace.readAll().contains(QStringLiteral("%1  >  35  |5|").arg(radio.devicePath()).toUtf8()));
    QCOMPARE(QString::fromUtf8(good.out).split(u'\n', Qt::SkipEmptyParts).last(),
             QStringLiteral("1 of 1 ports good: a radio answered and read well"));
}

void tst_CliDoctor::lockedByLiveProcess_data()
{
    QTest::addColumn<bool>("qtName"); // LCK..pts_N, else LCK..N
    QTest::addColumn<QString>("form");
    QTest::newRow("Qt's form") << true << "qt";
    QTest::newRow("UUCP form, the pid alone") << true << "uucp";
    QTest::newRow("UUCP form under the node's name") << false << "uucp";
}

void tst_CliDoctor::lockedByLiveProcess()
{
    QFETCH(bool, qtName);
    QFETCH(QString, form);
    const QString lockDir = QStringLiteral("/run/lock");
    if (!QFileInfo(lockDir).isWritable())
        QSKIP("needs a writable /run/lock to lock a port as another program does");
    FakeRadio radio;
    const QString node = radio.devicePath();
    const QString name = qtName ? node.mid(5).replace(u'/', u'_') : QFileInfo(node).fileName();
    const QString lockPath = QDir(lockDir).filePath(QStringLiteral("LCK..") + name);
    QVERIFY2(!QFileInfo::exists(lockPath), qPrintable(lockPath));
    LiveProcess holder;
    QVERIFY(holder.started);
    QFile lock(lockPath);
    QVERIFY(lock.open(QIODevice::WriteOnly));
    if (form == u"qt")
        lock.write(QStringLiteral("%1\nsleep\n%2\n").arg(holder.pid()).arg(QSysInfo::machineHostName()).toUtf8());
    else
        lock.write(QStringLiteral("%1\n").arg(holder.pid(), 10).toLatin1());
    lock.close();
    const CliRun run = CliRun::run({"doctor", "--port", node, "--json"}, {}, {}, {}, 30000);
    QFile::remove(lockPath);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    const QJsonObject port = objectsOf(run.out).value(0);
    const QJsonObject others = step(port, 3);
    QCOMPARE(others.value(QStringLiteral("finding")).toString(), QStringLiteral("lockedByProcess"));
    QCOMPARE(others.value(QStringLiteral("lockPid")).toInteger(), holder.pid());
    QCOMPARE(others.value(QStringLiteral("lockForm")).toString(), form);
    QCOMPARE(others.value(QStringLiteral("text")).toString(),
             QStringLiteral("held by process %1 (sleep): lock file %2 (%3)").arg(holder.pid()).arg(lockPath, form == u"qt" ? "Qt's form" : "UUCP form"));
    QCOMPARE(others.value(QStringLiteral("remedy")).toString(), QStringLiteral("close that program, or end it: kill %1").arg(holder.pid()));
}

void tst_CliDoctor::openInAnotherProcess()
{
    FakeRadio radio;
    // A program that holds the device open without a lock file (a terminal, a modem manager).
    LiveProcess holder({QStringLiteral("exec 3<>%1; exec sleep 60").arg(radio.devicePath())});
    QVERIFY(holder.started);
    const CliRun run = CliRun::run({"doctor", "--port", radio.devicePath(), "--json"}, {}, {}, {}, 30000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    const QJsonObject others = step(objectsOf(run.out).value(0), 3);
    QCOMPARE(others.value(QStringLiteral("finding")).toString(), QStringLiteral("openElsewhere"));
    QCOMPARE(others.value(QStringLiteral("text")).toString(), QStringLiteral("open in process %1 (sleep)").arg(holder.pid()));
}

void tst_CliDoctor::userMayNotOpen()
{
    // The real refusal: doctor run as a user outside the device's group.
    if (OutsiderRun::setpriv().isEmpty())
        QSKIP("needs root and setpriv to run doctor as another user");
    PseudoTerminal pty;
    QVERIFY(pty.isOpen());
    const QString groupName = OutsiderRun::restrictToGroup(pty.devicePath());
    QVERIFY(!groupName.isEmpty());
    const OutsiderRun::Result run = OutsiderRun::run(pty.devicePath(), {QStringLiteral("doctor"), QStringLiteral("--json")});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    const QJsonObject port = objectsOf(run.out).value(0);
    QCOMPARE(stepsOf(port), (QStringList{"device: ok deviceFound", "access: problem notInGroup", "other programs: ok noOtherProgram",
                                         "opening: not run notRun", "radio ready: not run notRun", "read: not run notRun"}));
    QCOMPARE(step(port, 2).value(QStringLiteral("remedy")).toString(),
             QStringLiteral("%1 belongs to group %2: sudo usermod -aG %2 $USER, then log in again").arg(pty.devicePath(), groupName));
}

void tst_CliDoctor::traceOfRead()
{
    FakeRadio radio;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tracePath = dir.filePath(QStringLiteral("line.txt"));
    const CliRun run = CliRun::run({"read", "--port", radio.devicePath(), "-o", dir.filePath(QStringLiteral("set.doc")), "--trace", tracePath});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QFile file(tracePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray sent;
    QByteArray received;
    double last = -1;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        // "  ms  device  >|<  hex bytes  |text|"
        const QList<QByteArray> fields = line.simplified().split(' ');
        QVERIFY2(fields.size() >= 5, line.constData());
        const double ms = fields.at(0).toDouble();
        QVERIFY(ms >= last);
        last = ms;
        QCOMPARE(fields.at(1), radio.devicePath().toUtf8());
        QByteArray bytes;
        for (qsizetype k = 3; k < fields.size() - 1; ++k)
            bytes += QByteArray::fromHex(fields.at(k));
        QCOMPARE(fields.last(), '|' + bytes + '|');
        (fields.at(2) == ">" ? sent : received) += bytes;
    }
    // The readiness "C"s, then the read command; the radio's "C" and its sixteen frames back.
    QVERIFY(sent.endsWith("C5"));
    QCOMPARE(sent.count('5'), 1);
    QVERIFY(received.endsWith(radio.frames().join(QString()).toLatin1()));
    QCOMPARE(radio.received(), sent);

    // A trace that cannot be written fails the command, but the channels read still come out.
    const CliRun lost = CliRun::run({"read", "--port", radio.devicePath(), "--trace", "/nonexistent/line.txt"});
    QCOMPARE(lost.exitCode, 1);
    QVERIFY(!lost.out.isEmpty());
    QVERIFY2(lost.errorLines().value(0).startsWith(QStringLiteral("qz300-cli: /nonexistent/line.txt")), lost.err.constData());
}

void tst_CliDoctor::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("firstError");
    QTest::newRow("a port beyond the table") << QStringList{"doctor", "--port", "COM9"} << "qz300-cli: COM9: no such port (COM1 to COM8)";
    QTest::newRow("doctor takes no file") << QStringList{"doctor", "plan.doc"} << "qz300-cli: doctor takes no file";
    QTest::newRow("--json elsewhere") << QStringList{"ports", "--json"} << "qz300-cli: ports takes no --json";
    QTest::newRow("--trace without a name") << QStringList{"doctor", "--trace", ""} << "qz300-cli: --trace needs a file name";
    QTest::newRow("--trace on convert") << QStringList{"convert", "a.doc", "--to", "csv", "--trace", "t.txt"} << "qz300-cli: convert takes no --trace";
}

void tst_CliDoctor::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, firstError);
    FakeRadio radio;
    const CliRun run = CliRun::run(arguments, {radio.devicePath()}, {}, {}, 20000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errorLines().value(0), firstError);
    QCOMPARE(radio.received(), QByteArray());
}

QTEST_GUILESS_MAIN(tst_CliDoctor)
#include "tst_clidoctor.moc"
