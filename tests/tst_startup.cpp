#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "core/radio/readinesspoll.h"
#include "core/serial/seriallink.h"
#include "databaselock.h"
#include "pseudoterminal.h"
#include "realboxes.h"
#include "recordedmessages.h"
#include "window/channels/channelgrid.h"

#include <QLineEdit>
#include <QSerialPort>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <array>
#include <memory>

namespace {

/// Reads one field of the database file the way another program would, bypassing the window.
QVariant storedField(const QString &path, int row, const char *column)
{
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT %1 FROM Chane ORDER BY rowid LIMIT 1 OFFSET %2").arg(QLatin1String(column)).arg(row));
        if (query.next())
            value = query.value(0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return value;
}

void execSql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString &statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void portProbe_data();
    void portProbe();
    void noPortOpens();
    void createsMissingDatabase();
    void createsThroughLink();
    void triggerOfTheSameNameIsNoView();
    void refusesUnusableDatabase_data();
    void refusesUnusableDatabase();
    void editStoredWhenRowMoves();
    void pendingEditStoredAtExit();
    void lockedDatabaseSaysSo();
    void lockedAtStartOffersRetry_data();
    void lockedAtStartOffersRetry();
    void cleanup() { QFile::remove(databasePath()); }

private:
    QTemporaryDir m_dir;
    QString databasePath() const { return m_dir.filePath(QStringLiteral("qz3300E.mdb")); }
};

void tst_Startup::portProbe_data()
{
    // Each entry: o = a device that opens, h = held by another program, - = no device.
    QTest::addColumn<QString>("ports");
    QTest::addColumn<int>("chosen");
    QTest::newRow("only COM3 opens") << "--o-----" << 3;
    QTest::newRow("COM1 and COM2 open") << "oo------" << 1;
    QTest::newRow("COM1 held elsewhere") << "ho------" << 2;
    QTest::newRow("COM8 before COM3") << "--o----o" << 8;
    QTest::newRow("COM2 before COM8") << "-o-----o" << 2;
    QTest::newRow("COM4 before COM3") << "--oo----" << 4;
    QTest::newRow("COM7 before COM3") << "--o---o-" << 7;
    QTest::newRow("COM6 before COM7") << "-----oo-" << 6;
}

void tst_Startup::portProbe()
{
    QFETCH(QString, ports);
    QFETCH(int, chosen);
    RecordedMessages messages;

    std::array<PseudoTerminal, 8> radios;
    QStringList paths;
    QList<QSerialPort *> holders;
    for (int i = 0; i < 8; ++i) {
        const QChar kind = ports.at(i);
        paths << (kind == u'-' ? QString() : radios[i].devicePath());
        if (kind == u'h') {
            auto *holder = new QSerialPort(radios[i].devicePath(), this);
            QVERIFY(holder->open(QIODevice::ReadWrite));
            holders << holder;
        }
    }

    auto window = Startup::run(databasePath(), PortTable(paths));
    QVERIFY(window);
    QVERIFY(messages.isEmpty());
    QVERIFY(window->isVisible());
    QCOMPARE(window->serialLink().portNumber(), chosen);
    QVERIFY(window->serialLink().isOpen());
    QVERIFY(window->poll().isRunning());
    QVERIFY(!window->writePacingTimer().isActive());
    QVERIFY(!window->statusClearTimer().isActive());
    QCOMPARE(window->statusText(), QStringLiteral(" "));
    QCOMPARE(window->channelTable().currentRow(), 0);

    // Nothing goes to the radio before the poll's first tick; then "C" on the chosen port only.
    QCOMPARE(radios[chosen - 1].readFor(50), QByteArray());
    QVERIFY(radios[chosen - 1].readFor(3000, 1).startsWith('C'));
    for (int i = 0; i < 8; ++i) {
        if (i != chosen - 1)
            QCOMPARE(radios[i].readAvailable(), QByteArray());
    }
    qDeleteAll(holders);
}

void tst_Startup::noPortOpens()
{
    RecordedMessages messages;
    PseudoTerminal held;
    QSerialPort holder(held.devicePath());
    QVERIFY(holder.open(QIODevice::ReadWrite));

    // Devices beyond COM8 are never tried.
    PseudoTerminal ninth;
    const PortTable ports({QString(), held.devicePath(), QStringLiteral("/nonexistent/ttyQZ3"), QString(), QString(), QString(),
                           QString(), QString(), ninth.devicePath()});
    auto opened = ChannelTable::open(databasePath());
    QVERIFY(opened.table);
    MainWindow window(std::move(opened.table), ports);
    messages.answerNext(1); // 退出
    QVERIFY(!window.startUp());

    QCOMPARE(messages.questions().size(), 1);
    QCOMPARE(messages.lastQuestion().text, QStringLiteral("无串行端口可用。可以离线编辑信道表，或退出。"));
    QCOMPARE(messages.lastQuestion().title, QStringLiteral("系统信息"));
    QCOMPARE(messages.lastQuestion().icon, Messages::Icon::Warning);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.poll().isRunning());
    QVERIFY(!window.serialLink().isOpen());
    QTest::qWait(250);
    QCOMPARE(ninth.readAvailable(), QByteArray());

