// 帮助 → 语言 / Language: 中文 and English. The choice is kept and takes effect at the next start:
// every window builds its texts once, so switching while open would leave half of them behind.
#pragma once

#include "window/ui/translations.h"

#include <QObject>

class QAction;
class QMenu;

class LanguageMenu : public QObject
{
    Q_OBJECT

public:
    /// Adds the submenu to `parentMenu`, the language now shown checked.
    explicit LanguageMenu(QMenu *parentMenu, QObject *parent = nullptr);

    QMenu *menu() const { return m_menu; }
    QAction *action(Translations::Language language) const;

private:
    void choose(Translations::Language language);

    QMenu *m_menu = nullptr;
    QAction *m_chinese = nullptr;
    QAction *m_english = nullptr;
};
