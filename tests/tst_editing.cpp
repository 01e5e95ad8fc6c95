#include "realboxes.h"
#include "window/channels/edithistory.h"
#include "window/channels/grideditcommands.h"
#include "window/files/filedialogs.h"
#include "window/ui/commandhost.h"
#include "window/ui/translations.h"
#include "windowonradio.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <memory>

// Everyday editing in the real window: undo and redo of every kind of change, the clipboard as
// spreadsheets speak it, the keys, and what the window shows around it.
class tst_Editing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void undoRedo_data();
    void undoRedo();
    void undoLockedDuringTransfer();
    void copyBlock();
    void pasteWithRefusedValue();
    void pasteRefusalOnRealBox();
    void pasteRefusedAsAWhole_data();
    void pasteRefusedAsAWhole();
    void pasteBeyondLastChannel();
    void refusedTypingUndone_data();
    void refusedTypingUndone();
    void clearSelection_data();
    void clearSelection();
    void keysMove_data();
    void keysMove();
    void transferResultStays();
    void disabledSquelchLooksDisabled();
    void gridFitsItsFrame();

private:
    struct State
    {
        ChannelList channels;
        QString squelch;
        friend bool operator==(const State &, const State &) = default;
    };
    State state() const;
    ChannelList stored() const;
    void selectBlock(int top, int left, int bottom, int right);
    QLineEdit *openEditor(int row, int column);
    void pressOnGrid(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<WindowOnRadio> m_rig;
    FileDialogs::Handler m_previousDialogs;
    QString m_fileToOpen;
};

namespace {

QVariant text(const char *value)
{
    return QVariant(QString::fromUtf8(value));
}

// The seed: channel r at 145 MHz + r x 25 kHz, shift on in odd rows.
QString seedFrequency(int row)
{
    return QString::number(145.0 + 0.025 * row, 'f', 5);
}

ChannelList seedChannels()
{
    ChannelList channels;
    for (int row = 0; row < ChannelCount; ++row)
        channels.append({QVariant(), seedFrequency(row), seedFrequency(row), row % 2 ? text("on") : text("off")});
    return channels;
}

} // namespace

void tst_Editing::init()
{
    m_fileToOpen.clear();
    m_previousDialogs = FileDialogs::setHandler([this](QWidget *, const FileDialogs::Request &) { return m_fileToOpen; });
    m_rig = std::make_unique<WindowOnRadio>();
    QVERIFY(m_rig->isUp());
    QVERIFY(m_rig->table().storeChannels(seedChannels()));
    m_rig->table().moveFirst();
    m_rig->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_rig->window.get()));
    m_rig->window->channelGrid()->setFocus();
    QVERIFY(!m_rig->window->editHistory().canUndo());
}

void tst_Editing::cleanup()
{
    m_rig.reset();
    FileDialogs::setHandler(m_previousDialogs);
}

tst_Editing::State tst_Editing::state() const
{
    ChannelList channels = m_rig->table().channels();
    return {channels, m_rig->window->squelchBox()->currentText()};
}

