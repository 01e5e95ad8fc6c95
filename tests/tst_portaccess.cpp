#include "core/radio/readinesspoll.h"
#include "core/serial/portaccess.h"
#include "core/serial/portholders.h"
#include "core/serial/portsurvey.h"
#include "core/serial/seriallink.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/radio/portdialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

// A port this user may not open, or one another program holds: the user is told what to do.
class tst_PortAccess : public QObject
{
    Q_OBJECT

private slots:
    void factsFromSystem();
    void texts_data();
    void texts();
    void surveyAndDialogName_data();
    void surveyAndDialogName();
    void lockFileName_data();
    void lockFileName();
    void liveLockKeepsThePort_data();
    void liveLockKeepsThePort();
    void lockThatIsNoFileDoesNotHold_data();
    void lockThatIsNoFileDoesNotHold();
};

namespace {

// The node's group as the system names it, looked up apart from the code under test.
QString groupOf(const QString &device)
{
    struct stat status{};
    if (::stat(QFile::encodeName(device).constData(), &status) != 0)
        return QString();
    const group *entry = getgrgid(status.st_gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(status.st_gid);
}

// While alive, every device is one this user may not open, owned by group dialout, its lock
// file naming `pid` when one is given.
class DeniedPorts
{
public:
    explicit DeniedPorts(bool mayOpen, std::optional<qint64> pid = std::nullopt, QString program = QString())
        : m_previous(PortAccess::setInspector([=](const QString &) {
            PortAccess::Facts facts;
            facts.exists = true;
            facts.mayOpen = mayOpen;
            facts.group = QStringLiteral("dialout");
            facts.holderPid = pid;
            facts.holderProgram = program;
            return facts;
        }))
    {
    }
    ~DeniedPorts() { PortAccess::setInspector(m_previous); }

private:
    PortAccess::Inspector m_previous;
};

// A lock file in the system's lock folder for the test's pseudo-terminal, removed at the end.
class SystemLock
{
public:
    explicit SystemLock(const QString &device)
        : m_path(QStringLiteral("/run/lock/LCK..pts_") + device.section(u'/', -1))
    {
    }
    ~SystemLock()
    {
        const QByteArray name = QFile::encodeName(m_path);
        if (::unlink(name.constData()) != 0)
            ::rmdir(name.constData());
    }
    SystemLock(const SystemLock &) = delete;
    SystemLock &operator=(const SystemLock &) = delete;

    QString path() const { return m_path; }

private:
    QString m_path;
};

} // namespace

void tst_PortAccess::lockFileName_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("lock");
    QTest::newRow("USB adapter") << "/dev/ttyUSB0" << "LCK..ttyUSB0";
    QTest::newRow("pseudo-terminal") << "/dev/pts/3" << "LCK..pts_3";
    QTest::newRow("outside /dev") << "/tmp/port" << "LCK.._tmp_port";
}

void tst_PortAccess::lockFileName()
{
    QFETCH(QString, node);
    QFETCH(QString, lock);
    QCOMPARE(PortHolders::lockFileName(node), lock);
}

void tst_PortAccess::liveLockKeepsThePort_data()
{
    QTest::addColumn<QString>("format"); // %1: the holder's pid
    QTest::addColumn<int>("width");      // of the pid's column
    QTest::newRow("UUCP: the pid in ten columns") << "%1\n" << 10;
    QTest::newRow("the pid alone") << "%1" << 0;
    QTest::newRow("Qt: pid, program, host") << "%1\nsleep\nsomehost\n" << 0;
}

void tst_PortAccess::liveLockKeepsThePort()
{
    // minicom's lock of a minute ago: Qt took it for stale, removed it and shared the line.
    QFETCH(QString, format);
    QFETCH(int, width);
    PseudoTerminal pty;
    QVERIFY(pty.isOpen());
    QProcess holder;
    holder.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    QVERIFY(holder.waitForStarted());
    const QString pid = QString::number(holder.processId());
    const SystemLock lock(pty.devicePath());
    const QByteArray text = QString(format).arg(pid, width).toLatin1();
    {
        QFile file(lock.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(text), text.size());
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }

    SerialLink link(PortTable({pty.devicePath()}));
    QVERIFY(!link.open());
    QCOMPARE(link.openFault(), SerialLink::OpenFault::InUse);
    QCOMPARE(link.explainOpenFault(PortAccess::Language::Chinese), QStringLiteral("已被进程 %1（sleep）占用").arg(pid));
    const QList<PortSurvey::Entry> entries = PortSurvey::survey(PortTable({pty.devicePath()}));
    QVERIFY(!entries.constFirst().opens);
    QFile file(lock.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), text);
    holder.kill();
    holder.waitForFinished();
}

