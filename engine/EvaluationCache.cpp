#include "engine/EvaluationCache.h"

#include <cstring>

EvaluationCache::Position EvaluationCache::positionOf(const Hex::Board& board, int nodeType) {
    const int n = static_cast<int>(board.size());
    const std::size_t cells = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    Position position((cells + 3) / 4 + 2, 0);
    std::size_t cell = 0;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col, ++cell) {
            const auto value = static_cast<std::uint8_t>(board.at(row, col) & 3);
            position[cell / 4] =
                static_cast<std::uint8_t>(position[cell / 4] | value << (cell % 4 * 2));
        }
    }
    position[position.size() - 2] = static_cast<std::uint8_t>(n);
    position.back() = static_cast<std::uint8_t>(nodeType);
    return position;
}

EvaluationCache::EvaluationCache(std::size_t maxBytes, int hashBits)
    : m_maxBytes(maxBytes),
      m_keyMask(hashBits >= 64 ? ~std::uint64_t{0}
                               : (std::uint64_t{1} << (hashBits < 0 ? 0 : hashBits)) - 1) {}

void EvaluationCache::useWeights(const Weights& weights) {
    std::lock_guard lock(m_lock);
    if (m_haveWeights && std::memcmp(m_weights.data(), weights.data(), sizeof m_weights) == 0) {
        return;
    }
    m_newer.clear();
    m_older.clear();
    m_newerBytes = 0;
    m_olderBytes = 0;
    m_weights = weights;
    m_haveWeights = true;
}

bool EvaluationCache::find(std::uint64_t key, const Position& position, Evaluation& into) {
    std::lock_guard lock(m_lock);
    const std::uint64_t at = masked(key);
    auto found = m_newer.find(at);
    if (found == m_newer.end()) {
        found = m_older.find(at);
        if (found == m_older.end() || found->second.position != position) {
            ++m_misses;
            return false;
        }
        ++m_hits;
        into = found->second.evaluation;
        return true;
    }
    if (found->second.position != position) {
        ++m_misses;
        return false;
    }
    ++m_hits;
    into = found->second.evaluation;
    return true;
}

void EvaluationCache::insert(std::uint64_t key, Position position, Evaluation evaluation) {
    std::lock_guard lock(m_lock);
    if (m_newerBytes >= m_maxBytes / 2) {
        m_older = std::move(m_newer);
        m_olderBytes = m_newerBytes;
        m_newer = Table();
        m_newerBytes = 0;
    }
    Entry entry{std::move(position), std::move(evaluation)};
    const std::size_t size = bytesOf(entry);
    auto [slot, added] = m_newer.try_emplace(masked(key), std::move(entry));
    if (!added) {
        m_newerBytes -= bytesOf(slot->second);
        slot->second = std::move(entry);
    }
    m_newerBytes += size;
}

std::size_t EvaluationCache::bytes() const {
    std::lock_guard lock(m_lock);
    return m_newerBytes + m_olderBytes;
}

std::uint64_t EvaluationCache::hits() const {
    std::lock_guard lock(m_lock);
    return m_hits;
}

std::uint64_t EvaluationCache::misses() const {
    std::lock_guard lock(m_lock);
    return m_misses;
}

// The table's node and bucket, the two vectors' storage, and the allocator's headers.
std::size_t EvaluationCache::bytesOf(const Entry& entry) {
    constexpr std::size_t perAllocation = 16;
    return sizeof(Table::value_type) + 2 * sizeof(void*) + entry.position.capacity() +
           entry.evaluation.candidates.capacity() * sizeof(std::uint16_t) + 3 * perAllocation;
}
