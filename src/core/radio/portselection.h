// What the port dialog decides: which of COM1 to COM8 open, and where the radio link goes on OK,
// on Cancel and when the dialog is closed. No widgets, so tests reach it without a screen.
#pragma once

#include "core/serial/portdetails.h"
#include "core/serial/porttable.h"
#include "core/serial/seriallink.h"

#include <QString>

#include <array>
#include <functional>

class ReadinessPoll;

class PortSelection
{
public:
    /// What the availability test found for one port number.
    struct Option
    {
        int port = 0;
        bool enabled = true;
        bool selected = false;
        QString devicePath;
        SerialLink::OpenFault fault = SerialLink::OpenFault::None;
        QString why; ///< the fault in words, with the remedy or the holder when known
        PortDetails details;

        /// The device the number stands for (and the node a stable link leads to), why it did
        /// not open, and what the system knows of it: enough to tell which plug is the cable.
        QString toolTip() const;
    };

    enum class Outcome {
        Moved,     ///< the link runs on the chosen port
        Kept,      ///< nothing was chosen; the link stays on the previous port
        Failed,    ///< the chosen port did not open; the link is back on the previous port
        Busy,      ///< a transfer holds the link; nothing was touched
    };

    /// `linkBusy` tells whether a transfer is using the port right now.
    PortSelection(SerialLink &port, ReadinessPoll &poll, std::function<bool()> linkBusy = {});

    /// Stops the poll and tries each port from COM8 down to COM1, then puts the link back on the
    /// port it was on, so that a transfer started while the dialog is up uses the right port.
    void load();

    int previousPort() const { return m_previous; }
    const std::array<Option, PortTable::LastPort> &options() const { return m_options; }
    const Option &option(int port) const { return m_options.at(port - 1); }
    /// The option selected after loading, 0 for none.
    int selectedPort() const;

    /// OK with option `port` selected (0 for none). Restarts the poll when a port is open.
    Outcome accept(int port);
    /// After accept() failed: what the user can do about it (the group to join, the program that
    /// holds the port); empty when there is nothing more to say than that the port did not open.
    QString failureRemedy() const { return m_failureRemedy; }

    /// Cancel or closing the dialog: the link goes back to the previous port.
    Outcome cancel();

private:
    bool busy() const { return m_linkBusy && m_linkBusy(); }
    bool openPort(int port);
    void restartPoll();

    SerialLink &m_port;
    ReadinessPoll &m_poll;
    std::function<bool()> m_linkBusy;
    qint16 m_previous = 0;
    std::array<Option, PortTable::LastPort> m_options;
    QString m_failureRemedy;
};
