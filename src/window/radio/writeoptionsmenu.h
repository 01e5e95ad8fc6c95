// The three checkable items of the 编辑 menu that turn the write's backup, its changes dialog and
// its read-back on and off. Each click is kept in the settings at once; the write reads them when
// it starts.
#pragma once

#include <QObject>

class QAction;
class QMenu;

class WriteOptionsMenu : public QObject
{
    Q_OBJECT

public:
    /// Adds the items to `menu`, checked as the settings say.
    explicit WriteOptionsMenu(QMenu *menu, QObject *parent = nullptr);

    QAction *backupAction() const { return m_backup; }
    QAction *changesAction() const { return m_changes; }
    QAction *verifyAction() const { return m_verify; }

private:
    void keep();

    QAction *m_backup = nullptr;
    QAction *m_changes = nullptr;
    QAction *m_verify = nullptr;
};
