#include "app/mainwindow.h"
#include "app/startup.h"
#include "files/workingfolder.h"
#include "ui/fonts.h"
#include "ui/messagebox.h"
#include "ui/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qz300"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.qz300.qz300"));
    Fonts::installSubstitutes();
    Translations::installQtChinese(); // without the file the standard buttons stay English

    if (WorkingFolder::startedFromDesktop(QApplication::arguments())) {
        const QString error = WorkingFolder::enterDesktopDataFolder();
        if (!error.isEmpty()) {
            Messages::show(nullptr, QStringLiteral("系统信息"), error, Messages::Icon::Critical);
            return 1;
        }
    }

    const auto window = Startup::run(Startup::databaseFileName(), PortTable::fromEnvironment());
    if (!window)
        return 1;
    return app.exec();
}
