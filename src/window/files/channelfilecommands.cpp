#include "window/files/channelfilecommands.h"

#include "core/channels/channelrule.h"
#include "core/channels/channeltable.h"
#include "core/channels/frequencycheck.h"
#include "core/files/backupstore.h"
#include "core/files/channelfile.h"
#include "core/files/channelsheet.h"
#include "core/files/exportfolder.h"
#include "core/files/programsettings.h"
#include "core/files/sheetexchange.h"
#include "core/files/workingdirectory.h"
#include "window/files/backupdialog.h"
#include "window/files/filechooser.h"
#include "window/files/filedialogs.h"
#include "window/ui/commandhost.h"
#include "window/ui/messagebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const char *const FileFilter = QT_TRANSLATE_NOOP("ChannelFileCommands", "信道文件|*.doc");
const QString ChannelFileSuffix = QStringLiteral("doc");
const QString LastFolderKey = QStringLiteral("files/lastFolder");

// A bare name is a channel file: "plan1" and "plan1." become "plan1.doc".
QString withChannelFileSuffix(const QString &typed)
{
    const QFileInfo info(typed);
    if (info.fileName().isEmpty() || !info.suffix().isEmpty())
        return typed;
    return typed + (typed.endsWith(u'.') ? QString() : QStringLiteral(".")) + ChannelFileSuffix;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A file's squelch item is always set, even when it is empty.
QString nonNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString readErrorText(ChannelFile::ReadError error, const QString &path)
{
    switch (error) {
    case ChannelFile::ReadError::None:
        break;
    case ChannelFile::ReadError::CannotOpen:
        return QCoreApplication::translate("ChannelFileCommands", "文件 %1 无法打开 ！！").arg(shown(path));
    case ChannelFile::ReadError::CannotRead:
        return QCoreApplication::translate("ChannelFileCommands", "文件 %1 读取失败 ！！").arg(shown(path));
    case ChannelFile::ReadError::TooFewItems:
    case ChannelFile::ReadError::NotRegularFile:
    case ChannelFile::ReadError::NotText:
    case ChannelFile::ReadError::NotFrequency:
        return QCoreApplication::translate("ChannelFileCommands", "文件 %1 不是完整的信道文件 ！！").arg(shown(path));
    case ChannelFile::ReadError::TooLarge:
        return QCoreApplication::translate("ChannelFileCommands", "文件 %1 大于 64 MiB，未读取 ！！").arg(shown(path));
    }
    return QString();
}

QString writeErrorText(ChannelFile::WriteError error, const QString &path)
{
    switch (error) {
    case ChannelFile::WriteError::None:
        break;
    case ChannelFile::WriteError::NotSixteenChannels:
        return QCoreApplication::translate("ChannelFileCommands", "信道表不足 16 个信道，文件 %1 未保存 ！！").arg(shown(path));
    case ChannelFile::WriteError::SeparatorInValue:
        return QCoreApplication::translate("ChannelFileCommands", "数据中含有逗号或换行，文件 %1 未保存 ！！").arg(shown(path));
    case ChannelFile::WriteError::CannotCreate:
    case ChannelFile::WriteError::CannotWrite:
        return QCoreApplication::translate("ChannelFileCommands", "文件 %1 无法保存 ！！").arg(shown(path));
    }
    return QString();
}

} // namespace

