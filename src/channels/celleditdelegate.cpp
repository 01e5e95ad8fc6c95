#include "channels/celleditdelegate.h"

void CellEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    QStyledItemDelegate::setModelData(editor, model, index);
    emit edited(index.row(), index.column());
}
