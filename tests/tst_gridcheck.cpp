#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/channels/channelgrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

// The frequency check as the user meets it: a cell of the real grid is edited and committed.
class tst_GridCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void edit_data();
    void edit();
    void editCommittedByMovingOn_data();
    void editCommittedByMovingOn();
    void unchangedCellIsNoEdit_data();
    void unchangedCellIsNoEdit();

private:
    void typeInto(int row, int column, const QString &text);
    bool editorOpen() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PseudoTerminal> m_pty;
    std::unique_ptr<RecordedMessages> m_messages;
    std::unique_ptr<MainWindow> m_window;
};

namespace {

constexpr int Row = 4;
const QVariant Null;

QVariant text(const char *value)
{
    return QVariant(QString::fromUtf8(value));
}

} // namespace

void tst_GridCheck::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_pty = std::make_unique<PseudoTerminal>();
    QVERIFY(m_pty->isOpen());
    m_messages = std::make_unique<RecordedMessages>();
    m_window = Startup::run(m_dir->filePath(QStringLiteral("qz3300E.mdb")), PortTable({m_pty->devicePath()}));
    QVERIFY(m_window);
    QVERIFY(m_messages->isEmpty());
    // The cell editor works with the keyboard focus, which only an active window hands out.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_GridCheck::cleanup()
{
    m_window.reset();
    m_messages.reset();
    m_pty.reset();
    m_dir.reset();
}

void tst_GridCheck::typeInto(int row, int column, const QString &value)
{
    ChannelGrid *grid = m_window->channelGrid();
    const QModelIndex index = grid->model()->index(row, column);
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY2(editor, "no cell editor open");
    editor->setText(value);
    QTest::keyClick(editor, Qt::Key_Return);
    // Return commits through a queued call; the check runs inside that commit.
    QTRY_VERIFY(!editorOpen());
}

bool tst_GridCheck::editorOpen() const
{
    const auto editors = m_window->channelGrid()->viewport()->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(editors.begin(), editors.end(), [](const QLineEdit *editor) { return editor->isVisible(); });
}

