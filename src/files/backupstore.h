// The radio's previous channel sets, kept as channel files in the user's data folder before each
// write: named by date, time and port, the newest 100 kept.
#pragma once

#include "channels/channelset.h"

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

/// Keeps `set`, read from the radio on `port` (COMn or a device name) at `time`.
Saved save(const ChannelSet &set, const QString &port, const QDateTime &time = QDateTime::currentDateTime());

} // namespace BackupStore
