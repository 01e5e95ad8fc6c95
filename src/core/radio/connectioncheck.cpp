#include "core/radio/connectioncheck.h"

#include "core/radio/channelframe.h"
#include "core/radio/readinesspoll.h"
#include "core/radio/readtransfer.h"
#include "core/serial/linetrace.h"

bool PortCheck::isGood() const
{
    if (steps.size() != ConnectionCheck::StepCount)
        return false;
    for (const CheckStep &step : steps) {
        if (step.verdict != CheckStep::Verdict::Passed)
            return false;
    }
    return true;
}

const CheckStep *PortCheck::firstProblem() const
{
    for (const CheckStep &step : steps) {
        if (step.verdict == CheckStep::Verdict::Problem)
            return &step;
    }
    return nullptr;
}

ConnectionCheck::ConnectionCheck(QObject *parent)
    : QObject(parent)
    , m_trace(std::make_shared<LineTrace>())
{
    m_readyLimit.setSingleShot(true);
    connect(&m_readyLimit, &QTimer::timeout, this, &ConnectionCheck::readinessTimedOut);
    m_quiet.setSingleShot(true);
    m_quiet.setTimerType(Qt::PreciseTimer);
    connect(&m_quiet, &QTimer::timeout, this, &ConnectionCheck::readEnded);
    m_readLimit.setSingleShot(true);
    connect(&m_readLimit, &QTimer::timeout, this, &ConnectionCheck::readEnded);
}

ConnectionCheck::~ConnectionCheck()
{
    // The poll holds on to the link: it goes first.
    delete m_poll;
}

void ConnectionCheck::setTrace(std::shared_ptr<LineTrace> trace)
{
    m_trace = trace ? std::move(trace) : std::make_shared<LineTrace>();
}

QList<ConnectionCheck::Target> ConnectionCheck::targetsOf(const PortTable &table)
{
    QList<Target> targets;
    for (int port = PortTable::FirstPort; port <= PortTable::LastPort; ++port) {
        const QString device = table.devicePath(port);
        if (!device.isEmpty())
            targets.append(Target{QStringLiteral("COM%1").arg(port), device});
    }
    return targets;
}

void ConnectionCheck::start(const QList<Target> &targets)
{
    if (m_running)
        return;
    m_targets = targets;
    m_results.clear();
    m_current = -1;
    m_running = true;
    nextPort();
}

void ConnectionCheck::addStep(CheckStep step)
{
    PortCheck &port = m_results.last();
    step.kind = CheckStep::Kind(port.steps.size());
    port.steps.append(step);
    emit stepDone(m_current, step);
}

void ConnectionCheck::skipRest()
{
    while (m_results.last().steps.size() < StepCount)
        addStep(CheckStep{});
}

