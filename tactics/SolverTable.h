#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The proof-number solver's transposition table: the proof and disproof numbers of positions
// by their Zobrist key, in a fixed number of slots, and for a proved position the cells its
// proof uses (a bit set of `proofWords` words). A key goes to one group of four slots; when all
// four hold other positions, the one whose numbers took the least work to find gives way (the
// cheapest to find again).
//
// Thread contract: none; one solver owns it.
class SolverTable {
public:
    struct Entry {
        std::uint64_t key = 0;
        std::uint64_t work = 0; // nodes searched below the position, 0: an unused slot
        std::uint32_t proof = 0;
        std::uint32_t disproof = 0;
    };

    // At most `bytes` of slots (at least one group), made by the first prepare().
    explicit SolverTable(std::size_t bytes) : m_bytes(bytes) {}

    // Empties the table, with room for proofs of `proofWords` words.
    void prepare(int proofWords);
    // The entry of the key, or null when the table does not hold it.
    const Entry* find(std::uint64_t key) const;
    // The proof stored with the entry (meaningful only for a proved position).
    const std::uint64_t* proofOf(const Entry& entry) const {
        return m_proofs.data() + static_cast<std::size_t>(&entry - m_slots.data()) * m_words;
    }
    // Stores the numbers, and the proof unless it is null.
    void store(std::uint64_t key, std::uint32_t proof, std::uint32_t disproof, std::uint64_t work,
               const std::uint64_t* proofCells);
    std::size_t bytes() const {
        return m_slots.size() * sizeof(Entry) + m_proofs.size() * sizeof(std::uint64_t);
    }

private:
    static constexpr std::size_t groupSize = 4;

    std::size_t groupOf(std::uint64_t key) const {
        return static_cast<std::size_t>(key & m_groupMask) * groupSize;
    }

    std::size_t m_bytes;
    std::size_t m_words = 0;
    std::vector<Entry> m_slots;
    std::vector<std::uint64_t> m_proofs; // m_words per slot
    std::uint64_t m_groupMask = 0;
};
