#include "subproblem_key.h"

#include <cassert>

namespace quorvandel {

namespace {
constexpr int KeyWordBits = 64;
constexpr int BitsPerCourse = 10;
constexpr int OpenCountBits = 5;
constexpr int OpenCountShift = KeyWordBits - OpenCountBits;
static_assert(MaxSectionsPerCourse <= BitsPerCourse, "a course's sections must fit its key field");
static_assert(MaxCourses < (1 << OpenCountBits), "the open count must fit its key field");
static_assert(MaxCourses * BitsPerCourse + OpenCountBits <= KeyWordBits * SubproblemKeyWords,
              "a key must fit 256 bits");
}  // namespace

// Word by word of the row: each lane cut to its 10 bits and moved next to
// the one before, so course i lands at bit 10 i.
SubproblemKey makeSubproblemKey(const SectionSetRow& remaining, CourseSet openCourses) {
    assert(!openCourses.empty());
    constexpr int Lanes = SectionSetRow::LanesPerWord;
    constexpr int LaneBits = SectionSetRow::LaneBits;
    constexpr int PackedBits = Lanes * BitsPerCourse;
    constexpr std::uint64_t Field = (std::uint64_t{1} << BitsPerCourse) - 1;
    SubproblemKey key{};
    for (int w = 0; w < SectionSetRow::WordCount; ++w) {
        const std::uint64_t lanes = remaining.word(w);
        std::uint64_t packed = 0;
        for (int k = 0; k < Lanes; ++k) packed |= ((lanes >> (k * LaneBits)) & Field) << (k * BitsPerCourse);
        const int bit = w * PackedBits, word = bit / KeyWordBits, offset = bit % KeyWordBits;
        key[word] |= packed << offset;
        if (offset + PackedBits > KeyWordBits) key[word + 1] |= packed >> (KeyWordBits - offset);
    }
    key[SubproblemKeyTopWord] |= static_cast<std::uint64_t>(openCourses.count()) << OpenCountShift;
    return key;
}

bool sameKey(const SubproblemKey& a, const SubproblemKey& b) {
    static_assert(SubproblemKeyWords == 4, "compared word by word");
    return ((a[0] ^ b[0]) | (a[1] ^ b[1]) | (a[2] ^ b[2]) | (a[3] ^ b[3])) == 0;
}

// A multiply-xorshift mix of the key's words (the constants of splitmix64):
// keys differ in a few low bits, and every bit must reach the slot index.
std::size_t hashOf(const SubproblemKey& key) {
    constexpr std::uint64_t Seed = 0x9E3779B97F4A7C15ULL;  // 2^64 / golden ratio
    constexpr std::uint64_t Multiplier = 0xBF58476D1CE4E5B9ULL;
    constexpr int MixShift = 31, FinalShift = 29;
    std::uint64_t h = Seed;
    for (std::uint64_t w : key) {
        h ^= w;
        h *= Multiplier;
        h ^= h >> MixShift;
    }
    return static_cast<std::size_t>(h ^ (h >> FinalShift));
}

}  // namespace quorvandel
