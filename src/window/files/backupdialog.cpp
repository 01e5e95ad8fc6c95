#include "window/files/backupdialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

BackupDialog::BackupDialog(const QList<BackupStore::Backup> &backups, QWidget *parent)
    : QDialog(parent)
    , m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("backupDialog"));
    setWindowTitle(tr("恢复备份"));
    m_list->setObjectName(QStringLiteral("backupList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({tr("时间"), tr("端口"), tr("信道")});
    for (const BackupStore::Backup &backup : backups) {
        const ChannelFile::ReadResult read = BackupStore::load(backup.path);
        const QString channels = read.error == ChannelFile::ReadError::None ? BackupStore::summary(read.set) : tr("（无法读取）");
        auto *item = new QTreeWidgetItem(m_list, {backup.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), backup.port, channels});
        item->setData(0, Qt::UserRole, backup.path);
        item->setToolTip(0, backup.path);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *open = buttons->addButton(tr("打开"), QDialogButtonBox::AcceptRole);
    open->setObjectName(QStringLiteral("openBackupButton"));
    open->setDefault(true);
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemActivated, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(560, 360);
}

QString BackupDialog::chosenPath() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}
