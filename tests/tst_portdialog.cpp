#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/radio/readinesspoll.h"
#include "core/serial/seriallink.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/radio/portdialog.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

// One letter a port in a layout of eight: 'o' a free pseudo-terminal, 'u' a pseudo-terminal held
// open by another program, 'm' no device in the port table, 'n' a device path that does not exist.
class Bench
{
public:
    Bench(const QString &layout, int previous, bool unplugPrevious = false)
    {
        QStringList paths;
        for (int n = 1; n <= 8; ++n) {
            const QChar kind = layout.at(n - 1);
            m_ptys.push_back(nullptr);
            if (kind == u'o' || kind == u'u') {
                m_ptys.back() = std::make_unique<PseudoTerminal>();
                paths << m_ptys.back()->devicePath();
            } else if (kind == u'n') {
                paths << QStringLiteral("/nonexistent/ttyQZ%1").arg(n);
            } else {
                paths << QString();
            }
        }
        window = Startup::run(m_dir.filePath(QStringLiteral("qz3300E.mdb")), PortTable(paths));
        if (!window)
            return;
        port().close();
        for (int n = 1; n <= 8; ++n) {
            if (layout.at(n - 1) == u'u')
                hold(n);
        }
        port().setPortNumber(previous);
        port().open();
        if (unplugPrevious)
            unplug(previous);
    }

    SerialLink &port() { return window->serialLink(); }
    PseudoTerminal &pty(int n) { return *m_ptys.at(n - 1); }

    /// Another program opens port n.
    bool hold(int n)
    {
        auto holder = std::make_unique<QSerialPort>(pty(n).devicePath());
        const bool opened = holder->open(QIODevice::ReadWrite);
        m_holders.push_back(std::move(holder));
        return opened;
    }

    /// The adapter of port n is pulled out. An extra descriptor on its line keeps the
    /// pseudo-terminal's number taken, so a test running beside this one cannot get a new
    /// line under the same name while the window reopens it.
    void unplug(int n)
    {
        m_unpluggedLine = ::open(pty(n).devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        m_ptys.at(n - 1).reset();
    }

    ~Bench()
    {
        window.reset();
        if (m_unpluggedLine >= 0)
            ::close(m_unpluggedLine);
    }

    PortDialog *openDialog()
    {
        window->findChild<QAction *>(QStringLiteral("端口"))->trigger();
        return window->findChild<PortDialog *>(QStringLiteral("Dialog"));
    }

    /// Everything sent so far on every line is taken, so later reads see only what follows.
    void drainAll()
    {
        for (auto &pty : m_ptys) {
            if (pty)
                pty->readAvailable();
        }
    }

    RecordedMessages messages;
    std::unique_ptr<MainWindow> window;

private:
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<PseudoTerminal>> m_ptys;
    std::vector<std::unique_ptr<QSerialPort>> m_holders;
    int m_unpluggedLine = -1;
};

// A port this test holds: its lock file names this process.
QString heldHere()
{
    return QStringLiteral("已被进程 %1（tst_portdialog）占用").arg(QCoreApplication::applicationPid());
}

QString expectedFault(QChar kind)
{
    switch (kind.unicode()) {
    case u'u':
        return heldHere();
    case u'm':
        return SerialLink::describe(SerialLink::OpenFault::NoDevice);
    case u'n':
        return SerialLink::describe(SerialLink::OpenFault::Missing);
    default:
        return QString();
    }
}

// What the program sends within a time, taken while its event loop runs (the poll ticks in it).
QByteArray receive(PseudoTerminal &pty, int milliseconds = 5000)
{
    QByteArray bytes;
    const bool arrived = QTest::qWaitFor([&] { return !(bytes += pty.readAvailable()).isEmpty(); }, milliseconds);
    Q_UNUSED(arrived); // the caller compares what came
    return bytes;
}

int checkedOption(PortDialog *dialog)
{
    for (int n = 1; n <= 8; ++n) {
        if (dialog->option(n)->isChecked())
            return n;
    }
    return 0;
}

} // namespace