void tst_GridCheck::edit_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("rf");
    QTest::addColumn<QVariant>("tf");
    QTest::addColumn<QVariant>("bt");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QVariant>("newRf");
    QTest::addColumn<QVariant>("newTf");
    QTest::addColumn<QVariant>("newBt");

    const QVariant e = text("");
    const QVariant old = text("150.00000");
    const QVariant on = text("on");
    const QVariant off = text("off");
    const QString range = QStringLiteral("数据超出范围 ！！（130 到 500 MHz）");
    const QString shiftRefused = QStringLiteral("拍频只能是 on 或 off ！！");

    // Receive frequency: accepted values go to rf and tf, and switch the shift off.
    QTest::newRow("rf lower limit") << 1 << e << e << e << "130" << "" << text("130.00000") << text("130.00000") << off;
    QTest::newRow("rf upper limit") << 1 << e << e << e << "500" << "" << text("500.00000") << text("500.00000") << off;
    QTest::newRow("rf 6.25 kHz raster") << 1 << e << e << e << "145.3" << "" << text("145.30000") << text("145.30000") << off;
    QTest::newRow("rf 6.25 kHz fine") << 1 << e << e << e << "136.00625" << "" << text("136.00625") << text("136.00625") << off;
    QTest::newRow("rf 5 kHz raster") << 1 << e << e << e << "145.005" << "" << text("145.00500") << text("145.00500") << off;
    QTest::newRow("rf cut 145.123") << 1 << e << e << e << "145.123" << "" << text("145.12000") << text("145.12000") << off;
    QTest::newRow("rf cut 435.0025") << 1 << e << e << e << "435.0025" << "" << text("435.00000") << text("435.00000") << off;
    QTest::newRow("rf cut 145.0075") << 1 << e << e << e << "145.0075" << "" << text("145.00500") << text("145.00500") << off;
    QTest::newRow("rf cut 499.99999") << 1 << e << e << e << "499.99999" << "" << text("499.99500") << text("499.99500") << off;
    QTest::newRow("rf unit typed after") << 1 << e << e << e << "145.3MHz" << "" << text("145.30000") << text("145.30000") << off;
    QTest::newRow("rf replaces tf, shift off") << 1 << text("146.00000") << old << on << "145.5" << "" << text("145.50000")
                                               << text("145.50000") << off;
    // Out of range: the message, and the channel goes as for an empty receive frequency.
    QTest::newRow("rf just below") << 1 << e << old << on << "129.99999" << range << e << e << e;
    QTest::newRow("rf just above") << 1 << e << old << on << "500.00001" << range << e << e << e;
    QTest::newRow("rf negative") << 1 << e << old << on << "-145" << range << e << e << e;
    QTest::newRow("rf out of range empties tf, bt") << 1 << text("146.00000") << old << on << "600" << range << e << e << e;
    // A decimal comma between digits is the decimal point.
    QTest::newRow("rf decimal comma") << 1 << e << e << e << "146,52" << "" << text("146.52000") << text("146.52000") << off;
    QTest::newRow("rf decimal comma out of range") << 1 << text("146.00000") << old << on << "600,5" << range << e << e << e;
    // Nothing that reads as a frequency: the channel is emptied without a message.
    QTest::newRow("rf letters") << 1 << text("146.00000") << old << on << "abc" << "" << e << e << e;
    QTest::newRow("rf zero") << 1 << text("146.00000") << old << on << "0" << "" << e << e << e;
    QTest::newRow("rf cleared") << 1 << text("146.00000") << old << on << "" << "" << e << e << e;
    // A cell left as it held is no edit: nothing is checked or rewritten.
    QTest::newRow("rf left empty on null") << 1 << Null << Null << Null << "" << "" << Null << Null << Null;
    // Decided on the typed digits: the text is the snapped count, never a binary artefact.
    QTest::newRow("rf tie to even stays") << 1 << e << e << e << "130.070005" << "" << text("130.07000") << text("130.07000") << off;
    QTest::newRow("rf tie to even goes up") << 1 << e << e << e << "145.304995" << "" << text("145.30500") << text("145.30500") << off;
    QTest::newRow("rf tie lands on 5 kHz") << 1 << e << e << e << "146.024995" << "" << text("146.02500") << text("146.02500") << off;
    QTest::newRow("rf 400 digits") << 1 << e << old << on << QString(QStringLiteral("1") + QString(400, u'0')) << range << e << e << e;
    QTest::newRow("rf exponent past double") << 1 << e << old << on << "1e400" << range << e << e << e;

    // Transmit frequency: only tf changes.
    const QVariant rf = text("145.00000");
    QTest::newRow("tf lower limit") << 2 << rf << e << on << "130" << "" << rf << text("130.00000") << on;
    QTest::newRow("tf upper limit") << 2 << rf << e << on << "500" << "" << rf << text("500.00000") << on;
    QTest::newRow("tf cut 145.123") << 2 << rf << e << on << "145.123" << "" << rf << text("145.12000") << on;
    QTest::newRow("tf cut 145.0075") << 2 << rf << e << on << "145.0075" << "" << rf << text("145.00500") << on;
    QTest::newRow("tf unit typed after") << 2 << rf << e << on << "150.3 MHz" << "" << rf << text("150.30000") << on;
    QTest::newRow("tf just below") << 2 << rf << old << on << "129.99999" << range << rf << e << on;
    QTest::newRow("tf just above") << 2 << rf << old << on << "500.00001" << range << rf << e << on;
    QTest::newRow("tf negative") << 2 << rf << old << on << "-145" << range << rf << e << on;
    QTest::newRow("tf letters") << 2 << rf << old << on << "abc" << "" << rf << e << on;
    QTest::newRow("tf zero") << 2 << rf << old << on << "0" << "" << rf << e << on;
    QTest::newRow("tf without rf") << 2 << e << e << on << "150" << "" << e << e << on;
    QTest::newRow("tf without rf, null") << 2 << Null << Null << Null << "150" << "" << Null << e << Null;
    QTest::newRow("tf 400 digits") << 2 << rf << old << on << QString(QStringLiteral("5") + QString(400, u'0')) << range << rf << e << on;
    QTest::newRow("tf with rf 0") << 2 << text("0") << e << e << "150" << "" << text("0") << e << e;

    // The other columns are taken as typed.
    QTest::newRow("tf decimal comma") << 2 << rf << e << on << "146,525" << "" << rf << text("146.52500") << on;
    // The shift: on or off in any letter case, stored in small letters, or empty; else refused.
    QTest::newRow("bt ON") << 3 << rf << rf << off << "ON" << "" << rf << rf << on;
    QTest::newRow("bt Off with blanks") << 3 << rf << rf << on << " Off " << "" << rf << rf << off;
    QTest::newRow("bt emptied") << 3 << rf << rf << on << "" << "" << rf << rf << e;
    QTest::newRow("bt yes refused") << 3 << rf << rf << on << "yes" << shiftRefused << rf << rf << on;
    QTest::newRow("bt 1 refused") << 3 << rf << rf << off << "1" << shiftRefused << rf << rf << off;
    QTest::newRow("bt maybe refused on null") << 3 << Null << Null << Null << "maybe" << shiftRefused << Null << Null << Null;
    QTest::newRow("no unchecked") << 0 << rf << rf << on << "600" << "" << rf << rf << on;
}

