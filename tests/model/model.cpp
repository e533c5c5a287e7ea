#include "model.h"

#include <algorithm>
#include <cstdint>

namespace quorvandel::model {

namespace {

const std::string EmptyName = "You must enter a Course Name";
const std::string Incomplete = "Please fill in Section Number, Time Start, Time End and at least one Day of the Week";
const std::string EndNotAfter = "Your End Time must be AFTER your Start Time";
std::string timesClash(const std::string& earlier, const std::string& later) {
    return "The times " + earlier + " and " + later +
           " share a half-hour. A section cannot meet twice at once: change one of them.";
}
const std::string NothingToRemove = "You have not selected a section to remove";
const std::string AllNeedSection = "All Classes must have at least one section";
const std::string NoTimetables =
    "Sorry, your schedule has no possible conflict-free timetables.  You will need to remove some classes";
// How the program stops the user at its capacities.
const std::string CoursesFull = "Quorvandel holds at most 20 courses. Remove a course before adding another.";
const std::string SectionsFull =
    "A course holds at most 10 sections. Remove a section of this course before adding another.";
const std::string Caption = "Quorvandel Main";
std::string allLeftOut(const std::string& course) { return "Every section of " + course + " is left out"; }
// How a left-out section's line ends.
const std::string LeftOutMark = "  (left out)";
// The scratch folder's path, as the session writes it in the messages it sees.
const std::string Scratch = "SCRATCH/";

// Up to `limit` conflict-free combinations in the program's order, course
// 0's section varying fastest: the last course is chosen first and course 0
// last. A clash part way cuts off only combinations that clash too.
void search(const std::vector<CourseRec>& courses, int course, const std::bitset<203>& taken,
            std::vector<SectionRec>& chosen, size_t limit, std::vector<std::vector<SectionRec>>& found) {
    if (course < 0) return found.push_back(chosen);
    for (const SectionRec& s : courses[static_cast<size_t>(course)].sections) {
        const std::bitset<203> cells = cellsOf(s);
        if ((taken & cells).any()) continue;
        chosen[static_cast<size_t>(course)] = s;
        search(courses, course - 1, taken | cells, chosen, limit, found);
        if (found.size() >= limit) return;
    }
}

// How many timetables the courses from `course` down have, taking every
// combination whose sections share no half-hour.
std::uint64_t countAll(const std::vector<CourseRec>& courses, int course, const std::bitset<203>& taken) {
    if (course < 0) return 1;
    std::uint64_t total = 0;
    for (const SectionRec& s : courses[static_cast<size_t>(course)].sections) {
        const std::bitset<203> cells = cellsOf(s);
        if (!(taken & cells).any()) total += countAll(courses, course - 1, taken | cells);
    }
    return total;
}

// 1204 as "1,204".
std::string grouped(std::uint64_t n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

// A timetable's score by one order, lower is better, reading its cells
// day by day: 1 days with classes, 2 free half-hours between a day's first
// and last class, 3 the first slots of the days with classes (negated: a
// later start is better), 4 the slots at which those days end. 0 ("First
// found") scores every timetable alike.
int score(int order, const std::vector<SectionRec>& timetable) {
    std::bitset<203> cells;
    for (const SectionRec& s : timetable) cells |= cellsOf(s);
    int total = 0;
    for (int day = 0; day < 7; ++day) {
        int first = -1, last = -1, taken = 0;
        for (int slot = 0; slot < 29; ++slot)
            if (cells[static_cast<size_t>(day * 29 + slot)]) {
                if (first < 0) first = slot;
                last = slot;
                ++taken;
            }
        if (first < 0) continue;
        total += order == 1   ? 1
                 : order == 2 ? last - first + 1 - taken
                 : order == 3 ? -first
                 : order == 4 ? last + 1
                              : 0;
    }
    return total;
}

// "3", "1.5": half-hours as hours.
std::string hours(int halfHours) { return std::to_string(halfHours / 2) + (halfHours % 2 ? ".5" : ""); }

// The clock time `slots` half-hours after 8:00 shared over `days` days,
// to the nearest minute: "10:15".
std::string meanTime(int slots, int days) {
    const int minutes = 8 * 60 + (slots * 30 + days / 2) / days;
    const std::string mm = std::to_string(minutes % 60);
    return std::to_string(minutes / 60) + ":" + (mm.size() == 1 ? "0" + mm : mm);
}

// One order's score in the words of the results strip.
std::string scoreWords(int order, const std::vector<SectionRec>& timetable) {
    const int n = score(order, timetable);
    switch (order) {
    case 1:
        return std::to_string(n) + (n == 1 ? " day" : " days");
    case 2:
        return hours(n) + (n == 2 ? " idle hour" : " idle hours");
    case 3:
        return "first class at " + meanTime(-n, score(1, timetable)) + " on average";
    case 4:
        return "done by " + meanTime(n, score(1, timetable)) + " on average";
    }
    return "";
}

// Keeps the timetables in enumeration order, best first by the order, then
// by the tie-break.
void rank(std::vector<std::vector<SectionRec>>& timetables, const OptionsRec& options) {
    std::vector<std::pair<std::pair<int, int>, size_t>> keyed;
    for (size_t i = 0; i < timetables.size(); ++i)
        keyed.push_back({{score(options.order, timetables[i]), score(options.then, timetables[i])}, i});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<std::vector<SectionRec>> ranked;
    for (const auto& k : keyed) ranked.push_back(timetables[k.second]);
    timetables = std::move(ranked);
}

// A change made on the busy grid: a click toggles a cell, a drag paints its
// rectangle with the state the first cell took; a day header or a time
// label makes its whole line busy, or free when all of it was.
void editBusy(std::bitset<203>& busy, const BusyEdit& e) {
    if (e.what == BusyEdit::Clear) return busy.reset(), void();
    if (e.what == BusyEdit::Drag) {
        const bool paint = !busy[static_cast<size_t>(e.from)];
        for (int d = std::min(e.from, e.to) / 29; d <= std::max(e.from, e.to) / 29; ++d)
            for (int s = std::min(e.from % 29, e.to % 29); s <= std::max(e.from % 29, e.to % 29); ++s)
                busy[static_cast<size_t>(d * 29 + s)] = paint;
        return;
    }
    std::vector<size_t> line;
    for (int i = 0; i < (e.what == BusyEdit::DayHeader ? 29 : 7); ++i)
        line.push_back(static_cast<size_t>(e.what == BusyEdit::DayHeader ? e.from * 29 + i : i * 29 + e.from));
    const bool allBusy = std::all_of(line.begin(), line.end(), [&](size_t c) { return busy[c]; });
    for (size_t c : line) busy[c] = !allBusy;
}

bool fits(const std::vector<CourseRec>& courses) {
    std::vector<SectionRec> chosen(courses.size());
    std::vector<std::vector<SectionRec>> found;
    search(courses, static_cast<int>(courses.size()) - 1, {}, chosen, 1, found);
    return !found.empty();
}

std::string namesText(const std::vector<CourseRec>& courses) {
    std::string text;
    for (size_t i = 0; i < courses.size(); ++i)
        text += (i == 0 ? "" : i + 1 == courses.size() ? " and " : ", ") + courses[i].name;
    return text;
}

// "A 01 and B 1 both meet Monday 9:00-9:30": the earliest half-hour of the
// week both take, and the ones after it that day both take too.
std::string meetingLine(const CourseRec& a, const SectionRec& x, const CourseRec& b, const SectionRec& y) {
    static const char* const days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    const std::bitset<203> both = cellsOf(x) & cellsOf(y);
    size_t first = 0;
    while (!both[first]) ++first;
    size_t end = first + 1;
    while (end % 29 != 0 && both[end]) ++end;
    return a.name + " " + x.number + " and " + b.name + " " + y.number + " both meet " + days[first / 29] + " " +
           timeText(static_cast<int>(first % 29)) + "-" + timeText(static_cast<int>(first % 29 + (end - first)));
}

// Why no timetable: the first two courses whose sections all clash pair by
// pair, or else the courses left when each in turn is dropped while the
// others still do not fit.
std::string whyNothingFits(const std::vector<CourseRec>& courses) {
    for (size_t a = 0; a < courses.size(); ++a)
        for (size_t b = a + 1; b < courses.size(); ++b) {
            std::vector<std::string> lines;
            for (const SectionRec& x : courses[a].sections)
                for (const SectionRec& y : courses[b].sections)
                    if ((cellsOf(x) & cellsOf(y)).any()) lines.push_back(meetingLine(courses[a], x, courses[b], y));
            if (lines.size() != courses[a].sections.size() * courses[b].sections.size()) continue;
            std::string text = courses[a].name + " and " + courses[b].name +
                               " cannot be taken together: every section of one clashes with every section of the "
                               "other.";
            for (size_t i = 0; i < lines.size() && i < 5; ++i) text += "\n" + lines[i];
            if (lines.size() > 5) text += "\nand " + std::to_string(lines.size() - 5) + " more";
            return text;
        }
    std::vector<CourseRec> kept = courses;
    for (size_t i = 0, at = 0; i < courses.size(); ++i) {
        std::vector<CourseRec> without = kept;
        without.erase(without.begin() + static_cast<long>(at));
        if (fits(without))
            ++at;
        else
            kept = without;
    }
    return namesText(kept) +
           " cannot all be taken together: their sections cannot be arranged without a clash. Without any one of "
           "them, the others fit.";
}

// The main window's activation step.
void activation(Model& m) {
    m.mainActive = true;
    if (!m.courses.empty() && !m.courses[0].sections.empty()) m.timeTablify = true;
    if (!m.courses.empty()) m.selectedSection = -1;  // the section list is rebuilt
}

// "Previous" and "Next": enabled towards another timetable stepped
// through. The grid view's load step sets them, and so does every change
// of what is stepped through.
void setSteps(Model& m) {
    m.previous = m.stepIndex() > 0;
    m.next = m.stepIndex() + 1 < static_cast<int>(m.steps().size());
}

void loadGrid(Model& m) {
    m.gridLoaded = true;
    setSteps(m);
}

// Whether two sections were entered alike: the same number, times and days.
bool sameEntry(const SectionRec& x, const SectionRec& y) {
    return x.number == y.number && x.start == y.start && x.end == y.end && x.days == y.days && x.more == y.more;
}

// Whether two timetables hold the same sections, each of the same course.
bool sameSections(const std::vector<SectionRec>& a, const std::vector<SectionRec>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const SectionRec& x, const SectionRec& y) { return x.course == y.course && sameEntry(x, y); });
}

void showAt(Model& m, int position) {
    m.current = position;
    loadGrid(m);
}

// Ctrl+D or "Add to Favorites" / "Remove from Favorites" on the timetable
// shown. Unmarked while only favourites are stepped through, it gives way
// to the next favourite, else the one before; with none left, all are
// stepped through again.
void toggleFavourite(Model& m) {
    const std::vector<SectionRec>& shown = m.timetables[static_cast<size_t>(m.current)];
    const auto at = std::find_if(m.favourites.begin(), m.favourites.end(),
                                 [&](const std::vector<SectionRec>& f) { return sameSections(f, shown); });
    if (at == m.favourites.end()) {
        m.favourites.push_back(shown);
    } else {
        m.favourites.erase(at);
        if (m.favouritesView) {
            const std::vector<int> left = m.steps();
            if (left.empty()) {
                m.favouritesView = false;
            } else {
                const auto after = std::upper_bound(left.begin(), left.end(), m.current);
                return showAt(m, after != left.end() ? *after : left.back());
            }
        }
    }
    setSteps(m);
}

// After a removal: a favourite holding a section no course holds any more
// can never come back, so it goes. Results left open follow, as after
// unmarking: on to a favourite still shown, or back to all timetables.
void followFavourites(Model& m);

void forgetRemovedFavourites(Model& m) {
    const auto live = [&](const SectionRec& f) {
        return std::any_of(m.courses.begin(), m.courses.end(), [&](const CourseRec& c) {
            return std::any_of(c.sections.begin(), c.sections.end(),
                               [&](const SectionRec& s) { return s.course == f.course && sameEntry(s, f); });
        });
    };
    std::erase_if(m.favourites,
                  [&](const std::vector<SectionRec>& f) { return !std::all_of(f.begin(), f.end(), live); });
    followFavourites(m);
}

// Results left open follow a change of the favourites made on the main
// window, as after unmarking: on to a favourite still shown, or back to all
// timetables.
void followFavourites(Model& m) {
    if (!m.resultsOpen) return;
    if (m.favouritesView && !m.isFavourite(m.current)) {
        if (m.shownFavourites() > 0) return showAt(m, m.steps().front());
        m.favouritesView = false;
    }
    setSteps(m);
}

// Whether two schedules hold the same courses and sections, field by field.
bool sameSchedule(const std::vector<CourseRec>& a, const std::vector<CourseRec>& b) {
    auto sameCourse = [](const CourseRec& x, const CourseRec& y) {
        return x.name == y.name && std::equal(x.sections.begin(), x.sections.end(), y.sections.begin(),
                                              y.sections.end(), [](const SectionRec& p, const SectionRec& q) {
                                                  return sameEntry(p, q) && p.course == q.course &&
                                                         p.leftOut == q.leftOut;
                                              });
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameCourse);
}

bool sameFile(const FileRec& a, const FileRec& b) {
    return sameSchedule(a.courses, b.courses) && a.favourites == b.favourites && a.options == b.options;
}

bool unsaved(const Model& m) { return !sameFile(m.document(), m.saved); }

// Writes the schedule to the scratch file; false, with the message, when
// a folder stands in its place.
bool writeTo(Model& m, const std::string& name, std::vector<std::string>& messages) {
    if (name == FolderName) {
        messages.push_back("Cannot save \"" + Scratch + name + "\": it is a folder.");
        return false;
    }
    m.files[name] = m.document();
    m.file = name;
    m.saved = m.files[name];
    return true;
}

bool saveAs(Model& m, const Action& a, std::vector<std::string>& messages) {
    if (a.saveName.empty()) return false;  // the dialog was cancelled
    const bool hasExtension = a.saveName.find('.') != std::string::npos;
    return writeTo(m, hasExtension ? a.saveName : a.saveName + ".qvs", messages);
}

bool save(Model& m, const Action& a, std::vector<std::string>& messages) {
    return m.file.empty() ? saveAs(m, a, messages) : writeTo(m, m.file, messages);
}

// The question before unsaved changes go; true when the command goes on.
bool mayDiscard(Model& m, const Action& a, std::vector<std::string>& messages) {
    if (!unsaved(m)) return true;
    messages.push_back("Save changes to " + (m.file.empty() ? std::string("Untitled") : m.file) + "?");
    if (a.answer == Answer::Cancel) return false;
    return a.answer == Answer::DontSave || save(m, a, messages);
}

// "New" after its question: both lists empty, the course buttons disabled,
// no option and no favourite. Results left open stop showing any timetable
// marked.
void clearSchedule(Model& m) {
    m.courses.clear();
    m.selectedCourse = m.selectedSection = -1;
    m.addSection = m.removeSection = m.removeCourse = m.timeTablify = false;
    m.options = {};
    m.favourites.clear();
    m.favouritesView = false;
    m.undoSteps.clear();
    m.redoSteps.clear();
    if (m.resultsOpen) setSteps(m);
}

void load(Model& m, const Action& a, std::vector<std::string>& messages) {
    if (!mayDiscard(m, a, messages) || a.loadName.empty()) return;
    if (a.loadName == EmptyFile)
        return messages.push_back("Cannot load \"" + Scratch + EmptyFile + "\": the file is empty.");
    m.resultsOpen = m.gridLoaded = false;
    clearSchedule(m);
    const FileRec& file = m.files[a.loadName];
    m.courses = file.courses;
    for (CourseRec& c : m.courses)
        for (SectionRec& s : c.sections) s.course = c.name;  // a loaded section belongs to its course by name
    // Favourites come back as the sections at their places; they show
    // marked when a generation finds them.
    for (const std::vector<int>& places : file.favourites) {
        std::vector<SectionRec> favourite;
        for (size_t c = 0; c < places.size(); ++c)
            favourite.push_back(m.courses[c].sections[static_cast<size_t>(places[c])]);
        m.favourites.push_back(favourite);
    }
    m.options = file.options;
    m.file = a.loadName;
    m.saved = m.document();
    activation(m);
}

// A command key does what its button does, and nothing where the button is
// disabled. A dialog it opens shows as "opened" and its title.
void mainKey(Model& m, const Action& a, std::vector<std::string>& messages) {
    Action press = a;
    switch (a.key) {
    case KeyDelete:
        press.kind = m.selectedSection >= 0 ? Kind::RemoveSection : Kind::RemoveCourse;
        messages = apply(press, m);
        break;
    case KeyInsert:
        if (!m.addSection || !m.addSectionEnabled()) break;
        messages.push_back("opened Add Section");
        activation(m);
        break;
    case KeyCtrlInsert:
        if (!m.addCourse()) break;
        messages.push_back("opened Add Course");
        activation(m);
        break;
    case KeyCtrlQ:
        mayDiscard(m, a, messages);  // answered "Cancel"
        break;
    }
}

Snapshot snapshotOf(const Model& m) { return {m.courses, m.favourites, m.options}; }

// A command that changed the courses, their sections or the options is a
// step Undo takes back; a new step forgets what could be redone.
void record(Model& m, Snapshot before) {
    if (sameSchedule(before.courses, m.courses) && before.options == m.options) return;
    m.undoSteps.push_back(std::move(before));
    if (m.undoSteps.size() > 100) m.undoSteps.erase(m.undoSteps.begin());
    m.redoSteps.clear();
}

// Undo and Redo: the schedule of the step comes back with its favourites,
// and those marked since that take sections it holds. The course selected
// stays selected where it is still there; no section is.
void takeStep(Model& m, std::vector<Snapshot>& from, std::vector<Snapshot>& to) {
    if (from.empty()) return;
    to.push_back(snapshotOf(m));
    Snapshot back = std::move(from.back());
    from.pop_back();
    std::vector<std::vector<SectionRec>> marked = std::move(back.favourites);
    for (const std::vector<SectionRec>& f : m.favourites) {
        const bool there = std::any_of(marked.begin(), marked.end(),
                                       [&](const std::vector<SectionRec>& g) { return sameSections(f, g); });
        if (!there && marked.size() < StoredCapacity) marked.push_back(f);
    }
    m.courses = std::move(back.courses);
    m.options = back.options;
    m.favourites = std::move(marked);
    if (m.selectedCourse >= static_cast<int>(m.courses.size())) m.selectedCourse = -1;
    m.selectedSection = -1;
    m.removeSection = false;
    m.addSection = m.removeCourse = m.selectedCourse >= 0;
    if (m.courses.empty())
        m.timeTablify = false;
    else if (!m.courses[0].sections.empty())
        m.timeTablify = true;
    forgetRemovedFavourites(m);
}

// The user clicks a section line of the selected course.
void clickSection(Model& m, int line) {
    m.selectedSection = line;
    m.removeSection = true;
}

void clickCourse(Model& m, int line) {
    m.selectedCourse = line;
    m.addSection = m.removeCourse = true;
    m.selectedSection = -1;
}

// One opening of each dialog; false when its last "Ok" was refused, which
// the user answers with "Cancel".
bool addCourse(Model& m, const std::string& name, const Action& a, std::vector<std::string>& messages) {
    if (!m.addCourse()) return false;  // "Add Course" is disabled when the store is full
    if (a.emptyFirst) messages.push_back(EmptyName);
    const bool full = m.courses.size() >= CourseCapacity;
    if (a.ending == Ending::Ok && full) messages.push_back(CoursesFull);
    if (a.ending == Ending::Ok && !full) {
        Snapshot before = snapshotOf(m);
        m.courses.push_back({name, {}});
        // The new course is selected, ready for its first section.
        clickCourse(m, static_cast<int>(m.courses.size()) - 1);
        record(m, std::move(before));
    }
    activation(m);
    return a.ending != Ending::Ok || !full;
}

bool addSection(Model& m, SectionRec entry, const Action& a, std::vector<std::string>& messages) {
    if (a.line >= 0) clickCourse(m, a.line);
    if (!m.addSection) return true;            // a disabled button opens nothing
    if (!m.addSectionEnabled()) return false;  // and is disabled when the course is full
    if (a.defect != Defect::None) messages.push_back(a.defect == Defect::EndNotAfterStart ? EndNotAfter : Incomplete);
    if (a.clash && !entry.more.empty())
        messages.push_back(timesClash(timeLine({entry.start, entry.end, entry.days}), timeLine(clashOf(entry))));
    CourseRec& course = m.courses[static_cast<size_t>(m.selectedCourse)];
    const bool full = course.sections.size() >= SectionCapacity;
    if (a.ending == Ending::Ok && full) messages.push_back(SectionsFull);
    entry.course = course.name;
    if (a.ending == Ending::Ok && !full) {
        Snapshot before = snapshotOf(m);
        m.courses[static_cast<size_t>(m.selectedCourse)].sections.push_back(entry);
        record(m, std::move(before));
    }
    activation(m);
    return a.ending != Ending::Ok || !full;
}

// Edit: the section line clicked, its dialog opened, the section replaced
// in place by "Ok" (its left-out mark kept; a favourite holding the old one
// forgotten), and the line selected again afterwards. Duplicate: a copy
// added at the course's end by "Ok", taken, its number retyped when the
// action says; nothing where the course is full.
void changeSection(Model& m, const Action& a) {
    clickSection(m, a.line);
    std::vector<SectionRec>& sections = m.courses[static_cast<size_t>(m.selectedCourse)].sections;
    const std::string course = m.courses[static_cast<size_t>(m.selectedCourse)].name;
    Snapshot before = snapshotOf(m);
    if (a.kind == Kind::DuplicateSection) {
        if (sections.size() >= SectionCapacity) return;
        SectionRec copy = sections[static_cast<size_t>(a.line)];
        copy.leftOut = false;
        copy.course = course;
        if (!a.name.empty()) copy.number = a.name;
        if (a.ending == Ending::Ok) sections.push_back(copy);
        record(m, std::move(before));
        activation(m);
        return;
    }
    if (a.ending == Ending::Ok) {
        SectionRec entry = a.section;
        entry.course = course;
        entry.leftOut = sections[static_cast<size_t>(a.line)].leftOut;
        sections[static_cast<size_t>(a.line)] = entry;
        record(m, std::move(before));
        forgetRemovedFavourites(m);
    }
    activation(m);
    clickSection(m, a.line);
}

// Rename: the course line clicked, then renamed by "Ok"; its sections and
// the favourites taking them follow the name (stored timetables do not).
void renameCourse(Model& m, const Action& a) {
    clickCourse(m, a.line);
    CourseRec& course = m.courses[static_cast<size_t>(a.line)];
    Snapshot before = snapshotOf(m);
    if (a.ending == Ending::Ok) {
        const std::string old = course.name;
        course.name = a.name;
        for (SectionRec& s : course.sections)
            if (s.course == old) s.course = a.name;
        for (std::vector<SectionRec>& f : m.favourites)
            if (static_cast<size_t>(a.line) < f.size() && f[static_cast<size_t>(a.line)].course == old)
                f[static_cast<size_t>(a.line)].course = a.name;
        record(m, std::move(before));
    }
    followFavourites(m);
    activation(m);
}

// "Get Sections" by the model's own reading of a listing: every row its own
// section of one time (a generated listing never repeats a course and
// number), already there only when a section of that number has exactly
// that one time, each
// time to the nearest half-hour with a quarter past or to going inward (a
// start later, an end earlier) and a meeting never vanishing; refused
// without days, ending before it starts, or outside 8:00 to 22:30 once on
// the grid, and past a capacity. The preview's count line is the message.
void getSections(Model& m, const Action& a, std::vector<std::string>& messages) {
    std::vector<CourseRec> will = m.courses;
    int add = 0, newCourses = 0, there = 0, refused = 0;
    for (const ListingRowRec& row : a.listing) {
        const int start = row.start / 30 * 30 + (row.start % 30 >= 15 ? 30 : 0);
        int end = row.end / 30 * 30 + (row.end % 30 > 15 ? 30 : 0);
        if (end <= start) end = start + 30;
        if (row.days == 0 || row.end <= row.start || start < 8 * 60 || end > 22 * 60 + 30) {
            ++refused;
            continue;
        }
        const SectionRec section{row.number, row.course, (start - 8 * 60) / 30, (end - 8 * 60) / 30, row.days, {}};
        auto course = std::find_if(will.begin(), will.end(), [&](const CourseRec& c) { return c.name == row.course; });
        if (course == will.end()) {
            if (will.size() >= CourseCapacity) {
                ++refused;
                continue;
            }
            will.push_back({row.course, {section}});
            ++add;
            ++newCourses;
            continue;
        }
        const bool same = std::any_of(course->sections.begin(), course->sections.end(), [&](const SectionRec& s) {
            return s.number == section.number && s.start == section.start && s.end == section.end &&
                   s.days == section.days && s.more == section.more;
        });
        if (same)
            ++there;
        else if (course->sections.size() >= SectionCapacity)
            ++refused;
        else {
            course->sections.push_back(section);
            ++add;
        }
    }
    std::string summary = std::to_string(add) + (add == 1 ? " section to add" : " sections to add");
    if (newCourses > 0)
        summary += " (" + std::to_string(newCourses) + (newCourses == 1 ? " new course)" : " new courses)");
    messages.push_back("Get Sections: " + summary + ", " + std::to_string(there) + " already there, " +
                       std::to_string(refused) + " refused");
    Snapshot before = snapshotOf(m);
    if (a.ending == Ending::Ok) m.courses = will;
    record(m, std::move(before));
    activation(m);
}

}  // namespace

