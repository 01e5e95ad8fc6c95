// The modem-control lines a port is given when it opens. Programming cables commonly draw their
// power from DTR, and some radios key the transmitter while RTS is up: DTR on and RTS off, the
// classic defaults of serial controls, set explicitly rather than left to the driver (Linux raises
// both on open).
#pragma once

class QSerialPort;

class ModemLines
{
public:
    static constexpr bool DataTerminalReadyAtOpen = true;
    static constexpr bool RequestToSendAtOpen = false;

    virtual ~ModemLines() = default;

    /// Sets both lines of an open port. False where the port has no such lines (a
    /// pseudo-terminal answers UnsupportedOperationError), which is harmless for the radio.
    virtual bool set(QSerialPort &port, bool dataTerminalReady, bool requestToSend) = 0;
};

/// The lines of a real serial port, through QSerialPort.
class PortModemLines : public ModemLines
{
public:
    bool set(QSerialPort &port, bool dataTerminalReady, bool requestToSend) override;
};
