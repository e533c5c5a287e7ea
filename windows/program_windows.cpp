#include "program_windows.h"

#include <QApplication>
#include <QIcon>

namespace quorvandel {

namespace {

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) icon.addFile(QStringLiteral(":/icons/quorvandel-%1.png").arg(size));
    return icon;
}

// Before any window exists, so that each one takes the icon.
ModuleState* withProgramIcon(ModuleState* state) {
    QApplication::setWindowIcon(programIcon());
    return state;
}

}  // namespace

ProgramWindows::ProgramWindows() : state(withProgramIcon(new ModuleState)), window(*state), results(*state) {
    window.setResultsPresenter(&results);
    QObject::connect(&results, &ResultsWindows::userReturnedToMain, &window, &frmQuorvandelMain::activate);
}

}  // namespace quorvandel
