#include "framemodel.h"
#include "core/radio/channelframe.h"

#include <QTest>

class tst_ChannelFrame : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void refuses_data();
    void refuses();
    void decode_data();
    void decode();
    void roundTrip_data();
    void roundTrip();
    void wellFormed_data();
    void wellFormed();
};

namespace {

QVariant text(const char *value)
{
    return value ? QVariant(QString::fromUtf8(value)) : QVariant();
}

ChannelRecord record(const char *no, const char *rf, const char *tf, const char *bt)
{
    return ChannelRecord{text(no), text(rf), text(tf), text(bt)};
}

} // namespace

void tst_ChannelFrame::encode_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<ChannelRecord>("channel");
    QTest::addColumn<QString>("squelch");
    QTest::addColumn<QString>("frame");

    QTest::newRow("worked example") << 1 << record("1", "145.50000", "145.50000", "on") << "5" << "05010000411200005514";
    QTest::newRow("squelch in the box's own form") << 1 << record("1", "145.50000", "145.50000", "on") << "  7"
                                                   << "07010000411200005514";
    QTest::newRow("empty squelch") << 1 << record("1", "", "", "off") << "" << "00000000000000000000";
    QTest::newRow("squelch 0") << 1 << record("1", "", "", "") << "0" << "00000000000000000000";
    QTest::newRow("frame 1 ignores the channel number") << 1 << record("9", "", "", "") << "2" << "02000000000000000000";
    QTest::newRow("channel 2") << 2 << record("2", "430.02500", "435.10000", "off") << "3" << "01000025864000005143";
    QTest::newRow("channel 16") << 16 << record("16", "", "", "on") << "3" << "15010000000000000000";
    QTest::newRow("null fields") << 3 << record("3", nullptr, nullptr, nullptr) << "" << "02000000000000000000";
    QTest::newRow("text that reads as 0") << 4 << record("4", "abc", "MHz", "on") << "" << "03010000000000000000";
    QTest::newRow("flag On is off") << 5 << record("5", "", "", "On") << "" << "04000000000000000000";
    QTest::newRow("flag ON is off") << 5 << record("5", "", "", "ON") << "" << "04000000000000000000";
    QTest::newRow("seven receive digits get a leading 0") << 6 << record("6", "100.00000", "100.00000", "")
                                                          << "" << "05000000860700000010";
    QTest::newRow("below 100 MHz transmit") << 7 << record("7", "", "50.00000", "") << "" << "06000000000000000005";
    QTest::newRow("500 MHz") << 8 << record("8", "500.00000", "500.00000", "on") << "" << "07010000864700000050";
    QTest::newRow("five decimals that are no exact double") << 9 << record("9", "145.12345", "145.12345", "")
                                                            << "" << "08004523371245235114";
    QTest::newRow("numeric value rule") << 10 << record(" 1 0", "145.5MHz", " 145 .5", "on") << "" << "09010000411200005514";
}

void tst_ChannelFrame::encode()
{
    QFETCH(int, number);
    QFETCH(ChannelRecord, channel);
    QFETCH(QString, squelch);
    QFETCH(QString, frame);
    const ChannelFrame::Encoded encoded = ChannelFrame::encode(number, channel, squelch);
    QVERIFY2(encoded.ok(), qPrintable(encoded.error));
    QCOMPARE(encoded.frame, frame);
}

void tst_ChannelFrame::refuses_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<ChannelRecord>("channel");
    QTest::addColumn<QString>("squelch");
    QTest::addColumn<QString>("mentions");

    const ChannelRecord good = record("2", "145.50000", "145.50000", "on");
    QTest::newRow("squelch two digits") << 1 << good << "12" << "12";
    QTest::newRow("squelch with a leading zero") << 1 << good << "05" << "05";
    QTest::newRow("squelch a letter") << 1 << good << "a" << "静噪";
    QTest::newRow("squelch negative") << 1 << good << "-1" << "静噪";
    QTest::newRow("receive below the offset") << 2 << record("2", "20.00000", "", "") << "" << "接收频率";
    QTest::newRow("negative transmit") << 2 << record("2", "", "-5", "") << "" << "发射频率";
    QTest::newRow("receive of nine digits") << 2 << record("2", "2000", "", "") << "" << "2000";
    QTest::newRow("transmit of nine digits") << 2 << record("2", "", "1000", "") << "" << "发射频率";
    QTest::newRow("transmit of six digits") << 2 << record("2", "", "0.5", "") << "" << "发射频率";
    QTest::newRow("receive right at the offset") << 2 << record("2", "21.4", "", "") << "" << "接收频率";
    QTest::newRow("no channel number") << 2 << record(nullptr, "", "", "") << "" << "信道号";
    QTest::newRow("channel number 0") << 2 << record("0", "", "", "") << "" << "信道号";
    QTest::newRow("channel number 101") << 2 << record("101", "", "", "") << "" << "101";
    QTest::newRow("channel number with a fraction") << 2 << record("2.5", "", "", "") << "" << "2.5";
}

