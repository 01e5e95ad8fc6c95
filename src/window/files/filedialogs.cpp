#include "window/files/filedialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QRegularExpression>

namespace FileDialogs {

namespace {

Answer showModal(QWidget *parent, const Request &request)
{
    QFileDialog dialog(parent);
    dialog.setNameFilter(request.filter);
    if (!request.initialFilter.isEmpty())
        dialog.selectNameFilter(request.initialFilter);
    if (request.mode == Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    // Without the flag no default suffix: a name typed without an extension is used as typed.
    // With it the suffix follows the entry the user picks, so that the dialog's own question
    // before replacing a file asks about the name that will be written.
    if (request.suffixFromFilter) {
        dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString &entry) { dialog.setDefaultSuffix(suffixOf(entry)); });
    }
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted)
        return Answer();
    return Answer(dialog.selectedFiles().value(0), dialog.selectedNameFilter());
}

Handler &currentHandler()
{
    static Handler handler = showModal;
    return handler;
}

int pickModal(QWidget *parent, const Choice &choice)
{
    bool ok = false;
    const QString picked = QInputDialog::getItem(parent, choice.title, choice.label, choice.items, 0, false, &ok);
    return ok ? int(choice.items.indexOf(picked)) : -1;
}

ChoiceHandler &currentChoiceHandler()
{
    static ChoiceHandler handler = pickModal;
    return handler;
}

} // namespace

int choose(QWidget *parent, const Choice &choice)
{
    const ChoiceHandler handler = currentChoiceHandler();
    const int index = handler(parent, choice);
    return index >= 0 && index < choice.items.size() ? index : -1;
}

ChoiceHandler setChoiceHandler(ChoiceHandler handler)
{
    ChoiceHandler previous = currentChoiceHandler();
    currentChoiceHandler() = handler ? std::move(handler) : ChoiceHandler(pickModal);
    return previous;
}

Answer ask(QWidget *parent, const Request &request)
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

QString suffixOf(const QString &filterEntry)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\s*\\*\\.([^\\s()*?\\[\\]]+)[\\s)]"));
    const QRegularExpressionMatch match = firstPattern.match(filterEntry);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace FileDialogs
