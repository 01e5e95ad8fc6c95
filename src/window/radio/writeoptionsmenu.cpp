#include "window/radio/writeoptionsmenu.h"

#include "core/radio/writeoptions.h"

#include <QAction>
#include <QMenu>

WriteOptionsMenu::WriteOptionsMenu(QMenu *menu, QObject *parent)
    : QObject(parent)
{
    const WriteOptions options = WriteOptions::load();
    const auto add = [&](const QString &name, const QString &text, bool checked) {
        QAction *action = menu->addAction(text);
        action->setObjectName(name);
        action->setCheckable(true);
        action->setChecked(checked);
        connect(action, &QAction::toggled, this, &WriteOptionsMenu::keep);
        return action;
    };
    m_backup = add(QStringLiteral("backupBeforeWrite"), tr("写入前备份"), options.backupFirst);
    m_changes = add(QStringLiteral("changesBeforeWrite"), tr("写入前显示改动"), options.showChanges);
    m_verify = add(QStringLiteral("verifyAfterWrite"), tr("写入后校验"), options.verifyAfter);
}

void WriteOptionsMenu::keep()
{
    WriteOptions options;
    options.backupFirst = m_backup->isChecked();
    options.showChanges = m_changes->isChecked();
    options.verifyAfter = m_verify->isChecked();
    options.save();
}
