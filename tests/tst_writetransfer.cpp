#include "core/channels/textvalue.h"
#include "framemodel.h"
#include "windowonradio.h"

#include <QRegularExpression>

#include <QSignalSpy>
#include <QTest>

class tst_WriteTransfer : public QObject
{
    Q_OBJECT

private slots:
    void fullWrite();
    void refusesUnformableChannel_data();
    void refusesUnformableChannel();
    void portHungUpMidWrite();
};

namespace {

/// Sixteen different channels: every raster step, an empty one, a transmit-only one, both flags.
ChannelList sampleChannels()
{
    ChannelList channels;
    for (int k = 1; k <= ChannelCount; ++k) {
        ChannelRecord channel;
        channel.rf = TextValue::fiveDecimals(430.0 + 0.0125 * k);
        channel.tf = TextValue::fiveDecimals(145.0 + 0.025 * k);
        channel.bt = k % 3 == 0 ? QStringLiteral("on") : QStringLiteral("off");
        channels << channel;
    }
    channels[6] = ChannelRecord{QVariant(), emptyText(), emptyText(), emptyText()};
    channels[9] = ChannelRecord{QVariant(), emptyText(), QStringLiteral("146.52000"), emptyText()};
    return channels;
}

/// What the table sends: rf, tf and bt, in the form a read brings them back.
ChannelList asSent(const ChannelList &channels)
{
    ChannelList sent;
    for (const ChannelRecord &channel : channels) {
        ChannelRecord record{QVariant(), channel.rf, channel.tf, channel.bt};
        if (record.bt == QVariant(QStringLiteral("off")) && TextValue::numericValue(record.rf.toString()) == 0.0)
            record.bt = emptyText();
        sent << record;
    }
    return sent;
}

} // namespace

void tst_WriteTransfer::fullWrite()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    ChannelTable &table = rig.table();
    QVERIFY(table.storeChannels(sampleChannels()));
    table.moveFirst();
    table.setField(ChannelField::No, QStringLiteral("9")); // the write puts "1" back
    table.moveTo(5);
    rig.window->setSquelchLevel(QStringLiteral("7"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.window->statusText(), QStringLiteral("对讲机就绪..."), 5000);

    int ticks = 0;
    connect(&rig.window->writePacingTimer(), &QTimer::timeout, this, [&] { ++ticks; });
    struct AtEnd
    {
        QString status;
        QStringList enabled;
        bool controls = false;
        bool pacing = true;
        bool polling = false;
        bool progressShown = true;
        int row = -1;
        int step = -1;
    } atEnd;
    connect(rig.writer(), &WriteTransfer::finished, this, [&] {
        atEnd = {rig.window->statusText(), rig.enabledCommands(), rig.controlsEnabled(), rig.window->writePacingTimer().isActive(),
                 rig.window->poll().isRunning(), rig.progress()->isVisible(), table.currentRow(), rig.writer()->stepCounter()};
    });
    QSignalSpy finished(rig.writer(), &WriteTransfer::finished);
    QSignalSpy progress(rig.writer(), &WriteTransfer::progress);
    rig.radio.clearReceived();

    rig.action("写信道")->trigger();
    QCOMPARE(rig.window->statusText(), QStringLiteral("正在传送数据,,,,,,,"));
    QCOMPARE(rig.enabledCommands(), QStringList());
    QVERIFY(!rig.controlsEnabled());
    QVERIFY(rig.window->writePacingTimer().isActive());
    QVERIFY(!rig.window->poll().isRunning());
    QVERIFY(rig.progress()->isVisible());
    QCOMPARE(table.currentRow(), 0);
    QCOMPARE(table.field(ChannelField::No), QVariant(QStringLiteral("1")));

    QVERIFY(finished.wait(30000));
    QCOMPARE(ticks, 17);
    QCOMPARE(progress.size(), ChannelCount);
    QCOMPARE(progress.last().at(0).toInt(), ChannelCount);
    QCOMPARE(atEnd.status, QStringLiteral("数据传送完毕..."));
    QCOMPARE(atEnd.enabled, WindowOnRadio::allCommands());
    QVERIFY(atEnd.controls);
    QVERIFY(!atEnd.pacing);
    QVERIFY(atEnd.polling);
    QVERIFY(!atEnd.progressShown);
    QCOMPARE(atEnd.row, 0);
    QCOMPARE(atEnd.step, 0);
    QVERIFY(rig.messages.isEmpty());

    // The radio holds exactly the table and the squelch level.
    QTRY_COMPARE_WITH_TIMEOUT(rig.radio.writesStored(), 1, 5000);
    const QByteArray sent = rig.radio.received();
    QCOMPARE(sent.count('A'), 1);
    const QByteArray transfer = sent.mid(sent.indexOf('A'), 1 + 16 * 20);
    QVERIFY2(transfer.mid(1).count('C') == 0, transfer.constData());
    const QStringList frames = rig.radio.frames();
    QCOMPARE(rig.radio.squelch(), QStringLiteral("7"));
    ChannelList held;
    for (int k = 1; k <= ChannelCount; ++k) {
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9]{20}$")).match(frames.at(k - 1)).hasMatch(), qPrintable(frames.at(k - 1)));
        if (k > 1)
            QCOMPARE(frames.at(k - 1).left(2), QStringLiteral("%1").arg(k - 1, 2, 10, QLatin1Char('0')));
        held << FrameModel::recordOf(FrameModel::parse(frames.at(k - 1)));
    }
    QCOMPARE(held, asSent(table.channels()));
    QCOMPARE(held, asSent(sampleChannels()));
    // Independent of the program's encoder: channel 3 as the radio's own format has it.
    QCOMPARE(frames.at(2), FakeRadio::frame(2, true, 43003750, 14507500));
    QCOMPARE(table.channel(0).no.toString(), QStringLiteral("1"));
}