ChannelFileCommands::ChannelFileCommands(CommandHost &host, ChannelTable &table, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_table(table)
    , m_dialog(new FileChooser(host.dialogParent()))
    , m_sheetDialog(new FileChooser(host.dialogParent()))
{
    m_sheetDialog->setObjectName(QStringLiteral("sheetChooser"));
    const auto settings = ProgramSettings::open();
    m_recent = RecentFiles::load(*settings);
    // The dialog starts at the file last opened or saved, in this run or an earlier one.
    const QString lastFolder = settings->value(LastFolderKey).toString();
    if (!m_recent.isEmpty())
        m_dialog->setInitialName(m_recent.paths().constFirst());
    else if (!lastFolder.isEmpty())
        m_dialog->setInitialName(lastFolder + u'/');
}

void ChannelFileCommands::open()
{
    QString workDir;
    const QString path = chooseFile(Purpose::Open, &workDir);
    if (path.isEmpty())
        return;
    load(path);
    restoreWorkingDirectory(workDir);
}

void ChannelFileCommands::openRecent(const QString &path)
{
    if (!guardAndCommit())
        return;
    if (!QFileInfo::exists(path)) {
        m_recent.remove(path);
        m_recent.store(*ProgramSettings::open());
        emit recentFilesChanged();
        showError(tr("文件 %1 已不存在，已从最近的文件中移除。").arg(shown(path)));
        return;
    }
    m_table.moveFirst();
    load(path);
}

void ChannelFileCommands::load(const QString &path)
{
    // Every item is read and checked before anything changes, so a bad file leaves all as it was.
    const ChannelFile::ReadResult result = ChannelFile::load(path);
    if (result.error != ChannelFile::ReadError::None) {
        showError(readErrorText(result.error, path));
    } else if (!applyLoadedSet(tr("打开文件"), result.set, true)) {
        showError(tr("信道数据无法存入数据库，文件 %1 未打开 ！！").arg(shown(path)));
    } else {
        remember(path);
        m_currentFile = path;
        emit fileMatched(path);
    }
}

void ChannelFileCommands::remember(const QString &path)
{
    m_recent.add(path);
    m_dialog->setInitialName(m_recent.paths().value(0, path));
    const auto settings = ProgramSettings::open();
    m_recent.store(*settings);
    settings->setValue(LastFolderKey, QFileInfo(m_recent.paths().value(0, path)).absolutePath());
    emit recentFilesChanged();
}

bool ChannelFileCommands::applyLoadedSet(const QString &stepName, const ChannelSet &set, bool withSquelch)
{
    // One undo step; a null squelch text leaves the squelch box as it is.
    if (!m_host.replaceChannelSet(stepName, set.channels, withSquelch ? nonNull(set.squelch) : QString()).isEmpty())
        return false;
    m_table.moveFirst();
    m_table.moveNext();
    return true;
}

void ChannelFileCommands::save()
{
    if (m_currentFile.isEmpty()) {
        saveAs();
        return;
    }
    if (!guardAndCommit())
        return;
    m_table.moveFirst();
    writeFile(m_currentFile);
}

void ChannelFileCommands::saveAs()
{
    QString workDir;
    const QString typed = chooseFile(Purpose::Save, &workDir);
    if (typed.isEmpty())
        return;
    writeFile(withChannelFileSuffix(typed));
    restoreWorkingDirectory(workDir);
}

void ChannelFileCommands::writeFile(const QString &path)
{
    const ChannelFile::WriteResult result = ChannelFile::save(path, m_host.squelchLevel(), m_table.channels());
    if (result.error != ChannelFile::WriteError::None) {
        showError(writeErrorText(result.error, path));
    } else {
        remember(path);
        m_currentFile = path;
        m_host.cancelStatusClearing();
        m_host.setStatusText(tr("已保存 %1").arg(QFileInfo(path).fileName()));
        emit fileMatched(path);
    }
    m_table.moveFirst();
}

void ChannelFileCommands::restoreBackup()
{
    if (!guardAndCommit())
        return;
    const QList<BackupStore::Backup> backups = BackupStore::list();
    if (backups.isEmpty()) {
        Messages::show(m_host.dialogParent(), tr("恢复备份"),
                       tr("还没有备份。每次写信道数据前，对讲机原有的信道保存在 %1。").arg(shown(BackupStore::folder())),
                       Messages::Icon::Information);
        return;
    }
    BackupDialog dialog(backups, m_host.dialogParent());
    if (dialog.exec() != QDialog::Accepted || dialog.chosenPath().isEmpty())
        return;
    const QString path = dialog.chosenPath();
    m_table.moveFirst();
    const ChannelFile::ReadResult result = BackupStore::load(path);
    if (result.error != ChannelFile::ReadError::None) {
        showError(readErrorText(result.error, path));
        return;
    }
    if (!applyLoadedSet(tr("恢复备份"), result.set, true)) {
        showError(tr("信道数据无法存入数据库，备份 %1 未恢复 ！！").arg(shown(path)));
        return;
    }
    m_host.cancelStatusClearing();
    m_host.setStatusText(tr("已载入备份 %1，用“写信道数据”写入对讲机").arg(QFileInfo(path).completeBaseName()));
    // A backup keeps what the radio held, which may be a channel it would not take from us.
    if (const ChannelRule::BadFrequency bad = ChannelRule::firstBadFrequency(result.set.channels); bad.found()) {
        const QString side = bad.field == ChannelField::Rf ? tr("接收频率") : tr("发送频率");
        const QString problem = ChannelRule::isFrequencyText(bad.text)
            ? tr("第 %1 信道的%2 %3 超出范围（%4 到 %5 MHz）").arg(bad.row + 1).arg(side, bad.text).arg(FrequencyCheck::LowerLimit).arg(FrequencyCheck::UpperLimit)
            : tr("第 %1 信道的%2“%3”不是频率").arg(bad.row + 1).arg(side, bad.text);
        Messages::show(m_host.dialogParent(), tr("恢复备份"),
                       tr("备份已载入表格，但对讲机不接受其中的信道：%1。\n写信道数据前请改正这个信道。").arg(problem),
                       Messages::Icon::Warning);
    }
}

void ChannelFileCommands::importSheet()
{
    QString workDir;
    const QString path = chooseFile(Purpose::Import, &workDir);
    if (path.isEmpty())
        return;

    // Only a regular file: opening a FIFO with no writer, or reading a device, would hang the window.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        showError(tr("文件 %1 无法打开 ！！").arg(shown(path)));
    } else {
        const ChannelSheet::Format format = SheetExchange::importFormat(path, m_importFilterIndex);
        ChannelSheet::Result result = ChannelSheet::load(path, format);
        if (!result.locations.isEmpty()) {
            // Too many rows for the radio: the user says where the 16 channels begin.
            FileDialogs::Choice choice;
            choice.title = tr("导入");
            choice.label = tr("文件 %1 有 %2 行，电台只有 %3 个信道。\n从哪个位置（Location）起取 %3 行？")
                               .arg(shown(path))
                               .arg(result.locations.size())
                               .arg(ChannelCount);
            for (const qint64 location : std::as_const(result.locations))
                choice.items << QString::number(location);
            const int picked = FileDialogs::choose(m_host.dialogParent(), choice);
            if (picked < 0) {
                restoreWorkingDirectory(workDir);
                return;
            }
            ChannelSheet::ReadOptions options;
            options.firstLocation = int(result.locations.at(picked));
            result = ChannelSheet::load(path, format, options);
        }
        if (!result.ok()) {
            showError(tr("文件 %1 无法导入 ！！\n%2").arg(shown(path), result.shownError));
        } else if (!applyLoadedSet(tr("导入"), result.set, result.squelchGiven)) {
            showError(tr("信道数据无法存入数据库，文件 %1 未导入 ！！").arg(shown(path)));
        } else if (!result.shownWarnings.isEmpty()) {
            showLeftOut(tr("文件 %1 已导入，以下内容未导入：").arg(shown(path)), result.shownWarnings);
        }
    }
    restoreWorkingDirectory(workDir);
}

