#include "help_window.h"

#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <memory>

#include "command_turn.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "quorvandel_version.h"
#include "window_placement.h"

namespace quorvandel {

namespace {

const char* const HelpText = R"(
<h3>Entering a schedule</h3>
<p>Press <b>Add Course</b> and type the course's name. Select the course in the
list and press <b>Add Section</b>: type the section's number, pick its start and
end time (half-hours from 8:00 to 22:30) and select the days it meets. Add a
section for every way the course is offered. <b>Remove Course</b> and
<b>Remove Section</b> take out what is selected; <b>New</b> starts again.</p>
<p>A section that meets at more than one time, such as a lecture on Monday,
Wednesday and Friday 9:00-10:00 with its lab on Tuesday 14:00-17:00, is one
section with up to four times: pick the first time and its days, press
<b>Another Time</b>, then pick the next (the days are cleared for it); <b>Ok</b>
keeps every listed time and the one picked. <b>Remove Time</b> (or Delete)
takes a listed time out. Two times of a section may not share a half-hour.
When only some labs go with some lectures, enter each allowed lecture-and-lab
pair as one section of two times. When any lab goes with any lecture, enter
the labs as a course of their own instead: the timetables then pair each
lecture with each lab that fits.</p>
<h3>Getting sections from a listing</h3>
<p><b>Get Sections</b> adds a whole course listing at once: paste it (from a
registrar's page, a spreadsheet or a CSV file), or press <b>Open File...</b> for a
<i>.csv</i>, <i>.tsv</i> or <i>.txt</i> file, or drop such a file on the main
window. One meeting a row: course, section, days, start and end, separated by
tabs, commas, semicolons, "|" or two spaces; a header row may name the columns
in any order, and a time column may hold a range such as "9:00-10:15". Days may
read "MWF", "TR", "TTh", "Mon/Wed" or "MoWeFr"; times "9:00", "0900", "9am" or
"1:30 PM". The table shows what <b>Add</b> will do with each section before
anything changes; a course whose name matches one of yours exactly gets the
sections.</p>
<p>The program counts in half-hours, so each time goes to the nearest half-hour,
and a time exactly between two goes inward: a start later, an end earlier, so
that classes ending and starting at a quarter past stay apart. A meeting that
would vanish keeps the half-hour its start goes to; the table shows every time
it moved.</p>
<h3>Finding timetables</h3>
<p><b>TimeTablify!</b> tries every way of taking one section of each course and
shows the timetables in which no two sections share a half-hour, one at a time.
Every course has its own colour. A caption too long for its cell is shortened
there; rest the mouse on the cell to read it whole. <b>Options</b> sets the
times you want to keep free and the order in which timetables are shown.</p>
<h3>Favourites</h3>
<p><b>Add to Favorites</b> marks the timetable shown; on a marked timetable the
button reads <b>Remove from Favorites</b>. <b>Go To Favorites</b> steps through
the marked timetables only (the counter reads <i>Favorite: 2 / 3</i>); press it
again to step through all of them. Favourites are kept by the sections they
hold: a new TimeTablify! that finds the same sections shows them marked, and
one that does not find them (busy times, say) keeps them and says how many it
missed. They go only when you unmark them or remove one of their sections. They
are kept in the schedule file too: after <b>Load</b>, TimeTablify! shows them
marked again.</p>
<h3>Keys in the results</h3>
<table cellspacing="4">
<tr><td>Alt+underlined letter</td><td>that button (in every window)</td></tr>
<tr><td>Right, Page Down</td><td>next timetable</td></tr>
<tr><td>Left, Page Up</td><td>previous timetable</td></tr>
<tr><td>Home, End</td><td>first and last timetable</td></tr>
<tr><td>Up, Down</td><td>scroll the week when it does not fit (the wheel and the scroll bar too)</td></tr>
<tr><td>Ctrl+D</td><td>add to or remove from the favourites</td></tr>
<tr><td>Ctrl+P</td><td>print the timetable shown</td></tr>
<tr><td>Ctrl+E</td><td>export it as a PDF, a PNG image or an iCalendar file</td></tr>
<tr><td>F1</td><td>this help</td></tr>
</table>
<h3>Schedule files</h3>
<p><b>Save</b> and <b>Load</b> keep a schedule in a <i>.qvs</i> file: UTF-8 JSON
holding the format's name and version, the courses in order, each with its name
and sections (number, start and end as "H:MM", days from M, T, W, Th, F, S, Su,
and a section's further times in "more-meetings"),
the options (the busy times, written the way sections' times are, and the two
orders by name, such as "fewest-days") and the favourites, each a list of the
places of its sections in their courses, counted from 1. Names and numbers are
kept exactly as typed.</p>
)";

}  // namespace

QString programVersion() { return QStringLiteral(QUORVANDEL_VERSION_TEXT); }

frmHelp::frmHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Quorvandel Help"));
    setFont(formFont());
    resize(px(7200), px(8400));
    txtHelp_ = new QTextBrowser(this);
    txtHelp_->setObjectName(QStringLiteral("txtHelp"));
    txtHelp_->setAccessibleName(QStringLiteral("Help"));
    txtHelp_->setOpenLinks(false);
    txtHelp_->setHtml(QString::fromUtf8(HelpText) +
                      QStringLiteral("<p><i>Quorvandel %1</i></p>").arg(programVersion()));
    txtHelp_->setGeometry(twipsRect(120, 120, 6960, 7560));
    QPushButton* close =
        makeButton(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"), twipsRect(5865, 7860, 1215, 375));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    setFixedSize(size());
}

void attachHelp(QWidget* owner, QPushButton* button) {
    auto help = std::make_shared<QPointer<frmHelp>>();
    const auto open = [owner, help] {
        const CommandTurn turn;
        if (!turn) return;
        if (!*help) {
            *help = new frmHelp(owner);
            // Over the window it was asked from; later where the user left it.
            placeCentredOver(*help, owner);
        }
        (*help)->show();
        (*help)->raise();
        (*help)->activateWindow();
    };
    button->setToolTip(QStringLiteral("How to use Quorvandel (F1)"));
    QObject::connect(button, &QPushButton::clicked, owner, open);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), owner);
    // From the results and every other window of the program too.
    f1->setContext(Qt::ApplicationShortcut);
    QObject::connect(f1, &QShortcut::activated, owner, open);
}

}  // namespace quorvandel
