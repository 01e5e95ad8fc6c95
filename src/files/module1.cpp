#include "files/module1.h"

#include <QDir>

namespace Module1 {

QString GetWorkDir(bool *ok)
{
    // Qt gives an empty path when the system cannot name the directory (removed, no access).
    const QString path = StripNul(QDir::currentPath());
    if (ok)
        *ok = !path.isEmpty();
    return path;
}

bool SetWorkDir(const QString &path)
{
    return !path.isEmpty() && QDir::setCurrent(path);
}

QString StripNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

} // namespace Module1