    messages.answerNext(1);
    QVERIFY(!Startup::run(databasePath(), ports));
}

void tst_Startup::createsMissingDatabase()
{
    QVERIFY(!QFile::exists(databasePath()));
    auto opened = ChannelTable::open(databasePath());
    QVERIFY2(opened.table, qPrintable(opened.error));
    QVERIFY(opened.created);
    ChannelTable &table = *opened.table;
    QCOMPARE(table.rowCount(), 16);
    QCOMPARE(table.columnCount(), 4);
    const ChannelList channels = table.channels();
    for (int row = 0; row < 16; ++row) {
        QCOMPARE(channels[row].no, QVariant(QString::number(row + 1)));
        QCOMPARE(channels[row].rf, emptyText());
        QVERIFY(!channels[row].rf.isNull());
        QCOMPARE(channels[row].tf, emptyText());
        QCOMPARE(channels[row].bt, emptyText());
    }
    QCOMPARE(table.headerData(0, Qt::Horizontal).toString(), QStringLiteral(" 信道号"));
    QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), QStringLiteral(" 接收频率 (MHz)"));
    QCOMPARE(table.headerData(2, Qt::Horizontal).toString(), QStringLiteral(" 发送频率 (MHz)"));
    QCOMPARE(table.headerData(3, Qt::Horizontal).toString(), QStringLiteral(" 拍频"));

    // Opening again finds the same file, not a new one.
    opened.table.reset();
    QVERIFY(!ChannelTable::open(databasePath()).created);
}

void tst_Startup::triggerOfTheSameNameIsNoView()
{
    // sqlite_master lists triggers and indexes by name too: one called chane, made before the
    // table, was taken for what Chane is.
    QStringList statements{QStringLiteral("CREATE TABLE Log (what TEXT)"),
                           QStringLiteral("CREATE TRIGGER chane AFTER INSERT ON Log BEGIN SELECT 1; END"),
                           QStringLiteral("CREATE TABLE Chane (no INTEGER, rf TEXT, tf TEXT, bt TEXT)")};
    for (int n = 1; n <= 16; ++n)
        statements << QStringLiteral("INSERT INTO Chane VALUES (%1, '145.30000', '145.30000', 'on')").arg(n);
    execSql(databasePath(), statements);
    const auto opened = ChannelTable::open(databasePath());
    QVERIFY2(opened.table, qPrintable(opened.error));
    QCOMPARE(opened.table->channels().value(15).rf, QVariant(QStringLiteral("145.30000")));
}

// A link to a database not made yet: the database is made where the link points, the link stays.
void tst_Startup::createsThroughLink()
{
    const QString target = m_dir.filePath(QStringLiteral("elsewhere.mdb"));
    QVERIFY(QFile::link(target, databasePath()));
    auto opened = ChannelTable::open(databasePath());
    QVERIFY2(opened.table, qPrintable(opened.error));
    QVERIFY(opened.created);
    QCOMPARE(opened.table->rowCount(), 16);
    QVERIFY(QFileInfo(databasePath()).isSymLink());
    QVERIFY(QFileInfo(target).isFile());
    opened.table.reset();
    QFile::remove(target);
}

