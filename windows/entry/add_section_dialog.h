#pragma once
// frmAddSec, "Add Section": the user enters one section of the course
// selected in the main window: a section number, a start and an end time
// from hour and minute lists (8:00 to 22:30 in half-hours) and one or more
// days. A section that meets at other times too (a lecture with its lab)
// gets each further time by "Another Time", which lists the time shown and
// clears the days for the next; "Ok" stores the listed times with the one
// shown (or the listed ones alone while no day is picked). The main window
// creates it afresh for each opening and destroys it when it closes. A
// refused "Ok" or "Another Time" (incomplete entries, an end not after the
// start, two times sharing a half-hour, a fifth time, or a full course)
// shows its message and leaves every entry as it was, so the user can
// correct it or press "Cancel".
//
// The same dialog edits a section ("Edit Section": filled with the
// section, its earlier times listed and its last in the pickers; "Ok"
// puts it in the old one's place) and duplicates one (filled the same
// way, titled "Duplicate Section"; "Ok" adds the copy at the course's end).

#include <optional>
#include <vector>

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
QString TooManyMeetingsMessage();
// Names the two times as the time list shows them.
QString OverlappingMeetingsMessage(const QString& earlier, const QString& later);

enum class SectionDialogMode { Add, Edit, Duplicate };

class frmAddSec : public EntryDialog {
    Q_OBJECT
public:
    // Edit and Duplicate start from section `sectionIndex` of the course
    // selected in the main window.
    frmAddSec(ModuleState& state, MainWindowLists& mainWindow, QWidget* parent,
              SectionDialogMode mode = SectionDialogMode::Add, int16_t sectionIndex = -1);

protected:
    void cancel() override;

private:
    void load();
    void fillFrom(const Section& section);
    void cmdOk_Click();
    void cmdAnotherTime_Click();
    void cmdRemoveTime_Click();
    std::optional<Meeting> pickedMeeting();
    bool noDayPicked() const;
    bool acceptsMeetings(const std::vector<Meeting>& meetings);
    void showTimeButtons();

    ModuleState& state_;
    MainWindowLists& mainWindow_;
    SectionDialogMode mode_;
    int16_t sectionIndex_;
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
    QPushButton* cmdAnotherTime_;
    QPushButton* cmdRemoveTime_;
    QLabel* lblTimes_;
    ListBox* lstTimes_;
    std::vector<Meeting> listed_;  // the times "Another Time" added, as lstTimes_ shows them
};

}  // namespace quorvandel
