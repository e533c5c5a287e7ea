// The loader against damaged files: a valid file mutated byte by byte, cut
// at every length, with fields deleted, duplicated and given other types,
// nested 100,000 deep, and with huge numbers. Every input either loads a
// schedule that keeps every rule, or is refused with a message naming the
// file; never both, never a crash (run it in the sanitizer build too).
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "schedule_file_testing.h"
#include "schedule_makers.h"
#include "section_maker.h"

using namespace quorvandel;
using namespace quorvandel::file_testing;

namespace {

// A place in a JSON tree: object keys, and list positions as numbers.
using JsonPath = QList<QJsonValue>;

enum class Change { Delete, Duplicate, DuplicateRetyped, Retype };

struct Mutation {
    JsonPath path;
    Change change = Change::Retype;
    QByteArray replacement;  // the value written for Retype and DuplicateRetyped
};

QByteArray scalarText(const QJsonValue& value) {
    const QByteArray list = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return list.mid(1, list.size() - 2);
}

// The tree as JSON text with the mutation made; written by hand because
// Qt's writer cannot repeat a key.
QByteArray jsonText(const QJsonValue& value, const JsonPath& here, const Mutation& m) {
    const auto child = [&](const QJsonValue& key, const QJsonValue& item, QByteArrayList& out,
                           const QByteArray& prefix) {
        JsonPath path = here;
        path << key;
        const QByteArray plain = prefix + jsonText(item, path, m);
        if (path != m.path) {
            out << plain;
            return;
        }
        const QByteArray other = prefix + m.replacement;
        switch (m.change) {
        case Change::Delete:
            break;
        case Change::Duplicate:
            out << plain << plain;
            break;
        case Change::DuplicateRetyped:
            out << other << plain;
            break;
        case Change::Retype:
            out << other;
            break;
        }
    };
    QByteArrayList parts;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            child(it.key(), it.value(), parts, scalarText(it.key()) + ": ");
        return "{" + parts.join(", ") + "}";
    }
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i) child(i, array[i], parts, QByteArray());
        return "[" + parts.join(", ") + "]";
    }
    return scalarText(value);
}

void collectPaths(const QJsonValue& value, const JsonPath& here, QList<JsonPath>& out) {
    const auto visit = [&](const QJsonValue& key, const QJsonValue& item) {
        JsonPath path = here;
        path << key;
        out << path;
        collectPaths(item, path, out);
    };
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) visit(it.key(), it.value());
    } else if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i) visit(i, array[i]);
    }
}

QString describe(const JsonPath& path) {
    QStringList parts;
    for (const QJsonValue& step : path)
        parts << (step.isString() ? step.toString() : QString::number(step.toInteger()));
    return parts.join(u'/');
}

const QByteArray Deep = QByteArray(100000, '[') + QByteArray(100000, ']');
const QByteArray PastTheNestingLimit = QByteArray(2000, '[') + QByteArray(2000, ']');

// Values of other types and huge or odd numbers, put in place of each field.
const QList<QByteArray> Replacements = {
    "null",
    "true",
    "0",
    "-0",
    "8.5",
    "1",
    "2",
    "1e308",
    "-1e308",
    "9223372036854775808",
    "-9223372036854775809",
    "1e400",
    "\"\"",
    "\"M\"",
    "\"9:00\"",
    "\"\\ud800\"",
    "[]",
    "{}",
    "[\"M\"]",
    "[{}]",
    Deep,
};

}  // namespace

