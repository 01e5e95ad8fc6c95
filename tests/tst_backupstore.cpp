#include "app/mainwindow.h"
#include "core/channels/channeltable.h"
#include "core/files/backupstore.h"
#include "filecommandrig.h"
#include "window/channels/edithistory.h"
#include "window/files/backupdialog.h"
#include "window/files/channelfilecommands.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include <functional>
#include <memory>

// The kept backups of the radio's previous set: names, order, the newest 100, and 文件 → 恢复备份…
// on the real main window.
class tst_BackupStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void parseName_data();
    void parseName();
    void listNewestFirst();
    void keepsNewest_data();
    void keepsNewest();
    void clockSetBackKeepsTheLatest();
    void saveLoadRoundTrip();
    void summary_data();
    void summary();
    void restore_data();
    void restore();
    void restoreWithoutBackups();
    void restoreNamesAChannelTheRadioCannotTake();
};

namespace {

/// Where the backups go: the data folder every test executable gets of its own.
QDir backups()
{
    return QDir(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/qz300/backups"));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

/// A backup's bytes: channel k (from 0) receives and sends on `base` + k MHz, shift on.
QByteArray backupBytes(const QByteArray &squelch, int base)
{
    QByteArray bytes = squelch + ',';
    for (int k = 0; k < ChannelCount; ++k)
        bytes += QByteArray::number(base + k) + ".50000," + QByteArray::number(base + k) + ".50000,on,";
    return bytes;
}

QStringList fileNames(const QList<BackupStore::Backup> &list)
{
    QStringList names;
    for (const BackupStore::Backup &backup : list)
        names << QFileInfo(backup.path).fileName();
    return names;
}

} // namespace

void tst_BackupStore::init()
{
    // The test functions share one data folder: each starts without backups.
    QDir folder = backups();
    folder.removeRecursively();
    QVERIFY(QDir().mkpath(folder.path()));
}

void tst_BackupStore::parseName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("time"); // empty: no backup
    QTest::addColumn<QString>("port");
    QTest::newRow("COM port") << "20260102-030405-COM3.doc" << "2026-01-02 03:04:05" << "COM3";
    QTest::newRow("device path") << "20261231-235959-dev-pts-3.doc" << "2026-12-31 23:59:59" << "dev-pts-3";
    QTest::newRow("second in one second") << "20260102-030405-dev-pts-3+2.doc" << "2026-01-02 03:04:05" << "dev-pts-3";
    QTest::newRow("dots and underscores") << "20260102-030405-my_radio.v2.doc" << "2026-01-02 03:04:05" << "my_radio.v2";
    QTest::newRow("some other file") << "notes.doc" << "" << "";
    QTest::newRow("no such date") << "20261399-030405-COM3.doc" << "" << "";
    QTest::newRow("no port") << "20260102-030405.doc" << "" << "";
    QTest::newRow("other extension") << "20260102-030405-COM3.csv" << "" << "";
    QTest::newRow("short time") << "2026012-030405-COM3.doc" << "" << "";
}

void tst_BackupStore::parseName()
{
    QFETCH(QString, name);
    QFETCH(QString, time);
    QFETCH(QString, port);
    const BackupStore::Backup backup = BackupStore::parseName(name);
    QCOMPARE(backup.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), time);
    QCOMPARE(backup.port, port);
}

void tst_BackupStore::listNewestFirst()
{
    const QByteArray bytes = backupBytes("5", 145);
    for (const char *name : {"20260102-030405-COM3.doc", "20251231-235959-COM1.doc", "20260102-030405-COM3+2.doc",
                             "notes.doc", "20260103-000000-dev-ttyUSB0.doc", "20260101-120000-COM2.doc.bak"})
        writeFile(backups().filePath(QString::fromLatin1(name)), bytes);
    QVERIFY(backups().mkdir(QStringLiteral("20270101-000000-COM1.doc"))); // a folder is no backup

    const QList<BackupStore::Backup> list = BackupStore::list();
    QCOMPARE(fileNames(list), (QStringList{"20260103-000000-dev-ttyUSB0.doc", "20260102-030405-COM3+2.doc",
                                           "20260102-030405-COM3.doc", "20251231-235959-COM1.doc"}));
    QCOMPARE(list[0].port, QStringLiteral("dev-ttyUSB0"));
    QCOMPARE(list[3].time, QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)));
    QCOMPARE(list[3].path, backups().filePath(QStringLiteral("20251231-235959-COM1.doc")));
}

