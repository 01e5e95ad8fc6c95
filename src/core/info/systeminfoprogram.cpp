#include "core/info/systeminfoprogram.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstring>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

SystemInfoProgram::SystemInfoProgram()
    : SystemInfoProgram(&SystemInfoProgram::platformLookup, &SystemInfoProgram::startDetached)
{
}

SystemInfoProgram::SystemInfoProgram(Lookup lookup, Starter starter)
    : m_lookup(std::move(lookup))
    , m_starter(std::move(starter))
{
}

bool SystemInfoProgram::start() const
{
    const QString program = m_lookup ? m_lookup() : QString();
    if (program.isEmpty() || !m_starter)
        return false;
    return m_starter(program);
}

QString SystemInfoProgram::platformLookup()
{
#ifdef Q_OS_WIN
    QString value;
    if (readRegistryValue(LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"), value))
        return value;
    if (readRegistryValue(LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"), value)) {
        const QString program = value + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo(program).isFile())
            return program;
    }
    return QString();
#else
    return lookupOnPath([](const QString &name) { return QStandardPaths::findExecutable(name); });
#endif
}

QString SystemInfoProgram::lookupOnPath(const ExecutableFinder &find)
{
    for (const QString &name : programNames()) {
        const QString path = find(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

QStringList SystemInfoProgram::programNames()
{
    return {QStringLiteral("hardinfo2"),           QStringLiteral("hardinfo"),          QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("mate-system-monitor"), QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

bool SystemInfoProgram::startDetached(const QString &program)
{
    return QProcess::startDetached(program, {});
}

bool SystemInfoProgram::readRegistryValue(quint32 rootKey, const QString &keyPath, const QString &valueName, QString &valueText)
{
#ifdef Q_OS_WIN
    // Reading needs no more than KEY_READ; asking for full access fails for every user
    // without administrator rights.
    HKEY key = nullptr;
    const HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(rootKey)));
    if (RegOpenKeyExW(root, reinterpret_cast<const wchar_t *>(keyPath.utf16()), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        valueText.clear();
        return false;
    }
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExW(key, reinterpret_cast<const wchar_t *>(valueName.utf16()), nullptr, &type,
                         reinterpret_cast<BYTE *>(buffer), &size)
        != ERROR_SUCCESS) {
        valueText.clear();
        RegCloseKey(key);
        return false;
    }
    if (type == REG_SZ) {
        qsizetype length = qsizetype(size / sizeof(wchar_t));
        // The stored text usually carries its terminating NUL, but need not.
        if (length > 0 && buffer[length - 1] == L'\0')
            --length;
        valueText = QString::fromWCharArray(buffer, length);
    } else if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, buffer, sizeof number);
        valueText = QString::number(quint32(number));
    }
    RegCloseKey(key);
    return true;
#else
    Q_UNUSED(rootKey);
    Q_UNUSED(keyPath);
    Q_UNUSED(valueName);
    valueText.clear();
    return false;
#endif
}
