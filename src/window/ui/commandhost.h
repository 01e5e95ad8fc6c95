// What the menu's commands (the radio transfers, the channel files) need of the window they run
// in: the lock a transfer holds, the status line, the squelch level and the grid's open cell.
// The main window implements it and hands itself to the commands it creates, so that feature code
// never depends on the main window.
#pragma once

#include <QList>
#include <QString>

#include <functional>

struct ChannelRecord;
class QWidget;

class CommandHost
{
public:
    /// What the window is busy with; a transfer locks out everything that could disturb it.
    enum class Activity { Idle, Writing, Reading };

    /// The window that boxes and dialogs of a command belong to.
    virtual QWidget *dialogParent() = 0;

    virtual Activity activity() const = 0;
    /// Locks the menus, the grid and the boxes for a transfer, or unlocks them again (Idle).
    virtual void setActivity(Activity activity) = 0;

    /// The status line's label, for a command that shows something beside it.
    virtual QWidget *statusLabel() const = 0;
    virtual QString statusText() const = 0;
    virtual void setStatusText(const QString &text) = 0;
    /// Empties the status line a little over a second from now.
    virtual void startStatusClearing() = 0;
    /// Stops a clearing countdown still running, so that a new text stays.
    virtual void cancelStatusClearing() = 0;

    /// The squelch level: the text of the squelch box.
    virtual QString squelchLevel() const = 0;
    /// Sets the squelch box's text; the level check runs as for typing.
    virtual void setSquelchLevel(const QString &text) = 0;

    /// Replaces rf, tf and bt of the first 16 channels and, unless `squelch` is null, the squelch
    /// level (its check runs as for typing), as one step the user can undo, named `stepName`. The
    /// channels are stored at once, all or nothing. Returns why they could not be stored (nothing
    /// changed then), or an empty text.
    virtual QString replaceChannelSet(const QString &stepName, const QList<ChannelRecord> &channels, const QString &squelch) = 0;
    /// replaceChannelSet() with the database's wait for the disk off the window's thread: `done`
    /// gets the same text later, once the step is recorded or the channels refused.
    virtual void replaceChannelSetInBackground(const QString &stepName, const QList<ChannelRecord> &channels, const QString &squelch,
                                               std::function<void(const QString &error)> done) = 0;

    /// Hands a grid cell still being edited over to the table, as if the user had pressed Return,
    /// and runs its check; false when the check refused the value (the user has been told).
    virtual bool commitOpenCell() = 0;

protected:
    ~CommandHost() = default;
};
