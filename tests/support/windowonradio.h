// The real main window, started on a fake radio's pseudo-terminal with a database of its own.
#pragma once

#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "core/radio/readinesspoll.h"
#include "core/radio/readtransfer.h"
#include "core/radio/writeoptions.h"
#include "core/radio/writetransfer.h"
#include "core/serial/seriallink.h"
#include "fakeradio.h"
#include "recordedmessages.h"
#include "window/channels/channelgrid.h"

#include <QAction>
#include <QComboBox>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct WindowOnRadio
{
    QTemporaryDir dir;
    RecordedMessages messages;
    FakeRadio radio;
    std::unique_ptr<MainWindow> window;
    /// Tests of the plain write go on past the question about a radio that has not answered yet
    /// (a write right after start-up or after a read); tests of that question turn this off.
    bool writeToSilentRadio = true;
    Messages::QuestionHandler recordedQuestions;

    WindowOnRadio()
    {
        // The plain write: tests of the backup, the changes and the read-back turn them on.
        setWriteOptions(false, false, false);
        recordedQuestions = Messages::setQuestionHandler([this](QWidget *parent, const Messages::Question &question) {
            if (writeToSilentRadio && question.text.startsWith(QStringLiteral("对讲机没有应答（端口")))
                return 0;
            return recordedQuestions(parent, question);
        });
        window = Startup::run(dir.filePath(Startup::databaseFileName()), PortTable({radio.devicePath()}));
    }

    ~WindowOnRadio()
    {
        window.reset();
        Messages::setQuestionHandler(recordedQuestions);
    }

    WindowOnRadio(const WindowOnRadio &) = delete;
    WindowOnRadio &operator=(const WindowOnRadio &) = delete;

    /// What the next write does around its frames (kept in this test's settings file).
    static void setWriteOptions(bool backupFirst, bool showChanges, bool verifyAfter)
    {
        WriteOptions options;
        options.backupFirst = backupFirst;
        options.showChanges = showChanges;
        options.verifyAfter = verifyAfter;
        options.save();
    }

    bool isUp() const { return radio.isOpen() && window != nullptr; }
    ChannelTable &table() { return window->channelTable(); }
    QAction *action(const char *name) const { return window->findChild<QAction *>(QString::fromUtf8(name)); }
    WriteTransfer *writer() const { return window->findChild<WriteTransfer *>(); }
    ReadTransfer *reader() const { return window->findChild<ReadTransfer *>(); }
    QProgressBar *progress() const { return window->findChild<QProgressBar *>(QStringLiteral("transferProgress")); }

    /// Names of the menu entries that are enabled now.
    QStringList enabledCommands() const
    {
        QStringList names;
        for (const char *name : {"文件", "打开", "保存", "读信道", "写信道", "端口", "退出", "帮助"}) {
            if (action(name)->isEnabled())
                names << QString::fromUtf8(name);
        }
        return names;
    }

    static QStringList allCommands() { return {"文件", "打开", "保存", "读信道", "写信道", "端口", "退出", "帮助"}; }

    /// The controls a transfer locks: the grid and both boxes.
    bool controlsEnabled() const
    {
        return window->channelGrid()->isEnabled() && window->squelchBox()->isEnabled() && window->shiftBox()->isEnabled();
    }
};
