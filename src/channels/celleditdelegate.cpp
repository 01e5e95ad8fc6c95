#include "channels/celleditdelegate.h"

void CellEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString before = index.data(Qt::EditRole).toString();
    QStyledItemDelegate::setModelData(editor, model, index);
    // A cell left as it was is not an edit: the check would rewrite a row the user did not touch.
    if (index.data(Qt::EditRole).toString() != before)
        emit edited(index.row(), index.column());
}
