#include "clirun.h"
#include "fakeradio.h"
#include "fulldisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// What qz300-cli takes in and puts out: a command line it cannot honour, outputs that would
// overwrite the input or each other, outputs that are not regular files, and a full standard output.
class tst_CliOutput : public QObject
{
    Q_OBJECT

private slots:
    void commandLineErrors_data();
    void commandLineErrors();
    void outputsThatCollide_data();
    void outputsThatCollide();
    void writeRefusesWhatConvertRefuses_data();
    void writeRefusesWhatConvertRefuses();
    void outputOntoSpecialFiles_data();
    void outputOntoSpecialFiles();
    void fullStandardOutput_data();
    void fullStandardOutput();
    void inputFromAFifo();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
};

using namespace CliSample;

namespace {

bool isFifo(const QString &path)
{
    struct stat info{};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

/// The sample plan with one text replaced (first occurrence).
QString planWith(const QTemporaryDir &dir, const QByteArray &from, const QByteArray &to)
{
    const QString path = saveSample(dir);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = file.readAll();
    file.close();
    const qsizetype at = bytes.indexOf(from);
    if (at < 0)
        return QString();
    bytes.replace(at, from.size(), to);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() ? path : QString();
}

} // namespace

void tst_CliOutput::commandLineErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString timeout = QStringLiteral("--ready-timeout takes seconds");
    QTest::newRow("timeout nan") << QStringList{"read", "--port", "COM1", "--ready-timeout", "nan"} << timeout;
    QTest::newRow("timeout inf") << QStringList{"read", "--port", "COM1", "--ready-timeout", "inf"} << timeout;
    QTest::newRow("timeout negative") << QStringList{"read", "--port", "COM1", "--ready-timeout", "-2"} << timeout;
    QTest::newRow("timeout huge") << QStringList{"read", "--port", "COM1", "--ready-timeout", "1e300"} << timeout;
    QTest::newRow("empty port") << QStringList{"read", "--port", ""} << "--port needs a port name";
    QTest::newRow("blank port beside a good one") << QStringList{"read", "--port", "COM1", "--port", " ", "-o", "x"}
                                                  << "--port needs a port name";
    QTest::newRow("backup to standard output") << QStringList{"write", "--port", "COM1", "plan.doc", "--backup", "-"}
                                               << "--backup needs a file name";
}

void tst_CliOutput::commandLineErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    FakeRadio radio;
    QVERIFY(radio.isOpen());
    const CliRun run = CliRun::run(arguments, {radio.devicePath()}, {}, {}, 20000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errorLines().value(0).contains(message), run.err.constData());
    QVERIFY(radio.received().isEmpty());
}

void tst_CliOutput::outputsThatCollide_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    // In the test's folder: plan.doc, link.doc -> plan.doc, out-COM1.doc -> out-COM2.doc.
    QTest::newRow("backup is the input") << QStringList{"write", "--port", "COM1", "plan.doc", "--backup", "plan.doc"}
                                         << "plan.doc is the input file";
    QTest::newRow("backup is the input by a link") << QStringList{"write", "--port", "COM1", "plan.doc", "--backup", "link.doc"}
                                                   << "link.doc is the input file";
    QTest::newRow("backup is the input by another path")
        << QStringList{"write", "--port", "COM1", "plan.doc", "--backup", "sub/../plan.doc"} << "is the input file";
    QTest::newRow("two ports' backups are one file by a link")
        << QStringList{"write", "--port", "COM1", "--port", "COM2", "plan.doc", "--backup", "out-{port}.doc"}
        << "out-COM2.doc would be saved twice";
    QTest::newRow("two ports' reads are one file by a link")
        << QStringList{"read", "--port", "COM1", "--port", "COM2", "-o", "out-{port}.doc"} << "out-COM2.doc would be saved twice";
}