std::string withDetails(const std::string& text, const std::string& details) { return text + "\n--\n" + details; }

const char* const MainKeys[MainKeyCount] = {"Delete", "Insert", "Ctrl+Insert", "Ctrl+Q"};

const char* const Commands[12] = {"cmdNewMain", "cmdAddCrs", "cmdAddSec", "cmdRemCourse", "cmdRemSec", "cmdMakeTime",
                                  "cmdExit",    "cmdOk",     "cmdPrev",   "cmdNext",      "cmdSave",   "cmdLoad"};

std::string timeText(int slot) { return std::to_string(8 + slot / 2) + (slot % 2 ? ":30" : ":00"); }

std::string timeLine(const TimeRec& t) {
    static const char* const abbreviations[7] = {"M", "T", "W", "Th", "F", "S", "Su"};
    std::string line = timeText(t.start) + " - " + timeText(t.end);
    for (int d = 0; d < 7; ++d)
        if (t.days & (1U << d)) line += std::string(" ") + abbreviations[d];
    return line;
}

std::string sectionLine(const SectionRec& s) {
    std::string line = s.number + "  " + timeLine({s.start, s.end, s.days});
    for (const TimeRec& t : s.more) line += ", " + timeLine(t);
    return line;
}

std::bitset<203> cellsOf(const TimeRec& t) {
    std::bitset<203> cells;
    for (int d = 0; d < 7; ++d)
        for (int slot = t.start; slot < t.end && (t.days & (1U << d)); ++slot)
            cells.set(static_cast<size_t>(d * 29 + slot));
    return cells;
}

