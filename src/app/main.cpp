#include "app/fonts.h"
#include "app/mainwindow.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qz300"));
    Fonts::installSubstitutes();

    const auto window = Startup::run(Startup::databaseFileName(), PortTable::fromEnvironment());
    if (!window)
        return 1;
    return app.exec();
}