void ConnectionCheck::nextPort()
{
    ++m_current;
    if (m_current >= m_targets.size()) {
        m_running = false;
        emit finished();
        return;
    }
    const Target &target = m_targets.at(m_current);
    m_results.append(PortCheck{target.name, target.devicePath, {}});
    emit portStarted(m_current);

    using Finding = CheckStep::Finding;
    using Verdict = CheckStep::Verdict;
    CheckStep device;
    device.device = DeviceFacts::of(target.devicePath);
    switch (device.device.presence) {
    case DeviceFacts::Presence::Present:
        device.finding = Finding::DeviceFound;
        break;
    case DeviceFacts::Presence::NoDevice:
        device.finding = Finding::NoDevice;
        break;
    case DeviceFacts::Presence::Missing:
        device.finding = Finding::DeviceMissing;
        break;
    case DeviceFacts::Presence::LinkToNowhere:
        device.finding = Finding::LinkToNowhere;
        break;
    case DeviceFacts::Presence::NotADevice:
        device.finding = Finding::NotADevice;
        break;
    }
    device.verdict = device.finding == Finding::DeviceFound ? Verdict::Passed : Verdict::Problem;
    const DeviceFacts facts = device.device;
    addStep(device);
    if (device.verdict != Verdict::Passed) {
        skipRest();
        endPort();
        return;
    }

    CheckStep access;
    access.device = facts;
    access.finding = facts.mayOpen ? Finding::MayOpen : facts.groupNotActiveYet ? Finding::GroupNotActiveYet : Finding::NotInGroup;
    access.verdict = facts.mayOpen ? Verdict::Passed : Verdict::Problem;
    addStep(access);

    CheckStep others;
    others.holders = PortHolders::inspect(facts.node);
    if (others.holders.lock && others.holders.lock->alive)
        others.finding = Finding::LockedByProcess;
    else if (!others.holders.openBy.isEmpty())
        others.finding = Finding::OpenElsewhere;
    else
        others.finding = others.holders.lock ? Finding::StaleLock : Finding::NoOtherProgram;
    others.verdict = others.finding == Finding::LockedByProcess || others.finding == Finding::OpenElsewhere ? Verdict::Problem : Verdict::Passed;
    addStep(others);
    if (!facts.mayOpen) {
        skipRest();
        endPort();
        return;
    }

    CheckStep opening;
    opening.device = facts;
    opening.holders = others.holders;
    m_link = std::make_unique<SerialLink>(PortTable({target.devicePath}));
    m_link->setPortNumber(PortTable::FirstPort);
    m_link->setTrace(m_trace);
    if (!m_link->open()) {
        opening.finding = Finding::OpenFailed;
        opening.verdict = Verdict::Problem;
        opening.openFault = m_link->openFault();
        opening.openError = m_link->openErrorText();
        opening.openFacts = m_link->openFacts();
        addStep(opening);
        skipRest();
        endPort();
        return;
    }
    opening.finding = Finding::Opened;
    opening.verdict = Verdict::Passed;
    addStep(opening);

    connect(m_link.get(), &SerialLink::readyRead, this, &ConnectionCheck::readArrived);
    connect(m_link.get(), &SerialLink::failed, this, &ConnectionCheck::portFailed);
    m_poll = new ReadinessPoll(*m_link);
    connect(m_poll, &ReadinessPoll::radioReady, this, &ConnectionCheck::readinessAnswered);
    m_stepStartMs = m_trace->elapsedMs();
    m_readyLimit.start(m_readyTimeoutMs);
    m_poll->start();
}

namespace {

/// The bursts of one device from `fromMs` on.
QList<LineTrace::Burst> burstsOf(const LineTrace &trace, const QString &device, double fromMs)
{
    QList<LineTrace::Burst> found;
    const QList<LineTrace::Burst> all = trace.bursts();
    for (const LineTrace::Burst &burst : all) {
        if (burst.device == device && burst.ms >= fromMs)
            found.append(burst);
    }
    return found;
}

} // namespace

void ConnectionCheck::readinessAnswered()
{
    if (!m_readyLimit.isActive())
        return;
    m_readyLimit.stop();
    // From the first "C" sent to the burst that brought one back.
    double sentAt = -1;
    double answeredAt = m_trace->elapsedMs();
    for (const LineTrace::Burst &burst : burstsOf(*m_trace, m_link->devicePath(), m_stepStartMs)) {
        if (burst.direction == LineTrace::Direction::Sent && sentAt < 0)
            sentAt = burst.ms;
        else if (burst.direction == LineTrace::Direction::Received && sentAt >= 0 && burst.bytes.contains('C')) {
            answeredAt = burst.ms;
            break;
        }
    }
    CheckStep ready;
    ready.finding = CheckStep::Finding::RadioReady;
    ready.verdict = CheckStep::Verdict::Passed;
    ready.ms = answeredAt - (sentAt < 0 ? m_stepStartMs : sentAt);
    addStep(ready);
    // As the window's read does: the command goes out one arming tick after the click.
    QTimer::singleShot(ReadTransfer::ArmIntervalMs, this, &ConnectionCheck::startRead);
}

