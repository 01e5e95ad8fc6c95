#include "clirun.h"
#include "core/channels/textvalue.h"
#include "core/files/channelfile.h"
#include "fakeradio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>


Q_DECLARE_METATYPE(ChannelSet)

class tst_CliRadio : public QObject
{
    Q_OBJECT

private slots:
    void readToStandardOutput();
    void readIntoFile_data();
    void readIntoFile();
    void readThatStopsSavesNothing();
    void garbageIsNotSaved_data();
    void garbageIsNotSaved();
    void writeSendsTheFile();
    void verify_data();
    void verify();
    void backupKeepsTheOldSet();
    void backupThatCannotBeSavedWritesNothing();
    void refusedSetTouchesNoRadio();
    void writeTakesAChirpSheet();
    void noScratchFilesAndOneLogLine();
    void dryRunSendsNothing_data();
    void dryRunSendsNothing();
    void whatIsReadCanBeWrittenBack_data();
    void whatIsReadCanBeWrittenBack();
    void portThatFailsIsNamed();
    void logThatIsNoFileDoesNotHold();
};

using namespace CliSample;

void tst_CliRadio::readToStandardOutput()
{
    FakeRadio radio;
    QVERIFY(radio.isOpen());
    const CliRun run = CliRun::run({"read", "--port", "COM1"}, {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    const ChannelFile::ReadResult read = ChannelFile::parse(run.out);
    QCOMPARE(read.error, ChannelFile::ReadError::None);
    QVERIFY(sameValues(read.set, setOf(radio.frames())));
    QCOMPARE(run.errorLines(), QStringList{"COM1: ok: read 16 channels"});
    // The readiness check came first, the read command after it.
    QVERIFY(radio.received().startsWith('C'));
    QVERIFY(radio.received().endsWith('5'));
}

void tst_CliRadio::readIntoFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("starts");
    QTest::newRow("csv") << "held.csv" << QByteArray("squelch,3\nchannel,receive MHz,transmit MHz,shift\n1,145.00000,");
    QTest::newRow("json") << "held.json" << QByteArray("{");
}

void tst_CliRadio::readIntoFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, starts);
    QTemporaryDir dir;
    FakeRadio radio;
    QVERIFY(radio.isOpen());
    // A device path names the port as well as COMn.
    const CliRun run = CliRun::run({"read", "--port", radio.devicePath(), "-o", dir.filePath(name)});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(file.readAll().startsWith(starts), qPrintable(name));
}

void tst_CliRadio::readThatStopsSavesNothing()
{
    QTemporaryDir dir;
    FakeRadio radio;
    radio.setStopAfterFrames(7);
    const CliRun run = CliRun::run({"read", "--port", "COM1", "-o", dir.filePath("held.doc")}, {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!QFile::exists(dir.filePath("held.doc")));
    QCOMPARE(run.errorLines().size(), 1);
    QVERIFY(run.errorLines().first().startsWith("COM1: error: read failed"));
}

void tst_CliRadio::garbageIsNotSaved_data()
{
    QTest::addColumn<QByteArray>("stray");
    QTest::addColumn<QByteArray>("endless");
    QTest::addColumn<QString>("reason");
    QTest::newRow("three stray digits") << QByteArray("123") << QByteArray()
                                        << "Read error: Channel 1: Receive frequency 51.40030 MHz is outside 130 to 500 MHz";
    QTest::newRow("digits without end") << QByteArray() << QByteArray("17") << "Read error: Channel 1: Beat shift flag \"7\" is not 0 or 1";
    QTest::newRow("only C without end") << QByteArray() << QByteArray("C")
                                        << "Read error: The radio did not answer: check the cable and the radio's power";
}

void tst_CliRadio::garbageIsNotSaved()
{
    QFETCH(QByteArray, stray);
    QFETCH(QByteArray, endless);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    for (const QStringList &output : {QStringList{"-o", dir.filePath("held.doc")}, QStringList{}}) {
        FakeRadio radio;
        radio.setStrayPrefix(stray);
        radio.setEndlessAnswer(endless);
        const CliRun run = CliRun::run(QStringList{"read", "--port", "COM1"} + output, {radio.devicePath()});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("held.doc")));
        QCOMPARE(run.errorLines(), QStringList{"COM1: error: read failed: " + reason});
    }
}

