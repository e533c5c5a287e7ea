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

}  // namespace

ProgramWindows::ProgramWindows() : state(std::make_unique<ModuleState>()), window(*state), results(*state) {
    // A window with no icon of its own shows the application's, including
    // the ones made later.
    QApplication::setWindowIcon(programIcon());
    window.setResultsPresenter(&results);
    QObject::connect(&results, &ResultsWindows::userReturnedToMain, &window, &frmQuorvandelMain::activate);
    // Favourites are part of the schedule: marking one is an unsaved change.
    QObject::connect(&results, &ResultsWindows::favouritesEdited, &window,
                     [this] { window.scheduleKeeper().refreshTitle(); });
    QObject::connect(&results, &ResultsWindows::takeOnlySectionRequested, &window, &frmQuorvandelMain::takeOnlySection);
}

}  // namespace quorvandel
