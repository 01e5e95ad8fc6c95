// Starts the main window as the program does and reports how long the process took from its
// start until the window was on screen with the channel table, then exits.
#include "app/mainwindow.h"
#include "app/startup.h"
#include "print/fonts.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

/// Seconds since this process started, from the kernel's own bookkeeping.
double secondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray statLine = stat.readAll();
    // Field 22 (starttime, in clock ticks) counted after the ")" that closes the command name.
    const QList<QByteArray> fields = statLine.mid(statLine.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    const double now = uptime.readAll().split(' ').value(0).toDouble();
    return now - startTicks / double(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Fonts::installSubstitutes();
    const auto window = Startup::run(Startup::databaseFileName(), PortTable::fromEnvironment());
    if (!window)
        return 1;
    // Let the first paint of the window and its grid happen before taking the time.
    QTimer::singleShot(0, [&] {
        window->repaint();
        std::printf("start-up: %.3f s from process start to window shown with the table\n", secondsSinceProcessStart());
        app.quit();
    });
    return app.exec();
}
