#include "core/channels/frequencycheck.h"

#include <QTest>

// The check on its own: what a typed text turns into, decided on the text's decimal digits.
class tst_FrequencyCheck : public QObject
{
    Q_OBJECT

private slots:
    void snap_data();
    void snap();
    void receiveEdit_data();
    void receiveEdit();
};

void tst_FrequencyCheck::snap_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("snapped");

    QTest::newRow("on both rasters") << "145.3" << "145.30000";
    QTest::newRow("6.25 kHz step") << "136.00625" << "136.00625";
    QTest::newRow("5 kHz step") << "145.005" << "145.00500";
    QTest::newRow("cut to 5 kHz below") << "145.123" << "145.12000";
    QTest::newRow("cut 499.99999") << "499.99999" << "499.99500";
    // Six decimals: the count is rounded half to even, and the text is that count.
    QTest::newRow("tie to even stays") << "130.070005" << "130.07000";
    QTest::newRow("tie to even goes up") << "145.304995" << "145.30500";
    QTest::newRow("tie up onto 5 kHz") << "146.024995" << "146.02500";
    QTest::newRow("tie down stays on 5 kHz") << "146.025005" << "146.02500";
    QTest::newRow("past the tie") << "146.0249951" << "146.02500";
    QTest::newRow("below the tie") << "146.0250049999999" << "146.02500";
    QTest::newRow("rounds onto 6.25 kHz") << "136.006249" << "136.00625";
    QTest::newRow("rounds up to 500") << "499.999995" << "500.00000";
    QTest::newRow("many zeros after") << "145.30000000000000000000001" << "145.30000";
    QTest::newRow("leading zeros") << "0146.0250" << "146.02500";
    QTest::newRow("blanks and unit") << " 1 45.3 MHz" << "145.30000";
    QTest::newRow("exponent") << "1.453e2" << "145.30000";
    QTest::newRow("exponent below one") << "14530e-2" << "145.30000";
    QTest::newRow("lower limit") << "130" << "130.00000";
    QTest::newRow("upper limit") << "500.000000" << "500.00000";
    QTest::newRow("out of range gives nothing") << "129.999999" << "";
}

void tst_FrequencyCheck::snap()
{
    QFETCH(QString, typed);
    QFETCH(QString, snapped);
    QCOMPARE(FrequencyCheck::snapToRaster(typed), snapped);
}

void tst_FrequencyCheck::receiveEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("outOfRange");
    QTest::addColumn<QString>("newRf"); // tf takes the same text

    const QString huge = QStringLiteral("1") + QString(400, u'0');
    QTest::newRow("400 digits") << huge << true << "";
    QTest::newRow("400 digits with decimals") << huge + QStringLiteral(".5") << true << "";
    QTest::newRow("exponent past double") << "1e400" << true << "";
    QTest::newRow("exponent beyond any integer") << "1e99999999999999999999999" << true << "";
    QTest::newRow("negative huge") << QStringLiteral("-") + huge << true << "";
    QTest::newRow("tiny") << "1e-400" << true << "";
    QTest::newRow("a hair above 500") << "500.00000000000000000001" << true << "";
    QTest::newRow("a hair below 130") << "129.99999999999999999999" << true << "";
    QTest::newRow("zero with exponent") << "0e400" << false << "";
    QTest::newRow("many zeros") << QString(400, u'0') << false << "";
    QTest::newRow("in range, 300 decimals") << QStringLiteral("145.3") + QString(300, u'0') << false << "145.30000";
    QTest::newRow("decimal comma") << "146,52" << false << "146.52000";
    QTest::newRow("decimal comma out of range") << "600,5" << true << "";
    QTest::newRow("two commas: 1 MHz") << "1,4,6" << true << "";
}

void tst_FrequencyCheck::receiveEdit()
{
    QFETCH(QString, typed);
    QFETCH(bool, outOfRange);
    QFETCH(QString, newRf);

    const ChannelRecord record{QStringLiteral("5"), typed, QStringLiteral("431.30000"), QStringLiteral("on")};
    const FrequencyCheck::Outcome outcome = FrequencyCheck::afterEdit(ChannelField::Rf, record);
    QCOMPARE(outcome.outOfRange, outOfRange);
    QList<FrequencyCheck::Assignment> expected;
    if (newRf.isEmpty()) // out of range or none: the channel goes, as for an empty receive frequency
        expected = {{ChannelField::Rf, QString()}, {ChannelField::Tf, QString()}, {ChannelField::Bt, QString()}};
    else
        expected = {{ChannelField::Rf, newRf}, {ChannelField::Tf, newRf}, {ChannelField::Bt, QStringLiteral("off")}};
    QCOMPARE(outcome.assignments.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(outcome.assignments[i].field, expected[i].field);
        QCOMPARE(outcome.assignments[i].value.toString(), expected[i].value.toString());
    }
}

QTEST_MAIN(tst_FrequencyCheck)
#include "tst_frequencycheck.moc"