void tst_CliOutput::outputsThatCollide()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString plan = saveSample(dir);
    QVERIFY(!plan.isEmpty());
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(QFile::link(plan, dir.filePath("link.doc")));
    QVERIFY(QFile::link(dir.filePath("out-COM2.doc"), dir.filePath("out-COM1.doc")));
    QFile old(plan);
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();

    FakeRadio first;
    FakeRadio second;
    const CliRun run = CliRun::run(arguments, {first.devicePath(), second.devicePath()}, dir.path(), {}, 20000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errorLines().value(0).contains(message), run.err.constData());
    QVERIFY(first.received().isEmpty());
    QVERIFY(second.received().isEmpty());
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), before);
}

void tst_CliOutput::writeRefusesWhatConvertRefuses_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("reason");
    // The comma splits the quoted value in two: the first half is no number.
    QTest::newRow("quoted comma in a frequency") << QByteArray("430.01250") << QByteArray("\"430,01250\"")
                                                 << "item 2 (channel 1): \"\"430\" is not a frequency in MHz";
    QTest::newRow("frequency above the range") << QByteArray("430.01250") << QByteArray("600.00000")
                                               << "item 2 (channel 1): 600.00000 MHz is outside 130 to 500 MHz";
    QTest::newRow("shift that is not on or off") << QByteArray(",off,") << QByteArray(",yes,")
                                                 << "item 4 (channel 1): shift \"yes\" is not on or off";
}

void tst_CliOutput::writeRefusesWhatConvertRefuses()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString plan = planWith(dir, from, to);
    QVERIFY(!plan.isEmpty());

    const CliRun converted = CliRun::run({"convert", plan, "--to", "csv"});
    QCOMPARE(converted.exitCode, 3);
    QCOMPARE(converted.errorLines(), QStringList{"qz300-cli: " + plan + ": " + reason});

    FakeRadio radio;
    const CliRun written = CliRun::run({"write", "--port", "COM1", plan, "--verify"}, {radio.devicePath()});
    QVERIFY(written.finished);
    QCOMPARE(written.exitCode, 3);
    QCOMPARE(written.errorLines(), converted.errorLines());
    QTest::qWait(200);
    QVERIFY(radio.received().isEmpty());
    QCOMPARE(radio.writesStored(), 0);
}

void tst_CliOutput::outputOntoSpecialFiles_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("- is standard output") << "-" << 0;
    QTest::newRow("a FIFO is written in place") << "out.fifo" << 0;
    QTest::newRow("a link to a FIFO") << "link.fifo" << 0;
    QTest::newRow("a folder is refused") << "sub" << 1;
}

void tst_CliOutput::outputOntoSpecialFiles()
{
    QFETCH(QString, target);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    const QString plan = saveSample(dir);
    QVERIFY(makeFifo(dir.filePath("out.fifo")));
    QVERIFY(QFile::link(dir.filePath("out.fifo"), dir.filePath("link.fifo")));
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    const QByteArray expected = CliRun::run({"convert", plan, "--to", "csv"}).out;
    QVERIFY(expected.startsWith("squelch,7\n"));

    // A reader on the FIFO, as a shell's process substitution would hold one.
    QProcess reader;
    reader.setWorkingDirectory(dir.path());
    reader.start("cat", {"out.fifo"});
    QVERIFY(reader.waitForStarted());

    const CliRun run = CliRun::run({"convert", plan, "--to", "csv", "-o", target}, {}, dir.path(), {}, 20000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    if (target == u"-") {
        QCOMPARE(run.out, expected);
        QVERIFY(!QFileInfo::exists(dir.filePath("-")));
    } else if (target.endsWith(u".fifo")) {
        QTRY_COMPARE_WITH_TIMEOUT(reader.state(), QProcess::NotRunning, 5000);
        QCOMPARE(reader.readAllStandardOutput(), expected);
    } else {
        QVERIFY2(run.errorLines().value(0).contains("sub: is a folder"), run.err.constData());
        QVERIFY(QFileInfo(dir.filePath("sub")).isDir());
    }
    QVERIFY(isFifo(dir.filePath("out.fifo")));
    if (reader.state() != QProcess::NotRunning) {
        reader.kill();
        reader.waitForFinished(2000);
    }
}

void tst_CliOutput::fullStandardOutput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("lastError");
    const QString full = QStringLiteral("standard output: No space left on device");
    QTest::newRow("convert") << QStringList{"convert", "PLAN", "--to", "json"} << "qz300-cli: " + full;
    QTest::newRow("ports") << QStringList{"ports"} << "qz300-cli: " + full;
    QTest::newRow("help") << QStringList{"--help"} << "qz300-cli: " + full;
    QTest::newRow("read") << QStringList{"read", "--port", "COM1"} << "COM1: error: read 16 channels, but cannot print them: " + full;
}

