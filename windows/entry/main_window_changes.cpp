// The main window's commands that change what is already typed: edit,
// duplicate, rename, leave out, and Undo and Redo of every change, with
// their keys, double-clicks and context menus (main_window.h).
#include <QContextMenuEvent>
#include <QPushButton>
#include <QShortcut>

#include "add_course_dialog.h"
#include "add_section_dialog.h"
#include "command_turn.h"
#include "editing.h"
#include "favourites.h"
#include "form_controls.h"
#include "list_box.h"
#include "main_window.h"
#include "section_list_menu.h"

namespace quorvandel {

namespace {

// A key that acts only while `list` has the focus.
void onListKey(ListBox* list, const QKeySequence& key, QObject* receiver, const std::function<void()>& run) {
    auto* shortcut = new QShortcut(key, list, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, receiver, run);
}

}  // namespace

void frmQuorvandelMain::createChangeCommands() {
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2}) {
        onListKey(lstCourses_, QKeySequence(key), this, [this] { renameCourse(); });
        onListKey(lstSecs_, QKeySequence(key), this, [this] { editSection(); });
    }
    onListKey(lstSecs_, QKeySequence(Qt::CTRL | Qt::Key_D), this, [this] { duplicateSection(); });
    onListKey(lstSecs_, QKeySequence(Qt::Key_Space), this, [this] { toggleLeftOut(); });
    connect(lstCourses_, &QListWidget::itemDoubleClicked, this, [this] { renameCourse(); });
    connect(lstSecs_, &QListWidget::itemDoubleClicked, this, [this] { editSection(); });

    const std::pair<QKeySequence, void (frmQuorvandelMain::*)()> historyKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Z), &frmQuorvandelMain::undo},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &frmQuorvandelMain::redo},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), &frmQuorvandelMain::redo}};
    for (const auto& [key, command] : historyKeys)
        connect(new QShortcut(key, this), &QShortcut::activated, this, command);

    connect(lstCourses_, &ListBox::menuRequested, this, &frmQuorvandelMain::showCourseMenu);
    connect(lstSecs_, &ListBox::menuRequested, this, &frmQuorvandelMain::showSectionMenu);
}

// ---- Context menus ----

namespace {

// The line the menu is for (the one under the pointer, or the selected one
// from the keyboard) is selected first, as a click would.
bool selectLineFor(ListBox* list, int line) {
    if (line < 0) return false;
    if (line != list->selectedIndex()) list->selectLine(line);
    return true;
}

std::vector<ListMenuCommand> historyCommands(const Text& undoName, const Text& redoName,
                                             const std::function<void()>& undo, const std::function<void()>& redo) {
    return {{},
            {undoName.empty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + qText(undoName), !undoName.empty(),
             undo, QKeySequence(Qt::CTRL | Qt::Key_Z)},
            {redoName.empty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + qText(redoName), !redoName.empty(),
             redo, QKeySequence(Qt::CTRL | Qt::Key_Y)}};
}

}  // namespace

void frmQuorvandelMain::showCourseMenu(int line, const QPoint& at) {
    if (!CommandTurn::available()) return;
    const bool onLine = selectLineFor(lstCourses_, line);
    if (onLine) lstCourses_Click();
    std::vector<ListMenuCommand> commands = {
        {QStringLiteral("Rename Course..."), onLine, [this] { renameCourse(); }, QKeySequence(Qt::Key_F2)},
        {QStringLiteral("Remove Course"), cmdRemCourse_->isEnabled(), [this] { cmdRemCourse_->click(); },
         QKeySequence(Qt::Key_Delete)},
        {QStringLiteral("Add Course..."), cmdAddCrs_->isEnabled(), [this] { cmdAddCrs_->click(); },
         QKeySequence(Qt::CTRL | Qt::Key_Insert)}};
    for (ListMenuCommand& c : historyCommands(
             history_.undoName(), history_.redoName(), [this] { undo(); }, [this] { redo(); }))
        commands.push_back(std::move(c));
    showListMenu(lstCourses_, at, commands);
}

