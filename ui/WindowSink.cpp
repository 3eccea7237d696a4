#include "ui/WindowSink.h"

#include "ui/MessageEvent.h"

#include <QCoreApplication>

void WindowSink::post(Message message) {
    if (QObject* window = m_window.load()) {
        QCoreApplication::postEvent(window, new MessageEvent(std::move(message)));
    }
}
