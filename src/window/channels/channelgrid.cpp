#include "window/channels/channelgrid.h"

#include "core/channels/channeltable.h"
#include "print/fonts.h"
#include "window/channels/celleditdelegate.h"
#include "window/channels/edithistory.h"

#include <QHeaderView>
#include <QKeyEvent>

ChannelGrid::ChannelGrid(QWidget *parent)
    : QTableView(parent)
{
    const QFont font = Fonts::font(Fonts::kai(), 12);
    setFont(font);
    horizontalHeader()->setFont(font);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                    | QAbstractItemView::SelectedClicked);
    m_delegate = new CellEditDelegate(this);
    setItemDelegate(m_delegate);
    connect(m_delegate, &CellEditDelegate::edited, this, &ChannelGrid::cellEdited);
    connect(m_delegate, &CellEditDelegate::refused, this, &ChannelGrid::cellRefused);
}

void ChannelGrid::bind(ChannelTable *table)
{
    setModel(table);
    setSelectionModel(table->selectionModel());
    // The columns take what their captions need and the shift column the rest, so that all four
    // show in the frame without a horizontal scroll bar.
    QHeaderView *header = horizontalHeader();
    for (int column = 0; column < 3; ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    header->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

int ChannelGrid::heightForAllRows() const
{
    return heightForRows(model() ? model()->rowCount() : 0);
}

int ChannelGrid::heightForRows(int rows) const
{
    return horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
}

void ChannelGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // Editors are direct children of the viewport; commitData ignores any other widget.
    const auto children = viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *editor : children) {
        if (!editor->isVisible())
            continue;
        m_committingOpenEditor = true;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
        m_committingOpenEditor = false;
        return;
    }
}

void ChannelGrid::commitData(QWidget *editor)
{
    // The typed value and what the check makes of it are one step.
    if (m_history)
        m_history->record(tr("编辑"), [&] { QTableView::commitData(editor); });
    else
        QTableView::commitData(editor);
}

void ChannelGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool down = m_delegate->takeReturnPressed() && !m_committingOpenEditor && hint == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, hint);
    if (down)
        moveDown();
}

void ChannelGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != QAbstractItemView::EditingState
        && event->modifiers() == Qt::NoModifier) {
        moveDown();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ChannelGrid::moveDown()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.row() + 1 >= model()->rowCount())
        return;
    setCurrentIndex(model()->index(current.row() + 1, current.column()));
}