void tst_BackupStore::keepsNewest_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<QDateTime>("savedAt");
    QTest::addColumn<int>("removed"); // the least recently made this many of the existing ones
    QTest::newRow("102 kept, a newer one saved") << 102 << QDateTime(QDate(2026, 3, 1), QTime(9, 0)) << 3;
    QTest::newRow("clock set back: the new one stays") << 102 << QDateTime(QDate(2020, 1, 1), QTime(9, 0)) << 3;
    QTest::newRow("99 kept: one more fits") << 99 << QDateTime(QDate(2026, 3, 1), QTime(9, 0)) << 0;
    QTest::newRow("100 kept: the oldest goes") << 100 << QDateTime(QDate(2026, 3, 1), QTime(9, 0)) << 1;
    QTest::newRow("a few") << 5 << QDateTime(QDate(2026, 3, 1), QTime(9, 0)) << 0;
}

void tst_BackupStore::keepsNewest()
{
    QFETCH(int, existing);
    QFETCH(QDateTime, savedAt);
    QFETCH(int, removed);

    // Hourly backups from 1 January 2025 on, made in the opposite order of their names' times (a
    // clock that was wrong): the files' own times tell which were made last.
    QStringList names;
    for (int i = 0; i < existing; ++i)
        names << QStringLiteral("202501%1-%2%3-COM1.doc").arg(1 + i / 24, 2, 10, QLatin1Char('0')).arg(i % 24, 2, 10, QLatin1Char('0')).arg("0000");
    const QByteArray bytes = backupBytes("5", 145);
    const QDateTime fileTimeBase = QDateTime::currentDateTime().addDays(-1);
    for (int i = 0; i < existing; ++i) {
        QFile file(backups().filePath(names[i]));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        QVERIFY(file.flush()); // or the write at close would set the time again
        QVERIFY(file.setFileTime(fileTimeBase.addSecs(-60 * i), QFileDevice::FileModificationTime));
    }
    // Names that look like backups but are not ones this program writes stay, however old.
    const QStringList others{"notes.doc", "20250101-000000-COM1.doc.bak", "backup.txt", "20240101-120000-my-notes.doc",
                             "20240101-120000-COM1-old.doc"};
    for (const QString &name : others) {
        writeFile(backups().filePath(name), bytes);
        QFile file(backups().filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime));
    }

    const BackupStore::Saved saved = BackupStore::save({QStringLiteral("3"), ChannelList(ChannelCount)}, QStringLiteral("COM2"), savedAt);
    QCOMPARE(saved.error, QString());
    QCOMPARE(saved.path, backups().filePath(savedAt.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral("-COM2.doc")));

    QStringList expected = names.mid(0, existing - removed);
    expected << QFileInfo(saved.path).fileName() << others;
    expected.sort();
    QCOMPARE(backups().entryList(QDir::Files, QDir::Name), expected);
}

