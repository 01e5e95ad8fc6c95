#include "core/channels/cellblock.h"

#include <QTest>

// Clipboard text as spreadsheets write it, read back into rows of cells.
class tst_CellBlock : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

using Rows = QList<QStringList>;

void tst_CellBlock::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("LF after each row") << "a\tb\nc\td\n" << Rows{{"a", "b"}, {"c", "d"}};
    QTest::newRow("CR LF (Excel)") << "a\tb\r\nc\td\r\n" << Rows{{"a", "b"}, {"c", "d"}};
    QTest::newRow("no final line end") << "a\tb\nc" << Rows{{"a", "b"}, {"c"}};
    QTest::newRow("one value") << "145.5" << Rows{{"145.5"}};
    QTest::newRow("empty cells kept") << "\t\tx\n" << Rows{{"", "", "x"}};
    QTest::newRow("empty line is an empty row") << "a\n\nb\n" << Rows{{"a"}, {""}, {"b"}};
    QTest::newRow("quoted cell with tab and line end") << "\"a\tb\nc\"\td\n" << Rows{{"a\tb\nc", "d"}};
    QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\"\n" << Rows{{"say \"hi\""}};
    QTest::newRow("quote inside a cell is text") << "5\"\tx\n" << Rows{{"5\"", "x"}};
    QTest::newRow("nothing") << "" << Rows{};
}

void tst_CellBlock::parse()
{
    QFETCH(QString, text);
    QFETCH(Rows, rows);
    QCOMPARE(CellBlock::parse(text), rows);
}

QTEST_MAIN(tst_CellBlock)
#include "tst_cellblock.moc"
