#include "schedule_file_format.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <array>

#include "record_rules.h"
#include "week.h"

namespace quorvandel::schedule_file {

namespace {

constexpr std::array<QLatin1String, ResultOrderCount> OrderNames = {
    QLatin1String("first-found"), QLatin1String("fewest-days"), QLatin1String("fewest-idle"),
    QLatin1String("latest-start"), QLatin1String("earliest-finish")};

const QString BrokenCharacter =
    QStringLiteral("holds a character that cannot be kept exactly (half of a UTF-16 surrogate pair)");

}  // namespace

QString orderName(ResultOrder order) {
    const auto index = static_cast<std::size_t>(order);
    return index < OrderNames.size() ? QString(OrderNames[index]) : QString();
}

std::optional<ResultOrder> orderNamed(const QString& name) {
    const auto known = std::find(OrderNames.begin(), OrderNames.end(), name);
    if (known == OrderNames.end()) return std::nullopt;
    return static_cast<ResultOrder>(known - OrderNames.begin());
}

QString orderNameList() {
    QStringList names;
    for (QLatin1String name : OrderNames) names << name;
    return names.join(QStringLiteral(", "));
}

QString qText(const Text& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

QString qtPath(const std::filesystem::path& path) { return QFile::decodeName(QByteArray(path.c_str())); }

FileProblem cannotSave(const std::filesystem::path& path, const QString& reason) {
    return {QStringLiteral("Cannot save \"%1\": %2.").arg(qtPath(path), reason).toStdU16String()};
}

FileProblem cannotLoad(const std::filesystem::path& path, const QString& reason) {
    return {QStringLiteral("Cannot load \"%1\": %2.").arg(qtPath(path), reason).toStdU16String()};
}

QString courseWhere(int course) { return QStringLiteral("course %1").arg(course + 1); }

QString sectionWhere(int course, int section) {
    return QStringLiteral("course %1, section %2").arg(course + 1).arg(section + 1);
}

QString at(const QString& where, const QString& what) { return where + QStringLiteral(": ") + what; }

QString tooManyCourses(int count) {
    return QStringLiteral("it holds %1 courses; a schedule has at most %2").arg(count).arg(MaxCourses);
}

QString tooManySections(int count) {
    return QStringLiteral("it holds %1 sections; a course has at most %2").arg(count).arg(MaxSectionsPerCourse);
}

QString tooManyFavourites(std::size_t count) {
    return QStringLiteral("it holds %1 favourites; at most %2 are kept").arg(count).arg(MaxFavourites);
}

static_assert(MaxScheduleFileBytes == 1 << 20, "the message below says 1 MiB");
QString fileSizeLimit() {
    return QStringLiteral("a schedule file holds at most %1 bytes (1 MiB)").arg(MaxScheduleFileBytes);
}

QString favouriteWhere(int favourite) { return QStringLiteral("favourite %1").arg(favourite + 1); }

QString notASectionOf(const QString& place, std::size_t course, int sectionCount) {
    return QStringLiteral("%1 is not a section of course %2, which has %3")
        .arg(place)
        .arg(course + 1)
        .arg(sectionCount);
}

QString favouriteCountFault(const CourseList& courses, std::size_t count) {
    if (courses.NumCourses == 0) return QStringLiteral("the schedule has no course to take a section of");
    if (count == static_cast<std::size_t>(courses.NumCourses)) return {};
    return QStringLiteral("it takes %1 sections; a favourite takes one of each of the %2 courses")
        .arg(count)
        .arg(courses.NumCourses);
}

QString favouriteFault(const CourseList& courses, const FavouriteSections& sections) {
    if (QString fault = favouriteCountFault(courses, sections.size()); !fault.isEmpty()) return fault;
    for (std::size_t c = 0; c < sections.size(); ++c) {
        const int sectionCount = courses.Courses[c].NumSections;
        if (sections[c] < 0 || sections[c] >= sectionCount)
            return notASectionOf(QString::number(sections[c] + 1), c, sectionCount);
    }
    return {};
}

QString favouritesFault(const CourseList& courses, const std::vector<FavouriteSections>& favourites) {
    if (favourites.size() > static_cast<std::size_t>(MaxFavourites)) return tooManyFavourites(favourites.size());
    for (std::size_t f = 0; f < favourites.size(); ++f) {
        if (QString fault = favouriteFault(courses, favourites[f]); !fault.isEmpty())
            return at(favouriteWhere(static_cast<int>(f)), fault);
        const auto same =
            std::find(favourites.begin(), favourites.begin() + static_cast<std::ptrdiff_t>(f), favourites[f]);
        if (same != favourites.begin() + static_cast<std::ptrdiff_t>(f))
            return QStringLiteral("%1 takes the same sections as %2")
                .arg(favouriteWhere(static_cast<int>(f)), favouriteWhere(static_cast<int>(same - favourites.begin())));
    }
    return {};
}

QString quoted(const QString& text) {
    constexpr int Longest = 24;
    if (text.size() <= Longest) return u'"' + text + u'"';
    return u'"' + text.left(Longest) + QStringLiteral("\"...");
}

bool isWholeText(const Text& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xDC00 && unit <= 0xDFFF) return false;  // a low half with no high half before it
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

QString courseNameFault(const Text& name) {
    if (!isValidCourseName(name)) return QStringLiteral("the course name is empty");
    if (!isWholeText(name)) return QStringLiteral("the course name ") + BrokenCharacter;
    return {};
}

namespace {

QString meetingFault(SectionFault fault, const Meeting& meeting) {
    switch (fault) {
    case SectionFault::EndNotAfterStart:
        return QStringLiteral("the end %1 is not after the start %2")
            .arg(qText(meeting.EndTime), qText(meeting.StartTime));
    case SectionFault::TimesNotTheSlots:
        return QStringLiteral("its times %1 and %2 are not those of its half-hours")
            .arg(quoted(qText(meeting.StartTime)), quoted(qText(meeting.EndTime)));
    case SectionFault::NoDay:
        return QStringLiteral("it meets on no day");
    default:
        return {};
    }
}

// The first half-hour two meetings share, as the program names it.
QString firstSharedHalfHour(const Meeting& a, const Meeting& b) {
    BusyCells cells;  // a set of week cells
    forEachCoveredCell(a, [&cells](int cell) { cells.set(static_cast<std::size_t>(cell)); });
    QString shared;
    forEachCoveredCell(b, [&](int cell) {
        if (shared.isEmpty() && cells.test(static_cast<std::size_t>(cell))) shared = qText(cellText(cell));
    });
    return shared;
}

}  // namespace

QString meetingWhere(int meeting) { return QStringLiteral("meeting %1").arg(meeting + 1); }

QString sectionFault(const Section& section) {
    const SectionFaultAt found = findSectionFault(section);
    switch (found.fault) {
    case SectionFault::None:
        break;
    case SectionFault::EmptyNumber:
        return QStringLiteral("the section number is empty");
    case SectionFault::TooManyMeetings:
        return tooManyMeetings(1 + section.NumMoreMeetings);
    case SectionFault::EndNotAfterStart:
    case SectionFault::TimesNotTheSlots:
    case SectionFault::NoDay: {
        // A one-meeting section reads as it always did; a later meeting is
        // named.
        const QString fault = meetingFault(found.fault, meetingsOf(section)[static_cast<std::size_t>(found.meeting)]);
        return found.meeting == 0 ? fault : QStringLiteral("in %1, %2").arg(meetingWhere(found.meeting), fault);
    }
    case SectionFault::MeetingsOverlap: {
        const std::vector<Meeting> meetings = meetingsOf(section);
        return QStringLiteral("its %1 and %2 share %3")
            .arg(meetingWhere(found.otherMeeting), meetingWhere(found.meeting),
                 firstSharedHalfHour(meetings[static_cast<std::size_t>(found.otherMeeting)],
                                     meetings[static_cast<std::size_t>(found.meeting)]));
    }
    }
    if (!isWholeText(section.SecNum)) return QStringLiteral("the section number ") + BrokenCharacter;
    return {};
}

QString tooManyMeetings(int count) {
    return QStringLiteral("it lists %1 meetings; a section has at most %2").arg(count).arg(MaxMeetingsPerSection);
}

}  // namespace quorvandel::schedule_file
