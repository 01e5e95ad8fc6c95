// Finds the serial port the radio link starts on.
#pragma once

#include <QList>

class SerialLink;

namespace PortProbe {

/// The order the ports are tried in at start-up.
QList<int> startOrder();

/// Opens the first port of the order that opens; returns its number, or 0 when none did
/// (the port is then closed).
int openFirst(SerialLink &port, const QList<int> &order = startOrder());

} // namespace PortProbe
