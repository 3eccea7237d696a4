#pragma once

#include <atomic>
#include <cstdint>

// One node of the Monte-Carlo tree: the position after `move`, with the statistics of the
// simulations that passed through it, counted for the side that played `move` (the mover).
// `raveVisits` and `raveWins` count the playouts through the parent in which the parent's
// side to move took this node's cell at any later point (all moves as first).
//
// Thread contract: search threads update the counters and the proof without locks, in relaxed
// order; a count lost to a race costs one sample and nothing else. `children` is published
// with release order after the block and `childCount` are written, so a thread that reads
// it non-null with acquire order sees the whole block. `state` admits one expanding thread.
struct MctsNode {
    static constexpr std::int16_t noMove = -1;
    static constexpr std::int16_t swapMove = -2; // Player 2 takes the swap

    enum State : std::uint8_t {
        leaf,      // no children yet
        expanding, // one thread is making the children
        expanded,  // children published
        closed,    // never gets children: the game is over here, or the tree is full
    };

    // Proofs, for the mover: the game-theoretic result once it is known.
    static constexpr std::int8_t unproven = 0;
    static constexpr std::int8_t moverWins = 1;
    static constexpr std::int8_t moverLoses = -1;
    // Not a proof: the move is no better than another of its siblings (an inferior cell), so it
    // is not searched; it loses whenever its position is lost.
    static constexpr std::int8_t pruned = -2;
    static bool isProof(std::int8_t proof) { return proof == moverWins || proof == moverLoses; }

    static constexpr std::uint32_t raveCeiling = std::uint32_t{1} << 31;

    // 64 bits: a day's think on 64 threads passes 2^32 simulations through the root.
    std::atomic<std::uint64_t> visits{0}; // each simulation counts on the way down
    std::atomic<std::uint64_t> wins{0};   // and wins on the way back up
    // The RAVE counts stop at raveCeiling: by then their mean is as good as it gets, and it
    // weighs next to nothing beside the node's own visits.
    std::atomic<std::uint32_t> raveVisits{0};
    std::atomic<std::uint32_t> raveWins{0};
    std::atomic<MctsNode*> children{nullptr};
    std::uint16_t childCount = 0;
    std::int16_t move = noMove; // a cell of the PlayoutBoard, or swapMove
    std::atomic<std::uint8_t> state{leaf};
    std::atomic<std::int8_t> proof{unproven};
    // The win rate of the move's prior simulations, in 255ths, from its local pattern's
    // learned weight (see MctsSearch::Config::priors); written before the block is published.
    std::uint8_t prior = 0;
    // What has been read at the position, each bit set by the one thread that read it: its
    // virtual connections (MctsSearch::Config::connections) and its inferior cells
    // (MctsSearch::Config::inferior).
    static constexpr std::uint8_t connectionsRead = 1;
    static constexpr std::uint8_t inferiorRead = 2;
    std::atomic<std::uint8_t> knowledge{0};
};
