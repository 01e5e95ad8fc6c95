#include "core/radio/readanswer.h"
#include "core/serial/devicefacts.h"
#include "core/serial/linetrace.h"
#include "core/serial/portholders.h"
#include "core/serial/seriallink.h"
#include "fakeradio.h"
#include "pseudoterminal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The parts of the connection check below the command line and the window: what a read answer
// tells, lock files in both forms, and the serial link's record of the line.
class tst_ConnectionCheck : public QObject
{
    Q_OBJECT

private slots:
    void readAnswer_data();
    void readAnswer();
    void answerTiming();
    void deviceFacts();
    void lockFiles_data();
    void lockFiles();
    void linkRecordsTheLine();
    void traceKeepsALimit();
};

namespace {

using Burst = LineTrace::Burst;

/// Twenty digits per frame, sixteen frames.
QByteArray wholeAnswer()
{
    QByteArray answer;
    for (const QString &frame : FakeRadio::defaultFrames())
        answer += frame.toLatin1();
    return answer;
}

Burst received(double ms, const QByteArray &bytes)
{
    return Burst{ms, QStringLiteral("/dev/ttyQZ"), LineTrace::Direction::Received, bytes};
}

} // namespace

void tst_ConnectionCheck::readAnswer_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("finding");
    QTest::addColumn<int>("characters");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("frame");
    const QByteArray whole = wholeAnswer();
    using F = ReadAnswer::Finding;
    QTest::newRow("complete") << whole << int(F::Complete) << 320 << 16 << 0;
    QTest::newRow("a late C before it") << "C" + whole << int(F::Complete) << 320 << 16 << 0;
    QTest::newRow("nothing") << QByteArray() << int(F::Silent) << 0 << 0 << 0;
    QTest::newRow("only C") << QByteArray("C") << int(F::Silent) << 0 << 0 << 0;
    QTest::newRow("the echo alone") << QByteArray("5") << int(F::EchoOnly) << 0 << 0 << 0;
    QTest::newRow("the echo, then the answer") << "5" + whole << int(F::EchoThenAnswer) << 320 << 16 << 0;
    QTest::newRow("stopped after 7") << whole.left(140) << int(F::Stopped) << 140 << 7 << 0;
    QTest::newRow("stopped inside frame 3") << whole.left(55) << int(F::Stopped) << 55 << 2 << 0;
    QByteArray noisy = whole;
    noisy[2 * 20 + 9] = '#';
    QTest::newRow("noise in frame 3") << noisy << int(F::Noise) << 320 << 2 << 3;
    QTest::newRow("more than 16 frames") << whole + "00" << int(F::Noise) << 322 << 16 << 17;
    QByteArray notAChannel = whole;
    notAChannel[5 * 20 + 3] = '7'; // the flag of frame 6: only 0 or 1
    QTest::newRow("frame 6 no channel") << notAChannel << int(F::NotAChannel) << 320 << 16 << 6;
}

void tst_ConnectionCheck::readAnswer()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, finding);
    QFETCH(int, characters);
    QFETCH(int, frames);
    QFETCH(int, frame);
    // A sent burst and one received before the command are not part of the answer.
    QList<Burst> bursts{received(5, "C"), Burst{10, QStringLiteral("/dev/ttyQZ"), LineTrace::Direction::Sent, "5"}};
    for (qsizetype k = 0; k < answer.size(); k += 7)
        bursts << received(20 + double(k), answer.mid(k, 7));
    const ReadAnswer::Analysis analysis = ReadAnswer::analyse(10, bursts);
    QCOMPARE(int(analysis.finding), finding);
    QCOMPARE(analysis.characters, characters);
    QCOMPARE(analysis.completeFrames, frames);
    QCOMPARE(analysis.frame, frame);
}

void tst_ConnectionCheck::answerTiming()
{
    // First character 25 ms after the command; then 319 characters in 2658 ms: 8.33 ms each.
    QList<Burst> bursts{received(125, wholeAnswer().left(1))};
    bursts << received(1000, wholeAnswer().mid(1, 100)) << received(2783, wholeAnswer().mid(101));
    const ReadAnswer::Analysis analysis = ReadAnswer::analyse(100, bursts);
    QCOMPARE(analysis.finding, ReadAnswer::Finding::Complete);
    QCOMPARE(analysis.answerDelayMs, 25.0);
    QVERIFY(qAbs(analysis.msPerCharacter - 2658.0 / 319) < 1e-9);
    QCOMPARE(analysis.longestGapMs, 1783.0);
}

