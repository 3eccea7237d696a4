#include "engine/ZobristKeys.h"

#include "engine/TreeNode.h"

namespace {

// SplitMix64: a fixed sequence, so keys are the same on every run and every build.
std::uint64_t nextKey(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

ZobristKeys::ZobristKeys(std::uint32_t size) : m_keys(2 * std::size_t{size} * size) {
    std::uint64_t state = size;
    for (std::uint64_t& key : m_keys) {
        key = nextKey(state);
    }
    m_player2ToMove = nextKey(state);
}

std::uint64_t ZobristKeys::of(const Hex::Board& board, int nodeType) const {
    const int n = static_cast<int>(board.size());
    std::uint64_t key = nodeType == TreeNode::player2ToMove ? m_player2ToMove : 0;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int value = board.at(row, col);
            if (value == 1 || value == 2) {
                key ^= stone(static_cast<std::size_t>(row * n + col), value);
            }
        }
    }
    return key;
}
