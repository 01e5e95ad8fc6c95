#include "pseudoterminal.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    // A new pty echoes and buffers lines; a serial line does neither.
    termios settings{};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave, TCSANOW, &settings);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    // A program started from here (qz300-cli under test) must not inherit the ends: a master held
    // by a child would keep the line up after hangUp().
    fcntl(master, F_SETFD, fcntl(master, F_GETFD) | FD_CLOEXEC);
    fcntl(slave, F_SETFD, fcntl(slave, F_GETFD) | FD_CLOEXEC);
    m_master = master;
    // Holding the slave open keeps the master readable between the program's opens and closes.
    m_slave = slave;
    m_devicePath = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal()
{
    hangUp();
    if (m_slave >= 0)
        ::close(m_slave);
    m_slave = -1;
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray bytes;
    if (m_master < 0)
        return bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    return bytes;
}

QByteArray PseudoTerminal::readFor(int milliseconds, qsizetype count)
{
    QByteArray bytes;
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired() && (count < 0 || bytes.size() < count)) {
        // The program under test lives in this thread: keep its event loop turning while we wait.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        pollfd waiting{m_master, POLLIN, 0};
        ::poll(&waiting, 1, int(qBound(qint64(0), deadline.remainingTime(), qint64(5))));
        bytes += readAvailable();
    }
    return bytes;
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return false;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            QThread::msleep(1);
            continue;
        }
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

qsizetype PseudoTerminal::writeSome(const QByteArray &bytes)
{
    if (m_master < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::write(m_master, bytes.constData(), size_t(bytes.size()));
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN ? 0 : -1;
    }
}

void PseudoTerminal::hangUp()
{
    // Closing the master hangs up every open slave. Our own slave stays open until we go, so the
    // terminal's number is not handed to another process while a program may still retry the path.
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
