#include "app/languagechoice.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/files/workingfolder.h"
#include "print/fonts.h"
#include "window/ui/messagebox.h"
#include "window/ui/translations.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstring>

namespace {

void nameProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("qz300"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QZ300_VERSION));
}

struct Options
{
    QCommandLineOption offline{QStringLiteral("offline"),
                               QCoreApplication::translate("Options", "离线编辑：不打开串行端口（信道表、文件可用；读写对讲机前请用“选择端口”选择端口）。")};
    QCommandLineOption desktop{WorkingFolder::desktopOption().mid(2),
                               QCoreApplication::translate("Options", "在用户数据文件夹（~/.local/share/qz300）中工作，供桌面菜单使用。")};
    QCommandLineOption lang{QStringLiteral("lang"),
                            QCoreApplication::translate("Options", "本次启动的界面语言：zh（中文）或 en（英文）；“帮助 → 语言”保存的选择在以后的启动中有效。"),
                            QStringLiteral("zh|en")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QCoreApplication::translate("Options", "QZ300 对讲机信道写频软件：读出、编辑并写入 QZ300 的 16 个信道。"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({offline, desktop, lang});
    }
};

// --help and --version are answered without a window system, so that they work over ssh too.
bool asksForTextOnly(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

// The language decides the texts of the option descriptions, so it is settled before the parser
// is built. False for an unknown --lang, after saying so.
bool installLanguage(const QStringList &arguments, Translations::Language *chosen)
{
    const LanguageChoice::Choice choice = LanguageChoice::fromArguments(arguments);
    if (!choice.error.isEmpty()) {
        std::fputs(qPrintable(QStringLiteral("qz300: %1\n").arg(choice.error)), stderr);
        return false;
    }
    if (!Translations::installProgramTexts(choice.language))
        std::fputs("qz300: the English texts are missing from this build; the window stays Chinese.\n", stderr);
    *chosen = Translations::current();
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    Translations::Language language = Translations::Language::Chinese;
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameProgram();
        if (!installLanguage(QCoreApplication::arguments(), &language))
            return 1;
        const Options options;
        QCommandLineParser parser;
        options.addTo(parser);
        parser.process(app); // prints and ends the program
        return 0;
    }

    QApplication app(argc, argv);
    nameProgram();
    QApplication::setDesktopFileName(QStringLiteral("io.github.qz300.qz300"));
    if (!installLanguage(QCoreApplication::arguments(), &language))
        return 1;
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    // A wrong option is answered here and ends the program.
    parser.process(app);

    Fonts::installSubstitutes();
    // After the parser: its own refusals stay in Qt's English, as before. Without Qt's Chinese
    // file the standard buttons stay English.
    Translations::installQtTexts(language);

    if (parser.isSet(options.desktop)) {
        const QString error = WorkingFolder::enterDesktopDataFolder();
        if (!error.isEmpty()) {
            Messages::show(nullptr, QCoreApplication::translate("Options", "系统信息"), error, Messages::Icon::Critical);
            return 1;
        }
    }

    const auto start = parser.isSet(options.offline) ? MainWindow::LinkStart::Offline : MainWindow::LinkStart::ProbePorts;
    const auto window = Startup::run(Startup::databaseFileName(), PortTable::fromEnvironment(), start);
    if (!window)
        return 1;
    return app.exec();
}