void ChannelFileCommands::exportSheet()
{
    QString workDir;
    // The export starts where the last export went, not at the name of the last import.
    m_sheetDialog->setInitialName(ExportFolder::startName());
    const QString typed = chooseFile(Purpose::Export, &workDir);
    if (typed.isEmpty())
        return;

    const QString path = SheetExchange::exportPath(typed, m_exportFilterIndex);
    // An existing FIFO or device would be written in place and could hang the window.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        showError(tr("文件 %1 无法导出 ！！").arg(shown(path)));
    } else {
        // The blanks a level picked from the list carries belong to the channel file only.
        const ChannelSet set{m_host.squelchLevel().trimmed(), m_table.channels()};
        const ChannelSheet::Composed saved = ChannelSheet::saveComposed(path, set, SheetExchange::exportFormat(path, m_exportFilterIndex));
        if (!saved.ok()) {
            showError(tr("文件 %1 无法导出 ！！\n%2").arg(shown(path), SheetExchange::withoutPath(saved.shownError, path)));
        } else {
            ExportFolder::remember(path);
            m_host.cancelStatusClearing();
            m_host.setStatusText(tr("已导出 %1").arg(QFileInfo(path).fileName()));
            if (!saved.shownWarnings.isEmpty())
                showLeftOut(tr("文件 %1 已导出，以下内容未写入：").arg(shown(path)), saved.shownWarnings);
        }
    }
    m_table.moveFirst();
    restoreWorkingDirectory(workDir);
}

