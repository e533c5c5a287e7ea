#pragma once
// Schedules for the generator's tests and the benchmark: hand-written ones
// built section by section, and seeded random ones. Everything is
// deterministic: the same seed gives the same schedule on every machine.

#include <cstdint>
#include <string>

#include "schedule_model.h"

namespace quorvandel::makers {

// splitmix64: small, fast, and the same everywhere (unlike std distributions).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    int below(int bound);            // 0 .. bound-1
    int between(int low, int high);  // low .. high
private:
    std::uint64_t state_;
};

// A section meeting on the days of dayBits (bit 0 = Monday) from startSlot
// to endSlot (exclusive), with its texts filled in as the dialog would.
Section section(const std::string& secNum, const std::string& courseName, int startSlot, int endSlot, unsigned dayBits);

// Appends a course with no sections; returns its index.
int addCourse(CourseList& list, const std::string& name);
// Appends a section to course `course` (its CourseName is set to the course's).
void addSection(CourseList& list, int course, int startSlot, int endSlot, unsigned dayBits);

struct SectionStyle {
    int minLength = 2, maxLength = 3;  // in half-hours
    int minDays = 1, maxDays = 3;      // distinct days per section
    int dayPool = 5;                   // days drawn from Monday .. (dayPool - 1)
    // 1 .. maxMeetings meetings per section, each further one of the same
    // length and day count ranges, sharing no half-hour with the others.
    // With 1 the random stream is the one schedules always had.
    int maxMeetings = 1;
    int minMeetings = 1;
    // When labMaxLength > 0, a section's second meeting is a lab: one day,
    // labMinLength .. labMaxLength half-hours.
    int labMinLength = 0, labMaxLength = 0;
};

// Lectures with their labs: two or three meetings a section, an hour's
// lecture on one of the seven days, a lab of two to three hours on one day,
// and half the time a third hour.
constexpr SectionStyle LectureAndLabStyle{.minLength = 2,
                                          .maxLength = 2,
                                          .minDays = 1,
                                          .maxDays = 1,
                                          .dayPool = 7,
                                          .maxMeetings = 3,
                                          .minMeetings = 2,
                                          .labMinLength = 4,
                                          .labMaxLength = 6};

// numCourses courses with minSections .. maxSections random sections each.
void randomSchedule(CourseList& list, std::uint64_t seed, int numCourses, int minSections, int maxSections,
                    const SectionStyle& style);

// The week's 21 parts (each day's 08:00-13:00, 13:00-17:30, 17:30-22:30),
// of which `blocks` are picked by the seed; every course gets `sections`
// sections, each a different one of the picked blocks. With more courses
// than blocks no timetable exists.
void blockSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections, int blocks);

// Schedules that need more room than the week they may use has, while
// every pair of sections still fits. Places: each day's first 28 slots cut
// into 7 bands of 4 slots, 49 (day, band) places in all.

// `blocks` places (at most 49) picked by the seed; every course gets
// `sections` sections, each one band on two days whose places were both
// picked. With 2 x courses > blocks (n courses on 2n - 1 blocks) no
// timetable exists.
void twoBlockSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections, int blocks);

// Every course gets `sections` sections of `length` slots at random starts,
// each on one of the first `days` days. More courses than
// days x floor(29 / length) cannot all fit.
void intervalSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections, int length, int days);

// numCourses - 1 courses of two-block sections on 2 numCourses - 1 blocks,
// and, at an index the seed picks, one course whose sections take two of
// those blocks, all but one (at an index the seed picks too), which takes a
// place no other course uses: only that section can be in a timetable.
void crowdedWeekSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections);

// The same places, but the day's 29 slots cut into 7 bands of 4 slots and
// one (picked by the seed) of 5, so blocks differ in length. Each section
// takes two picked places: one band on two days, or two neighbouring bands
// on one day. With 2 x courses > blocks no timetable exists.
void pairsSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections, int blocks);

// Gives `copy` the days and times of `from`, keeping its own number.
void copyMeetings(Section& copy, const Section& from);

// Makes many sections copies of others, as several lab sections at one hour
// or a number typed twice are: each section after a course's first takes,
// with probability `percent` / 100, the days and times of a random earlier
// section of its course (keeping its own number, so the copies stay
// distinguishable).
void copySections(CourseList& list, std::uint64_t seed, int percent);

// The number of combinations (product of the section counts).
std::int64_t combinations(const CourseList& list);

}  // namespace quorvandel::makers
