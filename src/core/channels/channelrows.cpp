#include "core/channels/channelrows.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

namespace ChannelRows {

bool sameValue(const QVariant &a, const QVariant &b)
{
    return a.isNull() == b.isNull() && a.toString() == b.toString();
}

namespace {

/// Whether the selected row holds the row's values.
bool holds(const QSqlQuery &current, const Row &row)
{
    for (int i = 0; i < ChannelField::Count; ++i) {
        if (!sameValue(current.value(i), row.fields[i]))
            return false;
    }
    return true;
}

} // namespace

QString update(QSqlDatabase &db, const QStringList &columns, const Row &row)
{
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("UPDATE Chane SET %1 = ?, %2 = ?, %3 = ?, %4 = ? WHERE rowid = ?")
                           .arg(columns.at(0), columns.at(1), columns.at(2), columns.at(3))))
        return query.lastError().text();
    for (const QVariant &value : row.fields)
        query.addBindValue(value);
    query.addBindValue(row.rowId);
    if (!query.exec())
        return query.lastError().text();
    if (query.numRowsAffected() != 1)
        return QCoreApplication::translate("ChannelTable", "数据表 Chane 中找不到该行");
    return QString();
}

QString updateAll(QSqlDatabase &db, const QStringList &columns, const QList<Row> &rows)
{
    if (!db.transaction())
        return db.lastError().text();
    // A row that already holds its values is left alone: a transaction that writes nothing
    // commits without a journal or a sync, so reading an unchanged radio again costs the disk nothing.
    QSqlQuery current(db);
    if (!current.prepare(QStringLiteral("SELECT %1, %2, %3, %4 FROM Chane WHERE rowid = ?")
                             .arg(columns.at(0), columns.at(1), columns.at(2), columns.at(3)))) {
        const QString error = current.lastError().text();
        db.rollback();
        return error;
    }
    for (const Row &row : rows) {
        current.addBindValue(row.rowId);
        if (current.exec() && current.next() && holds(current, row))
            continue;
        const QString error = update(db, columns, row);
        if (!error.isEmpty()) {
            db.rollback();
            return error;
        }
    }
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        return error;
    }
    return QString();
}

} // namespace ChannelRows