class TestScheduleFileFuzz : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;
    QString path;
    QByteArray base;
    QJsonObject baseTree;
    std::unique_ptr<ScheduleDocument> expected;
    int loaded = 0, refusedCount = 0;

    // What is wrong with reading these bytes as a file, or nothing. `read`
    // keeps what was loaded, for checks of its own.
    QString attempt(const QByteArray& bytes, std::unique_ptr<ScheduleDocument>* read = nullptr) {
        // Overwritten in place and then cut to size: ext4 flushes a file
        // truncated to nothing and rewritten at close, which is slow.
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) || file.write(bytes) != bytes.size() || !file.resize(bytes.size()))
            return QStringLiteral("could not write the input");
        file.close();
        ScheduleFileRead result = readScheduleFile(fsPath(path));
        const QString message = q(result.problem.message);
        if (result.document) {
            if (!message.isEmpty()) return QStringLiteral("loaded, and also says ") + message;
            if (const QString broken = brokenRule(*result.document); !broken.isEmpty())
                return QStringLiteral("loaded a schedule that breaks a rule: ") + broken;
            ++loaded;
            if (read) *read = std::make_unique<ScheduleDocument>(std::move(*result.document));
            return {};
        }
        ++refusedCount;
        if (!message.startsWith(QStringLiteral("Cannot load \"%1\": ").arg(path)) || message.size() < path.size() + 20)
            return QStringLiteral("refused with the message ") + message;
        return {};
    }

    QString mutated(const Mutation& m) const {
        return describe(m.path) +
               QStringLiteral(" change %1 to %2").arg(int(m.change)).arg(QString::fromUtf8(m.replacement.left(20)));
    }

