#include "clirun.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class tst_CliConvert : public QObject
{
    Q_OBJECT

private slots:
    void roundTrips_data();
    void roundTrips();
    void csvIsCheckedLikeTheGrid();
    void csvErrorsNameLineAndColumn_data();
    void csvErrorsNameLineAndColumn();
    void jsonErrors_data();
    void jsonErrors();
    void channelFileErrorsNameTheItem();
    void chirpSheetIn();
    void chirpSheetOut();
    void firstIsForChirpSheets_data();
    void firstIsForChirpSheets();
    void sheetsReadWhole_data();
    void sheetsReadWhole();
    void smallFileUnderMemoryLimit_data();
    void smallFileUnderMemoryLimit();
    void sheetFromPipe();
};

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// A valid sheet with one line replaced (1 is the squelch line, 2 the header, 3 to 18 channels).
QByteArray csvWith(int line, const QByteArray &replacement)
{
    QList<QByteArray> lines = {"squelch,4", "channel,receive MHz,transmit MHz,shift"};
    for (int k = 1; k <= ChannelCount; ++k)
        lines << QByteArray::number(k) + ",145." + QByteArray::number(k * 25).rightJustified(3, '0') + ",,off";
    if (line > 0)
        lines[line - 1] = replacement;
    return lines.join('\n') + '\n';
}

} // namespace

void tst_CliConvert::roundTrips_data()
{
    QTest::addColumn<QString>("via");
    QTest::newRow("csv") << "csv";
    QTest::newRow("json") << "json";
}

void tst_CliConvert::roundTrips()
{
    QFETCH(QString, via);
    QTemporaryDir dir;
    // The sample holds every kind of row: shift on and off, a receive-only channel, an empty one.
    const QString plan = CliSample::saveSample(dir);
    QVERIFY(!plan.isEmpty());
    const QString sheet = dir.filePath("plan." + via);
    const CliRun out = CliRun::run({"convert", plan, "--to", via, "-o", sheet});
    QCOMPARE(out.exitCode, 0);
    QVERIFY(out.err.isEmpty());

    const CliRun back = CliRun::run({"convert", sheet, "--to", "chan"});
    QCOMPARE(back.exitCode, 0);
    QCOMPARE(back.out, readFile(plan) + '\n');

    // Standard output holds the same as the file.
    const CliRun shown = CliRun::run({"convert", plan, "--to", via});
    QCOMPARE(shown.out, readFile(sheet));
}

void tst_CliConvert::csvIsCheckedLikeTheGrid()
{
    QTemporaryDir dir;
    QByteArray sheet = csvWith(3, "1, 145.123 ,,ON");
    sheet.replace("4,145.100,,off", "4,\"136.00625\",435.0025,");
    sheet.replace("5,145.125,,off", "5,0,,");
    sheet.replace("6,145.150,,off", "6,130,500,off");
    // Channel rows in any order; Windows line ends and a byte order mark from a spreadsheet.
    sheet.replace("7,145.175,,off\n8,145.200,,off", "8,145.200,,off\n7,145.175,,off");
    sheet.replace("\n", "\r\n");
    sheet.prepend("\xEF\xBB\xBF");
    const QString path = dir.filePath("plan.csv");
    QVERIFY(writeFile(path, sheet));
    const CliRun run = CliRun::run({"convert", path, "--to", "chan"});
    QCOMPARE(run.exitCode, 0);
    const QStringList items = QString::fromUtf8(run.out).split(u',');
    QCOMPARE(items.value(0), "4");
    // Receive snapped, transmit copied from it (typed empty afterwards: receive-only), shift on.
    QCOMPARE(items.mid(1, 3), (QStringList{"145.12000", "", "on"}));
    QCOMPARE(items.mid(10, 3), (QStringList{"136.00625", "435.00000", "off"}));
    QCOMPARE(items.mid(13, 3), (QStringList{"", "", ""}));
    QCOMPARE(items.mid(16, 3), (QStringList{"130.00000", "500.00000", "off"}));
    QCOMPARE(items.mid(19, 3), (QStringList{"145.17500", "", "off"}));
    QCOMPARE(items.mid(22, 3), (QStringList{"145.20000", "", "off"}));
}

