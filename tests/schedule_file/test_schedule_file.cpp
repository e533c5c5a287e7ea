// Schedule files: random schedules with hostile texts come back exactly,
// version 1 files load, every kind of broken or foreign file is refused with
// a message that names it and the fault, and a failed save leaves the old
// file as it was.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <future>
#include <memory>

#include "schedule_file_testing.h"
#include "schedule_makers.h"

using namespace quorvandel;
using namespace quorvandel::file_testing;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// A file text around the given courses, and around one course "Chem" with
// the given sections.
QByteArray scheduleText(const QByteArray& courses) {
    return R"({"format": "quorvandel-schedule", "version": 1, "courses": [)" + courses + "]}";
}
QByteArray chemText(const QByteArray& sections) {
    return scheduleText(R"({"name": "Chem", "sections": [)" + sections + "]}");
}
QByteArray withSection(const QByteArray& fields) { return chemText("{" + fields + "}"); }
const QByteArray GoodSection = R"({"number": "01", "start": "9:00", "end": "10:30", "days": ["M", "W"]})";

QByteArray repeated(const QByteArray& item, int times) {
    QByteArrayList items;
    for (int i = 0; i < times; ++i) items << item;
    return items.join(",");
}

// "Chem / 01 / 9:00 - 10:30 / M W" for each section, "Chem" for a course
// without one: what the user sees of a schedule, in the test's own words.
QStringList describe(const CourseList& list) {
    static const char* const Days[] = {"M", "T", "W", "Th", "F", "S", "Su"};
    QStringList lines;
    for (int c = 0; c < list.NumCourses; ++c) {
        const Course& course = list.Courses[static_cast<std::size_t>(c)];
        if (course.NumSections == 0) lines << q(course.CourseName);
        for (int s = 0; s < course.NumSections; ++s) {
            const Section& section = course.Sections[static_cast<std::size_t>(s)];
            const auto time = [](const Text& start, const Text& end, const std::array<bool, DaysPerWeek>& on) {
                QStringList days;
                for (int d = 0; d < 7; ++d)
                    if (on[static_cast<std::size_t>(d)]) days << QString::fromLatin1(Days[d]);
                return QStringLiteral("%1 - %2 / %3").arg(q(start), q(end), days.join(u' '));
            };
            QString line = QStringLiteral("%1 / %2 / ").arg(q(course.CourseName), q(section.SecNum)) +
                           time(section.StartTime, section.EndTime, section.Days);
            for (int m = 0; m < section.NumMoreMeetings; ++m) {
                const Meeting& more = section.MoreMeetings[static_cast<std::size_t>(m)];
                line += QStringLiteral(" + ") + time(more.StartTime, more.EndTime, more.Days);
            }
            lines << line;
        }
    }
    return lines;
}

// Every character but the surrogates, in names of 10,000 characters.
std::unique_ptr<ScheduleDocument> everyCharacter() {
    QString all;
    for (char32_t c = 1; c < 0x110000; c += (c < 0x10000 ? 1 : 0xFF)) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        all += character(c);
    }
    for (char32_t c : {0x1FFFE, 0x1FFFF, 0x10FFFE, 0x10FFFF}) all += character(c);
    auto document = std::make_unique<ScheduleDocument>();
    for (qsizetype from = 0; from < all.size(); from += 10000) {
        QString piece = all.mid(from, 10000);
        if (piece.back().isHighSurrogate()) piece.chop(1), --from;  // keep pairs whole
        Course& course = document->courses.Courses[static_cast<std::size_t>(document->courses.NumCourses++)];
        course.CourseName = t(piece);
    }
    return document;
}

bool isRoot() { return ::geteuid() == 0; }

}  // namespace

