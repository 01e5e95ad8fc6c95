// Comma-separated text read record by record: fields as the sheets get them, and what a record
// keeps of a line that holds more than a sheet reads.
#include "core/files/csvrecords.h"

#include <QTest>

class tst_CsvRecords : public QObject
{
    Q_OBJECT

private slots:
    void records_data();
    void records();
    void keepsOnlyTheFieldsAskedFor();
    void textOfMakesLineEndsLf_data();
    void textOfMakesLineEndsLf();
    void excerpt_data();
    void excerpt();
};

namespace {

/// Each record as "line:field|field|...", its counts after a slash: "2:a|b/2,1".
QStringList described(const QString &text, qsizetype keep, int *errorLine)
{
    QStringList out;
    CsvRecords::Reader reader(text, u',');
    CsvRecords::Record record;
    while (reader.next(record, keep)) {
        QStringList fields;
        for (const QStringView field : std::as_const(record.fields))
            fields << field.toString();
        out << QString::number(record.line) + u':' + fields.join(u'|') + u'/' + QString::number(record.fieldCount) + u','
                + QString::number(record.usedCount) + (record.blank ? QStringLiteral(",blank") : QString());
    }
    *errorLine = reader.errorLine();
    return out;
}

} // namespace

void tst_CsvRecords::records_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<int>("errorLine");

    QTest::newRow("plain, blanks trimmed") << " a , b ,c\n" << QStringList{"1:a|b|c/3,3"} << 0;
    QTest::newRow("quoted keeps blanks, separators, line ends")
        << "\" a,\nb \",x\n" << QStringList{"1: a,\nb |x/2,2"} << 0;
    QTest::newRow("doubled quotes undone") << "\"say \"\"hi\"\"\",\"\"\"\"\n" << QStringList{"1:say \"hi\"|\"/2,2"} << 0;
    QTest::newRow("blanks before a quote") << "  \"a\"\n" << QStringList{"1:a/1,1"} << 0;
    QTest::newRow("text after the closing quote") << "\"a\"b ,c\n" << QStringList{"1:ab |c/2,2"} << 0;
    QTest::newRow("a quote inside an unquoted field") << "a\"b\"\n" << QStringList{"1:a\"b\"/1,1"} << 0;
    // The field that made the old reader trim it once for every quote: linear now (bench/).
    QTest::newRow("quotes after a blank and a letter") << " x\"\"\"\n" << QStringList{"1:x\"\"\"/1,1"} << 0;
    QTest::newRow("blank lines are no records") << "\n  \na\n\n" << QStringList{"3:a/1,1"} << 0;
    QTest::newRow("empty quoted field is a record") << "\"\"\n" << QStringList{"1:/1,0,blank"} << 0;
    QTest::newRow("CR LF and no last line end") << "a\r\nb" << QStringList{"1:a/1,1", "2:b/1,1"} << 0;
    QTest::newRow("padding counts, blanks are blank") << "a,,\n,\" \",\n" << QStringList{"1:a||/3,1", "2:| |/3,2,blank"} << 0;
    QTest::newRow("a quoted line end moves the line") << "\"a\nb\",c\nd\n" << QStringList{"1:a\nb|c/2,2", "3:d/1,1"} << 0;
    QTest::newRow("unclosed quote") << "a\n\"b\nc\n" << QStringList{"1:a/1,1"} << 2;
}

void tst_CsvRecords::records()
{
    QFETCH(QString, text);
    QFETCH(QStringList, records);
    QFETCH(int, errorLine);
    int error = -1;
    QCOMPARE(described(text, 100, &error), records);
    QCOMPARE(error, errorLine);
}

void tst_CsvRecords::keepsOnlyTheFieldsAskedFor()
{
    // A line of a million separators: the record keeps three fields and counts the rest (the old
    // reader made a string of each, 3 GB for a 59 MiB line).
    const QString line = QStringLiteral("a,\"b\"\"\",c") + QString(1000000, u',') + QStringLiteral("z\n,\n");
    CsvRecords::Reader reader(line, u',');
    CsvRecords::Record record;
    QVERIFY(reader.next(record, 3));
    QCOMPARE(record.fields, (QList<QStringView>{u"a", u"b\"", u"c"}));
    QCOMPARE(record.fieldCount, 1000003);
    QCOMPARE(record.usedCount, 1000003);
    QCOMPARE(record.columns(4), 1000003);
    QVERIFY(reader.next(record, 3));
    QCOMPARE(record.line, 2);
    QCOMPARE(record.columns(4), 2);
    QVERIFY(record.blank);
    QVERIFY(!reader.next(record, 3));
    QCOMPARE(reader.lastLine(), 2);
}

void tst_CsvRecords::textOfMakesLineEndsLf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "a\nb\n";
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << "a\nb\n";
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << "a\n\nb";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF\xE5\x8C\x97\r\n") << QStringLiteral("北\n");
    QTest::newRow("a mark further on stays") << QByteArray("a\xEF\xBB\xBF") << QStringLiteral("a\uFEFF");
}

void tst_CsvRecords::textOfMakesLineEndsLf()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(CsvRecords::textOf(bytes), text);
}

void tst_CsvRecords::excerpt_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("80 characters whole") << QString(80, u'x') << QString(80, u'x');
    QTest::newRow("81 cut to 80") << QString(81, u'x') << QString(80, u'x') + u'\u2026';
    // A character outside the basic plane is never cut in half.
    QTest::newRow("no half character") << QString(79, u'x') + QStringLiteral("\U0001F4FB") << QString(79, u'x') + u'\u2026';
}

void tst_CsvRecords::excerpt()
{
    QFETCH(QString, value);
    QFETCH(QString, quoted);
    QCOMPARE(CsvRecords::excerpt(value), quoted);
}

QTEST_GUILESS_MAIN(tst_CsvRecords)
#include "tst_csvrecords.moc"
