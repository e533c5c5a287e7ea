#pragma once
// A set of up to 256 small indices in four 64-bit words. The search uses it
// for a section's cells (bit = week cell, day x 29 + slot: two sections
// clash exactly when their masks share a bit) and for sets of atoms.

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>

#include "schedule_model.h"
#include "small_bit_set.h"
#include "week.h"

namespace quorvandel {

struct WeekMask {
    static constexpr int WordBits = 64;
    static constexpr int WordCount = 4;
    static constexpr int Capacity = WordBits * WordCount;

    std::array<std::uint64_t, WordCount> words{};

    void set(int bit) { words[wordOf(bit)] |= bitOf(bit); }
    void reset(int bit) { words[wordOf(bit)] &= ~bitOf(bit); }
    bool test(int bit) const { return (words[wordOf(bit)] & bitOf(bit)) != 0; }
    bool empty() const { return (words[0] | words[1] | words[2] | words[3]) == 0; }
    bool intersects(const WeekMask& o) const {
        return ((words[0] & o.words[0]) | (words[1] & o.words[1]) | (words[2] & o.words[2]) |
                (words[3] & o.words[3])) != 0;
    }
    WeekMask& operator|=(const WeekMask& o) {
        for (int i = 0; i < WordCount; ++i) words[i] |= o.words[i];
        return *this;
    }
    // The bits of a that are not in b.
    friend WeekMask operator-(const WeekMask& a, const WeekMask& b) {
        WeekMask r;
        for (int i = 0; i < WordCount; ++i) r.words[i] = a.words[i] & ~b.words[i];
        return r;
    }
    int count() const {
        return wordBitCount(words[0]) + wordBitCount(words[1]) + wordBitCount(words[2]) + wordBitCount(words[3]);
    }
    // The smallest bit set, or -1 when there is none.
    int first() const {
        for (int i = 0; i < WordCount; ++i)
            if (words[i] != 0) return i * WordBits + std::countr_zero(words[i]);
        return -1;
    }
    // Calls visit(bit) for every bit set, in increasing order.
    template <typename Visit>
    void forEach(Visit&& visit) const {
        for (int i = 0; i < WordCount; ++i)
            for (std::uint64_t rest = words[i]; rest != 0; rest &= rest - 1)
                visit(i * WordBits + std::countr_zero(rest));
    }
    friend bool operator==(const WeekMask&, const WeekMask&) = default;

private:
    static int wordOf(int bit) {
        assert(0 <= bit && bit < Capacity);
        return static_cast<int>(static_cast<unsigned>(bit) / WordBits);
    }
    static std::uint64_t bitOf(int bit) { return std::uint64_t{1} << (static_cast<unsigned>(bit) % WordBits); }
};

static_assert(CellsPerWeek <= WeekMask::Capacity, "a week mask holds every cell of the week");

// The cells a section covers.
inline WeekMask sectionMask(const Section& section) {
    WeekMask mask;
    forEachCoveredCell(section, [&mask](int cell) { mask.set(cell); });
    return mask;
}

}  // namespace quorvandel
