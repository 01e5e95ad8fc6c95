// A block of grid cells as spreadsheets put it on the clipboard: cells separated by tabs, each
// row ended by a line end.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace CellBlock {

/// The rows as tab-separated text, every row (the last too) ended by "\n".
QString compose(const QList<QStringList> &rows);

/// Rows of cells from clipboard text: line ends CR LF, LF or CR; one final line end is no
/// extra row. A cell in double quotes may hold tabs and line ends ("" is one quote).
QList<QStringList> parse(const QString &text);

} // namespace CellBlock
