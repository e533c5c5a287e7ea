#pragma once
// frmAddCrs, "Add Course": the user types the name of a new course. The
// main window creates it at the first opening and then only hides it
// between uses; every showing starts with an empty name box holding the
// focus. A refused "Ok" (empty name, or a full store) shows its message and
// leaves the dialog open with the name as typed, so the user can correct it
// or press "Cancel".

#include "entry_dialog.h"
#include "main_window_lists.h"
#include "schedule_model.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvandel {

extern const QString EmptyCourseNameMessage;  // "You must enter a Course Name"
QString CoursesFullMessage();

class frmAddCrs : public EntryDialog {
    Q_OBJECT
public:
    frmAddCrs(ModuleState& state, MainWindowLists& mainWindow, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void cancel() override;

private:
    void activate();
    void cmdOk_Click();

    ModuleState& state_;
    MainWindowLists& mainWindow_;
    QLabel* Label1_;
    QLineEdit* txtCrsName_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
};

}  // namespace quorvandel