ChannelList tst_Editing::stored() const
{
    ChannelList channels;
    const QString name = QStringLiteral("tst-editing-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_rig->table().path());
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT no, rf, tf, bt FROM Chane ORDER BY rowid LIMIT 16"), db);
            while (query.next()) {
                const auto field = [&query](int i) {
                    return query.value(i).isNull() ? QVariant() : QVariant(query.value(i).toString());
                };
                channels.append({field(0), field(1), field(2), field(3)});
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return channels;
}

void tst_Editing::selectBlock(int top, int left, int bottom, int right)
{
    ChannelTable &table = m_rig->table();
    table.selectionModel()->setCurrentIndex(table.index(top, left), QItemSelectionModel::ClearAndSelect);
    table.selectionModel()->select(QItemSelection(table.index(top, left), table.index(bottom, right)),
                                   QItemSelectionModel::ClearAndSelect);
}

QLineEdit *tst_Editing::openEditor(int row, int column)
{
    ChannelGrid *grid = m_rig->window->channelGrid();
    const QModelIndex index = grid->model()->index(row, column);
    grid->setCurrentIndex(index);
    grid->edit(index);
    return qobject_cast<QLineEdit *>(QApplication::focusWidget());
}

void tst_Editing::pressOnGrid(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(m_rig->window->channelGrid(), Qt::Key(key), modifiers);
}

void tst_Editing::undoRedo_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("typed cell") << "typed cell";
    QTest::newRow("out-of-range cell") << "out-of-range cell";
    QTest::newRow("beat choice") << "beat choice";
    QTest::newRow("squelch typed") << "squelch typed";
    QTest::newRow("paste") << "paste";
    QTest::newRow("clear") << "clear";
    QTest::newRow("open file") << "open file";
    QTest::newRow("import sheet") << "import sheet";
    QTest::newRow("read from radio") << "read from radio";
}

// Each kind of change is one step: Ctrl+Z brings back the state before it, Ctrl+Y the one after,
// and the database holds either once the current record has moved on.
void tst_Editing::undoRedo()
{
    QFETCH(QString, kind);
    ChannelTable &table = m_rig->table();
    MainWindow &window = *m_rig->window;
    const State before = state();

    if (kind == u"typed cell" || kind == u"out-of-range cell") {
        QLineEdit *editor = openEditor(4, 1);
        QVERIFY(editor);
        editor->setText(kind == u"typed cell" ? QStringLiteral("145.3") : QStringLiteral("600"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!qobject_cast<QLineEdit *>(QApplication::focusWidget()) || QApplication::focusWidget() != editor);
        if (kind == u"typed cell") {
            QCOMPARE(table.channel(4).tf, text("145.30000"));
            QCOMPARE(table.channel(4).bt, text("off"));
        } else {
            QCOMPARE(m_rig->messages.count(), 1);
            QCOMPARE(table.channel(4).rf, text(""));
        }
    } else if (kind == u"beat choice") {
        table.moveTo(6);
        window.shiftBox()->setCurrentIndex(1);
        emit window.shiftBox()->activated(1);
        QCOMPARE(table.channel(6).bt, text("on"));
    } else if (kind == u"squelch typed") {
        QLineEdit *line = window.squelchBox()->lineEdit();
        line->setFocus();
        line->selectAll();
        QTest::keyClicks(line, QStringLiteral("7"));
        QTest::keyClick(line, Qt::Key_Backspace);
        QTest::keyClicks(line, QStringLiteral("8"));
        QTest::keyClick(line, Qt::Key_Return);
        QCOMPARE(window.squelchBox()->currentText(), QStringLiteral("8"));
        window.channelGrid()->setFocus();
    } else if (kind == u"paste") {
        QGuiApplication::clipboard()->setText(QStringLiteral("146.5\t146.6\n147.5\t147.6\n"));
        selectBlock(2, 1, 2, 1);
        pressOnGrid(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(table.channel(3).tf, text("147.60000"));
    } else if (kind == u"clear") {
        selectBlock(1, 1, 2, 3);
        pressOnGrid(Qt::Key_Delete);
        QCOMPARE(table.channel(2).rf, text(""));
    } else if (kind == u"open file") {
        QString content = QStringLiteral("5,");
        for (int row = 0; row < ChannelCount; ++row)
            content += QStringLiteral("430.%1,431.00000,on,").arg(row + 10);
        m_fileToOpen = QDir(m_rig->dir.path()).filePath(QStringLiteral("plan.doc"));
        QFile file(m_fileToOpen);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content.toLatin1());
        file.close();
        m_rig->action("打开")->trigger();
        QCOMPARE(table.channel(15).rf, text("430.25000"));
        QCOMPARE(window.squelchBox()->currentText(), QStringLiteral("5"));
    } else if (kind == u"import sheet") {
        m_fileToOpen = QDir(m_rig->dir.path()).filePath(QStringLiteral("plan.csv"));
        QFile file(m_fileToOpen);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("squelch;4\nchannel;receive MHz;transmit MHz;shift\n2;438,5;430,9;on\n16;145,375;;off\n");
        file.close();
        m_rig->window->findChild<QAction *>(QStringLiteral("importCommand"))->trigger();
        QCOMPARE(table.channel(1).tf, text("430.90000"));
        QCOMPARE(table.channel(15).rf, text("145.37500"));
        QCOMPARE(table.channel(0).rf, text(""));
        QCOMPARE(window.squelchBox()->currentText(), QStringLiteral("4"));
    } else if (kind == u"read from radio") {
        QStringList frames;
        for (int channel = 1; channel <= ChannelCount; ++channel)
            frames << FakeRadio::frame(channel == 1 ? 6 : channel - 1, false, 15'000'000 + 1'250 * channel, 15'000'000);
        m_rig->radio.setFrames(frames);
        QSignalSpy finished(m_rig->reader(), &ReadTransfer::finished);
        m_rig->action("读信道")->trigger();
        QVERIFY(finished.wait(20000));
        QCOMPARE(table.channel(0).rf, text("150.01250"));
        QCOMPARE(window.squelchBox()->currentText(), QStringLiteral("6"));
    }
    QVERIFY2(m_rig->messages.count() == (kind == u"out-of-range cell" ? 1 : 0), qPrintable(m_rig->messages.texts().join(u'|')));
    const State after = state();
    QVERIFY(after != before);
    QCOMPARE(window.editHistory().stack().count(), 1);

    m_rig->radio.clearReceived();
    const int writes = m_rig->radio.writesStored();
    pressOnGrid(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(state(), before);
    table.moveTo(table.currentRow() == 9 ? 10 : 9);
    QVERIFY(!table.hasPendingChanges());
    QCOMPARE(stored(), before.channels);

    pressOnGrid(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(state(), after);
    table.moveTo(table.currentRow() == 11 ? 12 : 11);
    QCOMPARE(stored(), after.channels);

    pressOnGrid(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // the other redo key: nothing left to redo
    QCOMPARE(state(), after);
    pressOnGrid(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(state(), before);
    pressOnGrid(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(state(), after);
    // Undoing and redoing touched only the table: no write or read went to the radio.
    QTest::qWait(300);
    QCOMPARE(m_rig->radio.writesStored(), writes);
    QVERIFY(!m_rig->radio.received().contains('A'));
    QVERIFY(!m_rig->radio.received().contains('5'));
    QCOMPARE(m_rig->messages.count(), kind == u"out-of-range cell" ? 1 : 0);
}

void tst_Editing::undoLockedDuringTransfer()
{
    ChannelTable &table = m_rig->table();
    table.moveTo(4);
    m_rig->window->shiftBox()->setCurrentIndex(1);
    emit m_rig->window->shiftBox()->activated(1);
    QAction *undo = m_rig->window->editCommands().undoAction();
    QVERIFY(undo->isEnabled());

    QSignalSpy finished(m_rig->writer(), &WriteTransfer::finished);
    m_rig->action("写信道")->trigger();
    QVERIFY(m_rig->writer()->isRunning());
    QVERIFY(!undo->isEnabled());
    m_rig->window->editHistory().undo();
    QCOMPARE(table.channel(4).bt, text("on"));
    QVERIFY(finished.wait(15000));
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(table.channel(4).bt, text("off"));
}

void tst_Editing::copyBlock()
{
    selectBlock(1, 1, 2, 3);
    pressOnGrid(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("145.02500\t145.02500\ton\n145.05000\t145.05000\toff\n"));

    // Whole rows, channel number included, through the menu command.
    selectBlock(0, 0, 1, 3);
    m_rig->window->editCommands().copyAction()->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("1\t145.00000\t145.00000\toff\n2\t145.02500\t145.02500\ton\n"));
}

void tst_Editing::pasteWithRefusedValue()
{
    ChannelTable &table = m_rig->table();
    const ChannelRecord untouched = table.channel(8);
    QGuiApplication::clipboard()->setText(QStringLiteral("146.5\t146.5\r\n600\t147\r\n147.123\t147.5\tOn\r\n"));
    selectBlock(5, 1, 5, 1);
    m_rig->window->editCommands().pasteAction()->trigger();

    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().title, QStringLiteral("错误警告 "));
    QCOMPARE(m_rig->messages.last().text, QStringLiteral("数据超出范围 ！！（130 到 500 MHz）\n第 7 信道 接收频率：600"));
    QCOMPARE(table.channel(5), (ChannelRecord{text("6"), text("146.50000"), text("146.50000"), text("off")}));
    // The refused receive frequency leaves its cell as it was; the valid one beside it is kept.
    QCOMPARE(table.channel(6), (ChannelRecord{text("7"), text("145.15000"), text("147.00000"), text("off")}));
    QCOMPARE(table.channel(7), (ChannelRecord{text("8"), text("147.12000"), text("147.50000"), text("on")}));
    QCOMPARE(table.channel(8), untouched);

    QCOMPARE(m_rig->window->editHistory().stack().count(), 1);
    m_rig->window->editCommands().undoAction()->trigger();
    for (int row : {5, 6, 7}) {
        const ChannelRecord seed = seedChannels().at(row);
        QCOMPARE(table.channel(row), (ChannelRecord{text(QByteArray::number(row + 1).constData()), seed.rf, seed.tf, seed.bt}));
    }
}

// The paste's message is a real box once: Qt's Chinese texts give it the button 确定.
void tst_Editing::pasteRefusalOnRealBox()
{
    if (!QFile::exists(Translations::qtChineseFile()))
        QSKIP("Qt's Chinese translations (qt6-translations-l10n) are not installed");
    QVERIFY(Translations::installQtChinese());
    RealBoxes boxes;
    QGuiApplication::clipboard()->setText(QStringLiteral("700"));
    selectBlock(2, 2, 2, 2);
    m_rig->window->editCommands().pasteAction()->trigger();
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("数据超出范围 ！！（130 到 500 MHz）\n第 3 信道 发送频率：700")});
    QCOMPARE(boxes.buttons(), QStringList{QStringLiteral("确定")});
    QCOMPARE(m_rig->table().channel(2).tf, seedChannels().at(2).tf);
    QCOMPARE(m_rig->table().channel(2).rf, seedChannels().at(2).rf);
}

void tst_Editing::pasteRefusedAsAWhole_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QPoint>("at"); // column, row of the selection's first cell
    QTest::addColumn<QString>("message"); // the lines after the first; "*": not compared

    QTest::newRow("word among numbers") << QStringLiteral("146.5\t146.5\nabc\t147\n") << QPoint(1, 5)
                                        << QStringLiteral("第 7 信道 接收频率：abc");
    QTest::newRow("shift neither on nor off") << QStringLiteral("146.5\t146.5\tmaybe\n147\t147\tyes\n148\t148\toff\n")
                                              << QPoint(1, 0)
                                              << QStringLiteral("第 1 信道 拍频：maybe\n第 2 信道 拍频：yes");
    QTest::newRow("number and word in one cell") << QStringLiteral("146.5abc") << QPoint(2, 3)
                                                 << QStringLiteral("第 4 信道 发送频率：146.5abc");
    QTest::newRow("5 MB cell") << QString(5'000'000, u'1') << QPoint(2, 3) << QStringLiteral("第 4 信道 发送频率：5000000 个字符，过长");
    QTest::newRow("long word cut in the message") << QStringLiteral("abcdefghijklmnopqrstuvwxyz0123") << QPoint(3, 0)
                                                  << QStringLiteral("第 1 信道 拍频：abcdefghijklmnopqrstuvwx…（30 个字符）");
    QTest::newRow("word and lines beyond channel 16") << QStringLiteral("146.5\nx\n147\n148\n") << QPoint(1, 13)
                                                      << QStringLiteral("第 15 信道 接收频率：x\n粘贴内容的第 4 行超出第 16 信道，没有粘贴");
    // Random bytes, as text: tabs and line ends among them make a block over many cells.
    QString junk;
    quint32 seed = 12345;
    for (int i = 0; i < 4000; ++i) {
        seed = seed * 1103515245u + 12345u;
        junk += QChar(char16_t(1 + (seed >> 16) % 255));
    }
    QTest::newRow("4000 random bytes") << junk << QPoint(1, 0) << QStringLiteral("*");
    QString many;
    for (int row = 0; row < ChannelCount; ++row)
        many += QStringLiteral("a%1\tb%1\n").arg(row + 1);
    QString listed;
    for (int row = 1; row <= 10; ++row)
        listed += QStringLiteral("第 %1 信道 接收频率：a%1\n第 %1 信道 发送频率：b%1\n").arg(row);
    QTest::newRow("32 words, 20 listed") << many << QPoint(1, 0) << listed + QStringLiteral("……另有 12 个");
}

// A value no cell can take means the clipboard holds something else: nothing is stored, and one
// message lists every such value.
void tst_Editing::pasteRefusedAsAWhole()
{
    QFETCH(QString, clipboard);
    QFETCH(QPoint, at);
    QFETCH(QString, message);
    const State before = state();
    QGuiApplication::clipboard()->setText(clipboard);
    selectBlock(at.y(), at.x(), at.y(), at.x());
    m_rig->window->editCommands().pasteAction()->trigger();

    QCOMPARE(m_rig->messages.count(), 1);
    QCOMPARE(m_rig->messages.last().title, QStringLiteral("错误警告 "));
    const QString header = QStringLiteral("粘贴内容中有不是频率或不是 on、off 的数据，没有粘贴 ！！");
    if (message == u"*")
        QVERIFY(m_rig->messages.last().text.startsWith(header + u'\n'));
    else
        QCOMPARE(m_rig->messages.last().text, header + u'\n' + message);
    QCOMPARE(state(), before);
    QCOMPARE(m_rig->window->editHistory().stack().count(), 0);
}

// Lines that would land beyond the last channel are named, the others go in.
void tst_Editing::pasteBeyondLastChannel()
{
    ChannelTable &table = m_rig->table();
    QGuiApplication::clipboard()->setText(QStringLiteral("146.5\n147\n148\n149\n"));
    selectBlock(14, 1, 14, 1);
    m_rig->window->editCommands().pasteAction()->trigger();
    QCOMPARE(m_rig->messages.texts(), QStringList{QStringLiteral("粘贴内容的第 3 至 4 行超出第 16 信道，没有粘贴")});
    QCOMPARE(table.channel(14).rf, text("146.50000"));
    QCOMPARE(table.channel(15).rf, text("147.00000"));
}

void tst_Editing::refusedTypingUndone_data()
{
    QTest::addColumn<bool>("realBox");
    QTest::newRow("recorded box") << false;
    QTest::newRow("real box") << true;
}

// A refused value and its clearing are one step: undo brings the old value back, however often
// it is pressed. After a real box the keys must reach the grid, not the squelch box's own undo.
void tst_Editing::refusedTypingUndone()
{
    QFETCH(bool, realBox);
    std::unique_ptr<RealBoxes> boxes;
    if (realBox)
        boxes = std::make_unique<RealBoxes>();
    ChannelTable &table = m_rig->table();
    ChannelGrid *grid = m_rig->window->channelGrid();
    grid->setCurrentIndex(table.index(2, 1));
    grid->setFocus();
    QTest::keyClicks(grid, QStringLiteral("600"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(table.channel(2).rf, text(""));
    QCOMPARE(table.channel(2).tf, text("")); // no transmit frequency without a receive one
    if (realBox) {
        QTRY_COMPARE(boxes->texts().size(), 1);
        m_rig->window->activateWindow(); // offscreen, nothing hands the activation back
        QVERIFY(QTest::qWaitForWindowActive(m_rig->window.get()));
    }
    QCOMPARE(m_rig->window->editHistory().stack().count(), 1);
    // The keys go where the focus is after the box, as the user's would.
    QCOMPARE(QApplication::focusWidget(), grid);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);

    QCOMPARE(table.channel(2).rf, text("145.05000"));
    QCOMPARE(table.channel(2).tf, text("145.05000"));
    QCOMPARE(table.channel(2).bt, text("off"));
}

void tst_Editing::clearSelection_data()
{
    QTest::addColumn<QRect>("cells"); // left, top, right, bottom as columns and rows
    QTest::addColumn<int>("key");
    QTest::addColumn<QList<ChannelRecord>>("expected"); // rows 2 and 3
    const ChannelRecord row2{text("3"), text("145.05000"), text("145.05000"), text("off")};
    const ChannelRecord row3{text("4"), text("145.07500"), text("145.07500"), text("on")};
    const ChannelRecord empty2{text("3"), text(""), text(""), text("")};
    const ChannelRecord empty3{text("4"), text(""), text(""), text("")};
    // Whole rows: the channel numbers stay, they address the channels in the radio.
    QTest::newRow("whole rows, Delete") << QRect(QPoint(0, 2), QPoint(3, 3)) << int(Qt::Key_Delete) << QList{empty2, empty3};
    QTest::newRow("receive column, Backspace") << QRect(QPoint(1, 2), QPoint(1, 3)) << int(Qt::Key_Backspace)
                                               << QList{empty2, empty3};
    QTest::newRow("transmit only") << QRect(QPoint(2, 3), QPoint(2, 3)) << int(Qt::Key_Delete)
                                   << QList{row2, ChannelRecord{text("4"), text("145.07500"), text(""), text("on")}};
    QTest::newRow("shift only") << QRect(QPoint(3, 2), QPoint(3, 2)) << int(Qt::Key_Delete)
                                << QList{ChannelRecord{text("3"), text("145.05000"), text("145.05000"), text("")}, row3};
}

void tst_Editing::clearSelection()
{
    QFETCH(QRect, cells);
    QFETCH(int, key);
    QFETCH(QList<ChannelRecord>, expected);
    const ChannelRecord neighbour = m_rig->table().channel(4);
    selectBlock(cells.top(), cells.left(), cells.bottom(), cells.right());
    pressOnGrid(key);
    QCOMPARE(m_rig->table().channel(2), expected.at(0));
    QCOMPARE(m_rig->table().channel(3), expected.at(1));
    QCOMPARE(m_rig->table().channel(4), neighbour);
    QVERIFY(m_rig->messages.isEmpty());
    QCOMPARE(m_rig->window->editHistory().stack().count(), 1);
}

void tst_Editing::keysMove_data()
{
    QTest::addColumn<bool>("editing");
    QTest::addColumn<int>("key");
    QTest::addColumn<QPoint>("from"); // column, row
    QTest::addColumn<QPoint>("to");
    QTest::newRow("Return while typing") << true << int(Qt::Key_Return) << QPoint(1, 3) << QPoint(1, 4);
    QTest::newRow("Enter on the keypad") << true << int(Qt::Key_Enter) << QPoint(2, 3) << QPoint(2, 4);
    QTest::newRow("Return on a cell") << false << int(Qt::Key_Return) << QPoint(3, 7) << QPoint(3, 8);
    QTest::newRow("Return on the last row") << false << int(Qt::Key_Return) << QPoint(1, 15) << QPoint(1, 15);
    QTest::newRow("Tab on a cell") << false << int(Qt::Key_Tab) << QPoint(1, 3) << QPoint(2, 3);
    QTest::newRow("Tab wraps") << false << int(Qt::Key_Tab) << QPoint(3, 3) << QPoint(0, 4);
    QTest::newRow("Tab while typing") << true << int(Qt::Key_Tab) << QPoint(2, 5) << QPoint(3, 5);
}

void tst_Editing::keysMove()
{
    QFETCH(bool, editing);
    QFETCH(int, key);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    ChannelGrid *grid = m_rig->window->channelGrid();
    if (editing) {
        QLineEdit *editor = openEditor(from.y(), from.x());
        QVERIFY(editor);
        editor->setText(QStringLiteral("146.5"));
        QTest::keyClick(editor, Qt::Key(key));
    } else {
        grid->setCurrentIndex(grid->model()->index(from.y(), from.x()));
        pressOnGrid(key);
    }
    QTRY_COMPARE(grid->currentIndex().row(), to.y());
    QCOMPARE(grid->currentIndex().column(), to.x());
    if (editing) {
        // The typed value was committed through the check.
        const QModelIndex cell = m_rig->table().index(from.y(), from.x());
        QTRY_COMPARE(cell.data(), text("146.50000"));
    }
}

void tst_Editing::transferResultStays()
{
    auto *result = m_rig->window->findChild<QLabel *>(QStringLiteral("transferResult"));
    QVERIFY(result);
    QVERIFY(!result->isVisible());
    const QRegularExpression written(QStringLiteral("^写入完成 16/16  \\d\\d:\\d\\d:\\d\\d$"));
    QSignalSpy wrote(m_rig->writer(), &WriteTransfer::finished);
    m_rig->action("写信道")->trigger();
    QVERIFY(wrote.wait(15000));
    QVERIFY2(written.match(result->text()).hasMatch(), qPrintable(result->text()));
    QVERIFY(result->isVisible());
    // The status line goes its own way; the outcome stays.
    QTRY_COMPARE_WITH_TIMEOUT(m_rig->window->statusText(), QStringLiteral("对讲机就绪..."), 5000);
    QVERIFY(written.match(result->text()).hasMatch());

    // The next transfer clears it as it starts; a silent radio's read then tells it failed.
    m_rig->radio.setSilent(true);
    QSignalSpy failed(m_rig->reader(), &ReadTransfer::failed);
    m_rig->action("读信道")->trigger();
    QVERIFY(!result->isVisible());
    QVERIFY(failed.wait(15000));
    QVERIFY2(QRegularExpression(QStringLiteral("^读出失败  \\d\\d:\\d\\d:\\d\\d$")).match(result->text()).hasMatch(),
             qPrintable(result->text()));
    QCOMPARE(m_rig->messages.last().text, QStringLiteral("读数错误！！\n对讲机没有应答：请检查电缆和对讲机电源"));
}

void tst_Editing::disabledSquelchLooksDisabled()
{
    QComboBox *box = m_rig->window->squelchBox();
    QCOMPARE(box->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
    QCOMPARE(box->palette().color(QPalette::Inactive, QPalette::Text), QColor(Qt::red));
    QVERIFY(box->palette().color(QPalette::Disabled, QPalette::Text) != QColor(Qt::red));
    QVERIFY(box->palette().color(QPalette::Disabled, QPalette::ButtonText) != QColor(Qt::red));
    // Drawn: no red pixel left once a transfer has disabled the box.
    const auto hasRed = [box] {
        const QImage image = box->grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                    return true;
            }
        }
        return false;
    };
    QVERIFY(hasRed());
    m_rig->window->setActivity(CommandHost::Activity::Writing);
    QVERIFY(!hasRed());
    m_rig->window->setActivity(CommandHost::Activity::Idle);
}

void tst_Editing::gridFitsItsFrame()
{
    ChannelGrid *grid = m_rig->window->channelGrid();
    QHeaderView *header = grid->horizontalHeader();
    QTRY_VERIFY(!grid->horizontalScrollBar()->isVisible());
    QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
    int total = 0;
    for (int column = 0; column < 4; ++column) {
        // No caption is cut.
        const QString caption = grid->model()->headerData(column, Qt::Horizontal).toString();
        QVERIFY2(header->sectionSize(column) > header->fontMetrics().horizontalAdvance(caption), qPrintable(caption));
        total += header->sectionSize(column);
    }
    QVERIFY(total <= grid->viewport()->width());
    QVERIFY(header->sectionSize(0) < header->sectionSize(1));
}

QTEST_MAIN(tst_Editing)
#include "tst_editing.moc"
