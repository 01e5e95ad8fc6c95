// One write, two programs: the window and qz300-cli send the same frame for the same stored text
// and call it verified only when the radio holds what was sent; and a write ends in exactly one log
// line whatever ends it (closing the window, SIGTERM to the command line), matching what the radio
// received.
#include "clirun.h"
#include "core/files/writelog.h"
#include "core/radio/writesession.h"
#include "fakeradio.h"
#include "jsonlines.h"
#include "window/radio/radiolinkcontroller.h"
#include "windowonradio.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <csignal>

class tst_WriteSession : public QObject
{
    Q_OBJECT

private slots:
    void bothProgramsAgree_data();
    void bothProgramsAgree();
    void closingTheWindowLogsOneLine_data();
    void closingTheWindowLogsOneLine();
    void stoppingTheCommandLineLogsOneLine_data();
    void stoppingTheCommandLineLogsOneLine();
};

namespace {

QList<QJsonObject> logLines()
{
    return jsonLines(WriteLog::path());
}

/// Channel 1 with the given texts, the rest empty, as a channel file's 49 items.
QByteArray channelFileWith(const QByteArray &receive, const QByteArray &transmit)
{
    QByteArray bytes = "5," + receive + ',' + transmit + ",off,";
    for (int k = 2; k <= ChannelCount; ++k)
        bytes += ",,Null,";
    return bytes;
}

QString frameCount(const QByteArray &received)
{
    const qsizetype write = received.indexOf('A');
    return write < 0 ? QStringLiteral("none") : QString::number((received.size() - write - 1) / FakeRadio::FrameLength);
}

} // namespace

void tst_WriteSession::bothProgramsAgree_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("inChannelFile"); ///< a channel file can carry the text (no comma in it)
    QTest::addColumn<QString>("frame");      ///< frame 1 as the radio must receive it; empty: nothing sent
    QTest::addColumn<QString>("outcome");

    // Receive and transmit both hold the text; the squelch level is 5, the shift off.
    QTest::newRow("decimal comma") << "145,5" << false << "05000000411200005514" << "verified";
    QTest::newRow("six decimals") << "145.123456" << false << "05004523371245235114" << "verified";
    QTest::newRow("blanks around") << " 145.5 " << true << "05000000411200005514" << "verified";
    QTest::newRow("a word") << "abc" << true << "" << "";
    QTest::newRow("out of range") << "600.5" << true << "" << "";
}

void tst_WriteSession::bothProgramsAgree()
{
    QFETCH(QString, stored);
    QFETCH(bool, inChannelFile);
    QFETCH(QString, frame);
    QFETCH(QString, outcome);
    QFile::remove(WriteLog::path());

    // The window, with the text stored in its table as another program would have left it.
    {
        WindowOnRadio rig;
        QVERIFY(rig.isUp());
        WindowOnRadio::setWriteOptions(false, false, true);
        ChannelTable &table = rig.table();
        ChannelList channels;
        for (int k = 0; k < ChannelCount; ++k)
            channels << ChannelRecord{QString::number(k + 1), QStringLiteral(""), QStringLiteral(""), QStringLiteral("")};
        channels[0] = ChannelRecord{QStringLiteral("1"), stored, stored, QStringLiteral("off")};
        QVERIFY(table.storeChannels(channels));
        rig.window->setSquelchLevel(QStringLiteral("5"));
        rig.radio.clearReceived();
        const qsizetype linesBefore = logLines().size();

        rig.action("写信道")->trigger();
        WriteSession *session = rig.window->findChild<WriteSession *>();
        QVERIFY(session);
        if (frame.isEmpty()) {
            // Refused before the radio is asked anything: one box naming channel 1, nothing logged.
            QCOMPARE(rig.messages.count(), 1);
            QVERIFY2(rig.messages.last().text.contains(QStringLiteral("第 1 信道")), qPrintable(rig.messages.last().text));
            QVERIFY(!session->isRunning());
            QTest::qWait(400);
            QVERIFY(!rig.radio.received().contains('A'));
            QCOMPARE(logLines().size(), linesBefore);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(session->step() == WriteSession::Step::Done, 30000);
            QCOMPARE(rig.radio.frames().value(0), frame);
            QVERIFY2(rig.messages.isEmpty(), qPrintable(rig.messages.texts().join(u'\n')));
            QCOMPARE(logLines().size(), linesBefore + 1);
            QCOMPARE(logLines().last().value("outcome").toString(), outcome);
        }
    }

    // The command line, with the same text in a channel file where the format can carry it.
    if (!inChannelFile)
        return;
    QTemporaryDir dir;
    const QString plan = dir.filePath(QStringLiteral("plan.doc"));
    QFile file(plan);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(channelFileWith(stored.toUtf8(), stored.toUtf8()));
    file.close();
    FakeRadio radio;
    const qsizetype linesBefore = logLines().size();
    const CliRun run = CliRun::run({"write", "--port", "COM1", plan, "--verify"}, {radio.devicePath()});
    QVERIFY(run.finished);
    if (frame.isEmpty()) {
        QCOMPARE(run.exitCode, 3);
        QVERIFY(!radio.received().contains('A'));
        QCOMPARE(logLines().size(), linesBefore);
        return;
    }
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(radio.frames().value(0), frame);
    QCOMPARE(logLines().size(), linesBefore + 1);
    QCOMPARE(logLines().last().value("outcome").toString(), outcome);
}

