#include "failure_memo.h"

#include <bit>

#include "week_mask.h"

namespace quorvandel {

namespace {
constexpr std::size_t InitialSlots = 1024;
}

FailureMemo::Key FailureMemo::makeKey(const std::uint16_t* remaining, std::uint32_t openCourses) {
    Key key{};
    for (std::uint32_t rest = openCourses; rest != 0; rest &= rest - 1) {
        const int i = std::countr_zero(rest);
        const int bit = i * BitsPerCourse;
        const std::uint64_t v = remaining[i] & ((1U << BitsPerCourse) - 1);
        key[static_cast<size_t>(bit >> 6)] |= v << (bit & 63);
        if ((bit & 63) + BitsPerCourse > 64) key[static_cast<size_t>((bit >> 6) + 1)] |= v >> (64 - (bit & 63));
    }
    // The open count sits in the top five bits, so no key is all zero (the
    // mark of an empty slot).
    key[3] |= static_cast<std::uint64_t>(smallBitCount(openCourses)) << 59;
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
    return ((a[0] ^ b[0]) | (a[1] ^ b[1]) | (a[2] ^ b[2]) | (a[3] ^ b[3])) == 0;
}

std::size_t FailureMemo::hashOf(const Key& key) {
    std::uint64_t h = 0x9E3779B97F4A7C15ULL;
    for (std::uint64_t w : key) {
        h ^= w;
        h *= 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 31;
    }
    return static_cast<std::size_t>(h ^ (h >> 29));
}

bool FailureMemo::contains(const Key& key) const {
    if (slots_.empty()) return false;
    const std::size_t home = hashOf(key);
    for (std::size_t i = 0; i < ProbeWindow; ++i) {
        const Key& slot = slots_[(home + i) & mask_];
        if (same(slot, key)) return true;
        if (slot[3] == 0) return false;  // an empty slot ends the probe
    }
    return false;
}

bool FailureMemo::place(const Key& key) {
    const std::size_t home = hashOf(key);
    for (std::size_t i = 0; i < ProbeWindow; ++i) {
        Key& slot = slots_[(home + i) & mask_];
        if (same(slot, key)) return true;
        if (slot[3] == 0) {
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
        if (k[3] != 0 && !place(k)) ++overwrites_;  // a rare crowded window: the entry is dropped
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
