// Records the message boxes a test provokes instead of showing them.
#pragma once

#include "app/messagebox.h"

#include <QList>

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

private:
    QList<Messages::Message> m_messages;
    Messages::Handler m_previous;
    std::function<void(const Messages::Message &)> m_onNext;
};