class tst_PortDialog : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void availability_data();
    void availability();
    void okMovesLink();
    void okOntoFailingPort_data();
    void okOntoFailingPort();
    void okWithNothingSelected();
    void cancel_data();
    void cancel();
    void transferWhileOpen();
    void oneInstance();
};

void tst_PortDialog::layout()
{
    Bench bench(QStringLiteral("oooooooo"), 1);
    QVERIFY(bench.window);
    PortDialog *dialog = bench.openDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("选择端口"));
    QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->okButton()->text(), QStringLiteral("确定"));
    QCOMPARE(dialog->cancelButton()->text(), QStringLiteral("取消"));
    for (int n = 1; n <= 8; ++n) {
        QRadioButton *option = dialog->option(n);
        QCOMPARE(option->objectName(), QStringLiteral("Option%1").arg(n));
        QCOMPARE(option->text(), QStringLiteral(" COM%1").arg(n));
        QCOMPARE(option->palette().color(QPalette::WindowText), QColor(Qt::red));
        // Four rows of two, odd numbers on the left.
        const QRadioButton *first = dialog->option(1);
        QCOMPARE(option->y() > first->y(), n > 2);
        QCOMPARE(option->x() > first->x(), n % 2 == 0);
        if (n > 2)
            QVERIFY(option->y() > dialog->option(n - 2)->y());
    }
    // Keyboard order: OK, Cancel, then the options in number order.
    QWidget *expected[] = {dialog->okButton(), dialog->cancelButton(), dialog->option(1), dialog->option(2),
                           dialog->option(3),  dialog->option(4),      dialog->option(5), dialog->option(6),
                           dialog->option(7),  dialog->option(8)};
    for (size_t i = 0; i + 1 < std::size(expected); ++i)
        QCOMPARE(expected[i]->nextInFocusChain(), expected[i + 1]);
}

void tst_PortDialog::availability_data()
{
    QTest::addColumn<QString>("ports");
    QTest::addColumn<int>("previous");
    QTest::addColumn<bool>("unplugPrevious");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<int>("selected");
    QTest::newRow("link on COM2, COM1 to COM3 open") << "ooommmmm" << 2 << false << "11100000" << 2;
    QTest::newRow("previous port unplugged") << "ooommmmm" << 2 << true << "10100000" << 0;
    QTest::newRow("in use, missing and no device") << "ouonmuoo" << 7 << false << "10100011" << 7;
    QTest::newRow("previous port held by another program") << "oouooooo" << 3 << false << "11011111" << 0;
    QTest::newRow("all open, link on COM8") << "oooooooo" << 8 << false << "11111111" << 8;
    QTest::newRow("all open, link on COM1") << "oooooooo" << 1 << false << "11111111" << 1;
    QTest::newRow("none opens") << "uuuuuuuu" << 1 << false << "00000000" << 0;
}

void tst_PortDialog::availability()
{
    QFETCH(QString, ports);
    QFETCH(int, previous);
    QFETCH(bool, unplugPrevious);
    QFETCH(QString, enabled);
    QFETCH(int, selected);

    Bench bench(ports, previous, unplugPrevious);
    QVERIFY(bench.window);
    const QStringList devices = bench.port().ports().devices();
    PortDialog *dialog = bench.openDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());

    QVERIFY(!bench.window->poll().isRunning());
    QCOMPARE(dialog->selection().previousPort(), previous);
    for (int n = 1; n <= 8; ++n) {
        QRadioButton *option = dialog->option(n);
        QCOMPARE(option->isEnabled(), enabled.at(n - 1) == u'1');
        QCOMPARE(option->isChecked(), n == selected);
        // The tooltip names the device and, for a port that did not open, why.
        const QString device = devices.at(n - 1).isEmpty() ? QStringLiteral("COM%1").arg(n) : devices.at(n - 1);
        QVERIFY2(option->toolTip().startsWith(device), qPrintable(option->toolTip()));
        if (!unplugPrevious || n != previous) {
            const QString fault = expectedFault(ports.at(n - 1));
            QCOMPARE(option->toolTip().contains(heldHere()), ports.at(n - 1) == u'u');
            if (!fault.isEmpty())
                QVERIFY2(option->toolTip().endsWith(fault), qPrintable(option->toolTip()));
            else
                QCOMPARE(option->toolTip(), device);
        }
    }
    // While the dialog is up the link stays on the port it was on.
    QCOMPARE(bench.port().portNumber(), previous);
    QCOMPARE(bench.port().isOpen(), enabled.at(previous - 1) == u'1');
    QVERIFY(bench.messages.isEmpty());
}

