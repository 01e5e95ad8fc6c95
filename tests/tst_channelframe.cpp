#include "core/channels/channeltext.h"
#include "core/radio/channelframe.h"
#include "framemodel.h"

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

ChannelRecord record(const char *rf, const char *tf, const char *bt)
{
    return ChannelRecord{QVariant(), text(rf), text(tf), text(bt)};
}

std::optional<Frequency> megahertz(qint64 tenHz)
{
    return tenHz == 0 ? std::nullopt : std::optional<Frequency>(Frequency::fromUnits(tenHz));
}

RadioChannel channel(qint64 receive10Hz, qint64 transmit10Hz, bool shift)
{
    return RadioChannel{megahertz(receive10Hz), megahertz(transmit10Hz), shift};
}

/// The frame of a channel in the table's texts: the one conversion, then the encoder.
ChannelFrame::Encoded frameOfTexts(int number, const ChannelRecord &texts, const QString &squelch)
{
    ChannelFrame::Encoded refused;
    const std::optional<int> level = ChannelText::readSquelch(squelch);
    ChannelText::Refusal refusal;
    const std::optional<RadioChannel> typed = ChannelText::channelOf(texts, &refusal);
    if (!level || !typed) {
        refused.error = level ? refusal.text : squelch;
        return refused;
    }
    return ChannelFrame::encode(number, *typed, *level);
}

} // namespace

void tst_ChannelFrame::encode_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<ChannelRecord>("channel");
    QTest::addColumn<QString>("squelch");
    QTest::addColumn<QString>("frame");

    QTest::newRow("worked example") << 1 << record("145.50000", "145.50000", "on") << "5" << "05010000411200005514";
    QTest::newRow("squelch in the box's own form") << 1 << record("145.50000", "145.50000", "on") << "  7"
                                                   << "07010000411200005514";
    QTest::newRow("empty squelch") << 1 << record("", "", "off") << "" << "00000000000000000000";
    QTest::newRow("squelch 0") << 1 << record("", "", "") << "0" << "00000000000000000000";
    QTest::newRow("channel 2") << 2 << record("430.02500", "435.10000", "off") << "3" << "01000025864000005143";
    QTest::newRow("channel 16") << 16 << record("", "", "on") << "3" << "15010000000000000000";
    QTest::newRow("null fields") << 3 << record(nullptr, nullptr, nullptr) << "" << "02000000000000000000";
    QTest::newRow("zero is no frequency") << 4 << record("0", "0.000", "on") << "" << "03010000000000000000";
    QTest::newRow("flag On is off") << 5 << record("", "", "On") << "" << "04000000000000000000";
    QTest::newRow("flag ON is off") << 5 << record("", "", "ON") << "" << "04000000000000000000";
    QTest::newRow("130 MHz") << 6 << record("130.00000", "130.00000", "") << "" << "05000000861000000013";
    QTest::newRow("500 MHz") << 8 << record("500.00000", "500.00000", "on") << "" << "07010000864700000050";
    QTest::newRow("five decimals that are no exact double") << 9 << record("145.12345", "145.12345", "")
                                                            << "" << "08004523371245235114";
    // Texts another program may have stored: one rule reads them all, as the radio will hold them.
    QTest::newRow("decimal comma") << 2 << record("145,5", "145,5", "off") << "" << "01000000411200005514";
    QTest::newRow("blanks around") << 2 << record(" 145.5 ", "\t145.5", "off") << "" << "01000000411200005514";
    QTest::newRow("sixth decimal dropped") << 2 << record("145.123456", "145.123459", "off") << "" << "01004523371245235114";
    QTest::newRow("few decimals") << 2 << record("145.1", "145", "off") << "" << "01000000371200005014";
    QTest::newRow("leading zeros and a plus") << 2 << record("0145.5", "+145.5", "off") << "" << "01000000411200005514";
}

void tst_ChannelFrame::encode()
{
    QFETCH(int, number);
    QFETCH(ChannelRecord, channel);
    QFETCH(QString, squelch);
    QFETCH(QString, frame);
    const ChannelFrame::Encoded encoded = frameOfTexts(number, channel, squelch);
    QVERIFY2(encoded.ok(), qPrintable(encoded.error));
    QCOMPARE(encoded.frame, frame);
}

