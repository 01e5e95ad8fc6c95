#include "core/radio/radioscan.h"

#include "core/radio/readinesspoll.h"
#include "core/serial/seriallink.h"

#include <algorithm>

struct RadioScan::Probe
{
    int port = 0;
    SerialLink link;
    ReadinessPoll poll; // declared after the link it uses, so it goes first
    bool answered = false;

    Probe(int number, const PortTable &table)
        : port(number)
        , link(table)
        , poll(link)
    {
        link.setPortNumber(number);
    }
};

RadioScan::RadioScan(PortTable table, QObject *parent)
    : QObject(parent)
    , m_table(std::move(table))
    , m_limit(this)
{
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, &RadioScan::finish);
}

RadioScan::~RadioScan() = default;

void RadioScan::start(const QList<int> &ports, int waitMs)
{
    m_probes.clear();
    for (const int port : ports) {
        auto probe = std::make_unique<Probe>(port, m_table);
        if (!probe->link.open())
            continue;
        Probe *asked = probe.get();
        connect(&probe->poll, &ReadinessPoll::radioReady, this, [this, asked] { portAnswered(*asked); });
        m_probes.push_back(std::move(probe));
    }
    m_running = true;
    if (m_probes.empty()) {
        finish();
        return;
    }
    m_limit.start(waitMs);
    for (const auto &probe : m_probes) {
        if (!m_running)
            break; // every port answered already
        probe->poll.start();
        // The first "C" goes now rather than a tick later.
        probe->poll.pollTick();
    }
}

QList<int> RadioScan::asked() const
{
    QList<int> ports;
    for (const auto &probe : m_probes)
        ports << probe->port;
    return ports;
}

QList<int> RadioScan::answered() const
{
    QList<int> ports;
    for (const auto &probe : m_probes) {
        if (probe->answered)
            ports << probe->port;
    }
    return ports;
}

void RadioScan::portAnswered(Probe &probe)
{
    probe.answered = true;
    probe.link.close();
    const bool allAnswered = std::all_of(m_probes.cbegin(), m_probes.cend(), [](const auto &p) { return p->answered; });
    if (allAnswered)
        finish();
}

void RadioScan::finish()
{
    if (!m_running)
        return;
    m_limit.stop();
    for (const auto &probe : m_probes) {
        probe->poll.stop();
        probe->link.close();
    }
    m_running = false;
    emit finished();
}
