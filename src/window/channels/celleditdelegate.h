// Edits grid cells as the standard delegate does, and tells when an edit has reached the model.
#pragma once

#include <QStyledItemDelegate>

#include <utility>

class CellEditDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    /// Whether the editor was last left with Return or Enter (asked once per editor close).
    bool takeReturnPressed() { return std::exchange(m_returnPressed, false); }

signals:
    /// A changed value is in the model; what the cell shows now may still be rewritten.
    /// A cell committed with the text it already held gives no signal.
    void edited(int row, int column) const;
    /// A value the cell cannot hold was left unstored; the cell keeps what it held.
    void refused(int row, int column, const QString &text) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    bool m_returnPressed = false;
};
