#include "recordedmessages.h"

#include <QStringList>

RecordedMessages::RecordedMessages()
{
    m_previous = Messages::setHandler([this](QWidget *, const Messages::Message &message) {
        m_messages.append(message);
        if (auto action = std::exchange(m_onNext, nullptr))
            action(message);
    });
    m_previousQuestions = Messages::setQuestionHandler([this](QWidget *, const Messages::Question &question) {
        m_questions.append(question);
        if (!m_answers.empty()) {
            auto chooser = std::move(m_answers.front());
            m_answers.pop_front();
            return chooser(question);
        }
        return m_otherAnswers ? m_otherAnswers(question) : -1; // -1: the escape button
    });
}

RecordedMessages::~RecordedMessages()
{
    Messages::setQuestionHandler(m_previousQuestions);
    Messages::setHandler(m_previous);
}

QStringList RecordedMessages::texts() const
{
    QStringList list;
    for (const auto &message : m_messages)
        list << message.text;
    return list;
}
