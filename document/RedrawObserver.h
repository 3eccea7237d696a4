#pragma once

#include "model/GameObserver.h"

class MessageSink;

// Tells the window, from the game thread, that the board has changed.
class RedrawObserver : public Hex::GameObserver {
public:
    explicit RedrawObserver(MessageSink& sink) : m_sink(sink) {}
    void onGameChanged() override;

private:
    MessageSink& m_sink;
};
