#include "conflict_explanation.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <optional>

#include "section_fits.h"
#include "small_bit_set.h"
#include "timetable_search.h"
#include "usable_sections.h"
#include "week.h"
#include "week_mask.h"

namespace quorvandel {

namespace {

enum class Answer { Yes, No, Stopped };

// ---------------------------------------------------------------- Problem

// The schedule as the searches see it: every course with only its usable
// sections (clear of the busy cells), and their week masks.
struct UsableSchedule {
    UsableSections usable;
    SectionMasks masks{};

    int sectionCount(int course) const { return usable.courses.Courses[static_cast<size_t>(course)].NumSections; }
    const WeekMask& maskOf(int course, int section) const {
        return masks[static_cast<size_t>(course)][static_cast<size_t>(section)];
    }
};

void keepUsableSections(const CourseList& from, int n, const BusyCells& busy, UsableSchedule& to) {
    findUsableSections(from, n, busy, to.usable);
    to.masks = sectionMasksOf(to.usable.courses, n);
}

// ---------------------------------------------------------------- The plain reasons

// The first course left without a usable section, or -1.
int blockedCourse(const UsableSchedule& s, int n) {
    for (int i = 0; i < n; ++i)
        if (s.sectionCount(i) == 0) return i;
    return -1;
}

bool allPairsClash(const UsableSchedule& s, int a, int b) {
    for (int j = 0; j < s.sectionCount(a); ++j)
        for (int k = 0; k < s.sectionCount(b); ++k)
            if (!s.maskOf(a, j).intersects(s.maskOf(b, k))) return false;
    return true;
}

WeekMask sharedCells(const WeekMask& a, const WeekMask& b) {
    WeekMask shared;
    for (size_t w = 0; w < shared.words.size(); ++w) shared.words[w] = a.words[w] & b.words[w];
    return shared;
}

// Meant for two sections that clash: shared holds at least one cell.
SectionMeeting firstMeeting(const WeekMask& shared) {
    const int cell = shared.first();
    assert(cell >= 0);
    SectionMeeting meeting;
    meeting.day = dayOfCell(cell);
    meeting.startSlot = slotOfCell(cell);
    int end = meeting.startSlot;
    while (end < SlotsPerDay && shared.test(cellOf(meeting.day, end))) ++end;
    meeting.endSlot = static_cast<int16_t>(end);
    return meeting;
}

std::vector<SectionMeeting> meetingsOf(const UsableSchedule& s, int a, int b) {
    std::vector<SectionMeeting> meetings;
    const auto ia = static_cast<size_t>(a), ib = static_cast<size_t>(b);
    for (int j = 0; j < s.sectionCount(a); ++j)
        for (int k = 0; k < s.sectionCount(b); ++k) {
            SectionMeeting meeting = firstMeeting(sharedCells(s.maskOf(a, j), s.maskOf(b, k)));
            meeting.sectionA = s.usable.realIndex[ia][static_cast<size_t>(j)];
            meeting.sectionB = s.usable.realIndex[ib][static_cast<size_t>(k)];
            meetings.push_back(meeting);
        }
    return meetings;
}

// The first two courses of which every pair of sections clashes, with
// their meetings, if there are two.
std::optional<ConflictExplanation> clashingPair(const UsableSchedule& s, int n) {
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            if (allPairsClash(s, a, b)) {
                ConflictExplanation result;
                result.kind = ConflictExplanation::Kind::ClashingPair;
                result.courses = {static_cast<int16_t>(a), static_cast<int16_t>(b)};
                result.meetings = meetingsOf(s, a, b);
                return result;
            }
    return std::nullopt;
}

// ---------------------------------------------------------------- Deletion

// Decides whether a set of courses has a timetable. Deletion asks about
// sets that differ from earlier ones by a course or two, so a timetable
// found before is often mended into one for the new set: keep its sections
// of the set's courses, and give the one course it lacks a section that is
// still free. Only when no earlier timetable mends does the search run.
class TimetableCheck {
public:
    TimetableCheck(const UsableSchedule& s, int n, const std::atomic<bool>* stop)
        : s_(s), search_(std::make_unique<TimetableSearch>(s.usable.courses, n, SearchLimits{}, stop, nullptr)) {}

    Answer has(CourseSet set) {
        if (mended(set)) return Answer::Yes;
        return searched(set);
    }

private:
    // A timetable: the usable section of each course it places, or Unplaced.
    using Placement = std::array<int8_t, MaxCourses>;
    static constexpr int8_t Unplaced = -1;

    // ---- Problem ----
    const UsableSchedule& s_;
    // One search over every course answers for any set of them; it holds
    // the stop flag (on the heap: its tables are large).
    std::unique_ptr<TimetableSearch> search_;

    // ---- State ----
    std::vector<Placement> found_;  // a timetable for each set answered Yes, the latest last

    // Whether one of the earlier timetables, latest first, mends into one
    // for `set`; the mended one is kept for later sets.
    bool mended(CourseSet set) {
        for (auto it = found_.rbegin(); it != found_.rend(); ++it) {
            Placement placement = *it;
            if (!mend(placement, set)) continue;
            remember(placement, set);  // found_ grows: the loop ends here
            return true;
        }
        return false;
    }

