#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "filecommandrig.h"
#include "fulldisk.h"
#include "window/files/filedialogs.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include <sys/stat.h>

// 打开 and 保存 on the real main window; the file dialog is answered through its seam.
class tst_FileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void saveAndOpenRoundTrip();
    void openLoadsValuesAsFileHoldsThem();
    void openFaultLeavesEverything_data();
    void openFaultLeavesEverything();
    void saveFaultLeavesEverything_data();
    void saveFaultLeavesEverything();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void refusedDuringTransfer();
    void workingDirectorySetBack();
    void workingDirectoryGone();

private:
    void trigger(const char *action);
    QString path(const char *name) const { return m_rig->dir.filePath(QString::fromUtf8(name)); }

    std::unique_ptr<FileCommandRig> m_rig;
};

namespace {

const QString ErrorTitle = QStringLiteral("错误警告 ");

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

/// A channel file with the given squelch and channel k holding rf 140+k, tf 150+k, bt on.
QByteArray channelFile(const QByteArray &squelch, const QByteArray &afterComma = {})
{
    QByteArray bytes = squelch + ',' + afterComma;
    for (int k = 0; k < ChannelCount; ++k)
        bytes += QByteArray::number(140 + k) + ',' + afterComma + QByteArray::number(150 + k) + ',' + afterComma + "on," + afterComma;
    return bytes;
}

QVariant text(const QString &value)
{
    return QVariant(value);
}

} // namespace

void tst_FileCommands::init()
{
    m_rig = std::make_unique<FileCommandRig>();
    QVERIFY(m_rig->isUp());
}

void tst_FileCommands::cleanup()
{
    m_rig.reset();
}

void tst_FileCommands::trigger(const char *name)
{
    QAction *command = m_rig->action(name);
    QVERIFY(command);
    command->trigger();
}

void tst_FileCommands::saveAndOpenRoundTrip()
{
    ChannelTable &table = m_rig->window->channelTable();
    ChannelList channels = table.channels();
    for (int k = 0; k < ChannelCount; ++k) {
        channels[k].rf = QStringLiteral("%1.02500").arg(140 + k);
        channels[k].tf = QStringLiteral("%1.62500").arg(150 + k);
        channels[k].bt = k % 2 ? QStringLiteral("on") : QStringLiteral("off");
    }
    channels[0].bt = QVariant();         // no value at all
    channels[1].rf = emptyText();         // no receive frequency
    channels[1].tf = emptyText();
    channels[2].bt = QStringLiteral("  "); // the third beat choice
    QVERIFY(table.storeChannels(channels));
    m_rig->window->squelchBox()->setCurrentIndex(5); // picked from the list: "  5"
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("  5"));

    // A name without extension is a channel file.
    const QString file = path("chan.doc");
    m_rig->answer = [&](const FileDialogs::Request &request) { return request.mode == FileDialogs::Mode::Save ? path("chan") : file; };
    trigger("保存");
    QVERIFY2(m_rig->messages.isEmpty(), qPrintable(m_rig->messages.texts().join(u'|')));
    QCOMPARE(m_rig->requests.size(), 1);
    QCOMPARE(m_rig->requests[0].mode, FileDialogs::Mode::Save);
    QCOMPARE(m_rig->requests[0].filter, QStringLiteral("信道文件 (*.doc)"));
    QCOMPARE(m_rig->requests[0].initialName, QString());
    const QByteArray saved = readAll(file);
    QVERIFY2(saved.startsWith("  5,140.02500,150.62500,Null,,,on,142.02500,152.62500,  ,"), saved.constData());
    QVERIFY(saved.endsWith(",155.02500,165.62500,on,"));
    QCOMPARE(saved.count(','), 49);
    QCOMPARE(table.currentRow(), 0);

    // Something else in between, then the file back.
    ChannelList other = channels;
    for (ChannelRecord &record : other)
        record = {record.no, emptyText(), emptyText(), QStringLiteral("on")};
    QVERIFY(table.storeChannels(other));
    m_rig->window->setSquelchLevel(QStringLiteral("1"));

    trigger("打开");
    QVERIFY2(m_rig->messages.isEmpty(), qPrintable(m_rig->messages.texts().join(u'|')));
    QCOMPARE(m_rig->requests.size(), 2);
    QCOMPARE(m_rig->requests[1].mode, FileDialogs::Mode::Open);
    QCOMPARE(m_rig->requests[1].filter, QStringLiteral("信道文件 (*.doc)"));
    QCOMPARE(m_rig->requests[1].initialName, file); // the name last chosen
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("5"));

    ChannelList expected = channels;
    expected[0].bt = QStringLiteral("off"); // null is written as "Null", which reads as off
    expected[2].bt = emptyText();            // blanks before an item are skipped
    QCOMPARE(table.channels(), expected);
    QCOMPARE(table.currentRow(), 1);
    QCOMPARE(QDir(m_rig->dir.path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("chan.doc"), QStringLiteral("qz3300E.mdb")}));

    // The loaded set is in the database, not only on the screen.
    m_rig->window.reset();
    auto reopened = ChannelTable::open(path("qz3300E.mdb"));
    QVERIFY(reopened.table);
    QCOMPARE(reopened.table->channels(), expected);
}