std::bitset<203> cellsOf(const SectionRec& s) {
    std::bitset<203> cells = cellsOf(TimeRec{s.start, s.end, s.days});
    for (const TimeRec& t : s.more) cells |= cellsOf(t);
    return cells;
}

TimeRec clashOf(const SectionRec& s) { return {s.start, s.start + 1, s.days}; }

std::string courseName(const Action& a, int i) { return a.repeat > 1 ? a.name + std::to_string(i + 1) : a.name; }

SectionRec sectionEntry(const Action& a, int i) {
    if (a.repeat == 1) return a.section;
    // Thursday to Sunday afternoons: rarely in the way of the others.
    return {a.section.number + std::to_string(i + 1), "", 10 + 2 * (i / 4), 12 + 2 * (i / 4), 1U << (3 + i % 4), {}};
}

std::string Model::title() const {
    const std::string mark = unsaved(*this) ? "*" : "";
    return file.empty() ? Caption + mark : file + mark + " - " + Caption;
}

bool Model::addCourse() const { return courses.size() < CourseCapacity; }

bool Model::addSectionEnabled() const {
    return addSection && courses[static_cast<size_t>(selectedCourse)].sections.size() < SectionCapacity;
}

FileRec Model::document() const {
    FileRec file{courses, {}, options};
    // A favourite is written when each of its sections is still among its
    // course's (the first of two alike); the others can never come back.
    for (const std::vector<SectionRec>& favourite : favourites) {
        if (favourite.size() != courses.size() || courses.empty()) continue;
        std::vector<int> places;
        for (size_t c = 0; c < courses.size(); ++c) {
            const std::vector<SectionRec>& sections = courses[c].sections;
            const auto at = std::find_if(sections.begin(), sections.end(), [&](const SectionRec& s) {
                return s.course == favourite[c].course && sameEntry(s, favourite[c]);
            });
            if (at == sections.end()) break;
            places.push_back(static_cast<int>(at - sections.begin()));
        }
        if (places.size() == courses.size()) file.favourites.push_back(places);
    }
    std::sort(file.favourites.begin(), file.favourites.end());
    return file;
}

