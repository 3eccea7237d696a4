#pragma once

#include "engine/MessageSink.h"

#include <QObject>
#include <QPointer>

#include <atomic>

// Delivers worker messages to the main window on the user-interface thread: post() queues a
// MessageEvent with Qt's thread-safe event posting and returns at once. Messages posted
// before a window is attached, or after it is gone, are dropped.
class WindowSink : public MessageSink {
public:
    // Set once, on the user-interface thread, before any game starts.
    void attach(QObject* window) { m_window = window; }
    void detach() { m_window = nullptr; }

    void post(Message message) override;

private:
    std::atomic<QObject*> m_window{nullptr};
};
