// The calendar file of a timetable, read back the way calendar programs
// read it: by libical's own parser (with its recurrence expansion) and by
// Python's icalendar module. Both must see exactly the events this test
// works out on its own, day by day, from the term and the sections.
#include <libical/ical.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <set>

#include "section_maker.h"
#include "timetable_calendar.h"

using namespace quorvandel;
using namespace std::chrono;

namespace {

// One course of a fixture, with the summary its events must carry.
struct TimeRow {
    int start, end;
    std::vector<int> days;
};
struct CourseRow {
    Text name, number;
    int start, end;
    std::vector<int> days;
    QString summary;
    std::vector<TimeRow> more = {};  // the section's further times
};

unsigned dayBitsOf(const std::vector<int>& days) {
    unsigned dayBits = 0;
    for (int d : days) dayBits |= 1U << d;
    return dayBits;
}
using Fixture = std::vector<CourseRow>;

Timetable timetableOf(const Fixture& fixture) {
    Timetable timetable;
    for (const CourseRow& row : fixture) {
        Section section = testing::makeSection(row.name, row.number, row.start, row.end, dayBitsOf(row.days));
        for (const TimeRow& time : row.more)
            section = testing::withMeeting(section, time.start, time.end, dayBitsOf(time.days));
        timetable.Sections[static_cast<size_t>(timetable.NumSections++)] = section;
    }
    return timetable;
}

// Five courses whose texts iCalendar must escape or that are easily broken
// on the way: commas, semicolons, backslashes, emoji, combining marks,
// right-to-left script, tabs and line feeds.
Fixture fiveCourses() {
    return {
        {u"Organic Chemistry II", u"H1", 2, 5, {0, 2}, QStringLiteral("Organic Chemistry II - H1")},
        {u"\U0001F4DA Lit; Art, \\Music", u"02", 0, 1, {1, 3, 5}, QString::fromUtf8("📚 Lit; Art, \\Music - 02")},
        {u"Cafe\u0301", u"L-3", 28, 29, {4, 6}, QString::fromUtf8("Cafe\u0301 - L-3")},
        {u"\u05DE\u05D1\u05D5\u05D0", u"\u0661\u0662", 11, 14, {0, 4}, QString::fromUtf8("מבוא - ١٢")},
        {u"Line\nbreak\ttab", u"7", 16, 20, {2}, QStringLiteral("Line\nbreak\ttab - 7")},
    };
}

// A lecture with its lab, and a section meeting twice on one day.
Fixture withLabs() {
    return {
        {u"Chem", u"01", 2, 4, {0, 2, 4}, QStringLiteral("Chem - 01"), {{12, 18, {1}}}},
        {u"Bio", u"2", 0, 2, {0}, QStringLiteral("Bio - 2"), {{14, 16, {0}}, {20, 22, {6}}}},
    };
}

// Characters iCalendar text cannot hold, and what comes out instead.
Fixture unwritableCharacters() {
    return {
        {u"CR LF\r\nhere", u"1", 2, 4, {0}, QStringLiteral("CR LF\nhere - 1")},
        {u"CR\ralone", u"2", 4, 6, {0}, QStringLiteral("CR\nalone - 2")},
        {Text(u"NUL\0in", 6), u"3", 6, 8, {0}, QString::fromUtf8("NUL\uFFFDin - 3")},
        {u"bell\a del\x7f", u"4", 8, 10, {0}, QString::fromUtf8("bell\uFFFD del\uFFFD - 4")},
        {Text(1, char16_t(0xD83D)) + u"x" + Text(1, char16_t(0xDC00)),
         u"5",
         10,
         12,
         {0},
         QString::fromUtf8("\uFFFDx\uFFFD - 5")},
    };
}

// What a calendar program must see of one event; occurrences are local
// date-times "YYYY-MM-DDTHH:MM".
struct SeenEvent {
    QString uid, summary, start, end;
    bool floating = false, stamped = false;
    QStringList occurrences;
    bool operator==(const SeenEvent&) const = default;
};

// How QCOMPARE prints an event that differs.
char* toString(const SeenEvent& e) {
    const QString text = QStringLiteral("{%1 | %2 | %3 .. %4 | floating %5 stamped %6 | %7}")
                             .arg(e.uid, e.summary, e.start, e.end)
                             .arg(e.floating)
                             .arg(e.stamped)
                             .arg(e.occurrences.join(QLatin1Char(' ')));
    return qstrdup(text.toUtf8().constData());
}

QString minutesText(int year, int month, int day, int hour, int minute) {
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d", year, month, day, hour, minute);
}
QString minutesText(const icaltimetype& t) { return minutesText(t.year, t.month, t.day, t.hour, t.minute); }
QString minutesText(sys_days date, int slot) {
    const year_month_day d(date);
    return minutesText(int(d.year()), int(unsigned(d.month())), int(unsigned(d.day())), 8 + slot / 2, slot % 2 * 30);
}

// The events worked out by walking the term one day at a time.
std::vector<SeenEvent> expectedEvents(const Fixture& fixture, const Term& term) {
    std::vector<SeenEvent> events;
    for (const CourseRow& section : fixture) {
        std::vector<TimeRow> times{{section.start, section.end, section.days}};
        times.insert(times.end(), section.more.begin(), section.more.end());
        for (const TimeRow& row : times) {
            for (int day = 0; day < 7; ++day) {
                if (std::find(row.days.begin(), row.days.end(), day) == row.days.end()) continue;
                std::vector<sys_days> dates;
                for (sys_days d = sys_days(term.firstDay); d <= sys_days(term.lastDay); d += days(1)) {
                    if (weekday(d) == Monday + days(day)) dates.push_back(d);
                }
                if (dates.empty()) continue;
                SeenEvent event;
                event.summary = section.summary;
                event.start = minutesText(dates.front(), row.start);
                event.end = minutesText(dates.front(), row.end);
                for (sys_days d : dates) event.occurrences << minutesText(d, row.start);
                event.floating = event.stamped = true;
                events.push_back(event);
            }
        }
    }
    return events;
}

bool isFloating(icalproperty* property, const icaltimetype& t) {
    return property != nullptr && icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER) == nullptr &&
           t.zone == nullptr && !icaltime_is_utc(t) && !icaltime_is_date(t);
}

