// qz300-cli's commands, run in the application's event loop; returns the exit status.
#pragma once

#include <QStringList>

namespace CliApp {

/// Runs the command given by the arguments (without the program name).
int run(const QStringList &arguments);

/// The file name for one of several ports: "{port}" replaced by the port's label, or the label put
/// before the extension when there is no placeholder. One port keeps the name as given.
QString outputNameFor(const QString &name, const QString &portLabel, bool severalPorts);

/// A port as it can stand in a file name: COM3, ttyUSB0, pts-4.
QString portLabel(const QString &portName);

} // namespace CliApp
