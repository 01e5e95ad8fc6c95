#include "framemodel.h"
#include "windowonradio.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

class tst_ReadTransfer : public QObject
{
    Q_OBJECT

private slots:
    void fullRead_data();
    void fullRead();
    void failedRead_data();
    void failedRead();
    void garbageIsNotAChannel_data();
    void garbageIsNotAChannel();
    void endlessLineStaysSmall();
    void lateAnswer_data();
    void lateAnswer();
};

namespace {

struct Channel
{
    qint64 receive10Hz;
    qint64 transmit10Hz;
    bool shift;
};

/// Sixteen different channels for the radio: an empty one, a transmit-only one and both ends of
/// the range among them.
QList<Channel> radioChannels()
{
    QList<Channel> channels;
    for (int k = 1; k <= ChannelCount; ++k)
        channels << Channel{43'000'000 + 1'250LL * k, 14'500'000 + 2'500LL * k, k % 4 == 1};
    channels[3].receive10Hz = 13'000'000;
    channels[5] = Channel{0, 0, false};
    channels[11] = Channel{0, 50'000'000, false};
    return channels;
}

QStringList framesOf(const QList<Channel> &channels, int squelch)
{
    QStringList frames;
    for (int k = 1; k <= channels.size(); ++k) {
        const Channel &c = channels.at(k - 1);
        frames << FakeRadio::frame(k == 1 ? squelch : k - 1, c.shift, c.receive10Hz, c.transmit10Hz);
    }
    return frames;
}

QVariant mhz(qint64 tenHz)
{
    return QVariant(FrameModel::mhzText(tenHz));
}

enum class Fault { Silent, StopAfterSeven, NoiseInFrame, HangUp, WaitingCharacters, StrayC };

} // namespace

void tst_ReadTransfer::fullRead_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("clean line") << -1;
    QTest::newRow("characters waiting before the read command") << int(Fault::WaitingCharacters);
    QTest::newRow("stray C after the read command") << int(Fault::StrayC);
}

void tst_ReadTransfer::fullRead()
{
    QFETCH(int, fault);
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    const QList<Channel> channels = radioChannels();
    rig.radio.setFrames(framesOf(channels, 6));
    if (fault == int(Fault::StrayC))
        rig.radio.setStrayPrefix("C");
    const ChannelList before = rig.table().channels();
    rig.table().moveTo(7);

    struct AtEnd
    {
        QString status;
        QStringList enabled;
        bool controls = false;
        bool polling = false;
        bool progressShown = true;
        int row = -1;
    } atEnd;
    connect(rig.reader(), &ReadTransfer::finished, this, [&] {
        atEnd = {rig.window->statusText(), rig.enabledCommands(), rig.controlsEnabled(), rig.window->poll().isRunning(),
                 rig.progress()->isVisible(), rig.table().currentRow()};
    });
    QSignalSpy finished(rig.reader(), &ReadTransfer::finished);
    QSignalSpy progress(rig.reader(), &ReadTransfer::progress);

    rig.action("读信道")->trigger();
    QVERIFY(rig.window->readArmTimer().isActive());
    QCOMPARE(rig.enabledCommands(), QStringList());
    QVERIFY(!rig.controlsEnabled());
    if (fault == int(Fault::WaitingCharacters))
        rig.radio.inject("XC7");
    QTRY_VERIFY_WITH_TIMEOUT(!rig.window->readArmTimer().isActive(), 5000);
    QVERIFY(!rig.window->poll().isRunning());
    QVERIFY(rig.progress()->isVisible());

    QVERIFY(finished.wait(20000));
    QVERIFY2(rig.messages.isEmpty(), qPrintable(rig.messages.texts().join(u'\n')));
    QCOMPARE(progress.size(), ChannelCount);
    QCOMPARE(atEnd.status, QStringLiteral("读出信道数据完毕！"));
    QCOMPARE(atEnd.enabled, WindowOnRadio::allCommands());
    QVERIFY(atEnd.controls);
    QVERIFY(atEnd.polling);
    QVERIFY(!atEnd.progressShown);
    QCOMPARE(atEnd.row, 0);

    QCOMPARE(rig.window->squelchLevel(), QStringLiteral("6"));
    const ChannelList after = rig.table().channels();
    for (int k = 1; k <= ChannelCount; ++k) {
        const Channel &c = channels.at(k - 1);
        const ChannelRecord &got = after.at(k - 1);
        QCOMPARE(got.no, before.at(k - 1).no);
        QCOMPARE(got.rf, mhz(c.receive10Hz));
        QCOMPARE(got.tf, mhz(c.transmit10Hz));
        const QVariant flag = c.shift ? QVariant(QStringLiteral("on"))
                                      : c.receive10Hz ? QVariant(QStringLiteral("off")) : emptyText();
        QCOMPARE(got.bt, flag);
    }
    // Stored, not just shown: a fresh look at the database file sees the same.
    QVERIFY(!rig.table().hasPendingChanges());
    const auto reopened = ChannelTable::open(rig.table().path());
    QVERIFY2(reopened.table, qPrintable(reopened.error));
    QCOMPARE(reopened.table->channels(), after);
}