// Every VEVENT as libical reads it, its weekly rule expanded by libical.
std::vector<SeenEvent> readByLibical(icalcomponent* calendar) {
    std::vector<SeenEvent> events;
    for (icalcomponent* ev = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); ev != nullptr;
         ev = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        SeenEvent event;
        event.uid = QString::fromUtf8(icalcomponent_get_uid(ev));
        event.summary = QString::fromUtf8(icalcomponent_get_summary(ev));
        const icaltimetype start = icalcomponent_get_dtstart(ev);
        const icaltimetype end = icalcomponent_get_dtend(ev);
        event.start = minutesText(start);
        event.end = minutesText(end);
        icalproperty* ruleProperty = icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY);
        const icalrecurrencetype rule = icalproperty_get_rrule(ruleProperty);
        event.floating = isFloating(icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY), start) &&
                         isFloating(icalcomponent_get_first_property(ev, ICAL_DTEND_PROPERTY), end) &&
                         rule.freq == ICAL_WEEKLY_RECURRENCE && rule.interval == 1 && rule.count == 0 &&
                         isFloating(ruleProperty, rule.until);
        const icaltimetype stamp = icalcomponent_get_dtstamp(ev);
        event.stamped = icaltime_is_utc(stamp) && icaltime_as_timet(stamp) == 1'800'000'000;
        icalrecur_iterator* it = icalrecur_iterator_new(rule, start);
        for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t) && event.occurrences.size() < 600;
             t = icalrecur_iterator_next(it)) {
            event.occurrences << minutesText(t);
        }
        icalrecur_iterator_free(it);
        events.push_back(event);
    }
    return events;
}

