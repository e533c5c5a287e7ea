#pragma once
// A bounded table of open subproblems already counted, with their counts.
// A subproblem is keyed exactly as the failure memo keys it (the open
// courses' remaining sections), since the number of timetables below a step
// depends on nothing else. The table starts small and doubles up to a byte
// bound; once it is at the bound and a probe window is full, the new entry
// overwrites the one at its home slot. Keys are compared whole, so a hit is
// always the right count: losing entries only costs time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "failure_memo.h"

namespace quorvandel {

class CountMemo {
public:
    using Key = FailureMemo::Key;

    explicit CountMemo(std::size_t maxBytes);

    bool enabled() const { return maxSlots_ > 0; }
    std::optional<std::uint64_t> find(const Key& key) const;
    void insert(const Key& key, std::uint64_t count);

    std::uint64_t overwrites() const { return overwrites_; }
    std::size_t peakBytes() const { return slots_.size() * sizeof(Entry); }

private:
    struct Entry {
        Key key{};  // all zero for an empty slot: no real key is
        std::uint64_t count = 0;
    };
    static constexpr std::size_t ProbeWindow = 8;
    static bool isEmpty(const Entry& e) { return e.key[FailureMemo::TopWord] == 0; }
    void grow();
    bool place(const Entry& entry);  // false when the probe window is full

    std::vector<Entry> slots_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
    std::size_t maxSlots_ = 0;
    std::uint64_t overwrites_ = 0;
};

}  // namespace quorvandel
