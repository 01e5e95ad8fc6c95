#include "window/channels/grideditcommands.h"

#include "core/channels/cellblock.h"
#include "core/channels/celledits.h"
#include "core/channels/channelrecord.h"
#include "core/channels/channelrule.h"
#include "core/channels/channeltable.h"
#include "window/channels/channelgrid.h"
#include "window/channels/edithistory.h"
#include "window/ui/messagebox.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QItemSelectionModel>

#include <algorithm>

namespace {

QModelIndexList selectedCells(const ChannelTable &table)
{
    QModelIndexList cells = table.selectionModel()->selectedIndexes();
    if (cells.isEmpty() && table.selectionModel()->currentIndex().isValid())
        cells << table.selectionModel()->currentIndex();
    std::sort(cells.begin(), cells.end(), [](const QModelIndex &a, const QModelIndex &b) {
        return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
    });
    return cells;
}

QString columnName(int column)
{
    switch (column) {
    case ChannelField::Rf:
        return QCoreApplication::translate("GridEditCommands", "接收频率");
    case ChannelField::Tf:
        return QCoreApplication::translate("GridEditCommands", "发送频率");
    case ChannelField::Bt:
        return QCoreApplication::translate("GridEditCommands", "拍频");
    default:
        return QString();
    }
}

/// A refused value as the message shows it: a long one cut, so that the box stays readable.
QString shownValue(const CellEdits::Refusal &cell)
{
    constexpr int ShownLength = 24;
    if (cell.reason == CellEdits::Reason::TooLong)
        return QCoreApplication::translate("GridEditCommands", "%1 个字符，过长").arg(cell.text.size());
    if (cell.text.size() <= ShownLength)
        return cell.text;
    return QCoreApplication::translate("GridEditCommands", "%1…（%2 个字符）").arg(cell.text.left(ShownLength)).arg(cell.text.size());
}

QStringList refusalLines(const QList<CellEdits::Refusal> &refused)
{
    // A box taller than the screen hides its button: a long list is cut with a count.
    constexpr qsizetype MaxLines = 20;
    QStringList lines;
    for (const CellEdits::Refusal &cell : refused.first(qMin(refused.size(), MaxLines)))
        lines << QCoreApplication::translate("GridEditCommands", "第 %1 信道 %2：%3").arg(cell.row + 1).arg(columnName(cell.column), shownValue(cell));
    if (refused.size() > MaxLines)
        lines << QCoreApplication::translate("GridEditCommands", "……另有 %1 个").arg(refused.size() - MaxLines);
    return lines;
}

/// The block's lines (from 0) as one range text: "第 17 行" or "第 17 至 20 行".
QString beyondLine(const QList<int> &linesBeyond, int rowCount)
{
    const int first = linesBeyond.first() + 1;
    const int last = linesBeyond.last() + 1;
    const QString lines = first == last ? QCoreApplication::translate("GridEditCommands", "第 %1 行").arg(first) : QCoreApplication::translate("GridEditCommands", "第 %1 至 %2 行").arg(first).arg(last);
    return QCoreApplication::translate("GridEditCommands", "粘贴内容的%1超出第 %2 信道，没有粘贴").arg(lines).arg(rowCount);
}

} // namespace