void tst_ChannelFrame::refuses_data()
{
    QTest::addColumn<ChannelRecord>("channel");
    QTest::addColumn<QString>("squelch");
    QTest::addColumn<QString>("mentions");

    const ChannelRecord good = record("145.50000", "145.50000", "on");
    QTest::newRow("squelch two digits") << good << "12" << "12";
    QTest::newRow("squelch with a leading zero") << good << "05" << "05";
    QTest::newRow("squelch a letter") << good << "a" << "a";
    QTest::newRow("squelch negative") << good << "-1" << "-1";
    QTest::newRow("a word") << record("abc", "", "") << "" << "abc";
    QTest::newRow("a unit after the number") << record("145.5MHz", "", "") << "" << "145.5MHz";
    QTest::newRow("a blank inside") << record("", " 145 .5", "") << "" << " 145 .5";
    QTest::newRow("two points") << record("145.5.5", "", "") << "" << "145.5.5";
    QTest::newRow("a comma at the end") << record("145,", "", "") << "" << "145,";
    QTest::newRow("an exponent") << record("1.455e2", "", "") << "" << "1.455e2";
    QTest::newRow("below the range") << record("129.99999", "", "") << "" << "129.99999";
    QTest::newRow("above the range") << record("", "500.00001", "") << "" << "500.00001";
    QTest::newRow("negative") << record("", "-145", "") << "" << "-145";
    QTest::newRow("many digits") << record(QByteArray(60, '9').constData(), "", "") << "" << QString(60, u'9');
    QTest::newRow("longer than a cell") << record(("145.5" + QByteArray(60, '0')).constData(), "", "") << ""
                                        << "145.5" + QString(60, u'0');
}

void tst_ChannelFrame::refuses()
{
    QFETCH(ChannelRecord, channel);
    QFETCH(QString, squelch);
    QFETCH(QString, mentions);
    const ChannelFrame::Encoded encoded = frameOfTexts(1, channel, squelch);
    QVERIFY2(!encoded.ok(), qPrintable(encoded.frame));
    QCOMPARE(encoded.error, mentions);
}

void tst_ChannelFrame::decode_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<RadioChannel>("channel");
    QTest::addColumn<int>("squelch");

    QTest::newRow("worked example") << "05010000411200005514" << channel(14550000, 14550000, true) << 5;
    QTest::newRow("all zeros") << "00000000000000000000" << channel(0, 0, false) << 0;
    QTest::newRow("flag off with a receive frequency") << "01000025864000005143" << channel(43002500, 43510000, false) << 1;
    QTest::newRow("transmit only") << "06000000000000000005" << channel(0, 5000000, false) << 6;
    QTest::newRow("flag on, nothing else") << "15010000000000000000" << channel(0, 0, true) << 5;
    QTest::newRow("zero receive field gets no offset") << "00000000000000005514" << channel(0, 14550000, false) << 0;
    QTest::newRow("character 3 is ignored") << "05910000411200005514" << channel(14550000, 14550000, true) << 5;
}

void tst_ChannelFrame::decode()
{
    QFETCH(QString, frame);
    QFETCH(RadioChannel, channel);
    QFETCH(int, squelch);
    QCOMPARE(ChannelFrame::decode(frame), channel);
    QCOMPARE(ChannelFrame::squelchOf(frame), squelch);
}

void tst_ChannelFrame::roundTrip_data()
{
    QTest::addColumn<ChannelRecord>("channel");
    QTest::newRow("full") << record("145.50000", "145.50000", "on");
    QTest::newRow("off") << record("438.50000", "431.30000", "off");
    QTest::newRow("low edge") << record("130.00000", "130.00000", "off");
    QTest::newRow("high edge") << record("500.00000", "500.00000", "on");
    QTest::newRow("odd raster") << record("145.12345", "146.98765", "off");
    QTest::newRow("receive only") << record("433.00000", "", "off");
    QTest::newRow("transmit only, flag on") << record("", "433.00000", "on");
    QTest::newRow("empty") << record("", "", "");
}

void tst_ChannelFrame::roundTrip()
{
    QFETCH(ChannelRecord, channel);
    // Both ways against the hand-written frame model: what the encoder sends is what the model
    // builds, and the model's frame comes back as the table's texts it was made from.
    for (int number : {1, 2, 16}) {
        const int address = number == 1 ? 4 : number - 1;
        const QString expected = FrameModel::frame(FrameModel::channelOf(address, channel));
        const ChannelFrame::Encoded encoded = frameOfTexts(number, channel, QStringLiteral("4"));
        QVERIFY2(encoded.ok(), qPrintable(encoded.error));
        QCOMPARE(encoded.frame, expected);
        QCOMPARE(ChannelText::recordOf(ChannelFrame::decode(expected)), channel);
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
