#include "app/languagemenu.h"

#include "app/languagechoice.h"
#include "window/ui/messagebox.h"

#include <QActionGroup>
#include <QMenu>

LanguageMenu::LanguageMenu(QMenu *parentMenu, QObject *parent)
    : QObject(parent)
{
    // The same in both languages, so that a user who cannot read the other one still finds it.
    m_menu = parentMenu->addMenu(QStringLiteral("语言 / Language(&L)"));
    m_menu->setObjectName(QStringLiteral("languageMenu"));
    m_menu->menuAction()->setObjectName(QStringLiteral("languageMenu"));
    auto *group = new QActionGroup(m_menu);
    m_chinese = m_menu->addAction(QStringLiteral("中文"));
    m_chinese->setObjectName(QStringLiteral("chineseCommand"));
    m_english = m_menu->addAction(QStringLiteral("English"));
    m_english->setObjectName(QStringLiteral("englishCommand"));
    for (QAction *action : {m_chinese, m_english}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    this->action(Translations::current())->setChecked(true);
    connect(m_chinese, &QAction::triggered, this, [this] { choose(Translations::Language::Chinese); });
    connect(m_english, &QAction::triggered, this, [this] { choose(Translations::Language::English); });
}

QAction *LanguageMenu::action(Translations::Language language) const
{
    return language == Translations::Language::English ? m_english : m_chinese;
}

void LanguageMenu::choose(Translations::Language language)
{
    LanguageChoice::keep(language);
    if (language == Translations::current())
        return;
    const QString text = language == Translations::Language::English
        ? QStringLiteral("下次启动本程序时，界面将使用英文。\nThe window will be in English the next time the program starts.")
        : QStringLiteral("下次启动本程序时，界面将使用中文。\nThe window will be in Chinese the next time the program starts.");
    Messages::show(m_menu->parentWidget() ? m_menu->parentWidget()->window() : nullptr, QStringLiteral("语言 / Language"), text,
                   Messages::Icon::Information);
}
