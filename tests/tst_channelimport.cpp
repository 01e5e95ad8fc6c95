// Importing and exporting channel sets as CSV: the CHIRP layout and our own, as the window and the
// command line get them from one call.
#include "core/files/channelsheet.h"

#include <QFile>
#include <QTest>

class tst_ChannelImport : public QObject
{
    Q_OBJECT

private slots:
    void chirpRepeaterList_data();
    void chirpRepeaterList();
    void chirpRepeaterListWarnings();
    void chirpRows_data();
    void chirpRows();
    void chirpLocations_data();
    void chirpLocations();
    void longValuesQuotedShort();
    void chirpWithoutFrequencyColumn();
    void chirpComposed();
    void chirpRoundTrip_data();
    void chirpRoundTrip();
    void chirpRefusesWhatIsNoFrequency();
    void ownCsvLenient_data();
    void ownCsvLenient();
};

namespace {

/// Each channel as "receive|transmit|shift".
QStringList described(const ChannelList &channels)
{
    QStringList out;
    for (const ChannelRecord &channel : channels)
        out << channel.rf.toString() + u'|' + channel.tf.toString() + u'|' + channel.bt.toString();
    return out;
}

QStringList withEmptyUpTo16(QStringList channels)
{
    while (channels.size() < 16)
        channels << "||";
    return channels;
}

QByteArray repeaterList()
{
    QFile file(QFINDTESTDATA("data/chirp/repeaters.csv"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ChannelRecord used(const char *receive, const char *transmit, const char *shift)
{
    return ChannelRecord{QVariant(), QString::fromLatin1(receive), QString::fromLatin1(transmit), QString::fromLatin1(shift)};
}

ChannelRecord unused()
{
    return ChannelRecord{QVariant(), emptyText(), emptyText(), emptyText()};
}

ChannelSet setOf(const QString &squelch, ChannelList channels)
{
    while (channels.size() < ChannelCount)
        channels << unused();
    return ChannelSet{squelch, channels};
}

} // namespace

void tst_ChannelImport::chirpRepeaterList_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("channels");

    // 20 rows: a byte order mark, CR LF, rows out of Location order, locations 18 and 19 absent.
    QTest::newRow("20 rows need a first location") << -1 << "line 18: 20 channels; the radio holds 16" << QStringList();
    QTest::newRow("from location 0")
        << 0 << QString()
        << QStringList{"145.72500|145.12500|off", "439.27500|431.67500|off", "145.50000|145.50000|off",
                       "145.80000|435.30000|off", "162.55000||off",          "146.94000|146.34000|off",
                       "433.50000|433.50000|on",  "442.10000|447.10000|off", "430.98750|438.58750|off",
                       "145.60000|146.20000|off", "145.10000|145.30000|off", "438.61250|431.01250|off",
                       "439.45000|431.45000|off", "145.12000|145.12000|off", "146.52000|146.52000|off",
                       "446.00625|446.00625|off"};
    QTest::newRow("from location 4, over the gap")
        << 4 << QString()
        << QStringList{"162.55000||off",          "146.94000|146.34000|off", "433.50000|433.50000|on",
                       "442.10000|447.10000|off", "430.98750|438.58750|off", "145.60000|146.20000|off",
                       "145.10000|145.30000|off", "438.61250|431.01250|off", "439.45000|431.45000|off",
                       "145.12000|145.12000|off", "146.52000|146.52000|off", "446.00625|446.00625|off",
                       "145.28750|145.28750|off", "144.80000|144.80000|off", "145.33750|144.73750|off",
                       "433.00000|434.60000|off"};
    QTest::newRow("from location 18, two rows left")
        << 18 << QString() << withEmptyUpTo16({"145.33750|144.73750|off", "433.00000|434.60000|off"});
    QTest::newRow("from beyond the last row") << 22 << "no row from location 22 on" << QStringList();
}

void tst_ChannelImport::chirpRepeaterList()
{
    QFETCH(int, first);
    QFETCH(QString, error);
    QFETCH(QStringList, channels);
    ChannelSheet::ReadOptions options;
    if (first >= 0)
        options.firstLocation = first;
    const QByteArray bytes = repeaterList();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF") && bytes.contains("\r\n"));

    // A .csv goes by its header: the same call reads our CSV and CHIRP's.
    const ChannelSheet::Result read = ChannelSheet::parse(bytes, ChannelSheet::Format::Csv, options);
    QCOMPARE(read.error, error);
    QCOMPARE(read.format, ChannelSheet::Format::Chirp);
    if (!error.isEmpty()) {
        QVERIFY(read.set.channels.isEmpty());
        QVERIFY(read.warnings.isEmpty());
        return;
    }
    QCOMPARE(described(read.set.channels), channels);
    QCOMPARE(read.set.squelch, "3");
    QVERIFY(!read.squelchGiven);
}

void tst_ChannelImport::chirpRepeaterListWarnings()
{
    ChannelSheet::ReadOptions options;
    options.firstLocation = 0;
    const ChannelSheet::Result read = ChannelSheet::parse(repeaterList(), ChannelSheet::Format::Csv, options);
    QVERIFY2(read.ok(), qPrintable(read.error));
    // In Location order: location 4 (line 7) comes after location 5 (line 6) of the file.
    const QStringList expected = {
        "channels 1 to 16 are locations 0 to 15; 4 other rows are left out",
        "line 2: not kept: name \"GB3WR\", tone 88.5 Hz, comment \"Mendip, Somerset\"",
        "line 3: not kept: name \"DB0ABC\", tone squelch 67.0 Hz, mode NFM",
        "line 5: not kept: name \"XBAND\"",
        "line 7: not kept: name \"WX\", comment \"NOAA weather\"",
        "line 6: not kept: DCS 125 NR, scan skip S",
        "line 8: not kept: name \"BEAT\"",
        "line 9: not kept: tone 100.0 Hz",
        "line 14: not kept: name \"北京中继\", mode AM",
        "line 15, column 3 (Frequency): 145.123000 MHz is stored as 145.12000",
    };
    QCOMPARE(read.warnings, expected);
}

void tst_ChannelImport::chirpRows_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("error");

    // Columns: 1 Location, 2 Frequency, 3 Duplex, 4 Offset, 5 Comment.
    QTest::newRow("simplex") << QByteArray("1,145.500000,,0.600000,") << "145.50000|145.50000|off" << QString();
    QTest::newRow("plus, short forms") << QByteArray("1,145.6,+,0.6,") << "145.60000|146.20000|off" << QString();
    QTest::newRow("minus") << QByteArray("1,438.500000,-,7.600000,") << "438.50000|430.90000|off" << QString();
    // In binary doubles 145.1 + 0.2 is 145.29999999999998.
    QTest::newRow("offset sum exact") << QByteArray("1,145.1,+,0.2,") << "145.10000|145.30000|off" << QString();
    QTest::newRow("split") << QByteArray("1,145.8,split,435.300000,") << "145.80000|435.30000|off" << QString();
    QTest::newRow("split in capitals") << QByteArray("1,145.8,SPLIT,435.3,") << "145.80000|435.30000|off" << QString();
    QTest::newRow("off is receive only") << QByteArray("1,145.5,off,0.6,") << "145.50000||off" << QString();
    QTest::newRow("plus without offset") << QByteArray("1,145.5,+,,") << "145.50000|145.50000|off" << QString();
    QTest::newRow("transmit snapped") << QByteArray("1,145.5,+,0.603,") << "145.50000|146.10000|off" << QString();
    QTest::newRow("beat shift word") << QByteArray("1,145.5,,,Beat-Shift on") << "145.50000|145.50000|on" << QString();
    QTest::newRow("beat shift quoted") << QByteArray("1,145.5,,,\"x, beat-shift\"") << "145.50000|145.50000|on" << QString();
    QTest::newRow("part of a longer word") << QByteArray("1,145.5,,,no-beat-shift") << "145.50000|145.50000|off" << QString();
    QTest::newRow("blank row skipped") << QByteArray(",,,,\n1,145.5,,,") << "145.50000|145.50000|off" << QString();

    QTest::newRow("receive above the range")
        << QByteArray("1,500.000001,,,") << QString() << "line 2, column 2 (Frequency): 500.000001 MHz is outside 130 to 500 MHz";
    QTest::newRow("negative receive") << QByteArray("1,-145,,,") << QString() << "line 2, column 2 (Frequency): -145 MHz is outside 130 to 500 MHz";
    QTest::newRow("zero receive") << QByteArray("1,0,,,") << QString() << "line 2, column 2 (Frequency): 0 MHz is outside 130 to 500 MHz";
    QTest::newRow("huge receive")
        << QByteArray("1,1234567890123456789012345,,,") << QString()
        << "line 2, column 2 (Frequency): 1234567890123456789012345 MHz is outside 130 to 500 MHz";
    QTest::newRow("no receive") << QByteArray("1,,+,0.6,") << QString() << "line 2, column 2 (Frequency): no receive frequency";
    QTest::newRow("letters") << QByteArray("1,145.5MHz,,,") << QString() << "line 2, column 2 (Frequency): \"145.5MHz\" is not a frequency in MHz";
    QTest::newRow("seven decimals")
        << QByteArray("1,145.5000001,,,") << QString() << "line 2, column 2 (Frequency): \"145.5000001\" has more than six decimals";
    QTest::newRow("transmit above the range")
        << QByteArray("1,499.5,+,0.6,") << QString() << "line 2, column 4 (Offset): transmit 500.100000 MHz is outside 130 to 500 MHz";
    QTest::newRow("transmit down to zero")
        << QByteArray("1,145.5,-,145.5,") << QString() << "line 2, column 4 (Offset): transmit 0.000000 MHz is outside 130 to 500 MHz";
    QTest::newRow("transmit below zero")
        << QByteArray("1,145.5,-,200,") << QString() << "line 2, column 4 (Offset): transmit -54.500000 MHz is outside 130 to 500 MHz";
    QTest::newRow("split below the range")
        << QByteArray("1,145.5,split,129.99,") << QString() << "line 2, column 4 (Offset): 129.99 MHz is outside 130 to 500 MHz";
    QTest::newRow("split without offset")
        << QByteArray("1,145.5,split,,") << QString() << "line 2, column 4 (Offset): split needs the transmit frequency in Offset";
    QTest::newRow("offset letters") << QByteArray("1,145.5,+,abc,") << QString() << "line 2, column 4 (Offset): \"abc\" is not a frequency in MHz";
    QTest::newRow("unknown duplex")
        << QByteArray("1,145.5,x,,") << QString() << "line 2, column 3 (Duplex): duplex \"x\" is not empty, +, -, split or off";
    QTest::newRow("location not a number")
        << QByteArray("A,145.5,,,") << QString() << "line 2, column 1 (Location): location \"A\" is not a whole number";
    QTest::newRow("location twice")
        << QByteArray("1,145.5,,,\r\n1,146,,,") << QString() << "line 3, column 1 (Location): location 1 again (first on line 2)";
    QTest::newRow("open quote") << QByteArray("1,145.5,,,\"abc\r\n2,146,,,") << QString() << "line 2: a quoted field is not closed";
    const QByteArray longCell = "145." + QByteArray(200, '5') + "x";
    QTest::newRow("a long cell quoted in 80 characters")
        << QByteArray("1," + longCell + ",,,") << QString()
        << "line 2, column 2 (Frequency): \"" + QString::fromLatin1(longCell.left(80)) + "\u2026\" is not a frequency in MHz";
    QTest::newRow("error on a later row")
        << QByteArray("1,145.5,,,\r\n\r\n2,600,,,") << QString() << "line 4, column 2 (Frequency): 600 MHz is outside 130 to 500 MHz";
}

void tst_ChannelImport::chirpRows()
{
    QFETCH(QByteArray, rows);
    QFETCH(QString, channel);
    QFETCH(QString, error);
    const QByteArray sheet = "Location,Frequency,Duplex,Offset,Comment\r\n" + rows + "\r\n";
    const ChannelSheet::Result read = ChannelSheet::parse(sheet, ChannelSheet::Format::Chirp);
    QCOMPARE(read.error, error);
    if (!error.isEmpty()) {
        // Nothing of a refused sheet is offered: the window takes all or nothing.
        QVERIFY(read.set.channels.isEmpty());
        return;
    }
    QCOMPARE(described(read.set.channels), withEmptyUpTo16({channel}));
}

void tst_ChannelImport::chirpLocations_data()
{
    QTest::addColumn<QList<int>>("locations");
    QTest::addColumn<QString>("channels");
    QTest::addColumn<QStringList>("warnings");
    // The file's rows are b, a, c; each channel shows the letter of its row or "-" when empty.
    const QString zeroLeftOut = "line 2, column 1 (Location): location 0 is left out: locations 1 to 16 are channels 1 to 16";
    QTest::newRow("1 to 16 with gaps: channel numbers") << QList<int>{5, 1, 16} << "a---b----------c" << QStringList();
    QTest::newRow("CHIRP's default at 0, then 1 and 2") << QList<int>{0, 1, 2} << "ac--------------" << QStringList{zeroLeftOut};
    QTest::newRow("0 with others in 1 to 16: channel numbers") << QList<int>{0, 2, 5} << "-a--c-----------"
                                                               << QStringList{zeroLeftOut};
    QTest::newRow("0 with one beyond 16: Location order")
        << QList<int>{0, 2, 17} << "bac-------------"
        << QStringList{"rows fill channels in location order: location 0 to channel 1, location 2 to channel 2, "
                       "location 17 to channel 3"};
    QTest::newRow("beyond 16: Location order")
        << QList<int>{17, 3, 40} << "abc-------------"
        << QStringList{"rows fill channels in location order: location 3 to channel 1, location 17 to channel 2, "
                       "location 40 to channel 3"};
    QTest::newRow("no Location column: file order") << QList<int>{} << "bac-------------" << QStringList();
}

void tst_ChannelImport::chirpLocations()
{
    QFETCH(QList<int>, locations);
    QFETCH(QString, channels);
    QFETCH(QStringList, warnings);
    // Rows b, a, c in the file: a receives on 145.000 MHz, b on 145.100, c on 145.200.
    const QStringList receive = {"145.100", "145.000", "145.200"};
    QByteArray sheet = locations.isEmpty() ? "Frequency\n" : "Location,Frequency\n";
    for (int row = 0; row < 3; ++row) {
        if (!locations.isEmpty())
            sheet += QByteArray::number(locations.value(row)) + ',';
        sheet += receive.at(row).toLatin1() + '\n';
    }
    const ChannelSheet::Result read = ChannelSheet::parse(sheet, ChannelSheet::Format::Csv);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QString map;
    for (const ChannelRecord &channel : read.set.channels) {
        const QString rf = channel.rf.toString();
        map += rf.isEmpty() ? u'-' : rf == u"145.00000" ? u'a' : rf == u"145.10000" ? u'b' : rf == u"145.20000" ? u'c' : u'?';
    }
    QCOMPARE(map, channels);
    QCOMPARE(read.warnings, warnings);
}

void tst_ChannelImport::longValuesQuotedShort()
{
    // A value is quoted in 80 characters at most, whatever its length (a 59 MiB cell was echoed
    // whole); a value of 80 characters is quoted whole.
    const QString name = QString(80, u'n');
    const QString comment = QStringLiteral("北京") + QString(2000000, u'c');
    const QByteArray sheet = "Location,Name,Frequency,Comment\n1," + name.toUtf8() + ",145.5,\"" + comment.toUtf8() + "\"\n";
    const ChannelSheet::Result read = ChannelSheet::parse(sheet, ChannelSheet::Format::Csv);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.warnings,
             QStringList{"line 2: not kept: name \"" + name + "\", comment \"北京" + QString(78, u'c') + "\u2026\""});

