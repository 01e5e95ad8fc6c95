#include "window/ui/menubartooltips.h"

#include <QAction>
#include <QHelpEvent>
#include <QMenuBar>
#include <QToolTip>

namespace {

// What QAction::toolTip() gives when no tooltip was set: the text without access-key marks and
// the blanks around it. Such a tooltip only repeats the caption and is not shown.
QString captionOnly(const QAction *action)
{
    QString text = action->text();
    text.remove(QStringLiteral("..."));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&')
            text.remove(i, 1); // "&&" keeps its second "&"
    }
    return text.trimmed();
}

} // namespace

MenuBarToolTips::MenuBarToolTips(QMenuBar *bar)
    : QObject(bar)
{
    bar->installEventFilter(this);
}

void MenuBarToolTips::install(QMenuBar *bar)
{
    new MenuBarToolTips(bar);
}

bool MenuBarToolTips::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    auto *bar = static_cast<QMenuBar *>(watched);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QAction *action = bar->actionAt(help->pos());
    if (!action || action->toolTip() == captionOnly(action)) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(help->globalPos(), action->toolTip(), bar, bar->actionGeometry(const_cast<QAction *>(action)));
    return true;
}
