#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "filecommandrig.h"
#include "fulldisk.h"
#include "window/channels/channelgrid.h"
#include "window/files/filedialogs.h"
#include "window/ui/translations.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include <sys/stat.h>

// 导入 and 导出 on the real main window; the file dialog is answered through its seam.
class tst_SheetCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menuPlace();
    void importChirpFillsTable();
    void importFaultChangesNothing_data();
    void importFaultChangesNothing();
    void importListsAtMostTwentyWarnings();
    void importWarningsInChinese_data();
    void importWarningsInChinese();
    void importDetailsInEnglishWindow_data();
    void importDetailsInEnglishWindow();
    void importManyRowsAsksFirstLocation_data();
    void importManyRowsAsksFirstLocation();
    void exportWritesLayoutAndReadsBack_data();
    void exportWritesLayoutAndReadsBack();
    void exportFaultLeavesFile_data();
    void exportFaultLeavesFile();
    void exportStartsWhereTheLastExportWent();
    void openCellCommittedFirst();
    void refusedDuringTransfer();

private:
    void trigger(const char *name);
    QString path(const QString &name) const { return m_rig->dir.filePath(name); }
    /// Three used channels, squelch "  5" picked from the list; what the table holds afterwards.
    ChannelList storeSmallSet();

    std::unique_ptr<FileCommandRig> m_rig;
};

namespace {

const QString ErrorTitle = QStringLiteral("错误警告 ");
const QString ChirpFilter = QStringLiteral("CHIRP CSV (*.csv)");
const QString CsvFilter = QStringLiteral("CSV (*.csv)");
const QString JsonFilter = QStringLiteral("JSON (*.json)");

const QByteArray ChirpHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,"
                               "Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

/// rf, tf and bt as the grid shows them, row by row.
QStringList shown(const ChannelGrid *grid)
{
    QStringList rows;
    for (int row = 0; row < ChannelCount; ++row) {
        QStringList cells;
        for (int column = ChannelField::Rf; column <= ChannelField::Bt; ++column)
            cells << grid->model()->index(row, column).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

QStringList withoutNumbers(const ChannelList &channels)
{
    QStringList rows;
    for (const ChannelRecord &channel : channels)
        rows << QStringList{channel.rf.toString(), channel.tf.toString(), channel.bt.toString()}.join(u'|');
    return rows;
}

} // namespace

void tst_SheetCommands::init()
{
    m_rig = std::make_unique<FileCommandRig>();
    QVERIFY(m_rig->isUp());
}

void tst_SheetCommands::cleanup()
{
    Translations::installProgramTexts(Translations::Language::Chinese); // after a failed English case
    m_rig.reset();
}

void tst_SheetCommands::trigger(const char *name)
{
    QAction *command = m_rig->action(name);
    QVERIFY(command);
    command->trigger();
}

ChannelList tst_SheetCommands::storeSmallSet()
{
    ChannelTable &table = m_rig->window->channelTable();
    ChannelList channels = table.channels();
    for (ChannelRecord &channel : channels)
        channel = {channel.no, emptyText(), emptyText(), emptyText()};
    channels[0] = {channels[0].no, QStringLiteral("145.50000"), QStringLiteral("145.50000"), QStringLiteral("off")};
    channels[1] = {channels[1].no, QStringLiteral("438.50000"), QStringLiteral("430.90000"), QStringLiteral("on")};
    channels[2] = {channels[2].no, QStringLiteral("162.55000"), emptyText(), QStringLiteral("off")};
    if (!table.storeChannels(channels))
        return {};
    m_rig->window->squelchBox()->setCurrentIndex(5); // picked from the list: "  5"
    return table.channels();
}

void tst_SheetCommands::menuPlace()
{
    auto *fileMenu = m_rig->window->findChild<QMenu *>(QStringLiteral("文件"));
    QVERIFY(fileMenu);
    QStringList entries;
    for (const QAction *action : fileMenu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(entries, (QStringList{"打开文件(&O)", "保存文件(&V)", "另存为…(&A)", "最近的文件(&L)", "恢复备份…(&R)", "-", "导入…(&I)", "导出…(&X)", "-",
                                "打印…(&P)", "导出 PDF…(&D)"}));
}

void tst_SheetCommands::importChirpFillsTable()
{
    m_rig->window->setSquelchLevel(QStringLiteral("6"));
    const QString file = QFINDTESTDATA("data/chirp/club.csv");
    QVERIFY(!file.isEmpty());
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file, ChirpFilter); };
    trigger("importCommand");

    QCOMPARE(m_rig->requests.size(), 1);
    QCOMPARE(m_rig->requests[0].mode, FileDialogs::Mode::Open);
    QCOMPARE(m_rig->requests[0].filter, QStringLiteral("CHIRP CSV (*.csv);;CSV (*.csv);;JSON (*.json);;所有文件 (*)"));
    QCOMPARE(m_rig->requests[0].initialFilter, ChirpFilter);
    QVERIFY(!m_rig->requests[0].suffixFromFilter);

    const QStringList expected = {
        "145.50000|145.50000|off", "145.75000|145.15000|off", "438.61250|431.01250|off", "||", "145.80000|435.30000|on", "||",
        "162.55000||off",          "||",                      "||",                      "||", "||",                    "||",
        "||",                      "||",                      "||",                      "446.00625|446.00625|off"};
    QCOMPARE(shown(m_rig->window->channelGrid()), expected);
    // The sheet has no squelch level: the box keeps its own.
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("6"));
    QCOMPARE(m_rig->window->channelTable().currentRow(), 1);

    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().title, QStringLiteral("QZ300"));
    QCOMPARE(m_rig->messages.last().icon, Messages::Icon::Information);
    QCOMPARE(m_rig->messages.last().text, QStringLiteral("文件 %1 已导入，以下内容未导入：\n"
                                                     "第 2 行：未保留：名称“CALL”\n"
                                                     "第 3 行：未保留：亚音 88.5 Hz\n"
                                                     "第 7 行：未保留：调制方式 NFM")
                                          .arg(QDir::toNativeSeparators(file)));

    // The grid moves on; the database holds the imported set.
    ChannelGrid *grid = m_rig->window->channelGrid();
    grid->setCurrentIndex(grid->model()->index(9, ChannelField::Rf));
    m_rig->window.reset();
    auto reopened = ChannelTable::open(path(QStringLiteral("qz3300E.mdb")));
    QVERIFY(reopened.table);
    QCOMPARE(withoutNumbers(reopened.table->channels()), expected);
}