void tst_CliConvert::csvErrorsNameLineAndColumn_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("error");
    QTest::newRow("receive above the range") << csvWith(5, "3,500.00001,,off") << "line 5, column 2: 500.00001 MHz is outside 130 to 500 MHz";
    QTest::newRow("transmit below the range") << csvWith(18, "16,145,129.99999,off") << "line 18, column 3: 129.99999 MHz is outside";
    QTest::newRow("negative receive") << csvWith(3, "1,-145,,") << "line 3, column 2: -145 MHz is outside";
    QTest::newRow("not a number") << csvWith(4, "2,145.3MHz,,") << "line 4, column 2: \"145.3MHz\" is not a frequency";
    QTest::newRow("bad shift") << csvWith(6, "4,145,145,yes") << "line 6, column 4: shift \"yes\" is not on or off";
    QTest::newRow("transmit without receive, out of range") << csvWith(7, "5,,600,") << "line 7, column 3: 600 MHz is outside 130 to 500 MHz";
    QTest::newRow("channel 17") << csvWith(8, "17,145,,") << "line 8, column 1: channel \"17\" is not 1 to 16";
    QTest::newRow("channel twice") << csvWith(9, "1,145,,") << "line 9, column 1: channel 1 again (first on line 3)";
    QTest::newRow("squelch above 9") << csvWith(1, "squelch,12") << "line 1, column 2: squelch level \"12\" is not a digit 0 to 9";
    QTest::newRow("no squelch line") << csvWith(1, "channel,receive MHz,transmit MHz,shift") << "line 1: expected \"squelch,<level 0 to 9>\"";
    QTest::newRow("wrong header") << csvWith(2, "channel,rx,tx,shift") << "line 2, column 2: expected \"receive MHz\"";
    QTest::newRow("five columns") << csvWith(10, "8,145,145,off,extra") << "line 10: expected 4 columns, found 5";
    QTest::newRow("open quote") << csvWith(11, "9,\"145,,") << "line 11: a quoted field is not closed";
    QTest::newRow("empty") << QByteArray() << "line 1: no squelch line";
}

void tst_CliConvert::csvErrorsNameLineAndColumn()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.csv");
    QVERIFY(writeFile(path, sheet));
    const CliRun run = CliRun::run({"convert", path, "--to", "json", "-o", dir.filePath("plan.json")});
    QCOMPARE(run.exitCode, 3);
    QCOMPARE(run.errorLines().size(), 1);
    const QString line = run.errorLines().first();
    QVERIFY2(line.startsWith("qz300-cli: " + path + ": " + error), qPrintable(line));
    QVERIFY(!QFile::exists(dir.filePath("plan.json")));
}

void tst_CliConvert::jsonErrors_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");
    QTest::newRow("syntax") << QByteArray("{\n  \"squelch\": \"3\",\n  \"channels\": [ }\n") << "line 3, column";
    QTest::newRow("fifteen channels") << QByteArray("{\"squelch\": 3, \"channels\": []}") << "channels: expected a list of 16 channels";
}

void tst_CliConvert::jsonErrors()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.json");
    QVERIFY(writeFile(path, json));
    const CliRun run = CliRun::run({"convert", path, "--to", "csv"});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.errorLines().value(0).startsWith("qz300-cli: " + path + ": " + error), run.err.constData());

    // A value out of range names the channel and the key.
    const QString good = dir.filePath("good.json");
    QCOMPARE(CliRun::run({"convert", CliSample::saveSample(dir), "--to", "json", "-o", good}).exitCode, 0);
    QByteArray edited = readFile(good);
    edited.replace("\"430.03750\"", "600");
    QVERIFY(writeFile(good, edited));
    const CliRun range = CliRun::run({"convert", good, "--to", "csv"});
    QCOMPARE(range.exitCode, 3);
    QVERIFY2(range.err.contains("channels[2].receive_mhz (channel 3): 600 MHz is outside"), range.err.constData());
}

