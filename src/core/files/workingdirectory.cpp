#include "core/files/workingdirectory.h"

#include <QDir>

namespace WorkingDirectory {

QString current(bool *ok)
{
    // Qt gives an empty path when the system cannot name the directory (removed, no access).
    const QString path = textBeforeNul(QDir::currentPath());
    if (ok)
        *ok = !path.isEmpty();
    return path;
}

bool change(const QString &path)
{
    return !path.isEmpty() && QDir::setCurrent(path);
}

QString textBeforeNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

} // namespace WorkingDirectory