private slots:
    void initTestCase() {
        QVERIFY(scratch.isValid());
        path = scratch.filePath(QStringLiteral("fuzz.qvs"));
        expected = std::make_unique<ScheduleDocument>();
        CourseList& list = expected->courses;
        makers::addCourse(list, "Chem");
        makers::addSection(list, 0, 2, 5, 0b0000101);
        makers::addSection(list, 0, 0, 29, 0b1111111);
        makers::addCourse(list, "Bio");
        makers::addSection(list, 1, 3, 4, 0b0000010);
        // A lecture with its lab, and a third meeting.
        list.Courses[1].Sections[0] =
            testing::withMeeting(testing::withMeeting(list.Courses[1].Sections[0], 12, 18, 0b0001000), 4, 6, 0b0000010);
        makers::addCourse(list, "Hebrew");
        makers::addSection(list, 2, 27, 28, 0b1000000);
        // Texts that the file writes escaped.
        list.Courses[0].CourseName = u"Chem \"1\"\\\n\U0001F600";
        list.Courses[2].CourseName = u"\u05D0\u05D1";
        list.Courses[2].Sections[0] = makers::section("x", "", 27, 28, 0b1000000);
        list.Courses[2].Sections[0].SecNum = Text(u"\t\0x", 3);
        list.Courses[2].Sections[0].LeftOut = true;
        for (Course& course : list.Courses)
            for (Section& section : course.Sections) section.CourseName = course.CourseName;
        for (int cell : {0, 1, 2, 60, 61, 202}) expected->options.busy.set(static_cast<std::size_t>(cell));
        expected->options.primary = ResultOrder::FewestIdle;
        expected->options.tieBreak = ResultOrder::EarliestFinish;
        expected->favourites = {{1, 0, 0}, {0, 0, 0}};
        QVERIFY(!writeScheduleFile(fsPath(path), *expected));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        base = file.readAll();
        baseTree = QJsonDocument::fromJson(base).object();
        QVERIFY(!baseTree.isEmpty());
    }

    void everyByteChanged() {
        const QList<int> replacements = {0x00, '"', '\\', '}', ',', '1', 0xFF, -1 /* flip a bit */, -2 /* delete */};
        for (int i = 0; i < base.size(); ++i) {
            for (int r : replacements) {
                QByteArray bytes = base;
                if (r == -2)
                    bytes.remove(i, 1);
                else
                    bytes[i] = static_cast<char>(r == -1 ? base[i] ^ 0x04 : r);
                const QString fault = attempt(bytes);
                QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("byte %1 to %2: %3").arg(i).arg(r).arg(fault)));
            }
        }
        makers::Rng rng(20240);
        for (int n = 0; n < 500; ++n) {
            QByteArray bytes = base;
            for (int k = rng.between(2, 6); k > 0; --k) bytes[rng.below(int(bytes.size()))] = char(rng.below(256));
            const QString fault = attempt(bytes);
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("random change %1: %2").arg(n).arg(fault)));
        }
    }

    // A file cut short is never read as a shorter schedule: only the final
    // line break may go.
    void cutAtEveryLength() {
        for (int length = 0; length < base.size(); ++length) {
            std::unique_ptr<ScheduleDocument> read;
            const QString fault = attempt(base.left(length), &read);
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("cut at %1: %2").arg(length).arg(fault)));
            if (read) {
                QCOMPARE(base.mid(length).trimmed(), QByteArray());
                QCOMPARE(difference(*expected, *read), QString());
            }
        }
    }

    void fieldsDeletedDuplicatedRetyped() {
        QJsonObject tree = baseTree;
        tree.insert(QStringLiteral("later"), QJsonObject{{QStringLiteral("busy"), QJsonArray{1, 2}}});
        QList<JsonPath> paths;
        collectPaths(tree, {}, paths);
        QVERIFY(paths.size() > 40);
        for (const JsonPath& at : paths) {
            QList<Mutation> mutations{{at, Change::Delete, {}}, {at, Change::Duplicate, {}}};
            for (const QByteArray& value : Replacements) {
                mutations.append({at, Change::Retype, value});
                mutations.append({at, Change::DuplicateRetyped, value});
            }
            for (const Mutation& m : mutations) {
                std::unique_ptr<ScheduleDocument> read;
                const QByteArray input = jsonText(tree, {}, m);
                const QString fault = attempt(input, &read);
                QVERIFY2(fault.isEmpty(), qPrintable(mutated(m) + QStringLiteral(": ") + fault));
                const bool inLater = at.first() == QJsonValue(QStringLiteral("later"));
                const bool isField = at.last().isString();
                // Every field of the file is needed but the options and the
                // favourites as a whole (files from before them have none),
                // and unknown ones are skipped whatever they hold.
                // A section's further meetings are optional too: without
                // them it meets at its first time only.
                // So is the left-out mark: without it a section is taken.
                const bool moreMeetings = at.last() == QJsonValue(QStringLiteral("more-meetings"));
                const bool leftOutMark = at.last() == QJsonValue(QStringLiteral("left-out"));
                const bool optional = moreMeetings || leftOutMark ||
                                      (at.size() == 1 && (at.first() == QJsonValue(QStringLiteral("options")) ||
                                                          at.first() == QJsonValue(QStringLiteral("favourites"))));
                if (m.change == Change::Delete && isField && !inLater && !optional)
                    QVERIFY2(!read, qPrintable(mutated(m)));
                if (m.change == Change::Delete && optional) {
                    QVERIFY2(read, qPrintable(mutated(m)));
                    auto without = std::make_unique<ScheduleDocument>(*expected);
                    if (leftOutMark) {
                        without->courses.Courses[2].Sections[0].LeftOut = false;
                    } else if (moreMeetings) {
                        Section& lecture = without->courses.Courses[1].Sections[0];
                        lecture.MoreMeetings = {};
                        lecture.NumMoreMeetings = 0;
                    } else if (at.first() == QJsonValue(QStringLiteral("options"))) {
                        without->options = {};
                    } else {
                        without->favourites.clear();
                    }
                    QCOMPARE(difference(*without, *read), QString());
                }
                // (Unless JSON itself is broken: too deep, a number out of range.)
                const bool isJson = !QJsonDocument::fromJson(input).isNull();
                if ((inLater && isJson) || (isField && m.change == Change::Duplicate)) {
                    QVERIFY2(read, qPrintable(mutated(m)));
                    QCOMPARE(difference(*expected, *read), QString());
                }
            }
        }
    }

    void deepNestingAndHugeFiles() {
        const QList<QByteArray> inputs = {
            Deep,
            QByteArray(100000, '{'),
            QByteArray("{\"a\":").repeated(100000) + "1" + QByteArray(100000, '}'),
            base.left(base.indexOf("\"courses\": [") + 12) + Deep + "]}",
            QByteArray(MaxScheduleFileBytes + 1, '['),
            QByteArray(MaxScheduleFileBytes, ' '),
        };
        for (const QByteArray& input : inputs) {
            std::unique_ptr<ScheduleDocument> read;
            const QString fault = attempt(input, &read);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
            QVERIFY(!read);
        }
    }

    void cleanupTestCase() { qInfo("%d inputs loaded, %d refused", loaded, refusedCount); }
};

QTEST_GUILESS_MAIN(TestScheduleFileFuzz)
#include "test_schedule_file_fuzz.moc"