bool ChannelFileCommands::guardAndCommit()
{
    // The transfers walk the current record on their own; the menu is off then, and this holds
    // for a command that arrives by another way.
    if (m_host.activity() != CommandHost::Activity::Idle)
        return false;
    m_host.commitOpenCell(); // a refused value has been told and cleared; the command goes on
    return true;
}

QString ChannelFileCommands::chooseFile(Purpose purpose, QString *workDir)
{
    if (!guardAndCommit())
        return QString();
    *workDir = rememberWorkingDirectory();
    m_table.moveFirst();
    switch (purpose) {
    case Purpose::Open:
    case Purpose::Save:
        m_dialog->setFilter(tr(FileFilter));
        m_dialog->setSuffixFromFilter(purpose == Purpose::Save);
        return purpose == Purpose::Open ? m_dialog->chooseToOpen() : m_dialog->chooseToSave();
    case Purpose::Import: {
        m_sheetDialog->setFilter(SheetExchange::importFilter());
        m_sheetDialog->setFilterIndex(m_importFilterIndex);
        m_sheetDialog->setSuffixFromFilter(false);
        const QString path = m_sheetDialog->chooseToOpen();
        m_importFilterIndex = m_sheetDialog->filterIndex();
        return path;
    }
    case Purpose::Export: {
        m_sheetDialog->setFilter(SheetExchange::exportFilter());
        m_sheetDialog->setFilterIndex(m_exportFilterIndex);
        m_sheetDialog->setSuffixFromFilter(true);
        const QString path = m_sheetDialog->chooseToSave();
        m_exportFilterIndex = m_sheetDialog->filterIndex();
        return path;
    }
    }
    return QString();
}

QString ChannelFileCommands::rememberWorkingDirectory()
{
    bool ok = false;
    const QString path = WorkingDirectory::current(&ok);
    if (!ok)
        Messages::show(m_host.dialogParent(), Messages::applicationTitle(), QStringLiteral("Error"), Messages::Icon::None);
    return path;
}

void ChannelFileCommands::restoreWorkingDirectory(const QString &path)
{
    if (!WorkingDirectory::change(path))
        Messages::show(m_host.dialogParent(), Messages::applicationTitle(), QStringLiteral("ERROR"), Messages::Icon::None);
}

void ChannelFileCommands::showError(const QString &text)
{
    Messages::show(m_host.dialogParent(), tr("错误警告 "), text, Messages::Icon::Warning);
}

void ChannelFileCommands::showLeftOut(const QString &heading, const QStringList &warnings)
{
    Messages::show(m_host.dialogParent(), Messages::applicationTitle(), heading + u'\n' + SheetExchange::listed(warnings),
                   Messages::Icon::Information);
}