std::vector<std::string> Model::sectionLines() const {
    std::vector<std::string> lines;
    if (selectedCourse >= 0)
        for (const SectionRec& s : courses[static_cast<size_t>(selectedCourse)].sections)
            lines.push_back(sectionLine(s) + (s.leftOut ? LeftOutMark : ""));
    return lines;
}

bool Model::isFavourite(int position) const {
    return std::any_of(favourites.begin(), favourites.end(), [&](const std::vector<SectionRec>& f) {
        return sameSections(f, timetables[static_cast<size_t>(position)]);
    });
}

int Model::shownFavourites() const {
    int shown = 0;
    for (int p = 0; p < static_cast<int>(timetables.size()); ++p) shown += isFavourite(p) ? 1 : 0;
    return shown;
}

std::string Model::note() const {
    std::vector<std::string> notes;
    // More than the 26 kept: every timetable is counted after they are
    // shown (the session waits for it), and the note says how many.
    if (moreThanStored)
        notes.push_back(shownOptions.order != 0 ? "The 26 best of " + grouped(total) + " are shown"
                                                : "26 of " + grouped(total) + " timetables are shown");
    const int missing = static_cast<int>(favourites.size()) - shownFavourites();
    if (missing == 1) notes.push_back("1 favourite is not among these timetables");
    if (missing > 1) notes.push_back(std::to_string(missing) + " favourites are not among these timetables");
    std::string joined;
    for (const std::string& n : notes) joined += (joined.empty() ? "" : "\n") + n;
    return joined;
}