void tst_SheetCommands::importFaultChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // "<none>": no file; "<folder>": a folder; "<fifo>": a pipe; "<20 rows>"
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("text");
    QTest::newRow("CHIRP, transmit out of range")
        << "club.csv" << QByteArray("Location,Frequency,Duplex,Offset\r\n1,145.5,,\r\n2,499.5,+,0.6\r\n") << ChirpFilter
        << "文件 %1 无法导入 ！！\n第 3 行第 4 列（Offset）：发送频率 500.100000 MHz 超出 130 到 500 MHz 的范围";
    QTest::newRow("CSV, receive out of range")
        << "plan.csv" << QByteArray("squelch,4\nchannel,receive MHz,transmit MHz,shift\n1,145.5,,off\n2,600,,\n") << CsvFilter
        << "文件 %1 无法导入 ！！\n第 4 行第 2 列：600 MHz 超出 130 到 500 MHz 的范围";
    QTest::newRow("CSV filter, no header") << "plan.txt" << QByteArray("145.5,145.5,off\n") << CsvFilter
                                           << "文件 %1 无法导入 ！！\n第 1 行：应为“squelch,<静噪级别 0 到 9>”";
    QTest::newRow("CHIRP, location twice")
        << "twice.csv" << QByteArray("Location,Frequency\r\n1,145.5\r\n1,146.5\r\n") << ChirpFilter
        << "文件 %1 无法导入 ！！\n第 3 行第 1 列（Location）：位置 1 重复（首次在第 2 行）";
    QTest::newRow("JSON, squelch no digit") << "plan.json" << QByteArray("{\"squelch\": \"x\", \"channels\": []}") << JsonFilter
                                            << "文件 %1 无法导入 ！！\nsquelch：不是 0 到 9 的数字";
    QTest::newRow("too large") << "huge.csv" << QByteArray("<huge>") << ChirpFilter << "文件 %1 无法导入 ！！\n大于 64 MiB，未读取";
    QTest::newRow("missing file") << "missing.csv" << QByteArray("<none>") << ChirpFilter << "文件 %1 无法打开 ！！";
    QTest::newRow("a folder") << "folder.csv" << QByteArray("<folder>") << ChirpFilter << "文件 %1 无法打开 ！！";
    // Nobody writes into the pipe: reading it would wait for ever.
    QTest::newRow("a pipe") << "pipe.csv" << QByteArray("<fifo>") << ChirpFilter << "文件 %1 无法打开 ！！";
}

