// Changes to the actions of a menu bar made as one: QMenuBar lays out all its items again, every
// caption measured anew, for each action that changes; while a MenuBarChanges lives it does so once,
// when it ends.
#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QMenuBar;

class MenuBarChanges : public QObject
{
public:
    explicit MenuBarChanges(QMenuBar *bar);
    ~MenuBarChanges() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QMenuBar> m_bar;
    QPointer<QAction> m_lastChanged;
};
