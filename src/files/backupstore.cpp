#include "files/backupstore.h"

#include "files/channelfile.h"
#include "files/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace BackupStore {

namespace {

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
    const QString stem = QStringLiteral("%1-%2").arg(time.toString(QStringLiteral("yyyyMMdd-HHmmss")), portPart(port));
    QString path = QDir(where).filePath(stem + QStringLiteral(".doc"));
    // Two backups within one second on one port keep both.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(where).filePath(QStringLiteral("%1-%2.doc").arg(stem).arg(n));
    const ChannelFile::WriteResult written = ChannelFile::save(path, set.squelch, set.channels);
    if (written.error != ChannelFile::WriteError::None)
        return {{}, QCoreApplication::translate("BackupStore", "备份文件 %1 无法写入：%2").arg(QDir::toNativeSeparators(path), written.detail)};
    return {path, {}};
}

} // namespace BackupStore
