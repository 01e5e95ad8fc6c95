// 文件 → 打印… and 文件 → 导出 PDF… in the real window: the page holds what the grid holds.
#include "filecommandrig.h"
#include "printedlist.h"
#include "window/print/printcommands.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

class tst_Printing : public QObject
{
    Q_OBJECT

private:
    static void fill(FileCommandRig &rig)
    {
        const ChannelSet set = PrintedList::sampleSet();
        QCOMPARE(rig.window->replaceChannelSet(QStringLiteral("test"), set.channels, set.squelch), QString());
    }

private slots:
    void initTestCase()
    {
        if (!PrintedList::haveExtractor())
            QSKIP("pdftotext (poppler-utils) is not installed; scripts/setup installs it");
    }

    void exportedPdfHoldsTheGrid_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("with extension") << "list.pdf" << "list.pdf";
        QTest::newRow("bare name") << "list" << "list.pdf";
    }

    void exportedPdfHoldsTheGrid()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        FileCommandRig rig;
        QVERIFY(rig.isUp());
        fill(rig);
        rig.answer = [&rig, typed](const FileDialogs::Request &) { return FileDialogs::Answer(rig.path(typed)); };
        rig.action("exportPdfCommand")->trigger();

        QCOMPARE(rig.requests.size(), 1);
        QCOMPARE(rig.requests.first().mode, FileDialogs::Mode::Save);
        QVERIFY(rig.requests.first().filter.contains(QStringLiteral("*.pdf")));
        QVERIFY2(rig.messages.isEmpty(), qPrintable(rig.messages.texts().join(u'\n')));
        const QString text = PrintedList::textOf(rig.path(written));
        QVERIFY2(!text.isEmpty(), "no PDF text");
        QCOMPARE(PrintedList::missingRows(text), QStringList());
        QVERIFY2(text.contains(QStringLiteral("静噪级别：6")), qPrintable(text));
        QVERIFY2(text.contains(rig.pty.devicePath()), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("备注")), qPrintable(text));
    }

    void exportErrorIsABox()
    {
        FileCommandRig rig;
        QVERIFY(rig.isUp());
        const QString path = rig.path(QStringLiteral("gone/list.pdf"));
        rig.answer = [path](const FileDialogs::Request &) { return FileDialogs::Answer(path); };
        rig.action("exportPdfCommand")->trigger();
        QCOMPARE(rig.messages.count(), 1);
        QCOMPARE(rig.messages.last().icon, Messages::Icon::Warning);
        QVERIFY2(rig.messages.last().text.startsWith(QStringLiteral("文件 ")) && rig.messages.last().text.contains(QStringLiteral("无法导出")),
                 qPrintable(rig.messages.last().text));
        QVERIFY(!QFile::exists(path));
    }

    void cancelledExportWritesNothing()
    {
        FileCommandRig rig;
        QVERIFY(rig.isUp());
        rig.action("exportPdfCommand")->trigger();
        QCOMPARE(rig.requests.size(), 1);
        QVERIFY(rig.messages.isEmpty());
        QVERIFY(QDir(rig.dir.path()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    }

    void printShowsThePreviewOfTheGrid()
    {
        FileCommandRig rig;
        QVERIFY(rig.isUp());
        fill(rig);
        const QString pdf = rig.path(QStringLiteral("preview.pdf"));
        int shown = 0;
        const PrintCommands::PreviewShower previous = PrintCommands::setPreviewShower([&](QPrintPreviewDialog &dialog) {
            ++shown;
            QCOMPARE(dialog.windowTitle(), QStringLiteral("打印预览"));
            // What the preview draws, sent to a file instead of the screen.
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            emit dialog.paintRequested(&printer);
        });
        rig.action("printCommand")->trigger();
        PrintCommands::setPreviewShower(previous);

        QCOMPARE(shown, 1);
        QVERIFY(rig.messages.isEmpty());
        QCOMPARE(PrintedList::missingRows(PrintedList::textOf(pdf)), QStringList());
    }

    void realPreviewClosesAndTheWindowGoesOn()
    {
        FileCommandRig rig;
        QVERIFY(rig.isUp());
        QString seenTitle;
        QTimer::singleShot(300, [&seenTitle] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                seenTitle = modal->windowTitle();
                modal->close();
            }
        });
        rig.action("printCommand")->trigger();
        QCOMPARE(seenTitle, QStringLiteral("打印预览"));
        QVERIFY(rig.messages.isEmpty());
        QVERIFY(rig.action("printCommand")->isEnabled());
    }
};

QTEST_MAIN(tst_Printing)
#include "tst_printing.moc"
