#include "core/files/backupstore.h"

#include "core/files/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace BackupStore {

namespace {

const QString TimeFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString Suffix = QStringLiteral(".doc");

/// A port name as a file name part: a device path's slashes and anything odd become '-'.
QString portPart(const QString &port)
{
    static const QRegularExpression odd(QStringLiteral("[^A-Za-z0-9_.]+"));
    QString part = port;
    part.replace(odd, QStringLiteral("-"));
    while (part.startsWith(u'-'))
        part.remove(0, 1);
    return part.isEmpty() ? QStringLiteral("port") : part;
}

/// A second backup within one second on one port gets "+2" and so on: '+' is never part of a
/// port part, so a port ending in digits ("dev-pts-3") stays apart from the count.
struct Named
{
    Backup backup;
    int count = 1;
};

Named parse(const QString &fileName)
{
    static const QRegularExpression name(QStringLiteral("^(\\d{8}-\\d{6})-([A-Za-z0-9_.-]+?)(?:\\+(\\d+))?\\.doc$"));
    const QRegularExpressionMatch match = name.match(fileName);
    if (!match.hasMatch())
        return {};
    const QDateTime time = QDateTime::fromString(match.captured(1), TimeFormat);
    if (!time.isValid())
        return {};
    const int count = match.hasCaptured(3) ? match.captured(3).toInt() : 1;
    return {{time, match.captured(2), {}}, count};
}

/// Newest first; within one second the later count first, then by name, so the order is total.
QList<Named> backupsIn(const QString &where)
{
    QList<Named> found;
    const QFileInfoList files = QDir(where).entryInfoList({QStringLiteral("*") + Suffix}, QDir::Files);
    for (const QFileInfo &file : files) {
        Named named = parse(file.fileName());
        if (named.backup.time.isNull())
            continue;
        named.backup.path = file.filePath();
        found.append(named);
    }
    std::sort(found.begin(), found.end(), [](const Named &a, const Named &b) {
        if (a.backup.time != b.backup.time)
            return a.backup.time > b.backup.time;
        if (a.count != b.count)
            return a.count > b.count;
        return a.backup.path > b.backup.path;
    });
    return found;
}

/// Whether the name is one save() gives: a port part made from "COMn" or a device path, so that a
/// user's "20240101-120000-my-notes.doc" in the folder is never taken for a backup to prune.
bool isOwnName(const QString &fileName)
{
    static const QRegularExpression own(QStringLiteral("^\\d{8}-\\d{6}-(?:COM\\d+|dev(?:-[A-Za-z0-9_.]+)+|port)(?:\\+\\d+)?\\.doc$"));
    return own.match(fileName).hasMatch();
}

/// Removes the backups beyond Kept, the least recently made first by the files' own times. A
/// clock set back (a dead CMOS battery) puts the backups made before it in the future: those
/// count as older than any made since, so the new ones are not the ones to go.
void removeBeyondKept(const QString &where, const QString &kept)
{
    const QDateTime now = QDateTime::currentDateTime();
    struct Made
    {
        QString path;
        QDateTime time;
        bool beforeClockSetBack = false;
    };
    QList<Made> made;
    for (const Named &named : backupsIn(where)) {
        const QFileInfo file(named.backup.path);
        if (named.backup.path == kept || !isOwnName(file.fileName()))
            continue;
        const QDateTime time = file.lastModified();
        made.append({named.backup.path, time, time > now});
    }
    std::stable_sort(made.begin(), made.end(), [](const Made &a, const Made &b) {
        if (a.beforeClockSetBack != b.beforeClockSetBack)
            return !a.beforeClockSetBack;
        return a.time > b.time;
    });
    // The new backup is one of those kept, whatever its time.
    for (qsizetype k = Kept - 1; k < made.size(); ++k)
        QFile::remove(made.at(k).path);
}

} // namespace

QString folder()
{
    const QString data = WorkingFolder::desktopDataFolder();
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("backups"));
}

Saved save(const ChannelSet &set, const QString &port, const QDateTime &time)
{
    const QString where = folder();
    if (where.isEmpty())
        return {{}, QCoreApplication::translate("BackupStore", "找不到用户数据文件夹")};
    if (!QDir().mkpath(where))
        return {{}, QCoreApplication::translate("BackupStore", "无法建立文件夹 %1").arg(QDir::toNativeSeparators(where))};
    const QString stem = QStringLiteral("%1-%2").arg(time.toString(TimeFormat), portPart(port));
    QString path = QDir(where).filePath(stem + Suffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(where).filePath(QStringLiteral("%1+%2%3").arg(stem).arg(n).arg(Suffix));
    const ChannelFile::WriteResult written = ChannelFile::save(path, set.squelch, set.channels);
    if (written.error != ChannelFile::WriteError::None)
        return {{}, QCoreApplication::translate("BackupStore", "备份文件 %1 无法写入：%2").arg(QDir::toNativeSeparators(path), written.detail)};
    removeBeyondKept(where, path);
    return {path, {}};
}

Backup parseName(const QString &fileName)
{
    return parse(fileName).backup;
}

QList<Backup> list()
{
    const QString where = folder();
    QList<Backup> backups;
    if (where.isEmpty())
        return backups;
    for (const Named &named : backupsIn(where))
        backups.append(named.backup);
    return backups;
}

ChannelFile::ReadResult load(const QString &path)
{
    return ChannelFile::load(path);
}

QString summary(const ChannelSet &set, int channels)
{
    QStringList parts;
    const int shown = std::min<int>(channels, set.channels.size());
    for (int i = 0; i < shown; ++i) {
        const QString rf = set.channels.at(i).rf.toString();
        parts << QStringLiteral("%1: %2").arg(i + 1).arg(rf.isEmpty() ? QStringLiteral("—") : rf);
    }
    if (set.channels.size() > shown)
        parts << QStringLiteral("…");
    return parts.join(QStringLiteral("  "));
}

} // namespace BackupStore
