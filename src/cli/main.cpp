// qz300-cli: the radio link without the window, for scripts and for programming many radios at once.
#include "cli/cliapp.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qz300-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QZ300_VERSION));
    return CliApp::run(QCoreApplication::arguments().mid(1));
}
