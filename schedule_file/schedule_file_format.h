#pragma once
// The schedule file's field names, and what its reader and writer share: the
// checks a record must pass to be kept in a file, and the wording of their
// messages. Internal to the file unit (uses Qt).

#include <QLatin1String>
#include <QString>
#include <filesystem>
#include <optional>

#include "schedule_file.h"

namespace quorvandel::schedule_file {

constexpr QLatin1String FormatField{"format"};
constexpr QLatin1String FormatName{"quorvandel-schedule"};
constexpr QLatin1String VersionField{"version"};
constexpr QLatin1String CoursesField{"courses"};
constexpr QLatin1String CourseNameField{"name"};
constexpr QLatin1String SectionsField{"sections"};
constexpr QLatin1String NumberField{"number"};
constexpr QLatin1String StartField{"start"};
constexpr QLatin1String EndField{"end"};
constexpr QLatin1String DaysField{"days"};
// A section that meets at more than one time keeps its first meeting in its
// own start, end and days and the others in this list of objects of the
// same three fields; a section with one meeting has no such field.
constexpr QLatin1String MoreMeetingsField{"more-meetings"};
// true on a section the user left out; absent (as in older files) means
// taken, so only a left-out section carries it.
constexpr QLatin1String LeftOutField{"left-out"};
constexpr QLatin1String OptionsField{"options"};
constexpr QLatin1String BusyField{"busy"};
constexpr QLatin1String OrderField{"order"};
constexpr QLatin1String ThenField{"then"};
// true when "Show timetables with the same times once" is on; left out when
// off, so that files without it stay byte for byte as they were.
constexpr QLatin1String SameTimesOnceField{"same-times-once"};
// Each favourite is a list of section places, counted from 1, one for each
// course in order: [2, 1, 3] takes the second section of the first course.
constexpr QLatin1String FavouritesField{"favourites"};

// A result order as the file names it: "first-found", "fewest-days",
// "fewest-idle", "latest-start", "earliest-finish". Names, not numbers, so
// that a file stays readable and later orders can go anywhere in the list.
QString orderName(ResultOrder order);
// The order of that name, or nothing for any other text.
std::optional<ResultOrder> orderNamed(const QString& name);
// "first-found, fewest-days, ...", for a message.
QString orderNameList();

// The text as a QString, unit for unit. (QString::fromStdU16String reads a
// leading U+FEFF or U+FFFE as a byte-order mark: it drops the one and
// byte-swaps the whole text for the other.)
QString qText(const Text& text);

// The path as Qt names files (POSIX: its bytes taken as UTF-8).
QString qtPath(const std::filesystem::path& path);

FileProblem cannotSave(const std::filesystem::path& path, const QString& reason);
FileProblem cannotLoad(const std::filesystem::path& path, const QString& reason);

// "course 2", "course 2, section 1": where a fault is, counted from 1.
QString courseWhere(int course);
QString sectionWhere(int course, int section);
// "where: what".
QString at(const QString& where, const QString& what);

// "it holds 21 courses; a schedule has at most 20", and the same for the
// sections of a course, and for the bytes of a file.
QString tooManyCourses(int count);
QString tooManySections(int count);
QString tooManyFavourites(std::size_t count);
QString tooManyMeetings(int count);
// "meeting 2", counted from 1.
QString meetingWhere(int meeting);
QString fileSizeLimit();

// A text in quotes for a message, shortened when long.
QString quoted(const QString& text);

// Whether the text is whole UTF-16: no half of a surrogate pair without its
// other half. Only such text is written and read back exactly.
bool isWholeText(const Text& text);

// "favourite 2", counted from 1.
QString favouriteWhere(int favourite);
// Why a favourite cannot go with these courses: it does not take one section
// of each (the words for `count` sections), or it names one that is not
// there; nothing when it can.
// A favourite's place that names no section of course `course` (counted
// from 0), which has `sectionCount`.
QString notASectionOf(const QString& place, std::size_t course, int sectionCount);
QString favouriteCountFault(const CourseList& courses, std::size_t count);
QString favouriteFault(const CourseList& courses, const FavouriteSections& sections);
// The first fault of a list of favourites: one of the above, more than
// MaxFavourites, or two alike; nothing when there is none.
QString favouritesFault(const CourseList& courses, const std::vector<FavouriteSections>& favourites);

// Why the course's name, or the section, cannot be kept in a file, or
// nothing. The section's CourseName is not looked at: the file does not keep
// it.
QString courseNameFault(const Text& name);
QString sectionFault(const Section& section);

}  // namespace quorvandel::schedule_file
