#include "recordedmessages.h"

#include <QStringList>

RecordedMessages::RecordedMessages()
{
    m_previous = Messages::setHandler([this](QWidget *, const Messages::Message &message) {
        m_messages.append(message);
        if (auto action = std::exchange(m_onNext, nullptr))
            action(message);
    });
}

RecordedMessages::~RecordedMessages()
{
    Messages::setHandler(m_previous);
}

QStringList RecordedMessages::texts() const
{
    QStringList list;
    for (const auto &message : m_messages)
        list << message.text;
    return list;
}
