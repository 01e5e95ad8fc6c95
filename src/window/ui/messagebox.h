// Every message box of the program goes through here, so that tests can see them without a screen.
#pragma once

#include <QString>
#include <QStringList>

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

/// A box that asks: the user picks one of `buttons` (texts, left to right).
struct Question
{
    QString title;
    QString text;
    Icon icon = Icon::None;
    QStringList buttons;
    int defaultButton = 0; ///< chosen by Return
    int escapeButton = -1; ///< chosen by Escape or the close box; -1: the last button
};

using Handler = std::function<void(QWidget *parent, const Message &message)>;
/// Returns the index into question.buttons of the button chosen.
using QuestionHandler = std::function<int(QWidget *parent, const Question &question)>;

/// Shows a modal box with a single OK button (or hands it to the installed handler).
void show(QWidget *parent, const QString &title, const QString &text, Icon icon);

/// Replaces how boxes are shown; returns the previous handler. An empty handler restores the default.
Handler setHandler(Handler handler);

/// Shows a modal question box (or hands it to the installed handler) and returns the index of
/// the chosen button, always within question.buttons (0 when there are none).
int ask(QWidget *parent, const Question &question);

/// Replaces how questions are asked; returns the previous handler. An empty handler restores the default.
QuestionHandler setQuestionHandler(QuestionHandler handler);

} // namespace Messages
