// Undo and redo of everything the user changes in the channel table and the squelch box. A step
// holds the cells and the squelch text it changed, before and after; undoing or redoing assigns
// them like an edit (pending in their rows, stored when the current record moves).
#pragma once

#include "core/channels/channelrecord.h"

#include <QObject>
#include <QUndoStack>

#include <array>
#include <functional>

class ChannelTable;

class EditHistory : public QObject
{
    Q_OBJECT

public:
    using SquelchReader = std::function<QString()>;
    using SquelchWriter = std::function<void(const QString &)>;

    /// One changed field of the table.
    struct CellChange
    {
        int row = 0;
        int field = 0;
        QVariant before;
        QVariant after;
    };
    /// What one step changed.
    struct Change
    {
        QList<CellChange> cells;
        bool squelchChanged = false;
        QString squelchBefore;
        QString squelchAfter;

        bool isEmpty() const { return cells.isEmpty() && !squelchChanged; }
    };

    /// `readSquelch` and `writeSquelch` reach the squelch box; writing runs the box's own check.
    EditHistory(ChannelTable &table, SquelchReader readSquelch, SquelchWriter writeSquelch, QObject *parent = nullptr);

    QUndoStack &stack() { return m_stack; }

    /// Runs `change` and records every field and the squelch text it changed as one step named
    /// `name`. Nested calls belong to the outermost step.
    void record(const QString &name, const std::function<void()> &change);

    /// Replaces rf, tf and bt of the first 16 channels and, unless `squelch` is null, the squelch
    /// level, as one step (a channel file opened, an import, a read from the radio). The channels
    /// are stored at once, all or nothing; the squelch text goes through the box's check. Returns
    /// why the channels could not be stored (nothing changed then), or an empty text.
    QString replaceChannelSet(const QString &name, const ChannelList &channels, const QString &squelch);
    /// replaceChannelSet() with the table's store in the background: the step is recorded when
    /// the channels are stored, and `done` gets the error text then.
    void replaceChannelSetInBackground(const QString &name, const ChannelList &channels, const QString &squelch,
                                       std::function<void(const QString &error)> done);

    /// The squelch box's text changed by typing or picking. Changes in a row are one step until
    /// endSquelchTyping() (the box lost focus, Return, an item picked) or another step.
    void squelchEdited();
    void endSquelchTyping() { m_squelchRunOpen = false; }

    /// Locked while a transfer runs: undo and redo do nothing.
    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }
    bool canUndo() const { return !m_locked && m_stack.canUndo(); }
    bool canRedo() const { return !m_locked && m_stack.canRedo(); }
    void undo();
    void redo();

    /// Assigns one side of a step. Used by the steps themselves.
    void apply(const Change &change, bool after);
    /// Whether every cell of the step still holds its `after` (or before) side; when one does
    /// not (another program changed that channel), says so through stepOutdated().
    bool stillHolds(const Change &change, bool after);

signals:
    /// Whether undo or redo is possible may have changed.
    void availabilityChanged();
    /// An undo (`undoing`) or redo was refused and its step dropped: channel `row` no longer holds
    /// what the step left there.
    void stepOutdated(int row, bool undoing);

private:
    struct Snapshot
    {
        QList<std::array<QVariant, ChannelField::Count>> rows;
        QString squelch;
    };
    Snapshot snapshot() const;
    /// Pushes what changed since `before` as one step.
    void recordSince(const QString &name, const Snapshot &before);
    static Change difference(const Snapshot &before, const Snapshot &after);
    void push(const QString &name, const Change &change, bool continuesTyping);

    ChannelTable &m_table;
    SquelchReader m_readSquelch;
    SquelchWriter m_writeSquelch;
    QUndoStack m_stack;
    QString m_lastSquelch;
    int m_recordDepth = 0;
    bool m_applying = false;
    bool m_locked = false;
    bool m_squelchRunOpen = false;
};