void tst_Startup::refusesUnusableDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("not a database") << "text";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("no table Chane") << "other table";
    QTest::newRow("fewer than 16 rows") << "short";
    QTest::newRow("too few fields") << "narrow";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("a pipe") << "pipe";
    QTest::newRow("a link to itself") << "loop";
    QTest::newRow("Chane is a view") << "view";
}

void tst_Startup::refusesUnusableDatabase()
{
    QFETCH(QString, kind);
    const QString path = databasePath();
    if (kind == QLatin1String("text")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("145.30000,145.30000,on,\r\nnot a database at all\r\n");
    } else if (kind == QLatin1String("empty")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("other table")) {
        execSql(path, {QStringLiteral("CREATE TABLE Channels (no INTEGER)")});
    } else if (kind == QLatin1String("short")) {
        QStringList statements{QStringLiteral("CREATE TABLE Chane (no INTEGER, rf TEXT, tf TEXT, bt TEXT)")};
        for (int n = 1; n <= 15; ++n)
            statements << QStringLiteral("INSERT INTO Chane VALUES (%1, '145.30000', '145.30000', 'on')").arg(n);
        execSql(path, statements);
    } else if (kind == QLatin1String("narrow")) {
        QStringList statements{QStringLiteral("CREATE TABLE Chane (no INTEGER, rf TEXT)")};
        for (int n = 1; n <= 16; ++n)
            statements << QStringLiteral("INSERT INTO Chane VALUES (%1, '')").arg(n);
        execSql(path, statements);
    } else if (kind == QLatin1String("view")) {
        QStringList statements{QStringLiteral("CREATE TABLE Base (no INTEGER, rf TEXT, tf TEXT, bt TEXT)")};
        for (int n = 1; n <= 16; ++n)
            statements << QStringLiteral("INSERT INTO Base VALUES (%1, '145.30000', '145.30000', 'on')").arg(n);
        statements << QStringLiteral("CREATE VIEW Chane AS SELECT * FROM Base");
        execSql(path, statements);
    } else if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("loop")) {
        QVERIFY(QFile::link(path, path));
    } else {
        QVERIFY(QDir().mkpath(path));
    }
    const bool special = kind == QLatin1String("pipe") || kind == QLatin1String("loop");
    // Reading a pipe would wait for a writer; the links lead to no content.
    const QByteArray before = special ? QByteArray() : fileBytes(path);
    const QDateTime modified = QFileInfo(path).lastModified();

    RecordedMessages messages;
    PseudoTerminal radio;
    QVERIFY(!Startup::run(path, PortTable({radio.devicePath()})));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().title, QStringLiteral("系统信息"));
    QVERIFY2(messages.last().text.contains(path), qPrintable(messages.last().text));
    if (!special)
        QCOMPARE(fileBytes(path), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QCOMPARE(radio.readFor(150), QByteArray());
    // The user's link or pipe is still there, and nothing was made where a link points.
    if (special) {
        QCOMPARE(QFileInfo(path).isSymLink(), kind != QLatin1String("pipe"));
        QVERIFY(kind != QLatin1String("pipe") || QFileInfo(path).exists());
    }
    QDir(path).removeRecursively();
}

void tst_Startup::editStoredWhenRowMoves()
{
    RecordedMessages messages;
    PseudoTerminal radio;
    {
        auto window = Startup::run(databasePath(), PortTable({radio.devicePath()}));
        QVERIFY(window);
        ChannelGrid *grid = window->channelGrid();
        const QModelIndex cell = grid->model()->index(2, 3);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("on"));

        // Another column of the same row: nothing stored yet.
        grid->setCurrentIndex(grid->model()->index(2, 0));
        QCOMPARE(grid->model()->index(2, 3).data().toString(), QStringLiteral("on"));
        QCOMPARE(storedField(databasePath(), 2, "bt").toString(), QString());

        grid->setCurrentIndex(grid->model()->index(5, 0));
        QCOMPARE(storedField(databasePath(), 2, "bt").toString(), QStringLiteral("on"));
    }
    auto again = Startup::run(databasePath(), PortTable({radio.devicePath()}));
    QVERIFY(again);
    QCOMPARE(again->channelGrid()->model()->index(2, 3).data().toString(), QStringLiteral("on"));
    QVERIFY(messages.isEmpty());
}