void tst_CliConvert::channelFileErrorsNameTheItem()
{
    QTemporaryDir dir;
    ChannelSet set = CliSample::sampleSet();
    set.channels[1].tf = QStringLiteral("520.00000");
    const QString plan = CliSample::saveSample(dir, set);
    const CliRun run = CliRun::run({"convert", plan, "--to", "csv"});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.contains(": item 6 (channel 2): 520.00000 MHz is outside"), run.err.constData());

    // Words where frequencies stand, and shifts neither on nor off, are named by their item.
    QByteArray words = "7,xyz1,438.00500,off,";
    for (int k = 2; k <= ChannelCount; ++k)
        words += "430.00000,438.00000,off,";
    QVERIFY(writeFile(dir.filePath("word.doc"), words));
    const CliRun word = CliRun::run({"convert", dir.filePath("word.doc"), "--to", "csv"});
    QCOMPARE(word.exitCode, 3);
    QVERIFY2(word.err.contains(": item 2 (channel 1): \"xyz1\" is not a frequency in MHz"), word.err.constData());
    set = CliSample::sampleSet();
    set.channels[3].bt = QStringLiteral("maybe");
    const CliRun shift = CliRun::run({"convert", CliSample::saveSample(dir, set), "--to", "csv"});
    QCOMPARE(shift.exitCode, 3);
    QVERIFY2(shift.err.contains(": item 13 (channel 4): shift \"maybe\" is not on or off"), shift.err.constData());

    // "Null", what a database null is saved as, is a shift off.
    set = CliSample::sampleSet();
    set.channels[2].bt = QVariant();
    const CliRun null = CliRun::run({"convert", CliSample::saveSample(dir, set), "--to", "csv"});
    QCOMPARE(null.exitCode, 0);
    QVERIFY2(null.out.contains("\n3,430.03750,438.01500,off\n"), null.out.constData());

    QVERIFY(writeFile(dir.filePath("short.doc"), "3,145,145,off,"));
    const CliRun tooShort = CliRun::run({"convert", dir.filePath("short.doc"), "--to", "json"});
    QCOMPARE(tooShort.exitCode, 3);
    QVERIFY(tooShort.err.contains("fewer than 49 items"));
}

void tst_CliConvert::chirpSheetIn()
{
    const QString list = QFINDTESTDATA("data/chirp/repeaters.csv");
    QVERIFY(!list.isEmpty());
    // Twenty rows do not fit; the error names the count and no output is made.
    const CliRun tooMany = CliRun::run({"convert", list, "--to", "chan"});
    QCOMPARE(tooMany.exitCode, 3);
    QCOMPARE(tooMany.errorLines(), QStringList{"qz300-cli: " + list + ": line 18: 20 channels; the radio holds 16"});
    QVERIFY(tooMany.out.isEmpty());

    const CliRun run = CliRun::run({"convert", list, "--to", "chan", "--first", "4"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("3,162.55000,,off,146.94000,146.34000,off,433.50000,433.50000,on,442.10000,447.10000,off,"
                                 "430.98750,438.58750,off,145.60000,146.20000,off,145.10000,145.30000,off,"
                                 "438.61250,431.01250,off,439.45000,431.45000,off,145.12000,145.12000,off,"
                                 "146.52000,146.52000,off,446.00625,446.00625,off,145.28750,145.28750,off,"
                                 "144.80000,144.80000,off,145.33750,144.73750,off,433.00000,434.60000,off,\n"));
    // What the radio cannot hold is told on standard error, one warning a line.
    const QStringList warnings = run.errorLines();
    QCOMPARE(warnings.size(), 7);
    QCOMPARE(warnings.first(), "qz300-cli: warning: " + list + ": channels 1 to 16 are locations 4 to 21; 4 other rows are left out");
    QCOMPARE(warnings.at(5), "qz300-cli: warning: " + list + ": line 14: not kept: name \"北京中继\", mode AM");
}

void tst_CliConvert::chirpSheetOut()
{
    QTemporaryDir dir;
    ChannelSet set = CliSample::sampleSet();
    set.squelch = QStringLiteral("3");
    const QString plan = CliSample::saveSample(dir, set);
    const QString sheet = dir.filePath("plan.csv");
    const CliRun out = CliRun::run({"convert", plan, "--to", "chirp", "-o", sheet});
    QCOMPARE(out.exitCode, 0);
    QVERIFY(out.err.isEmpty());
    const QByteArray written = readFile(sheet);
    QVERIFY(written.startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));
    // Channel 3: 430.03750 receive, 438.01500 transmit (off the 6.25 kHz raster), shift on.
    QVERIFY2(written.contains("\r\n3,,430.037500,+,7.977500,,88.5,88.5,023,NN,FM,6.25,,beat-shift,,,,\r\n"), written.constData());
    QVERIFY(!written.contains("\r\n5,"));

    // Read back by its header, it is the same channel file again.
    const CliRun back = CliRun::run({"convert", sheet, "--to", "chan"});
    QCOMPARE(back.exitCode, 0);
    QCOMPARE(back.out, readFile(plan) + '\n');

    // The squelch level has no column: a level other than 3 is said to be lost.
    const CliRun seven = CliRun::run({"convert", CliSample::saveSample(dir), "--to", "chirp"});
    QCOMPARE(seven.exitCode, 0);
    QCOMPARE(seven.errorLines(), QStringList{"qz300-cli: warning: the squelch level 7 is not written: the layout has no place for it"});
    QVERIFY(seven.out.startsWith("Location,"));
}

