#pragma once
// Printing and exporting the timetable the results show: on a printer the
// user sets up in the print dialog, one page fitted to the printable area;
// as a PDF (one A4 page); as a PNG image at twice the screen's size; or as
// an iCalendar file over a term the user gives (timetable_calendar.h).
// Files are written whole or not at all: a failed export leaves any earlier
// file of that name as it was, and the user is told why.

#include <QString>

#include "schedule_model.h"
#include "timetable_calendar.h"

class QPagedPaintDevice;
class QWidget;

namespace quorvandel {

class ResultsDialogs;
class TimetablePage;

// Paints the page on one page of `device` (a printer or a PDF writer),
// fitted to its printable area; false when painting could not start.
bool paintOnPage(const TimetablePage& page, QPagedPaintDevice& device);

// Each writes `path`; on failure it returns the sentence to tell the user.
QString writePdf(const TimetablePage& page, const QString& path, const QString& documentTitle);
QString writePng(const TimetablePage& page, const QString& path);
QString writeCalendar(const Timetable& timetable, const Term& term, const QString& path);

// The shown timetable's name, "Timetable 5 of 26": the print job's and the
// PDF's title, and the file name the print and save dialogs propose. The
// counter's caption cannot serve: its "/" would make a proposed file name a
// path into a folder that does not exist, and ":" is refused by some file
// systems.
QString timetableName(const ModuleState& state);

// The two commands as the results give them for state.CurrentTimetable
// (which must name a stored timetable): ask through `dialogs`, write, and
// tell the user of any failure. `title` heads the page.
void printShownTimetable(const ModuleState& state, const QString& title, ResultsDialogs& dialogs, QWidget* parent);
void exportShownTimetable(const ModuleState& state, const QString& title, ResultsDialogs& dialogs, QWidget* parent);

}  // namespace quorvandel