void tst_WriteTransfer::refusesUnformableChannel_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("squelch");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("squelch not a digit") << 0 << int(ChannelField::Rf) << "145.50000" << "a" << "静噪级别“a”";
    QTest::newRow("negative receive frequency") << 4 << int(ChannelField::Rf) << "-3" << "3" << "第 5 信道";
    QTest::newRow("transmit too high") << 15 << int(ChannelField::Tf) << "1000" << "3" << "第 16 信道";
    QTest::newRow("a word for a frequency") << 8 << int(ChannelField::Tf) << "abc" << "3" << "第 9 信道的发送频率“abc”";
}

void tst_WriteTransfer::refusesUnformableChannel()
{
    QFETCH(int, row);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, squelch);
    QFETCH(QString, mentions);

    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    rig.radio.setSilent(true);
    ChannelTable &table = rig.table();
    table.moveTo(row);
    QVERIFY(table.setField(field, value));
    table.moveTo(3);
    rig.window->setSquelchLevel(squelch);
    QVERIFY(rig.messages.isEmpty());
    const QString status = rig.window->statusText();
    QTest::qWait(150);
    rig.window->poll().stop();
    rig.radio.clearReceived();

    rig.action("写信道")->trigger();
    QCOMPARE(rig.messages.count(), 1);
    QVERIFY2(rig.messages.last().text.contains(mentions), qPrintable(rig.messages.last().text));
    QCOMPARE(rig.messages.last().icon, Messages::Icon::Warning);
    QVERIFY(!rig.writer()->isRunning());
    QVERIFY(!rig.window->writePacingTimer().isActive());
    QCOMPARE(rig.window->statusText(), status);
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    QCOMPARE(table.currentRow(), 3);
    QTest::qWait(700);
    QCOMPARE(rig.radio.received(), QByteArray());
}

void tst_WriteTransfer::portHungUpMidWrite()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    QVERIFY(rig.table().storeChannels(sampleChannels()));
    QSignalSpy failed(rig.writer(), &WriteTransfer::failed);
    connect(rig.writer(), &WriteTransfer::progress, this, [&](int frame) {
        if (frame == 3)
            rig.radio.hangUp();
    });

    rig.action("写信道")->trigger();
    QVERIFY(failed.wait(20000));
    QCOMPARE(rig.messages.count(), 1);
    QCOMPARE(rig.messages.last().icon, Messages::Icon::Warning);
    QVERIFY(!rig.writer()->isRunning());
    QVERIFY(!rig.window->writePacingTimer().isActive());
    QCOMPARE(rig.writer()->stepCounter(), qint16(0));
    QCOMPARE(rig.table().currentRow(), 0);
    QVERIFY(!rig.window->serialLink().isOpen());
    QCOMPARE(rig.window->statusText(), QStringLiteral("端口已断开..."));
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    QVERIFY(rig.controlsEnabled());
    QVERIFY(!rig.progress()->isVisible());
    QVERIFY(!rig.table().hasPendingChanges());

    // With the cable gone, the next write is refused instead of pretending to succeed.
    rig.action("写信道")->trigger();
    QCOMPARE(rig.messages.count(), 2);
    QVERIFY2(rig.messages.last().text.contains(QStringLiteral("串行端口")), qPrintable(rig.messages.last().text));
    QVERIFY(!rig.writer()->isRunning());
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
}

QTEST_MAIN(tst_WriteTransfer)
#include "tst_writetransfer.moc"
