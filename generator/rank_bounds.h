#pragma once
// Lower bounds on the cost (timetable_score.h) of every timetable that can
// still come out of a partial one: some courses placed (their cells are the
// day profile `placed`), the others open, each with the sections it may still
// take. The open courses are described only by a summary of their sections,
// which relaxes the problem (any section of each course, clashes ignored), so
// every bound here is admissible: no timetable below scores less.
//
// Summaries merge (OpenSummary::merge), so the summary of "every open course
// but one" is cheap for each course in turn, and the bound of placing one
// section is the bound of a placed profile one section larger.

#include <array>
#include <cstdint>

#include "small_bit_set.h"
#include "timetable_score.h"

namespace quorvandel {

// The bound of a partial timetable that cannot be completed at all.
constexpr int NoCompletion = 1 << 20;

// ---- Sections as the bounds see them ----

// A set of day sets: bit S (S = 7 day bits, Monday = bit 0) of 128 bits.
struct DaySetFamily {
    std::array<std::uint64_t, 2> words{};
    bool contains(unsigned daySet) const { return (words[daySet >> 6] >> (daySet & 63U)) & 1U; }
};

// One section as the bounds see it.
struct SectionShape {
    DayProfile cells{};        // its slots, day by day
    unsigned days = 0;         // bit d: meets on day d
    int cellCount = 0;         // its half-hours in the week
    DaySetFamily supersets{};  // every day set that contains `days`
};

SectionShape shapeOf(const DayProfile& cells);

// ---- Summaries of the open courses ----

// The parts of a summary, so that a search keeps only those its orders'
// bounds read.
enum SummaryPart : unsigned {
    DaySetPart = 1U,  // daySets
    CellPart = 2U,    // reach, starts and ends
    StartPart = 4U,   // latestStart
    EndPart = 8U,     // earliestEnd
    LoadPart = 16U,   // leastCells
    EveryPart = 31U,
};
unsigned summaryPartsOf(ResultOrder order);

// What a set of open courses can still do, each course taking any one of its
// sections. The parts left out keep their values of none().
struct OpenSummary {
    unsigned parts = EveryPart;
    DaySetFamily daySets;                                // day sets on which every course has a section
    DayProfile reach{};                                  // cells some section covers
    DayProfile starts{};                                 // cells where some section's run of classes starts
    DayProfile ends{};                                   // cells where some section's run of classes ends (its last)
    std::array<std::int8_t, DaysPerWeek> latestStart{};  // per day, the latest first slot of a section; -1 none
    std::array<std::int8_t, DaysPerWeek> earliestEnd{};  // per day, the earliest end of a section; 99 none
    // The fewest half-hours the courses cover together: each course's
    // smallest section, summed (a course alone: its smallest section).
    int leastCells = 0;

    static OpenSummary none(unsigned parts);       // no open course: the neutral element of merge
    void addSection(const SectionShape& section);  // into a course's own summary
    void merge(const OpenSummary& otherCourses);   // course sets joined
};

// The summary of one course's sections in `sections`.
OpenSummary courseSummary(const std::array<SectionShape, MaxSectionsPerCourse>& shapes, SectionSet sections,
                          unsigned parts);

// ---- Bounds: never above the cost of any completion ----

// A lower bound on `order`'s cost of any completion of `placed` where the
// open courses are summarised by `open`.
int costBound(ResultOrder order, const DayProfile& placed, const OpenSummary& open);

// costBound(order, placed with one more section, others) for many sections
// in turn. Where the bound is a sum over the days, the days a section does
// not meet keep their terms, so only its own days are looked at again.
// Holds references to placed and others: they must outlive it.
class SectionBound {
public:
    SectionBound(ResultOrder order, const DayProfile& placed, const OpenSummary& others);
    int of(const SectionShape& section) const;

private:
    // What every section's bound shares: the order, the placed cells and
    // the other open courses.
    ResultOrder order_;
    const DayProfile& placed_;
    const OpenSummary& others_;
    // The sums over the days before any section is added: per day, and in
    // all.
    std::array<int, DaysPerWeek> terms_{};
    int sum_ = 0;
    // For the latest start, each day's room for the others' half-hours.
    std::array<int, DaysPerWeek> rooms_{};
    int roomSum_ = 0;
};

}  // namespace quorvandel
