#include "core/files/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace WorkingFolder {

bool startedFromDesktop(const QStringList &arguments)
{
    return arguments.indexOf(desktopOption(), 1) >= 1;
}

QString desktopDataFolder()
{
    // The generic location, not AppDataLocation: the folder must not move if an organisation
    // name is ever set.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return {};
    return QDir(dataHome).filePath(QStringLiteral("qz300"));
}

QString enterDesktopDataFolder()
{
    const QString folder = desktopDataFolder();
    if (folder.isEmpty())
        return QCoreApplication::translate("WorkingFolder", "找不到用户数据文件夹，系统失败，退出！");
    if (!QDir().mkpath(folder))
        return QCoreApplication::translate("WorkingFolder", "无法建立数据文件夹 %1，系统失败，退出！").arg(QDir::toNativeSeparators(folder));
    if (!QDir::setCurrent(folder))
        return QCoreApplication::translate("WorkingFolder", "无法进入数据文件夹 %1，系统失败，退出！").arg(QDir::toNativeSeparators(folder));
    return {};
}

} // namespace WorkingFolder
