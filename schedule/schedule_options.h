#pragma once
// What the user chose in "Options": the half-hours of the week they cannot
// attend, and the order in which found timetables are kept and shown. The
// default value is "no option set": no busy time and "First found", under
// which generation behaves exactly as if options did not exist.

#include <bitset>
#include <cstdint>

namespace quorvandel {

// A busy half-hour is one bit, index = week cell (day x 29 + slot). The
// module state holds the options, so this header cannot use its constants:
// schedule_model.h checks that the count is the week's.
constexpr int BusyCellCount = 7 * 29;
using BusyCells = std::bitset<BusyCellCount>;

enum class ResultOrder : std::int8_t {
    FirstFound,      // enumeration order, as the plain search meets them
    FewestDays,      // fewest days with at least one class
    FewestIdle,      // fewest free half-hours between two classes of a day
    LatestStart,     // first class of each day as late as possible, summed over the days with classes
    EarliestFinish,  // last class of each day ending as early as possible, summed likewise
};
constexpr int ResultOrderCount = 5;

struct ScheduleOptions {
    BusyCells busy;
    ResultOrder primary = ResultOrder::FirstFound;
    ResultOrder tieBreak = ResultOrder::FirstFound;  // only among timetables equal by `primary`
    // "Show timetables with the same times once": sections of one course
    // with exactly the same meetings are one choice, so every stored
    // timetable is a different arrangement of times (a cell then names each
    // of its sections: Timetable::SameTimeNumbers).
    bool sameTimesOnce = false;

    // Whether generation keeps the best timetables by a score rather than
    // the first ones found.
    bool ranked() const { return primary != ResultOrder::FirstFound; }

    friend bool operator==(const ScheduleOptions&, const ScheduleOptions&) = default;
};

}  // namespace quorvandel