void tst_BackupStore::clockSetBackKeepsTheLatest()
{
    // 99 backups made before the CMOS battery died (their times now lie in the future), then one
    // made after it at 2000-01-01: the next backup must not remove that one.
    const QByteArray bytes = backupBytes("5", 145);
    const QDateTime future = QDateTime::currentDateTime().addYears(1);
    for (int i = 0; i < 99; ++i) {
        const QString name = QStringLiteral("202612%1-%2%3-dev-ttyUSB0.doc").arg(1 + i / 24, 2, 10, QLatin1Char('0')).arg(i % 24, 2, 10, QLatin1Char('0')).arg("0000");
        writeFile(backups().filePath(name), bytes);
        QFile file(backups().filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(future.addSecs(60 * i), QFileDevice::FileModificationTime));
    }
    const BackupStore::Saved before = BackupStore::save({QStringLiteral("3"), ChannelList(ChannelCount)}, QStringLiteral("/dev/ttyUSB0"),
                                                        QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    QCOMPARE(before.error, QString());
    const BackupStore::Saved next = BackupStore::save({QStringLiteral("4"), ChannelList(ChannelCount)}, QStringLiteral("/dev/ttyUSB0"),
                                                      QDateTime(QDate(2000, 1, 1), QTime(0, 5)));
    QCOMPARE(next.error, QString());
    QVERIFY(QFileInfo::exists(before.path));
    QVERIFY(QFileInfo::exists(next.path));
    QCOMPARE(BackupStore::list().size(), 100);
    // The one made longest ago went: the first of those before the clock was set back.
    QVERIFY(!QFileInfo::exists(backups().filePath(QStringLiteral("20261201-000000-dev-ttyUSB0.doc"))));
}

void tst_BackupStore::saveLoadRoundTrip()
{
    ChannelSet set{QStringLiteral("7"), ChannelList(ChannelCount)};
    for (int k = 0; k < ChannelCount; ++k)
        set.channels[k] = {QVariant(), QStringLiteral("%1.12500").arg(430 + k), QStringLiteral("%1.62500").arg(431 + k),
                           k % 3 ? QStringLiteral("off") : QStringLiteral("on")};
    set.channels[4].rf = emptyText();
    set.channels[4].tf = emptyText();
    const QDateTime at(QDate(2026, 1, 2), QTime(3, 4, 5));

    const BackupStore::Saved first = BackupStore::save(set, QStringLiteral("/dev/pts/3"), at);
    QCOMPARE(first.error, QString());
    QCOMPARE(QFileInfo(first.path).fileName(), QStringLiteral("20260102-030405-dev-pts-3.doc"));
    const BackupStore::Saved second = BackupStore::save(set, QStringLiteral("/dev/pts/3"), at);
    QCOMPARE(QFileInfo(second.path).fileName(), QStringLiteral("20260102-030405-dev-pts-3+2.doc"));

    const QList<BackupStore::Backup> list = BackupStore::list();
    QCOMPARE(fileNames(list), (QStringList{"20260102-030405-dev-pts-3+2.doc", "20260102-030405-dev-pts-3.doc"}));
    QCOMPARE(list[1].port, QStringLiteral("dev-pts-3"));
    QCOMPARE(list[1].time, at);

    const ChannelFile::ReadResult loaded = BackupStore::load(first.path);
    QCOMPARE(loaded.error, ChannelFile::ReadError::None);
    QCOMPARE(loaded.set.squelch, QStringLiteral("7"));
    QCOMPARE(loaded.set.channels.size(), ChannelCount);
    QCOMPARE(loaded.set.channels[0].rf, QVariant(QStringLiteral("430.12500")));
    QCOMPARE(loaded.set.channels[0].tf, QVariant(QStringLiteral("431.62500")));
    QCOMPARE(loaded.set.channels[0].bt, QVariant(QStringLiteral("on")));
    QCOMPARE(loaded.set.channels[4].rf, emptyText());
    QCOMPARE(loaded.set.channels[5].bt, QVariant(QStringLiteral("off")));
    QCOMPARE(loaded.set.channels[15].tf, QVariant(QStringLiteral("446.62500")));

    writeFile(backups().filePath(QStringLiteral("20260101-000000-COM1.doc")), "5,145.5,");
    QCOMPARE(BackupStore::load(backups().filePath(QStringLiteral("20260101-000000-COM1.doc"))).error, ChannelFile::ReadError::TooFewItems);
}

void tst_BackupStore::summary_data()
{
    QTest::addColumn<QStringList>("receive");
    QTest::addColumn<QString>("text");
    QTest::newRow("sixteen") << QStringList{"145.50000", "", "430.12500", "431.00000", "", "", "", "", "", "", "", "", "", "", "", ""}
                             << "1: 145.50000  2: —  3: 430.12500  …";
    QTest::newRow("two") << QStringList{"145.50000", "146.00000"} << "1: 145.50000  2: 146.00000";
    QTest::newRow("none") << QStringList{} << "";
}

void tst_BackupStore::summary()
{
    QFETCH(QStringList, receive);
    QFETCH(QString, text);
    ChannelSet set{QStringLiteral("5"), {}};
    for (const QString &rf : receive)
        set.channels.append({QVariant(), rf, rf, QStringLiteral("off")});
    QCOMPARE(BackupStore::summary(set), text);
}

namespace {

/// Answers the restore dialog once it is up: records its rows, then picks `row` and presses 打开,
/// or presses 取消 when `row` is -1.
struct DialogAnswer
{
    QList<QStringList> rows;
    bool seen = false;
    QTimer watch;

    explicit DialogAnswer(int row)
    {
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [this, row] {
            auto *dialog = qobject_cast<BackupDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            watch.stop();
            seen = true;
            auto *list = dialog->findChild<QTreeWidget *>(QStringLiteral("backupList"));
            for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *item = list->topLevelItem(i);
                rows << QStringList{item->text(0), item->text(1), item->text(2)};
            }
            if (row >= 0 && list)
                list->setCurrentItem(list->topLevelItem(row));
            auto *button = dialog->findChild<QPushButton *>(row >= 0 ? QStringLiteral("openBackupButton") : QStringLiteral("cancelButton"));
            if (button)
                button->click();
            else
                dialog->reject();
        });
        watch.start();
    }
};

} // namespace

