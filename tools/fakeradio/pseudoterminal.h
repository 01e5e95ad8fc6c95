// A pseudo-terminal pair: the program opens the device path as its serial port, and whoever holds
// the master end plays the radio.
#pragma once

#include <QByteArray>
#include <QString>

class PseudoTerminal
{
public:
    /// Opens a raw pseudo-terminal; check isOpen().
    PseudoTerminal();
    ~PseudoTerminal();

    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isOpen() const { return m_master >= 0; }
    /// The device path a serial port opens.
    QString devicePath() const { return m_devicePath; }
    int masterDescriptor() const { return m_master; }

    /// Everything the program has sent so far and not yet taken; never waits.
    QByteArray readAvailable();
    /// What the program has sent within the given time (returns early once `count` bytes came).
    /// Processes the thread's events meanwhile, so a program in the same thread keeps running.
    QByteArray readFor(int milliseconds, qsizetype count = -1);
    /// Sends bytes to the program at once.
    bool write(const QByteArray &bytes);
    /// Sends what the line takes now without waiting; how many bytes went (-1 when the line is gone).
    qsizetype writeSome(const QByteArray &bytes);

    /// Hangs up the line, as a pulled cable does.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
};
