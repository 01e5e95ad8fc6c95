#include "core/radio/writeoptions.h"

#include "core/files/programsettings.h"

namespace {

constexpr auto BackupKey = "write/backupFirst";
constexpr auto ChangesKey = "write/showChanges";
constexpr auto VerifyKey = "write/verifyAfter";

} // namespace

WriteOptions WriteOptions::load()
{
    const auto settings = ProgramSettings::open();
    WriteOptions options;
    options.backupFirst = settings->value(BackupKey, true).toBool();
    options.showChanges = settings->value(ChangesKey, true).toBool();
    options.verifyAfter = settings->value(VerifyKey, true).toBool();
    return options;
}

void WriteOptions::save() const
{
    const auto settings = ProgramSettings::open();
    settings->setValue(BackupKey, backupFirst);
    settings->setValue(ChangesKey, showChanges);
    settings->setValue(VerifyKey, verifyAfter);
}
