#include "app/mainwindow.h"
#include "app/startup.h"
#include "files/workingfolder.h"
#include "ui/fonts.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qz300"));
    QApplication::setApplicationVersion(QStringLiteral(QZ300_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.qz300.qz300"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("QZ300 对讲机信道写频软件：读出、编辑并写入 QZ300 的 16 个信道。"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption offline(QStringLiteral("offline"),
                                     QStringLiteral("离线编辑：不打开串行端口（信道表、文件可用；读写对讲机前请用“选择端口”选择端口）。"));
    const QCommandLineOption desktop(WorkingFolder::desktopOption().mid(2),
                                     QStringLiteral("在用户数据文件夹（~/.local/share/qz300）中工作，供桌面菜单使用。"));
    parser.addOptions({offline, desktop});
    // --help, --version and a wrong option are answered here and end the program.
    parser.process(app);

    Fonts::installSubstitutes();

    if (parser.isSet(desktop)) {
        const QString error = WorkingFolder::enterDesktopDataFolder();
        if (!error.isEmpty()) {
            Messages::show(nullptr, QStringLiteral("系统信息"), error, Messages::Icon::Critical);
            return 1;
        }
    }

    const auto start = parser.isSet(offline) ? MainWindow::LinkStart::Offline : MainWindow::LinkStart::ProbePorts;
    const auto window = Startup::run(Startup::databaseFileName(), PortTable::fromEnvironment(), start);
    if (!window)
        return 1;
    return app.exec();
}
