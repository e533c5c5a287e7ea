#include "main_window.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QShowEvent>
#include <QWindow>
#include <functional>

#include "add_course_dialog.h"
#include "add_section_dialog.h"
#include "command_turn.h"
#include "editing.h"
#include "favourites.h"
#include "file_chooser.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "get_sections_dialog.h"
#include "help_window.h"
#include "list_box.h"
#include "logo.h"
#include "message_box.h"
#include "options_dialog.h"
#include "schedule_document.h"
#include "window_placement.h"

namespace quorvandel {

const QString NoSectionSelectedMessage = QStringLiteral("You have not selected a section to remove");

namespace {

// A screen reader is told that the main window is a window (Qt would call a
// plain top-level widget a filler).
QAccessibleInterface* accessibleMainWindow(const QString& className, QObject* object) {
    if (className == QLatin1String(frmQuorvandelMain::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

frmQuorvandelMain::frmQuorvandelMain(ModuleState& state, QWidget* parent)
    : QWidget(parent), state_(state), keeper_(state, this) {
    static const bool accessibleAsWindow = (QAccessible::installFactory(accessibleMainWindow), true);
    (void)accessibleAsWindow;
    setUpFixedWindow(this, QStringLiteral("frmQuorvandelMain"), MainWindowCaption, MainWindowDesignedArea);
    setFont(formFont());
    createControls();
    // Resizable from the designed size up, where the lists grow.
    setMinimumSize(size());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    load();
    keeper_.refreshTitle();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmQuorvandelMain::noteFocusWindow);
    connect(&count_, &BackgroundCount::counted, this, [this](const QString& note) {
        if (presenter_ && presenter_->resultsOpen()) presenter_->showCountNote(note.toStdU16String());
    });
}

frmQuorvandelMain::~frmQuorvandelMain() = default;

void frmQuorvandelMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
}

void frmQuorvandelMain::layoutControls() {
    const int extraWidth = width() - minimumWidth();
    const int extraHeight = height() - minimumHeight();
    const auto halves = [extraWidth](int n) { return n * extraWidth / 2; };
    for (const Anchored& a : anchored_) {
        QRect place = a.designed;
        place.translate(halves(a.moveX), a.moveY ? extraHeight : 0);
        place.setWidth(place.width() + halves(a.moveX + a.growX) - halves(a.moveX));
        place.setHeight(place.height() + (a.growY ? extraHeight : 0));
        a.control->setGeometry(place);
    }
}

void frmQuorvandelMain::createControls() {
    // The day table: seven fixed lines read by the section lines, kept out
    // of sight (it would sit at the window's left edge, under the logo).
    lstDofW_ = makeListBox(this, QStringLiteral("lstDofW"), qTexts(DayAbbreviations), twipsRect(-120, 120, 495, 1035));
    lstDofW_->setAccessibleName(QStringLiteral("Day abbreviations"));
    lstDofW_->hide();

    // A sunken box 2 px deep around the 355 x 67 logo.
    Picture1_ = new QLabel(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1_->setLineWidth(2);
    Picture1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1_->setPixmap(DrawLogo());
    Picture1_->setAccessibleName(QStringLiteral("Quorvandel logo"));
    Picture1_->setGeometry(twipsRect(480, 120, 5385, 1065));

    cmdNewMain_ =
        makeButton(this, QStringLiteral("cmdNewMain"), QStringLiteral("&New"), twipsRect(120, 1560, 1095, 495));
    cmdSave_ = makeButton(this, QStringLiteral("cmdSave"), QStringLiteral("&Save"), twipsRect(2640, 1560, 1095, 495));
    cmdLoad_ = makeButton(this, QStringLiteral("cmdLoad"), QStringLiteral("&Load"), twipsRect(5160, 1560, 1095, 495));

    lblCourses_ = makeLabel(this, QStringLiteral("lblCourses"), QStringLiteral("&Courses:"),
                            Qt::AlignLeft | Qt::AlignTop, twipsRect(120, 2280, 975, 255));
    lblSections_ = makeLabel(this, QStringLiteral("lblSections"), QStringLiteral("S&ections:"),
                             Qt::AlignLeft | Qt::AlignTop, twipsRect(2160, 2280, 975, 255));

    cmdAddSec_ =
        makeButton(this, QStringLiteral("cmdAddSec"), QStringLiteral("A&dd Section"), twipsRect(4440, 2280, 1815, 615));

    lstCourses_ = makeListBox(this, QStringLiteral("lstCourses"), {}, twipsRect(120, 2520, 1815, 1815));
    lstSecs_ = makeListBox(this, QStringLiteral("lstSecs"), {}, twipsRect(2160, 2520, 2055, 1815));
    // A screen reader names each list after its label, without the colon.
    lstCourses_->setAccessibleName(QStringLiteral("Courses"));
    lstSecs_->setAccessibleName(QStringLiteral("Sections"));
    lblCourses_->setBuddy(lstCourses_);
    lblSections_->setBuddy(lstSecs_);
    // Course names and section lines can be wider than their lists: show
    // them whole and let the user scroll sideways rather than cut off days.
    for (ListBox* l : {lstCourses_, lstSecs_}) {
        l->setTextElideMode(Qt::ElideNone);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }

    cmdRemSec_ = makeButton(this, QStringLiteral("cmdRemSec"), QStringLiteral("Re&move Section"),
                            twipsRect(4440, 3000, 1815, 615));
    cmdRemCourse_ = makeButton(this, QStringLiteral("cmdRemCourse"), QStringLiteral("&Remove Course"),
                               twipsRect(4440, 3720, 1815, 615));
    cmdAddCrs_ =
        makeButton(this, QStringLiteral("cmdAddCrs"), QStringLiteral("&Add Course"), twipsRect(120, 4440, 1215, 495));
    cmdGetSec_ = makeButton(this, QStringLiteral("cmdGetSec"), QStringLiteral("&Get Sections"),
                            twipsRect(2280, 4440, 1215, 495));
    cmdHelp_ = makeButton(this, QStringLiteral("cmdHelp"), QStringLiteral("&Help"), twipsRect(4920, 4440, 1335, 495));

    // The rule from (120, 5040) to (6240, 5040).
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(px(120), px(5040) - 1, px(6240) - px(120) + 1, 2);
    Line1_ = line;

    cmdOption_ =
        makeButton(this, QStringLiteral("cmdOption"), QStringLiteral("&Options"), twipsRect(120, 5160, 1095, 495));
    cmdMakeTime_ = makeButton(this, QStringLiteral("cmdMakeTime"), QStringLiteral("&TimeTablify!"),
                              twipsRect(2160, 5160, 2175, 735));
    cmdExit_ = makeButton(this, QStringLiteral("cmdExit"), QStringLiteral("E&xit"), twipsRect(5160, 5160, 1095, 495));

    // The lists share the extra width, Courses on the left; what is right of
    // a list moves with its right edge, what is below them with their foot.
    anchored_ = {
        {cmdSave_, {}, 1, 0, false, false},     {cmdLoad_, {}, 2, 0, false, false},
        {lblSections_, {}, 1, 0, false, false}, {cmdAddSec_, {}, 2, 0, false, false},
        {lstCourses_, {}, 0, 1, false, true},   {lstSecs_, {}, 1, 1, false, true},
        {cmdRemSec_, {}, 2, 0, false, false},   {cmdRemCourse_, {}, 2, 0, false, false},
        {cmdAddCrs_, {}, 0, 0, true, false},    {cmdGetSec_, {}, 1, 0, true, false},
        {cmdHelp_, {}, 2, 0, true, false},      {Line1_, {}, 0, 2, true, false},
        {cmdOption_, {}, 0, 0, true, false},    {cmdMakeTime_, {}, 1, 0, true, false},
        {cmdExit_, {}, 2, 0, true, false},
    };
    for (Anchored& a : anchored_) a.designed = a.control->geometry();

    connect(lstCourses_, &ListBox::userSelectedLine, this, &frmQuorvandelMain::lstCourses_Click);
    connect(lstSecs_, &ListBox::userSelectedLine, this, &frmQuorvandelMain::lstSecs_Click);
    connect(cmdAddCrs_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdAddCrs_Click);
    connect(cmdAddSec_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdAddSec_Click);
    connect(cmdRemCourse_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdRemCourse_Click);
    connect(cmdRemSec_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdRemSec_Click);
    connect(cmdNewMain_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdNewMain_Click);
    connect(cmdMakeTime_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdMakeTime_Click);
    connect(cmdSave_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdSave_Click);
    connect(cmdLoad_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdLoad_Click);
    connect(cmdExit_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdExit_Click);
    connect(cmdOption_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdOption_Click);
    // "Save As…" has no button of its own.
    const std::pair<const char*, void (frmQuorvandelMain::*)()> fileKeys[] = {
        {"Ctrl+S", &frmQuorvandelMain::cmdSave_Click},
        {"Ctrl+Shift+S", &frmQuorvandelMain::saveAs},
        {"Ctrl+O", &frmQuorvandelMain::cmdLoad_Click}};
    for (const auto& [key, command] : fileKeys)
        connect(new QShortcut(QKeySequence(QLatin1String(key)), this), &QShortcut::activated, this, command);
    connect(cmdGetSec_, &QPushButton::clicked, this, &frmQuorvandelMain::cmdGetSec_Click);
    attachHelp(this, cmdHelp_);
    setAcceptDrops(true);

    // Keys for the commands. Each presses its button, so a disabled command
    // stays refused and every command still takes its turn.
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::Key_Delete),
         [this] { (lstSecs_->selectedIndex() != -1 ? cmdRemSec_ : cmdRemCourse_)->click(); }},
        {QKeySequence(Qt::Key_Insert), [this] { cmdAddSec_->click(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), [this] { cmdAddCrs_->click(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { cmdExit_->click(); }},
    };
    for (const auto& [key, press] : keys) connect(new QShortcut(key, this), &QShortcut::activated, this, press);
    createChangeCommands();
}

void frmQuorvandelMain::load() {
    // The designed tab order with "Add Course" moved to the front and then
    // "TimeTablify!" to the second place.
    const QWidget* order[] = {cmdAddCrs_, cmdMakeTime_, cmdNewMain_, cmdSave_,     cmdAddSec_,  cmdRemCourse_,
                              cmdOption_, cmdExit_,     Picture1_,   cmdLoad_,     lstCourses_, cmdHelp_,
                              cmdRemSec_, lstSecs_,     lblCourses_, lblSections_, cmdGetSec_,  lstDofW_};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
    // The labels between them take no focus: "Get Sections" comes after the
    // section list, as designed, now that it can take the focus.
    setTabOrder(lstSecs_, cmdGetSec_);
    cmdAddCrs_->setFocus(Qt::OtherFocusReason);

    // "Save", "Load" and "Get Sections" stay enabled: a schedule can always
    // be kept, replaced or added to (at the capacities, "Get Sections" says
    // which sections do not fit).
    for (QPushButton* button : {cmdMakeTime_, cmdAddSec_, cmdRemSec_, cmdRemCourse_}) button->setEnabled(false);

    state_.NumCourses = 0;
    state_.NumTimetables = 0;
    state_.EnumDone = false;
    state_.CurrentTimetable = 0;
}

void frmQuorvandelMain::showCapacityLimits() {
    // The capacity messages of the dialogs stay as the last guard.
    const bool coursesFull = state_.NumCourses >= MaxCourses;
    cmdAddCrs_->setEnabled(!coursesFull);
    cmdAddCrs_->setToolTip(coursesFull ? CoursesFullMessage() : QString());
    const int16_t course = selectedCourseIndex();
    const bool sectionsFull = course >= 0 && course < state_.NumCourses &&
                              state_.Courses[static_cast<size_t>(course)].NumSections >= MaxSectionsPerCourse;
    cmdAddSec_->setEnabled(course >= 0 && !sectionsFull);
    cmdAddSec_->setToolTip(sectionsFull ? SectionsFullMessage() : QString());
}

void frmQuorvandelMain::setResultsPresenter(ResultsPresenter* presenter) { presenter_ = presenter; }

// ---- Activation ----

void frmQuorvandelMain::activate() {
    otherWindowWasActive_ = false;
    // Take the keyboard back where the window system does not hand it over
    // when a dialog or the results close (no window manager, offscreen).
    if (isVisible() && !isActiveWindow() && !ending_) activateWindow();
    if (state_.NumCourses > 0 && state_.Courses[0].NumSections > 0) cmdMakeTime_->setEnabled(true);
    if (state_.NumCourses > 0) ShowSections(state_, *this);
    keeper_.refreshTitle();
    showCapacityLimits();
}

void frmQuorvandelMain::noteFocusWindow(QWindow* window) {
    // nullptr: the program lost the focus to another program.
    if (window == nullptr || window == windowHandle() || !window->isVisible()) return;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowHandle() == window && qobject_cast<QMessageBox*>(widget)) return;
    otherWindowWasActive_ = true;
}

bool frmQuorvandelMain::event(QEvent* event) {
    // While a modal window of the program is open the main window cannot
    // become the active window, whatever the window system reports; its
    // activation comes when that window closes.
    if (event->type() == QEvent::WindowActivate && otherWindowWasActive_ && !ending_ &&
        QApplication::activeModalWidget() == nullptr)
        activate();
    return QWidget::event(event);
}

void frmQuorvandelMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_ && !event->spontaneous()) {
        shownOnce_ = true;
        activate();
    }
}

// ---- MainWindowLists ----

void frmQuorvandelMain::appendCourseLine(const Text& line) { lstCourses_->appendLine(qText(line)); }

void frmQuorvandelMain::removeCourseLine(int16_t index) { lstCourses_->removeLine(index); }

int16_t frmQuorvandelMain::selectedCourseIndex() const { return static_cast<int16_t>(lstCourses_->selectedIndex()); }

void frmQuorvandelMain::clearSectionLines() { lstSecs_->removeAllLines(); }

void frmQuorvandelMain::removeSectionLine(int16_t index) { lstSecs_->removeLine(index); }

void frmQuorvandelMain::appendSectionLine(const Text& line) { lstSecs_->appendLine(qText(line)); }

Text frmQuorvandelMain::dayAbbreviation(int16_t day) const { return lstDofW_->line(day).toStdU16String(); }

void frmQuorvandelMain::disableRemoveCourse() { cmdRemCourse_->setEnabled(false); }

void frmQuorvandelMain::disableAddSection() { cmdAddSec_->setEnabled(false); }

Text frmQuorvandelMain::courseLine(int16_t index) const { return lstCourses_->line(index).toStdU16String(); }

void frmQuorvandelMain::setCourseLine(int16_t index, const Text& line) { lstCourses_->setLine(index, qText(line)); }

void frmQuorvandelMain::setSectionLine(int16_t index, const Text& line, bool leftOut) {
    lstSecs_->setLine(index, qText(line), leftOut);
}

// ---- Handlers ----

void frmQuorvandelMain::lstCourses_Click() {
    if (lstCourses_->selectedIndex() == -1) return;
    cmdRemCourse_->setEnabled(true);
    ShowSections(state_, *this);
    showCapacityLimits();
}

void frmQuorvandelMain::lstSecs_Click() {
    if (lstSecs_->selectedIndex() != -1) cmdRemSec_->setEnabled(true);
}

void frmQuorvandelMain::cmdAddCrs_Click() {
    const CommandTurn turn;
    if (!turn) return;
    if (addCourseDialog_ == nullptr) addCourseDialog_ = new frmAddCrs(state_, *this, this);
    ScheduleSnapshot before = snapshotOf(state_);
    const int16_t coursesBefore = state_.NumCourses;
    addCourseDialog_->setRenaming(-1);
    addCourseDialog_->exec();
    // The new course is selected: its first section is one click away.
    if (state_.NumCourses > coursesBefore) {
        lstCourses_->selectLine(state_.NumCourses - 1);
        lstCourses_Click();
        noteChange(u"Add Course " + state_.Courses[static_cast<size_t>(state_.NumCourses - 1)].CourseName,
                   std::move(before));
    }
    activate();
}

void frmQuorvandelMain::cmdAddSec_Click() {
    const CommandTurn turn;
    if (!turn) return;
    ScheduleSnapshot before = snapshotOf(state_);
    {
        frmAddSec dialog(state_, *this, this);
        dialog.exec();
    }
    const int16_t course = selectedCourseIndex();
    if (course >= 0 && course < state_.NumCourses && state_.Courses[static_cast<size_t>(course)].NumSections > 0)
        noteChange(
            u"Add Section " +
                sectionName(course, static_cast<int16_t>(state_.Courses[static_cast<size_t>(course)].NumSections - 1)),
            std::move(before));
    activate();
}

void frmQuorvandelMain::cmdGetSec_Click() { getSections({}); }

void frmQuorvandelMain::getSections(const QString& listingFile) {
    const CommandTurn turn;
    if (!turn) return;
    ScheduleSnapshot before = snapshotOf(state_);
    {
        frmGetSec dialog(state_, *this, keeper_.fileChooser(), this);
        if (!listingFile.isEmpty()) dialog.openFile(listingFile);
        dialog.exec();
    }
    noteChange(u"Get Sections", std::move(before));
    activate();
}

void frmQuorvandelMain::cmdRemCourse_Click() {
    const CommandTurn turn;
    if (!turn) return;
    ScheduleSnapshot before = snapshotOf(state_);
    const int16_t course = selectedCourseIndex();
    const Text name =
        course >= 0 && course < state_.NumCourses ? state_.Courses[static_cast<size_t>(course)].CourseName : Text();
    RemoveCourse(state_, *this, course);
    noteChange(u"Remove Course " + name, std::move(before));
    if (presenter_) presenter_->favouritesChanged();  // a favourite holding one of its sections is gone
    cmdRemCourse_->setEnabled(false);
    cmdAddSec_->setEnabled(false);
    if (state_.NumCourses == 0) cmdMakeTime_->setEnabled(false);
    keeper_.refreshTitle();
    showCapacityLimits();
}

void frmQuorvandelMain::cmdRemSec_Click() {
    const CommandTurn turn;
    if (!turn) return;
    if (lstSecs_->selectedIndex() == -1) {
        ShowMessage(this, NoSectionSelectedMessage);
    } else {
        ScheduleSnapshot before = snapshotOf(state_);
        const Text name = u"Remove Section " + selectedSectionName();
        RemoveSection(state_, *this, selectedCourseIndex(), static_cast<int16_t>(lstSecs_->selectedIndex()));
        noteChange(name, std::move(before));
    }
    if (presenter_) presenter_->favouritesChanged();  // a favourite holding it is gone
    if (lstSecs_->selectedIndex() == -1) cmdRemSec_->setEnabled(false);
    keeper_.refreshTitle();
    showCapacityLimits();
}

void frmQuorvandelMain::cmdOption_Click() {
    const CommandTurn turn;
    if (!turn) return;
    ScheduleSnapshot before = snapshotOf(state_);
    {
        frmOptions dialog(state_, this);
        dialog.exec();
    }
    noteChange(u"Options", std::move(before));
    activate();
}

void frmQuorvandelMain::cmdNewMain_Click() {
    const CommandTurn turn;
    if (!turn) return;
    if (!keeper_.mayDiscardChanges()) return;
    clearSchedule();
    keeper_.noteNew();
}

void frmQuorvandelMain::clearSchedule() {
    lstCourses_->removeAllLines();
    lstSecs_->removeAllLines();
    state_.NumCourses = 0;
    // Busy times, the order and the favourites belong to the schedule that is gone.
    state_.Options = {};
    clearFavourites(state_);
    if (presenter_) presenter_->favouritesChanged();
    for (QPushButton* button : {cmdAddSec_, cmdRemSec_, cmdRemCourse_, cmdMakeTime_}) button->setEnabled(false);
    // Undo would bring back a schedule the user has just let go of.
    history_.clear();
    showCapacityLimits();
}

void frmQuorvandelMain::cmdMakeTime_Click() {
    const CommandTurn turn;
    if (!turn) return;
    presentGeneration(generate());
    // Favourites not found again are gone now.
    if (!ending_) keeper_.refreshTitle();
}

void frmQuorvandelMain::cmdSave_Click() {
    const CommandTurn turn;
    if (turn) keeper_.save();
}

void frmQuorvandelMain::saveAs() {
    const CommandTurn turn;
    if (turn) keeper_.saveAs();
}

void frmQuorvandelMain::cmdLoad_Click() {
    const CommandTurn turn;
    if (!turn || !keeper_.mayDiscardChanges()) return;
    const QString path = keeper_.askPathToLoad();
    if (!path.isEmpty()) loadFile(path);
}

bool frmQuorvandelMain::loadFile(const QString& path) {
    const std::optional<ScheduleDocument> document = keeper_.read(path);
    if (!document) return false;
    // The results belong to the schedule being replaced.
    closeOpenResults();
    clearSchedule();
    applyDocument(state_, *this, *document);
    keeper_.noteLoaded(path);
    activate();
    return true;
}

GenerationResult frmQuorvandelMain::generate() {
    // The search rewrites the stored timetables: results still open would
    // show ones that are about to go.
    closeOpenResults();
    return runner_.run(state_, this);
}

void frmQuorvandelMain::presentGeneration(const GenerationResult& result) {
    if (ending_) return;  // the window was closed during the search
    if (result.outcome == TimeTablifyOutcome::ShowResults) {
        if (presenter_) presenter_->showResults(result);
        // Shown first: the count only refines the note, later.
        if (BackgroundCount::wanted(result)) count_.start(state_, result, state_.NumTimetables);
        return;
    }
    // The generation has emptied the stored timetables: results still open
    // would show ones that are gone.
    closeOpenResults();
    if (result.outcome == TimeTablifyOutcome::AllClassesNeedSection)
        ShowMessage(this, qText(AllClassesNeedSectionMessage), qText(result.details));
    else if (result.outcome == TimeTablifyOutcome::NoTimetables)
        ShowMessage(this, qText(NoTimetablesMessage), qText(result.details));
    else if (result.outcome == TimeTablifyOutcome::EverySectionLeftOut)
        ShowMessage(
            this, qText(EverySectionLeftOutMessage(state_.Courses[static_cast<size_t>(result.busyCourse)].CourseName)));
    else if (result.outcome == TimeTablifyOutcome::EverySectionBusy)
        ShowMessage(this,
                    qText(EverySectionBusyMessage(state_.Courses[static_cast<size_t>(result.busyCourse)].CourseName)));
    else if (result.outcome == TimeTablifyOutcome::StoppedNoneFound)
        ShowMessage(this, QStringLiteral("The search was stopped before any timetable was found."));
}

void frmQuorvandelMain::closeOpenResults() {
    if (presenter_ && presenter_->resultsOpen()) presenter_->closeResults();
}

// ---- End ----

void frmQuorvandelMain::cmdExit_Click() {
    const CommandTurn turn;
    if (!turn) return;
    if (keeper_.mayDiscardChanges()) endProgram();
}

void frmQuorvandelMain::endProgram() {
    if (ending_) return;
    ending_ = true;
    runner_.requestStop();
    count_.stop();
    if (presenter_) presenter_->closeResults();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

namespace {

// The one local listing file a drag carries, or nothing.
QString droppedListing(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() && isListingFileName(url.toLocalFile()) ? url.toLocalFile() : QString();
}

}  // namespace

void frmQuorvandelMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedListing(event->mimeData()).isEmpty() && CommandTurn::available()) event->acceptProposedAction();
}

void frmQuorvandelMain::dropEvent(QDropEvent* event) {
    const QString path = droppedListing(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // After the drop has finished, so that the drag's source is not kept
    // waiting while the dialog is open.
    QMetaObject::invokeMethod(
        this, [this, path] { getSections(path); }, Qt::QueuedConnection);
}

void frmQuorvandelMain::closeEvent(QCloseEvent* event) {
    // Closing the window while "Exit" ends the program asks nothing more.
    if (!ending_ && !keeper_.mayDiscardChanges()) return event->ignore();
    endProgram();
    event->accept();
}

}  // namespace quorvandel
