#include "window/ui/menubarchanges.h"

#include <QActionEvent>
#include <QCoreApplication>
#include <QMenuBar>

MenuBarChanges::MenuBarChanges(QMenuBar *bar)
    : m_bar(bar)
{
    // A menu bar of the desktop's own (a global menu) updates each item on its own change.
    if (m_bar && !m_bar->isNativeMenuBar())
        m_bar->installEventFilter(this);
}

MenuBarChanges::~MenuBarChanges()
{
    if (!m_bar)
        return;
    m_bar->removeEventFilter(this);
    // The bar reads every action's state when it paints: one change event lays it out and
    // repaints it for all of them.
    if (m_lastChanged) {
        QActionEvent changed(QEvent::ActionChanged, m_lastChanged);
        QCoreApplication::sendEvent(m_bar, &changed);
    }
}

bool MenuBarChanges::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bar && event->type() == QEvent::ActionChanged) {
        m_lastChanged = static_cast<QActionEvent *>(event)->action();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
