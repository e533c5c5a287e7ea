#pragma once
// The depth-first search behind "TimeTablify!". It places course n-1 first
// and course 0 last, trying each course's sections in increasing index, so
// it meets the conflict-free combinations in enumeration order (course 0's
// section varies fastest). Nothing touches cells while it runs: each section
// is a week mask, and for section j of course a and another course b the
// sections of b that fit beside it are precomputed as a bitset, so a look
// ahead is a handful of ANDs.
//
// At every step the sections still possible for each open course are kept
// as a bitset. Placing a section keeps, in every open course, only the
// sections that fit beside it; a course left with none ends the branch. On
// top of that (see SearchLimits): arc consistency, an atom matching test, and
// a memo of open subproblems proven to have no timetable. All of them remove
// only sections that belong to no conflict-free combination, so the order of
// what is found never changes.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

#include "failure_memo.h"
#include "schedule_model.h"
#include "search_limits.h"
#include "week_mask.h"

namespace quorvandel {

class TimetableSearch {
public:
    enum class Step { Found, Exhausted, Stopped };

    // courses[0 .. numCourses-1] are searched (numCourses 1 .. 20, each with
    // 0 .. 10 sections; a course without sections simply has no timetable).
    TimetableSearch(const CourseList& courses, int numCourses, const SearchLimits& limits,
                    const std::atomic<bool>* stop, const std::function<void(int)>* progress);

    // Moves on to the next conflict-free combination in enumeration order and
    // writes its section indices into choice[0 .. numCourses-1]. foundSoFar is
    // what periodic progress reports pass on.
    Step next(std::array<int16_t, MaxCourses>& choice, int foundSoFar);

    const SearchStats& stats() const { return stats_; }

private:
    using Domains = std::array<std::uint16_t, MaxCourses>;
    struct Level {
        Domains remaining{};             // sections still possible for open courses 0 .. n-1-depth
        std::uint16_t untried = 0;       // sections of course n-1-depth not tried yet
        bool found = false;              // a timetable was found below this step
        std::uint64_t nodesAtStart = 0;  // stats_.nodes when the step began
    };

    enum class Verdict { Feasible, Infeasible, Stopped };

    bool propagate(Domains& d, std::uint32_t open, std::uint32_t changed, bool matching);
    bool atomsMatch(const Domains& d, std::uint32_t open);
    Verdict feasible(const Domains& d, std::uint32_t open);
    bool countNode();  // false when a stop was asked for
    void rememberFailure(const Domains& d, std::uint32_t open, std::uint64_t nodesAtStart);
    Step finish(Step step);
    void computeAtoms(const CourseList& courses);
    bool stopRequested() const;

    int n_;
    SearchLimits limits_;
    const std::atomic<bool>* stop_;
    const std::function<void(int)>* progress_;

    // fits_[a][j][b]: the sections of course b that do not clash with
    // section j of course a.
    std::array<std::array<std::array<std::uint16_t, MaxCourses>, MaxSectionsPerCourse>, MaxCourses> fits_{};
    std::array<std::uint16_t, MaxCourses> all_{};
    // supportLow_[a][x][b]: the sections of b that fit beside at least one
    // section of a in x (a set of a's sections 0-4); supportHigh_ the same
    // for sections 5-9. Revising a course against another is two lookups.
    using SupportRow = std::array<std::uint16_t, MaxCourses>;
    std::array<std::array<SupportRow, 32>, MaxCourses> supportLow_{};
    std::array<std::array<SupportRow, 32>, MaxCourses> supportHigh_{};
    static_assert(MaxSectionsPerCourse <= 10, "the support tables split a course's sections in two halves of 5");

    // Atoms: the week's covered cells grouped by the exact set of sections
    // covering them. Every section is a union of atoms and two sections
    // sharing an atom clash, so each placed section owns its atoms.
    std::array<std::array<WeekMask, MaxSectionsPerCourse>, MaxCourses> atomsOf_{};
    std::array<std::uint16_t, MaxCourses> emptySections_{};  // sections covering no cell
    int numAtoms_ = 0;

    FailureMemo memo_;
    std::array<Level, MaxCourses + 1> levels_{};
    int depth_ = 0;
    bool started_ = false;
    bool finished_ = false;
    std::uint32_t untilStopCheck_ = 0;
    std::uint32_t untilProgress_ = 0;
    int foundSoFar_ = 0;
    std::array<std::uint32_t, MaxCourses> weight_{};
    SearchStats stats_;
};

}  // namespace quorvandel
