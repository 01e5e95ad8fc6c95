#include "core/files/exportfolder.h"

#include "core/files/programsettings.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString LastExportFolderKey = QStringLiteral("files/lastExportFolder");

} // namespace

namespace ExportFolder {

QString last()
{
    return ProgramSettings::open()->value(LastExportFolderKey).toString();
}

void remember(const QString &exportedFile)
{
    ProgramSettings::open()->setValue(LastExportFolderKey, QFileInfo(exportedFile).absolutePath());
}

QString startName(const QString &fileName)
{
    const QString folder = last();
    if (folder.isEmpty())
        return fileName;
    return fileName.isEmpty() ? folder + u'/' : QDir(folder).filePath(fileName);
}

} // namespace ExportFolder
