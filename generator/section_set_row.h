#pragma once
// One SectionSet for each course, side by side: the 20 sets sit in 16-bit
// lanes of five 64-bit words, so that narrowing every course at once (AND a
// row of fitting sections), and asking which courses emptied or changed, is
// a few word operations instead of a loop over the courses. The search keeps
// its domains and its precomputed tables in this shape.
//
// The questions about lanes (which are empty, single, changed) are most of
// a search step's instructions. Where SSE2 is there (every x86-64) they
// compare eight lanes at once and gather one bit of each with a mask move;
// elsewhere they gather the lane tops of each word with a multiply.

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__) && !defined(QUORVANDEL_PORTABLE_ROWS)
#define QUORVANDEL_ROWS_ON_SSE2 1
#include <emmintrin.h>
#endif

#include "schedule_model.h"
#include "small_bit_set.h"

namespace quorvandel {

class SectionSetRow {
public:
    static constexpr int LaneBits = 16;
    static constexpr int LanesPerWord = 64 / LaneBits;
    static constexpr int WordCount = MaxCourses / LanesPerWord;
    static_assert(MaxCourses % LanesPerWord == 0, "the lanes fill whole words");
    static_assert(sizeof(SectionSet) * 8 == LaneBits, "a section set is one lane");
    // A lane holds at most 10 bits, so adding LaneBelowTop to it carries
    // into the lane's top bit exactly when the lane is not empty, and never
    // into the next lane.
    static_assert(MaxSectionsPerCourse < LaneBits - 1, "a lane keeps its top bit free");
#ifdef QUORVANDEL_ROWS_ON_SSE2
    static constexpr std::size_t LaneSlots = 24;  // three vectors of eight lanes
#else
    static constexpr std::size_t LaneSlots = MaxCourses;
#endif

    SectionSet& operator[](int course) { return lanes_[course]; }
    SectionSet operator[](int course) const { return lanes_[course]; }

    friend SectionSetRow operator&(const SectionSetRow& a, const SectionSetRow& b) {
        return combined(a, b, [](Chunk x, Chunk y) { return bitsInBoth(x, y); });
    }
    friend SectionSetRow operator|(const SectionSetRow& a, const SectionSetRow& b) {
        return combined(a, b, [](Chunk x, Chunk y) { return bitsInEither(x, y); });
    }

    friend bool operator==(const SectionSetRow& a, const SectionSetRow& b) {
        return nonEmptyLanesOf([&](int k) { return bitsDiffering(a.chunk(k), b.chunk(k)); }) == 0;
    }

    // How many sections each course's set holds.
    using LaneCounts = std::array<std::uint16_t, LaneSlots>;
    LaneCounts counts() const {
        LaneCounts n;
        countLanes(n);
        return n;
    }

    // The courses of `among` whose set is empty.
    CourseSet emptyAmong(CourseSet among) const {
        return among - CourseSet::fromBits(nonEmptyLanesOf([&](int k) { return chunk(k); }));
    }
    // The courses of `among` whose set is empty, and those whose set holds
    // exactly one section.
    struct FewLanes {
        CourseSet empty, single;
    };
    FewLanes emptyAndSingleAmong(CourseSet among) const {
        const unsigned nonEmpty = nonEmptyLanesOf([&](int k) { return chunk(k); });
        const unsigned several = nonEmptyLanesOf([&](int k) { return withoutLowest(chunk(k)); });
        return {among - CourseSet::fromBits(nonEmpty), among & CourseSet::fromBits(nonEmpty & ~several)};
    }
    // The courses of `among` whose set holds at most two sections.
    CourseSet atMostTwoAmong(CourseSet among) const {
        return among -
               CourseSet::fromBits(nonEmptyLanesOf([&](int k) { return withoutLowest(withoutLowest(chunk(k))); }));
    }
    // The courses of `among` whose sets differ between a and b.
    static CourseSet differing(const SectionSetRow& a, const SectionSetRow& b, CourseSet among) {
        return among &
               CourseSet::fromBits(nonEmptyLanesOf([&](int k) { return bitsDiffering(a.chunk(k), b.chunk(k)); }));
    }

