#include "add_section_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "editing.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "list_box.h"
#include "main_window_lists.h"
#include "message_box.h"
#include "record_rules.h"
#include "week.h"

namespace quorvandel {

const QString IncompleteSectionMessage =
    QStringLiteral("Please fill in Section Number, Time Start, Time End and at least one Day of the Week");
const QString EndNotAfterStartMessage = QStringLiteral("Your End Time must be AFTER your Start Time");

QString SectionsFullMessage() {
    return QStringLiteral("A course holds at most %1 sections. Remove a section of this course before adding another.")
        .arg(MaxSectionsPerCourse);
}

QString TooManyMeetingsMessage() {
    return QStringLiteral("A section meets at most %1 times. Remove a time before adding another.")
        .arg(MaxMeetingsPerSection);
}

QString OverlappingMeetingsMessage(const QString& earlier, const QString& later) {
    return QStringLiteral(
               "The times %1 and %2 share a half-hour. A section cannot meet twice at once: change one of "
               "them.")
        .arg(earlier, later);
}

namespace {

// The hour lists: "8" .. "22"; the minute lists: "00", "30".
QStringList hourTexts() {
    QStringList texts;
    for (int hour = FirstHour; hour <= LastHour; ++hour) texts.append(QString::number(hour));
    return texts;
}
const QStringList MinuteTexts = {QStringLiteral("00"), QStringLiteral("30")};

// Every list of the dialog shows all its lines at once: it never scrolls.
ListBox* makeList(QWidget* parent, const QString& objectName, const QStringList& lines, const QRect& geometry) {
    ListBox* list = makeListBox(parent, objectName, lines, geometry);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

// The slot of the time picked in an hour list and a minute list, by the
// lines' positions: hour line 0 is 8 o'clock, minute line 1 is half past.
int16_t slotOfPickedTime(int hourLine, int minuteLine) {
    return slotOf(FirstHour + hourLine, minuteLine * MinutesPerSlot);
}

}  // namespace

frmAddSec::frmAddSec(ModuleState& state, MainWindowLists& mainWindow, QWidget* parent, SectionDialogMode mode,
                     int16_t sectionIndex)
    : EntryDialog(parent), state_(state), mainWindow_(mainWindow), mode_(mode), sectionIndex_(sectionIndex) {
    const QString title = mode == SectionDialogMode::Edit        ? QStringLiteral("Edit Section")
                          : mode == SectionDialogMode::Duplicate ? QStringLiteral("Duplicate Section")
                                                                 : QStringLiteral("Add Section");
    // Taller than designed by the band of further times below the lists.
    setUpEntryWindow(QStringLiteral("frmAddSec"), title, twipsRect(4980, 1035, 4650, 5580));

    lblSecNum_ = makeLabel(this, QStringLiteral("lblSecNum"), QStringLiteral("&Section Number"),
                           Qt::AlignRight | Qt::AlignTop, twipsRect(360, 120, 1455, 255));
    txtSecNum_ = makeTextBox(this, QStringLiteral("txtSecNum"), twipsRect(2040, 120, 1695, 285));
    lblDofWk_ = makeLabel(this, QStringLiteral("lblDofWk"), QStringLiteral("&Days of Week"),
                          Qt::AlignHCenter | Qt::AlignTop, twipsRect(480, 600, 1335, 255));
    lblTimeStart_ = makeLabel(this, QStringLiteral("lblTimeStart"), QStringLiteral("&Time Start"),
                              Qt::AlignHCenter | Qt::AlignTop, twipsRect(2040, 600, 1335, 255));
    lblTimeEnd_ = makeLabel(this, QStringLiteral("lblTimeEnd"), QStringLiteral("Time &End"),
                            Qt::AlignHCenter | Qt::AlignTop, twipsRect(3360, 600, 1335, 255));

    lstDofWk_ = makeList(this, QStringLiteral("lstDofWk"), qTexts(DayNames), twipsRect(240, 960, 1695, 1425));
    lstDofWk_->setSelectionMode(QAbstractItemView::MultiSelection);
    lstTStartH_ = makeList(this, QStringLiteral("lstTStartH"), hourTexts(), twipsRect(2280, 960, 375, 2985));
    lstTStartM_ = makeList(this, QStringLiteral("lstTStartM"), MinuteTexts, twipsRect(2760, 960, 375, 450));
    lstTEndH_ = makeList(this, QStringLiteral("lstTEndH"), hourTexts(), twipsRect(3600, 960, 375, 2985));
    lstTEndM_ = makeList(this, QStringLiteral("lstTEndM"), MinuteTexts, twipsRect(4080, 960, 375, 450));

    cmdOk_ = makeButton(this, QStringLiteral("cmdOk"), QStringLiteral("&Ok"), twipsRect(240, 2520, 1575, 615));
    cmdCancel_ =
        makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), twipsRect(240, 3360, 1575, 615));
    cmdAnotherTime_ = makeButton(this, QStringLiteral("cmdAnotherTime"), QStringLiteral("&Another Time"),
                                 twipsRect(240, 4200, 1575, 495));
    cmdRemoveTime_ = makeButton(this, QStringLiteral("cmdRemoveTime"), QStringLiteral("&Remove Time"),
                                twipsRect(240, 4860, 1575, 495));
    lblTimes_ = makeLabel(this, QStringLiteral("lblTimes"), QStringLiteral("Added T&imes"),
                          Qt::AlignLeft | Qt::AlignTop, twipsRect(2040, 4050, 2415, 255));
    lstTimes_ = makeList(this, QStringLiteral("lstTimes"), {}, twipsRect(2040, 4305, 2415, 1050));

