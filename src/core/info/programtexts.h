// The program's texts in English for a front end that speaks English only (the command line):
// the catalogue built into the program, for the messages the core gives.
#pragma once

#include <QStringList>

namespace ProgramTexts {

/// Where the English catalogue is built into the program.
inline constexpr char EnglishCatalogue[] = ":/i18n/qz300_en.qm";

/// Installs the English catalogue into the running application, leaving the texts of
/// `keptContexts` as they are written (a printed page stays the page the window prints); false
/// when the catalogue cannot be loaded.
bool installEnglish(const QStringList &keptContexts = {});

} // namespace ProgramTexts