void tst_SheetCommands::importFaultChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, filter);
    QFETCH(QString, text);
    const QString file = path(name);
    if (content == "<folder>")
        QVERIFY(QDir(m_rig->dir.path()).mkdir(name));
    else if (content == "<fifo>")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (content == "<20 rows>")
        QVERIFY(QFile::copy(QFINDTESTDATA("data/chirp/repeaters.csv"), file));
    else if (content == "<huge>") { // sparse: one byte over the limit costs no disk
        writeFile(file, QByteArray());
        QVERIFY(QFile::resize(file, (qint64(64) << 20) + 1));
    }
    else if (content != "<none>")
        writeFile(file, content);

    const ChannelList before = storeSmallSet();
    QVERIFY(!before.isEmpty());
    QVERIFY(QDir::setCurrent(m_rig->dir.path()));
    const QString workDir = QDir::currentPath();

    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file, filter); };
    trigger("importCommand");
    QCOMPARE(m_rig->requests.size(), 1);
    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().title, ErrorTitle);
    QCOMPARE(m_rig->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(m_rig->messages.last().text, text.arg(QDir::toNativeSeparators(file)));
    QCOMPARE(m_rig->window->channelTable().channels(), before);
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("  5"));
    QCOMPARE(QDir::currentPath(), workDir);
}

void tst_SheetCommands::importWarningsInChinese_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("warning");
    QTest::newRow("CHIRP's location 0 left out")
        << QByteArray("Location,Frequency\r\n0,146.01\r\n1,145.5\r\n")
        << "第 2 行第 1 列（Location）：位置 0 未导入：位置 1 到 16 即信道 1 到 16";
    QTest::newRow("rows in location order") << QByteArray("Location,Frequency\r\n20,145.5\r\n30,146.5\r\n")
                                            << "各行按位置顺序填入信道：位置 20 → 信道 1、位置 30 → 信道 2";
    QTest::newRow("transmit snapped to the raster") << QByteArray("Location,Frequency,Duplex,Offset\r\n1,145.5,split,145.123\r\n")
                                                    << "第 2 行第 4 列（Offset）：发送频率 145.123000 MHz 存为 145.12000";
    QTest::newRow("details not kept")
        << QByteArray("Location,Name,Frequency,Tone,rToneFreq,Mode,Skip,Comment\r\n1,HOME,145.5,Tone,88.5,NFM,S,club\r\n")
        << "第 2 行：未保留：名称“HOME”、亚音 88.5 Hz、调制方式 NFM、扫描跳过 S、备注“club”";
    // What an empty table is exported as: imported as an empty table, and said so.
    QTest::newRow("a header and no rows") << QByteArray("Location,Frequency\r\n\r\n") << "第 2 行：只有表头，没有信道行：所有信道均为空";
}

void tst_SheetCommands::importWarningsInChinese()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QString, warning);
    const QString file = path(QStringLiteral("sheet.csv"));
    writeFile(file, sheet);
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file, ChirpFilter); };
    trigger("importCommand");

    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().icon, Messages::Icon::Information);
    QCOMPARE(m_rig->messages.last().text,
             QStringLiteral("文件 %1 已导入，以下内容未导入：\n%2").arg(QDir::toNativeSeparators(file), warning));
}

// Under English the window's details read as qz300-cli prints them.
void tst_SheetCommands::importDetailsInEnglishWindow_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("text");
    QTest::newRow("an error") << QByteArray("Location,Frequency,Duplex,Offset\r\n1,145.5,,\r\n2,499.5,+,0.6\r\n")
                              << "File %1 cannot be imported.\n"
                                 "line 3, column 4 (Offset): transmit 500.100000 MHz is outside 130 to 500 MHz";
    QTest::newRow("warnings")
        << QByteArray("Location,Name,Frequency,Mode\r\n20,HOME,145.5,NFM\r\n30,,146.5,\r\n")
        << "File %1 was imported; the following was left out:\n"
           "rows fill channels in location order: location 20 to channel 1, location 30 to channel 2\n"
           "line 2: not kept: name \"HOME\", mode NFM";
}

