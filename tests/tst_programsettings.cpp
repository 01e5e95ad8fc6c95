#include "core/files/programsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

class tst_ProgramSettings : public QObject
{
    Q_OBJECT

private slots:
    void pathIsWhereQtKeepsIt();
    void settingsThatAreNoFileDoNotHold();
};

void tst_ProgramSettings::pathIsWhereQtKeepsIt()
{
    QFile::remove(ProgramSettings::path());
    ProgramSettings::open()->setValue(QStringLiteral("test/kept"), 7);
    QCOMPARE(QSettings(QSettings::IniFormat, QSettings::UserScope, "qz300", "qz300").fileName(), ProgramSettings::path());
    QVERIFY(ProgramSettings::path().endsWith(QStringLiteral("/qz300/qz300.ini")));
    QCOMPARE(ProgramSettings::open()->value(QStringLiteral("test/kept")).toInt(), 7);
}

void tst_ProgramSettings::settingsThatAreNoFileDoNotHold()
{
    // A FIFO in the settings' place held every start (reading it waits for a writer).
    QFile::remove(ProgramSettings::path());
    QVERIFY(QDir().mkpath(QFileInfo(ProgramSettings::path()).absolutePath()));
    QCOMPARE(::mkfifo(QFile::encodeName(ProgramSettings::path()).constData(), 0600), 0);
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("不是普通文件")));
        const auto settings = ProgramSettings::open();
        settings->setValue(QStringLiteral("test/kept"), 8);
        QCOMPARE(settings->value(QStringLiteral("test/kept")).toInt(), 8);
    }
    QVERIFY(ProgramSettings::open()->value(QStringLiteral("test/kept")).isNull());
    QVERIFY(QFileInfo(ProgramSettings::path()).exists() && !QFileInfo(ProgramSettings::path()).isFile());
    QFile::remove(ProgramSettings::path());
}

QTEST_MAIN(tst_ProgramSettings)
#include "tst_programsettings.moc"
