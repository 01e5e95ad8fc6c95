#include "core/serial/linetrace.h"
#include "window/files/filedialogs.h"
#include "window/radio/connectioncheckdialog.h"
#include "windowonradio.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

// 帮助 → 连接检查…: the check runs on the window's port beside the window, and its report holds
// what a fault report needs.
class tst_CheckWindow : public QObject
{
    Q_OBJECT

private slots:
    void checkOnThePortInUse();
    void offlineChecksEveryPort();
};

namespace {

QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int k = 0; k < list->count(); ++k)
        texts << list->item(k)->text();
    return texts;
}

} // namespace

void tst_CheckWindow::checkOnThePortInUse()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    // A read first: its line is the trace of the last transfer.
    QSignalSpy read(rig.reader(), &ReadTransfer::finished);
    rig.action("读信道")->trigger();
    QVERIFY(read.wait(20000));

    rig.action("connectionCheckCommand")->trigger();
    auto *dialog = rig.window->findChild<ConnectionCheckDialog *>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    // The window's port is lent to the check: no transfer and no port change meanwhile, but the
    // window itself goes on (the grid still takes edits).
    QVERIFY(dialog->isChecking());
    QVERIFY(!rig.window->serialLink().isOpen());
    QVERIFY(!rig.action("读信道")->isEnabled());
    QVERIFY(!rig.action("写信道")->isEnabled());
    QVERIFY(!rig.action("端口")->isEnabled());
    QVERIFY(rig.controlsEnabled());
    // The first steps are listed before the radio has been asked.
    QVERIFY(dialog->list()->count() >= 5);
    QVERIFY(!dialog->saveButton()->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isChecking(), 20000);
    const QStringList items = itemTexts(dialog->list());
    QCOMPARE(items.size(), 7);
    QCOMPARE(items.at(0), QStringLiteral("COM1  %1").arg(rig.radio.devicePath()));
    const QStringList names{"设备", "访问权限", "其他程序", "打开端口", "对讲机就绪", "读信道"};
    for (int k = 1; k <= 6; ++k)
        QVERIFY2(items.at(k).startsWith(QStringLiteral("✓ %1 %2：").arg(k).arg(names.at(k - 1))), qPrintable(items.at(k)));
    QCOMPARE(items.at(4), QStringLiteral("✓ 4 打开端口：已按 1200 波特 8N1 打开"));
    // The window has its port back, asks the radio again and offers the transfers.
    QVERIFY(rig.window->serialLink().isOpen());
    QVERIFY(rig.window->poll().isRunning() || rig.window->poll().hasAnswered());
    QVERIFY(rig.action("读信道")->isEnabled());
    QVERIFY(rig.action("端口")->isEnabled());
    QVERIFY(dialog->saveButton()->isEnabled());

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("report"));
    FileDialogs::Request asked;
    const auto previous = FileDialogs::setHandler([&](QWidget *, const FileDialogs::Request &request) {
        asked = request;
        return FileDialogs::Answer(path);
    });
    dialog->saveButton()->click();
    FileDialogs::setHandler(previous);
    QCOMPARE(asked.mode, FileDialogs::Mode::Save);
    QVERIFY(rig.messages.isEmpty());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString report = QString::fromUtf8(file.readAll());
    const QStringList lines = report.split(u'\n');
    QCOMPARE(lines.value(0), QStringLiteral("QZ300 连接检查报告"));
    QVERIFY(lines.contains(QStringLiteral("程序版本：%1").arg(QCoreApplication::applicationVersion())));
    QVERIFY(lines.contains(QStringLiteral("Qt 版本：%1").arg(QString::fromLatin1(qVersion()))));
    QVERIFY(report.contains(QStringLiteral("\n系统：")));
    QVERIFY(lines.contains(QStringLiteral("  COM1  %1").arg(rig.radio.devicePath())));
    QVERIFY(lines.contains(QStringLiteral("  COM2  -")));
    QVERIFY(lines.contains(QStringLiteral("  ✓ 4 打开端口：已按 1200 波特 8N1 打开")));
    QVERIFY(lines.contains(QStringLiteral("1/1 个端口正常：对讲机应答，读数正常")));
    // Both records of the line: the check's read command and the window's own read.
    const qsizetype checkPart = report.indexOf(QStringLiteral("检查时的线路记录："));
    const qsizetype transferPart = report.indexOf(QStringLiteral("上次传输以来的线路记录："));
    QVERIFY(checkPart > 0 && transferPart > checkPart);
    const QString readCommand = QStringLiteral("%1  >  35  |5|").arg(rig.radio.devicePath());
    QVERIFY(report.mid(checkPart, transferPart - checkPart).contains(readCommand));
    QVERIFY(report.mid(transferPart).contains(readCommand));
    QVERIFY(report.mid(transferPart).contains(QStringLiteral("  <  ")));

    dialog->close();
}

void tst_CheckWindow::offlineChecksEveryPort()
{
    QTemporaryDir dir;
    RecordedMessages messages;
    FakeRadio radio;
    radio.setSilent(true);
    auto window = Startup::run(dir.filePath(Startup::databaseFileName()), PortTable({radio.devicePath(), QString(), QStringLiteral("/nonexistent/ttyQZ3")}),
                               MainWindow::LinkStart::Offline);
    QVERIFY(window);
    window->findChild<QAction *>(QStringLiteral("connectionCheckCommand"))->trigger();
    auto *dialog = window->findChild<ConnectionCheckDialog *>();
    QVERIFY(dialog);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isChecking(), 20000);
    const QStringList items = itemTexts(dialog->list());
    QCOMPARE(items.size(), 14);
    QCOMPARE(items.at(0), QStringLiteral("COM1  %1").arg(radio.devicePath()));
    QVERIFY2(items.at(5).startsWith(QStringLiteral("✗ 5 对讲机就绪：发出“C”，3 秒内没有应答\n处理：")), qPrintable(items.at(5)));
    QCOMPARE(items.at(6), QStringLiteral("– 6 读信道：未进行"));
    QCOMPARE(items.at(7), QStringLiteral("COM3  /nonexistent/ttyQZ3"));
    QVERIFY2(items.at(8).startsWith(QStringLiteral("✗ 1 设备：/nonexistent/ttyQZ3 不存在\n处理：")), qPrintable(items.at(8)));
    // Offline, the window's link stays without a port.
    QVERIFY(!window->serialLink().isOpen());
    QVERIFY(window->isOffline());
    QVERIFY(messages.isEmpty());
}

QTEST_MAIN(tst_CheckWindow)
#include "tst_checkwindow.moc"
