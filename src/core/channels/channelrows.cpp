#include "core/channels/channelrows.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

namespace ChannelRows {

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
    for (const Row &row : rows) {
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
