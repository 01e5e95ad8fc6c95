#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/info/systeminfoprogram.h"
#include "print/fonts.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/info/aboutbox.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class tst_AboutBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contents_data();
    void contents();
    void window();
    void systemInfo_data();
    void systemInfo();
    void lookupOnPath_data();
    void lookupOnPath();
    void installedProgram_data();
    void installedProgram();
    void closes_data();
    void closes();
    void oneInstance();

private:
    std::unique_ptr<MainWindow> startWindow();
    static AboutBox *open(MainWindow &window);

    QTemporaryDir m_dir;
    PseudoTerminal m_pty;
    int m_windows = 0;
};

void tst_AboutBox::initTestCase()
{
    Fonts::installSubstitutes();
    QVERIFY(m_pty.isOpen());
}

std::unique_ptr<MainWindow> tst_AboutBox::startWindow()
{
    return Startup::run(m_dir.filePath(QStringLiteral("about%1.mdb").arg(++m_windows)), PortTable({m_pty.devicePath()}));
}

AboutBox *tst_AboutBox::open(MainWindow &window)
{
    window.findChild<QAction *>(QStringLiteral("关于"))->trigger();
    return window.findChild<AboutBox *>(QStringLiteral("frmAbout"));
}

void tst_AboutBox::contents_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<qreal>("points");
    const QColor purple(0xC0, 0x00, 0xC0);
    QTest::newRow("lblTitle") << "lblTitle" << "    QZ300写频软件" << QColor(Qt::red) << 15.75;
    QTest::newRow("lblVersion") << "lblVersion" << "      版本 A 1.1" << QColor(Qt::red) << 15.75;
    QTest::newRow("lblDescription") << "lblDescription"
                                    << "本软件是专供用户，对澄川电讯器材公司的QZ300对讲机，编写工作频率及参数的专用软件      "
                                    << QColor(Qt::blue) << 12.0;
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << " 技术咨询： " + AboutBox::supportPhone() + "       " << purple << 14.25;
}

void tst_AboutBox::contents()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(qreal, points);
    AboutBox box;
    const QLabel *label = box.findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    QCOMPARE(label->font().family(), Fonts::kai());
    QCOMPARE(label->font().pointSizeF(), points);
    // Shown whole inside the window.
    QVERIFY(label->heightForWidth(label->width()) <= label->height());
    QVERIFY(box.rect().contains(label->geometry()));
}

void tst_AboutBox::window()
{
    AboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("关于本软件"));
    QVERIFY(!(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QVERIFY(!box.windowIcon().isNull());
    const QLabel *icon = box.findChild<QLabel *>(QStringLiteral("picIcon"));
    QVERIFY(icon);
    QCOMPARE(icon->pixmap().size(), QSize(32, 32));
    QCOMPARE(box.okButton()->text(), QStringLiteral("确定"));
    QCOMPARE(box.systemInfoButton()->text(), QStringLiteral("系统信息(&S)..."));
    QVERIFY(box.okButton()->isDefault());
    QCOMPARE(box.okButton()->nextInFocusChain(), box.systemInfoButton());
    // The buttons are stacked at the bottom right, beside the support line.
    const QLabel *disclaimer = box.findChild<QLabel *>(QStringLiteral("lblDisclaimer"));
    QVERIFY(box.okButton()->geometry().bottom() < box.systemInfoButton()->geometry().top());
    QVERIFY(box.okButton()->x() > disclaimer->geometry().right());
    QVERIFY(box.rect().contains(box.systemInfoButton()->geometry()));
}

void tst_AboutBox::systemInfo_data()
{
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<bool>("started");
    QTest::newRow("program present") << "/usr/bin/hardinfo" << true << true;
    QTest::newRow("no program") << "" << true << false;
    QTest::newRow("program fails to start") << "/usr/bin/hardinfo" << false << false;
}

void tst_AboutBox::systemInfo()
{
    QFETCH(QString, found);
    QFETCH(bool, starts);
    QFETCH(bool, started);
    RecordedMessages messages;
    const auto main = startWindow();
    QVERIFY(main);
    QPointer<AboutBox> box = open(*main);
    QVERIFY(box);
    QStringList startRequests;
    box->setSystemInfoProgram(SystemInfoProgram([found] { return found; },
                                                [&](const QString &program) {
                                                    startRequests << program;
                                                    return starts;
                                                }));
    QTest::mouseClick(box->systemInfoButton(), Qt::LeftButton);

    QCOMPARE(startRequests, found.isEmpty() ? QStringList() : QStringList{found});
    if (started) {
        QVERIFY(messages.isEmpty());
    } else {
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().text, QStringLiteral("此时系统信息不可用"));
        QCOMPARE(messages.last().title, QStringLiteral("QZ300"));
        QCOMPARE(messages.last().icon, Messages::Icon::None);
    }
    // The About box stays open either way.
    QTest::qWait(50);
    QVERIFY(box);
    QVERIFY(box->isVisible());
}

