#include "core/serial/seriallink.h"
#include "fakeradio.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

class tst_FakeRadio : public QObject
{
    Q_OBJECT

private slots:
    void keepsAWrongFrameWhenAsked();
    void answersAtLineSpeed();
};

namespace {

QByteArray drain(SerialLink &port)
{
    QByteArray bytes;
    for (QString c = port.takeChar(); !c.isEmpty(); c = port.takeChar())
        bytes += c.toLatin1();
    return bytes;
}

} // namespace

void tst_FakeRadio::keepsAWrongFrameWhenAsked()
{
    FakeRadio radio;
    QVERIFY(radio.isOpen());
    radio.setCorruptStoredFrame(5);
    SerialLink port(PortTable({radio.devicePath()}));
    port.open();
    QVERIFY(port.isOpen());

    QStringList sent;
    for (int k = 1; k <= FakeRadio::FrameCount; ++k)
        sent << FakeRadio::frame(k == 1 ? 4 : k - 1, k % 2 == 0, 43'000'000 + 1'250LL * k, 14'500'000 + 1'250LL * k);
    QSignalSpy stored(&radio, &FakeRadio::framesStored);
    port.send("A" + sent.join(QString()).toLatin1());
    QVERIFY(stored.wait(5000));

    const QStringList held = radio.frames();
    QCOMPARE(held.size(), sent.size());
    for (int k = 1; k <= FakeRadio::FrameCount; ++k) {
        if (k == 5) {
            QVERIFY(held.at(k - 1) != sent.at(k - 1));
            QCOMPARE(held.at(k - 1).left(19), sent.at(k - 1).left(19));
        } else {
            QCOMPARE(held.at(k - 1), sent.at(k - 1));
        }
    }
    QCOMPARE(radio.squelch(), QStringLiteral("4"));
}

void tst_FakeRadio::answersAtLineSpeed()
{
    FakeRadio radio;
    radio.setStrayPrefix("C");
    SerialLink port(PortTable({radio.devicePath()}));
    port.open();
    QVERIFY(port.isOpen());

    QSignalSpy answered(&radio, &FakeRadio::answerSent);
    QElapsedTimer clock;
    clock.start();
    port.send("5");
    QVERIFY(answered.wait(15000));
    // Never faster than 1200 baud: the read command and 321 characters back.
    QVERIFY2(clock.elapsed() >= 322 * 1000 / 120 - 20, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE_WITH_TIMEOUT(port.waitingCount(), 321, 5000);
    QCOMPARE(drain(port), "C" + radio.frames().join(QString()).toLatin1());
}

QTEST_GUILESS_MAIN(tst_FakeRadio)
#include "tst_fakeradio.moc"
