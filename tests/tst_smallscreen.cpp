// The window on a netbook's 1024 x 600 screen (this test's offscreen screen): it fits, the grid
// scrolls to every channel, and the status line and the transfer result never cut a text silently.
#include "framemodel.h"
#include "window/ui/elidedlabel.h"
#include "windowonradio.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>

namespace {

/// Each row of `grid` lies wholly inside its viewport.
QList<int> rowsInView(const ChannelGrid &grid)
{
    QList<int> rows;
    for (int row = 0; row < grid.model()->rowCount(); ++row) {
        const int top = grid.rowViewportPosition(row);
        if (top >= 0 && top + grid.rowHeight(row) <= grid.viewport()->height())
            rows << row;
    }
    return rows;
}

/// Whole, or shortened with "…" and whole in the tooltip.
bool shownWholeOrInTooltip(const ElidedLabel &label, const QString &whole)
{
    if (label.text() != whole)
        return false;
    if (!label.isElided())
        return label.shownText() == whole && label.toolTip().isEmpty();
    return label.shownText().endsWith(QChar(0x2026)) && label.toolTip() == whole;
}

QStringList framesOf(int squelch, qint64 firstReceive10Hz)
{
    QStringList frames{FrameModel::frame({squelch, false, firstReceive10Hz, firstReceive10Hz})};
    for (int channel = 2; channel <= 16; ++channel) {
        const qint64 frequency = firstReceive10Hz + (channel - 1) * 2'500;
        frames << FrameModel::frame({channel - 1, false, frequency, frequency});
    }
    return frames;
}

} // namespace

class tst_SmallScreen : public QObject
{
    Q_OBJECT

private slots:
    void theScreenIsANetbook();
    void windowFitsAndEveryChannelIsReachable();
    void startSizeOnEachScreen_data();
    void startSizeOnEachScreen();
    void statusLineShowsWholeOrTooltip_data();
    void statusLineShowsWholeOrTooltip();
    void verifyFailureOfSixteenChannels();
};

void tst_SmallScreen::theScreenIsANetbook()
{
    // The cases below mean nothing on another screen: the test's environment names this one.
    QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1024, 600));
}

void tst_SmallScreen::windowFitsAndEveryChannelIsReachable()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    MainWindow &window = *rig.window;
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY2(window.frameGeometry().height() <= screen.height(), qPrintable(QStringLiteral("%1 high").arg(window.frameGeometry().height())));
    QVERIFY2(window.frameGeometry().width() <= screen.width(), qPrintable(QStringLiteral("%1 wide").arg(window.frameGeometry().width())));
    QVERIFY(window.minimumSizeHint().height() <= screen.height());

    ChannelGrid &grid = *window.channelGrid();
    QVERIFY(grid.geometry().bottom() < grid.parentWidget()->height());
    QVERIFY(rowsInView(grid).size() >= 4);
    QVERIFY(rowsInView(grid).size() < 16);
    QVERIFY(grid.verticalScrollBar()->maximum() > 0);
    QCOMPARE(grid.horizontalScrollBar()->maximum(), 0);

    // Down the grid with the keys, as a user would: channel 16 comes into view.
    grid.setFocus();
    rig.table().moveFirst();
    for (int row = 1; row < 16; ++row)
        QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.currentIndex().row(), 15);
    QVERIFY(rowsInView(grid).contains(15));

    // The least size keeps four channels in view.
    window.resize(1, 1);
    QCoreApplication::processEvents();
    QVERIFY(rowsInView(grid).size() >= 4);
    QVERIFY(window.height() <= screen.height());
}

void tst_SmallScreen::startSizeOnEachScreen_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<bool>("allRowsInView");
    QTest::newRow("netbook, panel at the bottom") << QRect(0, 0, 1024, 570) << false;
    QTest::newRow("1280 x 1024") << QRect(0, 0, 1280, 1024) << true;
    QTest::newRow("1920 x 1080, second screen") << QRect(1024, 0, 1920, 1080) << true;
}

