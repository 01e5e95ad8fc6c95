#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/info/blankwrap.h"
#include "core/info/instructiontext.h"
#include "print/fonts.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/info/blankwraplabel.h"
#include "window/info/instructionswindow.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Piece
{
    const char16_t *text;
    int blanksAfter;
};

// The instruction text piece by piece; it begins with 18 blanks.
const Piece Pieces[] = {
    {u"操作说明", 25},
    {u"一，使用随机配带的写频电缆，将对讲机（关机）耳机话筒插口与计算机串行口1（或串行口2）联结。", 4},
    {u"二，打开对讲机电源，屏显显示“对讲机就续”。", 4},
    {u"三，写频操作：用鼠标点菜单项“写信道数椐”。", 4},
    {u"四，读频操作：用鼠标点菜单项“读信道数据”。", 4},
    {u"五，文件操作：使用操作“文件”菜单的“保存文", 7},
    {u"件”子菜单，打开保存文件对话框，可以将当前", 6},
    {u"的频率数据保存（文件名自选，后缀", 2},
    {u".doc）。", 6},
    {u"同样使用“打开文件”子菜单，可以将保存的频", 6},
    {u"率数据文件重新调出使用。", 21},
    {u"六，设置端口：如有必要，可操作“系统设置”菜", 7},
    {u"单的“选择端口”子菜单项，改变当前使用的串", 6},
    {u"行口。", 4},
};

} // namespace

class tst_InstructionsWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void blankWrap_data();
    void blankWrap();
    void text();
    void window();
    void shownWhole();
    void programGuide();
    void closes_data();
    void closes();
    void oneInstance();

private:
    InstructionsWindow *open(MainWindow &window);

    QTemporaryDir m_dir;
    PseudoTerminal m_pty;
};

void tst_InstructionsWindow::initTestCase()
{
    Fonts::installSubstitutes();
    QVERIFY(m_pty.isOpen());
}

InstructionsWindow *tst_InstructionsWindow::open(MainWindow &window)
{
    window.findChild<QAction *>(QStringLiteral("操作"))->trigger();
    return window.findChild<InstructionsWindow *>(QStringLiteral("frmAbout1"));
}

void tst_InstructionsWindow::blankWrap_data()
{
    // Every character is one unit wide, a blank half a unit; "|" marks the line breaks.
    QTest::addColumn<QString>("text");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<QString>("lines");
    QTest::newRow("fits") << "ab cd" << 10.0 << "ab cd";
    QTest::newRow("blanks push the word on") << "abcd  efg" << 6.0 << "abcd  |efg";
    QTest::newRow("blanks count before a word") << "abcd    e" << 6.0 << "abcd    |e";
    QTest::newRow("trailing blanks hang") << "abcdef      " << 6.0 << "abcdef      ";
    QTest::newRow("leading blanks kept") << "    ab  cdefg" << 6.0 << "    ab  |cdefg";
    QTest::newRow("long word split when full") << "ab abcdefghij k" << 4.0 << "ab |abcd|efgh|ij k";
    QTest::newRow("no break between letters of a word that fits") << "abc defgh" << 5.0 << "abc |defgh";
    QTest::newRow("empty") << "" << 5.0 << "";
}

void tst_InstructionsWindow::blankWrap()
{
    QFETCH(QString, text);
    QFETCH(qreal, width);
    QFETCH(QString, lines);
    const auto measure = [](QStringView piece) {
        qreal units = 0;
        for (const QChar c : piece)
            units += c == u' ' ? 0.5 : 1.0;
        return units;
    };
    const QStringList result = BlankWrap::lines(text, width, measure);
    QCOMPARE(result.join(u'|'), lines);
    QCOMPARE(result.join(QString()), text);
}

void tst_InstructionsWindow::text()
{
    QString expected(18, u' ');
    for (const Piece &piece : Pieces)
        expected += QString::fromUtf16(piece.text) + QString(piece.blanksAfter, u' ');
    QCOMPARE(expected.size(), 384);
    QCOMPARE(InstructionText::text(), expected);
    QVERIFY(!InstructionText::text().contains(u'\n'));
}

void tst_InstructionsWindow::window()
{
    RecordedMessages messages;
    const auto main = Startup::run(m_dir.filePath(QStringLiteral("window.mdb")), PortTable({m_pty.devicePath()}));
    QVERIFY(main);
    InstructionsWindow *window = open(*main);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("操作说明"));
    QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->okButton()->text(), QStringLiteral("确定"));
    QVERIFY(window->okButton()->isDefault());
    const QLabel *label = window->findChild<QLabel *>(QStringLiteral("lblDescription"));
    QVERIFY(label);
    QCOMPARE(label->objectName(), QStringLiteral("lblDescription"));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QCOMPARE(label->font().family(), Fonts::kai());
    QCOMPARE(label->font().pointSizeF(), 15.75);
    QVERIFY(messages.isEmpty());
}

