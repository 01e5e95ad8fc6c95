#include "core/radio/portselection.h"

#include "core/radio/readinesspoll.h"

#include <QCoreApplication>

QString PortSelection::Option::toolTip() const
{
    QString device = devicePath.isEmpty() ? QStringLiteral("COM%1").arg(port) : devicePath;
    const QString node = PortTable::resolvedDevice(devicePath);
    if (node != devicePath)
        device += QStringLiteral(" → %1").arg(node);
    QStringList lines{enabled ? device : QCoreApplication::translate("PortSelection", "%1：%2").arg(device, why.isEmpty() ? SerialLink::describe(fault) : why)};
    lines += details.toolTipLines();
    return lines.join(u'\n');
}

PortSelection::PortSelection(SerialLink &port, ReadinessPoll &poll, std::function<bool()> linkBusy)
    : m_port(port)
    , m_poll(poll)
    , m_linkBusy(std::move(linkBusy))
{
    for (int n = PortTable::FirstPort; n <= PortTable::LastPort; ++n)
        m_options[n - 1].port = n;
}

void PortSelection::load()
{
    m_poll.stop();
    m_previous = qint16(m_port.portNumber());
    for (int n = PortTable::LastPort; n >= PortTable::FirstPort; --n) {
        Option &option = m_options[n - 1];
        option.devicePath = m_port.ports().devicePath(n);
        option.details = PortDetails::of(option.devicePath);
        const bool opened = openPort(n);
        option.enabled = opened;
        option.selected = opened && n == m_previous;
        option.fault = opened ? SerialLink::OpenFault::None : m_port.openFault();
        option.why = opened ? QString() : m_port.explainOpenFault(PortAccess::Language::Chinese);
    }
    openPort(m_previous);
}

int PortSelection::selectedPort() const
{
    for (const Option &option : m_options) {
        if (option.selected)
            return option.port;
    }
    return 0;
}

PortSelection::Outcome PortSelection::accept(int port)
{
    // Moving the port under a running transfer would cut it off mid-way.
    if (busy())
        return Outcome::Busy;
    Outcome outcome = Outcome::Kept;
    if (port >= PortTable::FirstPort && port <= PortTable::LastPort) {
        m_failureRemedy.clear();
        outcome = openPort(port) ? Outcome::Moved : Outcome::Failed;
        if (outcome == Outcome::Failed) {
            m_options[port - 1].selected = false;
            const bool telling = m_port.openFault() == SerialLink::OpenFault::NoPermission
                || (m_port.openFault() == SerialLink::OpenFault::InUse && m_port.openFacts().holderPid);
            if (telling)
                m_failureRemedy = m_port.explainOpenFault(PortAccess::Language::Chinese);
        }
    }
    if (outcome != Outcome::Moved)
        openPort(m_previous);
    restartPoll();
    return outcome;
}

PortSelection::Outcome PortSelection::cancel()
{
    // The transfer restarts the poll itself when it ends.
    if (busy())
        return Outcome::Busy;
    if (!m_port.isOpen() || m_port.portNumber() != m_previous)
        openPort(m_previous);
    restartPoll();
    return Outcome::Kept;
}

bool PortSelection::openPort(int port)
{
    m_port.close();
    m_port.setPortNumber(port);
    m_port.open();
    return m_port.isOpen();
}

void PortSelection::restartPoll()
{
    // The poll has nobody to ask on a closed port.
    if (m_port.isOpen())
        m_poll.start();
}
