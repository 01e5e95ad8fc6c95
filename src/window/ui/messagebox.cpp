#include "window/ui/messagebox.h"

#include <QMessageBox>
#include <QPushButton>

namespace Messages {

namespace {

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

void showModal(QWidget *parent, const Message &message)
{
    QMessageBox box(boxIcon(message.icon), message.title, message.text, QMessageBox::Ok, parent);
    box.exec();
}

int escapeIndex(const Question &question)
{
    const int count = int(question.buttons.size());
    if (question.escapeButton >= 0 && question.escapeButton < count)
        return question.escapeButton;
    return count > 0 ? count - 1 : 0;
}

int askModal(QWidget *parent, const Question &question)
{
    QMessageBox box(boxIcon(question.icon), question.title, question.text, QMessageBox::NoButton, parent);
    QList<QPushButton *> buttons;
    for (const QString &text : question.buttons)
        buttons << box.addButton(text, QMessageBox::ActionRole);
    if (buttons.isEmpty())
        buttons << box.addButton(QMessageBox::Ok);
    const int escape = escapeIndex(question);
    box.setEscapeButton(buttons.value(escape));
    if (question.defaultButton >= 0 && question.defaultButton < buttons.size())
        box.setDefaultButton(buttons.at(question.defaultButton));
    box.exec();
    // Escape and the close box report the escape button; anything else counts as that too.
    const int chosen = int(buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
    return chosen >= 0 ? chosen : escape;
}

Handler &currentHandler()
{
    static Handler handler = showModal;
    return handler;
}

QuestionHandler &currentQuestionHandler()
{
    static QuestionHandler handler = askModal;
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

int ask(QWidget *parent, const Question &question)
{
    const QuestionHandler handler = currentQuestionHandler();
    const int chosen = handler(parent, question);
    if (chosen < 0 || chosen >= question.buttons.size())
        return escapeIndex(question);
    return chosen;
}

QuestionHandler setQuestionHandler(QuestionHandler handler)
{
    QuestionHandler previous = currentQuestionHandler();
    currentQuestionHandler() = handler ? std::move(handler) : QuestionHandler(askModal);
    return previous;
}

} // namespace Messages
