#include "core/channels/cellblock.h"

namespace CellBlock {

QString compose(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        text += row.join(u'\t');
        text += u'\n';
    }
    return text;
}

QList<QStringList> parse(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;   // inside a quoted cell
    bool cellStart = true; // nothing of the cell read yet
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text.at(i + 1) == u'"') {
                    cell += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
            continue;
        }
        if (c == u'"' && cellStart) {
            quoted = true;
            cellStart = false;
        } else if (c == u'\t') {
            row << cell;
            cell.clear();
            cellStart = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            cellStart = true;
        } else {
            cell += c;
            cellStart = false;
        }
    }
    // A last row without its line end.
    if (!cellStart || !row.isEmpty())
        rows << (row << cell);
    return rows;
}

} // namespace CellBlock
