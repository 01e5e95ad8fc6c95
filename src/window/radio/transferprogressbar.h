// The progress bar of a transfer: one step a frame, shown as "n/16".
#pragma once

#include <QHash>
#include <QPixmap>
#include <QProgressBar>

class TransferProgressBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit TransferProgressBar(QWidget *parent = nullptr);

    /// Shows `done` of `total` steps. The bar is painted when the event loop is free, with the
    /// window's other changes, not at once as QProgressBar::setValue() does; the last step alone
    /// is painted at once.
    void showStep(int done, int total);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    /// What the style's drawing of a step depends on besides the value.
    struct Look
    {
        QSize size;
        qreal pixelRatio = 1;
        int minimum = 0;
        int maximum = 0;
        bool enabled = true;
        bool active = true;
        bool operator==(const Look &) const = default;
    };
    Look currentLook() const;
    QPixmap faceOfCurrentStep();

    // The style draws a step at some cost (rounded outlines, the count's text shaped anew): a
    // transfer shows the same 17 steps each time, so each is drawn once and then copied.
    QHash<int, QPixmap> m_faces;
    Look m_facesLook;
};