void tst_FileCommands::openLoadsValuesAsFileHoldsThem()
{
    // CR LF after each comma, a squelch above 9, numbers as typed by hand, items past the 49th.
    QByteArray bytes = "12,\r\n146.025,\r\n0.5,\r\n  on,\r\n-3.2,\r\n1234.5,\r\nNull,\r\n0146.0250,\r\n,\r\noff,\r\n";
    for (int k = 3; k < ChannelCount; ++k)
        bytes += "145.3,\r\n145.3,\r\noff,\r\n";
    bytes += "999,\r\n999,\r\n";
    const QString file = path("hand.doc");
    writeFile(file, bytes);
    m_rig->answer = [&](const FileDialogs::Request &) { return file; };
    trigger("打开");

    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().text, QStringLiteral("静燥级别不可大于 9 ！！！"));
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("3"));
    const ChannelList channels = m_rig->window->channelTable().channels();
    QCOMPARE(channels[0].rf, text(QStringLiteral("146.02500")));
    QCOMPARE(channels[0].tf, text(QStringLiteral(".50000")));
    QCOMPARE(channels[0].bt, text(QStringLiteral("on")));
    QCOMPARE(channels[1].rf, text(QStringLiteral("-3.20000")));
    QCOMPARE(channels[1].tf, text(QStringLiteral("1234.50000")));
    QCOMPARE(channels[1].bt, text(QStringLiteral("off"))); // what a database null is saved as
    QCOMPARE(channels[2].rf, text(QStringLiteral("146.02500")));
    QCOMPARE(channels[2].tf, emptyText());
    QCOMPARE(channels[2].bt, text(QStringLiteral("off")));
    QCOMPARE(channels[15].rf, text(QStringLiteral("145.30000")));
    QCOMPARE(channels[15].bt, text(QStringLiteral("off")));
}

void tst_FileCommands::openFaultLeavesEverything_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // "<none>": no file; "<folder>": a folder; "<fifo>": a pipe
    QTest::addColumn<QString>("text");
    QByteArray shortFile = channelFile("7");
    shortFile.chop(QByteArray("on,").size());
    QTest::newRow("48 items") << "short.doc" << shortFile << "文件 %1 不是完整的信道文件 ！！";
    QTest::newRow("empty file") << "empty.doc" << QByteArray() << "文件 %1 不是完整的信道文件 ！！";
    QTest::newRow("missing file") << "missing.doc" << QByteArray("<none>") << "文件 %1 无法打开 ！！";
    QTest::newRow("a folder") << "folder.doc" << QByteArray("<folder>") << "文件 %1 无法打开 ！！";
    QTest::newRow("a pipe") << "pipe.doc" << QByteArray("<fifo>") << "文件 %1 不是完整的信道文件 ！！";
    QByteArray binary;
    for (int i = 0; i < 300; ++i) // enough commas for 49 items, but no text
        binary += i % 4 == 3 ? ',' : char(0x80 + (i * 37) % 128);
    QTest::newRow("binary bytes") << "binary.doc" << binary << "文件 %1 不是完整的信道文件 ！！";
    QByteArray withNul = channelFile("7");
    withNul.insert(withNul.indexOf(',') + 1, '\0');
    QTest::newRow("NUL in an item") << "nul.doc" << withNul << "文件 %1 不是完整的信道文件 ！！";
    // Words where the frequencies stand: the file is something else, and nothing of it is stored.
    QByteArray chirp = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,"
                       "Skip,Comment,URCALL,RPT1CALL,RPT2CALL\n";
    for (int k = 1; k <= 3; ++k)
        chirp += QByteArray::number(k) + ",CH" + QByteArray::number(k) + ",146.520000,,0.600000,,88.5,88.5,023,NN,FM,5.00,,,,,\n";
    QTest::newRow("CHIRP sheet named .doc") << "chirp.doc" << chirp << "文件 %1 不是完整的信道文件 ！！";
    QByteArray word = channelFile("7");
    word.replace("145,", "xyz1,");
    QTest::newRow("xyz1 as a frequency") << "word.doc" << word << "文件 %1 不是完整的信道文件 ！！";
    QByteArray shift = channelFile("7");
    shift.replace("143,153,on,", "143,153,maybe,");
    QTest::newRow("shift maybe") << "shift.doc" << shift << "文件 %1 不是完整的信道文件 ！！";
    QTest::newRow("over 64 MiB") << "huge.doc" << QByteArray("<huge>") << "文件 %1 大于 64 MiB，未读取 ！！";
}

