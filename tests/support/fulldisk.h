// A folder on a small tmpfs mounted for the test and then filled to the last page, so that every
// write there fails with ENOSPC while files already there can still be read. Mounting needs root
// (CI runs as root); elsewhere `skipReason()` says why the test cannot run.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

class FullDisk
{
public:
    FullDisk()
    {
        if (!m_dir.isValid()) {
            m_skipReason = QStringLiteral("no scratch folder for the tmpfs");
            return;
        }
        if (::geteuid() != 0) {
            m_skipReason = QStringLiteral("mounting a small tmpfs needs root");
            return;
        }
        QProcess mount;
        mount.start(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", m_dir.path()});
        m_mounted = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
        if (!m_mounted)
            m_skipReason = QStringLiteral("cannot mount a tmpfs here: %1").arg(QString::fromLocal8Bit(mount.readAllStandardError()).trimmed());
    }

    ~FullDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir.path()});
    }

    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    QString skipReason() const { return m_skipReason; }
    QString folder() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    /// Puts a file there while there is still room.
    bool put(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    }

    /// Fills what room is left; true once a write has failed with ENOSPC.
    bool fill() const
    {
        const int fd = ::open(QFile::encodeName(path(QStringLiteral(".filler"))).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const QByteArray page(4096, 'f');
        int reason = 0;
        for (qsizetype size : {page.size(), qsizetype(1)}) {
            for (int i = 0; i < 1000; ++i) {
                if (::write(fd, page.constData(), size_t(size)) < 0) {
                    reason = errno;
                    break;
                }
            }
        }
        ::close(fd);
        return reason == ENOSPC;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_skipReason;
};
