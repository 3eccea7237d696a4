#pragma once

#include "engine/Message.h"
#include "engine/MessageSink.h"

#include <atomic>

// What a computer player posts when its think ends: "Quorlen AI finished", then no paths and
// no values on the board. Each only while the player is not stopped, since a stopped player's
// window may already show the next game.
inline void postThinkingFinished(MessageSink& sink, const std::atomic<bool>& stopped) {
    if (!stopped) {
        sink.post(WmAppStatusText{"Quorlen AI finished"});
    }
    if (!stopped) {
        sink.post(WmAppShowPaths{});
    }
    if (!stopped) {
        sink.post(WmAppShowEval{});
    }
}
