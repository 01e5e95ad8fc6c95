#include "core/files/programsettings.h"

namespace ProgramSettings {

std::unique_ptr<QSettings> open()
{
    // Named here, not by the application's name: the window and the command line share one file.
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("qz300"),
                                       QStringLiteral("qz300"));
}

} // namespace ProgramSettings
