// A plain-text label that wraps its text only at runs of blanks (see BlankWrap), keeping every
// blank. QLabel's own wrapping also breaks between Chinese characters, which undoes the layout
// the texts were written for.
#pragma once

#include <QLabel>

class BlankWrapLabel : public QLabel
{
    Q_OBJECT

public:
    explicit BlankWrapLabel(const QString &text = QString(), QWidget *parent = nullptr);

    /// The lines the text shows in at the given width.
    QStringList lines(int width) const;
    /// The lines the text shows in now.
    QStringList lines() const { return lines(contentsRect().width()); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
