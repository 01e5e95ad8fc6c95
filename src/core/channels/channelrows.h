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

/// Whether two field values are the same: no value and an empty text told apart, numbers and
/// texts compared as text (the file stores the number as an integer, the table shows text).
bool sameValue(const QVariant &a, const QVariant &b);

/// Writes the row's fields into `columns` (escaped names, in field order) of the row with its
/// rowid; returns why it could not, or an empty text.
QString update(QSqlDatabase &db, const QStringList &columns, const Row &row);

/// update() of every row that does not hold its values yet, in one transaction: all of them are
/// stored, or on failure none.
QString updateAll(QSqlDatabase &db, const QStringList &columns, const QList<Row> &rows);

} // namespace ChannelRows
