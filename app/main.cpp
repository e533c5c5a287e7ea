#include <QApplication>
#include <memory>

#include "main_window.h"
#include "schedule_model.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvandel"));
    auto state = std::make_unique<quorvandel::ModuleState>();
    quorvandel::frmQuorvandelMain window(*state);
    window.show();
    return QApplication::exec();
}
