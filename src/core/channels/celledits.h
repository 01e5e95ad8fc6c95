// Values put into many grid cells at once (a paste, a cleared selection): each goes in as if
// typed into its cell, with the frequency check of the grid.
#pragma once

#include "core/channels/frequencycheck.h"

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

/// Why a value was refused.
enum class Reason { OutOfRange, NotNumber, NotShift, TooLong };

/// A value refused: out of range (its cell kept its value), or one that no cell could take.
struct Refusal
{
    int row = 0;
    int column = 0;
    QString text;
    Reason reason = Reason::OutOfRange;

    friend bool operator==(const Refusal &, const Refusal &) = default;
};

/// The cells of a block of rows placed with its first cell at `row`, `column`. Cells beyond the
/// table, and those that land on the channel number (column 0, which the write transfer relies
/// on), are left out; `linesBeyond`, when given, receives the block's lines (from 0) that held
/// something and lay beyond the table.
QList<CellValue> placeBlock(const QList<QStringList> &block, int row, int column, int rowCount,
                            QList<int> *linesBeyond = nullptr);

/// The values no cell can take (no number in a frequency column, neither on nor off in the
/// shift column, longer than any of those); a paste holding any of them is refused as a whole.
QList<Refusal> unreadable(const QList<CellValue> &values);

/// Puts the values in, in order, as typing them would; a shift is stored as "on" or "off". A value
/// equal to what its cell holds is no edit, as in the grid. An out-of-range frequency leaves its
/// cell as it was, so that no value beside it is lost; the values refused so are returned.
QList<Refusal> apply(ChannelTable &table, const QList<CellValue> &values);

} // namespace CellEdits
