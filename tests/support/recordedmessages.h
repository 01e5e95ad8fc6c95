// Records the message boxes a test provokes instead of showing them.
#pragma once

#include "window/ui/messagebox.h"

#include <QList>

#include <deque>

class RecordedMessages
{
public:
    RecordedMessages();
    ~RecordedMessages();

    RecordedMessages(const RecordedMessages &) = delete;
    RecordedMessages &operator=(const RecordedMessages &) = delete;

    const QList<Messages::Message> &all() const { return m_messages; }
    qsizetype count() const { return m_messages.size(); }
    bool isEmpty() const { return m_messages.isEmpty(); }
    Messages::Message last() const { return m_messages.value(m_messages.size() - 1); }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

    /// Runs once when the next box is shown, as if the user did something while it was up.
    void onNext(std::function<void(const Messages::Message &)> action) { m_onNext = std::move(action); }

    /// Questions asked so far (kept apart from the plain boxes above).
    const QList<Messages::Question> &questions() const { return m_questions; }
    Messages::Question lastQuestion() const { return m_questions.value(m_questions.size() - 1); }
    /// The button index the next question is answered with; queued answers are used in order.
    void answerNext(int button) { m_answers.push_back([button](const Messages::Question &) { return button; }); }
    /// Answers the next question by running `chooser` while the question is "up".
    void answerNext(std::function<int(const Messages::Question &)> chooser) { m_answers.push_back(std::move(chooser)); }
    /// How questions are answered once the queue is empty; by default the escape button is chosen.
    void answerOthers(std::function<int(const Messages::Question &)> chooser) { m_otherAnswers = std::move(chooser); }

private:
    QList<Messages::Message> m_messages;
    Messages::Handler m_previous;
    std::function<void(const Messages::Message &)> m_onNext;
    QList<Messages::Question> m_questions;
    Messages::QuestionHandler m_previousQuestions;
    std::deque<std::function<int(const Messages::Question &)>> m_answers;
    std::function<int(const Messages::Question &)> m_otherAnswers;
};