GridEditCommands::GridEditCommands(ChannelGrid &grid, ChannelTable &table, EditHistory &history, QObject *parent)
    : QObject(parent)
    , m_grid(grid)
    , m_table(table)
    , m_history(history)
{
    const auto make = [this](const QString &name, const QString &caption, const QList<QKeySequence> &keys,
                             Qt::ShortcutContext context, void (GridEditCommands::*slot)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(name);
        action->setShortcuts(keys);
        action->setShortcutContext(context);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_undo = make(QStringLiteral("undoCommand"), tr("撤销(&U)"), {QKeySequence::Undo}, Qt::WindowShortcut,
                  &GridEditCommands::undo);
    m_redo = make(QStringLiteral("redoCommand"), tr("重做(&R)"),
                  {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, Qt::WindowShortcut,
                  &GridEditCommands::redo);
    // The clipboard keys belong to the grid: in the squelch box they keep their usual meaning.
    m_copy = make(QStringLiteral("copyCommand"), tr("复制(&C)"), {QKeySequence::Copy}, Qt::WidgetWithChildrenShortcut,
                  &GridEditCommands::copy);
    m_paste = make(QStringLiteral("pasteCommand"), tr("粘贴(&P)"), {QKeySequence::Paste},
                   Qt::WidgetWithChildrenShortcut, &GridEditCommands::paste);
    m_clear = make(QStringLiteral("clearCommand"), tr("清除(&L)"), {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)},
                   Qt::WidgetWithChildrenShortcut, &GridEditCommands::clear);

    auto *separator = new QAction(this);
    separator->setSeparator(true);
    m_grid.addActions({m_undo, m_redo, separator, m_copy, m_paste, m_clear});
    m_grid.setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(&m_history, &EditHistory::availabilityChanged, this, &GridEditCommands::updateAvailability);
    updateAvailability();
}

void GridEditCommands::undo()
{
    m_grid.commitOpenEditor(); // what is being typed is a step of its own, undone first
    m_history.undo();
}

void GridEditCommands::redo()
{
    m_grid.commitOpenEditor();
    m_history.redo();
}

void GridEditCommands::copy()
{
    const QModelIndexList cells = selectedCells(m_table);
    if (cells.isEmpty())
        return;
    int top = cells.first().row(), bottom = top, left = cells.first().column(), right = left;
    for (const QModelIndex &cell : cells) {
        top = qMin(top, cell.row());
        bottom = qMax(bottom, cell.row());
        left = qMin(left, cell.column());
        right = qMax(right, cell.column());
    }
    QList<QStringList> rows(bottom - top + 1, QStringList(right - left + 1));
    for (const QModelIndex &cell : cells)
        rows[cell.row() - top][cell.column() - left] = cell.data(Qt::DisplayRole).toString();
    QGuiApplication::clipboard()->setText(CellBlock::compose(rows));
}

void GridEditCommands::paste()
{
    if (m_history.isLocked())
        return;
    m_grid.commitOpenEditor();
    const QList<QStringList> block = CellBlock::parse(QGuiApplication::clipboard()->text());
    const QModelIndexList cells = selectedCells(m_table);
    if (block.isEmpty() || cells.isEmpty())
        return;
    QList<CellEdits::CellValue> values;
    QList<int> linesBeyond;
    if (block.size() == 1 && block.first().size() == 1 && cells.size() > 1) {
        for (const QModelIndex &cell : cells) {
            if (cell.column() != ChannelField::No)
                values.append({cell.row(), cell.column(), block.first().first()});
        }
    } else {
        values = CellEdits::placeBlock(block, cells.first().row(), cells.first().column(), m_table.rowCount(), &linesBeyond);
    }
    const QString title = tr("错误警告 ");
    // A value no cell can take means the clipboard holds something else: nothing of it is stored.
    const QList<CellEdits::Refusal> unreadable = CellEdits::unreadable(values);
    if (!unreadable.isEmpty()) {
        QStringList lines{tr("粘贴内容中有不是频率或不是 on、off 的数据，没有粘贴 ！！")};
        lines << refusalLines(unreadable);
        if (!linesBeyond.isEmpty())
            lines << beyondLine(linesBeyond, m_table.rowCount());
        Messages::show(m_grid.window(), title, lines.join(u'\n'), Messages::Icon::Warning);
        return;
    }
    QList<CellEdits::Refusal> refused;
    m_history.record(tr("粘贴"), [&] { refused = CellEdits::apply(m_table, values); });
    QStringList lines;
    if (!refused.isEmpty())
        lines << ChannelRule::outOfRangeMessage() << refusalLines(refused);
    if (!linesBeyond.isEmpty())
        lines << beyondLine(linesBeyond, m_table.rowCount());
    if (!lines.isEmpty())
        Messages::show(m_grid.window(), title, lines.join(u'\n'), Messages::Icon::Warning);
}

void GridEditCommands::clear()
{
    if (m_history.isLocked())
        return;
    m_grid.commitOpenEditor();
    QList<CellEdits::CellValue> values;
    for (const QModelIndex &cell : selectedCells(m_table)) {
        if (cell.column() != ChannelField::No)
            values.append({cell.row(), cell.column(), QString()});
    }
    // Emptied values cannot be out of range: nothing to tell.
    m_history.record(tr("清除"), [&] { CellEdits::apply(m_table, values); });
}

void GridEditCommands::updateAvailability()
{
    m_undo->setEnabled(m_history.canUndo());
    m_redo->setEnabled(m_history.canRedo());
    const bool editable = !m_history.isLocked();
    m_copy->setEnabled(editable);
    m_paste->setEnabled(editable);
    m_clear->setEnabled(editable);
    m_undo->setStatusTip(m_history.stack().undoText());
    m_redo->setStatusTip(m_history.stack().redoText());
}
