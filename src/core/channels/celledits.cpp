#include "core/channels/celledits.h"

#include "core/channels/channelrecord.h"
#include "core/channels/channelrule.h"
#include "core/channels/channeltable.h"

#include <algorithm>

namespace CellEdits {

QList<CellValue> placeBlock(const QList<QStringList> &block, int row, int column, int rowCount, QList<int> *linesBeyond)
{
    QList<CellValue> values;
    for (int r = 0; r < block.size(); ++r) {
        const int target = row + r;
        const QStringList &cells = block.at(r);
        if (target >= rowCount) {
            const bool holdsSomething = std::any_of(cells.begin(), cells.end(), [](const QString &cell) { return !cell.isEmpty(); });
            if (linesBeyond && holdsSomething)
                linesBeyond->append(r);
            continue;
        }
        for (int c = 0; c < cells.size(); ++c) {
            const int field = column + c;
            if (field <= ChannelField::No || field >= ChannelField::Count)
                continue;
            values.append({target, field, cells.at(c)});
        }
    }
    return values;
}

QList<Refusal> unreadable(const QList<CellValue> &values)
{
    QList<Refusal> refused;
    for (const CellValue &value : values) {
        switch (ChannelRule::cellProblem(value.column, value.text)) {
        case ChannelRule::CellProblem::None:
            break;
        case ChannelRule::CellProblem::TooLong:
            refused.append({value.row, value.column, value.text, Reason::TooLong});
            break;
        case ChannelRule::CellProblem::NotNumber:
            refused.append({value.row, value.column, value.text, Reason::NotNumber});
            break;
        case ChannelRule::CellProblem::NotShift:
            refused.append({value.row, value.column, value.text, Reason::NotShift});
            break;
        }
    }
    return refused;
}

QList<Refusal> apply(ChannelTable &table, const QList<CellValue> &values)
{
    QList<Refusal> refused;
    for (const CellValue &value : values) {
        if (value.row < 0 || value.row >= table.rowCount() || value.column < 0 || value.column >= ChannelField::Count)
            continue;
        const QModelIndex cell = table.index(value.row, value.column);
        const QString text = value.column == ChannelField::Bt ? ChannelRule::shiftText(value.text).value_or(value.text) : value.text;
        // As the cell editor: an empty value on a field without value leaves it so.
        if (cell.data(Qt::EditRole).toString() == text)
            continue;
        if ((value.column == ChannelField::Rf || value.column == ChannelField::Tf)
            && FrequencyCheck::read(text) == FrequencyCheck::Reading::OutOfRange) {
            refused.append({value.row, value.column, value.text, Reason::OutOfRange});
            continue;
        }
        table.setData(cell, text);
        const FrequencyCheck::Outcome outcome = FrequencyCheck::afterEdit(value.column, table.channel(value.row));
        for (const FrequencyCheck::Assignment &assignment : outcome.assignments)
            table.setFieldAt(value.row, assignment.field, assignment.value);
    }
    return refused;
}

} // namespace CellEdits
