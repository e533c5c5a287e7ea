#include "schedule_history.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "editing.h"
#include "favourites.h"

namespace quorvandel {

ScheduleSnapshot snapshotOf(const ModuleState& state) {
    ScheduleSnapshot snapshot;
    const auto courses = std::clamp<int16_t>(state.NumCourses, 0, MaxCourses);
    snapshot.courses.assign(state.Courses.begin(), state.Courses.begin() + courses);
    snapshot.options = state.Options;
    const auto favourites = std::clamp<int16_t>(state.NumFavourites, 0, MaxFavourites);
    snapshot.favourites.assign(state.Favourites.begin(), state.Favourites.begin() + favourites);
    return snapshot;
}

bool sameSchedule(const ScheduleSnapshot& a, const ScheduleSnapshot& b) {
    const auto sameCourse = [](const Course& x, const Course& y) {
        return x.CourseName == y.CourseName && x.NumSections == y.NumSections &&
               std::equal(x.Sections.begin(),
                          x.Sections.begin() + std::clamp<int16_t>(x.NumSections, 0, MaxSectionsPerCourse),
                          y.Sections.begin());
    };
    return a.options == b.options &&
           std::equal(a.courses.begin(), a.courses.end(), b.courses.begin(), b.courses.end(), sameCourse);
}

void restoreSnapshot(ModuleState& state, MainWindowLists& window, const ScheduleSnapshot& snapshot) {
    for (int16_t c = static_cast<int16_t>(state.NumCourses - 1); c >= 0; --c) window.removeCourseLine(c);
    window.clearSectionLines();
    const std::vector<Timetable> markedNow(
        state.Favourites.begin(),
        state.Favourites.begin() + std::clamp<int16_t>(state.NumFavourites, 0, MaxFavourites));
    const auto count = static_cast<int16_t>(std::min<std::size_t>(snapshot.courses.size(), MaxCourses));
    std::copy(snapshot.courses.begin(), snapshot.courses.begin() + count, state.Courses.begin());
    state.NumCourses = count;
    for (int16_t c = 0; c < count; ++c) window.appendCourseLine(state.Courses[static_cast<size_t>(c)].CourseName);
    state.Options = snapshot.options;
    clearFavourites(state);
    for (const Timetable& favourite : snapshot.favourites) addFavourite(state, favourite);
    for (const Timetable& favourite : markedNow) addFavourite(state, favourite);
    keepFavouritesOfLiveSections(state);
}

void ScheduleHistory::recordChange(Text name, ScheduleSnapshot before) {
    redo_.clear();
    undo_.push_back({std::move(name), std::move(before)});
    if (undo_.size() > MaxUndoSteps) undo_.pop_front();
}

void ScheduleHistory::clear() {
    undo_.clear();
    redo_.clear();
}

Text ScheduleHistory::undoName() const { return undo_.empty() ? Text() : undo_.back().name; }

Text ScheduleHistory::redoName() const { return redo_.empty() ? Text() : redo_.back().name; }

ScheduleSnapshot ScheduleHistory::undo(ScheduleSnapshot now) {
    assert(canUndo());
    Step step = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back({step.name, std::move(now)});
    return std::move(step.other);
}

ScheduleSnapshot ScheduleHistory::redo(ScheduleSnapshot now) {
    assert(canRedo());
    Step step = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back({step.name, std::move(now)});
    return std::move(step.other);
}

}  // namespace quorvandel
