// Every file dialog of the program goes through here, so that tests can answer it without a screen.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace FileDialogs {

enum class Mode { Open, Save };

struct Request
{
    Mode mode = Mode::Open;
    QString filter;         ///< in Qt's form, "description (patterns)" entries joined by ";;"
    QString initialName;    ///< what the name box starts with
    QString initialFilter;  ///< the entry of `filter` selected at the start; empty: the first
    /// A name typed without extension gets the extension of the entry selected when the user
    /// accepts (save dialogs); off, a name is used exactly as typed.
    bool suffixFromFilter = false;
};

/// What the user chose. A handler that returns only a name leaves `filter` empty: the entry
/// selected at the start is taken to be the one chosen.
struct Answer
{
    Answer() = default;
    // Not explicit: a handler that returns just a name still gives an answer.
    Answer(const QString &name, const QString &chosenFilter = QString())
        : fileName(name)
        , filter(chosenFilter)
    {
    }

    QString fileName; ///< empty when the user cancelled
    QString filter;   ///< the entry of the request's filter selected when the user accepted
};

using Handler = std::function<Answer(QWidget *parent, const Request &request)>;

/// Shows a modal file dialog (or hands the request to the installed handler).
Answer ask(QWidget *parent, const Request &request);

/// Replaces how file dialogs are shown; returns the previous handler. An empty handler restores the default.
Handler setHandler(Handler handler);

/// A pick from a short list (which Location of a long sheet comes first).
struct Choice
{
    QString title;
    QString label;
    QStringList items;
};

/// Returns the index into choice.items picked, or -1 when the user cancelled.
using ChoiceHandler = std::function<int(QWidget *parent, const Choice &choice)>;

/// Shows a modal list to pick from (or hands it to the installed handler).
int choose(QWidget *parent, const Choice &choice);

/// Replaces how lists are offered; returns the previous handler. An empty handler restores the default.
ChoiceHandler setChoiceHandler(ChoiceHandler handler);

/// The extension of a filter entry's first pattern, "JSON (*.json)" gives "json"; empty for "*"
/// and for patterns without one.
QString suffixOf(const QString &filterEntry);

} // namespace FileDialogs
