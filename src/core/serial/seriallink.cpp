#include "core/serial/seriallink.h"

#include "core/serial/linetrace.h"
#include "core/serial/modemlines.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#endif

SerialLink::SerialLink(PortTable ports, QObject *parent)
    : QObject(parent)
    , m_ports(std::move(ports))
    , m_port(this)
    , m_modemLines(std::make_shared<PortModemLines>())
    , m_gather(this)
{
    m_port.setReadBufferSize(InputLimit);
    m_gather.setObjectName(QStringLiteral("inputGather"));
    m_gather.setSingleShot(true);
    m_gather.setInterval(GatherMs);
    connect(&m_gather, &QTimer::timeout, this, &SerialLink::gatherEnded);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialLink::portReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLink::handleError);
}

SerialLink::~SerialLink()
{
    m_port.close();
}

void SerialLink::setModemLines(std::shared_ptr<ModemLines> lines)
{
    m_modemLines = lines ? std::move(lines) : std::make_shared<PortModemLines>();
}

void SerialLink::setTrace(std::shared_ptr<LineTrace> trace)
{
    m_trace = std::move(trace);
    m_tracedWaiting = m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

void SerialLink::setPortNumber(int port)
{
    if (!m_port.isOpen())
        m_portNumber = port;
}

QString SerialLink::shownName() const
{
    return m_shownName.isEmpty() ? QStringLiteral("COM%1").arg(m_portNumber) : m_shownName;
}

bool SerialLink::isOpen() const
{
    return m_port.isOpen();
}

void SerialLink::close()
{
    stopGathering();
    m_port.close();
    m_tracedWaiting = 0;
}

bool SerialLink::open()
{
    if (m_port.isOpen())
        return true;

    m_openFault = OpenFault::None;
    m_openErrorText.clear();
    m_openFacts = {};
    const QString path = devicePath();
    if (path.isEmpty()) {
        m_openFault = OpenFault::NoDevice;
        m_openErrorText = describe(m_openFault);
        return false;
    }
    // The device node itself, not a /dev/serial/by-id link to it: the lock another program
    // takes on the node must be the one this open looks for.
    const QString node = PortTable::resolvedDevice(path);
    // Qt takes a lock file older than 30 s for a stale one and removes it, though minicom and
    // its kind hold the port as long as they run; and it would read a FIFO in the lock's place
    // for ever. A lock another live program holds keeps the port closed.
    if (PortAccess::isHeldElsewhere(PortAccess::lockOf(node))) {
        m_openFault = OpenFault::InUse;
        m_openFacts = PortAccess::of(node);
        m_openErrorText = describe(m_openFault);
        return false;
    }
    m_port.setPortName(node);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_openFault = faultOf(m_port.error());
        m_openErrorText = m_port.errorString();
        m_port.clearError();
        return false;
    }
    // The radio speaks 1200 8N1 with no handshake.
    const bool configured = m_port.setBaudRate(QSerialPort::Baud1200) && m_port.setDataBits(QSerialPort::Data8)
        && m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_openFault = OpenFault::Other;
        m_openErrorText = m_port.errorString();
        m_port.close();
        return false;
    }
    // After the flow control is off: Qt refuses RTS under hardware handshake.
    m_modemLines->set(m_port, ModemLines::DataTerminalReadyAtOpen, ModemLines::RequestToSendAtOpen);
    m_port.clear(QSerialPort::AllDirections);
    m_tracedWaiting = 0;
    stopGathering();
    return true;
}

void SerialLink::portReadyRead()
{
    traceArrivals();
    // Later arrivals are handed on when the gathering ends (a reader that emptied the buffer
    // woke the notifier early).
    if (m_gather.isActive()) {
        if (!m_unannounced.isValid())
            m_unannounced.start();
        return;
    }
    if (m_draining) {
        m_draining = false;
        // A line that is still sending is gathered on at once, the notifier at rest: a steady
        // answer wakes the program once a gathering, by its timer, not again for its first character.
        m_watching.start();
        m_gather.start();
        announce();
        // After the hand-over: a reader taking its characters wakes Qt's notifier again.
        if (m_gather.isActive())
            rest();
        return;
    }
    rest();
    if (!m_unannounced.isValid())
        m_unannounced.start();
    m_gather.start();
}

void SerialLink::rest()
{
    // While Qt's read notifier rests, what arrives waits in the kernel and the event thread
    // sleeps. Without one to rest (another platform) Qt keeps reading and only the signal waits.
    m_restingNotifier = activeReadNotifier();
    if (m_restingNotifier)
        m_restingNotifier->setEnabled(false);
}

qint64 SerialLink::waitingInKernel() const
{
#ifdef Q_OS_UNIX
    int waiting = 0;
    if (m_port.isOpen() && ::ioctl(int(m_port.handle()), FIONREAD, &waiting) == 0)
        return waiting;
#endif
    return 0;
}

void SerialLink::announce()
{
    m_unannounced.invalidate();
    emit readyRead();
}

qint64 SerialLink::msSinceUnannouncedInput() const
{
    if (m_unannounced.isValid())
        return m_unannounced.elapsed();
    // Gathering on after a hand-over: what arrived since waits in the kernel, at most this old.
    if (m_watching.isValid() && waitingInKernel() > 0)
        return m_watching.elapsed();
    return -1;
}

