#include "main_window.h"

namespace quorvandel {

frmQuorvandelMain::frmQuorvandelMain(ModuleState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setWindowTitle(QStringLiteral("Quorvandel Main"));
    setFixedSize(6390 / 15, 6000 / 15);
}

}  // namespace quorvandel
