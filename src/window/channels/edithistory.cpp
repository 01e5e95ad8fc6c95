#include "window/channels/edithistory.h"

#include "core/channels/channelrows.h"
#include "core/channels/channeltable.h"

#include <QItemSelectionModel>

namespace {

using ChannelRows::sameValue;

QVariant fieldOf(const ChannelRecord &record, int field)
{
    const QVariant fields[ChannelField::Count] = {record.no, record.rf, record.tf, record.bt};
    return fields[field];
}

class EditStep : public QUndoCommand
{
public:
    static constexpr int SquelchTypingId = 1;

    /// A squelch-only step that `continuesTyping` joins the squelch step before it.
    EditStep(EditHistory &history, const QString &name, EditHistory::Change change, bool continuesTyping)
        : QUndoCommand(name)
        , m_history(history)
        , m_change(std::move(change))
        , m_squelchOnly(m_change.cells.isEmpty())
        , m_continuesTyping(continuesTyping)
    {
    }

    // The change is already made when the step is pushed; only later redos assign it.
    void redo() override
    {
        if (std::exchange(m_done, false))
            return;
        if (!m_history.stillHolds(m_change, false)) {
            setObsolete(true);
            return;
        }
        m_history.apply(m_change, true);
    }
    void undo() override
    {
        // A channel that another program has changed since keeps its values: the step goes.
        if (!m_history.stillHolds(m_change, true)) {
            setObsolete(true);
            return;
        }
        m_history.apply(m_change, false);
    }

    int id() const override { return m_squelchOnly ? SquelchTypingId : -1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const EditStep *>(other);
        if (!next->m_continuesTyping)
            return false;
        m_change.squelchAfter = next->m_change.squelchAfter;
        // Typed and taken back again: nothing left to undo.
        setObsolete(m_change.squelchBefore == m_change.squelchAfter);
        return true;
    }

private:
    EditHistory &m_history;
    EditHistory::Change m_change;
    bool m_squelchOnly;
    bool m_continuesTyping;
    bool m_done = true;
};

} // namespace

EditHistory::EditHistory(ChannelTable &table, SquelchReader readSquelch, SquelchWriter writeSquelch, QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_readSquelch(std::move(readSquelch))
    , m_writeSquelch(std::move(writeSquelch))
    , m_lastSquelch(m_readSquelch())
{
    m_stack.setObjectName(QStringLiteral("editHistory"));
    connect(&m_stack, &QUndoStack::canUndoChanged, this, &EditHistory::availabilityChanged);
    connect(&m_stack, &QUndoStack::canRedoChanged, this, &EditHistory::availabilityChanged);
    connect(&m_stack, &QUndoStack::indexChanged, this, &EditHistory::availabilityChanged);
}

void EditHistory::record(const QString &name, const std::function<void()> &change)
{
    if (m_recordDepth > 0 || m_applying) {
        change();
        return;
    }
    const Snapshot before = snapshot();
    ++m_recordDepth;
    change();
    --m_recordDepth;
    recordSince(name, before);
}

void EditHistory::recordSince(const QString &name, const Snapshot &before)
{
    const Snapshot after = snapshot();
    m_lastSquelch = after.squelch;
    push(name, difference(before, after), false);
}

QString EditHistory::replaceChannelSet(const QString &name, const ChannelList &channels, const QString &squelch)
{
    QString error;
    record(name, [&] {
        if (!m_table.storeChannels(channels)) {
            error = m_table.lastError();
            return;
        }
        if (!squelch.isNull())
            m_writeSquelch(squelch);
    });
    return error;
}

void EditHistory::replaceChannelSetInBackground(const QString &name, const ChannelList &channels, const QString &squelch,
                                                std::function<void(const QString &error)> done)
{
    const Snapshot before = snapshot();
    m_table.storeChannelsInBackground(channels, [this, name, squelch, before, done = std::move(done)](const QString &error) {
        if (error.isEmpty()) {
            ++m_recordDepth;
            if (!squelch.isNull())
                m_writeSquelch(squelch);
            --m_recordDepth;
            recordSince(name, before);
        }
        done(error);
    });
}

void EditHistory::squelchEdited()
{
    if (m_recordDepth > 0 || m_applying)
        return; // part of a step being recorded or replayed
    Change change;
    change.squelchChanged = true;
    change.squelchBefore = m_lastSquelch;
    change.squelchAfter = m_readSquelch();
    m_lastSquelch = change.squelchAfter;
    if (change.squelchBefore == change.squelchAfter)
        return;
    push(tr("静噪级别"), change, m_squelchRunOpen);
    m_squelchRunOpen = true;
}

void EditHistory::setLocked(bool locked)
{
    if (m_locked == locked)
        return;
    m_locked = locked;
    m_squelchRunOpen = false;
    emit availabilityChanged();
}

void EditHistory::undo()
{
    if (!canUndo())
        return;
    m_squelchRunOpen = false;
    m_stack.undo();
}

void EditHistory::redo()
{
    if (!canRedo())
        return;
    m_squelchRunOpen = false;
    m_stack.redo();
}

void EditHistory::apply(const Change &change, bool after)
{
    m_applying = true;
    // The changed cells become the selection, the first of them the current cell, before they
    // are assigned: like an edit, they stay pending until the current record moves on.
    if (!change.cells.isEmpty()) {
        QItemSelectionModel *selection = m_table.selectionModel();
        const CellChange &first = change.cells.first();
        selection->setCurrentIndex(m_table.index(first.row, first.field), QItemSelectionModel::ClearAndSelect);
        for (const CellChange &cell : change.cells)
            selection->select(m_table.index(cell.row, cell.field), QItemSelectionModel::Select);
    }
    for (const CellChange &cell : change.cells)
        m_table.setFieldAt(cell.row, cell.field, after ? cell.after : cell.before);
    if (change.squelchChanged)
        m_writeSquelch(after ? change.squelchAfter : change.squelchBefore);
    m_lastSquelch = m_readSquelch();
    m_applying = false;
}

bool EditHistory::stillHolds(const Change &change, bool after)
{
    for (const CellChange &cell : change.cells) {
        if (!sameValue(fieldOf(m_table.channel(cell.row), cell.field), after ? cell.after : cell.before)) {
            emit stepOutdated(cell.row, after);
            return false;
        }
    }
    return true;
}

EditHistory::Snapshot EditHistory::snapshot() const
{
    Snapshot shot;
    for (int row = 0; row < m_table.rowCount(); ++row) {
        const ChannelRecord record = m_table.channel(row);
        shot.rows.append({record.no, record.rf, record.tf, record.bt});
    }
    shot.squelch = m_readSquelch();
    return shot;
}

EditHistory::Change EditHistory::difference(const Snapshot &before, const Snapshot &after)
{
    Change change;
    const qsizetype rows = qMin(before.rows.size(), after.rows.size());
    for (int row = 0; row < rows; ++row) {
        for (int field = 0; field < ChannelField::Count; ++field) {
            const QVariant &old = before.rows.at(row)[field];
            const QVariant &now = after.rows.at(row)[field];
            if (!sameValue(old, now))
                change.cells.append({row, field, old, now});
        }
    }
    if (before.squelch != after.squelch) {
        change.squelchChanged = true;
        change.squelchBefore = before.squelch;
        change.squelchAfter = after.squelch;
    }
    return change;
}

void EditHistory::push(const QString &name, const Change &change, bool continuesTyping)
{
    if (change.isEmpty())
        return;
    if (!continuesTyping)
        m_squelchRunOpen = false;
    m_stack.push(new EditStep(*this, name, change, continuesTyping));
}
