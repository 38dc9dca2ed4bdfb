#pragma once
// splitmix64: the same seed and index give the same case on every machine,
// so a failing generated case can be made again from its number.
#include <cstddef>
#include <cstdint>

class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(Next() % n); }
    bool Chance(unsigned percent) { return Below(100) < percent; }
    template <class T, size_t N>
    const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

private:
    uint64_t m_state;
};
