#pragma once

#include <QMainWindow>

#include "schedule_model.h"

namespace quorvandel {

// Placeholder main window until the entry windows land.
class frmQuorvandelMain : public QWidget {
    Q_OBJECT
public:
    explicit frmQuorvandelMain(ModuleState& state, QWidget* parent = nullptr);

private:
    ModuleState& state_;
};

}  // namespace quorvandel
