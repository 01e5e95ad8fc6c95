// Finds and starts the operating system's system-information program for the About box.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class SystemInfoProgram
{
public:
    /// The path of the program to start, or an empty text when there is none.
    using Lookup = std::function<QString()>;
    /// Starts a program without waiting for it; false when it could not be started.
    using Starter = std::function<bool(const QString &program)>;
    /// The full path of an executable of that name on PATH, or an empty text.
    using ExecutableFinder = std::function<QString(const QString &name)>;

    /// The registry root HKEY_LOCAL_MACHINE (the Windows headers make that name a macro).
    static constexpr quint32 LocalMachine = 0x80000002u;

    /// This machine's lookup and a detached start.
    SystemInfoProgram();
    SystemInfoProgram(Lookup lookup, Starter starter);

    /// Finds the program and starts it; false when none was found or it did not start.
    bool start() const;

    /// Windows: the program the registry names. Elsewhere: the first known program on PATH.
    static QString platformLookup();
    /// The first of programNames() that `find` knows.
    static QString lookupOnPath(const ExecutableFinder &find);
    /// System-information programs of the common Linux desktops, most detailed first.
    static QStringList programNames();
    static bool startDetached(const QString &program);

    /// Reads a text or number value below the registry root `rootKey`, read-only. On failure
    /// `valueText` is empty and the result false. Always false off Windows.
    static bool readRegistryValue(quint32 rootKey, const QString &keyPath, const QString &valueName, QString &valueText);

private:
    Lookup m_lookup;
    Starter m_starter;
};
