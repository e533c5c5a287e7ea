#pragma once
// The program's windows over one module state, wired as the program runs
// them: the main window hands found timetables to the results windows, and
// closing the results brings the user back to the main window. Every window
// of the program shows the program's icon.

#include <memory>

#include "main_window.h"
#include "results_windows.h"
#include "schedule_model.h"

namespace quorvandel {

class ProgramWindows {
public:
    ProgramWindows();

    // The state is declared first so that it outlives every window that
    // holds a reference to it.
    std::unique_ptr<ModuleState> state;
    frmQuorvandelMain window;
    ResultsWindows results;
};

}  // namespace quorvandel