void tst_ChannelFrame::refuses()
{
    QFETCH(int, number);
    QFETCH(ChannelRecord, channel);
    QFETCH(QString, squelch);
    QFETCH(QString, mentions);
    const ChannelFrame::Encoded encoded = ChannelFrame::encode(number, channel, squelch);
    QVERIFY2(!encoded.ok(), qPrintable(encoded.frame));
    QVERIFY(encoded.frame.isEmpty());
    QVERIFY2(encoded.error.contains(mentions), qPrintable(encoded.error));
}

void tst_ChannelFrame::decode_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QVariant>("rf");
    QTest::addColumn<QVariant>("tf");
    QTest::addColumn<QVariant>("bt");
    QTest::addColumn<QString>("squelch");

    const QVariant none = emptyText();
    QTest::newRow("worked example") << "05010000411200005514" << text("145.50000") << text("145.50000") << text("on") << "5";
    QTest::newRow("all zeros") << "00000000000000000000" << none << none << none << "0";
    QTest::newRow("flag off with a receive frequency") << "01000025864000005143" << text("430.02500") << text("435.10000")
                                                       << text("off") << "1";
    QTest::newRow("flag off, transmit only") << "06000000000000000005" << none << text("50.00000") << none << "6";
    QTest::newRow("flag on, nothing else") << "15010000000000000000" << none << none << text("on") << "5";
    QTest::newRow("zero receive field gets no offset") << "00000000000000005514" << none << text("145.50000") << none << "0";
    QTest::newRow("character 3 is ignored") << "05910000411200005514" << text("145.50000") << text("145.50000") << text("on")
                                            << "5";
}

void tst_ChannelFrame::decode()
{
    QFETCH(QString, frame);
    QFETCH(QVariant, rf);
    QFETCH(QVariant, tf);
    QFETCH(QVariant, bt);
    QFETCH(QString, squelch);
    const ChannelRecord decoded = ChannelFrame::decode(frame);
    QVERIFY(decoded.no.isNull());
    QCOMPARE(decoded.rf, rf);
    QCOMPARE(decoded.tf, tf);
    QCOMPARE(decoded.bt, bt);
    QCOMPARE(ChannelFrame::squelchOf(frame), squelch);
}

void tst_ChannelFrame::roundTrip_data()
{
    QTest::addColumn<ChannelRecord>("channel");
    QTest::newRow("full") << record("2", "145.50000", "145.50000", "on");
    QTest::newRow("off") << record("3", "438.50000", "431.30000", "off");
    QTest::newRow("low edge") << record("4", "130.00000", "130.00000", "off");
    QTest::newRow("high edge") << record("5", "500.00000", "500.00000", "on");
    QTest::newRow("odd raster") << record("6", "145.12345", "146.98765", "off");
    QTest::newRow("receive only") << record("7", "433.00000", "", "off");
    QTest::newRow("transmit only, flag on") << record("8", "", "433.00000", "on");
    QTest::newRow("empty") << record("9", "", "", "");
}

void tst_ChannelFrame::roundTrip()
{
    QFETCH(ChannelRecord, channel);
    // Both ways against the hand-written frame model: what the encoder sends is what the model
    // builds, and the model's frame decodes to the record given.
    for (int number : {1, 2}) {
        const int address = number == 1 ? 4 : channel.no.toInt() - 1;
        const QString expected = FrameModel::frame(FrameModel::channelOf(address, channel));
        const ChannelFrame::Encoded encoded = ChannelFrame::encode(number, channel, QStringLiteral("4"));
        QVERIFY2(encoded.ok(), qPrintable(encoded.error));
        QCOMPARE(encoded.frame, expected);
        ChannelRecord back = ChannelFrame::decode(expected);
        back.no = channel.no;
        QCOMPARE(back, channel);
    }
}

void tst_ChannelFrame::wellFormed_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("wellFormed");
    QTest::newRow("digits") << "05010000411200005514" << true;
    QTest::newRow("short") << "0501000041120000551" << false;
    QTest::newRow("long") << "050100004112000055140" << false;
    QTest::newRow("letter") << "050100004112000055C4" << false;
    QTest::newRow("blank") << "05010000 11200005514" << false;
    QTest::newRow("full-width digit") << QStringLiteral("0501000041120000551４") << false;
}

void tst_ChannelFrame::wellFormed()
{
    QFETCH(QString, frame);
    QFETCH(bool, wellFormed);
    QCOMPARE(ChannelFrame::isWellFormed(frame), wellFormed);
}

QTEST_GUILESS_MAIN(tst_ChannelFrame)
#include "tst_channelframe.moc"
