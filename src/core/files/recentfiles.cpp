#include "core/files/recentfiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString RecentFilesKey = QStringLiteral("files/recent");

// One spelling per file, so that plan.doc and ./plan.doc are one entry.
QString normalized(const QString &path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

} // namespace

RecentFiles::RecentFiles(QStringList paths)
{
    for (auto it = paths.crbegin(); it != paths.crend(); ++it)
        add(*it);
}

void RecentFiles::add(const QString &path)
{
    const QString entry = normalized(path);
    if (entry.isEmpty())
        return;
    m_paths.removeAll(entry);
    m_paths.prepend(entry);
    while (m_paths.size() > Capacity)
        m_paths.removeLast();
}

void RecentFiles::remove(const QString &path)
{
    m_paths.removeAll(normalized(path));
}

RecentFiles RecentFiles::load(const QSettings &settings)
{
    QStringList paths = settings.value(RecentFilesKey).toStringList();
    paths.removeAll(QString());
    return RecentFiles(paths);
}

void RecentFiles::store(QSettings &settings) const
{
    settings.setValue(RecentFilesKey, m_paths);
}