void tst_CliConvert::firstIsForChirpSheets_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("our csv") << QStringList{"convert", "plan.csv", "--to", "chan", "--first", "2"} << "--first applies to a CHIRP sheet only";
    QTest::newRow("channel file") << QStringList{"convert", "plan.doc", "--to", "csv", "--first", "2"} << "--first applies to a CHIRP sheet only";
    QTest::newRow("not a number") << QStringList{"convert", "list.csv", "--to", "chan", "--first", "x"}
                                  << "--first takes a location, a whole number from 0";
    QTest::newRow("negative") << QStringList{"convert", "list.csv", "--to", "chan", "--first", "-1"}
                              << "--first takes a location, a whole number from 0";
    QTest::newRow("read") << QStringList{"read", "--port", "COM1", "--first", "2"} << "read takes no --first";
    QTest::newRow("unknown format") << QStringList{"convert", "plan.doc", "--to", "xml"} << "--to takes chan, csv, json, chirp or pdf";
}

void tst_CliConvert::firstIsForChirpSheets()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("plan.csv"), csvWith(0, {})));
    QVERIFY(!CliSample::saveSample(dir).isEmpty());
    QVERIFY(QFile::copy(QFINDTESTDATA("data/chirp/repeaters.csv"), dir.filePath("list.csv")));
    const CliRun run = CliRun::run(arguments, {}, dir.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errorLines().value(0), "qz300-cli: " + error);
    QVERIFY(run.out.isEmpty());
}

void tst_CliConvert::sheetsReadWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // "<huge>": a sparse file one byte over 64 MiB
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");   // the set as our CSV, or the error's last words

    auto csvOut = [](const QByteArray &squelch, const QList<QByteArray> &used) {
        QByteArray out = "squelch," + squelch + "\nchannel,receive MHz,transmit MHz,shift\n";
        for (int k = 1; k <= 16; ++k)
            out += QByteArray::number(k) + ',' + (k <= used.size() ? used[k - 1] : QByteArray(",,")) + '\n';
        return out;
    };
    const QByteArray twoChannels = csvOut("3", {"438.12500,438.12500,off", "145.50000,145.50000,off"});
    const QByteArray comment(1200 * 1024, 'c');
    QTest::newRow("CHIRP, a comment over 1 MiB in the first row")
        << "list.csv"
        << "Location,Frequency,Duplex,Offset,Comment\r\n1,438.125000,,0.000000," + comment + "\r\n2,145.500000,,0.000000,\r\n"
        << 0 << twoChannels;
    QTest::newRow("CHIRP, lone CR") << "list.csv"
                                    << QByteArray("Location,Frequency,Duplex,Offset\r1,438.125000,,0.000000\r2,145.500000,,0.000000\r")
                                    << 0 << twoChannels;
    QTest::newRow("CHIRP, mixed line ends")
        << "list.csv" << QByteArray("Location,Frequency,Duplex,Offset\r\n1,438.125000,,0.000000\r2,145.500000,,0.000000\n") << 0
        << twoChannels;
    // What an empty table is exported as: every channel empty.
    QTest::newRow("CHIRP, a header and no rows") << "list.csv" << QByteArray("Location,Frequency,Duplex,Offset\r\n") << 0
                                                 << csvOut("3", {});
    QTest::newRow("CHIRP, header only, lone CR ends") << "list.csv" << QByteArray("Location,Frequency,Duplex,Offset\r\r") << 0
                                                      << csvOut("3", {});
    QTest::newRow("our CSV, lone CR") << "plan.csv"
                                      << QByteArray("squelch,5\rchannel,receive MHz,transmit MHz,shift\r1,145.5,145.5,on\r3,150,,off\r")
                                      << 0 << csvOut("5", {"145.50000,145.50000,on", ",,", "150.00000,,off"});
    QTest::newRow("our CSV, a header and no rows") << "plan.csv" << QByteArray("squelch,5\nchannel,receive MHz,transmit MHz,shift\n")
                                                   << 3 << QByteArray("line 3: a header and no channel rows");
    QByteArray json = "{\"squelch\": \"2\", \"channels\": [";
    for (int k = 1; k <= 16; ++k)
        json += QByteArray(k > 1 ? "," : "") + "{\"channel\": " + QByteArray::number(k) + ", \"receive_mhz\": \"" + (k == 16 ? "146.52" : "")
            + "\", \"transmit_mhz\": \"\", \"shift\": \"\"}";
    json += QByteArray(2 * 1024 * 1024, ' ') + "]}\n";
    QByteArray jsonOut = csvOut("2", {});
    jsonOut.replace("16,,,", "16,146.52000,,off"); // a receive frequency without shift is off
    QTest::newRow("JSON, 2 MiB of blanks before its end") << "plan.json" << json << 0 << jsonOut;
    QByteArray channelFile = "4," + QByteArray(2 * 1024 * 1024, ' ') + "145.5,145.5,on,";
    for (int k = 2; k <= 16; ++k)
        channelFile += ",,,";
    QTest::newRow("channel file, 2 MiB of blanks before an item")
        << "plan.doc" << channelFile << 0 << csvOut("4", {"145.50000,145.50000,on"});
    QTest::newRow("over 64 MiB") << "plan.csv" << QByteArray("<huge>") << 3 << QByteArray("larger than 64 MiB; not read");
}

