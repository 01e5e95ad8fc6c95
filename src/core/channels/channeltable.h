// The channel table "Chane" of the channel database: the model the grid shows, and the current
// record that the grid, the transfers and the file commands share.
#pragma once

#include "core/channels/channelrecord.h"
#include "core/channels/channelrows.h"

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QSqlDatabase>

#include <functional>
#include <memory>

class BackgroundStore;

class ChannelTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct OpenResult;

    /// Opens the channel database; a missing file is created with its 16 channels. A file that
    /// is not a usable channel database is left untouched and an error text is returned.
    static OpenResult open(const QString &path);

    ~ChannelTable() override;

    QItemSelectionModel *selectionModel() const { return m_selection; }
    QString path() const { return m_path; }

    /// The row of the current record, or -1 when there is none (moved past the last row).
    int currentRow() const;
    void moveFirst();
    void moveNext();
    void moveTo(int row);

    /// Field of the current record: a text, or a null variant for no value.
    QVariant field(int index) const;
    /// Changes a field of the current record; the change is stored when the current record moves.
    bool setField(int index, const QVariant &value);
    bool isNull(int index) const;
    /// Changes a field of any row, as an edit there would; stored when the current record moves.
    bool setFieldAt(int row, int index, const QVariant &value);

    /// The first 16 channels, pending edits included.
    ChannelList channels() const;
    ChannelRecord channel(int row) const;

    /// Stores rf, tf and bt of the first rows in one go: all of them, or on failure none.
    bool storeChannels(const ChannelList &channels);
    /// storeChannels() without holding up the caller's thread while the database waits for the
    /// disk: `done` runs later on this thread with an empty text once every row is stored and
    /// shown, or with why not (then nothing is stored or shown). Changes made meanwhile stay
    /// pending until it is done.
    void storeChannelsInBackground(const ChannelList &channels, std::function<void(const QString &error)> done);
    bool isStoringInBackground() const { return m_storesInBackground > 0; }

    /// Stores every pending change now. On failure the changes stay pending and shown. A change to
    /// a field that another program has changed in the database since it was read is not stored:
    /// the row takes the database's values and storeConflict tells what was refused. Returns
    /// false when a change did not reach the database.
    bool submit() override;
    bool hasPendingChanges() const;

    /// While held, submit() and moving the current record leave changes pending instead of storing
    /// them, so a walk over the table (the write's pacing) never waits on the database.
    void holdStores(bool hold) { m_storesHeld = hold; }
    bool storesHeld() const { return m_storesHeld; }

    QString lastError() const { return m_lastError; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    /// A change could not be stored in the database; it stays pending and shown.
    void storeFailed(const QString &reason);
    /// Another program changed `row` in the database: `refused` held this table's unstored
    /// values, `stored` is what the database holds and the row now shows.
    void storeConflict(int row, const ChannelRecord &refused, const ChannelRecord &stored);

private:
    struct Row
    {
        qint64 rowId = 0;
        QVariant fields[ChannelField::Count];
        QVariant stored[ChannelField::Count]; ///< as last read from or written to the database
        bool pending = false;
    };
    enum class EditStore { Stored, Conflict, Failed };

    ChannelTable(const QString &connectionName, const QString &path, QStringList columns, QList<Row> rows);
    QList<Row> withChannels(const ChannelList &channels) const;
    static QList<ChannelRows::Row> toWrite(const QList<Row> &rows);
    /// The rows as now stored, shown unless a field was edited since `before`.
    void takeStored(const QList<Row> &written, const QList<Row> &before);
    EditStore storeEdits(int row);
    bool readStored(qint64 rowId, QVariant (&values)[ChannelField::Count]);
    static ChannelRecord recordOf(const QVariant (&values)[ChannelField::Count]);
    void assign(int row, int column, const QVariant &value);
    void currentRowChanged(const QModelIndex &current, const QModelIndex &previous);
    bool fail(const QString &reason);

    QString m_connectionName;
    QString m_path;
    QStringList m_columns;
    QList<Row> m_rows;
    QItemSelectionModel *m_selection = nullptr;
    QString m_lastError;
    bool m_failureReported = false;
    bool m_storesHeld = false;
    BackgroundStore *m_backgroundStore = nullptr;
    int m_storesInBackground = 0;
};

struct ChannelTable::OpenResult
{
    std::unique_ptr<ChannelTable> table;
    QString error; ///< why the database cannot be used, when table is null
    bool inUse = false; ///< another program holds the file: trying again may succeed
    bool created = false;
};
