// From the channel database and the port table to a main window that is up and polling the radio.
#pragma once

#include "app/mainwindow.h"
#include "core/serial/porttable.h"

#include <QString>

#include <memory>

namespace Startup {

/// The channel database, resolved against the current directory.
inline QString databaseFileName()
{
    return QStringLiteral("qz3300E.mdb");
}

/// Opens the channel database and starts the main window on the first port that opens, or with
/// no port at all for offline editing. Returns null after telling the user why the program cannot
/// run (unusable database, no serial port).
std::unique_ptr<MainWindow> run(const QString &databasePath, const PortTable &ports,
                                MainWindow::LinkStart start = MainWindow::LinkStart::ProbePorts);

} // namespace Startup
