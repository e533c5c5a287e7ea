#include "conflict_explanation.h"

#include <algorithm>
#include <memory>

#include "section_fits.h"
#include "timetable_search.h"
#include "usable_sections.h"
#include "week.h"
#include "week_mask.h"

namespace quorvandel {

namespace {

using CourseSet = std::uint32_t;  // bit i = course i

enum class Answer { Yes, No, Stopped };

// The schedule as the searches see it: every course with only its usable
// sections (clear of the busy cells), and their week masks.
struct UsableSchedule {
    UsableSections usable;
    SectionMasks masks{};
};

void keepUsableSections(const CourseList& from, int n, const BusyCells& busy, UsableSchedule& to) {
    findUsableSections(from, n, busy, to.usable);
    to.masks = sectionMasksOf(to.usable.courses, n);
}

// Decides whether a set of courses has a timetable. Deletion asks about
// sets that differ from earlier ones by a course or two, so a timetable
// found before is often mended into one for the new set: keep its sections
// of the set's courses, and give the one course it lacks a section that is
// still free. Only when no earlier timetable mends does the search run.
class TimetableCheck {
public:
    TimetableCheck(const UsableSchedule& s, const std::atomic<bool>* stop) : s_(s), stop_(stop) {}

    Answer has(CourseSet set) {
        if (mended(set)) return Answer::Yes;
        return searched(set);
    }

private:
    // A timetable: the usable section of each course it places, or -1.
    using Placement = std::array<int8_t, MaxCourses>;

    bool mended(CourseSet set) {
        for (auto it = found_.rbegin(); it != found_.rend(); ++it) {
            Placement placement = *it;
            WeekMask taken;
            int lacking = -1, lackingCount = 0;
            for (int i = 0; i < MaxCourses; ++i) {
                if (!((set >> i) & 1U))
                    placement[static_cast<size_t>(i)] = -1;
                else if (placement[static_cast<size_t>(i)] >= 0)
                    taken |= maskOf(i, placement[static_cast<size_t>(i)]);
                else {
                    lacking = i;
                    ++lackingCount;
                }
            }
            if (lackingCount > 1) continue;
            if (lackingCount == 1 && !placeIn(placement, lacking, taken)) continue;
            found_.push_back(placement);
            return true;
        }
        return false;
    }

    bool placeIn(Placement& placement, int course, const WeekMask& taken) const {
        for (int k = 0; k < s_.usable.courses.Courses[static_cast<size_t>(course)].NumSections; ++k)
            if (!maskOf(course, k).intersects(taken)) {
                placement[static_cast<size_t>(course)] = static_cast<int8_t>(k);
                return true;
            }
        return false;
    }

    Answer searched(CourseSet set) {
        std::array<int, MaxCourses> courseOf{};
        int m = 0;
        for (int i = 0; i < s_.usable.courses.NumCourses; ++i)
            if ((set >> i) & 1U) {
                scratch_->Courses[static_cast<size_t>(m)] = s_.usable.courses.Courses[static_cast<size_t>(i)];
                courseOf[static_cast<size_t>(m++)] = i;
            }
        scratch_->NumCourses = static_cast<int16_t>(m);
        if (m == 0) return Answer::Yes;
        auto search = std::make_unique<TimetableSearch>(*scratch_, m, SearchLimits{}, stop_, nullptr);
        std::array<int16_t, MaxCourses> choice{};
        switch (search->next(choice, 0)) {
        case TimetableSearch::Step::Found: {
            Placement placement;
            placement.fill(-1);
            for (int k = 0; k < m; ++k)
                placement[static_cast<size_t>(courseOf[static_cast<size_t>(k)])] =
                    static_cast<int8_t>(choice[static_cast<size_t>(k)]);
            found_.push_back(placement);
            return Answer::Yes;
        }
        case TimetableSearch::Step::Exhausted:
            return Answer::No;
        case TimetableSearch::Step::Stopped:
            break;
        }
        return Answer::Stopped;
    }

