// Writing a schedule file: every record checked, the whole file built in
// memory, then handed to QSaveFile, which replaces the old file only when
// the new one is complete.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cerrno>
#include <map>
#include <utility>

#include "schedule_file_format.h"
#include "week.h"

namespace quorvandel {

using namespace schedule_file;

namespace {

// Why the courses cannot be kept in a file exactly, or nothing.
QString firstUnwritableCourse(const CourseList& list) {
    if (list.NumCourses < 0 || list.NumCourses > MaxCourses) return tooManyCourses(list.NumCourses);
    for (int c = 0; c < list.NumCourses; ++c) {
        const Course& course = list.Courses[static_cast<std::size_t>(c)];
        if (const QString fault = courseNameFault(course.CourseName); !fault.isEmpty())
            return at(courseWhere(c), fault);
        if (course.NumSections < 0 || course.NumSections > MaxSectionsPerCourse)
            return at(courseWhere(c), tooManySections(course.NumSections));
        for (int s = 0; s < course.NumSections; ++s)
            if (const QString fault = sectionFault(course.Sections[static_cast<std::size_t>(s)]); !fault.isEmpty())
                return at(sectionWhere(c, s), fault);
    }
    return {};
}

// A start, an end and days, as a section and a busy time both keep them.
QJsonObject meetingObject(const Text& start, const Text& end, const std::array<bool, DaysPerWeek>& days) {
    QJsonArray dayList;
    for (std::size_t d = 0; d < DaysPerWeek; ++d)
        if (days[d]) dayList.append(qText(DayAbbreviations[d]));
    QJsonObject object;
    object.insert(StartField, qText(start));
    object.insert(EndField, qText(end));
    object.insert(DaysField, dayList);
    return object;
}

QJsonObject sectionObject(const Section& section) {
    QJsonObject object = meetingObject(section.StartTime, section.EndTime, section.Days);
    object.insert(NumberField, qText(section.SecNum));
    if (meetingCount(section) > 1) {
        QJsonArray more;
        forEachMeeting(section, [&more, first = true](const Meeting& meeting) mutable {
            if (!first) more.append(meetingObject(meeting.StartTime, meeting.EndTime, meeting.Days));
            first = false;
        });
        object.insert(MoreMeetingsField, more);
    }
    if (section.LeftOut) object.insert(LeftOutField, true);
    return object;
}

// A file whose sections all meet at one time is written as the first
// version was, so older programs read it; one with more meetings carries
// the version that knows them, so older programs refuse it rather than read
// its sections with their first meetings alone.
int versionNeeded(const CourseList& list) {
    for (int c = 0; c < list.NumCourses; ++c)
        for (int s = 0; s < list.Courses[static_cast<std::size_t>(c)].NumSections; ++s)
            if (meetingCount(list.Courses[static_cast<std::size_t>(c)].Sections[static_cast<std::size_t>(s)]) > 1)
                return ScheduleFileVersion;
    return FirstScheduleFileVersion;
}

QString firstUnwritableOption(const ScheduleOptions& options) {
    if (orderName(options.primary).isEmpty() || orderName(options.tieBreak).isEmpty())
        return QStringLiteral("the order of the results is not one this program knows");
    return {};
}

// Why the document cannot be kept in a file exactly, or nothing.
QString firstUnwritableRecord(const ScheduleDocument& document) {
    QString fault = firstUnwritableCourse(document.courses);
    if (fault.isEmpty()) fault = firstUnwritableOption(document.options);
    if (fault.isEmpty()) fault = favouritesFault(document.courses, document.favourites);
    return fault;
}

// The busy half-hours as a person would write them down: each run of busy
// half-hours of a day from its start to its end, and runs with the same
// start and end on several days as one entry; entries by start, then end.
QJsonArray busyArray(const BusyCells& busy) {
    std::map<std::pair<int, int>, std::array<bool, DaysPerWeek>> runs;
    for (int day = 0; day < DaysPerWeek; ++day) {
        for (int slot = 0; slot < SlotsPerDay;) {
            int end = slot;
            while (end < SlotsPerDay && busy.test(static_cast<std::size_t>(cellOf(day, end)))) ++end;
            if (end > slot) runs[{slot, end}][static_cast<std::size_t>(day)] = true;
            slot = end + 1;
        }
    }
    QJsonArray list;
    for (const auto& [range, days] : runs)
        list.append(meetingObject(timeText(range.first), timeText(range.second), days));
    return list;
}

QJsonArray favouritesArray(const std::vector<FavouriteSections>& favourites) {
    QJsonArray list;
    for (const FavouriteSections& sections : favourites) {
        QJsonArray places;
        for (int16_t index : sections) places.append(index + 1);
        list.append(places);
    }
    return list;
}

QJsonObject optionsObject(const ScheduleOptions& options) {
    QJsonObject object;
    object.insert(BusyField, busyArray(options.busy));
    object.insert(OrderField, orderName(options.primary));
    object.insert(ThenField, orderName(options.tieBreak));
    if (options.sameTimesOnce) object.insert(SameTimesOnceField, true);
    return object;
}

QJsonArray coursesArray(const CourseList& list) {
    QJsonArray courses;
    for (int c = 0; c < list.NumCourses; ++c) {
        const Course& course = list.Courses[static_cast<std::size_t>(c)];
        QJsonArray sections;
        for (int s = 0; s < course.NumSections; ++s)
            sections.append(sectionObject(course.Sections[static_cast<std::size_t>(s)]));
        QJsonObject object;
        object.insert(CourseNameField, qText(course.CourseName));
        object.insert(SectionsField, sections);
        courses.append(object);
    }
    return courses;
}

QByteArray encode(const ScheduleDocument& document) {
    QJsonObject top;
    top.insert(FormatField, FormatName);
    top.insert(VersionField, versionNeeded(document.courses));
    top.insert(CoursesField, coursesArray(document.courses));
    top.insert(OptionsField, optionsObject(document.options));
    top.insert(FavouritesField, favouritesArray(document.favourites));
    QByteArray bytes = QJsonDocument(top).toJson(QJsonDocument::Indented);
    // Qt's parser drops a U+FEFF that opens a string, taking it for a
    // byte-order mark; written as an escape it reads back. In UTF-8 these
    // three bytes are only ever that character.
    bytes.replace("\xEF\xBB\xBF", "\\ufeff");
    return bytes;
}

// Why nothing can be saved at that path, as far as can be told before
// trying; nothing when it looks possible.
QString targetFault(const QString& fileName) {
    const QFileInfo target(fileName);
    if (target.isDir()) return QStringLiteral("it is a folder");
    if (target.exists() && !target.isFile()) return QStringLiteral("it is not a regular file");
    if (target.exists() && !target.isWritable()) return QStringLiteral("the file is read-only");
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) return QStringLiteral("the folder %1 does not exist").arg(quoted(folder.filePath()));
    if (!folder.isWritable()) return QStringLiteral("the folder %1 is read-only").arg(quoted(folder.filePath()));
    return {};
}

// The system's reason for the last failed call, or Qt's when it left none.
QString lastReason(int error, const QSaveFile& file) {
    return error != 0 ? qt_error_string(error) : file.errorString();
}

// Writes the bytes in place of the file: all of them, or none and the old
// file left as it was.
QString saveWhole(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    // Unbuffered, so that a short write (a full disk) shows at the write that
    // fell short rather than being lost in a flush inside commit().
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return lastReason(errno, file);
    for (qint64 done = 0; done < bytes.size();) {
        errno = 0;
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = lastReason(errno, file);
            file.cancelWriting();
            return reason;
        }
        done += written;
    }
    errno = 0;
    if (!file.commit()) return lastReason(errno, file);
    return {};
}

}  // namespace

std::optional<FileProblem> writeScheduleFile(const std::filesystem::path& path, const ScheduleDocument& document) {
    QString reason = firstUnwritableRecord(document);
    QByteArray bytes;
    if (reason.isEmpty()) {
        bytes = encode(document);
        if (bytes.size() > MaxScheduleFileBytes)
            reason = QStringLiteral("the schedule would take %1 bytes; ").arg(bytes.size()) + fileSizeLimit();
    }
    if (reason.isEmpty()) reason = targetFault(qtPath(path));
    if (reason.isEmpty()) reason = saveWhole(qtPath(path), bytes);
    if (reason.isEmpty()) return std::nullopt;
    return cannotSave(path, reason);
}

}  // namespace quorvandel
