// Values put into many grid cells at once (a paste, a cleared selection): each goes in as if
// typed into its cell, with the frequency check of the grid.
#pragma once

#include "channels/frequencycheck.h"

#include <QList>
#include <QString>

class ChannelTable;

namespace CellEdits {

/// A text for the cell at `row`, `column`.
struct CellValue
{
    int row = 0;
    int column = 0;
    QString text;
};

/// A value the check refused as out of range (the cell was cleared as for typing it).
struct Refusal
{
    int row = 0;
    int column = 0;
    QString text;

    friend bool operator==(const Refusal &, const Refusal &) = default;
};

/// The cells of a block of rows placed with its first cell at `row`, `column`. Cells beyond the
/// table, and those that land on the channel number (column 0, which the write transfer relies
/// on), are left out.
QList<CellValue> placeBlock(const QList<QStringList> &block, int row, int column, int rowCount);

/// Puts the values in, in order. A value equal to what its cell holds is no edit, as in the
/// grid. Returns the values the check refused.
QList<Refusal> apply(ChannelTable &table, const QList<CellValue> &values);

} // namespace CellEdits
