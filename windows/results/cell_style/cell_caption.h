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
// Texts are only ever cut between graphemes, so a surrogate pair, a
// combining mark or an emoji sequence is never split. Cut texts lose their
// blanks beside the "…".

#include <QFontMetrics>
#include <QString>

namespace quorvandel {

QString fittedCellCaption(const QString& courseName, const QString& secNum, const QFontMetrics& metrics, int width);

}  // namespace quorvandel
