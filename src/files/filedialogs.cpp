#include "files/filedialogs.h"

#include <QFileDialog>

namespace FileDialogs {

namespace {

QString showModal(QWidget *parent, const Request &request)
{
    QFileDialog dialog(parent);
    dialog.setNameFilter(request.filter);
    // No default suffix: a name typed without an extension is used exactly as typed.
    if (request.mode == Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

Handler &currentHandler()
{
    static Handler handler = showModal;
    return handler;
}

} // namespace

QString ask(QWidget *parent, const Request &request)
{
    const Handler handler = currentHandler(); // a copy: the handler may replace itself
    return handler(parent, request);
}

Handler setHandler(Handler handler)
{
    Handler previous = currentHandler();
    currentHandler() = handler ? std::move(handler) : Handler(showModal);
    return previous;
}

} // namespace FileDialogs
