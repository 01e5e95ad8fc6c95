#include "core/channels/channeltext.h"
#include "core/files/systemerror.h"
#include "core/files/writelog.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <sys/stat.h>

class tst_WriteLog : public QObject
{
    Q_OBJECT

private slots:
    void appendsOneLinePerWrite();
    void unwritableLogIsAWarning();
    void lineAfterAFragmentStartsOnItsOwn();
    void failedLineIsTakenBack();
    void logThatIsNoFileIsRefusedAtOnce_data();
    void logThatIsNoFileIsRefusedAtOnce();
    void systemCauseInTheUsersWords_data();
    void systemCauseInTheUsersWords();
};

namespace {

QByteArray logBytes()
{
    QFile file(WriteLog::path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeLogBytes(const QByteArray &bytes)
{
    QFile file(WriteLog::path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

WriteLogEntry someEntry()
{
    WriteLogEntry entry;
    entry.program = QStringLiteral("qz300-cli");
    entry.port = QStringLiteral("COM2");
    entry.outcome = WriteLogEntry::Outcome::Written;
    return entry;
}

} // namespace

void tst_WriteLog::appendsOneLinePerWrite()
{
    QFile::remove(WriteLog::path());
    ChannelSet before;
    before.squelch = QStringLiteral("5");
    for (int k = 0; k < ChannelCount; ++k)
        before.channels << ChannelRecord{{}, QStringLiteral("145.5"), QStringLiteral("145.50000"), QStringLiteral("on")};
    before.channels[1] = {{}, {}, QStringLiteral(""), QStringLiteral("off")};

    WriteLogEntry entry;
    entry.time = QDateTime(QDate(2026, 12, 11), QTime(0, 30, 5), Qt::OffsetFromUTC, 3600);
    entry.program = QStringLiteral("qz300-cli");
    entry.port = QStringLiteral("/dev/ttyUSB0");
    entry.device = QStringLiteral("/dev/ttyUSB0");
    entry.before = ChannelText::toRadio(before).set;
    entry.outcome = WriteLogEntry::Outcome::VerifyFailed;
    QCOMPARE(WriteLog::append(entry), QString());
    entry.outcome = WriteLogEntry::Outcome::Cancelled;
    entry.before.reset();
    QCOMPARE(WriteLog::append(entry), QString());

    QFile file(WriteLog::path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.last(), QByteArray());
    const QJsonObject first = QJsonDocument::fromJson(lines.at(0)).object();
    QStringList keys = first.keys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"after", "before", "device", "outcome", "port", "program", "time", "usb"}));
    QCOMPARE(first.value("time").toString(), QStringLiteral("2026-12-11T00:30:05+01:00"));
    QCOMPARE(first.value("program").toString(), QStringLiteral("qz300-cli"));
    QCOMPARE(first.value("port").toString(), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(first.value("usb").isNull());
    QVERIFY(first.value("after").isNull());
    QCOMPARE(first.value("outcome").toString(), QStringLiteral("verify-failed"));
    const QJsonObject held = first.value("before").toObject();
    QCOMPARE(held.value("squelch").toString(), QStringLiteral("5"));
    const QJsonArray channels = held.value("channels").toArray();
    QCOMPARE(channels.size(), 16);
    QCOMPARE(channels.at(0).toObject(), (QJsonObject{{"channel", 1}, {"receive_mhz", "145.50000"}, {"transmit_mhz", "145.50000"}, {"shift", "on"}}));
    QCOMPARE(channels.at(1).toObject(), (QJsonObject{{"channel", 2}, {"receive_mhz", QJsonValue::Null}, {"transmit_mhz", QJsonValue::Null}, {"shift", "off"}}));
    const QJsonObject second = QJsonDocument::fromJson(lines.at(1)).object();
    QCOMPARE(second.value("outcome").toString(), QStringLiteral("cancelled"));
    QVERIFY(second.value("before").isNull());
}

void tst_WriteLog::unwritableLogIsAWarning()
{
    // A folder where the log file should be: the append fails and says so.
    QFile::remove(WriteLog::path());
    QVERIFY(QDir().mkpath(WriteLog::path()));
    WriteLogEntry entry;
    entry.program = QStringLiteral("qz300");
    const QString warning = WriteLog::append(entry);
    QVERIFY(QDir(WriteLog::path()).removeRecursively());
    QVERIFY2(warning.startsWith(QStringLiteral("写入记录无法保存")), qPrintable(warning));
}

void tst_WriteLog::lineAfterAFragmentStartsOnItsOwn()
{
    // What a full disk or an editor left: a line without its end.
    QVERIFY(QDir().mkpath(QFileInfo(WriteLog::path()).absolutePath()));
    writeLogBytes("{\"time\":\"2026-");
    QCOMPARE(WriteLog::append(someEntry()), QString());
    const QList<QByteArray> lines = logBytes().split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QByteArray("{\"time\":\"2026-"));
    QCOMPARE(QJsonDocument::fromJson(lines.at(1)).object().value("outcome").toString(), QStringLiteral("written"));
    QCOMPARE(lines.at(2), QByteArray());
}

void tst_WriteLog::failedLineIsTakenBack()
{
    // A file size limit cuts the line as a full disk would: the part written is taken back.
    QVERIFY(QDir().mkpath(QFileInfo(WriteLog::path()).absolutePath()));
    const QByteArray old = "{\"outcome\":\"verified\"}\n";
    writeLogBytes(old);
    struct rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = rlim_t(old.size() + 20);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString warning = WriteLog::append(someEntry());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(logBytes(), old);
    QVERIFY2(warning.startsWith(QStringLiteral("写入记录无法保存：")), qPrintable(warning));
    QVERIFY2(warning.contains(QStringLiteral("文件超过允许的大小")), qPrintable(warning));
}

void tst_WriteLog::logThatIsNoFileIsRefusedAtOnce_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("FIFO") << true;
    QTest::newRow("link to a device") << false;
}

void tst_WriteLog::logThatIsNoFileIsRefusedAtOnce()
{
    // A FIFO with no reader held the write's end for ever; a device took the line.
    QFETCH(bool, fifo);
    QFile::remove(WriteLog::path());
    QVERIFY(QDir().mkpath(QFileInfo(WriteLog::path()).absolutePath()));
    const QByteArray name = QFile::encodeName(WriteLog::path());
    if (fifo)
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), WriteLog::path()));
    const QString warning = WriteLog::append(someEntry());
    QFile::remove(WriteLog::path());
    QCOMPARE(warning, QStringLiteral("写入记录无法保存：%1 不是普通文件").arg(WriteLog::path()));
}

void tst_WriteLog::systemCauseInTheUsersWords_data()
{
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("cause");
    QTest::newRow("disk full") << int(ENOSPC) << "磁盘已满";
    QTest::newRow("quota") << int(EDQUOT) << "磁盘已满";
    QTest::newRow("permission") << int(EACCES) << "没有权限";
    QTest::newRow("read-only") << int(EROFS) << "文件系统只读";
    QTest::newRow("missing folder") << int(ENOENT) << "文件夹不存在";
    QTest::newRow("other: the system's words alone") << int(EIO) << "";
}

void tst_WriteLog::systemCauseInTheUsersWords()
{
    QFETCH(int, errorNumber);
    QFETCH(QString, cause);
    const QString system = QString::fromLocal8Bit(std::strerror(errorNumber));
    QCOMPARE(SystemError::describe(errorNumber), cause.isEmpty() ? system : QStringLiteral("%1（%2）").arg(cause, system));
}

QTEST_MAIN(tst_WriteLog)
#include "tst_writelog.moc"
