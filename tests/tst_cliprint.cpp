// qz300-cli convert --to pdf: the channel list page without the window, with or without a display.
#include "clirun.h"
#include "core/files/channelfile.h"
#include "printedlist.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_CliPrint : public QObject
{
    Q_OBJECT

private:
    QString saveSample(const QTemporaryDir &dir)
    {
        const ChannelSet set = PrintedList::sampleSet();
        const QString path = dir.filePath(QStringLiteral("fleet.doc"));
        return ChannelFile::save(path, set.squelch, set.channels).error == ChannelFile::WriteError::None ? path : QString();
    }

private slots:
    void pageHoldsTheChannels_data()
    {
        QTest::addColumn<QByteArray>("platform"); // empty: none named
        QTest::newRow("offscreen named") << QByteArray("offscreen");
        // As over ssh: no display and no platform named.
        QTest::newRow("no display") << QByteArray();
        // A desktop's setting over ssh: the page needs no window system, so none is looked for.
        QTest::newRow("a window system that is not there") << QByteArray("xcb");
    }

    void pageHoldsTheChannels()
    {
        QFETCH(QByteArray, platform);
        if (!PrintedList::haveExtractor())
            QSKIP("pdftotext (poppler-utils) is not installed; scripts/setup installs it");
        QTemporaryDir dir;
        const QString input = saveSample(dir);
        QVERIFY(!input.isEmpty());
        const QByteArray testPlatform = qgetenv("QT_QPA_PLATFORM");
        const QByteArray display = qgetenv("DISPLAY");
        if (platform.isEmpty())
            qunsetenv("QT_QPA_PLATFORM");
        else
            qputenv("QT_QPA_PLATFORM", platform);
        if (platform != "offscreen")
            qunsetenv("DISPLAY");
        const QString output = dir.filePath(QStringLiteral("list.pdf"));
        const CliRun run = CliRun::run({"convert", input, "--to", "pdf", "-o", output});
        qputenv("QT_QPA_PLATFORM", testPlatform);
        if (!display.isEmpty())
            qputenv("DISPLAY", display);
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.isEmpty());

        const QString text = PrintedList::textOf(output);
        QVERIFY2(!text.isEmpty(), "pdftotext found no text");
        QCOMPARE(PrintedList::missingRows(text), QStringList());
        QVERIFY2(text.contains(QStringLiteral("静噪级别：6")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("fleet.doc")), qPrintable(text));
    }

    void pageLanguage_data()
    {
        QTest::addColumn<QStringList>("langArguments");
        QTest::addColumn<QString>("squelchLine");
        QTest::newRow("default") << QStringList() << QStringLiteral("静噪级别：6");
        QTest::newRow("zh") << QStringList{QStringLiteral("--lang"), QStringLiteral("zh")} << QStringLiteral("静噪级别：6");
        QTest::newRow("en") << QStringList{QStringLiteral("--lang"), QStringLiteral("en")} << QStringLiteral("Squelch level: 6");
    }

    void pageLanguage()
    {
        QFETCH(QStringList, langArguments);
        QFETCH(QString, squelchLine);
        if (!PrintedList::haveExtractor())
            QSKIP("pdftotext (poppler-utils) is not installed; scripts/setup installs it");
        QTemporaryDir dir;
        const QString input = saveSample(dir);
        const QString output = dir.filePath(QStringLiteral("list.pdf"));
        const CliRun run = CliRun::run(QStringList{QStringLiteral("convert"), input, QStringLiteral("--to"), QStringLiteral("pdf"),
                                                   QStringLiteral("-o"), output} + langArguments);
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        const QString text = PrintedList::textOf(output);
        QVERIFY2(text.contains(squelchLine), qPrintable(text));
        QCOMPARE(PrintedList::missingRows(text), QStringList());
    }

    void languageRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown language") << QStringList{QStringLiteral("--to"), QStringLiteral("pdf"), QStringLiteral("--lang"), QStringLiteral("fr")}
                                          << QStringLiteral("--lang takes en or zh");
        QTest::newRow("not a page") << QStringList{QStringLiteral("--to"), QStringLiteral("csv"), QStringLiteral("--lang"), QStringLiteral("en")}
                                    << QStringLiteral("--lang goes with convert --to pdf");
    }

    void languageRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const CliRun run = CliRun::run(QStringList{QStringLiteral("convert"), saveSample(dir)} + arguments);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
        QVERIFY(run.out.isEmpty());
    }

    void standardOutputTakesThePdf()
    {
        QTemporaryDir dir;
        const QString input = saveSample(dir);
        const CliRun run = CliRun::run({"convert", input, "--to", "PDF"});
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.startsWith("%PDF-"));
        QVERIFY(run.out.trimmed().endsWith("%%EOF"));
    }

    void noChineseFontIsAFailure()
    {
        // A machine without any font for Chinese: the page would be boxes, and the command said ok.
        QTemporaryDir dir;
        const QString input = saveSample(dir);
        const QString config = dir.filePath(QStringLiteral("fonts.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><cachedir>%1</cachedir></fontconfig>\n")
                       .arg(dir.filePath(QStringLiteral("cache")))
                       .toUtf8());
        file.close();
        const QByteArray previous = qgetenv("FONTCONFIG_FILE");
        qputenv("FONTCONFIG_FILE", QFile::encodeName(config));
        const QString output = dir.filePath(QStringLiteral("list.pdf"));
        const CliRun run = CliRun::run({"convert", input, "--to", "pdf", "-o", output});
        if (previous.isEmpty())
            qunsetenv("FONTCONFIG_FILE");
        else
            qputenv("FONTCONFIG_FILE", previous);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errorLines().constLast().contains(QStringLiteral("install fonts-arphic-ukai and fonts-arphic-uming")), run.err.constData());
        QVERIFY(!QFile::exists(output));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("outputName");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder missing") << "no/such/folder/list.pdf" << 1 << "no/such/folder";
        QTest::newRow("input missing") << "list.pdf" << 3 << "missing.doc";
    }

    void refusals()
    {
        QFETCH(QString, outputName);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString input = saveSample(dir);
        if (QTest::currentDataTag() == QByteArray("input missing"))
            input = dir.filePath(QStringLiteral("missing.doc"));
        const QString output = dir.filePath(outputName);
        const CliRun run = CliRun::run({"convert", input, "--to", "pdf", "-o", output});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
        QVERIFY(!QFile::exists(output));
    }
};

QTEST_GUILESS_MAIN(tst_CliPrint)
#include "tst_cliprint.moc"
