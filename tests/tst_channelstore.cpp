#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "databaselock.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/channels/channelgrid.h"
#include "window/channels/edithistory.h"
#include "windowonradio.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

// Storing the channel table: two programs on one database, and changes pending at exit.
class tst_ChannelStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void twoTables_data();
    void twoTables();
    void conflictInWindow();
    void exitWithLockedDatabase_data();
    void exitWithLockedDatabase();
    void exitQuestionInRealBox();
    void storeInBackground_data();
    void storeInBackground();
    void readStoreLeavesWindowRunning();
    void unchangedSetWritesNothing_data();
    void unchangedSetWritesNothing();

private:
    std::unique_ptr<ChannelTable> openTable();
    void startWindow();
    void typeWithoutReturn(int row, int column, const QString &text);
    void lockDatabase();
    void unlockDatabase();
    QVariant storedField(int row, int field);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::unique_ptr<PseudoTerminal> m_pty;
    std::unique_ptr<RecordedMessages> m_messages;
    std::unique_ptr<MainWindow> m_window;
    QString m_lockName;
};

namespace {

QVariant text(const char *value)
{
    return QVariant(QString::fromUtf8(value));
}

QVariant fieldOf(const ChannelRecord &record, int field)
{
    const QVariant fields[] = {record.no, record.rf, record.tf, record.bt};
    return fields[field];
}

const QStringList ExitButtons = {QStringLiteral("重试"), QStringLiteral("放弃修改"), QStringLiteral("取消")};

} // namespace

void tst_ChannelStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("qz3300E.mdb"));
    m_messages = std::make_unique<RecordedMessages>();
    QVERIFY(openTable()); // creates the file with its 16 channels
}

void tst_ChannelStore::cleanup()
{
    m_window.reset();
    unlockDatabase();
    m_messages.reset();
    m_pty.reset();
    m_dir.reset();
}

std::unique_ptr<ChannelTable> tst_ChannelStore::openTable()
{
    ChannelTable::OpenResult opened = ChannelTable::open(m_path);
    if (!opened.table)
        qWarning() << opened.error;
    return std::move(opened.table);
}

void tst_ChannelStore::startWindow()
{
    m_pty = std::make_unique<PseudoTerminal>();
    QVERIFY(m_pty->isOpen());
    m_window = Startup::run(m_path, PortTable({m_pty->devicePath()}));
    QVERIFY(m_window);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_ChannelStore::typeWithoutReturn(int row, int column, const QString &value)
{
    ChannelGrid *grid = m_window->channelGrid();
    const QModelIndex index = grid->model()->index(row, column);
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY2(editor, "no cell editor open");
    editor->setText(value);
}

void tst_ChannelStore::lockDatabase()
{
    m_lockName = QStringLiteral("test-lock");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_lockName);
    db.setDatabaseName(m_path);
    QVERIFY(db.open());
    QSqlQuery query(db);
    QVERIFY2(query.exec(QStringLiteral("BEGIN EXCLUSIVE")), qPrintable(query.lastError().text()));
}

void tst_ChannelStore::unlockDatabase()
{
    if (m_lockName.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_lockName, false);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(m_lockName);
    m_lockName.clear();
}

QVariant tst_ChannelStore::storedField(int row, int field)
{
    auto table = openTable();
    return table ? fieldOf(table->channel(row), field) : QVariant(QStringLiteral("<cannot open>"));
}

// Each program opened the database before the other stored anything.
void tst_ChannelStore::twoTables_data()
{
    QTest::addColumn<int>("firstField");
    QTest::addColumn<QString>("firstValue");
    QTest::addColumn<int>("secondField");
    QTest::addColumn<QString>("secondValue");
    QTest::addColumn<bool>("conflict");
    QTest::addColumn<QVariant>("storedRf"); // what the database holds at the end
    QTest::addColumn<QVariant>("storedBt");

    QTest::newRow("same field, different values") << 1 << "145.00000" << 1 << "146.00000" << true << text("145.00000") << text("");
    QTest::newRow("same field, same value") << 1 << "145.00000" << 1 << "145.00000" << false << text("145.00000") << text("");
    QTest::newRow("different fields") << 3 << "on" << 1 << "146.00000" << false << text("146.00000") << text("on");
}

