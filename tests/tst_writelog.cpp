#include "core/channels/channeltext.h"
#include "core/files/writelog.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

class tst_WriteLog : public QObject
{
    Q_OBJECT

private slots:
    void appendsOneLinePerWrite();
    void unwritableLogIsAWarning();
};

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

QTEST_MAIN(tst_WriteLog)
#include "tst_writelog.moc"