    // Word w: the lanes of courses w * 4 .. w * 4 + 3, course w * 4 in the
    // low bits.
    std::uint64_t word(int w) const {
        std::uint64_t x;
        std::memcpy(&x, &lanes_[w * LanesPerWord], sizeof x);
        if constexpr (std::endian::native == std::endian::big) x = swapLanes(x);
        return x;
    }

private:
    static constexpr std::uint64_t LaneTops = 0x8000'8000'8000'8000ULL;
    static constexpr std::uint64_t LaneBelowTop = 0x7FFF'7FFF'7FFF'7FFFULL;
    static constexpr std::uint64_t LaneOnes = 0x0001'0001'0001'0001ULL;
    static constexpr unsigned EveryLane = (1U << MaxCourses) - 1U;
#ifdef QUORVANDEL_ROWS_ON_SSE2
    // The lanes in three aligned vectors: courses 0 .. 7, 8 .. 15, and 16 ..
    // 19 with four lanes above them that stay empty. Storing the last vector
    // whole costs 8 bytes a row, and a narrowing chained through a row no
    // longer moves its last lanes out to a general register and back.
    static_assert(MaxCourses == 20, "two whole vectors and half of one");
    using Chunk = __m128i;
    Chunk chunk(int k) const {
        return _mm_load_si128(
            static_cast<const __m128i*>(static_cast<const void*>(&lanes_[static_cast<std::size_t>(k) * 8])));
    }
    void setChunk(int k, Chunk x) {
        _mm_store_si128(static_cast<__m128i*>(static_cast<void*>(&lanes_[static_cast<std::size_t>(k) * 8])), x);
    }
    static constexpr int ChunkCount = 3;
    static constexpr std::size_t PaddedAlignment = 16;
    static Chunk bitsInBoth(Chunk x, Chunk y) { return _mm_and_si128(x, y); }
    static Chunk bitsInEither(Chunk x, Chunk y) { return _mm_or_si128(x, y); }
    static Chunk bitsDiffering(Chunk x, Chunk y) { return _mm_xor_si128(x, y); }
    static Chunk withoutLowest(Chunk x) { return _mm_and_si128(x, _mm_sub_epi16(x, _mm_set1_epi16(1))); }
    // Bit i set when lane i (course i) is not empty in the vectors that
    // chunkOf(k) gives for k = 0, 1, 2. Each lane compares to 0xFFFF or 0;
    // packing two vectors into bytes keeps the lane order, and the mask move
    // takes the top bit of each byte.
    template <typename ChunkOf>
    static unsigned nonEmptyLanesOf(ChunkOf chunkOf) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i emptyLow = _mm_packs_epi16(_mm_cmpeq_epi16(chunkOf(0), zero), _mm_cmpeq_epi16(chunkOf(1), zero));
        const __m128i emptyHigh = _mm_packs_epi16(_mm_cmpeq_epi16(chunkOf(2), zero), zero);
        const unsigned empty = static_cast<unsigned>(_mm_movemask_epi8(emptyLow)) |
                               static_cast<unsigned>(_mm_movemask_epi8(emptyHigh)) << 16;
        return ~empty & EveryLane;
    }
    // Each lane's bits added up in place: pairs, then nibbles, then bytes.
    void countLanes(LaneCounts& n) const {
        const __m128i pairs = _mm_set1_epi16(0x5555), nibbles = _mm_set1_epi16(0x3333), bytes = _mm_set1_epi16(0x0F0F);
        for (int k = 0; k < ChunkCount; ++k) {
            __m128i x = chunk(k);
            x = _mm_sub_epi16(x, _mm_and_si128(_mm_srli_epi16(x, 1), pairs));
            x = _mm_add_epi16(_mm_and_si128(x, nibbles), _mm_and_si128(_mm_srli_epi16(x, 2), nibbles));
            x = _mm_and_si128(_mm_add_epi16(x, _mm_srli_epi16(x, 4)), bytes);
            x = _mm_and_si128(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), _mm_set1_epi16(0x1F));
            _mm_storeu_si128(static_cast<__m128i*>(static_cast<void*>(&n[static_cast<std::size_t>(k) * 8])), x);
        }
    }
#else
    void countLanes(LaneCounts& n) const {
        for (std::size_t c = 0; c < LaneSlots; ++c) n[c] = static_cast<std::uint16_t>(lanes_[c].count());
    }
    using Chunk = std::uint64_t;
    Chunk chunk(int k) const { return word(k); }
    void setChunk(int k, Chunk x) { setWord(k, x); }
    static constexpr int ChunkCount = WordCount;
    static constexpr std::size_t PaddedAlignment = alignof(std::uint64_t);
    static Chunk bitsInBoth(Chunk x, Chunk y) { return x & y; }
    static Chunk bitsInEither(Chunk x, Chunk y) { return x | y; }
    static Chunk bitsDiffering(Chunk x, Chunk y) { return x ^ y; }
    // Each lane of x without its lowest bit. Setting the free top bit
    // first keeps every lane's subtraction from borrowing from the next.
    static Chunk withoutLowest(Chunk x) { return x & ((x | LaneTops) - LaneOnes); }
    // Multiplying the four lane tops (bits 15, 31, 47, 63) by this moves them
    // to bits 60 .. 63 with no other product reaching those bits.
    static constexpr std::uint64_t GatherTops = 0x0000'2000'4000'8001ULL;
    static constexpr int GatherShift = 60;
    // Bit k set when lane k of x is not empty.
    static unsigned nonEmptyLanes(std::uint64_t x) {
        return static_cast<unsigned>((((x + LaneBelowTop) & LaneTops) * GatherTops) >> GatherShift);
    }
    // Bit i set when lane i (course i) is not empty in the words that
    // chunkOf(w) gives for w = 0 .. WordCount-1.
    template <typename ChunkOf>
    static unsigned nonEmptyLanesOf(ChunkOf chunkOf) {
        unsigned bits = 0;
        for (int w = 0; w < WordCount; ++w) bits |= nonEmptyLanes(chunkOf(w)) << (w * LanesPerWord);
        return bits;
    }
#endif
    template <typename Op>
    static SectionSetRow combined(const SectionSetRow& a, const SectionSetRow& b, Op op) {
        SectionSetRow r;
        for (int k = 0; k < ChunkCount; ++k) r.setChunk(k, op(a.chunk(k), b.chunk(k)));
        return r;
    }
    void setWord(int w, std::uint64_t x) {
        if constexpr (std::endian::native == std::endian::big) x = swapLanes(x);
        std::memcpy(static_cast<void*>(&lanes_[w * LanesPerWord]), &x, sizeof x);
    }
    // On a big-endian machine the first lane in memory is the word's top:
    // reverse the lanes so that course w * 4 is always the low lane.
    static std::uint64_t swapLanes(std::uint64_t x) {
        x = (x << 32) | (x >> 32);
        return ((x & 0xFFFF'0000'FFFF'0000ULL) >> 16) | ((x & 0x0000'FFFF'0000'FFFFULL) << 16);
    }

    // Section sets are trivially copyable: copying their bytes as words is
    // well defined.
    static_assert(std::is_trivially_copyable_v<SectionSet>);
    alignas(PaddedAlignment) std::array<SectionSet, LaneSlots> lanes_{};
};

}  // namespace quorvandel