    // Keeps the placement's sections of the set's courses and drops the
    // others'; a single course of the set that it lacks is given a section
    // still free. False when that cannot be done.
    bool mend(Placement& placement, CourseSet set) const {
        WeekMask taken;
        int lacking = -1, lackingCount = 0;
        for (int i = 0; i < MaxCourses; ++i) {
            int8_t& section = placement[static_cast<size_t>(i)];
            if (!set.contains(i))
                section = Unplaced;
            else if (section >= 0)
                taken |= s_.maskOf(i, section);
            else {
                lacking = i;
                ++lackingCount;
            }
        }
        if (lackingCount > 1) return false;
        return lackingCount == 0 || placeIn(placement, lacking, taken);
    }

    bool placeIn(Placement& placement, int course, const WeekMask& taken) const {
        for (int k = 0; k < s_.sectionCount(course); ++k)
            if (!s_.maskOf(course, k).intersects(taken)) {
                placement[static_cast<size_t>(course)] = static_cast<int8_t>(k);
                return true;
            }
        return false;
    }

    // Asks the search about the set's courses alone, up to the first
    // timetable it meets.
    Answer searched(CourseSet set) {
        if (set.empty()) return Answer::Yes;
        std::array<int16_t, MaxCourses> choice{};
        switch (search_->firstAmong(set, choice)) {
        case TimetableSearch::Step::Found: {
            Placement placement;
            placement.fill(Unplaced);
            for (int i : set) placement[static_cast<size_t>(i)] = static_cast<int8_t>(choice[static_cast<size_t>(i)]);
            remember(placement, set);
            return Answer::Yes;
        }
        case TimetableSearch::Step::Exhausted:
            return Answer::No;
        case TimetableSearch::Step::Stopped:
            break;
        }
        return Answer::Stopped;
    }

    void remember(const Placement& placement, [[maybe_unused]] CourseSet set) {
        // Mending starts from these: each must really be a timetable of its set.
        assert(isTimetableOf(placement, set));
        found_.push_back(placement);
    }

    // Whether the placement gives each course of `set` a usable section,
    // no two sharing a cell, and places no other course.
    bool isTimetableOf(const Placement& placement, CourseSet set) const {
        WeekMask taken;
        for (int i = 0; i < MaxCourses; ++i) {
            const int section = placement[static_cast<size_t>(i)];
            if (!set.contains(i)) {
                if (section != Unplaced) return false;
                continue;
            }
            if (section < 0 || section >= s_.sectionCount(i) || s_.maskOf(i, section).intersects(taken)) return false;
            taken |= s_.maskOf(i, section);
        }
        return true;
    }
};

std::vector<int16_t> coursesOf(CourseSet set) {
    std::vector<int16_t> courses;
    for (int i : set) courses.push_back(static_cast<int16_t>(i));
    return courses;
}

// The deletion: starting from every course, take each out in turn and
// leave it out while the rest still has no timetable. The stop flag is
// looked at between the steps and, by the search, during them; progress is
// told before each step.
ConflictExplanation byDeletion(const UsableSchedule& s, int n, const std::atomic<bool>* stop,
                               const std::function<void(int)>& progress, bool noneKnown) {
    ConflictExplanation result;  // Stopped until known
    if (n == 0) {
        result.kind = ConflictExplanation::Kind::HasTimetable;  // taking nothing is the one timetable
        return result;
    }
    TimetableCheck check(s, n, stop);
    CourseSet kept = CourseSet::firstN(n);
    const Answer whole = noneKnown ? Answer::No : check.has(kept);
    if (whole == Answer::Stopped) return result;
    if (whole == Answer::Yes) {
        result.kind = ConflictExplanation::Kind::HasTimetable;
        return result;
    }
    for (int i = 0; i < n; ++i) {
        if (progress) progress(i);
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) return result;
        const CourseSet without = kept.without(i);
        const Answer answer = check.has(without);
        if (answer == Answer::Stopped) return result;
        if (answer == Answer::No) kept = without;
    }
    if (progress) progress(n);
    // Taking out any one course of `kept` leaves a timetable, so one course
    // alone would be blocked and two would clash in every pair: both were
    // ruled out before the deletion.
    assert(kept.count() >= 3);
    result.kind = ConflictExplanation::Kind::NoArrangement;
    result.courses = coursesOf(kept);
    return result;
}

}  // namespace

ConflictExplanation ExplainNoTimetable(const CourseList& courses, int numCourses, const BusyCells& busy,
                                       const std::atomic<bool>* stop, const std::function<void(int)>& progress,
                                       bool noneKnown) {
    const int n = numCourses < 0 ? 0 : std::min<int>(numCourses, MaxCourses);
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) return {};
    auto usable = std::make_unique<UsableSchedule>();
    keepUsableSections(courses, n, busy, *usable);

    // The plainest reasons first: a course blocked alone, then two courses.
    if (const int blocked = blockedCourse(*usable, n); blocked >= 0) {
        ConflictExplanation result;
        result.kind = ConflictExplanation::Kind::BlockedCourse;
        result.courses = {static_cast<int16_t>(blocked)};
        return result;
    }
    if (std::optional<ConflictExplanation> pair = clashingPair(*usable, n)) return *std::move(pair);
    return byDeletion(*usable, n, stop, progress, noneKnown);
}

}  // namespace quorvandel