void tst_PortAccess::lockThatIsNoFileDoesNotHold_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("FIFO") << true;
    QTest::newRow("folder") << false;
}

void tst_PortAccess::lockThatIsNoFileDoesNotHold()
{
    // Anyone may make these in the lock folder: reading a FIFO there waited for ever.
    QFETCH(bool, fifo);
    PseudoTerminal pty;
    QVERIFY(pty.isOpen());
    const SystemLock lock(pty.devicePath());
    const QByteArray name = QFile::encodeName(lock.path());
    QCOMPARE(fifo ? ::mkfifo(name.constData(), 0666) : ::mkdir(name.constData(), 0777), 0);

    SerialLink link(PortTable({pty.devicePath()}));
    QVERIFY(!link.open());
    QCOMPARE(link.openFault(), SerialLink::OpenFault::InUse);
    QCOMPARE(link.explainOpenFault(PortAccess::Language::English), QStringLiteral("in use: its lock %1 is not a regular file").arg(lock.path()));
    QCOMPARE(link.explainOpenFault(PortAccess::Language::Chinese), QStringLiteral("已被占用：锁文件 %1 不是普通文件").arg(lock.path()));
    QVERIFY(!PortSurvey::survey(PortTable({pty.devicePath()})).constFirst().opens);
    QVERIFY(PortAccess::fromSystem(pty.devicePath()).holderPid == std::nullopt);
}

void tst_PortAccess::factsFromSystem()
{
    PseudoTerminal pty;
    QVERIFY(pty.isOpen());
    QTemporaryDir lockDir;
    QVERIFY(lockDir.isValid());

    PortAccess::Facts facts = PortAccess::fromSystem(pty.devicePath(), lockDir.path());
    QVERIFY(facts.exists);
    QCOMPARE(facts.group, groupOf(pty.devicePath()));
    QVERIFY(!facts.holderPid);

    // A UUCP lock file: the pid in ten columns; the program from /proc.
    QVERIFY(pty.devicePath().startsWith(QStringLiteral("/dev/pts/")));
    const QString lockPath = lockDir.filePath(QStringLiteral("LCK..pts_") + pty.devicePath().section(u'/', -1));
    QFile lock(lockPath);
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QStringLiteral("%1\n").arg(QCoreApplication::applicationPid(), 10).toLatin1());
    lock.close();
    facts = PortAccess::fromSystem(pty.devicePath(), lockDir.path());
    QCOMPARE(facts.holderPid, std::optional<qint64>(QCoreApplication::applicationPid()));
    QCOMPARE(facts.holderProgram, QStringLiteral("tst_portaccess"));

    // A lock naming a process that is gone still names the pid, not a program.
    QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
    lock.write("4194305\nminicom\n");
    lock.close();
    facts = PortAccess::fromSystem(pty.devicePath(), lockDir.path());
    QCOMPARE(facts.holderPid, std::optional<qint64>(4194305));
    QCOMPARE(facts.holderProgram, QString());

    QVERIFY(!PortAccess::fromSystem(QStringLiteral("/nonexistent/ttyQZ1"), lockDir.path()).exists);
}

void tst_PortAccess::texts_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("group");
    QTest::addColumn<qint64>("pid"); // 0: the lock file does not tell
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QString>("english");
    const int noPermission = int(SerialLink::OpenFault::NoPermission);
    const int inUse = int(SerialLink::OpenFault::InUse);
    QTest::newRow("not in the group") << noPermission << "dialout" << qint64(0) << ""
                                      << "/dev/ttyUSB0 属于 dialout 组：sudo usermod -aG dialout $USER，然后重新登录"
                                      << "/dev/ttyUSB0 belongs to group dialout: sudo usermod -aG dialout $USER, then log in again";
    QTest::newRow("another group") << noPermission << "uucp" << qint64(0) << ""
                                   << "/dev/ttyUSB0 属于 uucp 组：sudo usermod -aG uucp $USER，然后重新登录"
                                   << "/dev/ttyUSB0 belongs to group uucp: sudo usermod -aG uucp $USER, then log in again";
    QTest::newRow("in use, holder known") << inUse << "dialout" << qint64(1234) << "minicom" << "已被进程 1234（minicom）占用"
                                          << "in use by process 1234 (minicom)";
    QTest::newRow("in use, pid only") << inUse << "dialout" << qint64(1234) << "" << "已被进程 1234占用" << "in use by process 1234";
    QTest::newRow("in use, no lock file") << inUse << "dialout" << qint64(0) << "" << "已被其他程序占用" << "in use";
}

