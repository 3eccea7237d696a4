#include "tactics/SolverTable.h"

SolverTable::SolverTable(std::size_t bytes) {
    // A power of two of groups, so that a key's group is its low bits.
    std::size_t groups = 1;
    while (groups * 2 * groupSize * sizeof(Entry) <= bytes) {
        groups *= 2;
    }
    m_slots.resize(groups * groupSize);
    m_groupMask = groups - 1;
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
                        std::uint64_t work) {
    const std::size_t group = groupOf(key);
    Entry* target = &m_slots[group];
    for (std::size_t i = group; i < group + groupSize; ++i) {
        Entry& slot = m_slots[i];
        if (slot.key == key && slot.work != 0) {
            target = &slot;
            break;
        }
        if (slot.work < target->work) {
            target = &slot;
        }
    }
    *target = Entry{key, work == 0 ? 1 : work, proof, disproof};
}

void SolverTable::clear() {
    for (Entry& slot : m_slots) {
        slot = Entry{};
    }
}
