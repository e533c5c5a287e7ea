#include "schedule_file_testing.h"

#include <algorithm>

#include "schedule_makers.h"
#include "section_maker.h"

namespace quorvandel::file_testing {

// QString::fromUcs4 would drop a U+FEFF, taking it for a byte-order mark.
QString character(char32_t c) {
    if (c < 0x10000) return QString(QChar(static_cast<char16_t>(c)));
    const QChar pair[] = {QChar(QChar::highSurrogate(c)), QChar(QChar::lowSurrogate(c))};
    return QString(pair, 2);
}

namespace {

QString counting(int n) {
    QString s;
    for (int i = 0; i < n; ++i) s.append(i % 100 == 99 ? QChar(u'|') : QChar(u'a' + i % 26));
    return s;
}

// "9:00", "13:30": how the section line shows a half-hour counted from 8:00.
QString shownTime(int halfHours) {
    return QStringLiteral("%1:%2").arg(8 + halfHours / 2).arg(halfHours % 2 == 0 ? "00" : "30");
}

// A character of any plane but never half of a surrogate pair.
char32_t randomCharacter(makers::Rng& rng) {
    for (;;) {
        const char32_t c = static_cast<char32_t>(rng.below(8) == 0 ? rng.below(0x110000) : rng.below(0x3000));
        if (c < 0xD800 || c > 0xDFFF) return c;
    }
}

QString randomText(makers::Rng& rng, int& longOnesLeft) {
    static const QStringList hostile = hostileTexts();
    for (;;) {
        if (rng.below(3) != 0) {
            const QString pick = hostile[rng.below(static_cast<int>(hostile.size()))];
            if (pick.size() < 1000) return pick;
            if (longOnesLeft > 0) {
                --longOnesLeft;
                return pick;
            }
            continue;
        }
        QString text;
        const int length = rng.between(1, 12);
        for (int i = 0; i < length; ++i) {
            text += character(randomCharacter(rng));
        }
        return text;
    }
}

bool isWholeUtf16(const Text& text) { return QString::fromStdU16String(text).isValidUtf16(); }

ScheduleOptions randomOptions(makers::Rng& rng) {
    ScheduleOptions options;
    if (rng.below(3) == 0) return options;
    for (int k = rng.below(6); k > 0; --k) {
        const int day = rng.below(7), start = rng.below(29), end = rng.between(start + 1, 29);
        for (int slot = start; slot < end; ++slot) options.busy.set(static_cast<std::size_t>(day * 29 + slot));
    }
    for (int k = rng.below(2) * rng.below(40); k > 0; --k) options.busy.set(static_cast<std::size_t>(rng.below(203)));
    options.primary = static_cast<ResultOrder>(rng.below(5));
    options.tieBreak = static_cast<ResultOrder>(rng.below(5));
    options.sameTimesOnce = rng.below(2) == 0;
    return options;
}

}  // namespace

QStringList hostileTexts() {
    const QString emoji = QStringLiteral(
        "\U0001F600\U0001F393 Chem \U0001F469\u200D\U0001F469\u200D\U0001F467 \U0001F1E9\U0001F1EA \U0001D49E");
    return {
        QStringLiteral("Chem"),
        QStringLiteral("101"),
        counting(10000),
        emoji.left(2).repeated(5000),
        emoji,
        QStringLiteral("Cafe\u0301 Z\u0335\u0336\u0337\u0338a\u0301\u0302\u0303\u0304lgo n\u0303"),
        QStringLiteral("\u05DB\u05D9\u05DE\u05D9\u05D4 101"),
        QStringLiteral("\u0627\u0644\u0643\u064A\u0645\u064A\u0627\u0621"),
        QStringLiteral("Chem \u202E\u05D0\u05D1 12\u202C\u200F x"),
        QStringLiteral("   Chem 101   "),
        QStringLiteral(" \u00A0 \u00A0"),
        QStringLiteral(" "),
        QStringLiteral("\tChem\t101\t"),
        QStringLiteral("Chem\n101\r\nLab\rB\u2028C\u2029"),
        QStringLiteral("<b>Chem</b> <img src=\"x.png\"> &amp;"),
        QStringLiteral("\"quoted\" back\\slash \\u0041 \\n /slash/"),
        QStringLiteral("\u0001\u0008\u000B\u000C\u001F\u007F\u0085"),
        QString(QChar(u'\0')) + QStringLiteral("after NUL"),
        QStringLiteral("\uFEFFbyte-order mark"),
        QStringLiteral("\uFFFE\uFFFF\uFDD0 nonchars \U0010FFFF"),
        QStringLiteral("}], \"courses\": []}"),
    };
}

ScheduleDocument randomDocument(std::uint64_t seed) {
    makers::Rng rng(seed);
    ScheduleDocument document;
    CourseList& list = document.courses;
    makers::randomSchedule(list, seed, rng.between(0, MaxCourses), 0, MaxSectionsPerCourse,
                           makers::SectionStyle{1, 6, 1, 4, 7, 3});
    int longOnesLeft = 2;
    for (int c = 0; c < list.NumCourses; ++c) {
        Course& course = list.Courses[static_cast<std::size_t>(c)];
        course.CourseName = t(randomText(rng, longOnesLeft));
        for (int s = 0; s < course.NumSections; ++s) {
            Section& section = course.Sections[static_cast<std::size_t>(s)];
            section.SecNum = t(randomText(rng, longOnesLeft));
            section.CourseName = course.CourseName;
            section.LeftOut = rng.below(4) == 0;
        }
    }
    document.options = randomOptions(rng);
    // Favourites: one section of each course, any of them, when every
    // course has one.
    const bool everyCourseHasOne =
        list.NumCourses > 0 && std::all_of(list.Courses.begin(), list.Courses.begin() + list.NumCourses,
                                           [](const Course& c) { return c.NumSections > 0; });
    for (int k = everyCourseHasOne ? rng.below(27) : 0; k > 0; --k) {
        FavouriteSections sections;
        for (int c = 0; c < list.NumCourses; ++c)
            sections.push_back(static_cast<int16_t>(rng.below(list.Courses[static_cast<std::size_t>(c)].NumSections)));
        if (std::find(document.favourites.begin(), document.favourites.end(), sections) == document.favourites.end())
            document.favourites.push_back(sections);
    }
    return document;
}

QString brokenRule(const CourseList& list) {
    if (list.NumCourses < 0 || list.NumCourses > 20) return QStringLiteral("%1 courses").arg(list.NumCourses);
    for (int c = 0; c < list.NumCourses; ++c) {
        const Course& course = list.Courses[static_cast<std::size_t>(c)];
        const QString where = QStringLiteral("course %1: ").arg(c);
        if (course.CourseName.empty() || !isWholeUtf16(course.CourseName)) return where + QStringLiteral("name");
        if (course.NumSections < 0 || course.NumSections > 10)
            return where + QStringLiteral("%1 sections").arg(course.NumSections);
        for (int s = 0; s < course.NumSections; ++s) {
            const Section& section = course.Sections[static_cast<std::size_t>(s)];
            const QString at = where + QStringLiteral("section %1: ").arg(s);
            if (section.SecNum.empty() || !isWholeUtf16(section.SecNum)) return at + QStringLiteral("number");
            if (section.CourseName != course.CourseName) return at + QStringLiteral("course name");
            if (section.StartSlot < 0 || section.EndSlot <= section.StartSlot || section.EndSlot > 29)
                return at + QStringLiteral("slots %1 to %2").arg(section.StartSlot).arg(section.EndSlot);
            if (q(section.StartTime) != shownTime(section.StartSlot) ||
                q(section.EndTime) != shownTime(section.EndSlot))
                return at + QStringLiteral("times %1 - %2").arg(q(section.StartTime), q(section.EndTime));
            bool anyDay = false;
            for (bool day : section.Days) anyDay = anyDay || day;
            if (!anyDay) return at + QStringLiteral("no day");
            // Further meetings: each a valid time on some day, none sharing
            // a half-hour with another.
            if (section.NumMoreMeetings < 0 || section.NumMoreMeetings > 3)
                return at + QStringLiteral("%1 more meetings").arg(section.NumMoreMeetings);
            int cells = (section.EndSlot - section.StartSlot) *
                        static_cast<int>(std::count(section.Days.begin(), section.Days.end(), true));
            for (int m = 0; m < section.NumMoreMeetings; ++m) {
                const Meeting& more = section.MoreMeetings[static_cast<std::size_t>(m)];
                const int days = static_cast<int>(std::count(more.Days.begin(), more.Days.end(), true));
                if (more.StartSlot < 0 || more.EndSlot <= more.StartSlot || more.EndSlot > 29 || days == 0 ||
                    q(more.StartTime) != shownTime(more.StartSlot) || q(more.EndTime) != shownTime(more.EndSlot))
                    return at + QStringLiteral("meeting %1").arg(m + 2);
                cells += (more.EndSlot - more.StartSlot) * days;
            }
            if (static_cast<int>(testing::sectionCells(section).count()) != cells)
                return at + QStringLiteral("meetings share a half-hour");
        }
    }
    return {};
}

QString brokenRule(const ScheduleDocument& document) {
    if (QString broken = brokenRule(document.courses); !broken.isEmpty()) return broken;
    const CourseList& list = document.courses;
    if (document.favourites.size() > 26) return QStringLiteral("%1 favourites").arg(document.favourites.size());
    for (std::size_t f = 0; f < document.favourites.size(); ++f) {
        const FavouriteSections& sections = document.favourites[f];
        bool fits = list.NumCourses > 0 && sections.size() == static_cast<std::size_t>(list.NumCourses);
        for (std::size_t c = 0; fits && c < sections.size(); ++c)
            fits = sections[c] >= 0 && sections[c] < list.Courses[c].NumSections;
        if (!fits) return QStringLiteral("favourite %1 does not fit the courses").arg(f);
        if (std::count(document.favourites.begin(), document.favourites.end(), sections) > 1)
            return QStringLiteral("favourite %1 twice").arg(f);
    }
    return {};
}

QString difference(const CourseList& expected, const CourseList& actual) {
    if (expected.NumCourses != actual.NumCourses)
        return QStringLiteral("%1 courses, not %2").arg(actual.NumCourses).arg(expected.NumCourses);
    for (int c = 0; c < expected.NumCourses; ++c) {
        const Course& want = expected.Courses[static_cast<std::size_t>(c)];
        const Course& got = actual.Courses[static_cast<std::size_t>(c)];
        const QString where = QStringLiteral("course %1: ").arg(c);
        if (want.CourseName != got.CourseName)
            return where +
                   QStringLiteral("name %1, not %2").arg(q(got.CourseName).left(40), q(want.CourseName).left(40));
        if (want.NumSections != got.NumSections)
            return where + QStringLiteral("%1 sections, not %2").arg(got.NumSections).arg(want.NumSections);
        for (int s = 0; s < want.NumSections; ++s) {
            const Section& a = want.Sections[static_cast<std::size_t>(s)];
            const Section& b = got.Sections[static_cast<std::size_t>(s)];
            const QString at = where + QStringLiteral("section %1: ").arg(s);
            if (a.SecNum != b.SecNum)
                return at + QStringLiteral("number %1, not %2").arg(q(b.SecNum).left(40), q(a.SecNum).left(40));
            if (a.CourseName != b.CourseName) return at + QStringLiteral("course name");
            if (a.StartSlot != b.StartSlot || a.EndSlot != b.EndSlot || a.StartTime != b.StartTime ||
                a.EndTime != b.EndTime)
                return at + QStringLiteral("times %1 - %2, not %3 - %4")
                                .arg(q(b.StartTime), q(b.EndTime), q(a.StartTime), q(a.EndTime));
            if (a.Days != b.Days) return at + QStringLiteral("days");
            if (a.LeftOut != b.LeftOut)
                return at + (b.LeftOut ? QStringLiteral("left out, not taken") : QStringLiteral("taken, not left out"));
            if (a.NumMoreMeetings != b.NumMoreMeetings || a.MoreMeetings != b.MoreMeetings)
                return at + QStringLiteral("%1 more meetings, not %2").arg(b.NumMoreMeetings).arg(a.NumMoreMeetings);
        }
    }
    return {};
}

QString describeOptions(const ScheduleOptions& options) {
    static const char* const Days[] = {"M", "T", "W", "Th", "F", "S", "Su"};
    QStringList runs;
    for (int day = 0; day < 7; ++day)
        for (int slot = 0; slot < 29; ++slot) {
            if (!options.busy.test(static_cast<std::size_t>(day * 29 + slot))) continue;
            int end = slot;
            while (end < 29 && options.busy.test(static_cast<std::size_t>(day * 29 + end))) ++end;
            runs << QStringLiteral("%1 %2-%3").arg(QLatin1String(Days[day]), shownTime(slot), shownTime(end));
            slot = end;
        }
    return QStringLiteral("busy %1; order %2 then %3%4")
        .arg(runs.join(QStringLiteral(", ")))
        .arg(static_cast<int>(options.primary))
        .arg(static_cast<int>(options.tieBreak))
        .arg(options.sameTimesOnce ? QStringLiteral("; same times once") : QString());
}

QString describeFavourites(const std::vector<FavouriteSections>& favourites) {
    QStringList all;
    for (const FavouriteSections& sections : favourites) {
        QStringList places;
        for (int16_t index : sections) places << QString::number(index);
        all << places.join(u' ');
    }
    return all.join(QStringLiteral(" / "));
}

QString difference(const ScheduleDocument& expected, const ScheduleDocument& actual) {
    if (const QString courses = difference(expected.courses, actual.courses); !courses.isEmpty()) return courses;
    if (describeFavourites(expected.favourites) != describeFavourites(actual.favourites))
        return QStringLiteral("favourites %1, not %2")
            .arg(describeFavourites(actual.favourites), describeFavourites(expected.favourites));
    if (describeOptions(expected.options) != describeOptions(actual.options))
        return QStringLiteral("options %1, not %2")
            .arg(describeOptions(actual.options), describeOptions(expected.options));
    return {};
}

}  // namespace quorvandel::file_testing