void tst_BackupStore::restore_data()
{
    QTest::addColumn<int>("row"); // -1: 取消
    QTest::addColumn<QString>("squelch"); // empty: the table stays as it was
    QTest::addColumn<QString>("firstReceive");
    QTest::addColumn<QString>("message");
    QTest::newRow("the newest") << 0 << "3" << "438.50000" << "";
    QTest::newRow("an older one") << 2 << "5" << "145.50000" << "";
    QTest::newRow("cancelled") << -1 << "" << "" << "";
    QTest::newRow("cannot be read") << 1 << "" << "" << "文件 %1 不是完整的信道文件 ！！";
}

void tst_BackupStore::restore()
{
    QFETCH(int, row);
    QFETCH(QString, squelch);
    QFETCH(QString, firstReceive);
    QFETCH(QString, message);

    writeFile(backups().filePath(QStringLiteral("20260101-080000-COM1.doc")), backupBytes("5", 145));
    const QString broken = backups().filePath(QStringLiteral("20260102-080000-dev-pts-4.doc"));
    writeFile(broken, "5,145.50000,145.50000,on,");
    writeFile(backups().filePath(QStringLiteral("20260103-080000-COM2.doc")), backupBytes("3", 438));
    writeFile(backups().filePath(QStringLiteral("readme.doc")), backupBytes("9", 146));

    FileCommandRig rig;
    QVERIFY(rig.isUp());
    MainWindow &window = *rig.window;
    ChannelTable &table = window.channelTable();
    const ChannelList channelsBefore = table.channels();
    const QString squelchBefore = window.squelchLevel();
    QVERIFY(channelsBefore.value(0).rf.toString() != u"145.50000");

    QAction *restore = rig.action("restoreBackupCommand");
    QVERIFY(restore);
    window.setActivity(CommandHost::Activity::Reading);
    QVERIFY(!restore->isEnabled());
    window.setActivity(CommandHost::Activity::Idle);
    QVERIFY(restore->isEnabled());

    DialogAnswer answer(row);
    restore->trigger();
    QVERIFY(answer.seen);
    QCOMPARE(answer.rows, (QList<QStringList>{
                              {"2026-01-03 08:00:00", "COM2", "1: 438.50000  2: 439.50000  3: 440.50000  …"},
                              {"2026-01-02 08:00:00", "dev-pts-4", "（无法读取）"},
                              {"2026-01-01 08:00:00", "COM1", "1: 145.50000  2: 146.50000  3: 147.50000  …"},
                          }));

    if (message.isEmpty()) {
        QVERIFY2(rig.messages.isEmpty(), qPrintable(rig.messages.texts().join(u'|')));
    } else {
        QCOMPARE(rig.messages.count(), 1);
        QCOMPARE(rig.messages.last().text, message.arg(broken));
    }
    QUndoStack &steps = window.editHistory().stack();
    if (squelch.isEmpty()) {
        QCOMPARE(table.channels(), channelsBefore);
        QCOMPARE(window.squelchLevel(), squelchBefore);
        QCOMPARE(steps.count(), 0);
        return;
    }
    QCOMPARE(window.squelchLevel(), squelch);
    QCOMPARE(table.channel(0).rf, QVariant(firstReceive));
    QCOMPARE(table.channel(15).bt, QVariant(QStringLiteral("on")));
    QCOMPARE(steps.count(), 1);
    QCOMPARE(steps.text(0), QStringLiteral("恢复备份"));
    // The status line says what is in the table now and how it gets into the radio.
    const QString shownName = row == 0 ? QStringLiteral("20260103-080000-COM2") : QStringLiteral("20260101-080000-COM1");
    QCOMPARE(window.statusText(), QStringLiteral("已载入备份 %1，用“写信道数据”写入对讲机").arg(shownName));

    window.editHistory().undo();
    QCOMPARE(table.channels(), channelsBefore);
    QCOMPARE(window.squelchLevel(), squelchBefore);
    // Restoring names no recent file: a backup is not the user's own file.
    QVERIFY(window.fileCommands().recentFiles().isEmpty());
}

