#include <QApplication>
#include <memory>

#include "main_window.h"
#include "results_windows.h"
#include "schedule_model.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvandel"));
    // The module state outlives every window that holds a reference to it.
    auto state = std::make_unique<quorvandel::ModuleState>();
    quorvandel::frmQuorvandelMain window(*state);
    quorvandel::ResultsWindows results(*state);
    window.setResultsPresenter(&results);
    QObject::connect(&results, &quorvandel::ResultsWindows::userReturnedToMain, &window,
                     &quorvandel::frmQuorvandelMain::activate);
    window.show();
    return QApplication::exec();
}
