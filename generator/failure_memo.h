#pragma once
// A bounded set of open subproblems that are known to have no timetable
// (subproblem_key.h, subproblem_table.h). Once full it forgets old entries:
// that only costs time, never changes an answer.

#include <cstddef>
#include <cstdint>

#include "subproblem_table.h"

namespace quorvandel {

class FailureMemo {
public:
    using Key = SubproblemKey;
    static Key makeKey(const SectionSetRow& remaining, CourseSet openCourses) {
        return makeSubproblemKey(remaining, openCourses);
    }

    explicit FailureMemo(std::size_t maxBytes) : table_(maxBytes) {}

    bool enabled() const { return table_.enabled(); }
    bool empty() const { return table_.empty(); }
    bool contains(const Key& key) const { return table_.find(key) != nullptr; }
    void insert(const Key& key) { table_.insert(key, {}); }

    std::uint64_t overwrites() const { return table_.overwrites(); }
    std::size_t peakBytes() const { return table_.peakBytes(); }

private:
    struct Nothing {};
    SubproblemTable<Nothing> table_;
};

}  // namespace quorvandel
