#pragma once
// frmAddCrs, "Add Course": the user types the name of a new course. The
// main window creates it at the first opening and then only hides it
// between uses; every showing starts with an empty name box holding the
// focus. A refused "Ok" (empty name, or a full store) shows its message and
// leaves the dialog open with the name as typed, so the user can correct it
// or press "Cancel".
//
// The same dialog renames a course ("Rename Course"): it shows the name to
// change, and "Ok" renames the course in place.

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

    // What the next showing does: add a course (-1) or rename course
    // `courseIndex`.
    void setRenaming(int16_t courseIndex);

protected:
    void showEvent(QShowEvent* event) override;
    void cancel() override;

private:
    void activate();
    void cmdOk_Click();

    ModuleState& state_;
    MainWindowLists& mainWindow_;
    int16_t renaming_ = -1;
    QLabel* Label1_;
    QLineEdit* txtCrsName_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
};

}  // namespace quorvandel
