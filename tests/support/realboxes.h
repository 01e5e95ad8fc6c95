// Shows the program's boxes for real while alive: each is closed from a timer once it has been up
// for a while, so the nested event loop of a modal box runs as it does for a user.
#pragma once

#include "window/ui/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <deque>

class RealBoxes
{
public:
    /// `keepUpMs`: how long each box stays up before the test closes it.
    explicit RealBoxes(int keepUpMs = 300)
        : m_keepUpMs(keepUpMs)
        , m_previous(Messages::setHandler({}))
        , m_previousQuestions(Messages::setQuestionHandler({}))
    {
        m_watch.setInterval(20);
        QObject::connect(&m_watch, &QTimer::timeout, [this] { look(); });
        m_watch.start();
    }

    ~RealBoxes()
    {
        Messages::setHandler(m_previous);
        Messages::setQuestionHandler(m_previousQuestions);
    }

    RealBoxes(const RealBoxes &) = delete;
    RealBoxes &operator=(const RealBoxes &) = delete;

    /// The next question box is answered with the button of this text (others: OK or Escape).
    void answerNext(const QString &buttonText) { m_answers.push_back(buttonText); }

    /// Texts of the boxes seen so far, in order.
    QStringList texts() const { return m_texts; }
    /// Buttons of the boxes seen so far, joined by "|".
    QStringList buttons() const { return m_buttons; }

private:
    void look()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (box != m_current) {
            m_current = box;
            m_texts << box->text();
            QStringList names;
            for (QAbstractButton *button : box->buttons())
                names << button->text();
            m_buttons << names.join(u'|');
            m_upFor.start();
            return;
        }
        if (m_upFor.elapsed() < m_keepUpMs)
            return;
        m_current = nullptr;
        if (QAbstractButton *ok = box->button(QMessageBox::Ok)) {
            ok->click();
            return;
        }
        const QString wanted = m_answers.empty() ? QString() : m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == wanted) {
                button->click();
                return;
            }
        }
        box->reject();
    }

    int m_keepUpMs;
    Messages::Handler m_previous;
    Messages::QuestionHandler m_previousQuestions;
    QTimer m_watch;
    QPointer<QMessageBox> m_current;
    QElapsedTimer m_upFor;
    QStringList m_texts;
    QStringList m_buttons;
    std::deque<QString> m_answers;
};
