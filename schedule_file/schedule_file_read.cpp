// Reading a schedule file: the bytes of a regular file, Qt's JSON parser,
// then every field checked on the way into a fresh document. The document
// is handed out only once the whole file has passed.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

#include "regular_file.h"
#include "schedule_file_format.h"
#include "week.h"

namespace quorvandel {

using namespace schedule_file;

namespace {

QString notASchedule(const QString& why) { return QStringLiteral("it is not a Quorvandel schedule (%1)").arg(why); }

// "line 3, column 14" of a byte offset, counting characters, not bytes.
QString lineAndColumn(const QByteArray& bytes, int offset) {
    const int end = std::clamp(offset, 0, static_cast<int>(bytes.size()));
    int line = 1, column = 1;
    for (int i = 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {  // not a UTF-8 continuation byte
            ++column;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

// Walks the parsed file into a document. Every reader returns false at the
// first fault and leaves its words in `fault`.
class Decoder {
public:
    QString fault;

    bool document(const QJsonDocument& json, ScheduleDocument& out) {
        if (!json.isObject()) return fail(notASchedule(QStringLiteral("its top level is not an object")));
        const QJsonObject top = json.object();
        if (top.value(FormatField) != QJsonValue(FormatName))
            return fail(notASchedule(QStringLiteral("\"%1\" is not \"%2\"").arg(FormatField, FormatName)));
        return version(top) && courseList(top, out.courses) && options(top, out.options) &&
               favourites(top, out.courses, out.favourites);
    }

private:
    bool courseList(const QJsonObject& top, CourseList& out) {
        QJsonArray courses;
        if (!array(top, CoursesField, QString(), courses)) return false;
        if (courses.size() > MaxCourses) return fail(tooManyCourses(static_cast<int>(courses.size())));
        out.NumCourses = 0;
        for (int c = 0; c < courses.size(); ++c) {
            Course& course = out.Courses[static_cast<std::size_t>(c)];
            if (!this->course(courses[c], c, course)) return false;
            out.NumCourses = static_cast<int16_t>(c + 1);
        }
        return true;
    }

    // Options are optional: a file written before they existed, or by hand
    // without them, has none set. When present, each of their fields is
    // needed.
    bool options(const QJsonObject& top, ScheduleOptions& out) {
        out = ScheduleOptions{};
        if (!top.contains(OptionsField)) return true;
        const QString where = QStringLiteral("the options");
        QJsonObject object;
        return this->object(top.value(OptionsField), where, object) && busy(object, out.busy) &&
               order(object, OrderField, out.primary) && order(object, ThenField, out.tieBreak) &&
               sameTimesOnce(object, out.sameTimesOnce);
    }

    // Later than the other options: a file without it has it off.
    bool sameTimesOnce(const QJsonObject& options, bool& out) {
        if (!options.contains(SameTimesOnceField)) return true;
        const QJsonValue value = options.value(SameTimesOnceField);
        if (!value.isBool())
            return fail(QStringLiteral("the options"),
                        QStringLiteral("the %1 is not true or false").arg(named(SameTimesOnceField)));
        out = value.toBool();
        return true;
    }

    bool busy(const QJsonObject& options, BusyCells& out) {
        QJsonArray list;
        if (!array(options, BusyField, QStringLiteral("the options"), list)) return false;
        for (int i = 0; i < list.size(); ++i) {
            const QString where = QStringLiteral("busy time %1").arg(i + 1);
            QJsonObject object;
            int16_t start = 0, end = 0;
            std::array<bool, DaysPerWeek> days{};
            if (!this->object(list[i], where, object) || !time(object, StartField, where, start) ||
                !time(object, EndField, where, end) || !this->days(object, where, days))
                return false;
            if (end <= start)
                return fail(where, QStringLiteral("the end %1 is not after the start %2")
                                       .arg(qText(timeText(end)), qText(timeText(start))));
            if (std::find(days.begin(), days.end(), true) == days.end())
                return fail(where, QStringLiteral("it names no day"));
            for (int day = 0; day < DaysPerWeek; ++day)
                for (int slot = start; slot < end && days[static_cast<std::size_t>(day)]; ++slot)
                    out.set(static_cast<std::size_t>(cellOf(day, slot)));
        }
        return true;
    }

    bool order(const QJsonObject& options, QLatin1String name, ResultOrder& out) {
        Text written;
        if (!text(options, name, QStringLiteral("the options"), written)) return false;
        const std::optional<ResultOrder> known = orderNamed(qText(written));
        if (!known)
            return fail(QStringLiteral("the options"), QStringLiteral("the %1 %2 is not an order (%3)")
                                                           .arg(named(name), quoted(qText(written)), orderNameList()));
        out = *known;
        return true;
    }

    // Favourites are optional too: none in a file without them.
    bool favourites(const QJsonObject& top, const CourseList& courses, std::vector<FavouriteSections>& out) {
        out.clear();
        if (!top.contains(FavouritesField)) return true;
        QJsonArray list;
        if (!array(top, FavouritesField, QString(), list)) return false;
        if (list.size() > MaxFavourites) return fail(tooManyFavourites(static_cast<std::size_t>(list.size())));
        for (int f = 0; f < list.size(); ++f) {
            const QString where = favouriteWhere(f);
            if (!list[f].isArray()) return fail(where, QStringLiteral("it is not a list"));
            const QJsonArray places = list[f].toArray();
            if (const QString count = favouriteCountFault(courses, static_cast<std::size_t>(places.size()));
                !count.isEmpty())
                return fail(where, count);
            FavouriteSections sections;
            for (int c = 0; c < places.size(); ++c) {
                const double place = places[c].toDouble(-1);
                const int sectionCount = courses.Courses[static_cast<std::size_t>(c)].NumSections;
                if (!places[c].isDouble() || place < 1 || place > sectionCount || std::floor(place) != place)
                    return fail(where,
                                notASectionOf(places[c].isDouble() ? QString::number(place, 'g', 15)
                                                                   : QStringLiteral("an entry that is not a number"),
                                              static_cast<std::size_t>(c), sectionCount));
                sections.push_back(static_cast<int16_t>(place - 1));
            }
            out.push_back(std::move(sections));
        }
        if (const QString fault = favouritesFault(courses, out); !fault.isEmpty()) return fail(fault);
        return true;
    }

    bool fail(const QString& what) {
        fault = what;
        return false;
    }
    bool fail(const QString& where, const QString& what) { return fail(where.isEmpty() ? what : at(where, what)); }

    static QString named(QLatin1String field) { return QStringLiteral("\"%1\"").arg(field); }

    bool field(const QJsonObject& object, QLatin1String name, const QString& where, QJsonValue& out) {
        out = object.value(name);
        if (out.isUndefined()) return fail(where, QStringLiteral("the field %1 is missing").arg(named(name)));
        return true;
    }
    bool array(const QJsonObject& object, QLatin1String name, const QString& where, QJsonArray& out) {
        QJsonValue value;
        if (!field(object, name, where, value)) return false;
        if (!value.isArray()) return fail(where, QStringLiteral("%1 is not a list").arg(named(name)));
        out = value.toArray();
        return true;
    }
    bool text(const QJsonObject& object, QLatin1String name, const QString& where, Text& out) {
        QJsonValue value;
        if (!field(object, name, where, value)) return false;
        if (!value.isString()) return fail(where, QStringLiteral("%1 is not a text").arg(named(name)));
        out = value.toString().toStdU16String();
        return true;
    }
    bool object(const QJsonValue& value, const QString& where, QJsonObject& out) {
        if (!value.isObject()) return fail(where, QStringLiteral("it is not an object"));
        out = value.toObject();
        return true;
    }

    bool version(const QJsonObject& top) {
        QJsonValue value;
        if (!field(top, VersionField, QString(), value)) return false;
        if (!value.isDouble()) return fail(QStringLiteral("its %1 is not a number").arg(named(VersionField)));
        const double number = value.toDouble();
        if (number < 1 || std::floor(number) != number)
            return fail(QStringLiteral("its %1 %2 is not a file version").arg(named(VersionField)).arg(number));
        if (number > ScheduleFileVersion)
            return fail(QStringLiteral("it was saved by a newer Quorvandel (file version %1); this one reads "
                                       "version %2 and older")
                            .arg(number, 0, 'g', 15)
                            .arg(ScheduleFileVersion));
        return true;
    }

    bool course(const QJsonValue& value, int c, Course& out) {
        const QString where = courseWhere(c);
        QJsonObject object;
        QJsonArray sections;
        if (!this->object(value, where, object) || !text(object, CourseNameField, where, out.CourseName) ||
            !array(object, SectionsField, where, sections))
            return false;
        if (const QString nameFault = courseNameFault(out.CourseName); !nameFault.isEmpty())
            return fail(where, nameFault);
        if (sections.size() > MaxSectionsPerCourse)
            return fail(where, tooManySections(static_cast<int>(sections.size())));
        out.NumSections = 0;
        for (int s = 0; s < sections.size(); ++s) {
            Section& section = out.Sections[static_cast<std::size_t>(s)];
            section = Section{};
            section.CourseName = out.CourseName;
            if (!this->section(sections[s], sectionWhere(c, s), section)) return false;
            out.NumSections = static_cast<int16_t>(s + 1);
        }
        return true;
    }

    bool section(const QJsonValue& value, const QString& where, Section& out) {
        QJsonObject object;
        if (!this->object(value, where, object) || !text(object, NumberField, where, out.SecNum) ||
            !time(object, StartField, where, out.StartSlot) || !time(object, EndField, where, out.EndSlot) ||
            !days(object, where, out.Days) || !moreMeetings(object, where, out) || !leftOut(object, where, out))
            return false;
        out.StartTime = timeText(out.StartSlot);
        out.EndTime = timeText(out.EndSlot);
        if (const QString rule = sectionFault(out); !rule.isEmpty()) return fail(where, rule);
        return true;
    }

    // The optional left-out mark: absent means taken.
    bool leftOut(const QJsonObject& object, const QString& where, Section& out) {
        const QJsonValue value = object.value(LeftOutField);
        if (value.isUndefined()) return true;
        if (!value.isBool()) return fail(where, QStringLiteral("%1 is not true or false").arg(named(LeftOutField)));
        out.LeftOut = value.toBool();
        return true;
    }

    // The optional list of a section's meetings after its first: absent for
    // a section that meets at one time, never empty when present.
    bool moreMeetings(const QJsonObject& object, const QString& where, Section& out) {
        if (!object.contains(MoreMeetingsField)) return true;
        QJsonArray list;
        if (!array(object, MoreMeetingsField, where, list)) return false;
        if (list.isEmpty()) return fail(where, QStringLiteral("%1 is empty").arg(named(MoreMeetingsField)));
        if (list.size() > MaxMeetingsPerSection - 1)
            return fail(where, tooManyMeetings(static_cast<int>(list.size()) + 1));
        for (int m = 0; m < list.size(); ++m) {
            const QString meetingAt = where + QStringLiteral(", ") + meetingWhere(m + 1);
            Meeting& meeting = out.MoreMeetings[static_cast<std::size_t>(m)];
            QJsonObject fields;
            if (!this->object(list[m], meetingAt, fields) || !time(fields, StartField, meetingAt, meeting.StartSlot) ||
                !time(fields, EndField, meetingAt, meeting.EndSlot) || !days(fields, meetingAt, meeting.Days))
                return false;
            meeting.StartTime = timeText(meeting.StartSlot);
            meeting.EndTime = timeText(meeting.EndSlot);
            out.NumMoreMeetings = static_cast<int16_t>(m + 1);
        }
        return true;
    }

    bool time(const QJsonObject& object, QLatin1String name, const QString& where, int16_t& slot) {
        Text written;
        if (!text(object, name, where, written)) return false;
        const std::optional<int16_t> read = slotOfTimeText(written);
        if (!read)
            return fail(where,
                        QStringLiteral("the %1 %2 is not a half-hour from %3 to %4")
                            .arg(name, quoted(qText(written)), qText(timeText(0)), qText(timeText(EndOfDaySlot))));
        slot = *read;
        return true;
    }

    bool days(const QJsonObject& object, const QString& where, std::array<bool, DaysPerWeek>& out) {
        QJsonArray list;
        if (!array(object, DaysField, where, list)) return false;
        out.fill(false);
        for (const QJsonValue& entry : list) {
            const Text day = entry.toString().toStdU16String();
            const auto known = std::find(DayAbbreviations.begin(), DayAbbreviations.end(), day);
            if (!entry.isString() || known == DayAbbreviations.end())
                return fail(where,
                            QStringLiteral("%1 is not a day (%2)")
                                .arg(entry.isString() ? quoted(qText(day)) : QStringLiteral("an entry of \"days\""),
                                     qText(dayList())));
            bool& flag = out[static_cast<std::size_t>(known - DayAbbreviations.begin())];
            if (flag) return fail(where, QStringLiteral("the day %1 is listed twice").arg(quoted(qText(day))));
            flag = true;
        }
        return true;
    }

    static Text dayList() {
        Text list;
        for (const Text& day : DayAbbreviations) list += (list.empty() ? u"" : u", ") + day;
        return list;
    }
};

}  // namespace

ScheduleFileRead readScheduleFile(const std::filesystem::path& path) {
    ScheduleFileRead result;
    QByteArray bytes;
    QString reason;
    if (!readRegularFile(path, bytes, reason)) {
        result.problem = cannotLoad(path, reason);
        return result;
    }
    if (bytes.isEmpty()) {
        result.problem = cannotLoad(path, QStringLiteral("the file is empty"));
        return result;
    }
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        result.problem = cannotLoad(
            path,
            notASchedule(
                QStringLiteral("not JSON: %1 at %2").arg(error.errorString(), lineAndColumn(bytes, error.offset))));
        return result;
    }
    ScheduleDocument document;
    Decoder decoder;
    if (!decoder.document(json, document)) {
        result.problem = cannotLoad(path, decoder.fault);
        return result;
    }
    result.document = std::move(document);
    return result;
}

}  // namespace quorvandel
