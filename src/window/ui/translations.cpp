#include "window/ui/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace Translations {

namespace {

QTranslator *&qtChinese()
{
    static QTranslator *installed = nullptr;
    return installed;
}

QTranslator *&programCatalogue()
{
    static QTranslator *installed = nullptr;
    return installed;
}

Language &installedLanguage()
{
    static Language language = Language::Chinese;
    return language;
}

void remove(QTranslator *&translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

} // namespace

QString qtChineseFile()
{
    return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(QStringLiteral("qtbase_zh_CN.qm"));
}

bool installQtChinese()
{
    QTranslator *&installed = qtChinese();
    if (installed)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(qtChineseFile()) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed = translator;
    return true;
}

bool installProgramTexts(Language language)
{
    remove(programCatalogue());
    installedLanguage() = Language::Chinese;
    if (language == Language::Chinese)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/i18n/qz300_en.qm")) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    programCatalogue() = translator;
    installedLanguage() = language;
    return true;
}

bool installQtTexts(Language language)
{
    if (language == Language::Chinese)
        return installQtChinese();
    remove(qtChinese());
    return true;
}

Language current()
{
    return installedLanguage();
}

} // namespace Translations
