#include "program_windows.h"

namespace quorvandel {

ProgramWindows::ProgramWindows() : state(std::make_unique<ModuleState>()), window(*state), results(*state) {
    window.setResultsPresenter(&results);
    QObject::connect(&results, &ResultsWindows::userReturnedToMain, &window, &frmQuorvandelMain::activate);
}

}  // namespace quorvandel