void tst_SheetCommands::importDetailsInEnglishWindow()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QString, text);
    const QString file = path(QStringLiteral("sheet.csv"));
    writeFile(file, sheet);
    QVERIFY(Translations::installProgramTexts(Translations::Language::English));
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file, ChirpFilter); };
    trigger("importCommand");
    Translations::installProgramTexts(Translations::Language::Chinese);

    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().text, text.arg(QDir::toNativeSeparators(file)));
}

void tst_SheetCommands::importManyRowsAsksFirstLocation_data()
{
    QTest::addColumn<int>("picked"); // index into the offered Locations; -1: cancelled
    QTest::addColumn<QString>("firstChannel");
    QTest::addColumn<QString>("lastChannel");
    QTest::newRow("cancelled: nothing changes") << -1 << QString() << QString();
    QTest::newRow("from location 4, over the gap") << 4 << "162.55000|" << "433.00000|434.60000";
    QTest::newRow("from location 0") << 0 << "145.72500|145.12500" << "446.00625|446.00625";
}

void tst_SheetCommands::importManyRowsAsksFirstLocation()
{
    QFETCH(int, picked);
    QFETCH(QString, firstChannel);
    QFETCH(QString, lastChannel);
    // 20 rows at locations 0 to 17, 20 and 21.
    const QString file = path("repeaters.csv");
    QVERIFY(QFile::copy(QFINDTESTDATA("data/chirp/repeaters.csv"), file));
    const ChannelList before = storeSmallSet();
    QVERIFY(!before.isEmpty());

    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file, ChirpFilter); };
    m_rig->pick = [&](const FileDialogs::Choice &) { return picked; };
    trigger("importCommand");
    QCOMPARE(m_rig->choices.size(), 1);
    QCOMPARE(m_rig->choices[0].title, QStringLiteral("导入"));
    QCOMPARE(m_rig->choices[0].label, QStringLiteral("文件 %1 有 20 行，电台只有 16 个信道。\n从哪个位置（Location）起取 16 行？")
                                          .arg(QDir::toNativeSeparators(file)));
    QCOMPARE(m_rig->choices[0].items, (QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13",
                                                   "14", "15", "16", "17", "20", "21"}));
    const ChannelList channels = m_rig->window->channelTable().channels();
    if (picked < 0) {
        QVERIFY(m_rig->messages.isEmpty());
        QCOMPARE(channels, before);
        return;
    }
    const auto shown = [](const ChannelRecord &channel) { return channel.rf.toString() + u'|' + channel.tf.toString(); };
    QCOMPARE(shown(channels.first()), firstChannel);
    QCOMPARE(shown(channels.last()), lastChannel);
    QCOMPARE(m_rig->messages.count(), 1); // the rows left out and the details not kept
}

void tst_SheetCommands::importListsAtMostTwentyWarnings()
{
    // Sixteen named rows off the raster: two warnings each.
    QByteArray sheet = "Location,Name,Frequency\r\n";
    for (int k = 1; k <= ChannelCount; ++k)
        sheet += QByteArray::number(k) + ",N" + QByteArray::number(k) + ',' + QByteArray::number(144 + k) + ".123\r\n";
    const QString file = path(QStringLiteral("named.csv"));
    writeFile(file, sheet);
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file); };
    trigger("importCommand");

    QCOMPARE(m_rig->messages.count(), 1);
    const QStringList lines = m_rig->messages.last().text.split(u'\n');
    QCOMPARE(lines.size(), 1 + 20 + 1);
    QCOMPARE(lines.mid(0, 3), (QStringList{QStringLiteral("文件 %1 已导入，以下内容未导入：").arg(QDir::toNativeSeparators(file)),
                                           "第 2 行第 3 列（Frequency）：145.123000 MHz 存为 145.12000",
                                           "第 2 行：未保留：名称“N1”"}));
    QCOMPARE(lines.last(), QStringLiteral("…还有 12 条"));
    QCOMPARE(m_rig->window->channelTable().channel(15).rf, QVariant(QStringLiteral("160.12000")));
}

