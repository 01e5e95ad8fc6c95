#include "core/files/programsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace ProgramSettings {

namespace {

/// A path below a file: QSettings can neither read nor create it, at once and without waiting.
const char MemoryOnly[] = "/dev/null/qz300.ini";

bool isUsable(const QString &file)
{
    struct stat status{};
    return ::stat(QFile::encodeName(file).constData(), &status) != 0 || S_ISREG(status.st_mode);
}

} // namespace

QString path()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("qz300/qz300.ini"));
}

std::unique_ptr<QSettings> open()
{
    const QString file = path();
    if (!isUsable(file)) {
        static bool told = false;
        if (!std::exchange(told, true))
            qWarning().noquote() << QCoreApplication::translate("ProgramSettings", "设置文件 %1 不是普通文件：本次的设置不会保存").arg(file);
        return std::make_unique<QSettings>(QString::fromLatin1(MemoryOnly), QSettings::IniFormat);
    }
    // Named here, not by the application's name: the window and the command line share one file.
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("qz300"),
                                       QStringLiteral("qz300"));
}

} // namespace ProgramSettings
