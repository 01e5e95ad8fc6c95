// The program's kept settings (options, window state, recent files): one INI file per user, where
// Qt puts it (~/.config/qz300/qz300.ini on Linux), the same for every way the program is started.
#pragma once

#include <QSettings>

#include <memory>

namespace ProgramSettings {

/// The settings file, opened for reading and writing; changes are written when it is destroyed.
std::unique_ptr<QSettings> open();

} // namespace ProgramSettings
