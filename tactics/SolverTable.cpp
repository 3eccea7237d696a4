#include "tactics/SolverTable.h"

#include <algorithm>

void SolverTable::prepare(int proofWords) {
    const auto words = static_cast<std::size_t>(proofWords);
    if (m_slots.empty() || words != m_words) {
        m_words = words;
        // A power of two of groups, so that a key's group is its low bits.
        const std::size_t groupBytes = groupSize * (sizeof(Entry) + words * sizeof(std::uint64_t));
        std::size_t groups = 1;
        while (groups * 2 * groupBytes <= m_bytes) {
            groups *= 2;
        }
        m_slots.assign(groups * groupSize, Entry{});
        m_proofs.assign(groups * groupSize * words, 0);
        m_groupMask = groups - 1;
        return;
    }
    std::fill(m_slots.begin(), m_slots.end(), Entry{});
}

const SolverTable::Entry* SolverTable::find(std::uint64_t key) const {
    const std::size_t group = groupOf(key);
    for (std::size_t i = group; i < group + groupSize; ++i) {
        if (m_slots[i].key == key && m_slots[i].work != 0) {
            return &m_slots[i];
        }
    }
    return nullptr;
}

void SolverTable::store(std::uint64_t key, std::uint32_t proof, std::uint32_t disproof,
                        std::uint64_t work, const std::uint64_t* proofCells) {
    const std::size_t group = groupOf(key);
    std::size_t target = group;
    for (std::size_t i = group; i < group + groupSize; ++i) {
        const Entry& slot = m_slots[i];
        if (slot.key == key && slot.work != 0) {
            target = i;
            break;
        }
        if (slot.work < m_slots[target].work) {
            target = i;
        }
    }
    m_slots[target] = Entry{key, work == 0 ? 1 : work, proof, disproof};
    if (proofCells != nullptr) {
        std::copy(proofCells, proofCells + m_words, m_proofs.begin() + target * m_words);
    }
}