void tst_ChannelStore::twoTables()
{
    QFETCH(int, firstField);
    QFETCH(QString, firstValue);
    QFETCH(int, secondField);
    QFETCH(QString, secondValue);
    QFETCH(bool, conflict);
    QFETCH(QVariant, storedRf);
    QFETCH(QVariant, storedBt);
    constexpr int Row = 2;

    auto first = openTable();
    auto second = openTable();
    QVERIFY(first && second);
    QSignalSpy conflicts(second.get(), &ChannelTable::storeConflict);
    QSignalSpy failures(second.get(), &ChannelTable::storeFailed);

    first->moveTo(Row);
    QVERIFY(first->setField(firstField, firstValue));
    first->moveNext();
    QVERIFY(!first->hasPendingChanges());

    second->moveTo(Row);
    QVERIFY(second->setField(secondField, secondValue));
    second->moveNext(); // stores as the current record moves
    QCOMPARE(conflicts.size(), conflict ? 1 : 0);
    QCOMPARE(failures.size(), 0);
    QVERIFY(!second->hasPendingChanges());
    if (conflict) {
        QCOMPARE(conflicts[0][0].toInt(), Row);
        QCOMPARE(fieldOf(conflicts[0][1].value<ChannelRecord>(), secondField), QVariant(secondValue));
        QCOMPARE(fieldOf(conflicts[0][2].value<ChannelRecord>(), firstField), QVariant(firstValue));
    }
    QCOMPARE(storedField(Row, 1), storedRf);
    QCOMPARE(storedField(Row, 3), storedBt);
    // Either way the second table shows what the database holds now.
    QCOMPARE(second->channel(Row).rf, storedRf);
    QCOMPARE(second->channel(Row).bt, storedBt);

    // Having seen the other change, the second program can store its own over it.
    second->moveTo(Row);
    QVERIFY(second->setField(1, QStringLiteral("147.00000")));
    QVERIFY(second->submit());
    QCOMPARE(storedField(Row, 1), text("147.00000"));
}

void tst_ChannelStore::conflictInWindow()
{
    auto other = openTable();
    startWindow();
    other->moveTo(6);
    QVERIFY(other->setField(1, QStringLiteral("438.50000")));
    QVERIFY(other->setField(2, QStringLiteral("431.30000")));
    QVERIFY(other->setField(3, QStringLiteral("on")));
    QVERIFY(other->submit());

    typeWithoutReturn(6, 1, QStringLiteral("145.3"));
    m_window->channelGrid()->setCurrentIndex(m_window->channelTable().index(9, 1));
    QTRY_COMPARE(m_messages->count(), 1);
    const Messages::Message message = m_messages->last();
    QCOMPARE(message.title, QStringLiteral("错误警告"));
    QCOMPARE(message.icon, Messages::Icon::Warning);
    QCOMPARE(message.text,
             QStringLiteral("第 7 信道已被另一个程序改动，您的修改没有存入数据库 %1。\n"
                            "您的输入：接收频率 “145.30000”，发送频率 “145.30000”，拍频 “off”\n"
                            "数据库中现为：接收频率 “438.50000”，发送频率 “431.30000”，拍频 “on”\n"
                            "表格现在显示数据库中的内容。")
                 .arg(m_path));
    const QAbstractItemModel *model = m_window->channelGrid()->model();
    QCOMPARE(model->data(model->index(6, 1)), text("438.50000"));
    QCOMPARE(storedField(6, 2), text("431.30000"));

    // Undo must not bring this window's refused values back over the other program's channel.
    auto *undo = m_window->findChild<QAction *>(QStringLiteral("undoCommand"));
    QVERIFY(undo);
    undo->trigger();
    m_window->channelGrid()->setCurrentIndex(m_window->channelTable().index(2, 1));
    QCOMPARE(m_messages->count(), 2);
    QCOMPARE(m_messages->last().text, QStringLiteral("第 7 信道已被另一个程序改动，这一步无法撤销，表格和数据库保持不变。"));
    QCOMPARE(model->data(model->index(6, 1)), text("438.50000"));
    QCOMPARE(storedField(6, 1), text("438.50000"));
    QCOMPARE(storedField(6, 2), text("431.30000"));
    QCOMPARE(storedField(6, 3), text("on"));
}

void tst_ChannelStore::exitWithLockedDatabase_data()
{
    QTest::addColumn<QList<int>>("answers"); // -1: no answer (Escape)
    QTest::addColumn<bool>("unlockBeforeLast");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QVariant>("storedRf");

    const QVariant typed = text("145.30000");
    QTest::newRow("discard") << QList<int>{1} << false << true << text("");
    QTest::newRow("cancel") << QList<int>{2} << false << false << text("");
    QTest::newRow("escape is cancel") << QList<int>{-1} << false << false << text("");
    QTest::newRow("retry while locked, then discard") << QList<int>{0, 1} << false << true << text("");
    QTest::newRow("retry once unlocked") << QList<int>{0, 0} << true << true << typed;
}

