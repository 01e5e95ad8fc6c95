// Qt's own Chinese texts for the standard dialogs, buttons and context menus (确定, 取消, ...).
#pragma once

#include <QString>

namespace Translations {

/// The file of Qt's Chinese translations, where this Qt keeps its translations.
QString qtChineseFile();

/// Installs Qt's Chinese translations into the running application; false when they are not
/// installed on this machine (the standard texts then stay English).
bool installQtChinese();

} // namespace Translations
