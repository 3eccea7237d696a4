#pragma once

#include "engine/Weights.h"
#include "model/Board.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

// An exact memory of the search's node evaluations: a position's value and candidate moves
// depend only on its stones, the side to move and the weights, and the search meets the same
// position along several lines (moves played in another order, or a move that is a candidate
// twice). An entry is found by the position's Zobrist key and taken only when its whole
// position, kept beside it, is the one asked for: a key shared by two positions finds
// nothing. The memory is bounded: when the newer of its two tables is full, the older one
// is dropped and the newer becomes the older.
//
// Thread contract: every member may be called from any thread; one lock guards the tables.
class EvaluationCache {
public:
    struct Evaluation {
        double value = 0.0;
        // Cells as row * N + col, in the order of the node's candidate list.
        std::vector<std::uint16_t> candidates;

        friend bool operator==(const Evaluation&, const Evaluation&) = default;
    };
    // A position as the cache confirms it: two bits a cell, then the board's side and the
    // side to move.
    using Position = std::vector<std::uint8_t>;

    static Position positionOf(const Hex::Board& board, int nodeType);

    // hashBits keeps only the low bits of every key; fewer than 64 only in tests, to make
    // positions share keys.
    explicit EvaluationCache(std::size_t maxBytes, int hashBits = 64);
    EvaluationCache(const EvaluationCache&) = delete;
    EvaluationCache& operator=(const EvaluationCache&) = delete;

    // Forgets everything unless the entries were made with these weights.
    void useWeights(const Weights& weights);

    // True, and the evaluation in `into`, when the position is held.
    bool find(std::uint64_t key, const Position& position, Evaluation& into);
    // Keeps the evaluation, replacing any entry of the same key.
    void insert(std::uint64_t key, Position position, Evaluation evaluation);

    std::size_t bytes() const;
    std::uint64_t hits() const;
    std::uint64_t misses() const;

private:
    struct Entry {
        Position position;
        Evaluation evaluation;
    };
    using Table = std::unordered_map<std::uint64_t, Entry>;

    static std::size_t bytesOf(const Entry& entry);
    std::uint64_t masked(std::uint64_t key) const { return key & m_keyMask; }

    const std::size_t m_maxBytes;
    const std::uint64_t m_keyMask;
    mutable std::mutex m_lock;
    Table m_newer;
    Table m_older;
    std::size_t m_newerBytes = 0;
    std::size_t m_olderBytes = 0;
    Weights m_weights{};
    bool m_haveWeights = false;
    std::uint64_t m_hits = 0;
    std::uint64_t m_misses = 0;
};