void tst_ChannelStore::exitWithLockedDatabase()
{
    QFETCH(QList<int>, answers);
    QFETCH(bool, unlockBeforeLast);
    QFETCH(bool, closed);
    QFETCH(QVariant, storedRf);

    startWindow();
    typeWithoutReturn(3, 1, QStringLiteral("145.3"));
    lockDatabase();
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const int answer = answers[i];
        if (unlockBeforeLast && i == answers.size() - 1)
            m_messages->answerNext([this, answer](const Messages::Question &) {
                unlockDatabase();
                return answer;
            });
        else
            m_messages->answerNext(answer);
    }

    QCOMPARE(m_window->close(), closed);
    QCOMPARE(m_window->isVisible(), !closed);
    QCOMPARE(m_messages->questions().size(), answers.size());
    const Messages::Question question = m_messages->lastQuestion();
    QCOMPARE(question.title, QStringLiteral("错误警告"));
    QVERIFY2(question.text.startsWith(QStringLiteral("信道数据无法存入数据库 %1，修改尚未保存：\n").arg(m_path)), qPrintable(question.text));
    QVERIFY2(question.text.contains(QStringLiteral("locked")), qPrintable(question.text));
    QCOMPARE(question.buttons, ExitButtons);
    QCOMPARE(question.escapeButton, 2);
    QVERIFY2(m_messages->isEmpty(), qPrintable(m_messages->texts().join(u'|'))); // the question is the only box
    if (!closed) // the change is still there to be stored
        QCOMPARE(m_window->channelTable().channel(3).rf, text("145.30000"));
    unlockDatabase();
    QCOMPARE(storedField(3, 1), storedRf);
}

// The exit question inside the close event, once with a real box that the user answers.
void tst_ChannelStore::exitQuestionInRealBox()
{
    startWindow();
    typeWithoutReturn(3, 1, QStringLiteral("145.3"));
    lockDatabase();
    Messages::setQuestionHandler({}); // the real box; RecordedMessages puts its own back afterwards
    QString seenText;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        seenText = box->text();
        for (QAbstractButton *button : box->buttons())
            if (button->text() == u"放弃修改")
                button->click();
    });
    poll.start();
    QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
    QVERIFY2(seenText.startsWith(QStringLiteral("信道数据无法存入数据库")), qPrintable(seenText));
    unlockDatabase();
    QCOMPARE(storedField(3, 1), text(""));
}

// A read's store waits for the database on a thread of its own: the caller goes on at once, and
// only a confirmed store is shown.
void tst_ChannelStore::storeInBackground_data()
{
    QTest::addColumn<int>("lockedMs"); // how long another program holds the file; -1 for the whole test
    QTest::addColumn<bool>("stored");

    QTest::newRow("file free") << 0 << true;
    QTest::newRow("file held a moment") << 300 << true;
    QTest::newRow("file held past the wait") << -1 << false;
}

void tst_ChannelStore::storeInBackground()
{
    QFETCH(int, lockedMs);
    QFETCH(bool, stored);
    constexpr int EditedRow = 5;

    auto table = openTable();
    QVERIFY(table);
    if (lockedMs != 0)
        lockDatabase();
    if (lockedMs > 0)
        QTimer::singleShot(lockedMs, this, [this] { unlockDatabase(); });

    ChannelList channels;
    for (int n = 1; n <= ChannelCount; ++n)
        channels.append({QVariant(n), text("145.00000"), text("146.00000"), text("on")});
    std::optional<QString> result;
    table->storeChannelsInBackground(channels, [&result](const QString &error) { result = error; });
    // Not waited for here: nothing is shown as stored yet.
    QVERIFY(!result);
    QVERIFY(table->isStoringInBackground());
    QCOMPARE(table->channel(0).rf, text(""));
    // An edit meanwhile stays pending and is not lost when the store lands.
    QVERIFY(table->setFieldAt(EditedRow, 1, text("150.00000")));
    QVERIFY(!table->submit());

    QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 5000);
    QVERIFY(!table->isStoringInBackground());
    QCOMPARE(result->isEmpty(), stored);
    unlockDatabase();
    const QVariant expectedRf = stored ? text("145.00000") : text("");
    QCOMPARE(table->channel(0).rf, expectedRf);
    QCOMPARE(storedField(0, 1), expectedRf);
    QCOMPARE(storedField(ChannelCount - 1, 2), stored ? text("146.00000") : text(""));
    QCOMPARE(storedField(EditedRow, 1), expectedRf);
    QCOMPARE(table->channel(EditedRow).rf, text("150.00000"));
    QCOMPARE(table->channel(EditedRow).bt, stored ? text("on") : text(""));
    QVERIFY(table->hasPendingChanges());
    QVERIFY(table->submit());
    QCOMPARE(storedField(EditedRow, 1), text("150.00000"));
    QCOMPARE(storedField(EditedRow, 3), stored ? text("on") : text(""));
}

