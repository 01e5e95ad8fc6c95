// The commands 打开, 保存 and 另存为: a channel set from a channel file into the table and the
// squelch box, and back out into the open file or another; and 导入 and 导出, the same with a spreadsheet (CHIRP CSV, our CSV) or
// a JSON document.
#pragma once

#include "core/files/channelfile.h"
#include "core/files/recentfiles.h"

#include <QObject>
#include <QString>

class ChannelTable;
class CommandHost;
class FileChooser;

class ChannelFileCommands : public QObject
{
    Q_OBJECT

public:
    ChannelFileCommands(CommandHost &host, ChannelTable &table, QObject *parent = nullptr);

    FileChooser &fileChooser() { return *m_dialog; }

    /// Loads a file the user picks: everything in it, or on any fault nothing.
    void open();
    /// Saves the squelch level and the first 16 channels into the open channel file, without a
    /// dialog; with no file open it asks like saveAs().
    void save();
    /// Saves into a file the user picks, which becomes the open file; a name without extension
    /// gets ".doc".
    void saveAs();
    /// The channel file last opened or saved in this run; empty before the first.
    QString currentFile() const { return m_currentFile; }
    /// Loads a file of the recent list without a dialog; a file no longer there is told and
    /// leaves the list.
    void openRecent(const QString &path);

    /// The files last opened or saved, newest first (kept in the settings).
    QStringList recentFiles() const { return m_recent.paths(); }

    /// 恢复备份: lists the radio's kept backups and loads the one the user picks, like open();
    /// with none kept the user is told so.
    void restoreBackup();

    /// Loads a sheet the user picks, all or nothing like open(); tells what it left out.
    void importSheet();
    /// Writes the squelch level and the 16 channels in the layout of the filter the user picks.
    void exportSheet();

    /// Puts a loaded set into the table, and its squelch level into the squelch box when
    /// `withSquelch`, as one undo step named `stepName`; every loaded set goes this one way.
    /// False when the database refused it (nothing changed then).
    bool applyLoadedSet(const QString &stepName, const ChannelSet &set, bool withSquelch);

signals:
    /// The recent list changed: a file was opened or saved, or a missing one left it.
    void recentFilesChanged();
    /// The table and the squelch level now match the channel file `path`: it was opened or saved.
    void fileMatched(const QString &path);

private:
    enum class Purpose { Open, Save, Import, Export };
    /// The guard, the working directory and the dialog both commands start with; empty when
    /// cancelled or refused.
    QString chooseFile(Purpose purpose, QString *workDir);
    QString rememberWorkingDirectory();
    void restoreWorkingDirectory(const QString &path);
    void showError(const QString &text);
    void showLeftOut(const QString &heading, const QStringList &warnings);
    bool guardAndCommit();
    void load(const QString &path);
    void remember(const QString &path);
    void writeFile(const QString &path);

    CommandHost &m_host;
    ChannelTable &m_table;
    FileChooser *m_dialog = nullptr;
    /// The sheets' own dialog, so that each remembers its own last name and layout.
    FileChooser *m_sheetDialog = nullptr;
    int m_importFilterIndex = 0;
    int m_exportFilterIndex = 0;
    RecentFiles m_recent;
    QString m_currentFile;
};