void tst_SheetCommands::exportWritesLayoutAndReadsBack_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written"); // the file name the export goes to
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("leftOut"); // the information box's list, empty for no box
    QTest::addColumn<QString>("squelchBack");

    const QByteArray chirp = ChirpHeader + "\r\n"
                             "1,,145.500000,,0.000000,,88.5,88.5,023,NN,FM,6.25,,,,,,\r\n"
                             "2,,438.500000,-,7.600000,,88.5,88.5,023,NN,FM,6.25,,beat-shift,,,,\r\n"
                             "3,,162.550000,off,0.000000,,88.5,88.5,023,NN,FM,6.25,,,,,,\r\n";
    QTest::newRow("CHIRP CSV, name without extension")
        << ChirpFilter << "plan" << "plan.csv" << chirp << "静噪级别 5 未写入：此格式没有它的位置"
        << "1";

    QByteArray csv = "squelch,5\n"
                     "channel,receive MHz,transmit MHz,shift\n"
                     "1,145.50000,145.50000,off\n"
                     "2,438.50000,430.90000,on\n"
                     "3,162.55000,,off\n";
    for (int k = 4; k <= ChannelCount; ++k)
        csv += QByteArray::number(k) + ",,,\n";
    QTest::newRow("CSV, its extension in capitals") << CsvFilter << "plan.CSV" << "plan.CSV" << csv << "" << "5";

    QByteArray json = "{\n"
                      "    \"channels\": [\n";
    const QList<QByteArrayList> used = {{"145.50000", "off", "145.50000"}, {"438.50000", "on", "430.90000"}, {"162.55000", "off", ""}};
    for (int k = 1; k <= ChannelCount; ++k) {
        const QByteArrayList values = k <= used.size() ? used[k - 1] : QByteArrayList{"", "", ""};
        json += "        {\n"
                "            \"channel\": " + QByteArray::number(k) + ",\n"
                "            \"receive_mhz\": \"" + values[0] + "\",\n"
                "            \"shift\": \"" + values[1] + "\",\n"
                "            \"transmit_mhz\": \"" + values[2] + "\"\n"
                "        }" + (k < ChannelCount ? ",\n" : "\n");
    }
    json += "    ],\n"
            "    \"squelch\": \"5\"\n"
            "}\n";
    QTest::newRow("JSON, another extension kept") << JsonFilter << "plan.txt" << "plan.txt" << json << "" << "5";
    QTest::newRow("JSON, extension not finished") << JsonFilter << "plan." << "plan.json" << json << "" << "5";
    QTest::newRow("CHIRP entry, JSON typed") << ChirpFilter << "x.json" << "x.json" << json << "" << "5";
}

void tst_SheetCommands::exportWritesLayoutAndReadsBack()
{
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, leftOut);
    QFETCH(QString, squelchBack);
    const ChannelList channels = storeSmallSet();
    QVERIFY(!channels.isEmpty());
    m_rig->window->channelTable().moveTo(7);

    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(path(typed), filter); };
    trigger("exportCommand");
    QCOMPARE(m_rig->requests.size(), 1);
    QCOMPARE(m_rig->requests[0].mode, FileDialogs::Mode::Save);
    QCOMPARE(m_rig->requests[0].filter, QStringLiteral("CHIRP CSV (*.csv);;CSV (*.csv);;JSON (*.json)"));
    QCOMPARE(m_rig->requests[0].initialFilter, ChirpFilter);
    QVERIFY(m_rig->requests[0].suffixFromFilter);
    QCOMPARE(readAll(path(written)), bytes);
    QStringList files{written, "qz3300E.mdb"};
    files.sort(Qt::CaseInsensitive);
    QCOMPARE(QDir(m_rig->dir.path()).entryList(QDir::Files), files);
    QCOMPARE(m_rig->window->channelTable().currentRow(), 0);
    if (leftOut.isEmpty()) {
        QVERIFY2(m_rig->messages.isEmpty(), qPrintable(m_rig->messages.texts().join(u'|')));
    } else {
        QCOMPARE(m_rig->messages.count(), 1);
        QCOMPARE(m_rig->messages.last().title, QStringLiteral("QZ300"));
        QCOMPARE(m_rig->messages.last().text,
                 QStringLiteral("文件 %1 已导出，以下内容未写入：\n%2").arg(QDir::toNativeSeparators(path(written)), leftOut));
    }
    m_rig->messages.clear();

    // The next dialog starts in the folder this one wrote to; cancelling it changes nothing.
    QCOMPARE(m_rig->window->statusText(), QStringLiteral("已导出 %1").arg(written));
    m_rig->answer = nullptr;
    trigger("exportCommand");
    QCOMPARE(m_rig->requests.size(), 2);
    QCOMPARE(m_rig->requests[1].initialFilter, filter);
    QCOMPARE(m_rig->requests[1].initialName, m_rig->dir.path() + u'/');
    QCOMPARE(QDir(m_rig->dir.path()).entryList(QDir::Files), files);

    // Something else in between, then the file back through 导入 with the same entry.
    ChannelList other = channels;
    for (ChannelRecord &channel : other)
        channel = {channel.no, QStringLiteral("150.00000"), QStringLiteral("150.00000"), QStringLiteral("on")};
    QVERIFY(m_rig->window->channelTable().storeChannels(other));
    m_rig->window->setSquelchLevel(QStringLiteral("1"));
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(path(written), filter); };
    trigger("importCommand");
    QVERIFY2(m_rig->messages.isEmpty(), qPrintable(m_rig->messages.texts().join(u'|')));
    QCOMPARE(m_rig->window->channelTable().channels(), channels);
    QCOMPARE(m_rig->window->squelchLevel(), squelchBack);
}

