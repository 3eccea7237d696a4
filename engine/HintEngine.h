#pragma once

#include "model/Coord.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

// A search that suggests a move for the side to move without playing it: the hint of the
// window's Game menu. One engine serves one hint.
//
// Thread contract: find() runs on the hint's own thread; stop() may be called from any
// thread, also before find() has started, and makes find() return soon with what it has.
class HintEngine {
public:
    // A position as the moves from the empty board; the swap is the marker (size, size).
    struct Position {
        std::uint32_t size = 0;
        std::vector<Hex::Coord> moves;

        int sideToMove() const { return moves.size() % 2 == 0 ? 1 : 2; }
    };

    struct Hint {
        Hex::Coord move = Hex::noMove; // noMove when the engine found none
        // The engine's value of the position from the side to move's view, from -1 (lost)
        // to +1 (won); absent when the search finished no iteration.
        std::optional<double> value;
    };

    virtual ~HintEngine() = default;

    // Searches the position for at most `time`, or until stop().
    virtual Hint find(const Position& position, std::chrono::seconds time) = 0;
    virtual void stop() = 0;
};
