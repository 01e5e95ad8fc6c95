#include "core/files/writelog.h"

#include "core/files/systemerror.h"
#include "core/files/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool cutBack(int fd, off_t size)
{
    return ::ftruncate(fd, size) == 0;
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
    auto cannotSave = [&file](int errorNumber) {
        return QCoreApplication::translate("WriteLog", "写入记录无法保存：%1：%2").arg(file, SystemError::describe(errorNumber));
    };
    const auto notAFile = [&file] { return QCoreApplication::translate("WriteLog", "写入记录无法保存：%1 不是普通文件").arg(file); };
    const QByteArray name = QFile::encodeName(file);
    // A FIFO or a device in the log's place would hold the program on open or on write.
    struct stat status{};
    if (::stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return notAFile();
    const int fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0)
        return cannotSave(errno);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return notAFile();
    }
    const off_t oldSize = status.st_size;
    // A line cut short before (a full disk, an editor) must not swallow this one.
    char last = '\n';
    if (oldSize > 0 && ::pread(fd, &last, 1, oldSize - 1) != 1)
        last = '\n';
    QByteArray line = lineOf(entry) + '\n';
    if (last != '\n')
        line.prepend('\n');
    // One write, so that another program appending at the same time cannot land inside the line;
    // only a short one is followed by another, to learn the reason.
    int problem = 0;
    for (qsizetype done = 0; done < line.size() && problem == 0;) {
        const ssize_t written = ::write(fd, line.constData() + done, size_t(line.size() - done));
        if (written > 0)
            done += written;
        else if (written == 0)
            problem = ENOSPC;
        else if (errno != EINTR)
            problem = errno;
    }
    // A failed line is taken back whole; should that fail too, the next append starts on a new line.
    if (problem != 0)
        cutBack(fd, oldSize);
    if (::close(fd) != 0 && problem == 0)
        problem = errno;
    return problem == 0 ? QString() : cannotSave(problem);
}

} // namespace WriteLog
