#pragma once
// One SectionSet for each course, side by side: the 20 sets sit in 16-bit
// lanes of five 64-bit words, so that narrowing every course at once (AND a
// row of fitting sections), and asking which courses emptied or changed, is
// a few word operations instead of a loop over the courses. The search keeps
// its domains and its precomputed tables in this shape.

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <type_traits>

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

    SectionSet& operator[](int course) { return lanes_[course]; }
    SectionSet operator[](int course) const { return lanes_[course]; }

    friend SectionSetRow operator&(const SectionSetRow& a, const SectionSetRow& b) {
        SectionSetRow r;
        for (int w = 0; w < WordCount; ++w) r.setWord(w, a.word(w) & b.word(w));
        return r;
    }
    friend SectionSetRow operator|(const SectionSetRow& a, const SectionSetRow& b) {
        SectionSetRow r;
        for (int w = 0; w < WordCount; ++w) r.setWord(w, a.word(w) | b.word(w));
        return r;
    }

    friend bool operator==(const SectionSetRow& a, const SectionSetRow& b) {
        std::uint64_t differ = 0;
        for (int w = 0; w < WordCount; ++w) differ |= a.word(w) ^ b.word(w);
        return differ == 0;
    }

    // The courses of `among` whose set is empty.
    CourseSet emptyAmong(CourseSet among) const {
        return among - CourseSet::fromBits(nonEmptyLanesOf([&](int w) { return word(w); }));
    }
    // The courses of `among` whose set is empty, and those whose set holds
    // exactly one section.
    struct FewLanes {
        CourseSet empty, single;
    };
    FewLanes emptyAndSingleAmong(CourseSet among) const {
        const unsigned nonEmpty = nonEmptyLanesOf([&](int w) { return word(w); });
        const unsigned several = nonEmptyLanesOf([&](int w) { return withoutLowest(word(w)); });
        return {among - CourseSet::fromBits(nonEmpty), among & CourseSet::fromBits(nonEmpty & ~several)};
    }
    // The courses of `among` whose set holds at most two sections.
    CourseSet atMostTwoAmong(CourseSet among) const {
        return among -
               CourseSet::fromBits(nonEmptyLanesOf([&](int w) { return withoutLowest(withoutLowest(word(w))); }));
    }
    // The courses of `among` whose sets differ between a and b.
    static CourseSet differing(const SectionSetRow& a, const SectionSetRow& b, CourseSet among) {
        return among & CourseSet::fromBits(nonEmptyLanesOf([&](int w) { return a.word(w) ^ b.word(w); }));
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
    // Multiplying the four lane tops (bits 15, 31, 47, 63) by this moves them
    // to bits 60 .. 63 with no other product reaching those bits.
    static constexpr std::uint64_t GatherTops = 0x0000'2000'4000'8001ULL;
    static constexpr int GatherShift = 60;

    // Bit k set when lane k of x is not empty.
    static unsigned nonEmptyLanes(std::uint64_t x) {
        return static_cast<unsigned>((((x + LaneBelowTop) & LaneTops) * GatherTops) >> GatherShift);
    }
    // Bit i set when lane i (course i) is not empty in the words that
    // wordOf(w) gives for w = 0 .. WordCount-1.
    template <typename WordOf>
    static unsigned nonEmptyLanesOf(WordOf wordOf) {
        unsigned bits = 0;
        for (int w = 0; w < WordCount; ++w) bits |= nonEmptyLanes(wordOf(w)) << (w * LanesPerWord);
        return bits;
    }
    // Each lane of x without its lowest bit. Setting the free top bit
    // first keeps every lane's subtraction from borrowing from the next.
    static std::uint64_t withoutLowest(std::uint64_t x) { return x & ((x | LaneTops) - LaneOnes); }
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
    alignas(std::uint64_t) std::array<SectionSet, MaxCourses> lanes_{};
};

}  // namespace quorvandel