void tst_FileCommands::openFaultLeavesEverything()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    const QString file = m_rig->dir.filePath(name);
    if (content == "<folder>")
        QVERIFY(QDir(m_rig->dir.path()).mkdir(name));
    else if (content == "<fifo>")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (content == "<huge>") {
        // A whole channel file first, so that only its length can refuse it.
        writeFile(file, channelFile("7"));
        QFile huge(file);
        QVERIFY(huge.resize((qint64(64) << 20) + 1));
    }
    else if (content != "<none>")
        writeFile(file, content);

    ChannelTable &table = m_rig->window->channelTable();
    ChannelList channels = table.channels();
    channels[4].rf = QStringLiteral("145.30000");
    QVERIFY(table.storeChannels(channels));
    m_rig->window->setSquelchLevel(QStringLiteral("6"));
    QVERIFY(QDir::setCurrent(m_rig->dir.path()));
    const QString workDir = QDir::currentPath();

    m_rig->answer = [&](const FileDialogs::Request &) { return file; };
    trigger("打开");
    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().title, ErrorTitle);
    QCOMPARE(m_rig->messages.last().text, text.arg(QDir::toNativeSeparators(file)));
    QCOMPARE(m_rig->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(table.channels(), channels);
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("6"));
    QCOMPARE(QDir::currentPath(), workDir);
}

void tst_FileCommands::saveFaultLeavesEverything_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("bt");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing folder") << "no/such/folder/chan.doc" << "on" << "文件 %1 无法保存 ！！";
    QTest::newRow("a folder") << "folder.doc" << "on" << "文件 %1 无法保存 ！！";
    QTest::newRow("comma in a value") << "old.doc" << "o,n" << "数据中含有逗号或换行，文件 %1 未保存 ！！";
    QTest::newRow("a full disk") << "<full>/old.doc" << "on" << "文件 %1 无法保存 ！！";
}