void tst_ConnectionCheck::deviceFacts()
{
    PseudoTerminal pty;
    QVERIFY(pty.isOpen());
    const QString node = pty.devicePath();
    // A /dev/serial/by-id and a /sys/class/tty as the system has them for an FTDI adapter.
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("by-id")));
    const QString byId = root.filePath(QStringLiteral("by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
    QVERIFY(QFile::link(node, byId));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("by-id/gone")), root.filePath(QStringLiteral("by-id/usb-Prolific-port0"))));
    const QString device = QStringLiteral("sys/%1/device").arg(QFileInfo(node).fileName());
    QVERIFY(dir.mkpath(device));
    QVERIFY(dir.mkpath(QStringLiteral("bus/usb-serial/drivers/ftdi_sio")));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("bus/usb-serial/drivers/ftdi_sio")), root.filePath(device + QStringLiteral("/driver"))));
    const QString sys = root.filePath(QStringLiteral("sys"));

    // Named by its node: the by-id name that leads to it is found.
    DeviceFacts facts = DeviceFacts::of(node, root.filePath(QStringLiteral("by-id")), sys);
    QCOMPARE(facts.presence, DeviceFacts::Presence::Present);
    QCOMPARE(facts.node, node);
    QCOMPARE(facts.kind, DeviceFacts::Kind::PseudoTerminal);
    QCOMPARE(facts.driver, QStringLiteral("ftdi_sio"));
    QCOMPARE(facts.byIdName, byId);
    QVERIFY(facts.mayOpen);

    // Named by the by-id link: it leads to the node.
    facts = DeviceFacts::of(byId, root.filePath(QStringLiteral("by-id")), sys);
    QCOMPARE(facts.node, node);
    QCOMPARE(facts.byIdName, byId);

    // An unplugged adapter leaves its by-id name leading nowhere; a plain file is no device.
    facts = DeviceFacts::of(root.filePath(QStringLiteral("by-id/usb-Prolific-port0")), root.filePath(QStringLiteral("by-id")), sys);
    QCOMPARE(facts.presence, DeviceFacts::Presence::LinkToNowhere);
    QCOMPARE(facts.node, root.filePath(QStringLiteral("by-id/gone")));
    QCOMPARE(DeviceFacts::of(QStringLiteral("/nonexistent/ttyQZ1")).presence, DeviceFacts::Presence::Missing);
    QCOMPARE(DeviceFacts::of(root.filePath(QStringLiteral("by-id")) + QStringLiteral("/../sys/") + QFileInfo(node).fileName() + QStringLiteral("/device")).presence,
             DeviceFacts::Presence::NotADevice);
    QCOMPARE(DeviceFacts::of(QString()).presence, DeviceFacts::Presence::NoDevice);
}

void tst_ConnectionCheck::lockFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // %1: the pid
    QTest::addColumn<bool>("live");          // the pid is this test's parent, alive; else one that is gone
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("form");
    const int qt = int(PortHolders::Lock::Form::Qt);
    const int uucp = int(PortHolders::Lock::Form::Uucp);
    QTest::newRow("Qt's form, Qt's name") << "LCK..pts_7" << QByteArray("%1\nminicom\nhost\n") << true << true << qt;
    QTest::newRow("UUCP text, Qt's name") << "LCK..pts_7" << QByteArray("%1\n") << true << true << uucp;
    QTest::newRow("UUCP text, the node's name") << "LCK..7" << QByteArray("%1\n") << true << true << uucp;
    QTest::newRow("UUCP binary") << "LCK..pts_7" << QByteArray("binary") << true << true << uucp;
    QTest::newRow("a process that has ended") << "LCK..pts_7" << QByteArray("%1\n") << false << true << uucp;
    QTest::newRow("no pid") << "LCK..pts_7" << QByteArray("minicom\n") << true << false << uucp;
    QTest::newRow("another device") << "LCK..ttyUSB0" << QByteArray("%1\n") << true << false << uucp;
}

