// Where the program works when the desktop menu starts it.
#pragma once

#include <QString>
#include <QStringList>

namespace WorkingFolder {

/// The option the desktop entry passes; from a shell the program keeps the shell's directory.
inline QString desktopOption()
{
    return QStringLiteral("--desktop");
}

/// True when the arguments (program name first) ask for the desktop data folder.
bool startedFromDesktop(const QStringList &arguments);

/// The user's own folder for the program under the XDG data home: <data home>/qz300.
QString desktopDataFolder();

/// Creates the desktop data folder when missing and makes it the current directory, so that the
/// channel database lives there. Returns an error text for the user, empty on success.
QString enterDesktopDataFolder();

} // namespace WorkingFolder
