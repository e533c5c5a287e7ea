#pragma once
// Small sets of indices in one machine word, for the search's hot loops:
// SectionSet (a course's sections, bit j = section j) and CourseSet (the
// courses, bit i = course i). Iterating visits the members in increasing
// order, which is the order the search tries them in.

#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "schedule_model.h"

namespace quorvandel {

// Bit counts of sets of up to 20 elements from a table of 10-bit chunks, so
// that no machine without a population-count instruction falls back to a
// slow library call.
struct BitCountTable {
    static constexpr int ChunkBits = 10;
    static constexpr unsigned ChunkSize = 1U << ChunkBits;
    static constexpr unsigned ChunkMask = ChunkSize - 1U;
    std::array<std::uint8_t, ChunkSize> counts{};
    constexpr BitCountTable() {
        for (unsigned i = 1; i < ChunkSize; ++i) counts[i] = static_cast<std::uint8_t>(counts[i >> 1] + (i & 1U));
    }
};
inline constexpr BitCountTable bitCountTable{};
inline constexpr int SmallBitCountMaxBits = 2 * BitCountTable::ChunkBits;

inline int smallBitCount(std::uint32_t x) {
    assert(x < (std::uint32_t{1} << SmallBitCountMaxBits));
    return bitCountTable.counts[x & BitCountTable::ChunkMask] +
           bitCountTable.counts[(x >> BitCountTable::ChunkBits) & BitCountTable::ChunkMask];
}

// The bits set in a 64-bit word, by adding neighbouring fields in place
// (2-, 4- and 8-bit sums, then the eight bytes at once by a multiply): a
// handful of instructions where std::popcount, on a machine not known to
// have the instruction, is a library call.
inline int wordBitCount(std::uint64_t x) {
    constexpr std::uint64_t Pairs = 0x5555'5555'5555'5555ULL, Nibbles = 0x3333'3333'3333'3333ULL,
                            Bytes = 0x0F0F'0F0F'0F0F'0F0FULL, SumBytes = 0x0101'0101'0101'0101ULL;
    constexpr int TopByteShift = 56;
    x -= (x >> 1) & Pairs;
    x = (x & Nibbles) + ((x >> 2) & Nibbles);
    x = (x + (x >> 4)) & Bytes;
    return static_cast<int>((x * SumBytes) >> TopByteShift);
}

template <typename Word, int Capacity>
class SmallBitSet {
    static_assert(std::is_unsigned_v<Word> && Capacity <= SmallBitCountMaxBits &&
                      Capacity < static_cast<int>(8 * sizeof(Word)),
                  "a small bit set is one unsigned word with a spare top bit");

public:
    static constexpr int capacity = Capacity;

    constexpr SmallBitSet() = default;
    static constexpr SmallBitSet fromBits(unsigned bits) {
        assert(bits >> Capacity == 0);
        return SmallBitSet(static_cast<Word>(bits));
    }
    // {0, 1, .. count-1}
    static constexpr SmallBitSet firstN(int count) {
        assert(0 <= count && count <= Capacity);
        return fromBits((1U << count) - 1U);
    }
    static constexpr SmallBitSet single(int i) {
        assert(0 <= i && i < Capacity);
        return fromBits(1U << i);
    }

    constexpr Word bits() const { return bits_; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr bool hasAtLeastTwo() const { return (bits_ & (bits_ - 1U)) != 0; }
    constexpr bool contains(int i) const { return ((bits_ >> i) & 1U) != 0; }
    int count() const { return smallBitCount(bits_); }
    // The smallest member; the set must not be empty.
    int first() const {
        assert(!empty());
        return std::countr_zero(bits_);
    }
    // Removes and returns the smallest member; the set must not be empty.
    int popFirst() {
        const int i = first();
        bits_ = static_cast<Word>(bits_ & (bits_ - 1U));
        return i;
    }
    void insert(int i) { *this |= single(i); }
    SmallBitSet without(int i) const { return SmallBitSet(static_cast<Word>(bits_ & ~single(i).bits_)); }

    friend constexpr SmallBitSet operator&(SmallBitSet a, SmallBitSet b) {
        return SmallBitSet(static_cast<Word>(a.bits_ & b.bits_));
    }
    friend constexpr SmallBitSet operator|(SmallBitSet a, SmallBitSet b) {
        return SmallBitSet(static_cast<Word>(a.bits_ | b.bits_));
    }
    // The members of a that are not in b.
    friend constexpr SmallBitSet operator-(SmallBitSet a, SmallBitSet b) {
        return SmallBitSet(static_cast<Word>(a.bits_ & ~b.bits_));
    }
    SmallBitSet& operator&=(SmallBitSet o) { return *this = *this & o; }
    SmallBitSet& operator|=(SmallBitSet o) { return *this = *this | o; }
    friend constexpr bool operator==(SmallBitSet, SmallBitSet) = default;

    // Members in increasing order: for (int i : set) ...
    class Iterator {
    public:
        int operator*() const { return std::countr_zero(rest_); }
        Iterator& operator++() {
            rest_ = static_cast<Word>(rest_ & (rest_ - 1U));
            return *this;
        }
        bool operator==(const Iterator&) const = default;

    private:
        friend class SmallBitSet;
        explicit Iterator(Word rest) : rest_(rest) {}
        Word rest_;
    };
    Iterator begin() const { return Iterator(bits_); }
    Iterator end() const { return Iterator(0); }

private:
    constexpr explicit SmallBitSet(Word bits) : bits_(bits) {}
    Word bits_ = 0;
};

using SectionSet = SmallBitSet<std::uint16_t, MaxSectionsPerCourse>;
using CourseSet = SmallBitSet<std::uint32_t, MaxCourses>;

// Tables over sets of a course's sections, in two halves: a value that
// joins over sections (a union, a minimum) is kept for every subset of the
// low five sections and of the high five, so the value of any set is the
// join of two lookups instead of a loop over its sections.
struct SectionHalves {
    static constexpr int Bits = 5;
    static constexpr unsigned Size = 1U << Bits;
    static constexpr unsigned Mask = Size - 1U;
    static_assert(MaxSectionsPerCourse <= 2 * Bits, "two halves cover a course");

    static unsigned low(SectionSet s) { return s.bits() & Mask; }
    static unsigned high(SectionSet s) { return static_cast<unsigned>(s.bits()) >> Bits; }

    template <typename Value>
    using Table = std::array<Value, Size>;

    // Fills both halves: entry 0 is `none`, every other entry joins the
    // entry without its lowest section with that section's own value
    // (ofSection(j), asked once for each section in `sections`).
    template <typename Value, typename OfSection, typename Join>
    static void fill(Table<Value>& lowTable, Table<Value>& highTable, SectionSet sections, const Value& none,
                     OfSection ofSection, Join join) {
        std::array<Value, 2 * Bits> own{};
        for (int j : sections) own[static_cast<std::size_t>(j)] = ofSection(j);
        lowTable[0] = highTable[0] = none;
        for (unsigned subset = 1; subset < Size; ++subset) {
            const unsigned rest = subset & (subset - 1U);
            const int lowSection = std::countr_zero(subset), highSection = lowSection + Bits;
            lowTable[subset] = sections.contains(lowSection)
                                   ? join(lowTable[rest], own[static_cast<std::size_t>(lowSection)])
                                   : lowTable[rest];
            highTable[subset] = highSection < MaxSectionsPerCourse && sections.contains(highSection)
                                    ? join(highTable[rest], own[static_cast<std::size_t>(highSection)])
                                    : highTable[rest];
        }
    }
};

}  // namespace quorvandel
