#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

// qz300's own command line, on the real program: --help, --version, a wrong option, and the
// options that start the window (--offline, --desktop).
class tst_ProgramOptions : public QObject
{
    Q_OBJECT

private slots:
    void answersAndEnds_data();
    void answersAndEnds();
    void offlineFromTheDesktop();
};

namespace {

QProcessEnvironment quietEnvironment(const QString &dataHome = {}, bool noWindowSystem = false)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (noWindowSystem) {
        // As over ssh: no display to connect to, no platform chosen.
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
    }
    env.insert(QStringLiteral("QZ300_PORTS"), QString());
    if (!dataHome.isEmpty())
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    return env;
}

} // namespace

void tst_ProgramOptions::answersAndEnds_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("outContains");
    QTest::addColumn<QString>("errContains");
    QTest::addColumn<bool>("noWindowSystem");
    QTest::newRow("--help") << QStringList{"--help"} << 0
                            << QStringList{"Usage: ", "--offline", "--desktop", "--version", "离线编辑"} << QString() << false;
    QTest::newRow("-h without a window system") << QStringList{"--offline", "-h"} << 0 << QStringList{"--offline"} << QString()
                                                << true;
    QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringList{"qz300 1.1.0\n"} << QString() << false;
    QTest::newRow("--version without a window system") << QStringList{"--version"} << 0 << QStringList{"qz300 1.1.0\n"}
                                                       << QString() << true;
    QTest::newRow("a wrong option") << QStringList{"--offlin"} << 1 << QStringList{} << "Unknown option 'offlin'." << false;
}

void tst_ProgramOptions::answersAndEnds()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, outContains);
    QFETCH(QString, errContains);
    QFETCH(bool, noWindowSystem);
    QTemporaryDir dir;
    QProcess program;
    program.setProcessEnvironment(quietEnvironment(dir.path(), noWindowSystem));
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(QZ300_APP), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    for (const QString &part : std::as_const(outContains))
        QVERIFY2(out.contains(part), qPrintable(out));
    if (!errContains.isEmpty())
        QVERIFY2(QString::fromUtf8(program.readAllStandardError()).contains(errContains), qPrintable(errContains));
    // Answered before anything else: no channel database was made.
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("qz3300E.mdb"))));
}

void tst_ProgramOptions::offlineFromTheDesktop()
{
    // As the desktop entry's second action starts it: both options are taken, the program works
    // in the user's data folder and stays up with no serial port. (What the window does offline
    // is tried in tst_offline, where its boxes can be seen.)
    QTemporaryDir dir;
    const QString dataHome = dir.filePath(QStringLiteral("data"));
    const QString elsewhere = dir.filePath(QStringLiteral("menu"));
    QVERIFY(QDir().mkpath(elsewhere));
    QProcess program;
    program.setProcessEnvironment(quietEnvironment(dataHome));
    program.setWorkingDirectory(elsewhere);
    program.start(QStringLiteral(QZ300_APP), {"--desktop", "--offline"});
    QVERIFY(program.waitForStarted(10000));
    const QString database = QDir(dataHome).filePath(QStringLiteral("qz300/qz3300E.mdb"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(database).size() > 0, 20000);
    QVERIFY(!program.waitForFinished(500));
    QCOMPARE(program.state(), QProcess::Running);
    QVERIFY(!QFileInfo::exists(QDir(elsewhere).filePath(QStringLiteral("qz3300E.mdb"))));
    program.terminate();
    if (!program.waitForFinished(5000)) {
        program.kill();
        program.waitForFinished(5000);
    }
}

QTEST_GUILESS_MAIN(tst_ProgramOptions)
#include "tst_programoptions.moc"
