#include "core/channels/backgroundstore.h"

#include <QSqlDatabase>
#include <QSqlError>

/// Lives on the store's thread, which alone uses its connection.
class BackgroundStoreWriter : public QObject
{
    Q_OBJECT

public:
    BackgroundStoreWriter(QString path, QString connectOptions)
        : m_path(std::move(path))
        , m_connectOptions(std::move(connectOptions))
        , m_connectionName(QStringLiteral("qz300-background-store-%1").arg(quintptr(this)))
    {
    }

    void write(quint64 ticket, const QStringList &columns, const QList<ChannelRows::Row> &rows)
    {
        QString error;
        QSqlDatabase db = connection(error);
        if (error.isEmpty())
            error = ChannelRows::updateAll(db, columns, rows);
        emit written(ticket, error);
    }

    void closeConnection()
    {
        if (!QSqlDatabase::contains(m_connectionName))
            return;
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }

signals:
    void written(quint64 ticket, const QString &error);

private:
    QSqlDatabase connection(QString &error)
    {
        if (QSqlDatabase::contains(m_connectionName)) {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName);
            if (db.isOpen())
                return db;
        } else {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
            db.setDatabaseName(m_path);
            db.setConnectOptions(m_connectOptions);
        }
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (!db.open())
            error = db.lastError().text();
        return db;
    }

    QString m_path;
    QString m_connectOptions;
    QString m_connectionName;
};

BackgroundStore::BackgroundStore(const QString &path, const QString &connectOptions, QObject *parent)
    : QObject(parent)
    , m_writer(new BackgroundStoreWriter(path, connectOptions))
{
    m_thread.setObjectName(QStringLiteral("channelStore"));
    m_writer->moveToThread(&m_thread);
    connect(m_writer, &BackgroundStoreWriter::written, this, &BackgroundStore::written);
    m_thread.start();
}

BackgroundStore::~BackgroundStore()
{
    // Queued behind any write in progress; the connection is closed on the thread that opened it.
    QMetaObject::invokeMethod(m_writer, &BackgroundStoreWriter::closeConnection, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_writer;
}

void BackgroundStore::updateAll(const QStringList &columns, const QList<ChannelRows::Row> &rows, Done done)
{
    const quint64 ticket = ++m_lastTicket;
    m_waiting.emplace(ticket, std::move(done));
    QMetaObject::invokeMethod(m_writer, [writer = m_writer, ticket, columns, rows] { writer->write(ticket, columns, rows); }, Qt::QueuedConnection);
}

void BackgroundStore::written(quint64 ticket, const QString &error)
{
    const auto waiting = m_waiting.find(ticket);
    if (waiting == m_waiting.end())
        return;
    const Done done = std::move(waiting->second);
    m_waiting.erase(waiting);
    done(error);
}

#include "backgroundstore.moc"
