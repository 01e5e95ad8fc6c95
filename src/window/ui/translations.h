// The window's language: the program's own catalogue (the texts are written in Chinese, so Chinese
// needs none) and Qt's texts for the standard dialogs, buttons and context menus (确定, 取消, ...).
#pragma once

#include <QString>

namespace Translations {

enum class Language { Chinese, English };

/// The file of Qt's Chinese translations, where this Qt keeps its translations.
QString qtChineseFile();

/// Installs Qt's Chinese translations into the running application; false when they are not
/// installed on this machine (the standard texts then stay English).
bool installQtChinese();

/// Installs the program's catalogue for `language`, replacing one installed before; false when
/// the catalogue built into the program cannot be loaded.
bool installProgramTexts(Language language);

/// Qt's own texts for `language`: Chinese installs Qt's Chinese catalogue, English removes it
/// (Qt's texts are English). False when the Chinese catalogue is missing on this machine.
bool installQtTexts(Language language);

/// The language of the program's texts now installed.
Language current();

} // namespace Translations
