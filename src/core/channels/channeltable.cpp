#include "core/channels/channeltable.h"

#include "core/channels/backgroundstore.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace {

const char *const TableName = "Chane";
/// Another program holding the file must not freeze the window for long.
const char *const BusyTimeoutOption = "QSQLITE_BUSY_TIMEOUT=1000";

QString nextConnectionName()
{
    static int counter = 0;
    return QStringLiteral("qz300-channels-%1").arg(++counter);
}

/// Runs a function with a database connection that is removed again afterwards.
template<typename Work>
auto withConnection(const QString &name, const QString &path, const QString &options, Work work)
{
    auto result = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(options);
        auto value = work(db);
        db.close();
        return value;
    }();
    QSqlDatabase::removeDatabase(name);
    return result;
}

QString createDatabase(const QString &path)
{
    // Claim the name first, failing on anything already there (a dangling or looping link
    // included), so that the clean-up below only ever removes a file made here.
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.errorString();
    }
    const QString error = withConnection(nextConnectionName(), path, QString(), [](QSqlDatabase &db) -> QString {
        if (!db.open())
            return db.lastError().text();
        QSqlQuery query(db);
        if (!db.transaction())
            return db.lastError().text();
        if (!query.exec(QStringLiteral("CREATE TABLE Chane (no INTEGER, rf TEXT, tf TEXT, bt TEXT)")))
            return query.lastError().text();
        query.prepare(QStringLiteral("INSERT INTO Chane (no, rf, tf, bt) VALUES (?, '', '', '')"));
        for (int n = 1; n <= ChannelCount; ++n) {
            query.addBindValue(n);
            if (!query.exec())
                return query.lastError().text();
        }
        if (!db.commit())
            return db.lastError().text();
        return QString();
    });
    if (!error.isEmpty())
        QFile::remove(path); // only ever a file we have just created
    return error;
}

QVariant asText(const QVariant &stored)
{
    return stored.isNull() ? QVariant() : QVariant(stored.toString());
}

using ChannelRows::sameValue;

} // namespace

ChannelTable::OpenResult ChannelTable::open(const QString &path)
{
    OpenResult result;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        // A pipe would hold start-up until someone writes to it; a device or a folder is no database.
        result.error = tr("数据库文件 %1 不是可用的信道数据库：不是普通文件").arg(path);
        return result;
    }
    if (!info.exists()) {
        // A link to a file yet to be made makes that file; a link loop makes nothing.
        const QString error = createDatabase(info.isSymLink() ? info.symLinkTarget() : path);
        if (!error.isEmpty()) {
            result.error = tr("无法建立数据库文件 %1：%2").arg(path, error);
            return result;
        }
        result.created = true;
    }

    // Read and check the file without write access, so that a foreign file stays as it is.
    struct Loaded
    {
        QString error;
        bool inUse = false;
        QStringList columns;
        QList<Row> rows;
    };
    const Loaded loaded = withConnection(nextConnectionName(), path, QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1000"), [](QSqlDatabase &db) {
        Loaded out;
        if (!db.open()) {
            out.error = db.lastError().text();
            return out;
        }
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT type FROM sqlite_master WHERE type IN ('table', 'view') AND name = 'Chane' COLLATE NOCASE"))) {
            out.error = probe.lastError().text();
            // SQLITE_BUSY and SQLITE_LOCKED: a sound file that another program holds right now.
            const int code = probe.lastError().nativeErrorCode().toInt() & 0xff;
            out.inUse = code == 5 || code == 6;
            return out;
        }
        const QSqlRecord record = db.record(QString::fromLatin1(TableName));
        if (record.isEmpty()) {
            out.error = tr("没有数据表 Chane");
            return out;
        }
        // A view reads like a table but takes no row by its rowid.
        if (probe.next() && probe.value(0).toString() != QLatin1String("table")) {
            out.error = tr("Chane 是视图，不是数据表");
            return out;
        }
        if (record.count() < ChannelField::Count) {
            out.error = tr("数据表 Chane 少于 4 个字段");
            return out;
        }
        for (int i = 0; i < ChannelField::Count; ++i)
            out.columns << db.driver()->escapeIdentifier(record.fieldName(i), QSqlDriver::FieldName);
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT rowid, %1 FROM Chane ORDER BY rowid").arg(out.columns.join(u", ")))) {
            out.error = query.lastError().text();
            return out;
        }
        while (query.next()) {
            Row row;
            row.rowId = query.value(0).toLongLong();
            for (int i = 0; i < ChannelField::Count; ++i)
                row.fields[i] = row.stored[i] = asText(query.value(i + 1));
            out.rows.append(row);
        }
        if (out.rows.size() < ChannelCount)
            out.error = tr("数据表 Chane 只有 %1 行，少于 %2 行").arg(out.rows.size()).arg(ChannelCount);
        return out;
    });
    if (loaded.inUse) {
        result.inUse = true;
        result.error = tr("数据库文件 %1 正被另一个程序使用。").arg(path);
        return result;
    }
    if (!loaded.error.isEmpty()) {
        result.error = tr("数据库文件 %1 不是可用的信道数据库：%2").arg(path, loaded.error);
        return result;
    }

    const QString name = nextConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QLatin1String(BusyTimeoutOption));
        if (!db.open()) {
            result.error = tr("无法打开数据库文件 %1：%2").arg(path, db.lastError().text());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return result;
        }
    }
    result.table.reset(new ChannelTable(name, path, loaded.columns, loaded.rows));
    return result;
}

