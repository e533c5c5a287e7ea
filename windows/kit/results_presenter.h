#pragma once
// How the main window hands found timetables to the results viewer. The main
// window knows only this; the results frame and grid view implement it.

#include "generation_result.h"

namespace quorvandel {

class ResultsPresenter {
public:
    virtual ~ResultsPresenter() = default;
    // A generation stored at least one timetable (outcome ShowResults): open
    // the results on TimeTable 1, replacing any results still open.
    virtual void showResults(const GenerationResult& result) = 0;
    // Close any open results (a generation that found none, stopped at its
    // message, or the program ending). Does nothing when none are open.
    virtual void closeResults() = 0;
    // True while the results frame is open.
    virtual bool resultsOpen() const = 0;
    // The favourites changed outside the results ("New" forgot them): open
    // results show it.
    virtual void favouritesChanged() {}
    // The count of every timetable of the results shown has come in: the
    // note beside the counter says how many the stored ones are of it
    // ("26 of 1,204 timetables are shown"). Only ever for the open results.
    virtual void showCountNote(const Text& /*note*/) {}
};

}  // namespace quorvandel