std::vector<int> Model::steps() const {
    std::vector<int> out;
    for (int p = 0; p < static_cast<int>(timetables.size()); ++p)
        if (!favouritesView || isFavourite(p)) out.push_back(p);
    return out;
}

std::string Model::scoreCaption() const {
    if (shownOptions.order == 0 || timetables.empty()) return "";
    const std::vector<SectionRec>& shown = timetables[static_cast<size_t>(current)];
    std::string caption = scoreWords(shownOptions.order, shown);
    if (shownOptions.then != 0 && shownOptions.then != shownOptions.order)
        caption += ", " + scoreWords(shownOptions.then, shown);
    return caption;
}

int Model::stepIndex() const {
    const std::vector<int> all = steps();
    return static_cast<int>(std::find(all.begin(), all.end(), current) - all.begin());
}

bool onResultsFrame(Kind kind) {
    return (kind >= Kind::Next && kind <= Kind::CloseFrame) || kind == Kind::Favourite ||
           kind == Kind::GoToFavourites || kind == Kind::StepKey || kind == Kind::Export;
}

bool applicable(const Action& a, const Model& m) {
    switch (a.kind) {
    case Kind::AddSection:
        return a.line < static_cast<int>(m.courses.size()) && (a.repeat == 1 || a.line >= 0);
    case Kind::SelectCourse:
        return a.line >= 0 && a.line < static_cast<int>(m.courses.size());
    case Kind::SelectSection:
        return a.line >= 0 && a.line < static_cast<int>(m.sectionLines().size());
    case Kind::CloseGrid:
        return m.gridLoaded;
    case Kind::ReturnToMain:
        return !m.mainActive;
    case Kind::MainKey:
        return a.key != KeyCtrlQ || (unsaved(m) && a.answer == Answer::Cancel);
    case Kind::Load:
        return a.loadName.empty() || m.files.count(a.loadName) > 0;
    case Kind::EditSection:
    case Kind::DuplicateSection:
    case Kind::LeaveOut:
        return a.line >= 0 && a.line < static_cast<int>(m.sectionLines().size());
    case Kind::RenameCourse:
        return a.line >= 0 && a.line < static_cast<int>(m.courses.size());
    default:
        return !onResultsFrame(a.kind) || m.resultsOpen;
    }
}