void tst_WriteSession::closingTheWindowLogsOneLine_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("framesReceived"); ///< whole frames after the write command
    QTest::newRow("reading the radio first") << int(WriteSession::Step::ReadingBefore) << "cancelled" << "none";
    QTest::newRow("sending the frames") << int(WriteSession::Step::Sending) << "interrupted" << "partial";
    QTest::newRow("reading back") << int(WriteSession::Step::ReadingBack) << "written" << "16";
}

void tst_WriteSession::closingTheWindowLogsOneLine()
{
    QFETCH(int, step);
    QFETCH(QString, outcome);
    QFETCH(QString, framesReceived);
    QFile::remove(WriteLog::path());
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    WindowOnRadio::setWriteOptions(true, false, true);
    WriteSession *session = rig.window->findChild<WriteSession *>();
    QVERIFY(session);
    rig.messages.answerNext(1); // 放弃并退出, when asked while the frames go out
    rig.radio.clearReceived();

    rig.action("写信道")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(int(session->step()) == step, 20000);
    if (step == int(WriteSession::Step::Sending))
        QTRY_VERIFY_WITH_TIMEOUT(session->framesSent() >= 3, 5000);
    QVERIFY(rig.window->close());
    QCOMPARE(session->step(), WriteSession::Step::Done);
    const QList<QJsonObject> lines = logLines();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().value("outcome").toString(), outcome);

    QTest::qWait(800); // whatever was still on its way has arrived
    const QString frames = frameCount(rig.radio.received());
    if (framesReceived == u"partial")
        QVERIFY2(frames != u"none" && frames.toInt() < ChannelCount, qPrintable(frames));
    else
        QCOMPARE(frames, framesReceived);
}

void tst_WriteSession::stoppingTheCommandLineLogsOneLine_data()
{
    QTest::addColumn<QByteArray>("stopWhen"); ///< what the radio has received when SIGTERM goes
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("framesReceived");
    QTest::newRow("reading the radio first") << QByteArray("5") << "cancelled" << "none";
    QTest::newRow("sending the frames") << QByteArray("A") << "interrupted" << "partial";
    QTest::newRow("reading back") << QByteArray("A5") << "written" << "16";
}

void tst_WriteSession::stoppingTheCommandLineLogsOneLine()
{
    QFETCH(QByteArray, stopWhen);
    QFETCH(QString, outcome);
    QFETCH(QString, framesReceived);
    QFile::remove(WriteLog::path());
    QTemporaryDir dir;
    FakeRadio radio;
    const QString plan = CliSample::saveSample(dir);
    QVERIFY(!plan.isEmpty());

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QZ300_PORTS"), radio.devicePath());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QZ300_CLI),
                  {"write", "--port", "COM1", plan, "--backup", dir.filePath(QStringLiteral("old.doc")), "--verify"});
    QVERIFY(process.waitForStarted(10000));
    // The read command, the write command (and a few frames), or the read command after all 16.
    const auto reached = [&] {
        const QByteArray got = radio.received();
        const qsizetype write = got.indexOf('A');
        if (stopWhen == "5")
            return got.contains('5') && write < 0;
        if (stopWhen == "A")
            return write >= 0 && got.size() - write > 3 * FakeRadio::FrameLength;
        return write >= 0 && got.indexOf('5', write + 1 + ChannelCount * FakeRadio::FrameLength) > 0;
    };
    QVERIFY(QTest::qWaitFor(reached, 20000));
    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + SIGTERM);
    const QList<QJsonObject> lines = logLines();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().value("outcome").toString(), outcome);

    QTest::qWait(800);
    const QString frames = frameCount(radio.received());
    if (framesReceived == u"partial")
        QVERIFY2(frames != u"none" && frames.toInt() < ChannelCount, qPrintable(frames));
    else
        QCOMPARE(frames, framesReceived);
}

QTEST_MAIN(tst_WriteSession)
#include "tst_writesession.moc"
