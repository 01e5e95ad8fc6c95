#include "app/messagebox.h"

#include <QMessageBox>

namespace Messages {

namespace {

void showModal(QWidget *parent, const Message &message)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (message.icon) {
    case Icon::None:
        break;
    case Icon::Information:
        icon = QMessageBox::Information;
        break;
    case Icon::Warning:
        icon = QMessageBox::Warning;
        break;
    case Icon::Critical:
        icon = QMessageBox::Critical;
        break;
    }
    QMessageBox box(icon, message.title, message.text, QMessageBox::Ok, parent);
    box.exec();
}

Handler &currentHandler()
{
    static Handler handler = showModal;
    return handler;
}

} // namespace

void show(QWidget *parent, const QString &title, const QString &text, Icon icon)
{
    const Handler handler = currentHandler(); // a copy: the handler may replace itself
    handler(parent, Message{title, text, icon});
}

Handler setHandler(Handler handler)
{
    Handler previous = currentHandler();
    currentHandler() = handler ? std::move(handler) : Handler(showModal);
    return previous;
}

} // namespace Messages