void tst_CliRadio::writeSendsTheFile()
{
    QTemporaryDir dir;
    FakeRadio radio;
    const QString plan = saveSample(dir);
    QVERIFY(!plan.isEmpty());
    const CliRun run = CliRun::run({"write", "--port", "COM1", plan}, {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(radio.writesStored(), 1);
    QCOMPARE(radio.frames(), framesOf(sampleSet()));
    // Readiness "C" exchanges, then the write command and the frames, and nothing after them.
    const QByteArray sent = radio.received();
    QVERIFY(sent.startsWith('C'));
    QVERIFY(sent.endsWith('A' + framesOf(sampleSet()).join(QString()).toLatin1()));
    QCOMPARE(run.errorLines(), QStringList{"COM1: ok: wrote 16 channels"});
}

void tst_CliRadio::verify_data()
{
    QTest::addColumn<int>("corruptFrame");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("difference");
    QTest::newRow("radio keeps the set") << 0 << 0 << QString();
    QTest::newRow("radio keeps frame 6 wrong") << 6 << 1 << "COM1: channel 6: wrote 430.07500 / 438.03000 / on, radio holds 430.07500 / 448.03000 / on";
}

void tst_CliRadio::verify()
{
    QFETCH(int, corruptFrame);
    QFETCH(int, exitCode);
    QFETCH(QString, difference);
    QTemporaryDir dir;
    FakeRadio radio;
    radio.setCorruptStoredFrame(corruptFrame);
    const QString plan = saveSample(dir);
    const CliRun run = CliRun::run({"write", "--port", "COM1", plan, "--verify"}, {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    const QStringList lines = run.errorLines();
    if (difference.isEmpty()) {
        QCOMPARE(lines, QStringList{"COM1: ok: wrote 16 channels, verified"});
        return;
    }
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), difference);
    QVERIFY2(lines.at(1).startsWith("COM1: error: verify failed"), qPrintable(lines.at(1)));
}

void tst_CliRadio::backupKeepsTheOldSet()
{
    QTemporaryDir dir;
    FakeRadio radio;
    const QStringList before = radio.frames();
    const QString plan = saveSample(dir);
    const QString backup = dir.filePath("old.doc");
    const CliRun run = CliRun::run({"write", "--port", "COM1", plan, "--backup", backup}, {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(sameValues(loaded(backup), setOf(before)));
    QCOMPARE(radio.frames(), framesOf(sampleSet()));
    // The read came before the write.
    const QByteArray sent = radio.received();
    QVERIFY(sent.indexOf('5') < sent.indexOf('A'));
}

void tst_CliRadio::backupThatCannotBeSavedWritesNothing()
{
    QTemporaryDir dir;
    FakeRadio radio;
    const QString plan = saveSample(dir);
    const CliRun run = CliRun::run({"write", "--port", "COM1", plan, "--backup", dir.filePath("no/such/folder/old.doc")},
                                   {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(radio.writesStored(), 0);
    QVERIFY(!radio.received().contains('A'));
    QVERIFY(run.errorLines().last().contains("backup not saved, nothing written"));
}

void tst_CliRadio::refusedSetTouchesNoRadio()
{
    QTemporaryDir dir;
    FakeRadio radio;
    ChannelSet set = sampleSet();
    set.squelch = QStringLiteral("12");
    const QString plan = saveSample(dir, set);
    const CliRun run = CliRun::run({"write", "--port", "COM1", plan}, {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 3);
    QCOMPARE(run.errorLines().size(), 1);
    QVERIFY2(run.errorLines().first().contains("squelch level \"12\""), qPrintable(run.errorLines().first()));
    QTest::qWait(200);
    QVERIFY(radio.received().isEmpty());
}

void tst_CliRadio::writeTakesAChirpSheet()
{
    QTemporaryDir dir;
    FakeRadio radio;
    const QString sheet = dir.filePath("list.csv");
    QFile file(sheet);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Location,Name,Frequency,Duplex,Offset,Mode,Comment\r\n"
               "1,CALL,145.500000,,0.000000,FM,beat-shift\r\n");
    file.close();
    const CliRun run = CliRun::run({"write", "--port", "COM1", sheet}, {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(radio.writesStored(), 1);
    // Squelch level 3 (the sheet has none), 145.5 MHz both ways, the shift on from the comment.
    QCOMPARE(radio.frames().value(0), "03010000411200005514");
    QCOMPARE(run.errorLines(), (QStringList{"qz300-cli: warning: " + sheet + ": line 2: not kept: name \"CALL\"",
                                            "COM1: ok: wrote 16 channels"}));
}

namespace {

QString writeLogPath()
{
    return QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath("qz300/write-log.jsonl");
}

QStringList writeLogLines()
{
    QFile log(writeLogPath());
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

void tst_CliRadio::noScratchFilesAndOneLogLine()
{
    QTemporaryDir planDir;
    QTemporaryDir scratch;
    QTemporaryDir working;
    FakeRadio radio;
    const QString plan = saveSample(planDir);
    // A temporary folder cannot be made under a file: a job that needs one fails.
    const QString notAFolder = scratch.filePath("not-a-folder");
    QFile blocker(notAFolder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", notAFolder.toLocal8Bit());
    const qsizetype logBefore = writeLogLines().size();
    const CliRun write = CliRun::run({"write", "--port", "COM1", plan}, {radio.devicePath()}, working.path());
    const CliRun read = CliRun::run({"read", "--port", "COM1"}, {radio.devicePath()}, working.path());
    if (oldTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);
    QVERIFY(write.finished && read.finished);
    QCOMPARE(write.errorLines(), QStringList{"COM1: ok: wrote 16 channels"});
    QCOMPARE(write.exitCode, 0);
    QCOMPARE(read.exitCode, 0);
    // No database or journal left behind either.
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QCOMPARE(QDir(scratch.path()).entryList(all), QStringList{"not-a-folder"});
    QCOMPARE(QDir(working.path()).entryList(all), QStringList());
    // The write's log line, and none for the read.
    const QStringList lines = writeLogLines();
    QCOMPARE(lines.size(), logBefore + 1);
    const QJsonObject line = QJsonDocument::fromJson(lines.last().toUtf8()).object();
    QCOMPARE(line.value("program").toString(), "qz300-cli");
    QCOMPARE(line.value("port").toString(), "COM1");
    QCOMPARE(line.value("device").toString(), radio.devicePath());
    QCOMPARE(line.value("outcome").toString(), "written");
    QVERIFY(line.value("before").isNull());
    QVERIFY(line.value("after").isNull());
}

void tst_CliRadio::dryRunSendsNothing_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<ChannelSet>("planned");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("nothing differs") << false << sampleSet() << 0 << QString()
                                     << "COM1: ok: dry run: the radio holds this set already, nothing sent";
    ChannelSet changed = sampleSet();
    changed.squelch = "3";
    changed.channels[1].rf = "431.00000";
    changed.channels[4] = ChannelRecord{QVariant(), "145.50000", "145.50000", "on"};
    QTest::newRow("squelch and two channels") << false << changed << 0
                                              << "COM1: squelch: 7 → 3\n"
                                                 "COM1: channel 2: 430.02500 / 438.01000 / off → 431.00000 / 438.01000 / off\n"
                                                 "COM1: channel 5: - / - / off → 145.50000 / 145.50000 / on\n"
                                              << "COM1: ok: dry run: 3 changes, nothing sent";
    QTest::newRow("radio silent") << true << changed << 1 << QString()
                                  << "COM1: error: radio not ready: no answer to \"C\" within 1 s";
}

void tst_CliRadio::dryRunSendsNothing()
{
    QFETCH(bool, silent);
    QFETCH(ChannelSet, planned);
    QFETCH(int, exitCode);
    QFETCH(QString, changes);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    FakeRadio radio;
    radio.setFrames(framesOf(sampleSet()));
    radio.setSilent(silent);
    const QString plan = saveSample(dir, planned);
    QVERIFY(!plan.isEmpty());
    const qsizetype logBefore = writeLogLines().size();
    const CliRun run = CliRun::run({"write", "--dry-run", "--ready-timeout", "1", "--port", "COM1", plan}, {radio.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(QString::fromUtf8(run.out), changes);
    QCOMPARE(run.errorLines(), QStringList{outcome});
    QVERIFY(!radio.received().contains('A'));
    QCOMPARE(radio.writesStored(), 0);
    QCOMPARE(radio.frames(), framesOf(sampleSet()));
    QCOMPARE(writeLogLines().size(), logBefore);
}

void tst_CliRadio::whatIsReadCanBeWrittenBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("channel file") << "r.doc";
    QTest::newRow("our CSV") << "r.csv";
    QTest::newRow("JSON") << "r.json";
}

void tst_CliRadio::whatIsReadCanBeWrittenBack()
{
    // A radio holding a transmit-only channel (3) and a shift flag on an empty channel (5): its
    // backup converts and goes back into it unchanged.
    QFETCH(QString, name);
    QTemporaryDir dir;
    FakeRadio radio;
    QStringList frames = FakeRadio::defaultFrames();
    frames[2] = QStringLiteral("02000000000000004614"); // transmit 146.00000, no receive
    frames[4] = QStringLiteral("04010000000000000000"); // shift on, nothing else
    radio.setFrames(frames);
    const QString saved = dir.filePath(name);
    const CliRun read = CliRun::run({"read", "--port", "COM1", "-o", saved}, {radio.devicePath()});
    QCOMPARE(read.exitCode, 0);
    const CliRun convert = CliRun::run({"convert", saved, "--to", "csv", "-o", dir.filePath("again.csv")});
    QVERIFY2(convert.exitCode == 0, convert.err.constData());
    radio.setFrames(FakeRadio::defaultFrames());
    radio.clearReceived();
    const CliRun write = CliRun::run({"write", "--port", "COM1", saved, "--verify"}, {radio.devicePath()});
    QVERIFY2(write.exitCode == 0, write.err.constData());
    QCOMPARE(write.errorLines(), QStringList{"COM1: ok: wrote 16 channels, verified"});
    QCOMPARE(radio.frames().at(2), QStringLiteral("02000000000000004614"));
    QCOMPARE(radio.frames().at(4), QStringLiteral("04010000000000000000"));
}

void tst_CliRadio::portThatFailsIsNamed()
{
    // The second radio hangs up while it answers: the message named COM1 (every port's name), in
    // Chinese.
    FakeRadio first;
    FakeRadio second;
    second.setFrames(framesOf(sampleSet()));
    QTimer watch;
    watch.setInterval(5);
    connect(&watch, &QTimer::timeout, this, [&] {
        if (!second.received().contains('5'))
            return;
        watch.stop();
        QTimer::singleShot(400, &second, &FakeRadio::hangUp);
    });
    watch.start();
    const CliRun run = CliRun::run({"read", "--port", "COM2"}, {first.devicePath(), second.devicePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines().size(), 1);
    const QString expected = QStringLiteral("COM2: error: read failed: Read error: Serial port %1 failed: ").arg(second.devicePath());
    QVERIFY2(run.errorLines().first().startsWith(expected), run.err.constData());
}

void tst_CliRadio::logThatIsNoFileDoesNotHold()
{
    // A FIFO in the write log's place: the write was sent and the program then waited for ever.
    QTemporaryDir dir;
    FakeRadio radio;
    const QString plan = saveSample(dir);
    QVERIFY(QDir().mkpath(QFileInfo(writeLogPath()).absolutePath()));
    QFile::remove(writeLogPath());
    QCOMPARE(::mkfifo(QFile::encodeName(writeLogPath()).constData(), 0600), 0);
    const CliRun run = CliRun::run({"write", "--port", "COM1", plan}, {radio.devicePath()}, {}, {}, 30000);
    QFile::remove(writeLogPath());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(radio.writesStored(), 1);
    QVERIFY2(run.err.contains("is not a regular file"), run.err.constData());
    QVERIFY2(!QString::fromUtf8(run.err).contains(QStringLiteral("写入记录")), run.err.constData());
}

QTEST_GUILESS_MAIN(tst_CliRadio)
#include "tst_cliradio.moc"