void frmQuorvandelMain::showSectionMenu(int line, const QPoint& at) {
    if (!CommandTurn::available()) return;
    const bool onLine = selectLineFor(lstSecs_, line);
    if (onLine) lstSecs_Click();
    const int16_t course = selectedCourseIndex();
    const auto selected = static_cast<int16_t>(lstSecs_->selectedIndex());
    const bool leftOut = onLine && course >= 0 && course < state_.NumCourses && selected >= 0 &&
                         state_.Courses[static_cast<size_t>(course)].Sections[static_cast<size_t>(selected)].LeftOut;
    std::vector<ListMenuCommand> commands = {
        {QStringLiteral("Edit Section..."), onLine, [this] { editSection(); }, QKeySequence(Qt::Key_F2)},
        {QStringLiteral("Duplicate Section..."), onLine && duplicateAllowed(), [this] { duplicateSection(); },
         QKeySequence(Qt::CTRL | Qt::Key_D)},
        {QStringLiteral("Remove Section"), onLine && cmdRemSec_->isEnabled(), [this] { cmdRemSec_->click(); },
         QKeySequence(Qt::Key_Delete)},
        {},
        {QStringLiteral("Leave Out"), onLine, [this] { toggleLeftOut(); }, QKeySequence(Qt::Key_Space), leftOut, true},
        {QStringLiteral("Take Only This Section"), onLine, [this] { takeOnlyThisSection(); }, {}},
        {QStringLiteral("Take Every Section"), course >= 0, [this] { takeEverySection(); }, {}}};
    for (ListMenuCommand& c : historyCommands(
             history_.undoName(), history_.redoName(), [this] { undo(); }, [this] { redo(); }))
        commands.push_back(std::move(c));
    showListMenu(lstSecs_, at, commands);
}

// ---- Commands ----

Text frmQuorvandelMain::sectionName(int16_t course, int16_t section) const {
    if (course < 0 || course >= state_.NumCourses) return {};
    const Course& c = state_.Courses[static_cast<size_t>(course)];
    if (section < 0 || section >= c.NumSections) return c.CourseName;
    return c.CourseName + u" - " + c.Sections[static_cast<size_t>(section)].SecNum;
}

Text frmQuorvandelMain::selectedSectionName() const {
    return sectionName(selectedCourseIndex(), static_cast<int16_t>(lstSecs_->selectedIndex()));
}

bool frmQuorvandelMain::duplicateAllowed() const {
    const int16_t course = selectedCourseIndex();
    return course >= 0 && course < state_.NumCourses &&
           state_.Courses[static_cast<size_t>(course)].NumSections < MaxSectionsPerCourse;
}

void frmQuorvandelMain::renameCourse() {
    const CommandTurn turn;
    const int16_t course = selectedCourseIndex();
    if (!turn || course < 0 || course >= state_.NumCourses) return;
    if (addCourseDialog_ == nullptr) addCourseDialog_ = new frmAddCrs(state_, *this, this);
    ScheduleSnapshot before = snapshotOf(state_);
    const Text name = state_.Courses[static_cast<size_t>(course)].CourseName;
    addCourseDialog_->setRenaming(course);
    addCourseDialog_->exec();
    addCourseDialog_->setRenaming(-1);
    noteChange(u"Rename Course " + name, std::move(before));
    if (presenter_) presenter_->favouritesChanged();  // favourites follow the new name
    activate();
}

void frmQuorvandelMain::editSection() {
    const CommandTurn turn;
    const auto line = static_cast<int16_t>(lstSecs_->selectedIndex());
    if (!turn || line < 0) return;
    ScheduleSnapshot before = snapshotOf(state_);
    const Text name = u"Edit Section " + selectedSectionName();
    {
        frmAddSec dialog(state_, *this, this, SectionDialogMode::Edit, line);
        dialog.exec();
    }
    noteChange(name, std::move(before));
    if (presenter_) presenter_->favouritesChanged();  // a favourite holding the old section is gone
    activate();
    // The line edited stays selected, so it can be changed again at once.
    if (line < lstSecs_->lineCount()) {
        lstSecs_->selectLine(line);
        lstSecs_Click();
    }
}

