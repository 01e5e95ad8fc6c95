#include "core/serial/modemlines.h"

#include <QSerialPort>

bool PortModemLines::set(QSerialPort &port, bool dataTerminalReady, bool requestToSend)
{
    // Both are tried even when the first fails: a port may have one line and not the other.
    const bool dtr = port.setDataTerminalReady(dataTerminalReady);
    const bool rts = port.setRequestToSend(requestToSend);
    // A refusal leaves an error on the port that says nothing about the line to the radio.
    port.clearError();
    return dtr && rts;
}