void tst_SheetCommands::exportStartsWhereTheLastExportWent()
{
    QVERIFY(QDir(m_rig->dir.path()).mkdir(QStringLiteral("exports")));
    QVERIFY(QDir(m_rig->dir.path()).mkdir(QStringLiteral("imports")));
    const QString exports = path(QStringLiteral("exports"));
    // A failed import first: its name must not come back in the export's dialog.
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(path(QStringLiteral("imports/missing.csv")), CsvFilter); };
    trigger("importCommand");
    QCOMPARE(m_rig->messages.count(), 1);
    m_rig->messages.clear();

    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(exports + QStringLiteral("/plan.csv"), CsvFilter); };
    trigger("exportCommand");
    QVERIFY2(!m_rig->requests.last().initialName.contains(QStringLiteral("imports")), qPrintable(m_rig->requests.last().initialName));
    QVERIFY(QFile::exists(exports + QStringLiteral("/plan.csv")));
    QCOMPARE(m_rig->window->statusText(), QStringLiteral("已导出 plan.csv"));

    // The PDF starts there too, and says where it went.
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(exports + QStringLiteral("/list")); };
    trigger("exportPdfCommand");
    QCOMPARE(m_rig->requests.last().initialName, exports + QStringLiteral("/信道表.pdf"));
    QCOMPARE(m_rig->window->statusText(), QStringLiteral("已导出 list.pdf"));

    // An import in between, from elsewhere, leaves the export's folder as it was.
    writeFile(path(QStringLiteral("imports/other.csv")), readAll(exports + QStringLiteral("/plan.csv")));
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(path(QStringLiteral("imports/other.csv")), CsvFilter); };
    trigger("importCommand");
    m_rig->answer = nullptr;
    trigger("exportCommand");
    QCOMPARE(m_rig->requests.last().initialName, exports + u'/');
    QVERIFY2(m_rig->messages.isEmpty(), qPrintable(m_rig->messages.texts().join(u'|')));
}

void tst_SheetCommands::exportFaultLeavesFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("receive"); // of channel 3
    QTest::addColumn<QString>("text");
    QTest::newRow("CHIRP, receive no number")
        << "old.csv" << ChirpFilter << "abc" << "文件 %1 无法导出 ！！\n信道 3：接收频率“abc”不是以 MHz 为单位的频率";
    QTest::newRow("a folder") << "folder.csv" << CsvFilter << "162.55000" << "文件 %1 无法导出 ！！";
    QTest::newRow("a missing folder") << "no/such/plan.json" << JsonFilter << "162.55000"
                                      << "文件 %1 无法导出 ！！\n文件夹不存在（No such file or directory）";
    QTest::newRow("a full disk") << "<full>/old.csv" << CsvFilter << "162.55000" << "文件 %1 无法导出 ！！\n磁盘已满（No space left on device）";
    // An existing pipe would be written in place and wait for a reader that never comes.
    QTest::newRow("a pipe") << "pipe.csv" << CsvFilter << "162.55000" << "文件 %1 无法导出 ！！";
}

