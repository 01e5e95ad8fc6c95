// The program's kept settings (options, window state, recent files): one INI file per user, where
// Qt puts it (~/.config/qz300/qz300.ini on Linux), the same for every way the program is started.
#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace ProgramSettings {

/// The settings file, opened for reading and writing; changes are written when it is destroyed.
/// Should the file be anything but a regular one (a FIFO would hold the program on reading), the
/// settings are kept for this run only and a warning goes to standard error once.
std::unique_ptr<QSettings> open();

/// Where the settings file is: <user's config folder>/qz300/qz300.ini.
QString path();

} // namespace ProgramSettings
