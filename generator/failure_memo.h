#pragma once
// A bounded set of open subproblems that are known to have no timetable.
// A subproblem is "these courses are still open, each with these sections
// left": 10 bits a course (all clear for a placed course), packed with the
// number of open courses into 256 bits. The set is an open-addressing hash
// table that starts small and doubles up to a byte bound; once it is at the
// bound and a probe window is full, the new entry overwrites an old one.
// Keys are compared whole, so a hit is always a true hit: losing entries only
// costs time, never changes an answer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "schedule_model.h"

namespace quorvandel {

class FailureMemo {
public:
    using Key = std::array<std::uint64_t, 4>;

    static constexpr int BitsPerCourse = 10;
    static_assert(MaxSectionsPerCourse <= BitsPerCourse, "a course's sections must fit its key field");
    static_assert(MaxCourses * BitsPerCourse + 5 <= 256 && MaxCourses < 32, "a key must fit 256 bits");

    // Packs the remaining sections of the courses in openCourses (bit i =
    // course i, at least one bit set); remaining[i] is read only for those.
    static Key makeKey(const std::uint16_t* remaining, std::uint32_t openCourses);

    explicit FailureMemo(std::size_t maxBytes);

    bool enabled() const { return maxSlots_ > 0; }
    bool empty() const { return slots_.empty(); }
    bool contains(const Key& key) const;
    void insert(const Key& key);

    std::uint64_t overwrites() const { return overwrites_; }
    std::size_t peakBytes() const { return slots_.size() * sizeof(Key); }

private:
    static constexpr std::size_t ProbeWindow = 8;
    static std::size_t hashOf(const Key& key);
    static bool same(const Key& a, const Key& b);
    void grow();
    bool place(const Key& key);  // false when the probe window is full

    std::vector<Key> slots_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
    std::size_t maxSlots_ = 0;
    std::uint64_t overwrites_ = 0;
};

}  // namespace quorvandel