    // What a screen reader says for each entry: the label above or beside
    // it; one label stands over both lists of a time.
    const QString timeStart = withoutMnemonic(lblTimeStart_->text());
    const QString timeEnd = withoutMnemonic(lblTimeEnd_->text());
    txtSecNum_->setAccessibleName(withoutMnemonic(lblSecNum_->text()));
    lstDofWk_->setAccessibleName(withoutMnemonic(lblDofWk_->text()));
    lstTStartH_->setAccessibleName(timeStart + QStringLiteral(" hour"));
    lstTStartM_->setAccessibleName(timeStart + QStringLiteral(" minute"));
    lstTEndH_->setAccessibleName(timeEnd + QStringLiteral(" hour"));
    lstTEndM_->setAccessibleName(timeEnd + QStringLiteral(" minute"));
    lblSecNum_->setBuddy(txtSecNum_);
    lblDofWk_->setBuddy(lstDofWk_);
    lblTimeStart_->setBuddy(lstTStartH_);
    lblTimeEnd_->setBuddy(lstTEndH_);
    lstTimes_->setAccessibleName(withoutMnemonic(lblTimes_->text()));
    lblTimes_->setBuddy(lstTimes_);

    connect(cmdOk_, &QPushButton::clicked, this, &frmAddSec::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmAddSec::cancel);
    connect(cmdAnotherTime_, &QPushButton::clicked, this, &frmAddSec::cmdAnotherTime_Click);
    connect(cmdRemoveTime_, &QPushButton::clicked, this, &frmAddSec::cmdRemoveTime_Click);
    connect(lstTimes_, &QListWidget::itemSelectionChanged, this, &frmAddSec::showTimeButtons);
    // Delete in the time list presses "Remove Time".
    connect(new QShortcut(QKeySequence(Qt::Key_Delete), lstTimes_, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, cmdRemoveTime_, &QPushButton::click);

    load();
}

void frmAddSec::load() {
    // Focus order: section number, "Ok", "Cancel", days, start hour, start
    // minute, end hour, end minute.
    setTabOrder(txtSecNum_, cmdOk_);
    setTabOrder(cmdOk_, cmdCancel_);
    setTabOrder(cmdCancel_, lstDofWk_);
    setTabOrder(lstDofWk_, lstTStartH_);
    setTabOrder(lstTStartH_, lstTStartM_);
    setTabOrder(lstTStartM_, lstTEndH_);
    setTabOrder(lstTEndH_, lstTEndM_);
    setTabOrder(lstTEndM_, cmdAnotherTime_);
    setTabOrder(cmdAnotherTime_, lstTimes_);
    setTabOrder(lstTimes_, cmdRemoveTime_);
    showTimeButtons();
    lstTStartM_->setCurrentRow(0);
    lstTEndM_->setCurrentRow(0);
    const int16_t course = mainWindow_.selectedCourseIndex();
    if (mode_ != SectionDialogMode::Add && course >= 0 && course < state_.NumCourses && sectionIndex_ >= 0 &&
        sectionIndex_ < state_.Courses[static_cast<size_t>(course)].NumSections)
        fillFrom(state_.Courses[static_cast<size_t>(course)].Sections[static_cast<size_t>(sectionIndex_)]);
    txtSecNum_->setFocus(Qt::OtherFocusReason);
}

// The entries as "Another Time" and the pickers would have made the
// section: every time but the last listed, the last one picked.
void frmAddSec::fillFrom(const Section& section) {
    txtSecNum_->setText(qText(section.SecNum));
    std::vector<Meeting> meetings = meetingsOf(section);
    const Meeting last = meetings.back();
    meetings.pop_back();
    for (const Meeting& meeting : meetings) lstTimes_->appendLine(qText(MeetingLine(meeting, mainWindow_)));
    listed_ = std::move(meetings);
    const auto pick = [](ListBox* hours, ListBox* minutes, int slot) {
        hours->setCurrentRow(hourOfSlot(slot) - FirstHour, QItemSelectionModel::ClearAndSelect);
        minutes->setCurrentRow(minuteOfSlot(slot) / MinutesPerSlot, QItemSelectionModel::ClearAndSelect);
    };
    pick(lstTStartH_, lstTStartM_, last.StartSlot);
    pick(lstTEndH_, lstTEndM_, last.EndSlot);
    for (int d = 0; d < DaysPerWeek; ++d)
        if (last.Days[static_cast<size_t>(d)]) lstDofWk_->item(d)->setSelected(true);
    txtSecNum_->selectAll();
    showTimeButtons();
}

void frmAddSec::cmdOk_Click() {
    const QString secNum = txtSecNum_->text();
    if (secNum.isEmpty()) {
        ShowMessage(this, IncompleteSectionMessage);
        return;
    }
    // With times listed, pickers without a day add nothing: the listed
    // times are the section's.
    std::vector<Meeting> meetings = listed_;
    if (meetings.empty() || !noDayPicked()) {
        const std::optional<Meeting> picked = pickedMeeting();
        if (!picked) return;
        meetings.push_back(*picked);
    }
    if (!acceptsMeetings(meetings)) return;

    Section section;
    section.SecNum = secNum.toStdU16String();
    setMeetings(section, meetings);
    const int16_t course = mainWindow_.selectedCourseIndex();
    section.CourseName = mainWindow_.courseLine(course);
    if (mode_ == SectionDialogMode::Edit) {
        ReplaceSection(state_, mainWindow_, course, sectionIndex_, section);
        accept();
        return;
    }
    const StoreResult stored = AddSection(state_, course, section);
    // The main window opens the dialog only while a course is selected, and
    // no selection can change under a modal dialog. Should that ever break,
    // a release build stores nothing and keeps the dialog open, claiming
    // nothing about a course that is not there.
    Q_ASSERT_X(stored != StoreResult::NoSuchCourse, "frmAddSec", "no course is selected in the main window");
    if (stored == StoreResult::Full) ShowMessage(this, SectionsFullMessage());
    if (stored == StoreResult::Stored) accept();
}

void frmAddSec::cmdAnotherTime_Click() {
    if (listed_.size() >= static_cast<size_t>(MaxMeetingsPerSection)) {
        ShowMessage(this, TooManyMeetingsMessage());
        return;
    }
    const std::optional<Meeting> picked = pickedMeeting();
    if (!picked) return;
    std::vector<Meeting> meetings = listed_;
    meetings.push_back(*picked);
    if (!acceptsMeetings(meetings)) return;
    listed_ = std::move(meetings);
    lstTimes_->appendLine(qText(MeetingLine(listed_.back(), mainWindow_)));
    lstDofWk_->clearSelection();
    showTimeButtons();
}

void frmAddSec::cmdRemoveTime_Click() {
    const int line = lstTimes_->selectedIndex();
    if (line < 0 || line >= static_cast<int>(listed_.size())) return;
    listed_.erase(listed_.begin() + line);
    lstTimes_->removeLine(line);
    showTimeButtons();
}

// The time the pickers show, or nothing after showing why they do not make
// one, with the messages of "Ok".
std::optional<Meeting> frmAddSec::pickedMeeting() {
    const int startH = lstTStartH_->selectedIndex();
    const int startM = lstTStartM_->selectedIndex();
    const int endH = lstTEndH_->selectedIndex();
    const int endM = lstTEndM_->selectedIndex();
    if (noDayPicked() || startH < 0 || startM < 0 || endH < 0 || endM < 0) {
        ShowMessage(this, IncompleteSectionMessage);
        return std::nullopt;
    }
    unsigned dayBits = 0;
    for (int d = 0; d < DaysPerWeek; ++d)
        if (lstDofWk_->isLineSelected(d)) dayBits |= 1U << d;
    // The lists' own texts joined by a colon, as the week encoding writes them.
    const Meeting meeting = meetingOf(slotOfPickedTime(startH, startM), slotOfPickedTime(endH, endM), dayBits);
    if (!(meeting.StartSlot < meeting.EndSlot)) {
        ShowMessage(this, EndNotAfterStartMessage);
        return std::nullopt;
    }
    return meeting;
}

bool frmAddSec::noDayPicked() const {
    for (int d = 0; d < DaysPerWeek; ++d)
        if (lstDofWk_->isLineSelected(d)) return false;
    return true;
}

// Whether the times may be one section's; shows why not.
bool frmAddSec::acceptsMeetings(const std::vector<Meeting>& meetings) {
    if (meetings.size() > static_cast<size_t>(MaxMeetingsPerSection)) {
        ShowMessage(this, TooManyMeetingsMessage());
        return false;
    }
    if (const auto overlap = firstOverlappingMeetings(meetings)) {
        ShowMessage(this, OverlappingMeetingsMessage(
                              qText(MeetingLine(meetings[static_cast<size_t>(overlap->first)], mainWindow_)),
                              qText(MeetingLine(meetings[static_cast<size_t>(overlap->second)], mainWindow_))));
        return false;
    }
    return true;
}

void frmAddSec::showTimeButtons() {
    cmdAnotherTime_->setEnabled(listed_.size() < static_cast<size_t>(MaxMeetingsPerSection));
    cmdRemoveTime_->setEnabled(lstTimes_->selectedIndex() != -1);
}

void frmAddSec::cancel() { reject(); }

}  // namespace quorvandel