void tst_PortAccess::texts()
{
    QFETCH(int, fault);
    QFETCH(QString, group);
    QFETCH(qint64, pid);
    QFETCH(QString, program);
    QFETCH(QString, chinese);
    QFETCH(QString, english);
    PortAccess::Facts facts;
    facts.exists = true;
    facts.mayOpen = fault != int(SerialLink::OpenFault::InUse);
    facts.group = group;
    if (pid)
        facts.holderPid = pid;
    facts.holderProgram = program;
    const auto openFault = SerialLink::OpenFault(fault);
    const QString device = QStringLiteral("/dev/ttyUSB0");
    QCOMPARE(SerialLink::explain(openFault, device, facts, PortAccess::Language::Chinese), chinese);
    QCOMPARE(SerialLink::explain(openFault, device, facts, PortAccess::Language::English), english);
}

void tst_PortAccess::surveyAndDialogName_data()
{
    QTest::addColumn<bool>("mayOpen");
    QTest::addColumn<QString>("listed");    // after the device in `qz300-cli ports`; %1 the device
    QTest::addColumn<QString>("toolTip");   // the dialog's tooltip after the device
    QTest::addColumn<QString>("openError"); // the box on OK
    QTest::newRow("no permission") << false << "no permission: %1 belongs to group dialout: sudo usermod -aG dialout $USER, then log in again"
                                   << "%1：%1 属于 dialout 组：sudo usermod -aG dialout $USER，然后重新登录"
                                   << "选用的串行端口 无效！ \n%1 属于 dialout 组：sudo usermod -aG dialout $USER，然后重新登录";
    QTest::newRow("held by minicom") << true << "in use by process 4321 (minicom)" << "%1：已被进程 4321（minicom）占用"
                                     << "选用的串行端口 无效！ \n已被进程 4321（minicom）占用";
}

void tst_PortAccess::surveyAndDialogName()
{
    QFETCH(bool, mayOpen);
    QFETCH(QString, listed);
    QFETCH(QString, toolTip);
    QFETCH(QString, openError);
    // The port is really refused (another open holds its lock); what the system says of the
    // device comes from the test, as for a user outside the device's group.
    PseudoTerminal pty;
    QVERIFY(pty.isOpen());
    QSerialPort holder(pty.devicePath());
    QVERIFY(holder.open(QIODevice::ReadWrite));
    const DeniedPorts denied(mayOpen, qint64(4321), QStringLiteral("minicom"));
    const QString device = pty.devicePath();

    const QList<PortSurvey::Entry> entries = PortSurvey::survey(PortTable({device}));
    QVERIFY(!entries.constFirst().opens);
    QVERIFY2(PortSurvey::format(entries).section(u'\n', 0, 0).endsWith(QString(listed).replace(QStringLiteral("%1"), device)),
             qPrintable(PortSurvey::format(entries).section(u'\n', 0, 0)));

    RecordedMessages messages;
    SerialLink link(PortTable({device}));
    ReadinessPoll poll(link);
    PortDialog dialog(link, poll, {});
    dialog.show();
    QCOMPARE(dialog.option(1)->isEnabled(), false);
    QCOMPARE(dialog.option(1)->toolTip().section(u'\n', 0, 0), QString(toolTip).replace(QStringLiteral("%1"), device));

    // The dialog offers only ports that opened; one chosen all the same is refused with the remedy.
    dialog.option(1)->setChecked(true);
    dialog.okButton()->click();
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().text, QString(openError).replace(QStringLiteral("%1"), device));
}

QTEST_MAIN(tst_PortAccess)
#include "tst_portaccess.moc"