void frmQuorvandelMain::duplicateSection() {
    const CommandTurn turn;
    const auto line = static_cast<int16_t>(lstSecs_->selectedIndex());
    if (!turn || line < 0 || !duplicateAllowed()) return;
    ScheduleSnapshot before = snapshotOf(state_);
    const Text name = u"Duplicate Section " + selectedSectionName();
    {
        frmAddSec dialog(state_, *this, this, SectionDialogMode::Duplicate, line);
        dialog.exec();
    }
    noteChange(name, std::move(before));
    activate();
}

void frmQuorvandelMain::toggleLeftOut() {
    const CommandTurn turn;
    const int16_t course = selectedCourseIndex();
    const auto line = static_cast<int16_t>(lstSecs_->selectedIndex());
    if (!turn || course < 0 || course >= state_.NumCourses || line < 0) return;
    ScheduleSnapshot before = snapshotOf(state_);
    const bool leftOut = !state_.Courses[static_cast<size_t>(course)].Sections[static_cast<size_t>(line)].LeftOut;
    SetSectionLeftOut(state_, *this, course, line, leftOut);
    noteChange((leftOut ? u"Leave Out " : u"Take Back ") + sectionName(course, line), std::move(before));
}

void frmQuorvandelMain::takeOnlyThisSection() {
    const CommandTurn turn;
    const int16_t course = selectedCourseIndex();
    const auto line = static_cast<int16_t>(lstSecs_->selectedIndex());
    if (!turn || course < 0 || course >= state_.NumCourses || line < 0) return;
    ScheduleSnapshot before = snapshotOf(state_);
    TakeOnlySection(state_, *this, course, line);
    noteChange(u"Take Only " + sectionName(course, line), std::move(before));
}

void frmQuorvandelMain::takeEverySection() {
    const CommandTurn turn;
    const int16_t course = selectedCourseIndex();
    if (!turn || course < 0 || course >= state_.NumCourses) return;
    ScheduleSnapshot before = snapshotOf(state_);
    TakeEverySection(state_, *this, course);
    noteChange(u"Take Every Section " + state_.Courses[static_cast<size_t>(course)].CourseName, std::move(before));
}

void frmQuorvandelMain::takeOnlySection(int16_t course, const Section& section) {
    const CommandTurn turn;
    if (!turn || course < 0 || course >= state_.NumCourses) return;
    const Course& c = state_.Courses[static_cast<size_t>(course)];
    for (int16_t s = 0; s < c.NumSections; ++s) {
        if (!sameSectionEntry(c.Sections[static_cast<size_t>(s)], section)) continue;
        ScheduleSnapshot before = snapshotOf(state_);
        TakeOnlySection(state_, *this, course, s);
        noteChange(u"Take Only " + sectionName(course, s), std::move(before));
        return;
    }
}

void frmQuorvandelMain::noteChange(const Text& name, ScheduleSnapshot before) {
    if (!sameSchedule(before, snapshotOf(state_))) history_.recordChange(name, std::move(before));
    keeper_.refreshTitle();
}

void frmQuorvandelMain::undo() {
    const CommandTurn turn;
    if (!turn || !history_.canUndo()) return;
    const int16_t selected = selectedCourseIndex();
    restoreSnapshot(state_, *this, history_.undo(snapshotOf(state_)));
    showRestored(selected);
}

void frmQuorvandelMain::redo() {
    const CommandTurn turn;
    if (!turn || !history_.canRedo()) return;
    const int16_t selected = selectedCourseIndex();
    restoreSnapshot(state_, *this, history_.redo(snapshotOf(state_)));
    showRestored(selected);
}

void frmQuorvandelMain::showRestored(int16_t selectedCourse) {
    const bool stillThere = selectedCourse >= 0 && selectedCourse < state_.NumCourses;
    if (stillThere) lstCourses_->selectLine(selectedCourse);
    cmdRemCourse_->setEnabled(stillThere);
    cmdRemSec_->setEnabled(false);
    ShowSections(state_, *this);
    if (state_.NumCourses == 0)
        cmdMakeTime_->setEnabled(false);
    else if (state_.Courses[0].NumSections > 0)
        cmdMakeTime_->setEnabled(true);
    if (presenter_) presenter_->favouritesChanged();
    keeper_.refreshTitle();
    showCapacityLimits();
}

}  // namespace quorvandel
