// The real main window in a scratch folder, on a pseudo-terminal, with message boxes recorded and
// the file dialog answered by the test: what the file, import and export command tests share.
#pragma once

#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/files/programsettings.h"
#include "pseudoterminal.h"
#include "recordedmessages.h"
#include "window/files/filedialogs.h"

#include <QAction>
#include <QDir>
#include <QList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

struct FileCommandRig
{
    const QString startDir = QDir::currentPath();
    QTemporaryDir dir;
    PseudoTerminal pty;
    RecordedMessages messages;
    QList<FileDialogs::Request> requests;
    /// How the test answers the next file dialog; unset: the dialog is cancelled.
    std::function<FileDialogs::Answer(const FileDialogs::Request &)> answer;
    FileDialogs::Handler previousDialogs;
    QList<FileDialogs::Choice> choices;
    /// The index the next list is answered with; unset: the list is cancelled.
    std::function<int(const FileDialogs::Choice &)> pick;
    FileDialogs::ChoiceHandler previousChoices;
    std::unique_ptr<MainWindow> window;

    FileCommandRig()
    {
        previousDialogs = FileDialogs::setHandler([this](QWidget *, const FileDialogs::Request &request) {
            requests.append(request);
            return answer ? answer(request) : FileDialogs::Answer();
        });
        // Each test starts as a first run: no recent files, no kept squelch level.
        ProgramSettings::open()->clear();
        previousChoices = FileDialogs::setChoiceHandler([this](QWidget *, const FileDialogs::Choice &choice) {
            choices.append(choice);
            return pick ? pick(choice) : -1;
        });
        if (dir.isValid() && pty.isOpen())
            window = Startup::run(dir.filePath(Startup::databaseFileName()), PortTable({pty.devicePath()}));
    }

    ~FileCommandRig()
    {
        window.reset();
        FileDialogs::setHandler(previousDialogs);
        FileDialogs::setChoiceHandler(previousChoices);
        // The commands change the working directory; the scratch folder goes after it is left.
        QDir::setCurrent(startDir);
    }

    bool isUp() const { return window != nullptr; }
    QString path(const QString &name) const { return dir.filePath(name); }
    QAction *action(const char *name) const { return window->findChild<QAction *>(QString::fromUtf8(name)); }
};
