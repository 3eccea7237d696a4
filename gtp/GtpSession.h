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
// that a front end's "# interrupt" line stops a genmove that is thinking, or a live analysis.
// Commands that arrive meanwhile wait their turn. Only "# interrupt" interrupts a genmove: at
// the end of the input (a script piped in) every command read before it is answered in full,
// a genmove with its whole think, and then the session ends. A live analysis, which would
// otherwise never end, ends with the input. Its graphics blocks go to out between the
// replies.
//
// A front end that goes away closes both ends, and nobody would read the answers: when
// output, the descriptor behind out, is given, the reader watches it after the end of the
// input, and when it hangs up (its reader has closed it) every waiting and thinking genmove
// is interrupted, so that the session ends at once.
//
// Thread contract: run() once, on the thread that owns the engine. The reader thread is
// joined before run() returns.
class GtpSession {
public:
    GtpSession(GtpEngine& engine, int input, std::ostream& out, int output = -1);

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
    int m_output;      // the descriptor behind m_out, watched after the end of the input; or -1
    std::mutex m_lock; // guards m_queue
    std::condition_variable m_arrived;
    std::deque<Item> m_queue;
};
