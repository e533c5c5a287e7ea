#include "add_section_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editing.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "list_box.h"
#include "main_window_lists.h"
#include "message_box.h"
#include "week.h"

namespace quorvandel {

const QString IncompleteSectionMessage =
    QStringLiteral("Please fill in Section Number, Time Start, Time End and at least one Day of the Week");
const QString EndNotAfterStartMessage = QStringLiteral("Your End Time must be AFTER your Start Time");

QString SectionsFullMessage() {
    return QStringLiteral("A course holds at most %1 sections. Remove a section of this course before adding another.")
        .arg(MaxSectionsPerCourse);
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

frmAddSec::frmAddSec(ModuleState& state, const MainWindowLists& mainWindow, QWidget* parent)
    : EntryDialog(parent), state_(state), mainWindow_(mainWindow) {
    setUpEntryWindow(QStringLiteral("frmAddSec"), QStringLiteral("Add Section"), twipsRect(4980, 1035, 4650, 4110));

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

    connect(cmdOk_, &QPushButton::clicked, this, &frmAddSec::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmAddSec::cancel);

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
    lstTStartM_->setCurrentRow(0);
    lstTEndM_->setCurrentRow(0);
    txtSecNum_->setFocus(Qt::OtherFocusReason);
}

void frmAddSec::cmdOk_Click() {
    const QString secNum = txtSecNum_->text();
    const int startH = lstTStartH_->selectedIndex();
    const int startM = lstTStartM_->selectedIndex();
    const int endH = lstTEndH_->selectedIndex();
    const int endM = lstTEndM_->selectedIndex();
    bool anyDay = false;
    for (int d = 0; d < DaysPerWeek; ++d) anyDay = anyDay || lstDofWk_->isLineSelected(d);
    if (secNum.isEmpty() || !anyDay || startH < 0 || startM < 0 || endH < 0 || endM < 0) {
        ShowMessage(this, IncompleteSectionMessage);
        return;
    }

    Section section;
    section.SecNum = secNum.toStdU16String();
    section.StartSlot = slotOfPickedTime(startH, startM);
    section.EndSlot = slotOfPickedTime(endH, endM);
    // The lists' own texts joined by a colon, as the week encoding writes them.
    section.StartTime = timeText(section.StartSlot);
    section.EndTime = timeText(section.EndSlot);
    for (int d = 0; d < DaysPerWeek; ++d) section.Days[static_cast<size_t>(d)] = lstDofWk_->isLineSelected(d);
    const int16_t course = mainWindow_.selectedCourseIndex();
    section.CourseName = mainWindow_.courseLine(course);

    if (!(section.StartSlot < section.EndSlot)) {
        ShowMessage(this, EndNotAfterStartMessage);
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

void frmAddSec::cancel() { reject(); }

}  // namespace quorvandel