void tst_FileCommands::saveFaultLeavesEverything()
{
    QFETCH(QString, name);
    QFETCH(QString, bt);
    QFETCH(QString, text);
    QVERIFY(QDir(m_rig->dir.path()).mkdir(QStringLiteral("folder.doc")));
    const QByteArray old = channelFile("4");
    writeFile(path("old.doc"), old);

    ChannelTable &table = m_rig->window->channelTable();
    ChannelList channels = table.channels();
    channels[6].bt = bt;
    QVERIFY(table.storeChannels(channels));
    QVERIFY(QDir::setCurrent(m_rig->dir.path()));
    const QString workDir = QDir::currentPath();
    const QStringList entries = QDir(m_rig->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    // "<full>/": a folder on a full disk that already holds the old file.
    std::unique_ptr<FullDisk> full;
    QString file = m_rig->dir.filePath(name);
    if (name.startsWith(QStringLiteral("<full>/"))) {
        full = std::make_unique<FullDisk>();
        if (!full->skipReason().isEmpty())
            QSKIP(qPrintable(full->skipReason()));
        QVERIFY(full->put(QStringLiteral("old.doc"), old));
        QVERIFY(full->fill());
        file = full->path(name.mid(7));
    }
    m_rig->answer = [&](const FileDialogs::Request &) { return file; };
    trigger("保存");
    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().title, ErrorTitle);
    QCOMPARE(m_rig->messages.last().text, text.arg(QDir::toNativeSeparators(file)));
    QCOMPARE(m_rig->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(table.channels(), channels);
    QCOMPARE(table.currentRow(), 0);
    QCOMPARE(readAll(path("old.doc")), old);
    QCOMPARE(QDir(m_rig->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), entries);
    QVERIFY(QDir(path("folder.doc")).isEmpty());
    QCOMPARE(QDir::currentPath(), workDir);
    if (full) {
        QCOMPARE(readAll(full->path(QStringLiteral("old.doc"))), old);
        QCOMPARE(QDir(full->folder()).entryList(QDir::Files | QDir::Hidden), (QStringList{".filler", "old.doc"}));
    }
}

void tst_FileCommands::cancelChangesNothing_data()
{
    QTest::addColumn<QByteArray>("action");
    QTest::newRow("open") << QByteArray("打开");
    QTest::newRow("save") << QByteArray("保存");
}

void tst_FileCommands::cancelChangesNothing()
{
    QFETCH(QByteArray, action);
    ChannelTable &table = m_rig->window->channelTable();
    table.moveTo(9);
    const ChannelList channels = table.channels();
    const QStringList entries = QDir(m_rig->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    trigger(action.constData());
    QCOMPARE(m_rig->requests.size(), 1);
    QVERIFY(m_rig->messages.isEmpty());
    QCOMPARE(table.channels(), channels);
    QCOMPARE(table.currentRow(), 0);
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("3"));
    QCOMPARE(QDir(m_rig->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), entries);
}

void tst_FileCommands::refusedDuringTransfer()
{
    const QString file = path("chan.doc");
    writeFile(file, channelFile("7"));
    m_rig->answer = [&](const FileDialogs::Request &) { return file; };
    auto *open = m_rig->window->findChild<QAction *>(QStringLiteral("打开"));
    auto *save = m_rig->window->findChild<QAction *>(QStringLiteral("保存"));
    for (auto activity : {MainWindow::Activity::Writing, MainWindow::Activity::Reading}) {
        m_rig->window->setActivity(activity);
        QVERIFY(!open->isEnabled());
        QVERIFY(!save->isEnabled());
        trigger("打开");
        trigger("保存");
    }
    QVERIFY(m_rig->requests.isEmpty());
    m_rig->window->setActivity(MainWindow::Activity::Idle);
    QVERIFY(open->isEnabled());
    QVERIFY(save->isEnabled());
    trigger("打开");
    QCOMPARE(m_rig->requests.size(), 1);
    QCOMPARE(m_rig->window->squelchLevel(), QStringLiteral("7"));
}

// Whatever the dialog does to the working directory, the command sets it back.
void tst_FileCommands::workingDirectorySetBack()
{
    QVERIFY(QDir::setCurrent(m_rig->dir.path()));
    const QString workDir = QDir::currentPath();
    QVERIFY(QDir(m_rig->dir.path()).mkdir(QStringLiteral("elsewhere")));
    const QString file = path("elsewhere/chan.doc");
    m_rig->answer = [&](const FileDialogs::Request &) {
        QDir::setCurrent(path("elsewhere"));
        return file;
    };
    trigger("保存");
    QCOMPARE(QDir::currentPath(), workDir);
    trigger("打开");
    QCOMPARE(QDir::currentPath(), workDir);
    QVERIFY2(m_rig->messages.isEmpty(), qPrintable(m_rig->messages.texts().join(u'|')));
}

void tst_FileCommands::workingDirectoryGone()
{
    const QString gone = path("gone");
    QVERIFY(QDir().mkpath(gone));
    QVERIFY(QDir::setCurrent(gone));
    QVERIFY(QDir(gone).removeRecursively());
    const QString file = path("chan.doc");
    m_rig->answer = [&](const FileDialogs::Request &) { return file; };
    trigger("保存");
    // The directory cannot be read at the start nor, empty, be set at the close; the save works.
    QCOMPARE(m_rig->messages.count(), 2);
    QCOMPARE(m_rig->messages.all()[0].text, QStringLiteral("Error"));
    QCOMPARE(m_rig->messages.all()[0].title, QStringLiteral("QZ300"));
    QCOMPARE(m_rig->messages.all()[1].text, QStringLiteral("ERROR"));
    QCOMPARE(m_rig->messages.all()[1].title, QStringLiteral("QZ300"));
    QCOMPARE(readAll(file).count(','), 49);
}

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
