#include "core/files/systemerror.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

namespace SystemError {

namespace {

QString causeOf(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("SystemError", "没有权限");
    case ENOSPC:
    case EDQUOT:
        return QCoreApplication::translate("SystemError", "磁盘已满");
    case EROFS:
        return QCoreApplication::translate("SystemError", "文件系统只读");
    case ENOENT:
        return QCoreApplication::translate("SystemError", "文件夹不存在");
    case EFBIG:
        return QCoreApplication::translate("SystemError", "文件超过允许的大小");
    default:
        return QString();
    }
}

} // namespace

QString describe(int errorNumber)
{
    const QString system = QString::fromLocal8Bit(std::strerror(errorNumber));
    const QString cause = causeOf(errorNumber);
    if (cause.isEmpty())
        return system;
    return QCoreApplication::translate("SystemError", "%1（%2）").arg(cause, system);
}

} // namespace SystemError
