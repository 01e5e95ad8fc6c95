// Shows the tooltips of the menu bar's own commands. QMenuBar shows none (QMenu has
// setToolTipsVisible, the bar nothing alike), yet a greyed command there has to say why.
#pragma once

#include <QObject>

class QMenuBar;

class MenuBarToolTips : public QObject
{
    Q_OBJECT

public:
    /// Watches `bar`; lives as long as the bar.
    static void install(QMenuBar *bar);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit MenuBarToolTips(QMenuBar *bar);
};