void tst_SmallScreen::startSizeOnEachScreen()
{
    QFETCH(QRect, available);
    QFETCH(bool, allRowsInView);
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    MainWindow &window = *rig.window;
    const QSize start = window.startSize(available);
    // Room is left for the title bar and the borders the window manager adds.
    QVERIFY(start.height() + 40 <= available.height());
    QVERIFY(start.width() + 8 <= available.width());
    window.resize(start);
    QCoreApplication::processEvents();
    ChannelGrid &grid = *window.channelGrid();
    QCOMPARE(rowsInView(grid).size() == 16, allRowsInView);
    if (allRowsInView)
        QCOMPARE(grid.verticalScrollBar()->maximum(), 0);
}

void tst_SmallScreen::statusLineShowsWholeOrTooltip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fitsAtStart");
    QTest::newRow("ready") << QStringLiteral("对讲机就绪...") << true;
    QTest::newRow("reading before a write") << QStringLiteral("正在读出对讲机中原有的信道,,,,,,,") << false;
    QTest::newRow("offline, English") << QStringLiteral("Edit offline: no serial port open") << false;
}

void tst_SmallScreen::statusLineShowsWholeOrTooltip()
{
    QFETCH(QString, text);
    QFETCH(bool, fitsAtStart);
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    MainWindow &window = *rig.window;
    auto *status = qobject_cast<ElidedLabel *>(window.statusLabel());
    QVERIFY(status);
    window.setStatusText(text);
    QCOMPARE(window.statusText(), text);
    QVERIFY(shownWholeOrInTooltip(*status, text));
    QCOMPARE(status->isElided(), !fitsAtStart);

    // The line takes the width the window has: wider, the whole text shows.
    const int startWidth = status->width();
    window.resize(window.screen()->availableGeometry().width() - 8, window.height());
    QCoreApplication::processEvents();
    QVERIFY(status->width() > startWidth);
    QVERIFY(status->geometry().right() < status->parentWidget()->width());
    QVERIFY(!status->isElided());
    QVERIFY(shownWholeOrInTooltip(*status, text));

    // The transfer's line under it follows.
    const QWidget *result = window.findChild<QWidget *>(QStringLiteral("transferResult"));
    QCOMPARE(result->width(), status->width());
    QCOMPARE(result->x(), status->x());
}

void tst_SmallScreen::verifyFailureOfSixteenChannels()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    WindowOnRadio::setWriteOptions(false, false, true);
    QList<ChannelRecord> table;
    for (int channel = 1; channel <= 16; ++channel) {
        ChannelRecord record;
        record.rf = record.tf = QStringLiteral("%1.02500").arg(430 + channel);
        record.bt = QStringLiteral("off");
        table << record;
    }
    QCOMPARE(rig.window->replaceChannelSet(QStringLiteral("test"), table, QStringLiteral("3")), QString());
    QTRY_VERIFY_WITH_TIMEOUT(rig.window->statusText() == QStringLiteral("对讲机就绪..."), 5000);
    // The radio keeps something else than it was sent: every channel and the level differ.
    connect(&rig.radio, &FakeRadio::framesStored, &rig.radio, [&rig] { rig.radio.setFrames(framesOf(7, 14'550'000)); });
    rig.action("写信道")->trigger();
    auto *result = rig.window->findChild<ElidedLabel *>(QStringLiteral("transferResult"));
    QVERIFY(result);
    QTRY_VERIFY_WITH_TIMEOUT(result->isVisible() && rig.window->activity() == CommandHost::Activity::Idle, 20000);

    const QString whole = result->text();
    const QRegularExpression expected(QStringLiteral("^校验失败 静噪级别，第 1、2、3、4、5、6、7、8、9、10、11、12、13、14、15、16 信道  \\d\\d:\\d\\d:\\d\\d$"));
    QVERIFY2(expected.match(whole).hasMatch(), qPrintable(whole));
    QVERIFY2(shownWholeOrInTooltip(*result, whole), qPrintable(result->shownText()));
    // The box that reported it names every channel.
    const QString box = rig.messages.all().value(0).text;
    QVERIFY2(box.contains(QStringLiteral("第 16 信道：写入 446.02500")), qPrintable(box));
    QVERIFY2(box.contains(QStringLiteral("静噪级别：写入 3，读回 7")), qPrintable(box));
}

QTEST_MAIN(tst_SmallScreen)
#include "tst_smallscreen.moc"
