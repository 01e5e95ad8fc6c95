// The radio's previous channel sets, kept as channel files in the user's data folder before each
// write: named by date, time and port, the newest 100 kept.
#pragma once

#include "core/channels/channelset.h"
#include "core/files/channelfile.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace BackupStore {

/// How many backups are kept; the oldest beyond are removed after each save.
constexpr int Kept = 100;

/// <data folder>/backups
QString folder();

struct Saved
{
    QString path;  ///< the new backup file, when saved
    QString error; ///< why nothing was saved, for the user; empty on success
};

/// Keeps `set`, read from the radio on `port` (COMn or a device name) at `time`, then removes
/// the backups beyond Kept made least recently by their files' times (the new one always stays;
/// files of other names are left alone). A backup that cannot be removed
/// stays; the save has still succeeded.
Saved save(const ChannelSet &set, const QString &port, const QDateTime &time = QDateTime::currentDateTime());

/// One kept backup, as its file name tells it.
struct Backup
{
    QDateTime time; ///< when the radio was read, to the second
    QString port;   ///< the port as the file name holds it: COMn, or a device path with '-' for '/'
    QString path;
};

/// What a file name in the folder says, or nothing (a null time) for a file that is no backup.
Backup parseName(const QString &fileName);

/// The backups in the folder, newest first; other files are left out.
QList<Backup> list();

/// The channel set a backup holds, or why it cannot be read.
ChannelFile::ReadResult load(const QString &path);

/// The first channels' receive frequencies, for a list of backups: "1: 145.50000  2: …  3: … …".
QString summary(const ChannelSet &set, int channels = 3);

} // namespace BackupStore
