// Every message box of the program goes through here, so that tests can see them without a screen.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace Messages {

enum class Icon { None, Information, Warning, Critical };

struct Message
{
    QString title;
    QString text;
    Icon icon = Icon::None;
};

/// The caption of boxes that have no title of their own.
inline QString applicationTitle()
{
    return QStringLiteral("QZ300");
}

using Handler = std::function<void(QWidget *parent, const Message &message)>;

/// Shows a modal box with a single OK button (or hands it to the installed handler).
void show(QWidget *parent, const QString &title, const QString &text, Icon icon);

/// Replaces how boxes are shown; returns the previous handler. An empty handler restores the default.
Handler setHandler(Handler handler);

} // namespace Messages