void tst_PortDialog::okMovesLink()
{
    Bench bench(QStringLiteral("oooooooo"), 1);
    QVERIFY(bench.window);
    QPointer<PortDialog> dialog = bench.openDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->option(3)->isEnabled());
    QTest::mouseClick(dialog->option(3), Qt::LeftButton);
    QVERIFY(dialog->option(3)->isChecked());
    bench.drainAll();
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

    QTRY_VERIFY(!dialog);
    QCOMPARE(bench.port().portNumber(), 3);
    QVERIFY(bench.port().isOpen());
    QVERIFY(bench.window->poll().isRunning());
    QCOMPARE(receive(bench.pty(3)).left(1), QByteArray("C"));
    QCOMPARE(bench.pty(1).readAvailable(), QByteArray());
    QVERIFY(bench.messages.isEmpty());
}

void tst_PortDialog::okOntoFailingPort_data()
{
    QTest::addColumn<bool>("unplug");
    QTest::newRow("taken by another program") << false;
    QTest::newRow("unplugged") << true;
}

void tst_PortDialog::okOntoFailingPort()
{
    QFETCH(bool, unplug);
    Bench bench(QStringLiteral("oooooooo"), 2);
    QVERIFY(bench.window);
    QPointer<PortDialog> dialog = bench.openDialog();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->option(5), Qt::LeftButton);
    // The port goes away between the test and OK.
    if (unplug)
        bench.unplug(5);
    else
        QVERIFY(bench.hold(5));
    bench.drainAll();

    bool checkedDuringMessage = true;
    int portDuringMessage = 0;
    bench.messages.onNext([&](const Messages::Message &) {
        checkedDuringMessage = dialog && dialog->option(5)->isChecked();
        portDuringMessage = bench.port().portNumber();
    });
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

    QCOMPARE(bench.messages.count(), 1);
    QCOMPARE(bench.messages.last().text, QStringLiteral("选用的串行端口 无效！ ") + (unplug ? QString() : u'\n' + heldHere()));
    QCOMPARE(bench.messages.last().title, QStringLiteral("系统信息'"));
    QCOMPARE(bench.messages.last().icon, Messages::Icon::Critical);
    QVERIFY(!checkedDuringMessage);
    QCOMPARE(portDuringMessage, 2);

    QTRY_VERIFY(!dialog);
    QCOMPARE(bench.port().portNumber(), 2);
    QVERIFY(bench.port().isOpen());
    QVERIFY(bench.window->poll().isRunning());
    QCOMPARE(receive(bench.pty(2)).left(1), QByteArray("C"));
}

void tst_PortDialog::okWithNothingSelected()
{
    // The link's port was pulled: nothing is selected, and OK keeps the link where it was.
    Bench bench(QStringLiteral("ooommmmm"), 2, true);
    QVERIFY(bench.window);
    QPointer<PortDialog> dialog = bench.openDialog();
    QVERIFY(dialog);
    QCOMPARE(checkedOption(dialog), 0);
    bench.drainAll();
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

    QTRY_VERIFY(!dialog);
    QVERIFY(bench.messages.isEmpty());
    QCOMPARE(bench.port().portNumber(), 2);
    QVERIFY(!bench.port().isOpen());
    // No poll on a closed port.
    QVERIFY(!bench.window->poll().isRunning());
    QTest::qWait(300);
    QCOMPARE(bench.pty(1).readAvailable(), QByteArray());
    QCOMPARE(bench.pty(3).readAvailable(), QByteArray());
}

