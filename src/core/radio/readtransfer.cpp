#include "core/radio/readtransfer.h"

#include "core/radio/channelframe.h"
#include "core/radio/readinesspoll.h"
#include "core/serial/seriallink.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

QString readError()
{
    return QCoreApplication::translate("ReadTransfer", "读数错误！！");
}

} // namespace

ReadTransfer::ReadTransfer(SerialLink &port, QTimer &armTimer, ReadinessPoll *poll, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_armTimer(armTimer)
    , m_poll(poll)
{
    m_armTimer.setInterval(ArmIntervalMs);
    connect(&m_armTimer, &QTimer::timeout, this, &ReadTransfer::armTick);
    m_silence.setObjectName(QStringLiteral("readSilence"));
    m_silence.setSingleShot(true);
    // A coarse timer may fire up to 5 % early: the radio gets its full 2 s.
    m_silence.setTimerType(Qt::PreciseTimer);
    m_silence.setInterval(SilenceLimitMs);
    connect(&m_silence, &QTimer::timeout, this, &ReadTransfer::silence);
    connect(&m_port, &SerialLink::readyRead, this, &ReadTransfer::collect);
    connect(&m_port, &SerialLink::failed, this, &ReadTransfer::portFailed);
}

void ReadTransfer::start(ChannelSetStore store)
{
    if (m_state != State::Idle)
        return;
    m_store = std::move(store);
    m_state = State::Armed;
    m_armTimer.start(ArmIntervalMs);
}

void ReadTransfer::abandon()
{
    if (m_state == State::Idle)
        return;
    m_armTimer.stop();
    end();
}

void ReadTransfer::armTick()
{
    m_armTimer.stop();
    if (m_state != State::Armed)
        return;
    if (m_poll)
        m_poll->stop();
    m_state = State::Collecting;
    m_frame.clear();
    m_frames.clear();
    if (!m_port.isOpen()) {
        fail(readError());
        return;
    }
    // Whatever waits now (an answer to the poll, line noise) would shift every frame.
    m_port.discardInput();
    m_port.send(QByteArray(1, ChannelFrame::ReadCommand));
    restartSilence();
}

void ReadTransfer::restartSilence()
{
    m_sinceHeard.start();
    m_silence.start(SilenceLimitMs);
}

void ReadTransfer::collect()
{
    if (m_state != State::Collecting)
        return;
    // All that has arrived in one call, then character by character.
    const QByteArray received = m_port.takeInput();
    if (received.isEmpty())
        return;
    bool heard = false;
    for (const char byte : received) {
        const QChar c = QChar::fromLatin1(byte);
        // The radio's answer to a poll sent just before the read command can still be on its way.
        if (c == u'C' && m_frames.isEmpty() && m_frame.isEmpty())
            continue;
        if (c < u'0' || c > u'9') {
            fail(tr("%1\n第 %2 信道：应答中有不是数字的字符").arg(readError()).arg(m_frames.size() + 1));
            return;
        }
        m_frame += c;
        // Only frame characters are progress: a line that repeats "C" must not hold the read open.
        heard = true;
        if (m_frame.size() < ChannelFrame::Length)
            continue;
        m_frames << m_frame;
        m_frame.clear();
        emit progress(int(m_frames.size()), ChannelCount);
        if (m_frames.size() == ChannelCount) {
            complete();
            return;
        }
    }
    if (heard)
        restartSilence();
}

void ReadTransfer::silence()
{
    if (m_state != State::Collecting)
        return;
    // Characters that arrived within the limit may still be held by the port's gathering (a radio
    // answering after 1.95 s): the silence counts to the arrival, so wait for them to be handed on.
    const qint64 unannounced = m_port.msSinceUnannouncedInput();
    if (unannounced >= 0 && m_sinceHeard.elapsed() - unannounced <= SilenceLimitMs) {
        m_silence.start(SerialLink::GatherMs);
        return;
    }
    if (m_frames.isEmpty() && m_frame.isEmpty())
        fail(tr("%1\n对讲机没有应答：请检查电缆和对讲机电源").arg(readError()));
    else
        fail(tr("%1\n对讲机的应答在 %2/%3 个信道后中断").arg(readError()).arg(m_frames.size()).arg(ChannelCount));
}

void ReadTransfer::portFailed(const QString &reason)
{
    if (m_state == State::Armed) {
        m_armTimer.stop();
        m_state = State::Collecting;
    }
    if (m_state == State::Collecting)
        fail(tr("%1\n串行端口 %2 出错：%3").arg(readError(), m_port.shownName(), reason));
}

void ReadTransfer::complete()
{
    // Digits that are not a channel (stray characters before the answer shift every frame) must
    // not reach the table.
    for (int k = 0; k < m_frames.size(); ++k) {
        const QString fault = ChannelFrame::answerFault(m_frames.at(k));
        if (!fault.isEmpty()) {
            fail(tr("%1\n第 %2 信道：%3").arg(readError()).arg(k + 1).arg(fault));
            return;
        }
    }
    RadioSet set;
    for (int k = 0; k < ChannelCount; ++k)
        set.channels[k] = ChannelFrame::decode(m_frames.at(k));
    set.squelch = ChannelFrame::squelchOf(m_frames.first());
    if (!m_store) {
        stored(set, QString());
        return;
    }
    // The radio has said all it says: the line rests while the store works.
    m_silence.stop();
    m_state = State::Storing;
    const quint64 ticket = ++m_storeTicket;
    m_store(set, [self = QPointer<ReadTransfer>(this), ticket, set](const QString &error) {
        if (self && self->m_state == State::Storing && self->m_storeTicket == ticket)
            self->stored(set, error);
    });
}

void ReadTransfer::stored(const RadioSet &set, const QString &error)
{
    if (!error.isEmpty()) {
        fail(tr("读出的信道数据无法存入数据库：%1").arg(error));
        return;
    }
    m_set = set;
    end();
    emit finished();
}

void ReadTransfer::fail(const QString &message)
{
    end();
    emit failed(message);
}

void ReadTransfer::end()
{
    m_silence.stop();
    // What the radio sends beyond its answer (or after a fault) has no reader.
    m_port.discardInput();
    m_state = State::Idle;
    m_frame.clear();
    m_frames.clear();
    if (m_poll)
        m_poll->start();
}
