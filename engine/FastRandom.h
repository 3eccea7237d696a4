#pragma once

#include <cstdint>

// The playouts' generator: xorshift64* seeded through splitmix64, so that neighbouring seeds
// (one per search thread) give unrelated sequences. Plain data; one per thread.
class FastRandom {
public:
    explicit FastRandom(std::uint64_t seed) : m_state(mix(seed)) {}

    std::uint32_t next() {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return static_cast<std::uint32_t>((m_state * 2685821657736338717ULL) >> 32);
    }

    // Uniform in [0, n) by a multiply and a shift; the bias is below n / 2^32.
    std::uint32_t below(std::uint32_t n) {
        return static_cast<std::uint32_t>((std::uint64_t{next()} * n) >> 32);
    }

private:
    static std::uint64_t mix(std::uint64_t seed) {
        std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return z != 0 ? z : 0x9E3779B97F4A7C15ULL; // xorshift must not start at 0
    }

    std::uint64_t m_state;
};
