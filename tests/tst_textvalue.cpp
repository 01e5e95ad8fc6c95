#include "core/channels/textvalue.h"

#include <QTest>

class tst_TextValue : public QObject
{
    Q_OBJECT

private slots:
    void numericValue_data();
    void numericValue();
    void fiveDecimals_data();
    void fiveDecimals();
};

void tst_TextValue::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "145.3" << 145.3;
    QTest::newRow("unit after the number") << "145.3MHz" << 145.3;
    QTest::newRow("blanks anywhere") << " 1 4 5 . 3 " << 145.3;
    QTest::newRow("tab and line feed") << "\t145\n.5" << 145.5;
    QTest::newRow("negative") << "-145" << -145.0;
    QTest::newRow("plus sign") << "+5" << 5.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("stops at second point") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1.453e2" << 145.3;
    QTest::newRow("dangling exponent") << "145e" << 145.0;
    QTest::newRow("letters first") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("leading zeros") << "0146.0250" << 146.025;
    QTest::newRow("comma is no decimal point") << "145,3" << 145.0;
    QTest::newRow("carriage return ends it") << "12\r3" << 12.0;
    QTest::newRow("huge exponent") << "1e999" << 0.0;
}

void tst_TextValue::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(TextValue::numericValue(text), value);
}

void tst_TextValue::fiveDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("frequency") << 146.025 << "146.02500";
    QTest::newRow("whole") << 5.0 << "5.00000";
    QTest::newRow("below one") << 0.5 << ".50000";
    QTest::newRow("zero") << 0.0 << ".00000";
    QTest::newRow("negative") << -3.2 << "-3.20000";
    QTest::newRow("negative below one") << -0.25 << "-.25000";
    QTest::newRow("rounds to zero") << -0.000001 << ".00000";
    QTest::newRow("four digits") << 1234.5 << "1234.50000";
    QTest::newRow("rounded") << 145.123456 << "145.12346";
    QTest::newRow("decoded sum") << 124.1 + 21.4 << "145.50000";
}

void tst_TextValue::fiveDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(TextValue::fiveDecimals(value), text);
}

QTEST_GUILESS_MAIN(tst_TextValue)
#include "tst_textvalue.moc"
