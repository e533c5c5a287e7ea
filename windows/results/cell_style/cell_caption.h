#pragma once
// The caption a timetable grid cell shows for a section, fitted to the
// cell's width so that what tells two timetables apart stays readable:
//
// - "Course - Section" when it fits;
// - otherwise the course name is shortened in its middle with "…"
//   (U+2026), keeping as much of its start and its end as fits (half of
//   what is kept from each, the start taking the odd one), " - " and the
//   whole section number: "CHEM…Lab - L01", so that "CHEM 101 Lab" and
//   "PHYS 121 Lab", or twenty courses sharing a prefix, still differ;
// - when even "… - Section" is too wide (a very long section number, or a
//   very narrow cell), the caption is the section number alone, and if that
//   is still too wide, the number cut at its start, since numbers that
//   differ tend to differ at their end: "…ture 0017". When the cell cannot
//   even hold "…", the caption is "…".
//
// With room for two lines, a caption wraps before it shortens:
//
// - broken at a blank of the course name, or before " - ", where both lines
//   fit, choosing the break whose longer line is the shortest, so that the
//   two lines balance: "CHEM 101" over "Lab - L01";
// - a name without such a break is broken between graphemes, the first line
//   as full as fits, while the rest and the section fit on the second;
// - otherwise the name is shortened in its middle across the two lines: the
//   first line holds its start (up to the last blank that fits, or as many
//   graphemes as fit), the second "…", as much of its end as fits, " - " and
//   the whole section number: "Introduction to" over "…ture - 101";
// - and where even "… - Section" is too wide, the one-line rules apply.
//
// The two lines are joined by a line feed. Texts are only ever cut between
// graphemes, so a surrogate pair, a combining mark or an emoji sequence is
// never split. Cut texts, and lines, lose their blanks beside the "…" or
// the break.

#include <QFontMetrics>
#include <QString>

namespace quorvandel {

QString fittedCellCaption(const QString& courseName, const QString& secNum, const QFontMetrics& metrics, int width);
// The same in a cell with room for `lines` lines (1 or 2).
QString fittedCellCaption(const QString& courseName, const QString& secNum, const QFontMetrics& metrics, int width,
                          int lines);

}  // namespace quorvandel
