#include "channels/celledits.h"

#include "channels/channelrecord.h"
#include "channels/channeltable.h"

namespace CellEdits {

QList<CellValue> placeBlock(const QList<QStringList> &block, int row, int column, int rowCount)
{
    QList<CellValue> values;
    for (int r = 0; r < block.size(); ++r) {
        const int target = row + r;
        if (target >= rowCount)
            break;
        const QStringList &cells = block.at(r);
        for (int c = 0; c < cells.size(); ++c) {
            const int field = column + c;
            if (field <= ChannelField::No || field >= ChannelField::Count)
                continue;
            values.append({target, field, cells.at(c)});
        }
    }
    return values;
}

QList<Refusal> apply(ChannelTable &table, const QList<CellValue> &values)
{
    QList<Refusal> refused;
    for (const CellValue &value : values) {
        if (value.row < 0 || value.row >= table.rowCount() || value.column < 0 || value.column >= ChannelField::Count)
            continue;
        const QModelIndex cell = table.index(value.row, value.column);
        // As the cell editor: an empty value on a field without value leaves it so.
        if (cell.data(Qt::EditRole).toString() == value.text)
            continue;
        table.setData(cell, value.text);
        const FrequencyCheck::Outcome outcome = FrequencyCheck::afterEdit(value.column, table.channel(value.row));
        if (outcome.outOfRange)
            refused.append({value.row, value.column, value.text});
        for (const FrequencyCheck::Assignment &assignment : outcome.assignments)
            table.setFieldAt(value.row, assignment.field, assignment.value);
    }
    return refused;
}

} // namespace CellEdits
