// A one-line label that never cuts a text silently: a text wider than the label ends in "…" and
// the whole text becomes the tooltip. text() is always the whole text.
#pragma once

#include <QLabel>

class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(const QString &text = QString(), QWidget *parent = nullptr);

    /// Hides QLabel's: the tooltip follows the text.
    void setText(const QString &text);
    void clear();

    /// Whether the text is wider than the label and shown shortened.
    bool isElided() const;
    /// The text as it shows now: whole, or shortened with "…".
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void refreshToolTip();
};
