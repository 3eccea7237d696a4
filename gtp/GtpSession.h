#pragma once

#include "gtp/LineReader.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <ostream>
#include <string>

class GtpEngine;

// One GTP session: command lines read from a descriptor, replies written to a stream, until
// quit or the end of the input.
//
// A reader thread reads the input while the commands run in order on the calling thread, so
// that a front end's "# interrupt" line stops a genmove that is thinking, and the end of the
// input stops it too (the controller has gone): every command read before the end is still
// answered, a genmove among them with its best move so far. Commands that arrive while a
// genmove thinks wait their turn.
//
// Thread contract: run() once, on the thread that owns the engine. The reader thread is
// joined before run() returns.
class GtpSession {
public:
    GtpSession(GtpEngine& engine, int input, std::ostream& out);

    void run();

private:
    struct Item {
        enum class Kind { Line, LineTooLong, End } kind = Kind::End;
        std::string text;
        std::uint64_t number = 0;
    };

    void readLines();
    void push(Item item);
    Item pop();

    GtpEngine& m_engine;
    LineReader m_reader;
    std::ostream& m_out;
    std::mutex m_lock; // guards m_queue
    std::condition_variable m_arrived;
    std::deque<Item> m_queue;
};