void tst_Startup::pendingEditStoredAtExit()
{
    RecordedMessages messages;
    PseudoTerminal radio;
    auto window = Startup::run(databasePath(), PortTable({radio.devicePath()}));
    QVERIFY(window);
    ChannelGrid *grid = window->channelGrid();
    const QModelIndex cell = grid->model()->index(0, 3);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("on"));

    window->findChild<QAction *>(QStringLiteral("退出"))->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(storedField(databasePath(), 0, "bt").toString(), QStringLiteral("on"));
    QVERIFY(messages.isEmpty());
}

void tst_Startup::lockedDatabaseSaysSo()
{
    RecordedMessages messages;
    PseudoTerminal radio;
    auto window = Startup::run(databasePath(), PortTable({radio.devicePath()}));
    QVERIFY(window);
    ChannelTable &table = window->channelTable();

    {
        // Another program holds the file for writing.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(databasePath());
        QVERIFY(other.open());
        QSqlQuery lock(other);
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));

        table.moveTo(1);
        QVERIFY(table.setField(ChannelField::Bt, QStringLiteral("on")));
        table.moveTo(2);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, QStringLiteral("错误警告"));
        QVERIFY(messages.last().text.contains(QStringLiteral("qz3300E.mdb")));
        // Not lost: still shown and still pending.
        QCOMPARE(table.channel(1).bt, QVariant(QStringLiteral("on")));
        QVERIFY(table.hasPendingChanges());
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));

    table.moveTo(3);
    QVERIFY(!table.hasPendingChanges());
    QCOMPARE(storedField(databasePath(), 1, "bt").toString(), QStringLiteral("on"));
    QCOMPARE(messages.count(), 1);
}

void tst_Startup::lockedAtStartOffersRetry_data()
{
    QTest::addColumn<bool>("retry");
    QTest::addColumn<bool>("realBox");
    QTest::newRow("退出 ends") << false << false;
    QTest::newRow("重试 once the other program lets go") << true << false;
    QTest::newRow("退出 in a real box") << false << true;
}

void tst_Startup::lockedAtStartOffersRetry()
{
    QFETCH(bool, retry);
    QFETCH(bool, realBox);
    const QString path = databasePath();
    execSql(path, {QStringLiteral("CREATE TABLE Chane (no INTEGER, rf TEXT, tf TEXT, bt TEXT)")});
    QStringList rows;
    for (int n = 1; n <= 16; ++n)
        rows << QStringLiteral("INSERT INTO Chane VALUES (%1, '145.30000', '145.30000', 'on')").arg(n);
    execSql(path, rows);
    const QByteArray before = fileBytes(path);

    RecordedMessages messages;
    PseudoTerminal radio;
    auto lock = std::make_unique<DatabaseLock>(path);
    QVERIFY(lock->isLocked());
    std::unique_ptr<MainWindow> window;
    if (realBox) {
        RealBoxes boxes;
        boxes.answerNext(QStringLiteral("退出"));
        window = Startup::run(path, PortTable({radio.devicePath()}));
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("数据库文件 %1 正被另一个程序使用。").arg(path)});
        QCOMPARE(boxes.buttons(), QStringList{QStringLiteral("重试|退出")});
    } else {
        messages.answerNext([&](const Messages::Question &) {
            if (!retry)
                return 1;
            lock->release();
            return 0;
        });
        window = Startup::run(path, PortTable({radio.devicePath()}));
        QCOMPARE(messages.questions().size(), 1);
        QCOMPARE(messages.lastQuestion().title, QStringLiteral("系统信息"));
        QCOMPARE(messages.lastQuestion().text, QStringLiteral("数据库文件 %1 正被另一个程序使用。").arg(path));
        QCOMPARE(messages.lastQuestion().buttons, (QStringList{QStringLiteral("重试"), QStringLiteral("退出")}));
    }
    QVERIFY(messages.isEmpty());
    QCOMPARE(bool(window), retry);
    if (window)
        QCOMPARE(window->channelTable().channel(4).bt, QVariant(QStringLiteral("on")));
    window.reset();
    lock.reset();
    QCOMPARE(fileBytes(path), before);
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