void ConnectionCheck::readinessTimedOut()
{
    m_readyLimit.stop();
    if (m_poll)
        m_poll->stop();
    CheckStep ready;
    ready.verdict = CheckStep::Verdict::Problem;
    ready.ms = m_readyTimeoutMs;
    for (const LineTrace::Burst &burst : burstsOf(*m_trace, m_link->devicePath(), m_stepStartMs)) {
        if (burst.direction == LineTrace::Direction::Received)
            ready.characters += int(burst.bytes.size());
    }
    ready.finding = ready.characters > 0 ? CheckStep::Finding::OtherCharacters : CheckStep::Finding::NoAnswer;
    addStep(ready);
    skipRest();
    endPort();
}

void ConnectionCheck::startRead()
{
    if (!m_link || !m_link->isOpen()) {
        m_reading = true;
        readEnded();
        return;
    }
    m_link->discardInput();
    m_received = 0;
    m_reading = true;
    m_stepStartMs = m_trace->elapsedMs();
    m_link->send(QByteArray(1, ChannelFrame::ReadCommand));
    m_quiet.start(SilenceLimitMs);
    m_readLimit.start(ReadLimitMs);
}

void ConnectionCheck::readArrived()
{
    if (!m_reading) {
        // Between the steps nothing reads; what arrives is in the trace.
        if (m_link && m_poll && !m_poll->isRunning())
            m_link->takeInput();
        return;
    }
    m_received += int(m_link->takeInput().size());
    if (m_received > 2 * ReadAnswer::AnswerLength) {
        readEnded();
        return;
    }
    m_quiet.start(m_received >= ReadAnswer::AnswerLength ? LingerMs : SilenceLimitMs);
}

void ConnectionCheck::readEnded()
{
    if (!m_reading)
        return;
    m_reading = false;
    m_quiet.stop();
    m_readLimit.stop();
    CheckStep read;
    read.answer = ReadAnswer::analyse(m_stepStartMs, burstsOf(*m_trace, m_link->devicePath(), m_stepStartMs));
    using Finding = CheckStep::Finding;
    switch (read.answer.finding) {
    case ReadAnswer::Finding::Complete:
        read.finding = Finding::ReadWell;
        break;
    case ReadAnswer::Finding::Silent:
        read.finding = Finding::ReadSilent;
        break;
    case ReadAnswer::Finding::EchoOnly:
        read.finding = Finding::EchoOnly;
        break;
    case ReadAnswer::Finding::EchoThenAnswer:
        read.finding = Finding::EchoThenAnswer;
        break;
    case ReadAnswer::Finding::Stopped:
        read.finding = Finding::Stopped;
        break;
    case ReadAnswer::Finding::Noise:
        read.finding = Finding::Noise;
        break;
    case ReadAnswer::Finding::NotAChannel:
        read.finding = Finding::NotAChannel;
        break;
    }
    read.verdict = read.finding == Finding::ReadWell ? CheckStep::Verdict::Passed : CheckStep::Verdict::Problem;
    addStep(read);
    endPort();
}

void ConnectionCheck::portFailed(const QString &)
{
    // The answer so far is judged as it stands: a pulled cable reads as silence or a stop.
    if (m_readyLimit.isActive())
        readinessTimedOut();
    else
        readEnded();
}

void ConnectionCheck::endPort()
{
    m_readyLimit.stop();
    m_quiet.stop();
    m_readLimit.stop();
    if (m_poll)
        m_poll->stop();
    if (m_link)
        m_link->close();
    emit portFinished(m_current);
    // The link may be the sender of the signal that ended the port: it goes once that is over.
    QTimer::singleShot(0, this, [this] {
        delete m_poll;
        m_poll = nullptr;
        m_link.reset();
        nextPort();
    });
}