    // The same in a channel file's errors: a squelch level of 200 digits.
    QByteArray channelFile = QByteArray(200, '7') + ',';
    for (int k = 1; k <= ChannelCount; ++k)
        channelFile += ",,,";
    QCOMPARE(ChannelSheet::parse(channelFile, ChannelSheet::Format::Channel).error,
             "item 1: squelch level \"" + QString(80, u'7') + "\u2026\" is not a digit 0 to 9");
}

void tst_ChannelImport::chirpWithoutFrequencyColumn()
{
    // Read as CSV, a sheet with no Frequency column is ours, and fails as ours.
    const QByteArray sheet = "Location,Name\r\n1,A\r\n";
    QCOMPARE(ChannelSheet::parse(sheet, ChannelSheet::Format::Chirp).error,
             "line 1: expected a header naming the columns, Frequency among them");
    QCOMPARE(ChannelSheet::parse(sheet, ChannelSheet::Format::Csv).error, "line 1: expected \"squelch,<level 0 to 9>\"");
}

void tst_ChannelImport::chirpComposed()
{
    const ChannelSet set = setOf("3", {used("145.50000", "145.50000", "off"), unused(),
                                                    used("438.50000", "430.90000", "on"), used("145.80000", "435.30000", "off"),
                                                    used("162.55000", "", "off"), used("145.00500", "145.60500", "off"),
                                                    used("430.00000", "440.00000", "off"), used("430.00000", "440.00625", "off")});
    const ChannelSheet::Composed composed = ChannelSheet::compose(set, ChannelSheet::Format::Chirp);
    QVERIFY2(composed.ok(), qPrintable(composed.error));
    QCOMPARE(composed.warnings, QStringList());
    const QByteArray expected =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
        "1,,145.500000,,0.000000,,88.5,88.5,023,NN,FM,6.25,,,,,,\r\n"
        "3,,438.500000,-,7.600000,,88.5,88.5,023,NN,FM,6.25,,beat-shift,,,,\r\n"
        "4,,145.800000,split,435.300000,,88.5,88.5,023,NN,FM,6.25,,,,,,\r\n"
        "5,,162.550000,off,0.000000,,88.5,88.5,023,NN,FM,6.25,,,,,,\r\n"
        "6,,145.005000,+,0.600000,,88.5,88.5,023,NN,FM,5.00,,,,,,\r\n"
        "7,,430.000000,+,10.000000,,88.5,88.5,023,NN,FM,6.25,,,,,,\r\n"
        "8,,430.000000,split,440.006250,,88.5,88.5,023,NN,FM,6.25,,,,,,\r\n";
    QCOMPARE(composed.bytes, expected);

    // The layout has no squelch level: a level other than the default one is said to be lost.
    const ChannelSheet::Composed seven = ChannelSheet::compose(setOf("7", {}), ChannelSheet::Format::Chirp);
    QCOMPARE(seven.warnings, QStringList{"the squelch level 7 is not written: the layout has no place for it"});
    QCOMPARE(seven.bytes, expected.left(expected.indexOf("\r\n") + 2));
}

