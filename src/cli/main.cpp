// qz300-cli: the radio link without the window, for scripts and for programming many radios at once.
#include "cli/cliapp.h"
#include "cli/commandline.h"
#include "core/info/programtexts.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QString ignored; // CliApp::run reports it
    std::unique_ptr<QCoreApplication> app;
    if (CommandLine::parse(arguments, &ignored).needsGui()) {
        // Drawing a page needs fonts, not a screen: over ssh or in a script there is none to
        // reach, and a platform named for a desktop that is not there would abort the program.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("qz300-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QZ300_VERSION));
    // The command line speaks English; the printed page is the one the window prints.
    ProgramTexts::installEnglish({QStringLiteral("ChannelListPage")});
    return CliApp::run(QCoreApplication::arguments().mid(1));
}
