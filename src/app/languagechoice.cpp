#include "app/languagechoice.h"

#include "core/files/programsettings.h"

namespace LanguageChoice {

namespace {

constexpr auto LanguageKey = "window/language";

} // namespace

std::optional<Translations::Language> fromCode(const QString &code)
{
    const QString lower = code.trimmed().toLower();
    if (lower == QLatin1String("zh"))
        return Translations::Language::Chinese;
    if (lower == QLatin1String("en"))
        return Translations::Language::English;
    return std::nullopt;
}

QString code(Translations::Language language)
{
    return language == Translations::Language::English ? QStringLiteral("en") : QStringLiteral("zh");
}

Translations::Language kept()
{
    const QString stored = ProgramSettings::open()->value(QLatin1String(LanguageKey)).toString();
    return fromCode(stored).value_or(Translations::Language::Chinese);
}

void keep(Translations::Language language)
{
    ProgramSettings::open()->setValue(QLatin1String(LanguageKey), code(language));
}

Choice fromArguments(const QStringList &arguments)
{
    std::optional<QString> asked;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            break;
        } else if (argument == QLatin1String("--lang")) {
            if (i + 1 < arguments.size())
                asked = arguments.at(++i);
        } else if (argument.startsWith(QLatin1String("--lang="))) {
            asked = argument.mid(7);
        }
    }
    Choice choice;
    if (!asked) {
        choice.language = kept();
        return choice;
    }
    if (const auto language = fromCode(*asked)) {
        choice.language = *language;
        return choice;
    }
    // Both languages: the one the user can read is the question.
    choice.error = QStringLiteral("未知的界面语言“%1”：--lang 只接受 zh（中文）或 en（英文）。\n"
                                  "Unknown language '%1': --lang takes zh (Chinese) or en (English).")
                       .arg(*asked);
    return choice;
}

} // namespace LanguageChoice
