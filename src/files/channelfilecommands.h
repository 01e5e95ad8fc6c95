// The commands 打开 and 保存: a channel set from a channel file into the table and the squelch box,
// and back out into a file.
#pragma once

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
    /// Saves the squelch level and the first 16 channels into a file the user picks.
    void save();

private:
    enum class Purpose { Open, Save };
    /// The guard, the working directory and the dialog both commands start with; empty when
    /// cancelled or refused.
    QString chooseFile(Purpose purpose, QString *workDir);
    QString rememberWorkingDirectory();
    void restoreWorkingDirectory(const QString &path);
    void showError(const QString &text);

    CommandHost &m_host;
    ChannelTable &m_table;
    FileChooser *m_dialog = nullptr;
};