void tst_ReadTransfer::failedRead_data()
{
    QTest::addColumn<int>("fault");
    // The box says what happened; a port's own error text follows its name.
    QTest::addColumn<QString>("message");
    QTest::newRow("silent radio") << int(Fault::Silent) << "读数错误！！\n对讲机没有应答：请检查电缆和对讲机电源";
    QTest::newRow("radio stops after 7 frames") << int(Fault::StopAfterSeven) << "读数错误！！\n对讲机的应答在 7/16 个信道后中断";
    QTest::newRow("noise in frame 3") << int(Fault::NoiseInFrame) << "读数错误！！\n第 3 信道：应答中有不是数字的字符";
    QTest::newRow("noise in frame 16") << int(Fault::NoiseInFrame) + 100 << "读数错误！！\n第 16 信道：应答中有不是数字的字符";
    QTest::newRow("cable pulled after frame 4") << int(Fault::HangUp) << "读数错误！！\n串行端口 COM1 出错：";
}

void tst_ReadTransfer::failedRead()
{
    QFETCH(int, fault);
    QFETCH(QString, message);
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    rig.radio.setFrames(framesOf(radioChannels(), 6));
    switch (Fault(fault % 100)) {
    case Fault::Silent:
        rig.radio.setSilent(true);
        break;
    case Fault::StopAfterSeven:
        rig.radio.setStopAfterFrames(7);
        break;
    case Fault::NoiseInFrame:
        rig.radio.setNoiseInFrame(fault >= 100 ? 16 : 3);
        break;
    default:
        break;
    }
    if (Fault(fault) == Fault::HangUp) {
        connect(rig.reader(), &ReadTransfer::progress, this, [&](int frame) {
            if (frame == 4)
                rig.radio.hangUp();
        });
    }
    rig.window->setSquelchLevel(QStringLiteral("2"));
    const ChannelList before = rig.table().channels();
    rig.window->setStatusText(QStringLiteral("x"));

    // The silence is timed from the last character on the line, however late the program hears of it.
    QElapsedTimer sinceAnswer;
    qint64 silence = -1;
    connect(&rig.radio, &FakeRadio::answerSent, this, [&] { sinceAnswer.start(); });
    connect(rig.reader(), &ReadTransfer::failed, this, [&] { silence = sinceAnswer.isValid() ? sinceAnswer.elapsed() : -1; });

    QSignalSpy failed(rig.reader(), &ReadTransfer::failed);
    QSignalSpy finished(rig.reader(), &ReadTransfer::finished);
    rig.action("读信道")->trigger();
    QVERIFY(failed.wait(20000));
    QCOMPARE(finished.size(), 0);
    if (Fault(fault) == Fault::StopAfterSeven)
        QVERIFY2(silence >= ReadTransfer::SilenceLimitMs, qPrintable(QString::number(silence)));

    QCOMPARE(rig.messages.count(), 1);
    if (Fault(fault) == Fault::HangUp) {
        QVERIFY2(rig.messages.last().text.startsWith(message), qPrintable(rig.messages.last().text));
        QVERIFY(rig.messages.last().text.size() > message.size());
    } else {
        QCOMPARE(rig.messages.last().text, message);
    }
    QCOMPARE(rig.messages.last().title, QStringLiteral("错误警告 "));
    QCOMPARE(rig.messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(rig.table().channels(), before);
    QCOMPARE(rig.window->squelchLevel(), QStringLiteral("2"));
    // A pulled cable leaves the line saying so until the port is back.
    QCOMPARE(rig.window->statusText(), Fault(fault) == Fault::HangUp ? QStringLiteral("端口已断开...") : QString());
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    QVERIFY(rig.controlsEnabled());
    QVERIFY(rig.window->poll().isRunning());
    QVERIFY(!rig.progress()->isVisible());
    QVERIFY(!rig.reader()->isRunning());
}

void tst_ReadTransfer::garbageIsNotAChannel_data()
{
    QTest::addColumn<QByteArray>("stray");
    QTest::addColumn<int>("frameNumber");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QByteArray>("endless");
    QTest::addColumn<QString>("message");

    QTest::newRow("three stray digits shift every frame")
        << QByteArray("123") << 0 << QString() << QByteArray()
        << "读数错误！！\n第 1 信道：发射频率 550.20064 MHz 超出 130 到 500 MHz 的范围";
    QTest::newRow("flag 7") << QByteArray() << 5 << "04075062864000255114" << QByteArray()
                            << "读数错误！！\n第 5 信道：频差标志“7”不是 0 或 1";
    QTest::newRow("receive just below the range") << QByteArray() << 9 << FakeRadio::frame(8, false, 12'999'375, 14'500'000)
                                                  << QByteArray()
                                                  << "读数错误！！\n第 9 信道：接收频率 129.99375 MHz 超出 130 到 500 MHz 的范围";
    QTest::newRow("transmit just above the range") << QByteArray() << 16 << FakeRadio::frame(15, true, 0, 50'000'625)
                                                   << QByteArray()
                                                   << "读数错误！！\n第 16 信道：发射频率 500.00625 MHz 超出 130 到 500 MHz 的范围";
    QTest::newRow("address fields left unfilled are no fault, the range is")
        << QByteArray() << 2 << "99009999999999999999" << QByteArray()
        << "读数错误！！\n第 2 信道：接收频率 1021.39999 MHz 超出 130 到 500 MHz 的范围";
    QTest::newRow("digits without end") << QByteArray() << 0 << QString() << QByteArray("17")
                                        << "读数错误！！\n第 1 信道：频差标志“7”不是 0 或 1";
    QTest::newRow("only C without end") << QByteArray() << 0 << QString() << QByteArray("C")
                                        << "读数错误！！\n对讲机没有应答：请检查电缆和对讲机电源";
}

void tst_ReadTransfer::garbageIsNotAChannel()
{
    QFETCH(QByteArray, stray);
    QFETCH(int, frameNumber);
    QFETCH(QString, frame);
    QFETCH(QByteArray, endless);
    QFETCH(QString, message);

    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    QStringList frames = framesOf(radioChannels(), 6);
    if (frameNumber > 0)
        frames[frameNumber - 1] = frame;
    rig.radio.setFrames(frames);
    rig.radio.setStrayPrefix(stray);
    rig.radio.setEndlessAnswer(endless);
    rig.window->setSquelchLevel(QStringLiteral("2"));
    const ChannelList before = rig.table().channels();

    QSignalSpy failed(rig.reader(), &ReadTransfer::failed);
    rig.action("读信道")->trigger();
    QVERIFY(failed.wait(20000));
    QCOMPARE(rig.messages.count(), 1);
    QCOMPARE(rig.messages.last().text, message);
    QCOMPARE(rig.messages.last().title, QStringLiteral("错误警告 "));
    QCOMPARE(rig.table().channels(), before);
    QCOMPARE(rig.window->squelchLevel(), QStringLiteral("2"));
    const auto reopened = ChannelTable::open(rig.table().path());
    QVERIFY2(reopened.table, qPrintable(reopened.error));
    QCOMPARE(reopened.table->channels(), before);
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    QVERIFY(rig.window->poll().isRunning());

    if (!endless.isEmpty()) {
        // The line keeps pouring digits in; what the program holds of them stays small.
        const qint64 sentBefore = rig.radio.endlessSent();
        QTest::qWait(1500);
        QVERIFY(rig.radio.endlessSent() > sentBefore);
        QVERIFY2(rig.window->serialLink().waitingCount() <= 4096, qPrintable(QString::number(rig.window->serialLink().waitingCount())));
    }
}

void tst_ReadTransfer::endlessLineStaysSmall()
{
    // A radio that answers with digits without end while the window is idle: nobody reads them, and
    // the program keeps no more than a few KiB of them.
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    QTRY_COMPARE_WITH_TIMEOUT(rig.window->statusText(), QStringLiteral("对讲机就绪..."), 5000);
    rig.radio.setEndlessAnswer("17");
    rig.window->serialLink().send("5");
    QTRY_VERIFY_WITH_TIMEOUT(rig.radio.endlessSent() > 0, 5000);
    QTest::qWait(1500);
    QVERIFY2(rig.window->serialLink().waitingCount() <= 4096, qPrintable(QString::number(rig.window->serialLink().waitingCount())));

    // The next read starts clean and tells what it got.
    QSignalSpy failed(rig.reader(), &ReadTransfer::failed);
    rig.action("读信道")->trigger();
    QVERIFY(failed.wait(20000));
    QCOMPARE(rig.messages.last().text, QStringLiteral("读数错误！！\n第 1 信道：频差标志“7”不是 0 或 1"));
}

void tst_ReadTransfer::lateAnswer_data()
{
    QTest::addColumn<int>("delayMs"); // from the read command to the answer's first character
    QTest::addColumn<bool>("heard");
    QTest::newRow("answer after 1.95 s") << 1950 << true;
    QTest::newRow("answer after 2.2 s") << 2200 << false;
}

void tst_ReadTransfer::lateAnswer()
{
    // The port gathers input for 60 ms before it hands it on: an answer starting at 1.95 s was
    // handed on after the 2 s had run out and the radio called silent.
    QFETCH(int, delayMs);
    QFETCH(bool, heard);
    FakeRadio radio;
    QVERIFY(radio.isOpen());
    radio.setFrames(framesOf(radioChannels(), 6));
    radio.setAnswerDelayMs(delayMs);
    SerialLink link(PortTable({radio.devicePath()}));
    QVERIFY(link.open());
    QTimer arming;
    ReadTransfer read(link, arming, nullptr);
    QSignalSpy finished(&read, &ReadTransfer::finished);
    QSignalSpy failed(&read, &ReadTransfer::failed);
    read.start();
    QTRY_VERIFY_WITH_TIMEOUT(finished.size() + failed.size() == 1, 10000);
    if (heard) {
        QCOMPARE(failed.size(), 0);
        QCOMPARE(read.radioSet().squelch, 6);
    } else {
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first().first().toString(), QStringLiteral("读数错误！！\n对讲机没有应答：请检查电缆和对讲机电源"));
    }
}

QTEST_MAIN(tst_ReadTransfer)
#include "tst_readtransfer.moc"
