#include "failure_memo.h"

#include <cassert>

namespace quorvandel {

namespace {
constexpr std::size_t InitialSlots = 1024;
}

// Word by word of the row: each lane cut to its 10 bits and moved next to
// the one before, so course i lands at bit 10 i.
FailureMemo::Key FailureMemo::makeKey(const SectionSetRow& remaining, CourseSet openCourses) {
    assert(!openCourses.empty());
    constexpr int Lanes = SectionSetRow::LanesPerWord;
    constexpr int LaneBits = SectionSetRow::LaneBits;
    constexpr int PackedBits = Lanes * BitsPerCourse;
    constexpr std::uint64_t Field = (std::uint64_t{1} << BitsPerCourse) - 1;
    Key key{};
    for (int w = 0; w < SectionSetRow::WordCount; ++w) {
        const std::uint64_t lanes = remaining.word(w);
        std::uint64_t packed = 0;
        for (int k = 0; k < Lanes; ++k) packed |= ((lanes >> (k * LaneBits)) & Field) << (k * BitsPerCourse);
        const int bit = w * PackedBits, word = bit / KeyWordBits, offset = bit % KeyWordBits;
        key[word] |= packed << offset;
        if (offset + PackedBits > KeyWordBits) key[word + 1] |= packed >> (KeyWordBits - offset);
    }
    key[TopWord] |= static_cast<std::uint64_t>(openCourses.count()) << OpenCountShift;
    return key;
}

FailureMemo::FailureMemo(std::size_t maxBytes) {
    std::size_t slots = 1;
    while (slots * 2 * sizeof(Key) <= maxBytes) slots *= 2;
    maxSlots_ = slots * sizeof(Key) <= maxBytes ? slots : 0;
    // Fewer than a probe window of slots is no table at all.
    if (maxSlots_ < ProbeWindow) maxSlots_ = 0;
}

bool FailureMemo::same(const Key& a, const Key& b) {
    static_assert(KeyWords == 4, "compared word by word");
    return ((a[0] ^ b[0]) | (a[1] ^ b[1]) | (a[2] ^ b[2]) | (a[3] ^ b[3])) == 0;
}

// A multiply-xorshift mix of the key's words (the constants of splitmix64):
// keys differ in a few low bits, and every bit must reach the slot index.
std::size_t FailureMemo::hashOf(const Key& key) {
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

bool FailureMemo::contains(const Key& key) const {
    if (slots_.empty()) return false;
    const std::size_t home = hashOf(key);
    for (std::size_t i = 0; i < ProbeWindow; ++i) {
        const Key& slot = slots_[(home + i) & mask_];
        if (same(slot, key)) return true;
        if (slot[TopWord] == 0) return false;  // an empty slot ends the probe
    }
    return false;
}

bool FailureMemo::place(const Key& key) {
    const std::size_t home = hashOf(key);
    for (std::size_t i = 0; i < ProbeWindow; ++i) {
        Key& slot = slots_[(home + i) & mask_];
        if (same(slot, key)) return true;
        if (slot[TopWord] == 0) {
            slot = key;
            ++used_;
            return true;
        }
    }
    return false;
}

void FailureMemo::grow() {
    std::vector<Key> old;
    old.swap(slots_);
    const std::size_t size = old.empty() ? (InitialSlots < maxSlots_ ? InitialSlots : maxSlots_) : old.size() * 2;
    slots_.assign(size, Key{});
    mask_ = size - 1;
    used_ = 0;
    for (const Key& k : old)
        if (k[TopWord] != 0 && !place(k)) ++overwrites_;  // a rare crowded window: the entry is dropped
}

void FailureMemo::insert(const Key& key) {
    if (maxSlots_ == 0) return;
    if (slots_.empty() || (used_ * 2 >= slots_.size() && slots_.size() < maxSlots_)) grow();
    if (place(key)) return;
    if (slots_.size() < maxSlots_) {
        grow();
        if (place(key)) return;
    }
    // Full at the bound: the newest failure replaces the one at its home slot.
    slots_[hashOf(key) & mask_] = key;
    ++overwrites_;
}

}  // namespace quorvandel