void tst_ChannelImport::chirpRoundTrip_data()
{
    QTest::addColumn<ChannelList>("channels");
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("every kind of row")
        << ChannelList{used("145.72500", "145.12500", "off"), used("439.27500", "431.67500", "on"), unused(),
                       used("145.80000", "435.30000", "on"),  used("162.55000", "", "off"),          used("145.00500", "144.40500", "off"),
                       used("499.99500", "130.00000", "off"), used("130.00000", "130.00000", "on"),  used("430.00000", "440.00000", "off"),
                       used("430.00000", "419.99375", "off"), used("446.00625", "446.00625", "off"), unused(),
                       used("145.10000", "145.30000", "off"), used("433.50000", "", "on"),           used("144.99500", "145.59500", "off"),
                       used("145.33750", "144.73750", "off")}
        << QStringList();
    QTest::newRow("only the last") << setOf("3", {unused(), unused(), unused(), unused(), unused(), unused(), unused(), unused(),
                                                  unused(), unused(), unused(), unused(), unused(), unused(), unused(),
                                                  used("438.50000", "430.90000", "on")})
                                          .channels
                                   << QStringList();
    // An empty table is written as a header and no rows, and read back as an empty table.
    QTest::newRow("every channel empty") << setOf("3", {}).channels
                                         << QStringList{"line 2: a header and no channel rows: every channel is empty"};
}

