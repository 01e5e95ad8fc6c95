// Which language the window speaks: --lang for one start, else the one chosen in 帮助 → 语言 and
// kept in the settings, else Chinese. The system's locale plays no part: the program was Chinese
// for everyone before it learnt English.
#pragma once

#include "window/ui/translations.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace LanguageChoice {

/// "zh" or "en" (any letter case); nothing for another code.
std::optional<Translations::Language> fromCode(const QString &code);

/// The code for `language` ("zh", "en").
QString code(Translations::Language language);

/// The language kept in the settings; Chinese when none (or an unknown one) is kept.
Translations::Language kept();

/// Keeps `language` for the next starts.
void keep(Translations::Language language);

struct Choice
{
    Translations::Language language = Translations::Language::Chinese;
    QString error; ///< an unknown --lang value: the text to print, and the program ends
};

/// The language for this start from the program's arguments (argv[0] first): the last
/// "--lang CODE" or "--lang=CODE", else the kept one. A --lang without its value is left to the
/// option parser to refuse.
Choice fromArguments(const QStringList &arguments);

} // namespace LanguageChoice