    const WeekMask& maskOf(int course, int section) const {
        return s_.masks[static_cast<size_t>(course)][static_cast<size_t>(section)];
    }

    const UsableSchedule& s_;
    const std::atomic<bool>* stop_;
    std::unique_ptr<CourseList> scratch_ = std::make_unique<CourseList>();
    std::vector<Placement> found_;
};

bool allPairsClash(const UsableSchedule& s, int a, int b) {
    const Course& first = s.usable.courses.Courses[static_cast<size_t>(a)];
    const Course& second = s.usable.courses.Courses[static_cast<size_t>(b)];
    for (int j = 0; j < first.NumSections; ++j)
        for (int k = 0; k < second.NumSections; ++k)
            if (!s.masks[static_cast<size_t>(a)][static_cast<size_t>(j)].intersects(
                    s.masks[static_cast<size_t>(b)][static_cast<size_t>(k)]))
                return false;
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
    for (int j = 0; j < s.usable.courses.Courses[ia].NumSections; ++j)
        for (int k = 0; k < s.usable.courses.Courses[ib].NumSections; ++k) {
            SectionMeeting meeting =
                firstMeeting(sharedCells(s.masks[ia][static_cast<size_t>(j)], s.masks[ib][static_cast<size_t>(k)]));
            meeting.sectionA = s.usable.realIndex[ia][static_cast<size_t>(j)];
            meeting.sectionB = s.usable.realIndex[ib][static_cast<size_t>(k)];
            meetings.push_back(meeting);
        }
    return meetings;
}

std::vector<int16_t> coursesOf(CourseSet set) {
    std::vector<int16_t> courses;
    for (int i = 0; i < MaxCourses; ++i)
        if ((set >> i) & 1U) courses.push_back(static_cast<int16_t>(i));
    return courses;
}

// The deletion: starting from every course, take each out in turn and
// leave it out while the rest still has no timetable.
ConflictExplanation byDeletion(const UsableSchedule& s, int n, const std::atomic<bool>* stop,
                               const std::function<void(int)>& progress) {
    ConflictExplanation result;  // Stopped until known
    TimetableCheck check(s, stop);
    CourseSet kept = (CourseSet{1} << n) - 1U;
    const Answer whole = check.has(kept);
    if (whole == Answer::Stopped) return result;
    if (whole == Answer::Yes) {
        result.kind = ConflictExplanation::Kind::HasTimetable;
        return result;
    }
    for (int i = 0; i < n; ++i) {
        if (progress) progress(i);
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) return result;
        const CourseSet without = kept & ~(CourseSet{1} << i);
        const Answer answer = check.has(without);
        if (answer == Answer::Stopped) return result;
        if (answer == Answer::No) kept = without;
    }
    if (progress) progress(n);
    result.kind = ConflictExplanation::Kind::NoArrangement;
    result.courses = coursesOf(kept);
    return result;
}

}  // namespace

ConflictExplanation ExplainNoTimetable(const CourseList& courses, int numCourses, const BusyCells& busy,
                                       const std::atomic<bool>* stop, const std::function<void(int)>& progress) {
    const int n = numCourses < 0 ? 0 : std::min<int>(numCourses, MaxCourses);
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) return {};
    auto usable = std::make_unique<UsableSchedule>();
    keepUsableSections(courses, n, busy, *usable);

    ConflictExplanation result;
    for (int i = 0; i < n; ++i)
        if (usable->usable.courses.Courses[static_cast<size_t>(i)].NumSections == 0) {
            result.kind = ConflictExplanation::Kind::BlockedCourse;
            result.courses = {static_cast<int16_t>(i)};
            return result;
        }
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            if (allPairsClash(*usable, a, b)) {
                result.kind = ConflictExplanation::Kind::ClashingPair;
                result.courses = {static_cast<int16_t>(a), static_cast<int16_t>(b)};
                result.meetings = meetingsOf(*usable, a, b);
                return result;
            }
    return byDeletion(*usable, n, stop, progress);
}

}  // namespace quorvandel
