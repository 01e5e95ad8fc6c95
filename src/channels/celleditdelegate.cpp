#include "channels/celleditdelegate.h"

#include <QKeyEvent>

void CellEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString before = index.data(Qt::EditRole).toString();
    QStyledItemDelegate::setModelData(editor, model, index);
    // A cell left as it was is not an edit: the check would rewrite a row the user did not touch.
    if (index.data(Qt::EditRole).toString() != before)
        emit edited(index.row(), index.column());
}

bool CellEditDelegate::eventFilter(QObject *object, QEvent *event)
{
    // The standard delegate closes the editor on Return a moment later; the grid then moves down.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        m_returnPressed = key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
