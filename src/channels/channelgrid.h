// The grid that shows and edits the channel table in place.
#pragma once

#include <QTableView>

class ChannelTable;

class ChannelGrid : public QTableView
{
    Q_OBJECT

public:
    explicit ChannelGrid(QWidget *parent = nullptr);

    /// Shows the table and shares its current record.
    void bind(ChannelTable *table);

    /// Hands a cell being edited over to the table, as if the user had pressed Return.
    void commitOpenEditor();

signals:
    /// A cell edit has reached the table: row and column of the cell.
    void cellEdited(int row, int column);
};