void tst_ConnectionCheck::lockFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, live);
    QFETCH(bool, found);
    QFETCH(int, form);
    QTemporaryDir lockDir;
    QTemporaryDir procDir;
    QVERIFY(lockDir.isValid() && procDir.isValid());
    // A /proc of one live process, pid 4321, named minicom.
    const qint64 pid = live ? 4321 : 4322;
    QVERIFY(QDir(procDir.path()).mkpath(QStringLiteral("4321")));
    QFile comm(procDir.filePath(QStringLiteral("4321/comm")));
    QVERIFY(comm.open(QIODevice::WriteOnly));
    comm.write("minicom\n");
    comm.close();

    QFile lock(lockDir.filePath(name));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    if (content == "binary") {
        const qint32 binary = qint32(pid);
        lock.write(reinterpret_cast<const char *>(&binary), sizeof binary);
    } else if (content.contains("%1")) {
        lock.write(QString::fromLatin1(content).arg(pid, 10).toLatin1());
    } else {
        lock.write(content);
    }
    lock.close();

    const std::optional<PortHolders::Lock> result = PortHolders::lockOf(QStringLiteral("/dev/pts/7"), {lockDir.path()}, procDir.path());
    QCOMPARE(result.has_value(), found);
    if (!found)
        return;
    QCOMPARE(result->pid, pid);
    QCOMPARE(result->alive, live);
    QCOMPARE(result->program, live ? QStringLiteral("minicom") : QString());
    QCOMPARE(int(result->form), form);
    QCOMPARE(result->path, lockDir.filePath(name));
}

void tst_ConnectionCheck::linkRecordsTheLine()
{
    FakeRadio radio;
    SerialLink link(PortTable({radio.devicePath()}));
    auto trace = std::make_shared<LineTrace>();
    link.setTrace(trace);
    QVERIFY(link.open());
    link.send("C");
    QTRY_COMPARE_WITH_TIMEOUT(link.waitingCount(), 1, 3000);
    // Taking the character does not record it again, and what arrives later is recorded once.
    QCOMPARE(link.takeChar(), QStringLiteral("C"));
    link.send("5");
    QTRY_VERIFY_WITH_TIMEOUT(link.waitingCount() >= 320, 10000);
    QCOMPARE(link.takeInput().size(), 320);

    QByteArray sent;
    QByteArray received;
    double last = 0;
    for (const LineTrace::Burst &burst : trace->bursts()) {
        QCOMPARE(burst.device, radio.devicePath());
        QVERIFY(burst.ms >= last);
        last = burst.ms;
        (burst.direction == LineTrace::Direction::Sent ? sent : received) += burst.bytes;
    }
    QCOMPARE(sent, QByteArray("C5"));
    QCOMPARE(received, "C" + wholeAnswer());
    // The answer came at the radio's pace, so in many bursts: one line each.
    QVERIFY(trace->bursts().size() > 5);
    QCOMPARE(trace->text().count(u'\n'), trace->bursts().size() + 1);
}

void tst_ConnectionCheck::traceKeepsALimit()
{
    LineTrace trace;
    trace.record(QStringLiteral("/dev/ttyQZ"), LineTrace::Direction::Received, QByteArray(LineTrace::ByteLimit - 2, 'C'));
    trace.record(QStringLiteral("/dev/ttyQZ"), LineTrace::Direction::Received, QByteArray(5, 'C'));
    trace.record(QStringLiteral("/dev/ttyQZ"), LineTrace::Direction::Sent, QByteArray("5"));
    QCOMPARE(trace.bursts().size(), 2);
    QCOMPARE(trace.bursts().last().bytes, QByteArray("CC"));
    QCOMPARE(trace.droppedBytes(), 4);
    QVERIFY(trace.text().endsWith(QStringLiteral("# 4 bytes more were not kept\n")));
    QCOMPARE(LineTrace::line(LineTrace::Burst{12.26, QStringLiteral("/dev/ttyUSB0"), LineTrace::Direction::Sent, QByteArray("5\r")}),
             QStringLiteral("      12.3  /dev/ttyUSB0  >  35 0d  |5.|"));
    trace.restart();
    QVERIFY(trace.isEmpty());
    QCOMPARE(trace.droppedBytes(), 0);
}

QTEST_GUILESS_MAIN(tst_ConnectionCheck)
#include "tst_connectioncheck.moc"
