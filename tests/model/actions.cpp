// The action catalogue: random actions fitted to the model's state, and
// their readable text.
#include <algorithm>
#include <iterator>
#include <numeric>
#include <random>

#include "model.h"

namespace quorvandel::model {

namespace {

std::string entryText(const SectionRec& s) {
    return "'" + s.number + "' " + sectionLine(s).substr(s.number.size() + 2);
}

std::string ending(Ending e) { return e == Ending::Cancel ? "Cancel" : e == Ending::Close ? "close button" : ""; }

std::string answerText(Answer a) {
    return a == Answer::Save ? "Save" : a == Answer::DontSave ? "Don't Save" : "Cancel";
}

std::string dialogText(const std::string& name) { return name.empty() ? "Cancel" : "'" + name + "'"; }

// The kinds of Kind up to Load. The weights and the picks count them first,
// then the two that fill a store, then the rest of Kind.
constexpr int Kinds = static_cast<int>(Kind::Load) + 1;

class Chooser {
public:
    explicit Chooser(uint32_t seed) : rng_(seed) {}
    int below(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    bool percent(int p) { return below(100) < p; }
    Ending pickEnding(int okPercent) {
        return percent(okPercent) ? Ending::Ok : percent(60) ? Ending::Cancel : Ending::Close;
    }

    // Short sections, mostly on Monday and Tuesday mornings: they clash
    // often but not always, and every search is instant. Half are Monday
    // 8:00-9:00 for a course's odd sections and Tuesday for its even ones:
    // courses of one such section clash pair by pair, courses of two only
    // three at a time.
    SectionRec section(size_t sectionsSoFar) {
        static const char* const numbers[] = {"01", "02", "03", "1", "2", "A", "B2", " ", "10"};
        SectionRec s{numbers[below(9)], "", below(6), 0, 0, {}};
        s.end = s.start + 1 + below(3);
        if (percent(50)) {
            s.start = 0;
            s.end = 2;
            s.days = 1U << (sectionsSoFar % 2);
            return s;
        }
        const int r = below(100);
        if (r < 65)
            s.days = 1U << below(2);
        else if (r < 90)
            s.days = (1U << below(5)) | (1U << below(5));  // one or two weekdays
        else
            s.days = r < 96 ? 1U << (5 + below(2)) : 0x7f;  // Saturday or Sunday, or every day
        return s;
    }

    // Now and then a section with a lab: one or two further times of up to
    // three hours on Monday to Wednesday mornings (where they meet the
    // others), none sharing a half-hour with the section's other times; and
    // sometimes a clashing time refused on the way.
    void moreTimes(Action& a) {
        if (a.defect != Defect::None || !percent(20)) return;
        for (int n = 1 + below(2); n > 0; --n) {
            TimeRec t{below(8), 0, 1U << below(3)};
            t.end = t.start + 1 + below(6);
            if ((cellsOf(a.section) & cellsOf(t)).none()) a.section.more.push_back(t);
        }
        a.clash = !a.section.more.empty() && percent(30);
    }

    // Busy times mostly where the sections are, on Monday and Tuesday
    // mornings, so that they leave sections out; any two orders.
    void options(Action& a) {
        const auto someCell = [this] { return percent(80) ? below(2) * 29 + below(8) : below(203); };
        for (int n = below(4); n > 0; --n) {
            BusyEdit e;
            const int r = below(100);
            if (r < 75) {
                e.from = someCell();
                e.to = percent(50) ? e.from : someCell();
            } else {
                e.what = r < 85 ? BusyEdit::DayHeader : r < 93 ? BusyEdit::TimeLabel : BusyEdit::Clear;
                e.from = e.what == BusyEdit::DayHeader ? below(7) : below(29);
            }
            a.busyEdits.push_back(e);
        }
        a.order = percent(35) ? 0 : 1 + below(4);
        a.then = below(5);
        a.ending = pickEnding(75);
    }

    // One to four rows, each its own course and number: a stored course's
    // name or a new one, now and then a stored section copied exactly (to
    // be "Already there"); times mostly on the grid, some a few minutes
    // off it, some before 8:00, ending before they start, or without days.
    void listing(const Model& m, Action& a) {
        std::vector<std::string> names = {"L1", "L2", "Chem 101"};
        for (const CourseRec& c : m.courses)
            if (!c.name.empty() && c.name.front() != ' ' && c.name.back() != ' ') names.push_back(c.name);
        static const int offsets[] = {0, 0, 0, 0, 5, 15, -15, 20, -5};
        for (int n = 1 + below(4); n > 0; --n) {
            ListingRowRec row{names[static_cast<size_t>(below(static_cast<int>(names.size())))],
                              std::to_string(a.listing.size() + 1), 1U << below(7), 0, 0};
            if (percent(30)) row.days |= 1U << below(5);
            row.start = 8 * 60 + 30 * below(27) + offsets[below(9)];
            row.end = row.start + 30 * (1 + below(4)) + offsets[below(9)];
            const auto stored = std::find_if(m.courses.begin(), m.courses.end(),
                                             [&](const CourseRec& c) { return c.name == row.course; });
            if (stored != m.courses.end() && !stored->sections.empty() && percent(40)) {
                const SectionRec& s =
                    stored->sections[static_cast<size_t>(below(static_cast<int>(stored->sections.size())))];
                if (s.number.find_first_of(" ,\t") == std::string::npos && !s.number.empty())
                    row = {row.course, s.number, s.days, 8 * 60 + 30 * s.start, 8 * 60 + 30 * s.end};
            }
            const int r = below(100);
            if (r < 5)
                row.days = 0;
            else if (r < 10)
                row.start = 7 * 60;
            else if (r < 14)
                std::swap(row.start, row.end);
            const bool repeated = std::any_of(a.listing.begin(), a.listing.end(), [&](const ListingRowRec& l) {
                return l.course == row.course && l.number == row.number;
            });
            if (!repeated) a.listing.push_back(row);
        }
        a.key = below(2);
        a.ending = pickEnding(80);
    }

    // Edit, duplicate, rename and leave out act on a line of the lists as
    // they are; an edit gives new times the way "Add Section" does.
    void change(const Model& m, Action& a, int& counter) {
        const int lines = static_cast<int>(m.sectionLines().size());
        a.key = below(3);
        switch (a.kind) {
        case Kind::EditSection:
            a.line = below(lines);
            a.section = section(static_cast<size_t>(a.line));
            if (percent(30))
                a.section.number =
                    m.courses[static_cast<size_t>(m.selectedCourse)].sections[static_cast<size_t>(a.line)].number;
            moreTimes(a);
            a.clash = false;
            a.ending = pickEnding(80);
            break;
        case Kind::DuplicateSection:
            a.line = below(lines);
            a.name = percent(50) ? "D" + std::to_string(++counter) : "";
            a.ending = pickEnding(80);
            break;
        case Kind::RenameCourse:
            a.line = below(static_cast<int>(m.courses.size()));
            a.name = percent(15) ? m.courses[static_cast<size_t>(below(static_cast<int>(m.courses.size())))].name
                                 : "R" + std::to_string(++counter);
            a.ending = pickEnding(80);
            break;
        case Kind::LeaveOut:
            a.line = below(lines);
            break;
        case Kind::Redo:
            a.key = below(2);
            break;
        default:
            break;
        }
    }

    Action next(const Model& m, int& counter) {
        const int courses = static_cast<int>(m.courses.size());
        const int lines = static_cast<int>(m.sectionLines().size());
        const bool open = m.resultsOpen;
        // In the order of Kind up to Load, then the two that fill a store to
        // its capacity, then the rest of Kind.
        // clang-format off
        const int weights[Kinds + 2 + 14] = {courses < 2 ? 40 : 14, courses ? 40 : 4, courses ? 14 : 0, lines ? 12 : 0, 7, 8, 5,
                               m.timeTablify ? 30 : 3, open ? 20 : 0, open ? 12 : 0, open ? 3 : 0,
                               m.gridLoaded ? 4 : 0, open ? 3 : 0, m.mainActive ? 0 : 6, 8, 3, 8, 1, courses ? 1 : 0,
                               open ? 12 : 0, open ? 6 : 0, open ? 16 : 0, open ? 2 : 0, 7, courses ? 8 : 2, 2, 6,
                               lines ? 10 : 0, lines ? 5 : 0, courses ? 6 : 0, lines ? 10 : 0,
                               m.undoSteps.empty() ? 1 : 14, m.redoSteps.empty() ? 1 : 8};
        // clang-format on
        int r = below(std::accumulate(std::begin(weights), std::end(weights), 0)), k = 0;
        while (r >= weights[k]) r -= weights[k++];
        Action a;
        // The answers of every question the action may meet.
        a.answer = static_cast<Answer>(below(3));
        static const char* const saveNames[] = {"", "a.qvs", "a.qvs", "b", "b", FolderName.c_str()};
        a.saveName = saveNames[below(6)];
        if (!percent(15)) {
            auto file = m.files.begin();
            std::advance(file, below(static_cast<int>(m.files.size())));
            a.loadName = file->first;
        }
        // After the two that fill a store, the rest of Kind.
        if (k >= Kinds + 2) {
            a.kind = static_cast<Kind>(k - 2);
            a.key = a.kind == Kind::StepKey ? below(StepKeyCount) : below(2);
            if (a.kind == Kind::Options) options(a);
            if (a.kind == Kind::MoveMain) a.key = below(MainPlaces);
            if (a.kind == Kind::GetSections) listing(m, a);
            if (a.kind >= Kind::EditSection) change(m, a, counter);
            if (a.kind == Kind::MainKey) {
                a.key = below(MainKeyCount);
                // Exit only where its question comes, and answered "Cancel".
                if (a.key == KeyCtrlQ && m.title().find('*') == std::string::npos) a.key = KeyDelete;
                if (a.key == KeyCtrlQ) a.answer = Answer::Cancel;
            }
            return a;
        }
        if (k >= Kinds) {  // entries until the store refuses one
            a.kind = k == Kinds ? Kind::AddCourse : Kind::AddSection;
            a.repeat = (k == Kinds ? CourseCapacity : SectionCapacity) + 1;
            a.name = "F";
            a.section.number = "S";
            a.line = courses ? below(courses) : -1;
            return a;
        }
        a.kind = static_cast<Kind>(k);
        // Rare: Qt's press action takes a tenth of a second to click.
        a.pressAction = a.kind >= Kind::RemoveCourse && a.kind <= Kind::Ok && percent(1);
        a.enterKey = !a.pressAction && a.kind >= Kind::RemoveCourse && a.kind <= Kind::Ok && percent(5);
        if ((a.kind == Kind::AddCourse || a.kind == Kind::AddSection) && percent(1))
            a.intrude = below(static_cast<int>(std::size(Commands)) + MainKeyCount);
        switch (a.kind) {
        case Kind::AddCourse: {
            a.emptyFirst = percent(15);
            a.ending = pickEnding(a.emptyFirst ? 65 : 85);
            const int n = below(20);
            if (n < 2)
                a.name = n == 0 ? " " : "Chem 101";
            else if (n == 2 && courses)
                a.name = m.courses[static_cast<size_t>(below(courses))].name;  // the same name twice
            else
                a.name = "C" + std::to_string(++counter);
            break;
        }
        case Kind::AddSection:
            a.line = courses && percent(80) ? below(courses) : -1;
            // Mostly the first course without sections, so that generations
            // get past their check.
            if (a.line >= 0 && percent(60))
                for (int i = courses - 1; i >= 0; --i)
                    if (m.courses[static_cast<size_t>(i)].sections.empty()) a.line = i;
            {
                const int course = a.line >= 0 ? a.line : m.selectedCourse;
                a.section = section(course >= 0 ? m.courses[static_cast<size_t>(course)].sections.size() : 0);
            }
            if (percent(30)) {
                a.defect = static_cast<Defect>(1 + below(5));
                a.badEnd = below(a.section.start + 1);
            }
            moreTimes(a);
            a.ending = pickEnding(a.defect == Defect::None ? 88 : 60);
            break;
        case Kind::SelectCourse:
            a.line = below(courses);
            break;
        case Kind::SelectSection:
            a.line = below(lines);
            break;
        default:
            break;
        }
        return a;
    }

private:
    std::mt19937 rng_;
};

std::string describeCommand(const Action& a) {
    // clang-format off
    static const char* const names[] = {"", "", "click course line ", "click section line ", "Remove Course",
                                        "Remove Section", "New", "TimeTablify!", "Next", "Previous", "OK",
                                        "close the grid view", "close the results frame", "back to the main window",
                                        "Save", "Save As (Ctrl+Shift+S)", "Load",
                                        "", "Go To Favorites", "", "", ""};
    static const char* const stepKeys[] = {"Right", "Page Down", "Left", "Page Up", "Home", "End"};
    static const char* const defects[] = {"", "no section number", "no day", "no start hour", "no end hour", "end "};
    // clang-format on
    const std::string where = a.line < 0 ? "the selected course" : "course line " + std::to_string(a.line);
    const std::string last = a.ending == Ending::Ok ? "" : ", " + ending(a.ending);
    switch (a.kind) {
    case Kind::AddCourse:
        if (a.repeat > 1) return "add courses until the store is full, then one more";
        if (!a.emptyFirst) return "add course '" + a.name + "'" + last;
        return "add course: empty name, message, " +
               (a.ending == Ending::Ok ? "then '" + a.name + "'" : ending(a.ending));
    case Kind::AddSection: {
        if (a.repeat > 1) return "add sections to " + where + " until it is full, then one more";
        const std::string text = "add section to " + where + ": ";
        if (a.defect == Defect::None)
            return text + (a.clash ? "a clashing time refused, " : "") + entryText(a.section) + last;
        return text + "invalid, " + defects[static_cast<int>(a.defect)] +
               (a.defect == Defect::EndNotAfterStart ? timeText(a.badEnd) + " not after start" : "") + ", message, " +
               (a.ending == Ending::Ok ? "then " + entryText(a.section) : ending(a.ending));
    }
    case Kind::SelectCourse:
    case Kind::SelectSection:
        return names[static_cast<int>(a.kind)] + std::to_string(a.line);
    case Kind::New:
    case Kind::Save:
    case Kind::SaveAs:
    case Kind::Load: {
        // What the user would answer, should the question or a dialog come.
        std::string text = std::string(names[static_cast<int>(a.kind)]) + " (";
        if (a.kind == Kind::New || a.kind == Kind::Load) text += "unsaved changes: " + answerText(a.answer) + "; ";
        text += "save dialog: " + dialogText(a.saveName);
        if (a.kind == Kind::Load) text += "; load dialog: " + dialogText(a.loadName);
        return text + ")";
    }
    case Kind::Favourite:
        return a.key == 0 ? "click the favourite button" : "Ctrl+D";
    case Kind::StepKey:
        return std::string("key ") + stepKeys[a.key];
    case Kind::Export:
        return a.key == 0 ? "Ctrl+E: export a calendar of one week" : "Ctrl+E: export a PNG image";
    case Kind::Options: {
        static const char* const days[] = {"M", "T", "W", "Th", "F", "S", "Su"};
        const auto cell = [](int c) { return std::string(days[c / 29]) + " " + timeText(c % 29); };
        std::string text = "Options:";
        for (const BusyEdit& e : a.busyEdits) {
            if (e.what == BusyEdit::Drag)
                text += e.from == e.to ? " click " + cell(e.from) : " drag " + cell(e.from) + " to " + cell(e.to);
            else if (e.what == BusyEdit::DayHeader)
                text += std::string(" day header ") + days[e.from];
            else
                text += e.what == BusyEdit::TimeLabel ? " time label " + timeText(e.from) : " Clear";
            text += ",";
        }
        text += " order " + std::to_string(a.order) + " then " + std::to_string(a.then);
        return text + (a.ending == Ending::Ok ? ", OK" : ", " + ending(a.ending));
    }
    case Kind::MainKey:
        return std::string("key ") + MainKeys[a.key] + " on the main window" +
               (a.key == KeyCtrlQ ? " (unsaved changes: Cancel)" : "");
    case Kind::GetSections: {
        static const char* const days[] = {"M", "T", "W", "Th", "F", "S", "Su"};
        std::string text = a.key == 0 ? "Get Sections, paste CSV:" : "Get Sections, paste tab-separated:";
        const auto time = [](int minutes) {
            const std::string mm = std::to_string(minutes % 60);
            return std::to_string(minutes / 60) + ":" + (mm.size() < 2 ? "0" : "") + mm;
        };
        for (const ListingRowRec& row : a.listing) {
            text += " '" + row.course + "' '" + row.number + "'";
            for (int d = 0; d < 7; ++d)
                if (row.days & (1U << d)) text += std::string(" ") + days[d];
            text += (row.days ? " " : " TBA ") + time(row.start) + "-" + time(row.end) + ";";
        }
        return text + (a.ending == Ending::Ok ? " Add" : " " + ending(a.ending));
    }
    case Kind::EditSection: {
        static const char* const ways[] = {"double-click", "Enter on", "F2 on"};
        return std::string(ways[a.key]) + " section line " + std::to_string(a.line) + ", edit into " +
               entryText(a.section) + last;
    }
    case Kind::DuplicateSection:
        return "Ctrl+D on section line " + std::to_string(a.line) +
               (a.name.empty() ? "" : ", number '" + a.name + "'") + (a.ending == Ending::Ok ? ", Ok" : last);
    case Kind::RenameCourse: {
        static const char* const ways[] = {"double-click", "Enter on", "F2 on"};
        return std::string(ways[a.key]) + " course line " + std::to_string(a.line) + ", rename to '" + a.name + "'" +
               last;
    }
    case Kind::LeaveOut:
        return "Space on section line " + std::to_string(a.line) + " (leave out or take back)";
    case Kind::Undo:
        return "Ctrl+Z (Undo)";
    case Kind::Redo:
        return a.key == 0 ? "Ctrl+Y (Redo)" : "Ctrl+Shift+Z (Redo)";
    case Kind::MoveMain: {
        static const char* const places[] = {"top-left corner", "centre", "bottom-right corner",
                                             "right edge, half off"};
        return std::string("move the main window to the screen's ") + places[a.key];
    }
    default:
        return names[static_cast<int>(a.kind)];
    }
}

}  // namespace

std::string describe(const Action& a) {
    if (a.pressAction) return describeCommand(a) + " (screen reader's press)";
    if (a.enterKey) return describeCommand(a) + " (Enter on the focused button)";
    const int commands = static_cast<int>(std::size(Commands));
    if (a.intrude >= commands)
        return describeCommand(a) + ", key " + MainKeys[a.intrude - commands] + " on the main window meanwhile";
    if (a.intrude >= 0) return describeCommand(a) + ", pressing " + Commands[a.intrude] + " by screen reader meanwhile";
    return describeCommand(a);
}

std::vector<Action> randomSequence(uint32_t seed) {
    Chooser choose(seed);
    Model m;
    int counter = 0;
    std::vector<Action> actions(static_cast<size_t>(5 + choose.below(21)));
    for (Action& a : actions) {
        a = choose.next(m, counter);
        apply(a, m);
    }
    return actions;
}

}  // namespace quorvandel::model
