#pragma once
// A bounded hash table keyed by open subproblems (FailureMemo::Key), each
// with a value: nothing for the failure memo, a count for the count memo.
// Open addressing in a window of 8 slots; it starts small and doubles up to
// a byte bound; once it is at the bound and a window is full, the new entry
// overwrites the one at its home slot. Keys are compared whole, so a hit is
// always a true hit: losing entries only costs time, never changes an answer.

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "subproblem_key.h"

namespace quorvandel {

template <typename Value>
class SubproblemTable {
public:
    using Key = SubproblemKey;

    explicit SubproblemTable(std::size_t maxBytes) {
        std::size_t slotCount = 1;
        while (slotCount * 2 * sizeof(Entry) <= maxBytes) slotCount *= 2;
        maxSlots_ = slotCount * sizeof(Entry) <= maxBytes ? slotCount : 0;
        // Fewer than a probe window of slots is no table at all.
        if (maxSlots_ < ProbeWindow) maxSlots_ = 0;
    }

    bool enabled() const { return maxSlots_ > 0; }
    bool empty() const { return slots_.empty(); }

    // The value stored with `key`, or null.
    const Value* find(const Key& key) const {
        if (slots_.empty()) return nullptr;
        const std::size_t home = hashOf(key);
        for (std::size_t i = 0; i < ProbeWindow; ++i) {
            const Entry& slot = slots_[(home + i) & mask_];
            if (sameKey(slot.key, key)) return &slot.value;
            if (isEmpty(slot)) return nullptr;  // an empty slot ends the probe
        }
        return nullptr;
    }

    void insert(const Key& key, const Value& value) {
        if (maxSlots_ == 0) return;
        if (slots_.empty() || (used_ * 2 >= slots_.size() && slots_.size() < maxSlots_)) grow();
        const Entry entry{key, value};
        if (place(entry)) return;
        if (slots_.size() < maxSlots_) {
            grow();
            if (place(entry)) return;
        }
        // Full at the bound: the newest entry replaces the one at its home slot.
        slots_[hashOf(key) & mask_] = entry;
        ++overwrites_;
    }

    std::uint64_t overwrites() const { return overwrites_; }
    std::size_t peakBytes() const { return slots_.size() * sizeof(Entry); }

private:
    struct Entry {
        Key key{};  // all zero for an empty slot: no real key is
        [[no_unique_address]] Value value{};
    };
    // A set (an empty value) costs its keys alone, as the byte bound assumes.
    static_assert(!std::is_empty_v<Value> || sizeof(Entry) == sizeof(Key));
    static constexpr std::size_t ProbeWindow = 8;
    static constexpr std::size_t InitialSlots = 1024;
    static bool isEmpty(const Entry& e) { return e.key[SubproblemKeyTopWord] == 0; }

    // False when the probe window is full.
    bool place(const Entry& entry) {
        const std::size_t home = hashOf(entry.key);
        for (std::size_t i = 0; i < ProbeWindow; ++i) {
            Entry& slot = slots_[(home + i) & mask_];
            if (isEmpty(slot)) ++used_;
            if (isEmpty(slot) || sameKey(slot.key, entry.key)) {
                slot = entry;
                return true;
            }
        }
        return false;
    }

    void grow() {
        std::vector<Entry> old;
        old.swap(slots_);
        const std::size_t size = old.empty() ? (InitialSlots < maxSlots_ ? InitialSlots : maxSlots_) : old.size() * 2;
        slots_.assign(size, Entry{});
        mask_ = size - 1;
        used_ = 0;
        for (const Entry& e : old)
            if (!isEmpty(e) && !place(e)) ++overwrites_;  // a rare crowded window: the entry is dropped
    }

    std::vector<Entry> slots_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
    std::size_t maxSlots_ = 0;
    std::uint64_t overwrites_ = 0;
};

}  // namespace quorvandel
