// Every file dialog of the program goes through here, so that tests can answer it without a screen.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace FileDialogs {

enum class Mode { Open, Save };

struct Request
{
    Mode mode = Mode::Open;
    QString filter;      ///< in Qt's form, "description (patterns)" entries joined by ";;"
    QString initialName; ///< what the name box starts with
};

/// Returns the chosen file name, or an empty text when the user cancelled.
using Handler = std::function<QString(QWidget *parent, const Request &request)>;

/// Shows a modal file dialog (or hands the request to the installed handler).
QString ask(QWidget *parent, const Request &request);

/// Replaces how file dialogs are shown; returns the previous handler. An empty handler restores the default.
Handler setHandler(Handler handler);

} // namespace FileDialogs
