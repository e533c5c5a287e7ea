#pragma once
// The caption a timetable grid cell shows for a section, fitted to the
// cell's width so that what tells two timetables apart stays readable:
//
// - "Course - Section" when it fits;
// - otherwise the course name is cut at its end and closed with "…"
//   (U+2026), keeping " - " and the whole section number:
//   "Organic Chem… - H1";
// - when even "… - Section" is too wide (a very long section number, or a
//   very narrow cell), the caption is the section number alone, and if that
//   is still too wide, the number cut at its start, since numbers that
//   differ tend to differ at their end: "…ture 0017". When the cell cannot
//   even hold "…", the caption is "…".
//
// Texts are only ever cut between graphemes, so a surrogate pair, a
// combining mark or an emoji sequence is never split. Cut texts lose their
// blanks before the "…".

#include <QFontMetrics>
#include <QString>

namespace quorvandel {

QString fittedCellCaption(const QString& courseName, const QString& secNum, const QFontMetrics& metrics, int width);

}  // namespace quorvandel