void tst_InstructionsWindow::shownWhole()
{
    RecordedMessages messages;
    const auto main = Startup::run(m_dir.filePath(QStringLiteral("whole.mdb")), PortTable({m_pty.devicePath()}));
    QVERIFY(main);
    InstructionsWindow *window = open(*main);
    QVERIFY(window);
    BlankWrapLabel *label = window->textLabel();

    // Plain text: rich text would fold the runs of blanks.
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->text(), InstructionText::text());

    // Every line fits the label and inside the window, above the button.
    QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
             qPrintable(QStringLiteral("%1 > %2").arg(label->heightForWidth(label->width())).arg(label->height())));
    QVERIFY(window->rect().contains(label->geometry()));
    QVERIFY(label->geometry().bottom() < window->okButton()->geometry().top());

    // No character is dropped or changed by the wrapping; each line but the last ends in blanks
    // or is full, and every piece after the first long one starts a line of its own, except
    // ".doc）。", which shares the line of the piece before it.
    const QStringList lines = label->lines();
    QCOMPARE(lines.join(QString()), InstructionText::text());
    QCOMPARE(label->heightForWidth(label->width()),
             qCeil(lines.size() * QFontMetricsF(label->font()).lineSpacing()) + label->contentsMargins().top()
                 + label->contentsMargins().bottom());
    QStringList lineStarts;
    for (const QString &line : lines)
        lineStarts << line.trimmed();
    for (size_t i = 2; i < std::size(Pieces); ++i) {
        const QString piece = QString::fromUtf16(Pieces[i].text);
        QCOMPARE(lineStarts.contains(piece), i != 8 && i != 7);
        QCOMPARE(std::count_if(lineStarts.cbegin(), lineStarts.cend(), [&](const QString &line) { return line.startsWith(piece); }),
                 i == 8 ? 0 : 1);
    }
    QVERIFY(lineStarts.contains(QString::fromUtf16(Pieces[7].text) + QStringLiteral("  ") + QString::fromUtf16(Pieces[8].text)));
    QVERIFY(messages.isEmpty());
}

void tst_InstructionsWindow::programGuide()
{
    RecordedMessages messages;
    const auto main = Startup::run(m_dir.filePath(QStringLiteral("guide.mdb")), PortTable({m_pty.devicePath()}));
    QVERIFY(main);
    InstructionsWindow *window = open(*main);
    QVERIFY(window);
    const QLabel *guide = window->findChild<QLabel *>(QStringLiteral("lblProgramGuide"));
    QVERIFY(guide);
    QCOMPARE(guide, window->guideLabel());
    QVERIFY(guide->isVisible());

    // After the instruction text, whole, above the button, inside the window.
    const QRect text = window->textLabel()->geometry();
    QVERIFY(guide->geometry().top() > text.bottom());
    QVERIFY(guide->geometry().bottom() < window->okButton()->geometry().top());
    QVERIFY(window->rect().contains(guide->geometry()));
    QVERIFY(window->rect().contains(window->okButton()->geometry()));
    QVERIFY(guide->heightForWidth(guide->width()) <= guide->height());

    const QString shown = guide->text();
    for (const char *topic : {"选择端口", "Ctrl+Z", "撤销", "导入", "导出", "离线编辑", "没有应答", "备份", "改动", "校验", "Ctrl+O",
                              "最近的文件", "打印", "导出 PDF"})
        QVERIFY2(shown.contains(QString::fromUtf8(topic)), topic);
    // The instruction text itself stays as it was.
    QCOMPARE(window->textLabel()->text(), InstructionText::text());
    QVERIFY(messages.isEmpty());
}

void tst_InstructionsWindow::closes_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("button") << 0;
}

void tst_InstructionsWindow::closes()
{
    QFETCH(int, key);
    RecordedMessages messages;
    const auto main = Startup::run(m_dir.filePath(QStringLiteral("closes.mdb")), PortTable({m_pty.devicePath()}));
    QVERIFY(main);
    QPointer<InstructionsWindow> window = open(*main);
    QVERIFY(window);
    if (key)
        QTest::keyClick(window, Qt::Key(key));
    else
        QTest::mouseClick(window->okButton(), Qt::LeftButton);
    QTRY_VERIFY(!window);
}

void tst_InstructionsWindow::oneInstance()
{
    RecordedMessages messages;
    const auto main = Startup::run(m_dir.filePath(QStringLiteral("one.mdb")), PortTable({m_pty.devicePath()}));
    QVERIFY(main);
    QPointer<InstructionsWindow> first = open(*main);
    QVERIFY(first);
    QCOMPARE(open(*main), first.data());
    QCOMPARE(main->findChildren<InstructionsWindow *>().size(), 1);
    first->close();
    QTRY_VERIFY(!first);
    QPointer<InstructionsWindow> second = open(*main);
    QVERIFY(second);
    main->close();
    QTRY_VERIFY(!second);
}

QTEST_MAIN(tst_InstructionsWindow)
#include "tst_instructionswindow.moc"
