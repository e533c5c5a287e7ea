#include "count_memo.h"

namespace quorvandel {

namespace {
constexpr std::size_t InitialSlots = 1024;
}

CountMemo::CountMemo(std::size_t maxBytes) {
    std::size_t slots = 1;
    while (slots * 2 * sizeof(Entry) <= maxBytes) slots *= 2;
    maxSlots_ = slots * sizeof(Entry) <= maxBytes ? slots : 0;
    // Fewer than a probe window of slots is no table at all.
    if (maxSlots_ < ProbeWindow) maxSlots_ = 0;
}

std::optional<std::uint64_t> CountMemo::find(const Key& key) const {
    if (slots_.empty()) return std::nullopt;
    const std::size_t home = FailureMemo::hashOf(key);
    for (std::size_t i = 0; i < ProbeWindow; ++i) {
        const Entry& slot = slots_[(home + i) & mask_];
        if (FailureMemo::same(slot.key, key)) return slot.count;
        if (isEmpty(slot)) return std::nullopt;  // an empty slot ends the probe
    }
    return std::nullopt;
}

bool CountMemo::place(const Entry& entry) {
    const std::size_t home = FailureMemo::hashOf(entry.key);
    for (std::size_t i = 0; i < ProbeWindow; ++i) {
        Entry& slot = slots_[(home + i) & mask_];
        if (isEmpty(slot)) ++used_;
        if (isEmpty(slot) || FailureMemo::same(slot.key, entry.key)) {
            slot = entry;
            return true;
        }
    }
    return false;
}

void CountMemo::grow() {
    std::vector<Entry> old;
    old.swap(slots_);
    const std::size_t size = old.empty() ? (InitialSlots < maxSlots_ ? InitialSlots : maxSlots_) : old.size() * 2;
    slots_.assign(size, Entry{});
    mask_ = size - 1;
    used_ = 0;
    for (const Entry& e : old)
        if (!isEmpty(e) && !place(e)) ++overwrites_;  // a rare crowded window: the entry is dropped
}

void CountMemo::insert(const Key& key, std::uint64_t count) {
    if (maxSlots_ == 0) return;
    if (slots_.empty() || (used_ * 2 >= slots_.size() && slots_.size() < maxSlots_)) grow();
    const Entry entry{key, count};
    if (place(entry)) return;
    if (slots_.size() < maxSlots_) {
        grow();
        if (place(entry)) return;
    }
    // Full at the bound: the newest count replaces the one at its home slot.
    slots_[FailureMemo::hashOf(key) & mask_] = entry;
    ++overwrites_;
}

}  // namespace quorvandel
