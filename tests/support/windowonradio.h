// The real main window, started on a fake radio's pseudo-terminal with a database of its own.
#pragma once

#include "app/mainwindow.h"
#include "app/startup.h"
#include "channels/channelgrid.h"
#include "channels/channeltable.h"
#include "fakeradio.h"
#include "radio/readinesspoll.h"
#include "radio/readtransfer.h"
#include "radio/writetransfer.h"
#include "recordedmessages.h"
#include "serial/seriallink.h"

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

    WindowOnRadio()
    {
        window = Startup::run(dir.filePath(Startup::databaseFileName()), PortTable({radio.devicePath()}));
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