void SerialLink::gatherEnded()
{
    const bool rested = !m_restingNotifier.isNull();
    if (rested)
        m_restingNotifier->setEnabled(true);
    m_restingNotifier.clear();
    m_watching.invalidate();
    if (!m_port.isOpen())
        return;
    // A full buffer stops Qt reading without a signal: hand on what it holds now.
    if (rested && m_port.bytesAvailable() < InputLimit && waitingInKernel() > 0) {
        m_draining = true;
        return;
    }
    // Gathering on after a hand-over, nothing came: the line is quiet and the notifier awake again.
    if (m_unannounced.isValid())
        announce();
}

void SerialLink::stopGathering()
{
    m_gather.stop();
    m_draining = false;
    m_unannounced.invalidate();
    m_watching.invalidate();
    if (m_restingNotifier && m_port.isOpen())
        m_restingNotifier->setEnabled(true);
    m_restingNotifier.clear();
}

QSocketNotifier *SerialLink::activeReadNotifier() const
{
    // Qt keeps the notifier as the port's child; one of a closed port is disabled and waits for
    // deletion.
    const auto notifiers = m_port.findChildren<QSocketNotifier *>(Qt::FindDirectChildrenOnly);
    for (QSocketNotifier *notifier : notifiers) {
        if (notifier->type() == QSocketNotifier::Read && notifier->isEnabled() && notifier->socket() == qintptr(m_port.handle()))
            return notifier;
    }
    return nullptr;
}

void SerialLink::traceArrivals()
{
    // Recorded as Qt takes them from the device, before any reader: the time is the arrival's.
    if (!m_trace)
        return;
    const qint64 waiting = m_port.bytesAvailable();
    if (waiting > m_tracedWaiting)
        m_trace->record(devicePath(), LineTrace::Direction::Received, m_port.peek(waiting).mid(m_tracedWaiting));
    m_tracedWaiting = waiting;
}

void SerialLink::tracedTaken(qint64 count)
{
    m_tracedWaiting = qMax(qint64(0), m_tracedWaiting - count);
}

void SerialLink::send(const QByteArray &text)
{
    if (!m_port.isOpen())
        return;
    if (m_trace)
        m_trace->record(devicePath(), LineTrace::Direction::Sent, text);
    m_port.write(text);
}

QString SerialLink::takeChar()
{
    if (!m_port.isOpen())
        return {};
    char c = 0;
    if (m_port.read(&c, 1) != 1)
        return {};
    tracedTaken(1);
    return QString(QChar::fromLatin1(c));
}

QByteArray SerialLink::takeInput()
{
    if (!m_port.isOpen())
        return {};
    const QByteArray taken = m_port.readAll();
    tracedTaken(taken.size());
    return taken;
}

int SerialLink::waitingCount() const
{
    return m_port.isOpen() ? int(m_port.bytesAvailable()) : 0;
}

void SerialLink::discardInput()
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
    m_tracedWaiting = 0;
}

QString SerialLink::describe(OpenFault fault)
{
    switch (fault) {
    case OpenFault::None:
        return QString();
    case OpenFault::NoDevice:
        return tr("无此端口");
    case OpenFault::Missing:
        return tr("设备不存在");
    case OpenFault::InUse:
        return tr("已被其他程序占用");
    case OpenFault::NoPermission:
        return tr("无权限访问（需加入 dialout 组）");
    case OpenFault::Other:
        return tr("无法打开");
    }
    return QString();
}

QString SerialLink::explain(OpenFault fault, const QString &device, const PortAccess::Facts &facts, PortAccess::Language language)
{
    const bool english = language == PortAccess::Language::English;
    switch (fault) {
    case OpenFault::NoPermission:
        return PortAccess::permissionRemedy(device, facts, language);
    case OpenFault::InUse: {
        if (!facts.oddLock.isEmpty())
            return english ? QStringLiteral("in use: its lock %1 is not a regular file").arg(facts.oddLock)
                           : tr("已被占用：锁文件 %1 不是普通文件").arg(facts.oddLock);
        const QString holder = PortAccess::holder(facts, language);
        if (holder.isEmpty())
            return english ? QStringLiteral("in use") : describe(fault);
        return english ? QStringLiteral("in use by %1").arg(holder) : tr("已被%1占用").arg(holder);
    }
    default:
        break;
    }
    return english ? QString() : describe(fault);
}

QString SerialLink::explainOpenFault(PortAccess::Language language) const
{
    return explain(m_openFault, PortTable::resolvedDevice(devicePath()), m_openFacts, language);
}

SerialLink::OpenFault SerialLink::faultOf(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFault::Missing;
    case QSerialPort::PermissionError: {
        // Qt reports both a lock held by another program and a device we may not open this way.
        m_openFacts = PortAccess::of(PortTable::resolvedDevice(devicePath()));
        if (m_openFacts.exists && !m_openFacts.mayOpen)
            return OpenFault::NoPermission;
        return OpenFault::InUse;
    }
    default:
        return OpenFault::Other;
    }
}

void SerialLink::handleError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || !m_port.isOpen())
        return;
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError || error == QSerialPort::WriteError) {
        // Qt repeats a read error endlessly once the far end is gone: close on the first one.
        const QString reason = m_port.errorString();
        stopGathering();
        m_port.close();
        m_port.clearError();
        m_tracedWaiting = 0;
        emit failed(reason);
    }
}
