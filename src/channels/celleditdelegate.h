// Edits grid cells as the standard delegate does, and tells when an edit has reached the model.
#pragma once

#include <QStyledItemDelegate>

class CellEditDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    /// A changed value is in the model; what the cell shows now may still be rewritten.
    /// A cell committed with the text it already held gives no signal.
    void edited(int row, int column) const;
};