// A sheet is read whole or refused; whatever its line ends, its rows are rows.
void tst_CliConvert::sheetsReadWhole()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (bytes == "<huge>") {
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize((qint64(64) << 20) + 1));
    } else {
        QVERIFY(writeFile(path, bytes));
    }
    const CliRun run = CliRun::run({"convert", path, "--to", "csv"});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QCOMPARE(run.out, out);
    } else {
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.errorLines().value(0).startsWith("qz300-cli: " + path + ": "), run.err.constData());
        QVERIFY2(run.errorLines().value(0).endsWith(QString::fromUtf8(out)), run.err.constData());
    }
}

void tst_CliConvert::smallFileUnderMemoryLimit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("our CSV") << "small.csv" << csvWith(0, {});
    QTest::newRow("CHIRP sheet") << "small.csv" << QByteArray("Location,Frequency\r\n1,145.025\r\n");
    QByteArray channelFile = "4,145.025,145.025,off,";
    for (int k = 2; k <= 16; ++k)
        channelFile += ",,,";
    QTest::newRow("channel file") << "small.doc" << channelFile;
}

// As on a shared server or in a container: a small file is read in what it needs (a read that
// reserved the largest file's size ended in std::bad_alloc, status 134).
void tst_CliConvert::smallFileUnderMemoryLimit()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves more address space than the limit allows");
#endif
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(name), bytes));
    QProcess limited;
    limited.setWorkingDirectory(dir.path());
    limited.start(QStringLiteral("/bin/sh"),
                  {"-c", "ulimit -v 200000 && exec \"$0\" convert \"$1\" --to csv -o out.csv", QStringLiteral(QZ300_CLI), name});
    QVERIFY(limited.waitForFinished(60000));
    QVERIFY2(limited.exitStatus() == QProcess::NormalExit && limited.exitCode() == 0, limited.readAllStandardError().constData());
    const QByteArray out = readFile(dir.filePath("out.csv"));
    QVERIFY(out.startsWith("squelch,"));
    QVERIFY2(out.contains("\n1,145.02500,"), out.constData());
}

// A pipe has no size: it is read in pieces to its end, however it is written.
void tst_CliConvert::sheetFromPipe()
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath("list.csv");
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    // Larger than one piece, so that it arrives in several.
    const QByteArray sheet = "Location,Frequency,Duplex,Offset,Comment\r\n1,438.125000,,0.000000," + QByteArray(300 * 1024, 'c') + "\r\n";
    QProcess writer;
    writer.start(QStringLiteral("/bin/sh"), {"-c", "cat > \"$0\"", pipe});
    QVERIFY(writer.waitForStarted());
    writer.write(sheet);
    writer.closeWriteChannel();
    const CliRun run = CliRun::run({"convert", pipe, "--to", "csv"});
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QVERIFY(writer.state() == QProcess::NotRunning || writer.waitForFinished());
    QVERIFY2(run.out.contains("\n1,438.12500,438.12500,off\n"), run.out.constData());
}

QTEST_GUILESS_MAIN(tst_CliConvert)
#include "tst_cliconvert.moc"
