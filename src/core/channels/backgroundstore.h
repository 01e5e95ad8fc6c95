// Writes of the channel table that must not hold up the window: a commit waits for the disk (the
// journal and the file are each synced), tens of milliseconds on a slow one. The rows are written
// on a thread of their own, through a connection of its own to the same file.
#pragma once

#include "core/channels/channelrows.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <map>

class BackgroundStoreWriter;

class BackgroundStore : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(const QString &error)>;

    /// `connectOptions` as the table's own connection has them (the busy timeout).
    BackgroundStore(const QString &path, const QString &connectOptions, QObject *parent = nullptr);
    /// Waits for a write in progress: what was handed over is stored or refused, never cut off.
    ~BackgroundStore() override;

    /// ChannelRows::updateAll() on the thread. `done` runs on this object's thread with the error,
    /// empty when every row is stored; it does not run once this object is gone.
    void updateAll(const QStringList &columns, const QList<ChannelRows::Row> &rows, Done done);

private:
    void written(quint64 ticket, const QString &error);

    QThread m_thread;
    BackgroundStoreWriter *m_writer = nullptr;
    quint64 m_lastTicket = 0;
    std::map<quint64, Done> m_waiting;
};