void tst_AboutBox::lookupOnPath_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("found");
    QTest::newRow("none") << QStringList() << "";
    QTest::newRow("hardinfo") << QStringList{"hardinfo"} << "/usr/bin/hardinfo";
    QTest::newRow("KDE and GNOME: the more detailed first") << QStringList{"gnome-system-monitor", "kinfocenter"}
                                                            << "/usr/bin/kinfocenter";
    QTest::newRow("unknown programs only") << QStringList{"top", "htop"} << "";
}

void tst_AboutBox::lookupOnPath()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, found);
    const auto finder = [&](const QString &name) { return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString(); };
    QCOMPARE(SystemInfoProgram::lookupOnPath(finder), found);
}

void tst_AboutBox::installedProgram_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("started");
    QTest::newRow("runs") << QByteArray("#!/bin/sh\n/usr/bin/touch \"${0%/*}/ran\"\n") << true;
    QTest::newRow("cannot be started") << QByteArray("#!/nonexistent/interpreter\n") << false;
}

void tst_AboutBox::installedProgram()
{
#ifdef Q_OS_WIN
    QSKIP("The registry names the program on Windows");
#endif
    QFETCH(QByteArray, script);
    QFETCH(bool, started);
    QTemporaryDir bin;
    QFile program(bin.filePath(QStringLiteral("hardinfo")));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write(script);
    program.close();
    QVERIFY(program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    const QString lookedUp = SystemInfoProgram::platformLookup();
    const bool result = SystemInfoProgram().start();
    qputenv("PATH", path);

    QCOMPARE(lookedUp, program.fileName());
    QCOMPARE(result, started);
    if (started)
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(bin.filePath(QStringLiteral("ran"))), 10000);
}

void tst_AboutBox::closes_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("button") << 0;
}

void tst_AboutBox::closes()
{
    QFETCH(int, key);
    RecordedMessages messages;
    const auto main = startWindow();
    QVERIFY(main);
    QPointer<AboutBox> box = open(*main);
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QVERIFY(!box->isModal());
    if (key)
        QTest::keyClick(box, Qt::Key(key));
    else
        QTest::mouseClick(box->okButton(), Qt::LeftButton);
    QTRY_VERIFY(!box);
    QVERIFY(messages.isEmpty());
}

void tst_AboutBox::oneInstance()
{
    RecordedMessages messages;
    const auto main = startWindow();
    QVERIFY(main);
    QPointer<AboutBox> first = open(*main);
    QVERIFY(first);
    QCOMPARE(open(*main), first.data());
    QCOMPARE(main->findChildren<AboutBox *>().size(), 1);
    first->close();
    QTRY_VERIFY(!first);
    QPointer<AboutBox> second = open(*main);
    QVERIFY(second);
    main->close();
    QTRY_VERIFY(!second);
}

QTEST_MAIN(tst_AboutBox)
#include "tst_aboutbox.moc"
