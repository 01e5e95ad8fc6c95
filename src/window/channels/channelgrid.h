// The grid that shows and edits the channel table in place, with a spreadsheet's keys: Return
// commits and moves down a row, Tab moves right and on to the next row.
#pragma once

#include <QTableView>

class CellEditDelegate;
class ChannelTable;
class EditHistory;

class ChannelGrid : public QTableView
{
    Q_OBJECT

public:
    explicit ChannelGrid(QWidget *parent = nullptr);

    /// Shows the table and shares its current record.
    void bind(ChannelTable *table);

    /// Cell edits become undoable steps of `history`, each with the check's own rewrites.
    void setEditHistory(EditHistory *history) { m_history = history; }

    /// The height that shows every row and the header without a scroll bar.
    int heightForAllRows() const;
    /// The height that shows the header and `rows` rows.
    int heightForRows(int rows) const;

    /// Hands a cell being edited over to the table, as if the user had pressed Return.
    void commitOpenEditor();

signals:
    /// A cell edit has reached the table: row and column of the cell.
    void cellEdited(int row, int column);
    /// A typed value the cell cannot hold was left out; the cell kept its value.
    void cellRefused(int row, int column, const QString &text);

protected:
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void moveDown();

    CellEditDelegate *m_delegate = nullptr;
    EditHistory *m_history = nullptr;
    bool m_committingOpenEditor = false;
};
