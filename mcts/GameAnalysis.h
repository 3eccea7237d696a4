#pragma once

#include "mcts/MoveAnalysis.h"
#include "model/Coord.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TreeMemoryBudget;

// The review of a whole game by the expert's search: one search of every position, from the
// empty board to the position after the last move (none there when that move won), each
// keeping the tree of the one before. A move's win rate before is the mover's with the best
// move in its position; its win rate after is one less the opponent's best in the next
// position, and 1 after a winning move. The swap is a move like any other, and the search
// at the first stone weighs the swap among its moves.
//
// Thread contract: run() on one thread, which calls the progress callback; the search's
// other threads are started and joined inside it. The stop flag may be raised from any
// thread: the running search ends within one playout per thread and run() returns the moves
// finished before it.
class GameAnalysis {
public:
    struct Settings {
        std::chrono::milliseconds timePerPosition{2000};
        // Ends each search after this many playouts as well (deterministic on one thread).
        std::optional<std::uint64_t> playoutsPerPosition;
        int threads = 1;
        std::uint64_t seed = 1;
        // The first move to analyse (from 1): the positions before it are not searched.
        std::size_t firstMove = 1;
        // The budget shared with the other trees of the program; the machine's default for
        // this analysis alone when null.
        std::shared_ptr<TreeMemoryBudget> memory;
    };

    struct Result {
        std::vector<MoveAnalysis> moves; // the moves analysed, in order, from firstMove
        bool complete = false;           // false when stopped before the end
    };

    // Called after each search: `done` of `total` positions.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    // Each side's count of each label and its average loss.
    struct PlayerSummary {
        std::array<int, 4> labels{}; // by MoveAnalysis::Label
        int moves = 0;
        double averageLoss = 0.0;
    };

    explicit GameAnalysis(Settings settings);

    // The moves must form a legal game of a board of side 2 to 30 with the swap rule, and
    // nothing may follow a win; firstMove is one of its moves (std::invalid_argument
    // otherwise).
    Result run(std::uint32_t size, const std::vector<Hex::Coord>& moves,
               const std::atomic<bool>& stop, const Progress& progress = {}) const;

    static PlayerSummary summaryOf(const std::vector<MoveAnalysis>& moves, int player);

private:
    Settings m_settings;
};
