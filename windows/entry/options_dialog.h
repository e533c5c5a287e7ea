#pragma once
// frmOptions, "Options": the busy times (a week grid, busy_times_grid.h) and
// the order of the results (two lists: the order, then what breaks its
// ties), and whether sections with the same times count once. Modal over the main window. It works on a copy: "OK" writes the
// options into the module state, "Cancel" (and Esc, and the frame's close
// button) leaves the state exactly as it was. "Clear" frees every half-hour.

#include <QDialog>

#include "schedule_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace quorvandel {

class BusyTimesGrid;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    frmOptions(ModuleState& state, QWidget* parent);

private:
    void cmdOk_Click();
    void cboOrder_Change();

    ModuleState& state_;
    QLabel* lblBusy_;
    BusyTimesGrid* grdBusy_;
    QPushButton* cmdClear_;
    QLabel* lblOrder_;
    QComboBox* cboOrder_;
    QLabel* lblThenBy_;
    QComboBox* cboThenBy_;
    QCheckBox* chkSameTimesOnce_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
};

}  // namespace quorvandel