void tst_PortDialog::cancel_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("unplugPrevious");
    QTest::newRow("cancel button") << "cancel" << false;
    QTest::newRow("close box") << "close" << false;
    QTest::newRow("escape key") << "escape" << false;
    QTest::newRow("cancel, previous port unplugged") << "cancel" << true;
    QTest::newRow("close box, previous port unplugged") << "close" << true;
}

void tst_PortDialog::cancel()
{
    QFETCH(QString, how);
    QFETCH(bool, unplugPrevious);
    Bench bench(QStringLiteral("oooooooo"), 2, unplugPrevious);
    QVERIFY(bench.window);
    QPointer<PortDialog> dialog = bench.openDialog();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->option(6), Qt::LeftButton);
    QVERIFY(dialog->option(6)->isChecked());
    bench.drainAll();

    if (how == QLatin1String("cancel"))
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    else if (how == QLatin1String("close"))
        dialog->close();
    else
        QTest::keyClick(dialog, Qt::Key_Escape);

    QTRY_VERIFY(!dialog);
    QVERIFY(bench.messages.isEmpty());
    QCOMPARE(bench.port().portNumber(), 2);
    QCOMPARE(bench.port().isOpen(), !unplugPrevious);
    QCOMPARE(bench.window->poll().isRunning(), !unplugPrevious);
    if (!unplugPrevious)
        QCOMPARE(receive(bench.pty(2)).left(1), QByteArray("C"));
    else
        QTest::qWait(300);
    QCOMPARE(bench.pty(6).readAvailable(), QByteArray());
    QCOMPARE(bench.pty(1).readAvailable(), QByteArray());
}

void tst_PortDialog::transferWhileOpen()
{
    Bench bench(QStringLiteral("oooooooo"), 2);
    QVERIFY(bench.window);
    QPointer<PortDialog> dialog = bench.openDialog();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->option(4), Qt::LeftButton);

    // A transfer starts while the dialog is up: it runs on the link's port, which OK must not move.
    bench.window->setActivity(MainWindow::Activity::Writing);
    QVERIFY(!dialog->okButton()->isEnabled());
    QCOMPARE(bench.port().portNumber(), 2);
    QVERIFY(bench.port().isOpen());
    QTest::keyClick(dialog, Qt::Key_Return);
    QVERIFY(dialog);
    QCOMPARE(bench.port().portNumber(), 2);

    bench.window->setActivity(MainWindow::Activity::Idle);
    QVERIFY(dialog->okButton()->isEnabled());
    bench.window->setActivity(MainWindow::Activity::Reading);

    // Closing leaves the link and the poll to the transfer, which restarts the poll itself.
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    QTRY_VERIFY(!dialog);
    QCOMPARE(bench.port().portNumber(), 2);
    QVERIFY(bench.port().isOpen());
    QVERIFY(!bench.window->poll().isRunning());
}

void tst_PortDialog::oneInstance()
{
    Bench bench(QStringLiteral("oooooooo"), 1);
    QVERIFY(bench.window);
    QPointer<PortDialog> first = bench.openDialog();
    QVERIFY(first);
    QVERIFY(first->option(5)->isEnabled());
    // A second 端口 brings the same dialog forward without testing the ports again.
    QVERIFY(bench.hold(5));
    QCOMPARE(bench.openDialog(), first.data());
    QCOMPARE(bench.window->findChildren<PortDialog *>().size(), 1);
    QVERIFY(first->option(5)->isEnabled());

    first->close();
    QTRY_VERIFY(!first);
    PortDialog *second = bench.openDialog();
    QVERIFY(second);
    QVERIFY(!second->option(5)->isEnabled());

    // The dialog goes when the main window closes.
    QPointer<PortDialog> guard = second;
    bench.window->close();
    QTRY_VERIFY(!guard || !guard->isVisible());
}

QTEST_MAIN(tst_PortDialog)
#include "tst_portdialog.moc"
