#pragma once
// What the schedule file tests share: scratch paths, the texts a file must
// keep exactly, random schedules made of them, and checks of what a read
// gave back. The checks are written from what the user sees (names, numbers,
// times on the half-hour from 8:00 to 22:30, at least one day), not from the
// program's own rules, so that a fault in those rules shows.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>

#include "schedule_file.h"

namespace quorvandel::file_testing {

// Unit for unit: QString::fromStdU16String would take a leading U+FEFF or
// U+FFFE for a byte-order mark.
inline QString q(const Text& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}
inline Text t(const QString& text) { return text.toStdU16String(); }
inline std::filesystem::path fsPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

// One character, unit for unit.
QString character(char32_t c);

// Names and numbers a user can type or paste: those of the hostile-text
// suite (emoji, combining marks, right-to-left, blanks, tabs, line breaks,
// markup, 10,000 characters) and those that JSON writes escaped or that a
// careless reader might eat (quotes, backslashes, control characters, a
// byte-order mark, noncharacters, NUL).
QStringList hostileTexts();

// A random schedule of 0 to 20 courses of 0 to 10 sections, its names and
// numbers drawn from hostileTexts() and from random characters of every
// plane, at most two of 10,000 characters so that it fits in a file; with
// random options (busy blocks and single half-hours, any two orders) for two
// seeds in three, and up to 26 favourites when every course has a section.
ScheduleDocument randomDocument(std::uint64_t seed);

// The first rule that the read schedule breaks, in words; empty when it keeps
// them all.
QString brokenRule(const CourseList& list);
// The same, and the favourites: at most 26, no two alike, each taking an
// existing section of every course.
QString brokenRule(const ScheduleDocument& document);

// Where two schedules differ, in words; empty when they hold the same courses
// and sections, field by field (and the same options).
QString difference(const CourseList& expected, const CourseList& actual);
QString difference(const ScheduleDocument& expected, const ScheduleDocument& actual);

// The options in the test's own words: "busy M 9:00-10:30, Su 8:00-22:30;
// order 1 then 0" (the busy runs of each day, Monday first; the orders by
// their place in the Options dialog's list).
QString describeOptions(const ScheduleOptions& options);
// The favourites as "0 2 / 1 1": each one's section indexes, course by course.
QString describeFavourites(const std::vector<FavouriteSections>& favourites);

}  // namespace quorvandel::file_testing