// The read's store waits for the database off the window's thread: another program's lock, let go
// by a timer of the window's own thread once the last frame is in, holds the read up for nothing.
void tst_ChannelStore::readStoreLeavesWindowRunning()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    auto lock = std::make_unique<DatabaseLock>(rig.table().path());
    QVERIFY(lock->isLocked());
    bool letGo = false;
    connect(rig.reader(), &ReadTransfer::progress, this, [&](int frame, int total) {
        if (frame == total)
            QTimer::singleShot(0, this, [&] {
                lock->release();
                letGo = true;
            });
    });
    QSignalSpy finished(rig.reader(), &ReadTransfer::finished);
    QSignalSpy failed(rig.reader(), &ReadTransfer::failed);
    rig.action("读信道")->trigger();
    QVERIFY(finished.wait(30000));
    QVERIFY(letGo);
    QCOMPARE(failed.size(), 0);
    QVERIFY(rig.messages.isEmpty());
    QCOMPARE(rig.window->statusText(), QStringLiteral("读出信道数据完毕！"));
    // The read is one step, and the file holds what the grid shows.
    QCOMPARE(rig.window->editHistory().stack().undoText(), QStringLiteral("读信道数据"));
    m_path = rig.table().path();
    QVERIFY(!rig.table().channel(0).rf.toString().isEmpty());
    QCOMPARE(storedField(0, 1), rig.table().channel(0).rf);
    QCOMPARE(storedField(ChannelCount - 1, 2), rig.table().channel(ChannelCount - 1).tf);
}

// Storing the set the file holds already writes nothing: reading an unchanged radio again costs the
// disk no journal and no sync. SQLite counts every write transaction in the file's header.
void tst_ChannelStore::unchangedSetWritesNothing_data()
{
    QTest::addColumn<int>("changedRow"); // -1: the same set again
    QTest::addColumn<bool>("background");

    QTest::newRow("same set") << -1 << false;
    QTest::newRow("same set, in the background") << -1 << true;
    QTest::newRow("last channel changed") << ChannelCount - 1 << false;
    QTest::newRow("first channel changed, in the background") << 0 << true;
}

void tst_ChannelStore::unchangedSetWritesNothing()
{
    QFETCH(int, changedRow);
    QFETCH(bool, background);
    const auto changeCounter = [this] {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray header = file.read(28);
        return header.size() < 28 ? -1 : int(quint8(header[24]) << 24 | quint8(header[25]) << 16 | quint8(header[26]) << 8 | quint8(header[27]));
    };

    auto table = openTable();
    QVERIFY(table);
    ChannelList channels;
    for (int n = 1; n <= ChannelCount; ++n)
        channels.append({QVariant(n), text("145.00000"), n % 2 ? QVariant() : text("146.00000"), text("")});
    QVERIFY(table->storeChannels(channels));
    const int before = changeCounter();
    QVERIFY(before >= 0);

    if (changedRow >= 0)
        channels[changedRow].rf = text("433.00000");
    if (background) {
        std::optional<QString> result;
        table->storeChannelsInBackground(channels, [&result](const QString &error) { result = error; });
        QTRY_VERIFY(result.has_value());
        QCOMPARE(*result, QString());
    } else {
        QVERIFY(table->storeChannels(channels));
    }
    QCOMPARE(changeCounter(), changedRow >= 0 ? before + 1 : before);
    for (int row = 0; row < ChannelCount; ++row) {
        QCOMPARE(storedField(row, 1), row == changedRow ? text("433.00000") : text("145.00000"));
        QCOMPARE(storedField(row, 2), row % 2 ? text("146.00000") : QVariant());
    }
}

QTEST_MAIN(tst_ChannelStore)
#include "tst_channelstore.moc"
