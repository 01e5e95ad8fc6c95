#include "channels/channelgrid.h"

#include "channels/celleditdelegate.h"
#include "channels/channeltable.h"
#include "ui/fonts.h"

#include <QHeaderView>

ChannelGrid::ChannelGrid(QWidget *parent)
    : QTableView(parent)
{
    const QFont font = Fonts::font(Fonts::kai(), 12);
    setFont(font);
    horizontalHeader()->setFont(font);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                    | QAbstractItemView::SelectedClicked);
    auto *delegate = new CellEditDelegate(this);
    setItemDelegate(delegate);
    connect(delegate, &CellEditDelegate::edited, this, &ChannelGrid::cellEdited);
}

void ChannelGrid::bind(ChannelTable *table)
{
    setModel(table);
    setSelectionModel(table->selectionModel());
    setColumnWidth(0, 70);
    setColumnWidth(1, 130);
    setColumnWidth(2, 130);
    horizontalHeader()->setStretchLastSection(true);
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
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
        return;
    }
}
