#pragma once

#include "engine/MessageSink.h"

#include <mutex>
#include <vector>

// Keeps the values of the root moves that the search posts, for the analysis commands, and
// passes every message on to the next sink. Each root move is kept once, with the value of
// its latest post, in the order of its first post; the clearing message that ends a move
// choice leaves them, so that they describe the last search until clear().
//
// Thread contract: post() from any thread; values() and clear() from any other.
class RootValueSink : public MessageSink {
public:
    explicit RootValueSink(MessageSink& next) : m_next(next) {}

    void post(Message message) override;
    void clear();
    std::vector<CellEvaluation> values() const;

private:
    MessageSink& m_next;
    mutable std::mutex m_lock; // guards m_values
    std::vector<CellEvaluation> m_values;
};
