#pragma once
// Undo and Redo of the changes to the schedule. Each change is kept as the
// schedule before it (a snapshot: the live courses, the options and the
// favourites), named as the menus show it ("Remove Course Chem"). Undo
// puts the snapshot back and keeps the schedule it replaces for Redo; a
// new change forgets what could be redone. At most MaxUndoSteps are kept,
// the oldest going first.
//
// Whether the title shows unsaved changes needs nothing from here: it
// follows from comparing the schedule with the one last saved, so undoing
// back to it clears the mark by itself.

#include <cstddef>
#include <deque>
#include <vector>

#include "main_window_lists.h"
#include "schedule_model.h"

namespace quorvandel {

constexpr std::size_t MaxUndoSteps = 100;

struct ScheduleSnapshot {
    std::vector<Course> courses;  // the live ones, in order
    ScheduleOptions options;
    std::vector<Timetable> favourites;
};

ScheduleSnapshot snapshotOf(const ModuleState& state);

// Whether the two hold the same courses, sections (left-out marks too) and
// options: whether a command changed the schedule.
bool sameSchedule(const ScheduleSnapshot& a, const ScheduleSnapshot& b);

// Puts the snapshot's courses and options into the state and rebuilds the
// course list (no course selected, the section list empty). The favourites
// are the snapshot's, and those marked since that still take live
// sections: undoing an edit gives back a favourite it forgot, and forgets
// none marked after it.
void restoreSnapshot(ModuleState& state, MainWindowLists& window, const ScheduleSnapshot& snapshot);

class ScheduleHistory {
public:
    // A change named `name` has been made; `before` is the schedule before it.
    void recordChange(Text name, ScheduleSnapshot before);
    // Forgets every step ("New", "Load").
    void clear();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The name of the step Undo or Redo would take back or make again.
    Text undoName() const;
    Text redoName() const;

    // Takes one step back: `now` is the schedule as it is, kept for Redo;
    // returns the schedule to put back. Only when canUndo().
    ScheduleSnapshot undo(ScheduleSnapshot now);
    // Makes the step undone last again; only when canRedo().
    ScheduleSnapshot redo(ScheduleSnapshot now);

private:
    struct Step {
        Text name;
        ScheduleSnapshot other;  // in undo_: the schedule before; in redo_: the one after
    };
    std::deque<Step> undo_;
    std::vector<Step> redo_;
};

}  // namespace quorvandel
