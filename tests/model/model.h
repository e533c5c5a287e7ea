#pragma once
// The user's actions as data, and a model of what the user should see after
// each one, kept apart from the program: its own courses and sections,
// selections, button states and results, and its own search for the
// conflict-free timetables.

#include <bitset>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quorvandel::model {

constexpr int CourseCapacity = 20, SectionCapacity = 10, StoredCapacity = 26;

// A further time of a section (a lab beside its lecture).
struct TimeRec {
    int start = 0, end = 0;
    unsigned days = 0;
    bool operator==(const TimeRec&) const = default;
};

struct SectionRec {
    std::string number, course;  // course: its line when the section was added
    int start = 0, end = 0;      // half-hour slots from 8:00; end is exclusive
    unsigned days = 0;           // bit 0 = Monday .. bit 6 = Sunday
    std::vector<TimeRec> more;   // its further times, each added by "Another Time"
    bool leftOut = false;        // left out by Space on its line: no generation takes it
};

struct CourseRec {
    std::string name;
    std::vector<SectionRec> sections;
};

// Busy half-hours (cell = day x 29 + slot) and the order of the results and
// its tie-break, by their place in the Options dialog's lists (0 = "First
// found").
struct OptionsRec {
    std::bitset<203> busy;
    int order = 0, then = 0;
    bool operator==(const OptionsRec&) const = default;
};

// What a schedule file keeps: the courses, each favourite as the places of
// its sections in their courses (counted from 0; sorted), and the options.
struct FileRec {
    std::vector<CourseRec> courses;
    std::vector<std::vector<int>> favourites;
    OptionsRec options;
};

std::string timeText(int slot);                 // "8:00", "13:30"
std::string sectionLine(const SectionRec& s);   // "01  9:00 - 10:00 M W, 14:00 - 17:00 T"
std::bitset<203> cellsOf(const SectionRec& s);  // cell = day x 29 + slot, of every time
std::bitset<203> cellsOf(const TimeRec& t);
std::string timeLine(const TimeRec& t);  // "9:00 - 10:00 M W"
// The time a clashing "Another Time" tries: the first time's first
// half-hour on its days.
TimeRec clashOf(const SectionRec& s);
// A message box's text and the details under it, as the session reads them.
std::string withDetails(const std::string& text, const std::string& details);

// clang-format off
enum class Kind {
    AddCourse, AddSection, SelectCourse, SelectSection, RemoveCourse, RemoveSection, New, TimeTablify,
    Next, Previous, Ok, CloseGrid, CloseFrame, ReturnToMain, Save, SaveAs, Load,
    Favourite, GoToFavourites, StepKey, Export, Options,
    MainKey, MoveMain, GetSections,
    // Changes to what is typed: a section line (`line`) edited into
    // `section` or duplicated (its number retyped as `name` unless empty),
    // a course line renamed to `name`, a section left out or taken back by
    // Space, and Undo and Redo by their keys.
    EditSection, DuplicateSection, RenameCourse, LeaveOut, Undo, Redo
};
// clang-format on
enum class Ending { Ok, Cancel, Close };  // how an entry dialog is left
// What is wrong with a section entry at its first "Ok"; it is put right
// before the dialog's last "Ok".
enum class Defect { None, NoNumber, NoDays, NoStartHour, NoEndHour, EndNotAfterStart };
// One row of a listing pasted into "Get Sections": one meeting of a
// section, its times in minutes from midnight as written.
struct ListingRowRec {
    std::string course, number;
    unsigned days = 0;  // none: the row says "TBA"
    int start = 0, end = 0;
};
// The answer to "Save changes to ...?".
enum class Answer { Save, DontSave, Cancel };

// Files in the scratch folder, by name: "empty.qvs" is there from the start
// and holds nothing, "folder.qvs" is a folder; a name without an extension
// is saved with ".qvs".
const std::string EmptyFile = "empty.qvs", FolderName = "folder.qvs";

// One change to the busy grid of the Options dialog.
struct BusyEdit {
    enum What { Drag, DayHeader, TimeLabel, Clear } what = Drag;
    // Drag: pressed on cell `from`, released on cell `to` (the same cell: a
    // click). DayHeader: the day in `from`; TimeLabel: the slot in `from`.
    int from = 0, to = 0;
};

