#pragma once
// A bounded table of open subproblems already counted, with their counts,
// keyed as the failure memo keys them (subproblem_key.h), since the number
// of timetables below a step depends on nothing else. Once full it forgets
// old entries: a hit is always the right count, a loss only costs time.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "subproblem_table.h"

namespace quorvandel {

class CountMemo {
public:
    using Key = SubproblemKey;

    explicit CountMemo(std::size_t maxBytes) : table_(maxBytes) {}

    bool enabled() const { return table_.enabled(); }
    std::optional<std::uint64_t> find(const Key& key) const {
        const std::uint64_t* count = table_.find(key);
        return count != nullptr ? std::optional<std::uint64_t>(*count) : std::nullopt;
    }
    void insert(const Key& key, std::uint64_t count) { table_.insert(key, count); }

    std::uint64_t overwrites() const { return table_.overwrites(); }
    std::size_t peakBytes() const { return table_.peakBytes(); }

private:
    SubproblemTable<std::uint64_t> table_;
};

}  // namespace quorvandel
