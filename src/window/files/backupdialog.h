// 恢复备份: the kept backups, newest first, with time, port and first channels; 打开 gives the
// chosen one's path, 取消 nothing.
#pragma once

#include "core/files/backupstore.h"

#include <QDialog>
#include <QList>
#include <QString>

class QTreeWidget;

class BackupDialog : public QDialog
{
    Q_OBJECT

public:
    BackupDialog(const QList<BackupStore::Backup> &backups, QWidget *parent = nullptr);

    /// The backup selected; empty when there is none.
    QString chosenPath() const;

private:
    QTreeWidget *m_list = nullptr;
};
