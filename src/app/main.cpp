#include "app/mainwindow.h"
#include "app/startup.h"
#include "files/workingfolder.h"
#include "ui/fonts.h"
#include "ui/messagebox.h"
#include "ui/translations.h"

#include <QApplication>
#include <QCommandLineParser>

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
                               QStringLiteral("离线编辑：不打开串行端口（信道表、文件可用；读写对讲机前请用“选择端口”选择端口）。")};
    QCommandLineOption desktop{WorkingFolder::desktopOption().mid(2),
                               QStringLiteral("在用户数据文件夹（~/.local/share/qz300）中工作，供桌面菜单使用。")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QStringLiteral("QZ300 对讲机信道写频软件：读出、编辑并写入 QZ300 的 16 个信道。"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({offline, desktop});
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

} // namespace

int main(int argc, char *argv[])
{
    const Options options;
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameProgram();
        QCommandLineParser parser;
        options.addTo(parser);
        parser.process(app); // prints and ends the program
        return 0;
    }

    QApplication app(argc, argv);
    nameProgram();
    QApplication::setDesktopFileName(QStringLiteral("io.github.qz300.qz300"));
    QCommandLineParser parser;
    options.addTo(parser);
    // A wrong option is answered here and ends the program.
    parser.process(app);

    Fonts::installSubstitutes();
    Translations::installQtChinese(); // without the file the standard buttons stay English

    if (parser.isSet(options.desktop)) {
        const QString error = WorkingFolder::enterDesktopDataFolder();
        if (!error.isEmpty()) {
            Messages::show(nullptr, QStringLiteral("系统信息"), error, Messages::Icon::Critical);
            return 1;
        }
    }

    const auto start = parser.isSet(options.offline) ? MainWindow::LinkStart::Offline : MainWindow::LinkStart::ProbePorts;
    const auto window = Startup::run(Startup::databaseFileName(), PortTable::fromEnvironment(), start);
    if (!window)
        return 1;
    return app.exec();
}
