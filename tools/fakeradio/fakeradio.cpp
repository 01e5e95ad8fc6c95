#include "fakeradio.h"

#include <QSocketNotifier>

namespace {

// The radio stores the receive frequency lowered by its 21.4 MHz intermediate frequency.
constexpr qint64 ReceiveOffset10Hz = 2'140'000;
// A write that stalls this long is given up, so that the next command is heard again.
constexpr qint64 WriteStallNs = 1'000'000'000;

QString swappedPairs(qint64 value)
{
    const QString digits = QStringLiteral("%1").arg(value, 8, 10, QLatin1Char('0'));
    return digits.mid(6, 2) + digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
}

} // namespace

FakeRadio::FakeRadio(QObject *parent)
    : QObject(parent)
    , m_frames(defaultFrames())
{
    m_clock.start();
    m_pacer.setSingleShot(true);
    m_pacer.setTimerType(Qt::PreciseTimer);
    connect(&m_pacer, &QTimer::timeout, this, &FakeRadio::sendNext);
    m_flood.setInterval(1);
    connect(&m_flood, &QTimer::timeout, this, &FakeRadio::flood);
    if (m_pty.isOpen()) {
        m_notifier = new QSocketNotifier(m_pty.masterDescriptor(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FakeRadio::readLine);
    }
}

FakeRadio::~FakeRadio()
{
    hangUp();
}

QString FakeRadio::frame(int address, bool shift, qint64 receive10Hz, qint64 transmit10Hz)
{
    const qint64 receiveField = receive10Hz == 0 ? 0 : receive10Hz - ReceiveOffset10Hz;
    return QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')) + QLatin1Char('0') + QLatin1Char(shift ? '1' : '0')
        + swappedPairs(receiveField) + swappedPairs(transmit10Hz);
}

QStringList FakeRadio::defaultFrames()
{
    QStringList frames;
    for (int channel = 1; channel <= FrameCount; ++channel) {
        const qint64 frequency = 14'500'000 + 2'500 * (channel - 1); // 145.000 MHz in 25 kHz steps
        frames << frame(channel == 1 ? 3 : channel - 1, channel % 4 == 0, frequency, frequency);
    }
    return frames;
}

void FakeRadio::inject(const QByteArray &bytes)
{
    m_pty.write(bytes);
}

void FakeRadio::hangUp()
{
    delete m_notifier;
    m_notifier = nullptr;
    m_pacer.stop();
    m_flood.stop();
    m_outgoing.clear();
    m_pty.hangUp();
}

void FakeRadio::readLine()
{
    const QByteArray bytes = m_pty.readAvailable();
    for (const char c : bytes)
        handle(c);
}

void FakeRadio::handle(char c)
{
    m_received += c;
    if (m_echo)
        m_pty.write(QByteArray(1, c));
    // A radio pouring out digits hears nothing else (and a paced answer could not get through).
    if (m_silent || m_flood.isActive())
        return;
    const qint64 now = m_clock.nsecsElapsed();
    if (m_collecting && now - m_lastReceivedNs > WriteStallNs)
        m_collecting = false;
    m_lastReceivedNs = now;

    if (m_collecting) {
        m_incoming += c;
        if (m_incoming.size() < FrameLength * FrameCount)
            return;
        m_collecting = false;
        QStringList frames;
        for (int i = 0; i < FrameCount; ++i)
            frames << QString::fromLatin1(m_incoming.mid(i * FrameLength, FrameLength));
        if (m_corruptFrame >= 1 && m_corruptFrame <= FrameCount) {
            QString &wrong = frames[m_corruptFrame - 1];
            const int digit = wrong.at(FrameLength - 1).digitValue();
            wrong[FrameLength - 1] = QLatin1Char(char('0' + (digit + 1 + 10) % 10));
        }
        m_frames = frames;
        ++m_writesStored;
        emit framesStored();
        return;
    }

    switch (c) {
    case 'C':
        queue("C");
        break;
    case 'A':
        m_collecting = true;
        m_incoming.clear();
        break;
    case '5': {
        if (!m_endless.isEmpty()) {
            m_endlessChunk = m_endless.repeated(qMax(qsizetype(1), 4096 / m_endless.size()));
            m_endlessOffset = 0;
            m_pacer.stop();
            m_outgoing.clear();
            m_flood.start();
            break;
        }
        const QByteArray answer = readAnswer();
        m_answerPending = !answer.isEmpty();
        queue(answer, m_answerDelayNs);
        break;
    }
    default:
        break; // the radio ignores what it does not understand
    }
}

QByteArray FakeRadio::readAnswer() const
{
    QByteArray answer = m_strayPrefix;
    const int count = m_stopAfter < 0 ? int(m_frames.size()) : qMin(m_stopAfter, int(m_frames.size()));
    for (int i = 0; i < count; ++i) {
        QByteArray frame = m_frames.at(i).toLatin1();
        if (i + 1 == m_noiseFrame)
            frame[9] = m_noise;
        answer += frame;
    }
    return answer;
}

void FakeRadio::flood()
{
    // As much as the line takes each millisecond, picking up the pattern where it left off.
    for (int chunk = 0; chunk < 16; ++chunk) {
        const QByteArray bytes = m_endlessChunk.mid(m_endlessOffset) + m_endlessChunk.left(m_endlessOffset);
        const qsizetype n = m_pty.writeSome(bytes);
        if (n < 0) {
            m_flood.stop();
            return;
        }
        m_endlessSent += n;
        m_endlessOffset = (m_endlessOffset + n) % m_endlessChunk.size();
        if (n < bytes.size())
            return;
    }
}

void FakeRadio::queue(const QByteArray &bytes, qint64 delayNs)
{
    if (bytes.isEmpty())
        return;
    if (m_outgoing.isEmpty() && !m_pacer.isActive()) {
        // The command took one character time to arrive, the first answer character takes another.
        m_nextDueNs = m_clock.nsecsElapsed() + 2 * CharacterNs + delayNs;
    }
    m_outgoing += bytes;
    if (!m_pacer.isActive())
        schedule();
}

void FakeRadio::schedule()
{
    const qint64 waitNs = m_nextDueNs - m_clock.nsecsElapsed();
    m_pacer.start(waitNs <= 0 ? 0 : int((waitNs + 999'999) / 1'000'000));
}

void FakeRadio::sendNext()
{
    if (m_outgoing.isEmpty())
        return;
    m_pty.write(m_outgoing.left(1));
    m_outgoing.remove(0, 1);
    if (m_outgoing.isEmpty()) {
        if (m_answerPending) {
            m_answerPending = false;
            emit answerSent();
        }
        return;
    }
    m_nextDueNs += CharacterNs;
    // Never faster than the line: a late character delays the rest instead of bunching them up.
    const qint64 now = m_clock.nsecsElapsed();
    if (m_nextDueNs < now - CharacterNs)
        m_nextDueNs = now;
    schedule();
}
