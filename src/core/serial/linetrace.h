// A record of the serial line for a fault report: every burst sent and received, with its time
// from the start and the device it went over. A SerialLink given one records into it.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>

class LineTrace
{
public:
    enum class Direction { Sent, Received };

    struct Burst
    {
        double ms = 0; ///< from the start of the trace
        QString device;
        Direction direction = Direction::Sent;
        QByteArray bytes;
    };

    /// Bytes kept at the most: a line that never stops sending must not grow the program.
    static constexpr qsizetype ByteLimit = 256 * 1024;

    LineTrace();

    /// Forgets every burst and starts the clock again.
    void restart();

    void record(const QString &device, Direction direction, const QByteArray &bytes);

    /// Milliseconds since the start.
    double elapsedMs() const;

    QList<Burst> bursts() const { return m_bursts; }
    bool isEmpty() const { return m_bursts.isEmpty(); }
    /// Bytes that arrived or went out after the limit was reached and are not kept.
    qint64 droppedBytes() const { return m_dropped; }

    /// One line per burst: "  1234.5  /dev/ttyUSB0  >  35  |5|", the bytes in hex and as text;
    /// a heading line first, starting with "#".
    QString text() const;
    static QString line(const Burst &burst);

private:
    QElapsedTimer m_clock;
    QList<Burst> m_bursts;
    qsizetype m_kept = 0;
    qint64 m_dropped = 0;
};
