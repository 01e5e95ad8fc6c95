#include "core/channels/channelsetdiff.h"
#include "core/channels/channeltext.h"

#include <QTest>

class tst_ChannelSetDiff : public QObject
{
    Q_OBJECT

private slots:
    void changedChannels_data();
    void changedChannels();
};

namespace {

ChannelSet baseSet()
{
    ChannelSet set;
    set.squelch = QStringLiteral("5");
    for (int k = 0; k < ChannelCount; ++k)
        set.channels << ChannelRecord{{}, QStringLiteral("145.50000"), QStringLiteral("145.50000"), QStringLiteral("off")};
    set.channels[2] = {{}, {}, {}, {}};
    return set;
}

} // namespace

void tst_ChannelSetDiff::changedChannels_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("squelch");
    QTest::addColumn<QList<int>>("changed");
    QTest::addColumn<bool>("squelchChanged");

    QTest::newRow("nothing differs") << -1 << 0 << QVariant() << "5" << QList<int>{} << false;
    QTest::newRow("same frequency, other spelling") << 0 << int(ChannelField::Rf) << QVariant("145.5") << "5" << QList<int>{} << false;
    QTest::newRow("unset as empty text or zero") << 2 << int(ChannelField::Tf) << QVariant("0") << "5" << QList<int>{} << false;
    QTest::newRow("channel number alone") << 4 << int(ChannelField::No) << QVariant("9") << "5" << QList<int>{} << false;
    QTest::newRow("decimal comma") << 1 << int(ChannelField::Rf) << QVariant("145,5") << "5" << QList<int>{} << false;
    QTest::newRow("sixth decimal") << 1 << int(ChannelField::Tf) << QVariant("145.500009") << "5" << QList<int>{} << false;
    QTest::newRow("blanks around") << 1 << int(ChannelField::Tf) << QVariant(" 145.5 ") << "5" << QList<int>{} << false;
    QTest::newRow("empty squelch is 0") << -1 << 0 << QVariant() << "" << QList<int>{} << true;
    QTest::newRow("one 10 Hz step") << 6 << int(ChannelField::Tf) << QVariant("145.50001") << "5" << QList<int>{7} << false;
    QTest::newRow("shift on") << 15 << int(ChannelField::Bt) << QVariant("on") << "5" << QList<int>{16} << false;
    QTest::newRow("shift anything but on is off") << 0 << int(ChannelField::Bt) << QVariant("") << "5" << QList<int>{} << false;
    QTest::newRow("unset channel set") << 2 << int(ChannelField::Rf) << QVariant("438.12500") << "5" << QList<int>{3} << false;
    QTest::newRow("squelch only") << -1 << 0 << QVariant() << "7" << QList<int>{} << true;
}

void tst_ChannelSetDiff::changedChannels()
{
    QFETCH(int, row);
    QFETCH(int, field);
    QFETCH(QVariant, value);
    QFETCH(QString, squelch);
    QFETCH(QList<int>, changed);
    QFETCH(bool, squelchChanged);

    const ChannelSet before = baseSet();
    ChannelSet after = before;
    after.squelch = squelch;
    if (row >= 0) {
        ChannelRecord &record = after.channels[row];
        QVariant *fields[] = {&record.no, &record.rf, &record.tf, &record.bt};
        *fields[field] = value;
    }

    // Both sides as the radio would hold them: the texts through the one conversion.
    const ChannelText::Conversion radioBefore = ChannelText::toRadio(before);
    const ChannelText::Conversion radioAfter = ChannelText::toRadio(after);
    QVERIFY(radioBefore.ok() && radioAfter.ok());
    const ChannelSetDiff::Result diff = ChannelSetDiff::compare(radioBefore.set, radioAfter.set);
    QList<int> numbers;
    for (const ChannelSetDiff::ChannelChange &change : diff.channels)
        numbers << change.channel;
    QCOMPARE(numbers, changed);
    QCOMPARE(diff.squelchChanged, squelchChanged);
    QCOMPARE(diff.isEmpty(), changed.isEmpty() && !squelchChanged);
    if (squelchChanged) {
        QCOMPARE(diff.squelchBefore, 5);
        QCOMPARE(diff.squelchAfter, squelch.isEmpty() ? 0 : squelch.toInt());
    }
}

QTEST_MAIN(tst_ChannelSetDiff)
#include "tst_channelsetdiff.moc"
