// The radio link: one serial port, COM1 to COM8, at 1200 baud 8N1, handing out one character a read.
#pragma once

#include "core/serial/portaccess.h"
#include "core/serial/porttable.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <memory>

class LineTrace;
class ModemLines;
class QSocketNotifier;

class SerialLink : public QObject
{
    Q_OBJECT

public:
    /// Why the last open failed.
    enum class OpenFault { None, NoDevice, Missing, InUse, NoPermission, Other };
    Q_ENUM(OpenFault)

    /// The port and the timers are children of the link: a link opened on another thread moves to
    /// the thread that uses it whole.
    explicit SerialLink(PortTable ports, QObject *parent = nullptr);
    ~SerialLink() override;

    /// The port number the next open uses (COMn); set only while the port is closed.
    int portNumber() const { return m_portNumber; }
    void setPortNumber(int port);

    /// The port's name in messages: "COMn" for the port number, unless a name was given (the
    /// command line names a port by the device path or the name the user gave).
    QString shownName() const;
    void setShownName(const QString &name) { m_shownName = name; }

    bool isOpen() const;
    /// Opens port portNumber() at the radio's settings; true when it is open, also when it
    /// already was. A port that is missing or held elsewhere stays closed; see openFault().
    bool open();
    void close();

    /// What sets DTR and RTS after each open; the real port's lines unless a test replaced it.
    void setModemLines(std::shared_ptr<ModemLines> lines);

    /// Where what goes over the line is recorded, burst by burst, while the port is open; none
    /// when empty.
    void setTrace(std::shared_ptr<LineTrace> trace);
    std::shared_ptr<LineTrace> trace() const { return m_trace; }

    /// Queues text for sending; returns at once.
    void send(const QByteArray &text);

    /// The oldest waiting character, or the empty text when nothing waits. Never waits.
    QString takeChar();

    /// Everything waiting, oldest first, in one call; empty when nothing waits. Never waits.
    QByteArray takeInput();

    /// Received characters held for the readers at most: the radio's whole answer is 320, and a
    /// line that never stops sending must not grow the program. Beyond it the line waits.
    static constexpr qint64 InputLimit = 4096;

    /// How long readyRead() waits after a first character to hand on what follows it too: the
    /// radio sends one every 8.33 ms, and a wake-up of the program for each one costs more than
    /// the answer's handling. A reader that times the line's silence may be told up to this late.
    static constexpr int GatherMs = 60;

    /// Characters received and not yet read.
    int waitingCount() const;

    /// How long ago the first of the characters not yet handed on (by readyRead()) arrived;
    /// -1 when none wait to be handed on. A reader timing the line's silence asks it before
    /// calling the line silent: the gathering may hold the answer's first characters.
    qint64 msSinceUnannouncedInput() const;

    /// Drops everything received and not yet read.
    void discardInput();

    OpenFault openFault() const { return m_openFault; }
    QString openErrorText() const { return m_openErrorText; }
    const PortTable &ports() const { return m_ports; }
    /// The device path of the port number as the table names it (a stable link stays a link).
    QString devicePath() const { return m_ports.devicePath(m_portNumber); }

    /// A plain description of an open fault, for the user.
    static QString describe(OpenFault fault);

    /// Why `device` did not open, and what to do: for a port this user may not open the group
    /// to join, for a port in use the program that holds it when its lock file tells.
    static QString explain(OpenFault fault, const QString &device, const PortAccess::Facts &facts, PortAccess::Language language);
    /// explain() for the last open.
    QString explainOpenFault(PortAccess::Language language) const;
    /// What the system told of the device when the last open failed.
    const PortAccess::Facts &openFacts() const { return m_openFacts; }

signals:
    /// Characters arrived: the first of them at most GatherMs ago.
    void readyRead();
    /// The port failed while open (cable pulled, device gone); it is closed already.
    void failed(const QString &reason);

private:
    void portReadyRead();
    void gatherEnded();
    void announce();
    void rest();
    /// Characters the system holds for the port that Qt has not read yet.
    qint64 waitingInKernel() const;
    void stopGathering();
    QSocketNotifier *activeReadNotifier() const;
    void handleError(QSerialPort::SerialPortError error);
    OpenFault faultOf(QSerialPort::SerialPortError error);
    void traceArrivals();
    void tracedTaken(qint64 count);

    PortTable m_ports;
    QSerialPort m_port;
    std::shared_ptr<ModemLines> m_modemLines;
    std::shared_ptr<LineTrace> m_trace;
    /// Received bytes still waiting for a reader that the trace holds already.
    qint64 m_tracedWaiting = 0;
    int m_portNumber = 1;
    QString m_shownName;
    OpenFault m_openFault = OpenFault::None;
    QString m_openErrorText;
    PortAccess::Facts m_openFacts;
    QTimer m_gather;
    /// Started when a character arrives with none waiting to be handed on; invalid when none wait.
    QElapsedTimer m_unannounced;
    /// Started when a gathering goes on after a hand-over with nothing known to wait; invalid otherwise.
    QElapsedTimer m_watching;
    /// The port's read notifier while it rests for the gathering.
    QPointer<QSocketNotifier> m_restingNotifier;
    /// What the kernel held when the gathering ended comes in on Qt's next pass and goes out at once.
    bool m_draining = false;
};
