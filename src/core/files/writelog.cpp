#include "core/files/writelog.h"

#include "core/files/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString outcomeName(WriteLogEntry::Outcome outcome)
{
    switch (outcome) {
    case WriteLogEntry::Outcome::Verified:
        return QStringLiteral("verified");
    case WriteLogEntry::Outcome::VerifyFailed:
        return QStringLiteral("verify-failed");
    case WriteLogEntry::Outcome::Written:
        return QStringLiteral("written");
    case WriteLogEntry::Outcome::Interrupted:
        return QStringLiteral("interrupted");
    case WriteLogEntry::Outcome::Failed:
        return QStringLiteral("failed");
    case WriteLogEntry::Outcome::Cancelled:
        return QStringLiteral("cancelled");
    }
    return QString();
}

QJsonValue frequency(const std::optional<Frequency> &value)
{
    return value ? QJsonValue(value->text()) : QJsonValue::Null;
}

QJsonValue setValue(const std::optional<RadioSet> &set)
{
    if (!set)
        return QJsonValue::Null;
    QJsonArray channels;
    for (int k = 0; k < ChannelCount; ++k) {
        const RadioChannel &channel = set->channels.at(k);
        channels.append(QJsonObject{{QStringLiteral("channel"), k + 1},
                                    {QStringLiteral("receive_mhz"), frequency(channel.receive)},
                                    {QStringLiteral("transmit_mhz"), frequency(channel.transmit)},
                                    {QStringLiteral("shift"), channel.shift ? QStringLiteral("on") : QStringLiteral("off")}});
    }
    return QJsonObject{{QStringLiteral("squelch"), QString::number(set->squelch)}, {QStringLiteral("channels"), channels}};
}

} // namespace

namespace WriteLog {

QString path()
{
    return QDir(WorkingFolder::desktopDataFolder()).filePath(QStringLiteral("write-log.jsonl"));
}

QByteArray lineOf(const WriteLogEntry &entry)
{
    const QJsonObject line{{QStringLiteral("time"), entry.time.toOffsetFromUtc(entry.time.offsetFromUtc()).toString(Qt::ISODate)},
                           {QStringLiteral("program"), entry.program},
                           {QStringLiteral("port"), entry.port},
                           {QStringLiteral("device"), entry.device},
                           {QStringLiteral("usb"), entry.usb ? QJsonValue(*entry.usb) : QJsonValue::Null},
                           {QStringLiteral("before"), setValue(entry.before)},
                           {QStringLiteral("after"), setValue(entry.after)},
                           {QStringLiteral("outcome"), outcomeName(entry.outcome)}};
    return QJsonDocument(line).toJson(QJsonDocument::Compact);
}

QString append(const WriteLogEntry &entry)
{
    const QString file = path();
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return QCoreApplication::translate("WriteLog", "写入记录无法保存：无法创建文件夹 %1").arg(QFileInfo(file).absolutePath());
    QFile log(file);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return QCoreApplication::translate("WriteLog", "写入记录无法保存：%1：%2").arg(file, log.errorString());
    const QByteArray line = lineOf(entry) + '\n';
    if (log.write(line) != line.size() || !log.flush())
        return QCoreApplication::translate("WriteLog", "写入记录无法保存：%1：%2").arg(file, log.errorString());
    log.close();
    if (log.error() != QFileDevice::NoError)
        return QCoreApplication::translate("WriteLog", "写入记录无法保存：%1：%2").arg(file, log.errorString());
    return QString();
}

} // namespace WriteLog
