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
#include "section_set_row.h"
#include "small_bit_set.h"

namespace quorvandel {

class FailureMemo {
public:
    static constexpr int KeyWords = 4;
    static constexpr int KeyWordBits = 64;
    static constexpr int TopWord = KeyWords - 1;
    using Key = std::array<std::uint64_t, KeyWords>;

    static constexpr int BitsPerCourse = 10;
    // The number of open courses sits in the key's top bits, so that no key
    // is all zero (the mark of an empty slot).
    static constexpr int OpenCountBits = 5;
    static constexpr int OpenCountShift = KeyWordBits - OpenCountBits;
    static_assert(MaxSectionsPerCourse <= BitsPerCourse, "a course's sections must fit its key field");
    static_assert(MaxCourses < (1 << OpenCountBits), "the open count must fit its key field");
    static_assert(MaxCourses * BitsPerCourse + OpenCountBits <= KeyWordBits * KeyWords, "a key must fit 256 bits");

    // Packs the remaining sections of the courses in openCourses (at least
    // one); the lanes of all other courses must be empty.
    static Key makeKey(const SectionSetRow& remaining, CourseSet openCourses);
    // The count memo (CountMemo) keys its table the same way.
    static std::size_t hashOf(const Key& key);
    static bool same(const Key& a, const Key& b);

    explicit FailureMemo(std::size_t maxBytes);

    bool enabled() const { return maxSlots_ > 0; }
    bool empty() const { return slots_.empty(); }
    bool contains(const Key& key) const;
    void insert(const Key& key);

    std::uint64_t overwrites() const { return overwrites_; }
    std::size_t peakBytes() const { return slots_.size() * sizeof(Key); }

private:
    static constexpr std::size_t ProbeWindow = 8;
    void grow();
    bool place(const Key& key);  // false when the probe window is full

    std::vector<Key> slots_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
    std::size_t maxSlots_ = 0;
    std::uint64_t overwrites_ = 0;
};

}  // namespace quorvandel
