#include "files/channelfilecommands.h"

#include "channels/channeltable.h"
#include "files/channelfile.h"
#include "files/filechooser.h"
#include "files/workingdirectory.h"
#include "ui/commandhost.h"
#include "ui/messagebox.h"

#include <QDir>

namespace {

const QString FileFilter = QStringLiteral("text(*.doc)|*.doc");

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
        return QStringLiteral("文件 %1 无法打开 ！！").arg(shown(path));
    case ChannelFile::ReadError::CannotRead:
        return QStringLiteral("文件 %1 读取失败 ！！").arg(shown(path));
    case ChannelFile::ReadError::TooFewItems:
    case ChannelFile::ReadError::NotRegularFile:
    case ChannelFile::ReadError::NotText:
        return QStringLiteral("文件 %1 不是完整的信道文件 ！！").arg(shown(path));
    }
    return QString();
}

QString writeErrorText(ChannelFile::WriteError error, const QString &path)
{
    switch (error) {
    case ChannelFile::WriteError::None:
        break;
    case ChannelFile::WriteError::NotSixteenChannels:
        return QStringLiteral("信道表不足 16 个信道，文件 %1 未保存 ！！").arg(shown(path));
    case ChannelFile::WriteError::SeparatorInValue:
        return QStringLiteral("数据中含有逗号或换行，文件 %1 未保存 ！！").arg(shown(path));
    case ChannelFile::WriteError::CannotCreate:
    case ChannelFile::WriteError::CannotWrite:
        return QStringLiteral("文件 %1 无法保存 ！！").arg(shown(path));
    }
    return QString();
}

} // namespace

ChannelFileCommands::ChannelFileCommands(CommandHost &host, ChannelTable &table, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_table(table)
    , m_dialog(new FileChooser(host.dialogParent()))
{
}

void ChannelFileCommands::open()
{
    QString workDir;
    const QString path = chooseFile(Purpose::Open, &workDir);
    if (path.isEmpty())
        return;

    // Every item is read and checked before anything changes, so a bad file leaves all as it was.
    const ChannelFile::ReadResult result = ChannelFile::load(path);
    if (result.error != ChannelFile::ReadError::None) {
        showError(readErrorText(result.error, path));
    } else if (!m_host.replaceChannelSet(QStringLiteral("打开文件"), result.set.channels, nonNull(result.set.squelch)).isEmpty()) {
        showError(QStringLiteral("信道数据无法存入数据库，文件 %1 未打开 ！！").arg(shown(path)));
    } else {
        m_table.moveFirst();
        m_table.moveNext();
    }
    restoreWorkingDirectory(workDir);
}

void ChannelFileCommands::save()
{
    QString workDir;
    const QString path = chooseFile(Purpose::Save, &workDir);
    if (path.isEmpty())
        return;

    const ChannelFile::WriteResult result = ChannelFile::save(path, m_host.squelchLevel(), m_table.channels());
    if (result.error != ChannelFile::WriteError::None)
        showError(writeErrorText(result.error, path));
    m_table.moveFirst();
    restoreWorkingDirectory(workDir);
}

QString ChannelFileCommands::chooseFile(Purpose purpose, QString *workDir)
{
    // The transfers walk the current record on their own; the menu is off then, and this holds
    // for a command that arrives by another way.
    if (m_host.activity() != CommandHost::Activity::Idle)
        return QString();
    m_host.commitOpenCell(); // a refused value has been told and cleared; the command goes on
    *workDir = rememberWorkingDirectory();
    m_table.moveFirst();
    m_dialog->setFilter(FileFilter);
    return purpose == Purpose::Open ? m_dialog->chooseToOpen() : m_dialog->chooseToSave();
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
    Messages::show(m_host.dialogParent(), QStringLiteral("错误警告 "), text, Messages::Icon::Information);
}