ChannelTable::ChannelTable(const QString &connectionName, const QString &path, QStringList columns, QList<Row> rows)
    : m_connectionName(connectionName)
    , m_path(path)
    , m_columns(std::move(columns))
    , m_rows(std::move(rows))
    , m_selection(new QItemSelectionModel(this, this))
{
    // Connected before any view attaches, so a row is stored as soon as the current record leaves it.
    connect(m_selection, &QItemSelectionModel::currentChanged, this, &ChannelTable::currentRowChanged);
}

ChannelTable::~ChannelTable()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

int ChannelTable::currentRow() const
{
    const QModelIndex current = m_selection->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ChannelTable::moveFirst()
{
    moveTo(0);
}

void ChannelTable::moveNext()
{
    const int row = currentRow();
    if (row < 0)
        return;
    if (row + 1 >= rowCount()) {
        m_selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
        return;
    }
    moveTo(row + 1);
}

void ChannelTable::moveTo(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const QModelIndex current = m_selection->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    m_selection->setCurrentIndex(index(row, column), QItemSelectionModel::ClearAndSelect);
}

QVariant ChannelTable::field(int index) const
{
    const int row = currentRow();
    if (row < 0 || index < 0 || index >= ChannelField::Count)
        return QVariant();
    return m_rows.at(row).fields[index];
}

bool ChannelTable::setField(int index, const QVariant &value)
{
    const int row = currentRow();
    if (row < 0)
        return fail(tr("没有当前记录"));
    if (index < 0 || index >= ChannelField::Count)
        return fail(tr("没有该字段"));
    assign(row, index, value);
    return true;
}

bool ChannelTable::setFieldAt(int row, int index, const QVariant &value)
{
    if (row < 0 || row >= rowCount())
        return fail(tr("没有该行"));
    if (index < 0 || index >= ChannelField::Count)
        return fail(tr("没有该字段"));
    assign(row, index, value);
    return true;
}

bool ChannelTable::isNull(int index) const
{
    return field(index).isNull();
}

ChannelRecord ChannelTable::channel(int row) const
{
    const Row &r = m_rows.at(row);
    return {r.fields[ChannelField::No], r.fields[ChannelField::Rf], r.fields[ChannelField::Tf], r.fields[ChannelField::Bt]};
}

ChannelList ChannelTable::channels() const
{
    ChannelList list;
    for (int row = 0; row < ChannelCount && row < rowCount(); ++row)
        list.append(channel(row));
    return list;
}

QList<ChannelTable::Row> ChannelTable::withChannels(const ChannelList &channels) const
{
    QList<Row> updated = m_rows.mid(0, channels.size());
    for (int i = 0; i < channels.size(); ++i) {
        Row &row = updated[i];
        row.fields[ChannelField::Rf] = channels[i].rf;
        row.fields[ChannelField::Tf] = channels[i].tf;
        row.fields[ChannelField::Bt] = channels[i].bt;
    }
    return updated;
}

QList<ChannelRows::Row> ChannelTable::toWrite(const QList<Row> &rows)
{
    QList<ChannelRows::Row> out;
    for (const Row &row : rows) {
        ChannelRows::Row written;
        written.rowId = row.rowId;
        std::copy(std::begin(row.fields), std::end(row.fields), written.fields.begin());
        out.append(written);
    }
    return out;
}

bool ChannelTable::storeChannels(const ChannelList &channels)
{
    if (channels.size() > rowCount())
        return fail(tr("数据表行数不足"));
    const QList<Row> before = m_rows.mid(0, channels.size());
    const QList<Row> updated = withChannels(channels);
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    const QString error = ChannelRows::updateAll(db, m_columns, toWrite(updated));
    if (!error.isEmpty())
        return fail(error);
    takeStored(updated, before);
    return true;
}

void ChannelTable::storeChannelsInBackground(const ChannelList &channels, std::function<void(const QString &)> done)
{
    if (channels.size() > rowCount()) {
        fail(tr("数据表行数不足"));
        done(m_lastError);
        return;
    }
    if (!m_backgroundStore)
        m_backgroundStore = new BackgroundStore(m_path, QLatin1String(BusyTimeoutOption), this);
    ++m_storesInBackground;
    const QList<Row> before = m_rows.mid(0, channels.size());
    const QList<Row> updated = withChannels(channels);
    m_backgroundStore->updateAll(m_columns, toWrite(updated), [this, updated, before, done = std::move(done)](const QString &error) {
        --m_storesInBackground;
        if (!error.isEmpty()) {
            fail(error);
            done(error);
            return;
        }
        takeStored(updated, before);
        done(QString());
    });
}

void ChannelTable::takeStored(const QList<Row> &written, const QList<Row> &before)
{
    for (int i = 0; i < written.size(); ++i) {
        Row &row = m_rows[i];
        row.pending = false;
        for (int f = 0; f < ChannelField::Count; ++f) {
            // A field edited while the store was on its way keeps the edit, pending.
            if (sameValue(row.fields[f], before[i].fields[f]))
                row.fields[f] = written[i].fields[f];
            row.stored[f] = written[i].fields[f];
            row.pending = row.pending || !sameValue(row.fields[f], row.stored[f]);
        }
    }
    if (!written.isEmpty())
        emit dataChanged(index(0, 0), index(int(written.size()) - 1, ChannelField::Count - 1));
}

bool ChannelTable::submit()
{
    // Held: the view's and the table's own submit on a row change leave everything pending. So
    // does a store in the background: this connection would wait for its lock.
    if (m_storesHeld || m_storesInBackground > 0)
        return !hasPendingChanges();
    bool stored = true;
    bool failed = false;
    for (int row = 0; row < rowCount(); ++row) {
        if (!m_rows.at(row).pending)
            continue;
        switch (storeEdits(row)) {
        case EditStore::Stored:
            break;
        case EditStore::Conflict:
            stored = false;
            break;
        case EditStore::Failed:
            stored = false;
            failed = true;
            break;
        }
    }
    if (!failed) {
        m_failureReported = false;
    } else if (!m_failureReported) {
        // The view and the table both submit on a row change; one report per failed change is enough.
        m_failureReported = true;
        emit storeFailed(m_lastError);
    }
    return stored;
}

bool ChannelTable::hasPendingChanges() const
{
    return std::any_of(m_rows.begin(), m_rows.end(), [](const Row &row) { return row.pending; });
}

ChannelTable::EditStore ChannelTable::storeEdits(int rowIndex)
{
    // Optimistic locking: only the fields changed here are written, and only while the database
    // still holds what they held when read, so that two programs on one file never overwrite
    // each other's channels unseen.
    Row &row = m_rows[rowIndex];
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    if (!db.transaction()) {
        fail(db.lastError().text());
        return EditStore::Failed;
    }
    QVariant current[ChannelField::Count];
    if (!readStored(row.rowId, current)) {
        db.rollback();
        return EditStore::Failed;
    }
    QStringList assignments;
    QVariantList values;
    bool conflict = false;
    for (int i = 0; i < ChannelField::Count; ++i) {
        if (sameValue(row.fields[i], row.stored[i]))
            continue;
        // The other program storing the very same value is no conflict.
        conflict = conflict || (!sameValue(current[i], row.stored[i]) && !sameValue(current[i], row.fields[i]));
        assignments << m_columns.at(i) + QStringLiteral(" = ?");
        values << row.fields[i];
    }
    if (conflict) {
        db.rollback();
        const ChannelRecord refused = recordOf(row.fields);
        for (int i = 0; i < ChannelField::Count; ++i)
            row.fields[i] = row.stored[i] = current[i];
        row.pending = false;
        m_lastError = tr("另一个程序已修改该行");
        emit dataChanged(index(rowIndex, 0), index(rowIndex, ChannelField::Count - 1));
        emit storeConflict(rowIndex, refused, recordOf(current));
        return EditStore::Conflict;
    }
    if (!assignments.isEmpty()) {
        QSqlQuery query(db);
        if (!query.prepare(QStringLiteral("UPDATE Chane SET %1 WHERE rowid = ?").arg(assignments.join(u", ")))) {
            fail(query.lastError().text());
            db.rollback();
            return EditStore::Failed;
        }
        for (const QVariant &value : std::as_const(values))
            query.addBindValue(value);
        query.addBindValue(row.rowId);
        if (!query.exec() || query.numRowsAffected() != 1) {
            fail(query.lastError().isValid() ? query.lastError().text() : tr("数据表 Chane 中找不到该行"));
            db.rollback();
            return EditStore::Failed;
        }
    }
    if (!db.commit()) {
        fail(db.lastError().text());
        db.rollback();
        return EditStore::Failed;
    }
    // Fields changed only by the other program are taken over as well.
    bool tookOver = false;
    for (int i = 0; i < ChannelField::Count; ++i) {
        if (sameValue(row.fields[i], row.stored[i]) && !sameValue(current[i], row.stored[i])) {
            row.fields[i] = current[i];
            tookOver = true;
        }
        row.stored[i] = row.fields[i];
    }
    row.pending = false;
    if (tookOver)
        emit dataChanged(index(rowIndex, 0), index(rowIndex, ChannelField::Count - 1));
    return EditStore::Stored;
}

bool ChannelTable::readStored(qint64 rowId, QVariant (&values)[ChannelField::Count])
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName));
    // A locked file fails already here; the text says so, unlike a later bind count mismatch.
    if (!query.prepare(QStringLiteral("SELECT %1 FROM Chane WHERE rowid = ?").arg(m_columns.join(u", "))))
        return fail(query.lastError().text());
    query.addBindValue(rowId);
    if (!query.exec())
        return fail(query.lastError().text());
    if (!query.next())
        return fail(tr("数据表 Chane 中找不到该行"));
    for (int i = 0; i < ChannelField::Count; ++i)
        values[i] = asText(query.value(i));
    return true;
}