std::vector<std::string> apply(const Action& a, Model& m) {
    // A press action acts as a click does, and only on an enabled button. A
    // command pressed while a dialog is open (a.intrude) is refused: one
    // command at a time, so it changes nothing here.
    std::vector<std::string> messages;
    Snapshot before;
    if (onResultsFrame(a.kind))
        m.mainActive = false;
    else if (!m.mainActive)
        activation(m);  // the user goes back to the main window first
    switch (a.kind) {
    case Kind::AddCourse:
        for (int i = 0; i < a.repeat; ++i)
            if (!addCourse(m, courseName(a, i), a, messages)) break;
        break;
    case Kind::AddSection:
        for (int i = 0; i < a.repeat; ++i)
            if (!addSection(m, sectionEntry(a, i), a, messages)) break;
        break;
    case Kind::SelectCourse:
        clickCourse(m, a.line);
        break;
    case Kind::SelectSection:
        m.selectedSection = a.line;
        m.removeSection = true;
        break;
    case Kind::RemoveCourse:
        if (!m.removeCourse) break;
        before = snapshotOf(m);
        m.courses.erase(m.courses.begin() + m.selectedCourse);
        m.selectedCourse = m.selectedSection = -1;
        m.addSection = m.removeCourse = false;
        if (m.courses.empty()) m.timeTablify = false;
        forgetRemovedFavourites(m);
        record(m, std::move(before));
        break;
    case Kind::RemoveSection:
        if (!m.removeSection) break;
        m.removeSection = false;
        if (m.selectedSection < 0) {
            messages.push_back(NothingToRemove);
            break;
        }
        before = snapshotOf(m);
        m.courses[static_cast<size_t>(m.selectedCourse)].sections.erase(
            m.courses[static_cast<size_t>(m.selectedCourse)].sections.begin() + m.selectedSection);
        m.selectedSection = -1;
        forgetRemovedFavourites(m);
        record(m, std::move(before));
        break;
    case Kind::New:
        if (!mayDiscard(m, a, messages)) break;
        clearSchedule(m);
        m.file.clear();
        m.saved = {};
        break;
    case Kind::TimeTablify:
        if (!m.timeTablify) break;
        // Every press discards the earlier results, and open ones close
        // (to be replaced when this generation finds timetables).
        m.resultsOpen = m.gridLoaded = m.moreThanStored = false;
        m.current = 0;
        m.timetables.clear();
        if (std::any_of(m.courses.begin(), m.courses.end(), [](const CourseRec& c) { return c.sections.empty(); })) {
            std::string without = "Courses without a section:";
            for (const CourseRec& c : m.courses)
                if (c.sections.empty()) without += "\n" + c.name;
            messages.push_back(withDetails(AllNeedSection, without));
            break;
        }
        {
            const auto leftOut = std::find_if(m.courses.begin(), m.courses.end(), [](const CourseRec& c) {
                return std::all_of(c.sections.begin(), c.sections.end(), [](const SectionRec& s) { return s.leftOut; });
            });
            if (leftOut != m.courses.end()) {
                messages.push_back(allLeftOut(leftOut->name));
                break;
            }
            // A section left out or in a busy half-hour is left out as if it
            // did not exist.
            std::vector<CourseRec> usable = m.courses;
            for (CourseRec& c : usable)
                std::erase_if(c.sections,
                              [&](const SectionRec& s) { return s.leftOut || (cellsOf(s) & m.options.busy).any(); });
            const auto blocked =
                std::find_if(usable.begin(), usable.end(), [](const CourseRec& c) { return c.sections.empty(); });
            if (blocked != usable.end()) {
                messages.push_back("Every section of " + blocked->name + " falls in your busy times");
                break;
            }
            // Ranked: every timetable, the best 26 kept.
            const bool ranked = m.options.order != 0;
            std::vector<SectionRec> chosen(usable.size());
            search(usable, static_cast<int>(usable.size()) - 1, {}, chosen, ranked ? SIZE_MAX : StoredCapacity + 1,
                   m.timetables);
            if (ranked) rank(m.timetables, m.options);
            m.shownOptions = m.options;
            m.moreThanStored = m.timetables.size() > StoredCapacity;
            if (m.moreThanStored) m.timetables.resize(StoredCapacity);
            m.total = m.moreThanStored ? countAll(usable, static_cast<int>(usable.size()) - 1, {}) : 0;
            if (m.timetables.empty()) {
                messages.push_back(withDetails(NoTimetables, whyNothingFits(usable)));
                break;
            }
        }
        m.resultsOpen = true;
        m.mainActive = false;
        m.favouritesView = false;
        // Favourites it did not find stay marked, for a later generation.
        loadGrid(m);
        break;
    case Kind::Next:
    case Kind::Previous:
        if (!(a.kind == Kind::Next ? m.next : m.previous)) break;
        showAt(m, m.steps()[static_cast<size_t>(m.stepIndex() + (a.kind == Kind::Next ? 1 : -1))]);
        break;
    case Kind::StepKey: {
        const std::vector<int> all = m.steps();
        const int at = m.stepIndex();
        int to = at;
        if (a.key == KeyRight || a.key == KeyPageDown) to = std::min(at + 1, static_cast<int>(all.size()) - 1);
        if (a.key == KeyLeft || a.key == KeyPageUp) to = std::max(at - 1, 0);
        if (a.key == KeyHome) to = 0;
        if (a.key == KeyEnd) to = static_cast<int>(all.size()) - 1;
        if (to != at) showAt(m, all[static_cast<size_t>(to)]);
        break;
    }
    case Kind::Favourite:
        toggleFavourite(m);
        break;
    case Kind::GoToFavourites:
        if (m.favouritesView) {
            m.favouritesView = false;
            setSteps(m);
        } else if (m.shownFavourites() > 0) {
            m.favouritesView = true;
            if (m.isFavourite(m.current))
                setSteps(m);
            else
                showAt(m, m.steps().front());
        }
        break;
    case Kind::Export:
        // A calendar over one week, Monday to Sunday: one event for each
        // day each time of each section of the timetable shown meets.
        if (a.key == 0) {
            m.exportedEvents = 0;
            for (const SectionRec& s : m.timetables[static_cast<size_t>(m.current)]) {
                std::vector<TimeRec> times{{s.start, s.end, s.days}};
                times.insert(times.end(), s.more.begin(), s.more.end());
                for (const TimeRec& t : times)
                    for (int d = 0; d < 7; ++d) m.exportedEvents += (t.days >> d) & 1U;
            }
        }
        break;
    case Kind::Ok:
    case Kind::CloseFrame:
        m.resultsOpen = m.gridLoaded = false;
        activation(m);  // the user is back at the main window
        break;
    case Kind::CloseGrid:
        break;  // refused: the grid window goes only with the results
    case Kind::ReturnToMain:
        break;
    case Kind::Save:
        save(m, a, messages);
        break;
    case Kind::SaveAs:
        saveAs(m, a, messages);
        break;
    case Kind::Load:
        load(m, a, messages);
        break;
    case Kind::MainKey:
        mainKey(m, a, messages);
        break;
    case Kind::MoveMain:
        break;  // nothing changes; the dialogs open over the main window where it is now
    case Kind::Options:
        // "OK" keeps what the dialog shows; the second order can be picked
        // only under an order other than "First found".
        before = snapshotOf(m);
        if (a.ending == Ending::Ok) {
            for (const BusyEdit& e : a.busyEdits) editBusy(m.options.busy, e);
            m.options.order = a.order;
            if (a.order != 0) m.options.then = a.then;
        }
        record(m, std::move(before));
        activation(m);
        break;
    case Kind::GetSections:
        getSections(m, a, messages);
        break;
    case Kind::EditSection:
    case Kind::DuplicateSection:
        changeSection(m, a);
        break;
    case Kind::RenameCourse:
        renameCourse(m, a);
        break;
    case Kind::LeaveOut: {
        clickSection(m, a.line);
        before = snapshotOf(m);
        SectionRec& s = m.courses[static_cast<size_t>(m.selectedCourse)].sections[static_cast<size_t>(a.line)];
        s.leftOut = !s.leftOut;
        record(m, std::move(before));
        break;
    }
    case Kind::Undo:
        takeStep(m, m.undoSteps, m.redoSteps);
        break;
    case Kind::Redo:
        takeStep(m, m.redoSteps, m.undoSteps);
        break;
    }
    return messages;
}

}  // namespace quorvandel::model