struct Action {
    Kind kind = Kind::New;
    int line = -1;                 // course line (-1 in AddSection: the selected course) or section line
    int repeat = 1;                // AddCourse, AddSection: entries one after another, until one is refused
    std::string name;              // AddCourse
    bool emptyFirst = false;       // AddCourse: "Ok" on the empty box first
    SectionRec section;            // AddSection
    Defect defect = Defect::None;  // AddSection
    int badEnd = 0;                // AddSection, EndNotAfterStart: the end picked first
    // AddSection with further times: after the first is listed, "Another
    // Time" on a time sharing its first half-hour, refused, before the others.
    bool clash = false;
    Ending ending = Ending::Ok;
    // RemoveCourse .. Ok: given by a screen reader's press action instead of
    // a click.
    bool pressAction = false;
    // RemoveCourse .. Ok: Enter on the focused button instead of a click.
    bool enterKey = false;
    // AddCourse, AddSection: while the dialog is open, a screen reader
    // presses this command (one of Commands) of the main window or the
    // results, or (from std::size(Commands) on) one of MainKeys is pressed
    // on the main window; -1 for none. It must be refused.
    int intrude = -1;
    Answer answer = Answer::Cancel;  // New, Load: to the question about unsaved changes
    std::string saveName, loadName;  // what the file dialogs give; "" is "Cancel"
    // EditSection, RenameCourse: 0 double-clicks the line, 1 presses Enter,
    // 2 F2. Redo: 0 Ctrl+Y, 1 Ctrl+Shift+Z.
    // Favourite: 0 clicks the button, 1 presses Ctrl+D. StepKey: one of
    // StepKeys. Export: 0 a calendar file, 1 a PNG image. MainKey: one of
    // MainKeys. MoveMain: one of MainPlaces.
    int key = 0;
    // Options: the busy grid's changes, then the two orders picked (the
    // second only where the dialog lets it be picked), then `ending`.
    std::vector<BusyEdit> busyEdits;
    int order = 0, then = 0;
    // GetSections: the rows pasted, in the shape `key` picks (0: CSV with a
    // header, 24-hour times; 1: tabs, no header, 12-hour times, "Mon/Wed"),
    // then "Add" (Ok), "Cancel" or the close button.
    std::vector<ListingRowRec> listing;
};

// The keys of the results that step, in StepKey's `key` order.
enum StepKeyIndex { KeyRight, KeyPageDown, KeyLeft, KeyPageUp, KeyHome, KeyEnd, StepKeyCount };

// The main window's command keys, in MainKey's `key` order. Delete removes
// the selected section, or else the selected course; Insert opens "Add
// Section" and Ctrl+Insert "Add Course", each then cancelled; Ctrl+Q is
// "Exit", given only where the question about unsaved changes comes and
// answered "Cancel", so the program goes on.
enum MainKeyIndex { KeyDelete, KeyInsert, KeyCtrlInsert, KeyCtrlQ, MainKeyCount };
extern const char* const MainKeys[MainKeyCount];
// The places the main window is moved to: the screen's top-left corner, its
// centre, its bottom-right corner, and half off its right edge.
constexpr int MainPlaces = 4;

// The commands of the main window and the results a screen reader can press.
extern const char* const Commands[12];

// Entry i of a repeated AddCourse or AddSection.
std::string courseName(const Action& a, int i);
SectionRec sectionEntry(const Action& a, int i);

// The schedule as Undo puts it back.
struct Snapshot {
    std::vector<CourseRec> courses;
    std::vector<std::vector<SectionRec>> favourites;
    OptionsRec options;
};

struct Model {
    std::vector<CourseRec> courses;
    // The steps Undo and Redo take: the schedule before each change, and
    // after each one undone.
    std::vector<Snapshot> undoSteps, redoSteps;
    int selectedCourse = -1, selectedSection = -1;
    bool addSection = false, removeSection = false, removeCourse = false, timeTablify = false;  // enabled
    bool mainActive = true;  // false while a results window is the one in use
    // The latest generation and the results windows showing it.
    std::vector<std::vector<SectionRec>> timetables;
    std::uint64_t total = 0;  // every timetable of the results shown, once more than 26
    bool moreThanStored = false, resultsOpen = false, gridLoaded = false, previous = false, next = false;
    int current = 0;
    // The schedule's file ("" for none), the courses as last saved or
    // loaded there, and what each scratch file holds.
    std::string file;
    FileRec saved;
    std::map<std::string, FileRec> files{{EmptyFile, {}}};
    // The options set now, and those of the latest generation, by which its
    // results are ranked and scored.
    OptionsRec options, shownOptions;

    std::string title() const;  // the main window's title as shown
    // Favourites, kept by the sections they hold until unmarked or one of
    // their sections is removed (a generation that does not find one keeps
    // it); whether only they are
    // stepped through; and how many events the last calendar export held
    // (-1 before any).
    std::vector<std::vector<SectionRec>> favourites;
    bool favouritesView = false;
    int exportedEvents = -1;

    std::vector<std::string> sectionLines() const;  // lstSecs as it should read
    FileRec document() const;                       // what Save would write now
    bool isFavourite(int position) const;
    int shownFavourites() const;  // how many of the timetables shown are favourites
    // The notes beside the counter, one a line: more than 26 exist, and how
    // many favourites are not among the timetables shown.
    std::string note() const;
    // The stored timetables "Previous" and "Next" step through, and the
    // index of the one shown among them.
    std::vector<int> steps() const;
    int stepIndex() const;
    // The score beside the counter for the timetable shown ("2 days, 1 idle
    // hour"); empty when the results are not ranked.
    std::string scoreCaption() const;
    // Whether "Add Course" and "Add Section" are enabled: not while the
    // store, or the selected course, is full.
    bool addCourse() const;
    bool addSectionEnabled() const;
};

// Commands of the results frame; the others are given on the main window,
// which the user first goes back to when a results window is in use.
bool onResultsFrame(Kind kind);
// Whether the action can be given at all (a line that exists, an open
// frame); a shrunk list skips those that cannot.
bool applicable(const Action& a, const Model& m);
// Does the action to the model; returns the message boxes expected, in order.
std::vector<std::string> apply(const Action& a, Model& m);

std::string describe(const Action& a);
// 5 to 25 actions, each one applicable where it stands.
std::vector<Action> randomSequence(uint32_t seed);

}  // namespace quorvandel::model