void tst_SheetCommands::exportFaultLeavesFile()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, receive);
    QFETCH(QString, text);
    const QByteArray old = "squelch,7\nchannel,receive MHz,transmit MHz,shift\n";
    writeFile(path(QStringLiteral("old.csv")), old);
    QVERIFY(QDir(m_rig->dir.path()).mkdir(QStringLiteral("folder.csv")));
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.csv"))).constData(), 0600), 0);
    ChannelList channels = storeSmallSet();
    QVERIFY(!channels.isEmpty());
    channels[2].rf = receive;
    QVERIFY(m_rig->window->channelTable().storeChannels(channels));
    const QStringList entries = QDir(m_rig->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    // "<full>/": a folder on a full disk that already holds the old file.
    std::unique_ptr<FullDisk> full;
    QString file = path(name);
    if (name.startsWith(QStringLiteral("<full>/"))) {
        full = std::make_unique<FullDisk>();
        if (!full->skipReason().isEmpty())
            QSKIP(qPrintable(full->skipReason()));
        QVERIFY(full->put(QStringLiteral("old.csv"), old));
        QVERIFY(full->fill());
        file = full->path(name.mid(7));
    }
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file, filter); };
    trigger("exportCommand");
    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().title, ErrorTitle);
    QCOMPARE(m_rig->messages.last().text, text.arg(QDir::toNativeSeparators(file)));
    QCOMPARE(readAll(path(QStringLiteral("old.csv"))), old);
    QCOMPARE(QDir(m_rig->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), entries);
    QVERIFY(QDir(path(QStringLiteral("folder.csv"))).isEmpty());
    QCOMPARE(m_rig->window->channelTable().channels(), channels);
    if (full) {
        QCOMPARE(readAll(full->path(QStringLiteral("old.csv"))), old);
        QCOMPARE(QDir(full->folder()).entryList(QDir::Files | QDir::Hidden), (QStringList{".filler", "old.csv"}));
    }
}

// A value still being typed counts: it is checked and stored before the command runs, so that
// an export carries it and an import is not overwritten by it afterwards.
void tst_SheetCommands::openCellCommittedFirst()
{
    ChannelGrid *grid = m_rig->window->channelGrid();
    const auto typeWithoutReturn = [grid](const QString &value) {
        const QModelIndex cell = grid->model()->index(0, ChannelField::Rf);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        QVERIFY2(editor, "no cell editor open");
        editor->setText(value);
    };

    typeWithoutReturn(QStringLiteral("145.5"));
    const QString file = path(QStringLiteral("plan.csv"));
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file, CsvFilter); };
    trigger("exportCommand");
    QVERIFY2(m_rig->messages.isEmpty(), qPrintable(m_rig->messages.texts().join(u'|')));
    QVERIFY2(readAll(file).contains("\n1,145.50000,145.50000,off\n"), readAll(file).constData());

    writeFile(file, "squelch,2\nchannel,receive MHz,transmit MHz,shift\n1,433.5,433.5,on\n");
    typeWithoutReturn(QStringLiteral("150"));
    trigger("importCommand");
    QVERIFY2(m_rig->messages.isEmpty(), qPrintable(m_rig->messages.texts().join(u'|')));
    QTest::qWait(50); // an editor left open would commit from a queued call
    QCOMPARE(withoutNumbers({m_rig->window->channelTable().channel(0)}), QStringList{"433.50000|433.50000|on"});
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("2"));
}

void tst_SheetCommands::refusedDuringTransfer()
{
    const QString file = path(QStringLiteral("plan.csv"));
    writeFile(file, "squelch,7\nchannel,receive MHz,transmit MHz,shift\n1,145.50000,,off\n");
    m_rig->answer = [&](const FileDialogs::Request &) { return FileDialogs::Answer(file, CsvFilter); };
    auto *importAction = m_rig->window->findChild<QAction *>(QStringLiteral("importCommand"));
    auto *exportAction = m_rig->window->findChild<QAction *>(QStringLiteral("exportCommand"));
    for (auto activity : {MainWindow::Activity::Writing, MainWindow::Activity::Reading}) {
        m_rig->window->setActivity(activity);
        QVERIFY(!importAction->isEnabled());
        QVERIFY(!exportAction->isEnabled());
        trigger("importCommand");
        trigger("exportCommand");
    }
    QVERIFY(m_rig->requests.isEmpty());
    m_rig->window->setActivity(MainWindow::Activity::Idle);
    QVERIFY(importAction->isEnabled());
    QVERIFY(exportAction->isEnabled());
    trigger("importCommand");
    QCOMPARE(m_rig->requests.size(), 1);
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("7"));
}

QTEST_MAIN(tst_SheetCommands)
#include "tst_sheetcommands.moc"
