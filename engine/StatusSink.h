#pragma once

#include "engine/MessageSink.h"

#include <mutex>
#include <ostream>

// The command-line tool's end of the worker messages: status texts go to a stream (stderr),
// one a line, when one is given; everything else is for windows and is dropped.
class StatusSink : public MessageSink {
public:
    explicit StatusSink(std::ostream* statusStream) : m_stream(statusStream) {}
    void post(Message message) override;

private:
    std::mutex m_lock;
    std::ostream* m_stream;
};