ChannelRecord ChannelTable::recordOf(const QVariant (&values)[ChannelField::Count])
{
    return {values[ChannelField::No], values[ChannelField::Rf], values[ChannelField::Tf], values[ChannelField::Bt]};
}

void ChannelTable::currentRowChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (previous.isValid() && current.row() != previous.row())
        submit();
}

bool ChannelTable::fail(const QString &reason)
{
    m_lastError = reason;
    return false;
}

int ChannelTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ChannelTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ChannelField::Count;
}

QVariant ChannelTable::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const QVariant &value = m_rows.at(index.row()).fields[index.column()];
    if (role == Qt::EditRole && value.isNull())
        return QString(); // a text editor, also for a field that holds no value yet
    return value;
}

bool ChannelTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole)
        return false;
    // An editor opened and left empty on a field without value leaves it without value.
    if (m_rows.at(index.row()).fields[index.column()].isNull() && value.toString().isEmpty())
        return true;
    assign(index.row(), index.column(), value);
    return true;
}

void ChannelTable::assign(int row, int column, const QVariant &value)
{
    // A variant holding a null string is an empty text: bound as it is, it would store NULL.
    const QVariant text = value.isNull() ? QVariant() : QVariant(value.toString().isNull() ? QStringLiteral("") : value.toString());
    QVariant &stored = m_rows[row].fields[column];
    if (stored.isNull() == text.isNull() && stored == text)
        return;
    stored = text;
    m_rows[row].pending = true;
    m_failureReported = false;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

QVariant ChannelTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal && section == ChannelField::Bt)
        return tr("拍频 on 或 off：写信道时作为这个信道的拍频偏移标志送入对讲机（信道帧的第 4 个字符），"
                  "打开或关闭对讲机在这个信道上的拍频偏移。\n它不是中继台的收发差频：发送频率在“发送频率”一栏单独设置。");
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    const QStringList captions = {tr(" 信道号"), tr(" 接收频率 (MHz)"),
                                         tr(" 发送频率 (MHz)"), tr(" 拍频")};
    return captions.value(section);
}

Qt::ItemFlags ChannelTable::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
