#include "core/serial/linetrace.h"

#include <QStringList>

LineTrace::LineTrace()
{
    m_clock.start();
}

void LineTrace::restart()
{
    m_bursts.clear();
    m_kept = 0;
    m_dropped = 0;
    m_clock.restart();
}

void LineTrace::record(const QString &device, Direction direction, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const qsizetype room = ByteLimit - m_kept;
    if (room <= 0) {
        m_dropped += bytes.size();
        return;
    }
    Burst burst{elapsedMs(), device, direction, bytes.left(room)};
    m_dropped += bytes.size() - burst.bytes.size();
    m_kept += burst.bytes.size();
    m_bursts.append(std::move(burst));
}

double LineTrace::elapsedMs() const
{
    return double(m_clock.nsecsElapsed()) / 1e6;
}

QString LineTrace::line(const Burst &burst)
{
    QStringList hex;
    QString shown;
    for (const char byte : burst.bytes) {
        const auto value = uchar(byte);
        hex << QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0'));
        shown += value >= 0x20 && value < 0x7f ? QChar::fromLatin1(byte) : QChar(u'.');
    }
    return QStringLiteral("%1  %2  %3  %4  |%5|")
        .arg(burst.ms, 10, 'f', 1)
        .arg(burst.device, burst.direction == Direction::Sent ? QStringLiteral(">") : QStringLiteral("<"))
        .arg(hex.join(u' '), shown);
}

QString LineTrace::text() const
{
    QString out = QStringLiteral("# ms from the start, device, > sent or < received, the bytes in hex, |as text|\n");
    for (const Burst &burst : m_bursts)
        out += line(burst) + u'\n';
    if (m_dropped > 0)
        out += QStringLiteral("# %1 bytes more were not kept\n").arg(m_dropped);
    return out;
}
