#include "tactics/PatternPrior.h"

#include "tactics/PatternTable.h"

#include <algorithm>
#include <bit>

namespace {

using State = PatternPrior::State;
constexpr int bits = PatternPrior::fieldBits;
constexpr std::uint64_t fieldMask = (std::uint64_t{1} << bits) - 1;
constexpr std::uint64_t noKey = ~std::uint64_t{0};

// A cell's state by its PlayoutBoard value (`value & 15`), for each side to move.
constexpr std::array<std::uint64_t, 16> statesFor(int player) {
    std::array<std::uint64_t, 16> states{};
    const bool first = player == PlayoutBoard::player1;
    states[PlayoutBoard::player1] = first ? State::mine : State::theirs;
    states[PlayoutBoard::player2] = first ? State::theirs : State::mine;
    states[PlayoutBoard::corner] = State::corner;
    states[PlayoutBoard::topEdge] = first ? State::myEdge : State::theirEdge;
    states[PlayoutBoard::bottomEdge] = first ? State::myEdge : State::theirEdge;
    states[PlayoutBoard::leftEdge] = first ? State::theirEdge : State::myEdge;
    states[PlayoutBoard::rightEdge] = first ? State::theirEdge : State::myEdge;
    return states;
}
constexpr std::array<std::array<std::uint64_t, 16>, 2> states = {statesFor(1), statesFor(2)};

// The far ends of the bridges, between ring directions j and j + 1 (up, up-right, right,
// down, down-left, left), as row and column steps.
constexpr std::array<int, 6> bridgeRows = {-2, -1, 1, 2, 1, -1};
constexpr std::array<int, 6> bridgeCols = {1, 2, 1, -1, -2, -1};

// The weights of a pattern's six-neighbour part and of the whole, each pulled towards the
// next coarser one.
double smoothed(const LearnedPattern& counts, double towards) {
    return (counts.played + PatternPrior::smoothing * towards) /
           (counts.available + PatternPrior::smoothing);
}

} // namespace

PatternPrior::PatternPrior() : PatternPrior(PatternTable::inner(), PatternTable::outer()) {}

PatternPrior::PatternPrior(std::span<const LearnedPattern> inner,
                           std::span<const LearnedPattern> outer) {
    double played = 0.0;
    double available = 0.0;
    for (const LearnedPattern& counts : inner) {
        played += counts.played;
        available += counts.available;
    }
    // Without counts every cell weighs the same.
    const double average = available > 0.0 ? played / available : 1.0;
    m_average = static_cast<float>(average);

    // Every six-neighbour code, canonical or not, gets its canonical pattern's weight.
    std::vector<LearnedPattern> sorted(inner.begin(), inner.end());
    const auto byCode = [](const LearnedPattern& a, const LearnedPattern& b) {
        return a.code < b.code;
    };
    std::sort(sorted.begin(), sorted.end(), byCode);
    m_inner.assign(innerCodes, m_average);
    std::vector<double> innerWeights(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        innerWeights[i] = smoothed(sorted[i], average);
        for (const std::uint64_t code : {sorted[i].code, rotated(sorted[i].code)}) {
            m_inner[innerIndex(code)] = static_cast<float>(innerWeights[i]);
        }
    }

    const std::size_t capacity = std::bit_ceil(std::max<std::size_t>(4 * outer.size(), 16));
    m_shift = 64 - std::countr_zero(capacity);
    m_keys.assign(capacity, noKey);
    m_weights.assign(capacity, 0.0F);
    for (const LearnedPattern& counts : outer) {
        const double towards = m_inner[innerIndex(counts.code & innerMask)];
        const auto weight = static_cast<float>(smoothed(counts, towards));
        for (const std::uint64_t code : {counts.code, rotated(counts.code)}) {
            const std::size_t slot = slotOf(code);
            m_keys[slot] = code;
            m_weights[slot] = weight;
        }
    }
}

std::uint64_t PatternPrior::code(const PlayoutBoard& board, int cell, int toMove) {
    const std::array<std::uint64_t, 16>& state = states[toMove == PlayoutBoard::player1 ? 0 : 1];
    const std::array<int, 6>& ring = board.ring();
    const Hex::Coord place = board.coord(cell);
    const int last = board.size();
    std::uint64_t key = 0;
    for (int j = 0; j < 6; ++j) {
        // Reflecting in the long diagonal turns direction j into 5 - j, and the bridge
        // between j and j + 1 into the one between 4 - j and 5 - j.
        const int field = toMove == PlayoutBoard::player1 ? j : 5 - j;
        const int bridgeField = toMove == PlayoutBoard::player1 ? j : (10 - j) % 6;
        key |= state[board.at(cell + ring[static_cast<std::size_t>(j)]) & 15U] << (bits * field);
        const int row = std::clamp(place.row + bridgeRows[static_cast<std::size_t>(j)], -1, last);
        const int col = std::clamp(place.col + bridgeCols[static_cast<std::size_t>(j)], -1, last);
        // Beyond both edges at once (past an acute corner) belongs to neither side.
        const bool offBoth = (row < 0 || row == last) && (col < 0 || col == last);
        const std::uint64_t far =
            offBoth ? State::corner : state[board.at(board.index(row, col)) & 15U];
        key |= far << (bits * (6 + bridgeField));
    }
    return key;
}

std::uint64_t PatternPrior::stateOf(std::uint8_t value, int toMove) {
    return states[toMove == PlayoutBoard::player1 ? 0 : 1][value & 15U];
}

std::uint64_t PatternPrior::rotated(std::uint64_t code) {
    // Direction j becomes j + 3, in each half.
    std::uint64_t turned = 0;
    for (int half = 0; half < 2; ++half) {
        for (int j = 0; j < 6; ++j) {
            const std::uint64_t field = (code >> (bits * (6 * half + j))) & fieldMask;
            turned |= field << (bits * (6 * half + (j + 3) % 6));
        }
    }
    return turned;
}

float PatternPrior::weight(const PlayoutBoard& board, int cell, int toMove) const {
    return weight(code(board, cell, toMove));
}

float PatternPrior::weight(std::uint64_t code) const {
    const std::size_t slot = slotOf(code);
    return m_keys[slot] == code ? m_weights[slot] : m_inner[innerIndex(code & innerMask)];
}

std::size_t PatternPrior::innerIndex(std::uint64_t code) {
    std::size_t index = 0;
    for (int j = 5; j >= 0; --j) {
        index = index * 6 + ((code >> (bits * j)) & fieldMask);
    }
    return index;
}

// The slot that holds `code`, or the empty one where it would go.
std::size_t PatternPrior::slotOf(std::uint64_t code) const {
    const std::size_t mask = m_keys.size() - 1;
    std::size_t slot = static_cast<std::size_t>((code * 0x9E3779B97F4A7C15ULL) >> m_shift);
    while (m_keys[slot] != code && m_keys[slot] != noKey) {
        slot = (slot + 1) & mask;
    }
    return slot;
}
