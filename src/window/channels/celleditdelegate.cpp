#include "window/channels/celleditdelegate.h"

#include "core/channels/channelrecord.h"
#include "core/channels/channelrule.h"

#include <QKeyEvent>
#include <QMetaProperty>

void CellEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString before = index.data(Qt::EditRole).toString();
    if (index.column() == ChannelField::Bt) {
        // The shift is checked before it is stored, so a refused text never replaces the old one.
        const QString typed = editor->metaObject()->userProperty().read(editor).toString();
        const std::optional<QString> shift = ChannelRule::shiftText(typed);
        if (!shift) {
            if (typed != before)
                emit refused(index.row(), index.column(), typed);
            return;
        }
        model->setData(index, *shift);
    } else {
        QStyledItemDelegate::setModelData(editor, model, index);
    }
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
