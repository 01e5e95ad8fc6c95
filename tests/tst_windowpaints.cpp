// What the window paints and lays out while a transfer runs: each step of the bar once, when the
// event loop is free, and the menu bar once for all the actions a transfer greys.
#include "windowonradio.h"

#include "window/radio/transferprogressbar.h"
#include "window/ui/menubarchanges.h"

#include <QActionEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

class tst_WindowPaints : public QObject
{
    Q_OBJECT

private slots:
    void barLooksAsQtDrawsIt_data();
    void barLooksAsQtDrawsIt();
    void barPaintsWhenLoopIsFree();
    void menuBarLaidOutOnce_data();
    void menuBarLaidOutOnce();
    void readLaysOutMenuBarTwice();
};

namespace {

/// Counts the events of one type a widget gets.
class EventCounter : public QObject
{
public:
    EventCounter(QObject *watched, QEvent::Type type)
        : m_type(type)
    {
        watched->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            ++count;
        return false;
    }

private:
    QEvent::Type m_type;
};

void setUpLikeTheTransferBar(QProgressBar &bar)
{
    bar.setRange(0, 16);
    bar.setFormat(QStringLiteral("%v/%m"));
    bar.setTextVisible(true);
    bar.setAutoFillBackground(true);
    bar.resize(300, 18);
}

enum class Change { None, Palette, Size, Disabled, Font };

} // namespace

void tst_WindowPaints::barLooksAsQtDrawsIt_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("change");
    QTest::newRow("empty") << 0 << int(Change::None);
    QTest::newRow("one step") << 1 << int(Change::None);
    QTest::newRow("half") << 8 << int(Change::None);
    QTest::newRow("full") << 16 << int(Change::None);
    QTest::newRow("new colours") << 5 << int(Change::Palette);
    QTest::newRow("new width") << 5 << int(Change::Size);
    QTest::newRow("greyed") << 5 << int(Change::Disabled);
    QTest::newRow("new font") << 5 << int(Change::Font);
}

void tst_WindowPaints::barLooksAsQtDrawsIt()
{
    QFETCH(int, value);
    QFETCH(int, change);
    QProgressBar plain;
    TransferProgressBar bar;
    setUpLikeTheTransferBar(plain);
    setUpLikeTheTransferBar(bar);
    plain.setValue(value);
    bar.showStep(value, 16);
    // Shown, as on the window: a hidden widget gets its size anew at each grab.
    plain.show();
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    // Drawn once before the change: a step drawn for the old look must not come back.
    QCOMPARE(bar.grab().toImage(), plain.grab().toImage());
    for (QProgressBar *each : {static_cast<QProgressBar *>(&plain), static_cast<QProgressBar *>(&bar)}) {
        switch (Change(change)) {
        case Change::None:
            break;
        case Change::Palette: {
            QPalette palette = each->palette();
            palette.setColor(QPalette::Highlight, Qt::darkGreen);
            palette.setColor(QPalette::Window, Qt::yellow);
            each->setPalette(palette);
            break;
        }
        case Change::Size:
            each->resize(180, 24);
            break;
        case Change::Disabled:
            each->setEnabled(false);
            break;
        case Change::Font: {
            QFont font = each->font();
            font.setPointSize(font.pointSize() + 4);
            each->setFont(font);
            break;
        }
        }
    }
    const QImage expected = plain.grab().toImage();
    QCOMPARE(bar.grab().toImage(), expected);
    QCOMPARE(bar.grab().toImage(), expected); // from the drawn step
}

