#pragma once

#include "engine/Message.h"

// Where worker threads post their messages. The main window implements it by queueing the
// message to the user-interface thread; tests and the command-line tool have their own.
//
// Thread contract: post() may be called from any thread, never blocks for long and never
// waits for the receiver to handle the message.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void post(Message message) = 0;
};
