#pragma once
// frmAddSec, "Add Section": the user enters one section of the course
// selected in the main window: a section number, a start and an end time
// from hour and minute lists (8:00 to 22:30 in half-hours) and one or more
// days. The main window creates it afresh for each opening and destroys it
// when it closes. A refused "Ok" (incomplete entries, an end not after the
// start, or a full course) shows its message and leaves every entry as it
// was, so the user can correct it or press "Cancel".

#include "entry_dialog.h"
#include "main_window_lists.h"
#include "schedule_model.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvandel {

class ListBox;

extern const QString IncompleteSectionMessage;  // "Please fill in Section Number, ..."
extern const QString EndNotAfterStartMessage;   // "Your End Time must be AFTER your Start Time"
QString SectionsFullMessage();

class frmAddSec : public EntryDialog {
    Q_OBJECT
public:
    frmAddSec(ModuleState& state, const MainWindowLists& mainWindow, QWidget* parent);

protected:
    void cancel() override;

private:
    void load();
    void cmdOk_Click();

    ModuleState& state_;
    const MainWindowLists& mainWindow_;
    QLabel* lblSecNum_;
    QLineEdit* txtSecNum_;
    QLabel* lblDofWk_;
    QLabel* lblTimeStart_;
    QLabel* lblTimeEnd_;
    ListBox* lstDofWk_;
    ListBox* lstTStartH_;
    ListBox* lstTStartM_;
    ListBox* lstTEndH_;
    ListBox* lstTEndM_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
};

}  // namespace quorvandel