void tst_ChannelImport::chirpRoundTrip()
{
    QFETCH(ChannelList, channels);
    QFETCH(QStringList, warnings);
    const ChannelSet set{QStringLiteral("3"), channels};
    const ChannelSheet::Composed composed = ChannelSheet::compose(set, ChannelSheet::Format::Chirp);
    QVERIFY2(composed.ok(), qPrintable(composed.error));
    const ChannelSheet::Result back = ChannelSheet::parse(composed.bytes, ChannelSheet::Format::Csv);
    QVERIFY2(back.ok(), qPrintable(back.error));
    QCOMPARE(back.warnings, warnings);
    QCOMPARE(back.set.squelch, set.squelch);
    QCOMPARE(described(back.set.channels), described(set.channels));
    QVERIFY(back.set.channels == set.channels);
}

void tst_ChannelImport::chirpRefusesWhatIsNoFrequency()
{
    const ChannelSheet::Composed composed =
        ChannelSheet::compose(setOf("3", {used("145.50000", "145.50000", "off"), used("Null", "145.5", "off")}), ChannelSheet::Format::Chirp);
    QCOMPARE(composed.error, "channel 2: receive \"Null\" is not a frequency in MHz");
    QVERIFY(composed.bytes.isEmpty());
}

void tst_ChannelImport::ownCsvLenient_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QStringList>("channels");

    QStringList onlyUsed = withEmptyUpTo16({});
    onlyUsed[2] = "145.50000||on";
    onlyUsed[15] = "430.00000|431.00000|off";
    QTest::newRow("only the used channels")
        << QByteArray("squelch,4\nchannel,receive MHz,transmit MHz,shift\n16,430,431,off\n3,145.5,,on\n") << onlyUsed;
    QStringList semicolons = withEmptyUpTo16({});
    semicolons[0] = "145.50000|145.60000|on";
    semicolons[1] = "436.00625||off";
    QTest::newRow("semicolons, decimal commas, CR LF")
        << QByteArray("\xEF\xBB\xBFsquelch;4\r\nchannel;receive MHz;transmit MHz;shift\r\n1;145,5;145,6;on\r\n2;\"436,00625\";;\r\n")
        << semicolons;
    QTest::newRow("header in capitals")
        << QByteArray("SQUELCH,4\nCHANNEL,RECEIVE MHZ,TRANSMIT MHZ,SHIFT\n2,436.00625,,\n1,145.5,145.6,ON\n") << semicolons;
}

void tst_ChannelImport::ownCsvLenient()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QStringList, channels);
    const ChannelSheet::Result read = ChannelSheet::parse(sheet, ChannelSheet::Format::Csv);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.format, ChannelSheet::Format::Csv);
    QVERIFY(read.squelchGiven);
    QCOMPARE(read.set.squelch, "4");
    QCOMPARE(described(read.set.channels), channels);
}

QTEST_GUILESS_MAIN(tst_ChannelImport)
#include "tst_channelimport.moc"