void tst_CliOutput::fullStandardOutput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, lastError);
    if (!QFileInfo(QStringLiteral("/dev/full")).isWritable())
        QSKIP("no /dev/full here");
    QTemporaryDir dir;
    arguments.replaceInStrings(QStringLiteral("PLAN"), saveSample(dir));
    FakeRadio radio;
    const CliRun run = CliRun::run(arguments, {radio.devicePath()}, dir.path(), {}, 20000, QStringLiteral("/dev/full"));
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines().value(run.errorLines().size() - 1), lastError);
}

void tst_CliOutput::inputFromAFifo()
{
    QTemporaryDir dir;
    const QString plan = saveSample(dir);
    const QByteArray expected = CliRun::run({"convert", plan, "--to", "csv"}).out;
    QVERIFY(makeFifo(dir.filePath("in.fifo")));
    // As `qz300-cli convert <(cat plan.doc)` would see it.
    QProcess writer;
    writer.start("sh", {"-c", "cat \"$0\" > \"$1\"", plan, dir.filePath("in.fifo")});
    const CliRun run = CliRun::run({"convert", dir.filePath("in.fifo"), "--to", "csv"}, {}, {}, {}, 20000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, expected);
    QTRY_COMPARE_WITH_TIMEOUT(writer.state(), QProcess::NotRunning, 5000);
}

void tst_CliOutput::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<QStringList>("arguments"); // FULL: a folder on the full disk
    QTest::addColumn<QString>("lastError");
    QTest::addColumn<int>("writesStored");
    QTest::newRow("convert -o") << QStringList{"convert", "PLAN", "--to", "csv", "-o", "FULL/old.csv"}
                                << "qz300-cli: FULL/old.csv: disk full (No space left on device)" << 0;
    QTest::newRow("read -o") << QStringList{"read", "--port", "COM1", "-o", "FULL/old.csv"}
                             << "COM1: error: read 16 channels but cannot save them: FULL/old.csv: disk full (No space left on device)" << 0;
    QTest::newRow("write --backup") << QStringList{"write", "--port", "COM1", "PLAN", "--backup", "FULL/old.csv"}
                                    << "COM1: error: backup not saved, nothing written: FULL/old.csv: disk full (No space left on device)" << 0;
}

// Every write is checked up to the last one before the old file is replaced.
void tst_CliOutput::fullDiskKeepsOldFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, lastError);
    QFETCH(int, writesStored);
    FullDisk full;
    if (!full.skipReason().isEmpty())
        QSKIP(qPrintable(full.skipReason()));
    const QByteArray old = "squelch,3\nthe user's old file\n";
    QVERIFY(full.put(QStringLiteral("old.csv"), old));
    QVERIFY(full.fill());
    QTemporaryDir dir;
    const QString folder = full.folder();
    arguments.replaceInStrings(QStringLiteral("PLAN"), saveSample(dir));
    arguments.replaceInStrings(QStringLiteral("FULL"), folder);
    FakeRadio radio;
    const CliRun run = CliRun::run(arguments, {radio.devicePath()}, dir.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines().value(run.errorLines().size() - 1), QString(lastError).replace(QStringLiteral("FULL"), folder));
    QCOMPARE(radio.writesStored(), writesStored);
    QFile kept(full.path(QStringLiteral("old.csv")));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{".filler", "old.csv"}));
}

QTEST_GUILESS_MAIN(tst_CliOutput)
#include "tst_clioutput.moc"
