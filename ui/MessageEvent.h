#pragma once

#include "engine/Message.h"

#include <QEvent>

// A worker's message on its way to the main window through Qt's event queue.
class MessageEvent : public QEvent {
public:
    static QEvent::Type eventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    explicit MessageEvent(Message message) : QEvent(eventType()), m_message(std::move(message)) {}

    const Message& message() const { return m_message; }

private:
    Message m_message;
};
