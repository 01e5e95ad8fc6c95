// COM1 to COM8 as `qz300-cli ports` lists them: the device each stands for, whether it opens or
// why not, what the system knows of the device, and, after a probe, whether a radio answered.
#pragma once

#include "core/serial/portdetails.h"
#include "core/serial/porttable.h"
#include "core/serial/seriallink.h"

#include <QList>
#include <QString>

#include <optional>

namespace PortSurvey {

struct Entry
{
    int port = 0;
    QString device;         ///< as the table names it; empty for no device
    QString resolvedDevice; ///< the device node a link leads to; equal to `device` otherwise
    bool opens = false;
    SerialLink::OpenFault fault = SerialLink::OpenFault::None;
    QString errorText;      ///< the system's words when the fault is Other
    QString explanation;    ///< the remedy or the holder when the fault says more than a word
    PortDetails details;
    std::optional<bool> radioAnswered; ///< set by a probe, for ports that open
};

/// Opens each port of the table in turn and closes it again; nothing is sent.
QList<Entry> survey(const PortTable &table);

/// One line per port: "COM1  /dev/ttyUSB0          opens, radio answered  FT232R USB UART, ...".
QString format(const QList<Entry> &entries);

} // namespace PortSurvey
