// The commands of the 编辑 menu and of the grid's context menu: undo, redo, and the clipboard
// the way spreadsheets speak it (tab-separated cells, a line end after each row).
#pragma once

#include <QObject>

class ChannelGrid;
class ChannelTable;
class EditHistory;
class QAction;

class GridEditCommands : public QObject
{
    Q_OBJECT

public:
    GridEditCommands(ChannelGrid &grid, ChannelTable &table, EditHistory &history, QObject *parent = nullptr);

    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    QAction *copyAction() const { return m_copy; }
    QAction *pasteAction() const { return m_paste; }
    QAction *clearAction() const { return m_clear; }

    void undo();
    void redo();
    /// The selected cells (their bounding block; unselected cells in it are empty) as text.
    void copy();
    /// A block from the clipboard, its first cell at the selection's first cell; a single value
    /// fills every selected cell. A value no cell can take refuses the whole paste; out-of-range
    /// frequencies keep their cells as they were; both, and lines beyond the table, are listed in
    /// one message.
    void paste();
    /// Empties the selected cells as typing an empty value would.
    void clear();

private:
    void updateAvailability();

    ChannelGrid &m_grid;
    ChannelTable &m_table;
    EditHistory &m_history;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_clear = nullptr;
};