// A python3 that has the icalendar module: the one on PATH, else the
// system's (a private Python on PATH may lack the Debian module).
QString pythonWithIcalendar() {
    for (const QString& candidate :
         {QStandardPaths::findExecutable(QStringLiteral("python3")), QStringLiteral("/usr/bin/python3")}) {
        if (candidate.isEmpty()) continue;
        QProcess probe;
        probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import icalendar, dateutil")});
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return candidate;
    }
    return {};
}

constexpr sys_seconds Stamp{seconds(1'800'000'000)};  // 2027-01-15 08:00:00 UTC

Term term(year_month_day first, year_month_day last) { return {first, last}; }

}  // namespace

Q_DECLARE_METATYPE(Fixture)
Q_DECLARE_METATYPE(quorvandel::Term)
Q_DECLARE_METATYPE(quorvandel::CalendarError)

class CalendarTest : public QObject {
    Q_OBJECT
private slots:
    void readBack_data() {
        QTest::addColumn<Fixture>("fixture");
        QTest::addColumn<Term>("term");
        const Fixture five = fiveCourses();
        QTest::newRow("one day, a Wednesday") << five << term(2027y / March / 3, 2027y / March / 3);
        QTest::newRow("one week from a Wednesday") << five << term(2027y / March / 3, 2027y / March / 9);
        QTest::newRow("US and EU daylight-saving changes") << five << term(2027y / March / 1, 2027y / April / 30);
        QTest::newRow("autumn changes, ends on a Monday")
            << five << term(2027y / September / 20, 2027y / November / 15);
        QTest::newRow("new year and a leap day") << five << term(2027y / December / 20, 2028y / March / 5);
        QTest::newRow("a whole year") << five << term(2027y / January / 1, 2027y / December / 31);
        QTest::newRow("lectures with labs, two times on a Monday")
            << withLabs() << term(2027y / March / 1, 2027y / March / 21);
        QTest::newRow("unwritable characters") << unwritableCharacters() << term(2027y / March / 1, 2027y / March / 14);
    }
    void readBack() {
        QFETCH(Fixture, fixture);
        QFETCH(Term, term);
        const CalendarText made = timetableCalendar(timetableOf(fixture), term, Stamp);
        QCOMPARE(made.error, CalendarError::None);

        icalcomponent* calendar = icalparser_parse_string(made.text.c_str());
        QVERIFY(calendar != nullptr);
        QCOMPARE(icalcomponent_isa(calendar), ICAL_VCALENDAR_COMPONENT);
        QCOMPARE(icalcomponent_count_errors(calendar), 0);
        QVERIFY(icalcomponent_get_first_property(calendar, ICAL_PRODID_PROPERTY) != nullptr);
        QCOMPARE(QString::fromUtf8(
                     icalproperty_get_version(icalcomponent_get_first_property(calendar, ICAL_VERSION_PROPERTY))),
                 QStringLiteral("2.0"));
        std::vector<SeenEvent> seen = readByLibical(calendar);
        icalcomponent_free(calendar);

        // UIDs: unique in the file, the same when the file is made again later.
        std::set<QString> uids;
        icalcomponent* again =
            icalparser_parse_string(timetableCalendar(timetableOf(fixture), term, Stamp + days(3)).text.c_str());
        const std::vector<SeenEvent> remade = readByLibical(again);
        icalcomponent_free(again);
        QCOMPARE(remade.size(), seen.size());
        for (size_t i = 0; i < seen.size(); ++i) {
            QVERIFY2(uids.insert(seen[i].uid).second, qPrintable(seen[i].uid));
            QCOMPARE(remade[i].uid, seen[i].uid);
        }

        std::vector<SeenEvent> expected = expectedEvents(fixture, term);
        for (size_t i = 0; i < expected.size() && i < seen.size(); ++i) expected[i].uid = seen[i].uid;
        QCOMPARE(seen.size(), expected.size());
        for (size_t i = 0; i < seen.size(); ++i) QCOMPARE(seen[i], expected[i]);

        // The same events through Python's icalendar.
        const QString python = pythonWithIcalendar();
        if (python.isEmpty()) QSKIP("python3 with the icalendar module (python3-icalendar) is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("timetable.ics"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(made.text.data(), static_cast<qint64>(made.text.size()));
        file.close();
        QProcess reader;
        reader.start(python, {QStringLiteral(QUORVANDEL_CALENDAR_READER), path});
        QVERIFY(reader.waitForFinished(60000));
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
        const QJsonObject read = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
        QCOMPARE(read[QLatin1String("version")].toString(), QStringLiteral("2.0"));
        QVERIFY(!read[QLatin1String("prodid")].toString().isEmpty());
        const QJsonArray events = read[QLatin1String("events")].toArray();
        QCOMPARE(size_t(events.size()), expected.size());
        for (qsizetype i = 0; i < events.size(); ++i) {
            const QJsonObject e = events[i].toObject();
            SeenEvent event{e[QLatin1String("uid")].toString(),
                            e[QLatin1String("summary")].toString(),
                            e[QLatin1String("start")].toString(),
                            e[QLatin1String("end")].toString(),
                            !e[QLatin1String("zoned")].toBool(),
                            e[QLatin1String("stamped")].toBool(),
                            e[QLatin1String("occurrences")].toVariant().toStringList()};
            QCOMPARE(event, expected[size_t(i)]);
        }
    }

    void refused_data() {
        QTest::addColumn<Fixture>("fixture");
        QTest::addColumn<Term>("term");
        QTest::addColumn<int>("endSlot");  // given to the first section, when not 0
        QTest::addColumn<CalendarError>("error");
        const Fixture five = fiveCourses();
        const Term march = term(2027y / March / 1, 2027y / March / 31);
        QTest::newRow("last day before the first")
            << five << term(2027y / March / 2, 2027y / March / 1) << 0 << CalendarError::TermEndsBeforeStart;
        QTest::newRow("30 February") << five << term(2027y / February / 30, 2027y / March / 1) << 0
                                     << CalendarError::InvalidDay;
        QTest::newRow("year 1899") << five << term(1899y / December / 31, 2027y / March / 1) << 0
                                   << CalendarError::InvalidDay;
        QTest::newRow("year 10000") << five << term(2027y / March / 1, 10000y / January / 1) << 0
                                    << CalendarError::InvalidDay;
        QTest::newRow("one day nobody meets")
            << Fixture{five[0]} << term(2027y / March / 2, 2027y / March / 2) << 0 << CalendarError::NoMeetingInTerm;
        QTest::newRow("no sections") << Fixture{} << march << 0 << CalendarError::NoMeetingInTerm;
        QTest::newRow("ends after 22:30") << five << march << 30 << CalendarError::DamagedSection;
        QTest::newRow("ends at its start") << five << march << 2 << CalendarError::DamagedSection;
    }
    void refused() {
        QFETCH(Fixture, fixture);
        QFETCH(Term, term);
        QFETCH(int, endSlot);
        QFETCH(CalendarError, error);
        Timetable timetable = timetableOf(fixture);
        if (endSlot != 0) timetable.Sections[0].EndSlot = static_cast<int16_t>(endSlot);
        const CalendarText made = timetableCalendar(timetable, term, Stamp);
        QCOMPARE(made.error, error);
        QVERIFY(made.text.empty());
        QVERIFY(!calendarErrorMessage(error).empty());
    }
};

QTEST_GUILESS_MAIN(CalendarTest)
#include "test_calendar.moc"
