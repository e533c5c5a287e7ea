#pragma once
// A section's cells as a 203-bit set, bit = week cell (day x 29 + slot).
// Two sections clash exactly when their masks share a bit.

#include <array>
#include <bit>
#include <cstdint>

#include "schedule_model.h"
#include "week.h"

namespace quorvandel {

struct WeekMask {
    std::array<std::uint64_t, 4> words{};

    void set(int bit) { words[static_cast<size_t>(bit >> 6)] |= std::uint64_t{1} << (bit & 63); }
    bool test(int bit) const { return (words[static_cast<size_t>(bit >> 6)] >> (bit & 63)) & 1U; }
    bool empty() const { return (words[0] | words[1] | words[2] | words[3]) == 0; }
    bool intersects(const WeekMask& o) const {
        return ((words[0] & o.words[0]) | (words[1] & o.words[1]) | (words[2] & o.words[2]) |
                (words[3] & o.words[3])) != 0;
    }
    WeekMask& operator|=(const WeekMask& o) {
        for (size_t i = 0; i < 4; ++i) words[i] |= o.words[i];
        return *this;
    }
    int count() const {
        return std::popcount(words[0]) + std::popcount(words[1]) + std::popcount(words[2]) + std::popcount(words[3]);
    }
    friend bool operator==(const WeekMask&, const WeekMask&) = default;
};

static_assert(CellsPerWeek <= 256, "a week mask holds at most 256 cells");

// Bit counts of small sets (course sets, section sets: under 2^20) from a
// table, so that no machine falls back to a slow library call.
struct BitCountTable {
    std::array<std::uint8_t, 1024> counts{};
    constexpr BitCountTable() {
        for (unsigned i = 1; i < 1024; ++i) counts[i] = static_cast<std::uint8_t>(counts[i >> 1] + (i & 1U));
    }
};
inline constexpr BitCountTable bitCountTable{};
inline int smallBitCount(std::uint32_t x) {
    return bitCountTable.counts[x & 1023U] + bitCountTable.counts[(x >> 10) & 1023U];
}

// The cells a section covers.
inline WeekMask sectionMask(const Section& section) {
    WeekMask mask;
    forEachCoveredCell(section, [&mask](int cell) { mask.set(cell); });
    return mask;
}

}  // namespace quorvandel
