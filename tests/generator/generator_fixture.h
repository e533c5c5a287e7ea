#pragma once
// Helpers shared by the generator's tests: fresh states on the heap (a
// module state is large), and the comparison of the shipped generator with
// the reference enumeration on the same schedule.

#include <QString>
#include <memory>

#include "plain_enumeration.h"
#include "timetablify.h"

namespace quorvandel::testing {

inline std::unique_ptr<ModuleState> freshState() { return std::make_unique<ModuleState>(); }

inline QString text(const Text& t) { return QString::fromStdU16String(t); }

// What the reference stores for a schedule (it ends at a 27th).
struct Reference {
    std::unique_ptr<ModuleState> state = freshState();
    plain::PlainResult result;
};

inline Reference referenceFor(const CourseList& schedule) {
    Reference ref;
    static_cast<CourseList&>(*ref.state) = schedule;
    ref.result = plain::MakeTimetables(*ref.state, true);
    return ref;
}

// Empty when the generator's stored timetables and its "more than 26"
// answer equal the reference's; otherwise what differs.
inline QString differenceFrom(const Reference& ref, const ModuleState& got, const GenerationResult& result) {
    const ModuleState& want = *ref.state;
    if (got.NumTimetables != want.NumTimetables)
        return QStringLiteral("NumTimetables %1, reference %2").arg(got.NumTimetables).arg(want.NumTimetables);
    for (int k = 0; k < want.NumTimetables; ++k)
        if (!(got.Timetables[static_cast<size_t>(k)] == want.Timetables[static_cast<size_t>(k)]))
            return QStringLiteral("timetable %1 differs").arg(k);
    if (result.moreThanStored != ref.result.moreThanStored)
        return QStringLiteral("moreThanStored %1, reference %2")
            .arg(result.moreThanStored)
            .arg(ref.result.moreThanStored);
    const TimeTablifyOutcome expected =
        want.NumTimetables > 0 ? TimeTablifyOutcome::ShowResults : TimeTablifyOutcome::NoTimetables;
    if (result.outcome != expected || result.stopped) return QStringLiteral("wrong outcome");
    return {};
}

}  // namespace quorvandel::testing