class TestScheduleFile : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;
    QString scratchFile(const QString& name) const { return scratch.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(scratch.isValid()); }

    void randomSchedulesComeBackExactly() {
        const QString first = scratchFile(QStringLiteral("first.qvs"));
        const QString second = scratchFile(QStringLiteral("second.qvs"));
        for (std::uint64_t seed = 0; seed < 250; ++seed) {
            const auto document =
                seed == 0 ? everyCharacter() : std::make_unique<ScheduleDocument>(randomDocument(seed));
            const auto wrote = writeScheduleFile(fsPath(first), *document);
            QVERIFY2(!wrote, qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(q(wrote->message).left(200))));
            const ScheduleFileRead read = readScheduleFile(fsPath(first));
            QVERIFY2(read.document, qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(q(read.problem.message))));
            const QString differs = difference(*document, *read.document);
            QVERIFY2(differs.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(differs)));
            // Version 1 unless a section meets at more than one time, which
            // an older program must not read as its first time alone.
            bool moreMeetings = false;
            for (int c = 0; c < document->courses.NumCourses; ++c)
                for (const Section& section : document->courses.Courses[static_cast<std::size_t>(c)].Sections)
                    moreMeetings = moreMeetings || section.NumMoreMeetings > 0;
            QCOMPARE(readAll(first).contains("\"version\": 2\n"), moreMeetings);
            QCOMPARE(readAll(first).contains("\"version\": 1\n"), !moreMeetings);
            // What was read writes out as the very same bytes: the format has
            // one way to say each schedule. (Every fifth seed: each save
            // waits for the disk.)
            if (seed % 5 != 0) continue;
            QVERIFY(!writeScheduleFile(fsPath(second), *read.document));
            QVERIFY2(readAll(first) == readAll(second), qPrintable(QStringLiteral("seed %1").arg(seed)));
        }
    }

    // The example of the README, which version 1 files look like.
    void writesTheDocumentedLayout() {
        auto document = std::make_unique<ScheduleDocument>();
        CourseList& list = document->courses;
        makers::addCourse(list, "Chem");
        makers::addSection(list, 0, 2, 5, 0b101);
        list.Courses[0].Sections[0].SecNum = u"02";
        for (int day : {0, 2})
            for (int slot = 10; slot < 13; ++slot)
                document->options.busy.set(static_cast<std::size_t>(day * 29 + slot));
        document->options.primary = ResultOrder::FewestDays;
        document->options.tieBreak = ResultOrder::LatestStart;
        document->favourites = {{0}};
        const QString path = scratchFile(QStringLiteral("layout.qvs"));
        QVERIFY(!writeScheduleFile(fsPath(path), *document));
        QCOMPARE(QString::fromUtf8(readAll(path)), QStringLiteral(R"({
    "courses": [
        {
            "name": "Chem",
            "sections": [
                {
                    "days": [
                        "M",
                        "W"
                    ],
                    "end": "10:30",
                    "number": "02",
                    "start": "9:00"
                }
            ]
        }
    ],
    "favourites": [
        [
            1
        ]
    ],
    "format": "quorvandel-schedule",
    "options": {
        "busy": [
            {
                "days": [
                    "M",
                    "W"
                ],
                "end": "14:30",
                "start": "13:00"
            }
        ],
        "order": "fewest-days",
        "then": "latest-start"
    },
    "version": 1
}
)"));
    }

    // Options and favourites: a file without them (as every file was before
    // they existed) has none set; busy times may overlap, cover a whole day,
    // or come as one entry per day; favourites name places counted from 1.
    void loadsOptionalFields_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("value");  // the field's value, or nothing for no field
        QTest::addColumn<QString>("seen");      // describeOptions or describeFavourites of what was read
        const QString none = QStringLiteral("busy ; order 0 then 0");
        QTest::newRow("a file without options") << QByteArray("options") << QByteArray() << none;
        QTest::newRow("no busy time, first found")
            << QByteArray("options") << QByteArray(R"({"busy": [], "order": "first-found", "then": "first-found"})")
            << none;
        QTest::newRow("busy blocks and two orders")
            << QByteArray("options") << QByteArray(R"({"busy": [{"start": "9:00", "end": "10:30", "days": ["W", "M"]},
                {"start": "8:00", "end": "22:30", "days": ["Su"]}], "order": "fewest-idle", "then": "earliest-finish",
                "later": 1})")
            << QStringLiteral("busy M 9:00-10:30, W 9:00-10:30, Su 8:00-22:30; order 2 then 4");
        QTest::newRow("overlapping and touching entries join")
            << QByteArray("options") << QByteArray(R"({"busy": [{"start": "9:00", "end": "10:00", "days": ["T"]},
                {"start": "9:30", "end": "11:00", "days": ["T"]}, {"start": "11:00", "end": "11:30", "days": ["T"]}],
                "order": "latest-start", "then": "fewest-days"})")
            << QStringLiteral("busy T 9:00-11:30; order 3 then 1");
        QTest::newRow("same times once")
            << QByteArray("options")
            << QByteArray(R"({"busy": [], "order": "fewest-days", "then": "first-found", "same-times-once": true})")
            << QStringLiteral("busy ; order 1 then 0; same times once");
        QTest::newRow("same times once, off")
            << QByteArray("options")
            << QByteArray(R"({"busy": [], "order": "first-found", "then": "first-found", "same-times-once": false})")
            << none;
        QTest::newRow("a file without favourites") << QByteArray("favourites") << QByteArray() << QString();
        QTest::newRow("no favourites") << QByteArray("favourites") << QByteArray("[]") << QString();
        QTest::newRow("places counted from 1, kept in their order")
            << QByteArray("favourites") << QByteArray("[[2, 1], [1, 1], [2.0, 2]]")
            << QStringLiteral("1 0 / 0 0 / 1 1");
    }
    void loadsOptionalFields() {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, value);
        QFETCH(QString, seen);
        // Chem and Bio with two sections each, for the favourites to name.
        QByteArray file = chemText(repeated(GoodSection, 2));
        file.insert(file.size() - 2,
                    ", " + QByteArray(R"({"name": "Bio", "sections": [)") + GoodSection + ", " + GoodSection + "]}");
        if (!value.isEmpty()) file.insert(file.size() - 1, ", \"" + field + "\": " + value);
        const QString path = scratchFile(QStringLiteral("optional.qvs"));
        QVERIFY(writeAll(path, file));
        const ScheduleFileRead read = readScheduleFile(fsPath(path));
        QVERIFY2(read.document, qPrintable(q(read.problem.message)));
        QCOMPARE(read.document->courses.NumCourses, 2);
        const ScheduleDocument& got = *read.document;
        QCOMPARE(field == "options" ? describeOptions(got.options) : describeFavourites(got.favourites), seen);
    }

    void loads_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("seen");
        QTest::newRow("no courses") << scheduleText("") << QStringList{};
        QTest::newRow("a course without sections")
            << scheduleText(R"({"name": "Bio", "sections": []})") << QStringList{"Bio"};
        QTest::newRow("days in any order, times with a leading zero")
            << withSection(R"("number": "7", "start": "08:00", "end": "22:30", "days": ["Su", "W", "M", "Th"])")
            << QStringList{"Chem / 7 / 8:00 - 22:30 / M W Th Su"};
        QTest::newRow("unknown fields at every level")
            << QByteArray(R"({"format": "quorvandel-schedule", "version": 1, "busy": [1, {"a": null}],
                "courses": [{"name": "Chem", "colour": "red", "sections": [
                {"number": "01", "start": "9:00", "end": "10:30", "days": ["M"], "room": {"x": [true]}}]}],
                "colours": {}})")
            << QStringList{"Chem / 01 / 9:00 - 10:30 / M"};
        QTest::newRow("version written as 1.0, a byte-order mark before it")
            << QByteArray(
                   "\xEF\xBB\xBF"
                   R"({"format": "quorvandel-schedule", "version": 1.0, "courses": []})")
            << QStringList{};
        QTest::newRow("escaped texts")
            << scheduleText("{\"name\": \"\\u00c9t\\u00e9 \\\"1\\\"\\t\\ud83d\\ude00\", \"sections\": []}")
            << QStringList{QStringLiteral("\u00C9t\u00E9 \"1\"\t\U0001F600")};
        QTest::newRow("20 courses of 10 sections")
            << scheduleText(repeated(R"({"name": "Chem", "sections": [)" + repeated(GoodSection, 10) + "]}", 20))
            << QStringList(200, QStringLiteral("Chem / 01 / 9:00 - 10:30 / M W"));
        QByteArray full = chemText(GoodSection);
        full.insert(full.size() - 1, QByteArray(MaxScheduleFileBytes - full.size(), ' '));
        QTest::newRow("exactly 1 MiB") << full << QStringList{"Chem / 01 / 9:00 - 10:30 / M W"};
        QTest::newRow("a lecture with its lab")
            << withSection(R"("number": "01", "start": "9:00", "end": "10:00", "days": ["M", "W", "F"],
                              "more-meetings": [{"start": "14:00", "end": "17:00", "days": ["T"]}])")
            << QStringList{"Chem / 01 / 9:00 - 10:00 / M W F + 14:00 - 17:00 / T"};
        QTest::newRow("four meetings, two on one day, back to back")
            << withSection(R"("number": "01", "start": "9:00", "end": "10:00", "days": ["M"], "more-meetings": [
                   {"start": "10:00", "end": "11:00", "days": ["M"]}, {"start": "8:00", "end": "22:30", "days": ["Su"]},
                   {"start": "15:00", "end": "16:00", "days": ["M", "T"]}])")
            << QStringList{
                   "Chem / 01 / 9:00 - 10:00 / M + 10:00 - 11:00 / M + 8:00 - 22:30 / Su + 15:00 - 16:00 / M T"};
    }
    void loads() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, seen);
        const QString path = scratchFile(QStringLiteral("loads.qvs"));
        QVERIFY(writeAll(path, file));
        const ScheduleFileRead read = readScheduleFile(fsPath(path));
        QVERIFY2(read.document, qPrintable(q(read.problem.message)));
        QCOMPARE(brokenRule(read.document->courses), QString());
        QCOMPARE(describe(read.document->courses), seen);
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("says");
        const auto row = [](const char* name, const QByteArray& file, QStringList says) {
            QTest::newRow(name) << file << says;
        };
        row("empty", "", {"empty"});
        row("not JSON", "Chem 01 9:00 - 10:30 M W\n", {"not a Quorvandel schedule", "not JSON", "line 1, column"});
        row("JSON syntax error, with where", "{\n  \"format\": \"quorvandel-schedule\",\n  \"version\" 1\n}",
            {"not JSON", "line 3, column"});
        row("invalid UTF-8", scheduleText("{\"name\": \"\xff\", \"sections\": []}"), {"not JSON", "UTF8"});
        row("100,000 nested lists", QByteArray(100000, '[') + QByteArray(100000, ']'), {"not JSON", "nested"});
        row("garbage after the object", chemText(GoodSection) + " x", {"not JSON"});
        row("a list at the top", "[]", {"not a Quorvandel schedule"});
        row("another format", R"({"format": "other", "version": 1, "courses": []})", {"not a Quorvandel schedule"});
        row("no format", R"({"version": 1, "courses": []})", {"not a Quorvandel schedule"});
        row("newer version", R"({"format": "quorvandel-schedule", "version": 3, "courses": []})",
            {"newer", "version 3", "reads version 2 and older"});
        row("version 2^63", R"({"format": "quorvandel-schedule", "version": 9223372036854775808, "courses": []})",
            {"newer"});
        row("version 8.5", R"({"format": "quorvandel-schedule", "version": 8.5, "courses": []})",
            {"not a file version"});
        row("version -0", R"({"format": "quorvandel-schedule", "version": -0, "courses": []})", {"not a file version"});
        row("version as a text", R"({"format": "quorvandel-schedule", "version": "1", "courses": []})",
            {"\"version\" is not a number"});
        row("no version", R"({"format": "quorvandel-schedule", "courses": []})", {"\"version\" is missing"});
        row("no courses field", R"({"format": "quorvandel-schedule", "version": 1})", {"\"courses\" is missing"});
        row("courses not a list", R"({"format": "quorvandel-schedule", "version": 1, "courses": {}})",
            {"\"courses\" is not a list"});
        row("21 courses", scheduleText(repeated(R"({"name": "C", "sections": []})", 21)), {"21 courses", "at most 20"});
        row("11 sections", chemText(repeated(GoodSection, 11)), {"course 1", "11 sections", "at most 10"});
        row("a course that is not an object", scheduleText("\"Chem\""), {"course 1", "not an object"});
        row("a course name that is a number", scheduleText(R"({"name": 5, "sections": []})"),
            {"course 1", "\"name\" is not a text"});
        row("no course name", scheduleText(R"({"sections": []})"), {"\"name\" is missing"});
        row("empty course name", scheduleText(R"({"name": "", "sections": []})"), {"course name is empty"});
        row("a lone surrogate in a name", scheduleText(R"({"name": "x\ud800", "sections": []})"), {"surrogate"});
        row("sections not a list", scheduleText(R"({"name": "Chem", "sections": "01"})"),
            {"\"sections\" is not a list"});
        row("a section that is a list", chemText("[]"), {"course 1, section 1", "not an object"});
        row("the fault's place",
            scheduleText(R"({"name": "A", "sections": []}, {"name": "B", "sections": [)" + repeated(GoodSection, 2) +
                         R"(, {"number": "3"}]})"),
            {"course 2, section 3", "\"start\" is missing"});
        row("no number", withSection(R"("start": "9:00", "end": "10:30", "days": ["M"])"), {"\"number\" is missing"});
        row("empty number", withSection(R"("number": "", "start": "9:00", "end": "10:30", "days": ["M"])"),
            {"section number is empty"});
        row("a lone surrogate in a number",
            withSection(R"("number": "\udc00", "start": "9:00", "end": "10:30", "days": ["M"])"), {"surrogate"});
        row("number as a number", withSection(R"("number": 1, "start": "9:00", "end": "10:30", "days": ["M"])"),
            {"\"number\" is not a text"});
        row("no end", withSection(R"("number": "1", "start": "9:00", "days": ["M"])"), {"\"end\" is missing"});
        row("a start off the half-hour", withSection(R"("number": "1", "start": "8:15", "end": "9:00", "days": ["M"])"),
            {"the start \"8:15\" is not a half-hour from 8:00 to 22:30"});
        row("a start before 8:00", withSection(R"("number": "1", "start": "7:30", "end": "9:00", "days": ["M"])"),
            {"\"7:30\" is not a half-hour"});
        row("an end after 22:30", withSection(R"("number": "1", "start": "9:00", "end": "23:00", "days": ["M"])"),
            {"the end \"23:00\""});
        row("a time as minutes", withSection(R"("number": "1", "start": 60, "end": "9:00", "days": ["M"])"),
            {"\"start\" is not a text"});
        row("a time with blanks", withSection(R"("number": "1", "start": " 9:00", "end": "10:00", "days": ["M"])"),
            {"\" 9:00\" is not a half-hour"});
        row("end equal to start", withSection(R"("number": "1", "start": "9:00", "end": "9:00", "days": ["M"])"),
            {"the end 9:00 is not after the start 9:00"});
        row("end before start", withSection(R"("number": "1", "start": "22:30", "end": "8:00", "days": ["M"])"),
            {"the end 8:00 is not after the start 22:30"});
        row("no day", withSection(R"("number": "1", "start": "9:00", "end": "10:00", "days": [])"),
            {"meets on no day"});
        row("no days field", withSection(R"("number": "1", "start": "9:00", "end": "10:00")"), {"\"days\" is missing"});
        row("a day twice", withSection(R"("number": "1", "start": "9:00", "end": "10:00", "days": ["W", "M", "W"])"),
            {"\"W\" is listed twice"});
        row("an unknown day", withSection(R"("number": "1", "start": "9:00", "end": "10:00", "days": ["Mo"])"),
            {"\"Mo\" is not a day"});
        row("a day in lower case", withSection(R"("number": "1", "start": "9:00", "end": "10:00", "days": ["m"])"),
            {"\"m\" is not a day"});
        row("a day as a number", withSection(R"("number": "1", "start": "9:00", "end": "10:00", "days": [0])"),
            {"is not a day"});
        row("days as a text", withSection(R"("number": "1", "start": "9:00", "end": "10:00", "days": "M W")"),
            {"\"days\" is not a list"});
        const auto withMeetings = [](const QByteArray& more) {
            return withSection(R"("number": "1", "start": "9:00", "end": "10:00", "days": ["M"], "more-meetings": )" +
                               more);
        };
        const QByteArray lab = R"({"start": "14:00", "end": "17:00", "days": ["T"]})";
        row("an empty list of more meetings", withMeetings("[]"),
            {"course 1, section 1", "\"more-meetings\" is empty"});
        row("five meetings", withMeetings("[" + repeated(lab, 4) + "]"), {"lists 5 meetings", "at most 4"});
        row("more meetings not a list", withMeetings(lab), {"\"more-meetings\" is not a list"});
        row("a left-out mark that is not true or false",
            withSection(R"("number": "1", "start": "9:00", "end": "10:00", "days": ["M"], "left-out": "yes")"),
            {"course 1, section 1", "\"left-out\" is not true or false"});
        row("a meeting that is not an object", withMeetings("[\"T 14:00\"]"), {"meeting 2", "not an object"});
        row("a meeting sharing a half-hour with the first",
            withMeetings(R"([{"start": "9:30", "end": "11:00", "days": ["W", "M"]}])"),
            {"course 1, section 1", "meeting 1 and meeting 2 share Monday 9:30 to 10:00"});
        row("two later meetings sharing a half-hour",
            withMeetings("[" + lab + R"(, {"start": "16:30", "end": "18:00", "days": ["T"]}])"),
            {"meeting 2 and meeting 3 share Tuesday 16:30 to 17:00"});
        row("a meeting ending after 22:30", withMeetings(R"([{"start": "22:00", "end": "23:00", "days": ["T"]}])"),
            {"course 1, section 1, meeting 2", "the end \"23:00\" is not a half-hour from 8:00 to 22:30"});
        row("a meeting starting before 8:00", withMeetings(R"([{"start": "7:00", "end": "9:00", "days": ["T"]}])"),
            {"meeting 2", "\"7:00\" is not a half-hour"});
        row("a meeting ending before it starts", withMeetings(R"([{"start": "17:00", "end": "14:00", "days": ["T"]}])"),
            {"in meeting 2, the end 14:00 is not after the start 17:00"});
        row("a meeting on no day", withMeetings(R"([{"start": "14:00", "end": "17:00", "days": []}])"),
            {"in meeting 2, it meets on no day"});
        row("a meeting without days", withMeetings(R"([{"start": "14:00", "end": "17:00"}])"),
            {"meeting 2", "\"days\" is missing"});
        const auto withOptions = [](const QByteArray& options) {
            return QByteArray(R"({"format": "quorvandel-schedule", "version": 1, "courses": [], "options": )") +
                   options + "}";
        };
        const QByteArray busyNine = R"("order": "first-found", "then": "first-found", "busy": [)";
        row("options not an object", withOptions("[]"), {"the options: it is not an object"});
        row("no busy field", withOptions(R"({"order": "first-found", "then": "first-found"})"),
            {"the options: the field \"busy\" is missing"});
        row("busy as a text", withOptions(R"({"order": "first-found", "then": "first-found", "busy": "M 9:00"})"),
            {"\"busy\" is not a list"});
        row("a busy time off the half-hour",
            withOptions("{" + busyNine + R"({"start": "9:10", "end": "10:00", "days": ["M"]}]})"),
            {"busy time 1", "\"9:10\" is not a half-hour"});
        row("a busy time ending before it starts",
            withOptions("{" + busyNine + R"({"start": "9:00", "end": "10:00", "days": ["M"]},
                {"start": "12:00", "end": "11:00", "days": ["M"]}]})"),
            {"busy time 2", "the end 11:00 is not after the start 12:00"});
        row("a busy time on no day", withOptions("{" + busyNine + R"({"start": "9:00", "end": "10:00", "days": []}]})"),
            {"busy time 1: it names no day"});
        row("a busy time on an unknown day",
            withOptions("{" + busyNine + R"({"start": "9:00", "end": "10:00", "days": ["Mon"]}]})"),
            {"busy time 1", "\"Mon\" is not a day"});
        row("an unknown order", withOptions(R"({"busy": [], "order": "fewest-hours", "then": "first-found"})"),
            {"the options", "\"fewest-hours\" is not an order", "earliest-finish"});
        row("an order by its number", withOptions(R"({"busy": [], "order": 1, "then": "first-found"})"),
            {"\"order\" is not a text"});
        row("no tie-break", withOptions(R"({"busy": [], "order": "fewest-days"})"), {"\"then\" is missing"});
        row("same times once as a text",
            withOptions(R"({"busy": [], "order": "first-found", "then": "first-found", "same-times-once": "yes"})"),
            {"the options", "\"same-times-once\" is not true or false"});
        // Chem with two sections and Bio with one.
        const auto withFavourites = [](const QByteArray& favourites) {
            QByteArray file = chemText(repeated(GoodSection, 2));
            file.insert(file.size() - 2, R"(, {"name": "Bio", "sections": [)" + GoodSection + "]}");
            file.insert(file.size() - 1, ", \"favourites\": " + favourites);
            return file;
        };
        row("favourites not a list", withFavourites("{}"), {"\"favourites\" is not a list"});
        row("a favourite that is not a list", withFavourites("[[1, 1], 2]"), {"favourite 2: it is not a list"});
        row("a favourite missing a course", withFavourites("[[1]]"),
            {"favourite 1: it takes 1 sections; a favourite takes one of each of the 2 courses"});
        row("a favourite with a course too many", withFavourites("[[1, 1, 1]]"), {"takes 3 sections"});
        row("a section that is not there", withFavourites("[[1, 1], [3, 1]]"),
            {"favourite 2: 3 is not a section of course 1, which has 2"});
        row("a place counted from 0", withFavourites("[[1, 0]]"), {"favourite 1: 0 is not a section of course 2"});
        row("a place of 2^63", withFavourites("[[1, 9223372036854775808]]"), {"is not a section of course 2"});
        row("a place of 1.5", withFavourites("[[1.5, 1]]"), {"1.5 is not a section of course 1"});
        row("a place as a text", withFavourites(R"([["1", 1]])"), {"favourite 1: an entry that is not a number"});
        row("the same favourite twice", withFavourites("[[1, 1], [2, 1], [1, 1]]"),
            {"favourite 3 takes the same sections as favourite 1"});
        row("27 favourites", withFavourites("[" + repeated("[1, 1]", 27) + "]"), {"27 favourites", "at most 26"});
        row("a favourite without courses",
            QByteArray(R"({"format": "quorvandel-schedule", "version": 1, "courses": [], "favourites": [[]]})"),
            {"favourite 1: the schedule has no course"});
        QByteArray over = chemText(GoodSection);
        over.insert(over.size() - 1, QByteArray(MaxScheduleFileBytes + 1 - over.size(), ' '));
        row("1 MiB and a byte", over, {"1048577 bytes", "1 MiB"});
    }
    void refused() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, says);
        const QString path = scratchFile(QStringLiteral("refused.qvs"));
        QVERIFY(writeAll(path, file));
        const ScheduleFileRead read = readScheduleFile(fsPath(path));
        QVERIFY2(!read.document, "loaded");
        const QString message = q(read.problem.message);
        QVERIFY2(message.startsWith(QStringLiteral("Cannot load \"%1\": ").arg(path)), qPrintable(message));
        for (const QString& part : says) QVERIFY2(message.contains(part), qPrintable(message));
    }

    void refusedPaths_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << "missing"
                                 << "No such file";
        QTest::newRow("a folder") << "folder"
                                  << "is a folder";
        QTest::newRow("a link to a folder") << "link"
                                            << "is a folder";
        QTest::newRow("a FIFO with no writer") << "fifo"
                                               << "not a regular file";
        QTest::newRow("a device") << "device"
                                  << "not a regular file";
    }
    void refusedPaths() {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        QString path = scratchFile(QStringLiteral("path-") + kind);
        if (kind == QLatin1String("folder")) QVERIFY(QDir().mkpath(path));
        if (kind == QLatin1String("link")) QVERIFY(QFile::link(scratch.path(), path));
        if (kind == QLatin1String("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (kind == QLatin1String("device")) path = QStringLiteral("/dev/zero");
        // A read that blocks on the FIFO is let go by opening its other end,
        // so a fault here fails the test instead of hanging it.
        auto reading = std::async(std::launch::async, [&] { return readScheduleFile(fsPath(path)); });
        if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
            const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            reading.wait();
            ::close(writer);
            QFAIL("the read blocked");
        }
        const ScheduleFileRead read = reading.get();
        QVERIFY(!read.document);
        const QString message = q(read.problem.message);
        QVERIFY2(message.contains(QStringLiteral("\"%1\"").arg(path)) && message.contains(says), qPrintable(message));
    }

    void failedSaveKeepsTheOldFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("folder removed") << "removed"
                                        << "does not exist";
        QTest::newRow("onto a folder") << "folder"
                                       << "is a folder";
        QTest::newRow("onto a FIFO") << "fifo"
                                     << "not a regular file";
        QTest::newRow("read-only folder") << "read-only folder"
                                          << "read-only";
        QTest::newRow("read-only file") << "read-only file"
                                        << "read-only";
        QTest::newRow("disk full") << "full"
                                   << "File too large";
        QTest::newRow("disk full, a file smaller than a write buffer") << "full small"
                                                                       << "File too large";
        QTest::newRow("a lone surrogate in a course name") << "surrogate name"
                                                           << "course 2: the course name holds";
        QTest::newRow("a lone surrogate in a section number") << "surrogate number"
                                                              << "course 1, section 2: the section number holds";
        QTest::newRow("more than 1 MiB") << "large"
                                         << "1 MiB";
    }
    void failedSaveKeepsTheOldFile() {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        if (kind.startsWith(QLatin1String("read-only")) && isRoot())
            QSKIP("running as root, where permissions do not stop a write; the other rows fail it other ways");
        QTemporaryDir folder;
        const QString old = folder.filePath(QStringLiteral("old.qvs"));
        auto document = std::make_unique<ScheduleDocument>(randomDocument(7));
        QVERIFY(!writeScheduleFile(fsPath(old), *document));
        const QByteArray oldBytes = readAll(old);

        QString target = old;
        if (kind == QLatin1String("removed")) {
            target = folder.filePath(QStringLiteral("gone/new.qvs"));
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("gone")) &&
                    QDir(folder.path()).rmdir(QStringLiteral("gone")));
        }
        if (kind == QLatin1String("folder")) {
            target = folder.filePath(QStringLiteral("sub"));
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")) &&
                    writeAll(target + QStringLiteral("/kept"), "x"));
        }
        if (kind == QLatin1String("fifo")) {
            target = folder.filePath(QStringLiteral("fifo"));
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        }
        if (kind == QLatin1String("read-only folder"))
            QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        if (kind == QLatin1String("read-only file")) QVERIFY(QFile::setPermissions(old, QFile::ReadOwner));
        if (kind == QLatin1String("surrogate name")) document->courses.Courses[1].CourseName += u'\xD83D';
        if (kind == QLatin1String("surrogate number")) document->courses.Courses[0].Sections[1].SecNum = u"\xDE00x";
        // The rows that reshape the courses: no favourite would fit them.
        if (kind == QLatin1String("large") || kind == QLatin1String("full small")) document->favourites.clear();
        if (kind == QLatin1String("large")) {
            makers::randomSchedule(document->courses, 1, MaxCourses, MaxSectionsPerCourse, MaxSectionsPerCourse, {});
            for (Course& course : document->courses.Courses)
                for (Section& section : course.Sections) section.SecNum = t(QString(6000, u'\u00E9'));
        }
        QVERIFY(document->courses.NumCourses >= 2 && document->courses.Courses[0].NumSections >= 2);
        const QStringList before = entries(folder.path());

        std::optional<FileProblem> problem;
        if (kind == QLatin1String("full small")) {
            document->courses.NumCourses = 2;
            document->courses.Courses[0].NumSections = 2;
            document->courses.Courses[1].NumSections = 0;
        }
        if (kind.startsWith(QLatin1String("full"))) {
            // A file size limit makes every write past it fail as a full disk
            // would, for root too.
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit saved{};
            ::getrlimit(RLIMIT_FSIZE, &saved);
            rlimit small = saved;
            small.rlim_cur = 64;
            ::setrlimit(RLIMIT_FSIZE, &small);
            problem = writeScheduleFile(fsPath(target), *document);
            ::setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
        } else {
            problem = writeScheduleFile(fsPath(target), *document);
        }
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);

        QVERIFY2(problem, "saved");
        const QString message = q(problem->message);
        QVERIFY2(message.startsWith(QStringLiteral("Cannot save \"%1\": ").arg(target)) && message.contains(says),
                 qPrintable(message.left(300)));
        QCOMPARE(readAll(old), oldBytes);
        QCOMPARE(entries(folder.path()), before);  // no half-written file left behind
        if (kind == QLatin1String("folder")) QCOMPARE(readAll(target + QStringLiteral("/kept")), QByteArray("x"));
        if (kind == QLatin1String("fifo")) QVERIFY(QFileInfo(target).isSymLink() || !QFileInfo(target).isFile());
    }
};

QTEST_GUILESS_MAIN(TestScheduleFile)
#include "test_schedule_file.moc"
