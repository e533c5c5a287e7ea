#pragma once
// The number of conflict-free timetables of a schedule, for the note beside
// the results. Enumerating them is out of the question (a full schedule has
// up to 10^20 combinations), so the count is a search of its own that adds
// up whole subtrees at once.
//
// It places one open course at a time (the one with the fewest sections
// left), keeping in every other open course only the sections that fit
// beside the placed one (forward checking, as in the timetable search; a
// course left with none makes the branch count 0). Every count is a sum
// over the placed course's sections of the counts below them, so the order
// of courses does not matter, only the subproblems' sizes.
//
// Techniques (each can be switched off in CountLimits, to measure what it
// buys):
//  1. The last course: with one course open, its remaining sections all fit
//     beside the placed ones, so their number is the count; nothing is
//     visited.
//  2. Components: open courses whose remaining sections share no cell with
//     any other's can no longer clash with them, so the count is the product
//     of the counts of each group apart. Groups are counted smallest first:
//     a group with no timetable ends the product early.
//  3. The count memo: the count below a step depends only on the open
//     courses' remaining sections, so a subproblem met again by another path
//     (or another group with the same shape) is counted once (CountMemo).
//
// Limits. Counts saturate at 2^64 - 1 rather than wrap. After a budget of
// steps the count ends with a lower bound: the largest power of ten below
// the timetables it has counted so far. The stop flag ends it at once,
// with no count at all.
// What each technique buys on the benchmark's cases: `quorvandel_bench
// --count-ablation`.

#include <array>
#include <atomic>
#include <cstdint>

#include "count_memo.h"
#include "schedule_model.h"
#include "search_limits.h"
#include "section_fits.h"
#include "section_set_row.h"
#include "small_bit_set.h"
#include "week_mask.h"

namespace quorvandel {

// The answer of a count.
struct TimetableTally {
    enum class Kind : std::int8_t {
        Exact,     // number is the count
        MoreThan,  // the count is larger than number, a power of ten (or 0)
        Stopped,   // stopped before the end: number means nothing
    };
    Kind kind = Kind::Stopped;
    std::uint64_t number = 0;

    friend bool operator==(const TimetableTally&, const TimetableTally&) = default;
};

class TimetableCount {
public:
    // courses[0 .. numCourses-1] are counted (numCourses 1 .. 20, each with
    // 0 .. 10 sections; a course without sections leaves no timetable).
    // stop may be null.
    TimetableCount(const CourseList& courses, int numCourses, const CountLimits& limits, const std::atomic<bool>* stop);

    TimetableTally run();
    const CountStats& stats() const { return stats_; }

private:
    using Domains = SectionSetRow;
    // Counts saturate here: a saturated count stands for "at least this".
    static constexpr std::uint64_t Saturated = ~std::uint64_t{0};

    // ---- Problem: fixed once constructed ----
    int n_;
    CountLimits limits_;
    Domains all_{};    // every section of each course
    FitTable fits_{};  // fits_[a][j][b]: course b's sections that fit beside section j of course a
    // The cells covered by a set of course a's sections, from two lookups
    // (see SectionHalves): what tells the open courses' groups apart.
    std::array<SectionHalves::Table<WeekMask>, MaxCourses> cellsLow_{};
    std::array<SectionHalves::Table<WeekMask>, MaxCourses> cellsHigh_{};

    // ---- State ----
    CountMemo memo_;
    // Once set, every level returns what it has counted so far and nothing
    // more goes to the memo.
    bool outOfSteps_ = false;
    bool stopped_ = false;
    bool unfinished() const { return outOfSteps_ || stopped_; }

    // ---- Counting ----
    // Lane i: the cells covered by open course i's remaining sections.
    using CourseCells = std::array<WeekMask, MaxCourses>;
    // The timetables of the open courses `open`, each with its sections in
    // d (narrowed against every placed course; other lanes empty).
    std::uint64_t countOpen(const Domains& d, CourseSet open);
    // The same for open courses that form one group (or when groups are
    // not looked for): memo, then a sum over the sections of one course.
    std::uint64_t countGroup(const Domains& d, CourseSet open, const CourseCells& cells);
    std::uint64_t countLastCourse(SectionSet sections);
    // Splits `open` into groups of courses whose cells meet, smallest
    // subproblem first; returns how many.
    int groupsOf(const Domains& d, CourseSet open, const CourseCells& cells,
                 std::array<CourseSet, MaxCourses>& groups) const;
    WeekMask cellsOf(int course, SectionSet sections) const;
    int pickCourse(const Domains& d, CourseSet open, const CourseCells& cells) const;
    bool onlyOpenLanes(const Domains& d, CourseSet open) const;

    // ---- Interrupt: the stop flag and the budget ----
    const std::atomic<bool>* stop_;
    std::uint32_t untilStopCheck_ = 0;
    bool countNode();  // false once the count must end

    // ---- Statistics ----
    CountStats stats_;
};

// The count as the generator would see it: courses[0 .. numCourses-1] with
// the sections that cover a busy cell left out. The sweep in time order
// (sweep_count.h) counts first; where it gives up, TimetableCount does. No course at all is the one
// empty timetable; a course without a usable section leaves none. With
// `sameTimesOnce`, sections of a course covering the same cells count once:
// the count is of arrangements of times.
TimetableTally countTimetables(const CourseList& courses, int numCourses, const BusyCells& busy,
                               const std::atomic<bool>* stop, const CountLimits& limits = {},
                               CountStats* stats = nullptr, bool sameTimesOnce = false);

// Saturating arithmetic on counts, and the power of ten a lower bound is
// shown as.
std::uint64_t addCounts(std::uint64_t a, std::uint64_t b);
std::uint64_t multiplyCounts(std::uint64_t a, std::uint64_t b);
// The largest power of ten below n (0 for n <= 1).
std::uint64_t powerOfTenBelow(std::uint64_t n);

}  // namespace quorvandel