void tst_GridCheck::edit()
{
    QFETCH(int, column);
    QFETCH(QVariant, rf);
    QFETCH(QVariant, tf);
    QFETCH(QVariant, bt);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QVariant, newRf);
    QFETCH(QVariant, newTf);
    QFETCH(QVariant, newBt);

    ChannelTable &table = m_window->channelTable();
    table.moveTo(Row);
    QVERIFY(table.setField(1, rf));
    QVERIFY(table.setField(2, tf));
    QVERIFY(table.setField(3, bt));
    const ChannelRecord neighbour = table.channel(Row + 1);

    typeInto(Row, column, typed);

    if (!message.isEmpty()) {
        QCOMPARE(m_messages->count(), 1);
        QCOMPARE(m_messages->last().text, message);
        QCOMPARE(m_messages->last().title, QStringLiteral("错误警告 "));
        QCOMPARE(m_messages->last().icon, Messages::Icon::Warning);
    } else {
        QVERIFY2(m_messages->isEmpty(), qPrintable(m_messages->texts().join(u'|')));
    }
    const ChannelRecord record = table.channel(Row);
    QCOMPARE(record.rf, newRf);
    QCOMPARE(record.tf, newTf);
    QCOMPARE(record.bt, newBt);
    // What the grid shows is the rewritten text, without any further event.
    const QAbstractItemModel *model = m_window->channelGrid()->model();
    QCOMPARE(model->data(model->index(Row, 1)), newRf);
    QCOMPARE(model->data(model->index(Row, 2)), newTf);
    QCOMPARE(table.channel(Row + 1), neighbour);
    // Return commits and moves down a row, as in a spreadsheet; the check stayed with its row.
    QCOMPARE(table.currentRow(), Row + 1);
}

// Moving to another row ends the edit: the check applies to the row that was edited.
void tst_GridCheck::editCommittedByMovingOn_data()
{
    QTest::addColumn<bool>("click");
    QTest::newRow("mouse click") << true; // the editor loses the focus first
    QTest::newRow("current row set") << false; // the commit comes after the move
}

void tst_GridCheck::editCommittedByMovingOn()
{
    QFETCH(bool, click);
    ChannelGrid *grid = m_window->channelGrid();
    ChannelTable &table = m_window->channelTable();
    const QModelIndex edited = table.index(2, 1);
    grid->setCurrentIndex(edited);
    grid->edit(edited);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->setText(QStringLiteral("145.123"));

    const ChannelRecord before = table.channel(7);
    if (click)
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(table.index(7, 1)).center());
    else
        grid->setCurrentIndex(table.index(7, 1));
    QTRY_VERIFY(!editorOpen());

    QCOMPARE(table.channel(2).rf, text("145.12000"));
    QCOMPARE(table.channel(2).tf, text("145.12000"));
    QCOMPARE(table.channel(2).bt, text("off"));
    QCOMPARE(table.channel(7), before);
    QCOMPARE(table.currentRow(), 7);
    QVERIFY(m_messages->isEmpty());
}

// Opening a cell and leaving it as it was must not run the check on a repeater channel.
void tst_GridCheck::unchangedCellIsNoEdit_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("how");
    QTest::newRow("rf, Return") << 1 << "return";
    QTest::newRow("rf, F2 then Return") << 1 << "f2";
    QTest::newRow("rf, click into another row") << 1 << "click";
    QTest::newRow("tf, Return") << 2 << "return";
    QTest::newRow("tf, F2 then Return") << 2 << "f2";
}

void tst_GridCheck::unchangedCellIsNoEdit()
{
    QFETCH(int, column);
    QFETCH(QString, how);

    ChannelGrid *grid = m_window->channelGrid();
    ChannelTable &table = m_window->channelTable();
    const QString path = table.path();
    table.moveTo(Row);
    QVERIFY(table.setField(1, text("438.50000")));
    QVERIFY(table.setField(2, text("431.30000")));
    QVERIFY(table.setField(3, text("on")));
    table.moveTo(Row + 2);
    QVERIFY(!table.hasPendingChanges());
    const ChannelRecord repeater = table.channel(Row);

    const QModelIndex cell = table.index(Row, column);
    grid->setFocus();
    grid->setCurrentIndex(cell);
    if (how == u"f2")
        QTest::keyClick(grid, Qt::Key_F2);
    else
        grid->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY2(editor, "no cell editor open");
    QCOMPARE(editor->text(), (column == 1 ? repeater.rf : repeater.tf).toString());
    if (how == u"click")
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(table.index(Row + 3, 1)).center());
    else
        QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!editorOpen());
    table.moveTo(Row + 5);

    QCOMPARE(table.channel(Row), repeater);
    QVERIFY(!table.hasPendingChanges());
    QVERIFY(m_messages->isEmpty());
    // The database still holds the repeater channel as well.
    m_window.reset();
    auto reopened = ChannelTable::open(path);
    QVERIFY2(reopened.table, qPrintable(reopened.error));
    QCOMPARE(reopened.table->channel(Row).tf, text("431.30000"));
    QCOMPARE(reopened.table->channel(Row).bt, text("on"));
}

QTEST_MAIN(tst_GridCheck)
#include "tst_gridcheck.moc"
