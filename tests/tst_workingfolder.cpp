#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "core/files/workingfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

class tst_WorkingFolder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startedFromDesktop_data();
    void startedFromDesktop();
    void firstStartCreatesFolderAndDatabase();
    void laterStartKeepsDatabase();
    void unusableDataHomeLeavesDirectory();

private:
    QString m_startDirectory;
    std::optional<QByteArray> m_dataHome;
    QTemporaryDir m_scratch;
};

void tst_WorkingFolder::init()
{
    QVERIFY(m_scratch.isValid());
    m_startDirectory = QDir::currentPath();
    m_dataHome.reset();
    if (qEnvironmentVariableIsSet("XDG_DATA_HOME"))
        m_dataHome = qgetenv("XDG_DATA_HOME");
}

void tst_WorkingFolder::cleanup()
{
    QDir::setCurrent(m_startDirectory);
    if (m_dataHome)
        qputenv("XDG_DATA_HOME", *m_dataHome);
    else
        qunsetenv("XDG_DATA_HOME");
}

void tst_WorkingFolder::startedFromDesktop_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("desktop");
    QTest::newRow("shell, no arguments") << QStringList{"qz300"} << false;
    QTest::newRow("desktop entry") << QStringList{"qz300", "--desktop"} << true;
    QTest::newRow("after other arguments") << QStringList{"qz300", "-style", "fusion", "--desktop"} << true;
    QTest::newRow("program name only looks like it") << QStringList{"--desktop"} << false;
    QTest::newRow("similar option") << QStringList{"qz300", "--desktops"} << false;
    QTest::newRow("nothing at all") << QStringList{} << false;
}

void tst_WorkingFolder::startedFromDesktop()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, desktop);
    QCOMPARE(WorkingFolder::startedFromDesktop(arguments), desktop);
}

void tst_WorkingFolder::firstStartCreatesFolderAndDatabase()
{
    // A data home that does not exist yet, as on a fresh account.
    const QString dataHome = m_scratch.filePath(QStringLiteral("fresh/share"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    const QString expected = dataHome + QStringLiteral("/qz300");
    QCOMPARE(WorkingFolder::desktopDataFolder(), expected);

    QCOMPARE(WorkingFolder::enterDesktopDataFolder(), QString());
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(expected).canonicalFilePath());

    // The relative database name now lands in the user's folder.
    const auto opened = ChannelTable::open(Startup::databaseFileName());
    QVERIFY2(opened.table, qPrintable(opened.error));
    QVERIFY(opened.created);
    QVERIFY(QFileInfo::exists(expected + u'/' + Startup::databaseFileName()));
}

void tst_WorkingFolder::laterStartKeepsDatabase()
{
    const QString dataHome = m_scratch.filePath(QStringLiteral("used"));
    const QString folder = dataHome + QStringLiteral("/qz300");
    QVERIFY(QDir().mkpath(folder));
    QFile kept(folder + QStringLiteral("/keep.doc"));
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("5,\n");
    kept.close();
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));

    QCOMPARE(WorkingFolder::enterDesktopDataFolder(), QString());
    QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(folder).canonicalFilePath());
    QVERIFY(QFile::exists(QStringLiteral("keep.doc")));
}

void tst_WorkingFolder::unusableDataHomeLeavesDirectory()
{
    // A plain file where the data home should be: the folder cannot be made, even by root.
    const QString blocker = m_scratch.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));

    const QString before = QDir::currentPath();
    const QString error = WorkingFolder::enterDesktopDataFolder();
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(QStringLiteral("blocker")), qPrintable(error));
    QCOMPARE(QDir::currentPath(), before);
}

QTEST_GUILESS_MAIN(tst_WorkingFolder)
#include "tst_workingfolder.moc"