void tst_WindowPaints::barPaintsWhenLoopIsFree()
{
    QWidget window;
    window.resize(320, 40);
    auto *bar = new TransferProgressBar(&window);
    setUpLikeTheTransferBar(*bar);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    EventCounter paints(bar, QEvent::Paint);

    bar->showStep(1, 16);
    QCOMPARE(bar->value(), 1);
    QCOMPARE(bar->text(), QStringLiteral("1/16"));
    QCOMPARE(paints.count, 0); // not at once, as QProgressBar::setValue() paints
    QTRY_COMPARE(paints.count, 1);

    // Two steps before the loop is free: one paint, of the last.
    bar->showStep(2, 16);
    bar->showStep(3, 16);
    QTRY_COMPARE(paints.count, 2);
    // The same step again paints nothing.
    bar->showStep(3, 16);
    QTest::qWait(50);
    QCOMPARE(paints.count, 2);
    QCOMPARE(bar->text(), QStringLiteral("3/16"));

    // The last step comes before work that holds the loop: it is on the screen before that.
    bar->showStep(16, 16);
    QCOMPARE(paints.count, 3);
    QCOMPARE(bar->text(), QStringLiteral("16/16"));
}

void tst_WindowPaints::menuBarLaidOutOnce_data()
{
    QTest::addColumn<bool>("together");
    QTest::newRow("one by one") << false;
    QTest::newRow("together") << true;
}

void tst_WindowPaints::menuBarLaidOutOnce()
{
    QFETCH(bool, together);
    // Two windows with the same menu bar: one greyed action by action, one through MenuBarChanges.
    auto build = [](QMainWindow &window) {
        QList<QAction *> actions;
        window.menuBar()->addMenu(QStringLiteral("文件(&F)"));
        for (const QString &caption : {QStringLiteral("读信道数据(&R)"), QStringLiteral("写信道数据(&W)"), QStringLiteral("退出系统(&E)")})
            actions << window.menuBar()->addAction(caption);
        actions << window.menuBar()->actions().first();
        window.resize(500, 200);
        window.show();
        return actions;
    };
    QMainWindow byOne;
    QMainWindow batched;
    const QList<QAction *> oneByOne = build(byOne);
    const QList<QAction *> asOne = build(batched);
    QVERIFY(QTest::qWaitForWindowExposed(&byOne));
    QVERIFY(QTest::qWaitForWindowExposed(&batched));

    EventCounter layouts(batched.menuBar(), QEvent::ActionChanged);
    for (QAction *action : oneByOne)
        action->setEnabled(false);
    if (together) {
        const MenuBarChanges changes(batched.menuBar());
        for (QAction *action : asOne)
            action->setEnabled(false);
        QCOMPARE(layouts.count, 0);
    } else {
        for (QAction *action : asOne)
            action->setEnabled(false);
    }
    QCOMPARE(layouts.count, together ? 1 : int(asOne.size()));
    QCoreApplication::processEvents();
    QCOMPARE(batched.menuBar()->grab().toImage(), byOne.menuBar()->grab().toImage());

    // Back on: the bar shows them enabled again.
    {
        const MenuBarChanges changes(batched.menuBar());
        for (QAction *action : asOne)
            action->setEnabled(true);
    }
    for (QAction *action : oneByOne)
        action->setEnabled(true);
    QCoreApplication::processEvents();
    QCOMPARE(batched.menuBar()->grab().toImage(), byOne.menuBar()->grab().toImage());
}

void tst_WindowPaints::readLaysOutMenuBarTwice()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    QSignalSpy finished(rig.reader(), &ReadTransfer::finished);
    EventCounter menuBarLayouts(rig.window->menuBar(), QEvent::ActionChanged);
    EventCounter barPaints(rig.progress(), QEvent::Paint);

    rig.action("读信道")->trigger();
    QCOMPARE(rig.enabledCommands(), QStringList());
    QCOMPARE(menuBarLayouts.count, 1);
    QVERIFY(finished.wait(20000));
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    QCOMPARE(menuBarLayouts.count, 2);
    // One paint a step at most (0/16 to 16/16), and the last one among them.
    QVERIFY2(barPaints.count >= 2 && barPaints.count <= 17, qPrintable(QString::number(barPaints.count)));
}

QTEST_MAIN(tst_WindowPaints)
#include "tst_windowpaints.moc"
