// Writing whole rows of the table "Chane" by their rowid: the one statement that the table's own
// connection and its background store both use.
#pragma once

#include "core/channels/channelrecord.h"

#include <QList>
#include <QStringList>
#include <QVariant>

#include <array>

class QSqlDatabase;

namespace ChannelRows {

struct Row
{
    qint64 rowId = 0;
    std::array<QVariant, ChannelField::Count> fields;
};

/// Writes the row's fields into `columns` (escaped names, in field order) of the row with its
/// rowid; returns why it could not, or an empty text.
QString update(QSqlDatabase &db, const QStringList &columns, const Row &row);

/// update() of every row that does not hold its values yet, in one transaction: all of them are
/// stored, or on failure none.
QString updateAll(QSqlDatabase &db, const QStringList &columns, const QList<Row> &rows);

} // namespace ChannelRows