void tst_BackupStore::restoreWithoutBackups()
{
    // Other files in the folder are no backups.
    writeFile(backups().filePath(QStringLiteral("notes.doc")), backupBytes("5", 145));
    FileCommandRig rig;
    QVERIFY(rig.isUp());
    const ChannelList channelsBefore = rig.window->channelTable().channels();

    DialogAnswer answer(-1);
    rig.action("restoreBackupCommand")->trigger();
    QVERIFY(!answer.seen);
    QCOMPARE(rig.messages.count(), 1);
    QCOMPARE(rig.messages.last().title, QStringLiteral("恢复备份"));
    QCOMPARE(rig.messages.last().text,
             QStringLiteral("还没有备份。每次写信道数据前，对讲机原有的信道保存在 %1。").arg(QDir::toNativeSeparators(backups().path())));
    QCOMPARE(rig.messages.last().icon, Messages::Icon::Information);
    QCOMPARE(rig.window->channelTable().channels(), channelsBefore);

    // No folder at all says the same.
    QVERIFY(backups().removeRecursively());
    rig.action("restoreBackupCommand")->trigger();
    QCOMPARE(rig.messages.count(), 2);
    QVERIFY(!answer.seen);
}

void tst_BackupStore::restoreNamesAChannelTheRadioCannotTake()
{
    // A radio may hold what this program would not send it: a 50 MHz receive frequency on channel 3.
    QByteArray bytes = backupBytes("4", 145);
    bytes.replace("147.50000,147.50000,", "50.00000,147.50000,");
    writeFile(backups().filePath(QStringLiteral("20260105-080000-COM1.doc")), bytes);
    FileCommandRig rig;
    QVERIFY(rig.isUp());

    DialogAnswer answer(0);
    rig.action("restoreBackupCommand")->trigger();
    QVERIFY(answer.seen);
    // Loaded all the same, so the user sees it and can correct it.
    QCOMPARE(rig.window->channelTable().channel(2).rf, QVariant(QStringLiteral("50.00000")));
    QCOMPARE(rig.messages.count(), 1);
    QCOMPARE(rig.messages.last().title, QStringLiteral("恢复备份"));
    QCOMPARE(rig.messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(rig.messages.last().text, QStringLiteral("备份已载入表格，但对讲机不接受其中的信道：第 3 信道的接收频率 50.00000 超出范围（130 到 500 MHz）。\n"
                                                      "写信道数据前请改正这个信道。"));
    QVERIFY(rig.window->statusText().startsWith(QStringLiteral("已载入备份 20260105-080000-COM1")));
}

QTEST_MAIN(tst_BackupStore)
#include "tst_backupstore.moc"
