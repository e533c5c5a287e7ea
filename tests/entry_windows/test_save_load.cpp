// "Save", "Load" and the question before unsaved changes go, driven on the
// real main window: the file dialogs are replaced by a chooser that hands
// out prepared paths, message boxes are answered by the modal script.

#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QWindow>
#include <QtTest>

#include "entry_session.h"
#include "fake_file_chooser.h"
#include "form_controls.h"
#include "schedule_file.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// The title as the window system shows it ("[*]" resolved).
QString shownTitle(const QWidget* w) { return w->windowHandle()->title(); }

QStringList enabledButtons(const QWidget* w) {
    QStringList names;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        if (b->isEnabled()) names << b->objectName();
    names.sort();
    return names;
}

// Clicks a button of the question box by its text, noting the question.
ModalScript::Action answerWith(const QString& buttonText, QStringList& questions) {
    return [buttonText, &questions](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        questions << box->text();
        for (QAbstractButton* b : box->buttons())
            if (shownCaption(b->text()) == buttonText) return QTest::mouseClick(b, Qt::LeftButton);
    };
}

struct Fixture {
    MainWindowSession s;
    FakeFileChooser chooser;
    QTemporaryDir folder;
    QStringList questions;  // the unsaved-changes questions asked

    Fixture() { s.window->scheduleKeeper().setFileChooser(&chooser); }
    QString path(const QString& name) const { return folder.filePath(name); }

    // Presses the button, or gives the window gesture, answering the
    // unsaved-changes question (if `answer` is not empty) with that button.
    bool press(const WindowGesture& gesture, const QString& answer = {}) {
        ModalScript script;
        if (!answer.isEmpty()) script.onWindow(QStringLiteral("SaveChangesQuestion"), answerWith(answer, questions));
        script.answerAnyMessages();
        gesture(s.w());
        for (const MessageSeen& m : script.messages()) s.messages << m.text;
        return scriptDone(script);
    }
    bool press(const QString& buttonName, const QString& answer = {}) { return press(clickButton(buttonName), answer); }

    // The section lines of every course, clicking each in turn.
    QList<QStringList> sectionLines() {
        QList<QStringList> all;
        for (int c = 0; c < s.courses()->count(); ++c) {
            clickLine(s.courses(), c);
            all << lines(s.sections());
        }
        return all;
    }
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// A schedule file with the one course "Other", with one section.
void writeOtherSchedule(const QString& path) {
    writeFile(path, R"({"format": "quorvandel-schedule", "version": 1, "courses": [{"name": "Other",
        "sections": [{"number": "7", "start": "13:00", "end": "14:30", "days": ["Th"]}]}]})");
}

QStringList courseNamesIn(const QString& path) {
    const ScheduleFileRead read = readScheduleFile(fsPath(path));
    QStringList names;
    if (read.document)
        for (int c = 0; c < read.document->courses.NumCourses; ++c)
            names << qText(read.document->courses.Courses[static_cast<size_t>(c)].CourseName);
    return names;
}

using Steps = QList<std::function<bool(Fixture&)>>;

bool addCourses(Fixture& f, const QStringList& names) {
    for (const QString& name : names)
        if (!f.s.addCourse(name)) return false;
    return true;
}

}  // namespace

class TestSaveLoad : public QObject {
    Q_OBJECT
private slots:
    void saveNewLoadGivesTheSameWindow_data() {
        QTest::addColumn<Steps>("typing");
        QTest::addColumn<bool>("timeTablify");
        auto section = [](int course, const QString& number, QStringList days) {
            return [=](Fixture& f) { return f.s.addSection(course, {number, "9", "30", "11", "00", days}); };
        };
        QTest::newRow("no course") << Steps{} << false;
        QTest::newRow("the first course with sections")
            << Steps{[](Fixture& f) {
                         return addCourses(f, {"Chem", "Bio"});
                     },
                     section(0, "01", {"Monday", "Wednesday"}), section(0, "02", {"Sunday"}),
                     section(1, "B1", {"Tuesday"})}
            << true;
        QTest::newRow("sections only in the second course") << Steps{[](Fixture& f) {
                                                                         return addCourses(f, {"A", "B"});
                                                                     },
                                                                     section(1, "1", {"Friday"})}
                                                            << false;
        QTest::newRow("names no keyboard types")
            << Steps{[](Fixture& f) {
                         return addCourses(f, {QStringLiteral("Chémie 🎓"), QStringLiteral("שלום\tעולם"),
                                               QStringLiteral("<b>&amp;</b> \"x\"")});
                     },
                     section(2, QStringLiteral("Ω\u0301 1"), {"Saturday"})}
            << false;
        QTest::newRow("options: busy times and two orders")
            << Steps{[](Fixture& f) { return addCourses(f, {"Chem"}); }, section(0, "01", {"Monday"}),
                     [](Fixture& f) {
                         ScheduleOptions& options = f.s.state->Options;
                         for (int cell : {0, 1, 5, 28, 29, 100, 202}) options.busy.set(static_cast<size_t>(cell));
                         options.primary = ResultOrder::LatestStart;
                         options.tieBreak = ResultOrder::FewestIdle;
                         return true;
                     }}
            << true;
    }
    void saveNewLoadGivesTheSameWindow() {
        QFETCH(Steps, typing);
        QFETCH(bool, timeTablify);
        Fixture f;
        for (const auto& step : typing) QVERIFY(step(f));
        const QStringList courses = lines(f.s.courses());
        const QList<QStringList> sections = f.sectionLines();
        const ScheduleDocument typed = documentOf(*f.s.state);

        f.chooser.answers << f.path("kept");
        QVERIFY(f.press(QStringLiteral("cmdSave")));
        QVERIFY(QFileInfo(f.path("kept.qvs")).isFile());  // the extension added
        QVERIFY(f.press(QStringLiteral("cmdNewMain")));   // saved: no question
        QCOMPARE(lines(f.s.courses()), QStringList());
        QVERIFY(f.s.state->Options == ScheduleOptions{});
        f.s.presenter.open = true;
        f.chooser.answers << f.path("kept.qvs");
        QVERIFY(f.press(QStringLiteral("cmdLoad")));

        QCOMPARE(f.s.messages, QStringList());
        QCOMPARE(f.questions, QStringList());
        QVERIFY(!f.s.presenter.open);  // open results close
        QCOMPARE(lines(f.s.courses()), courses);
        QCOMPARE(selectedRows(f.s.courses()), QList<int>());
        QCOMPARE(lines(f.s.sections()), QStringList());
        QStringList expected = {"cmdAddCrs",  "cmdExit",   "cmdHelp", "cmdLoad",
                                "cmdNewMain", "cmdOption", "cmdSave", "cmdGetSec"};
        if (timeTablify) expected << "cmdMakeTime";
        expected.sort();
        QCOMPARE(enabledButtons(f.s.w()), expected);
        QVERIFY(documentOf(*f.s.state) == typed);
        QCOMPARE(f.sectionLines(), sections);
        QCOMPARE(shownTitle(f.s.w()), QStringLiteral("kept.qvs - Quorvandel Main"));
        QCOMPARE(f.chooser.asked, (QStringList{"save", "load"}));
    }

    void unsavedChanges_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("saveTo");  // what the file dialog gives: "" cancels
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        for (const char* command : {"New", "Load", "Exit", "close button"}) {
            auto row = [command](const char* what) -> QTestData& { return QTest::addRow("%s, %s", command, what); };
            row("Save") << command << "Save"
                        << "chem" << true << true;
            row("Save, file dialog cancelled") << command << "Save"
                                               << "" << false << false;
            row("Save into a read-only folder") << command << "Save"
                                                << "read-only" << false << false;
            row("Don't Save") << command << "Don't Save"
                              << "" << true << false;
            row("Cancel") << command << "Cancel"
                          << "" << false << false;
        }
    }
    void unsavedChanges() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        Fixture f;
        QVERIFY(f.s.addCourse(QStringLiteral("Chem")));
        QVERIFY(f.s.addSection(0, mondayNineToTen(QStringLiteral("1"))));
        writeOtherSchedule(f.path("other.qvs"));
        const ScheduleDocument typed = documentOf(*f.s.state);
        f.s.presenter.open = true;
        if (answer == QLatin1String("Save")) {
            QString target = f.path(saveTo);
            if (saveTo == QLatin1String("read-only")) {
                // Root writes into a folder whatever its mode; /sys takes no new files from anyone.
                if (::geteuid() == 0 && !QFileInfo(QStringLiteral("/sys")).isDir()) QSKIP("no read-only folder");
                const QString folder = ::geteuid() == 0 ? QStringLiteral("/sys") : f.path("locked");
                if (::geteuid() != 0)
                    QVERIFY(QDir(f.folder.path()).mkdir("locked") &&
                            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
                target = folder + QStringLiteral("/chem.qvs");
            }
            f.chooser.answers << (saveTo.isEmpty() ? QString() : target);
        }
        if (command == QLatin1String("Load")) f.chooser.answers << f.path("other.qvs");
        const WindowGesture gesture = command == QLatin1String("New")    ? clickButton(QStringLiteral("cmdNewMain"))
                                      : command == QLatin1String("Load") ? clickButton(QStringLiteral("cmdLoad"))
                                      : command == QLatin1String("Exit") ? clickButton(QStringLiteral("cmdExit"))
                                                                         : WindowGesture(closeByFrame);
        QVERIFY(f.press(gesture, answer));

        QCOMPARE(f.questions, QStringList{QStringLiteral("Save changes to Untitled?")});
        const bool failed = saveTo == QLatin1String("read-only");
        QCOMPARE(f.s.messages.size(), failed ? 1 : 0);
        if (failed) QVERIFY2(f.s.messages[0].startsWith(QStringLiteral("Cannot save \"")), qPrintable(f.s.messages[0]));
        QCOMPARE(courseNamesIn(f.path("chem.qvs")), saved ? QStringList{"Chem"} : QStringList());
        if (!goesOn) {  // everything as it was
            QVERIFY(f.s.w()->isVisible());
            QCOMPARE(lines(f.s.courses()), QStringList{"Chem"});
            QVERIFY(documentOf(*f.s.state) == typed);
            QVERIFY(f.s.presenter.open);
            QCOMPARE(shownTitle(f.s.w()), QStringLiteral("Quorvandel Main*"));
            return;
        }
        if (command == QLatin1String("New")) QCOMPARE(lines(f.s.courses()), QStringList());
        if (command == QLatin1String("Load")) QCOMPARE(lines(f.s.courses()), QStringList{"Other"});
        const bool ends = command == QLatin1String("Exit") || command == QLatin1String("close button");
        QCOMPARE(f.s.w()->isVisible(), !ends);
        QCOMPARE(f.s.presenter.open, command == QLatin1String("New"));  // as designed, New leaves results open
    }

    void title_data() {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("asked");
        auto course = [](const QString& name) { return [=](Fixture& f) { return f.s.addCourse(name); }; };
        auto press = [](const QString& button, const QString& path = {}) {
            return [=](Fixture& f) {
                if (!path.isEmpty()) f.chooser.answers << f.path(path);
                return f.press(button);
            };
        };
        auto key = [](const char* sequence, const QString& path = {}) {
            return [=](Fixture& f) {
                if (!path.isEmpty()) f.chooser.answers << f.path(path);
                f.s.w()->activateWindow();
                return QTest::qWaitForWindowActive(f.s.w()) && f.press([sequence](QWidget* w) {
                    QTest::keySequence(w, QKeySequence(QLatin1String(sequence)));
                });
            };
        };
        auto removeCourse = [](int line) {
            return [=](Fixture& f) {
                clickLine(f.s.courses(), line);
                return f.press(QStringLiteral("cmdRemCourse"));
            };
        };
        const QStringList none, save{"save"}, twice{"save", "save"};
        QTest::newRow("start") << Steps{} << "Quorvandel Main" << none;
        QTest::newRow("a course typed") << Steps{course("A")} << "Quorvandel Main*" << none;
        QTest::newRow("saved") << Steps{course("A"), press("cmdSave", "chem-2027.qvs")}
                               << "chem-2027.qvs - Quorvandel Main" << save;
        QTest::newRow("changed after saving") << Steps{course("A"), press("cmdSave", "chem-2027"), course("B")}
                                              << "chem-2027.qvs* - Quorvandel Main" << save;
        QTest::newRow("changed back") << Steps{course("A"), press("cmdSave", "c.qvs"), course("B"), removeCourse(1)}
                                      << "c.qvs - Quorvandel Main" << save;
        QTest::newRow("saved again without asking")
            << Steps{course("A"), press("cmdSave", "c"), course("B"), press("cmdSave")} << "c.qvs - Quorvandel Main"
            << save;
        QTest::newRow("Ctrl+S, then Ctrl+S")
            << Steps{course("A"), key("Ctrl+S", "k"), course("B"), key("Ctrl+S")} << "k.qvs - Quorvandel Main" << save;
        QTest::newRow("Ctrl+Shift+S always asks")
            << Steps{course("A"), key("Ctrl+S", "one"), key("Ctrl+Shift+S", "two.txt")} << "two.txt - Quorvandel Main"
            << twice;
        QTest::newRow("Save As cancelled keeps the file")
            << Steps{course("A"), key("Ctrl+S", "one"), course("B"), key("Ctrl+Shift+S")}
            << "one.qvs* - Quorvandel Main" << twice;
        QTest::newRow("New") << Steps{course("A"), press("cmdSave", "one"), press("cmdNewMain")} << "Quorvandel Main"
                             << save;
        QTest::newRow("Ctrl+O loads") << Steps{course("A"), press("cmdSave", "one"), press("cmdNewMain"),
                                               key("Ctrl+O", "one.qvs")}
                                      << "one.qvs - Quorvandel Main" << QStringList{"save", "load"};
        QTest::newRow("a name holding [*]")
            << Steps{course("A"), press("cmdSave", "a[*]b")} << "a[*]b.qvs - Quorvandel Main" << save;
    }
    void title() {
        QFETCH(Steps, steps);
        QFETCH(QString, title);
        QFETCH(QStringList, asked);
        Fixture f;
        for (const auto& step : steps) QVERIFY(step(f));
        QCOMPARE(shownTitle(f.s.w()), title);
        QCOMPARE(f.chooser.asked, asked);
        QCOMPARE(f.s.messages, QStringList());
        const bool hasFile = title.contains(QLatin1String(".qvs")) || title.contains(QLatin1String(".txt"));
        QCOMPARE(!f.s.w()->windowFilePath().isEmpty(), hasFile);
        if (hasFile) QCOMPARE(courseNamesIn(f.s.w()->windowFilePath()).value(0), QStringLiteral("A"));
    }

    // Load replaces the options with the file's; a file from before options
    // existed has none. Either way the schedule is unchanged after Load and
    // New asks nothing.
    void loadReplacesOptions_data() {
        QTest::addColumn<QByteArray>("options");  // the file's "options" field; empty for none
        QTest::addColumn<QList<int>>("busy");
        QTest::addColumn<int>("order");
        QTest::newRow("a file without options") << QByteArray() << QList<int>{} << 0;
        QTest::newRow("a file with options")
            << QByteArray(R"(, "options": {"busy": [{"start": "8:00", "end": "9:00", "days": ["T", "Su"]}],
                "order": "earliest-finish", "then": "first-found"})")
            << QList<int>{29, 30, 174, 175} << 4;
    }
    void loadReplacesOptions() {
        QFETCH(QByteArray, options);
        QFETCH(QList<int>, busy);
        QFETCH(int, order);
        Fixture f;
        f.s.state->Options.busy.set(3);
        f.s.state->Options.primary = ResultOrder::FewestIdle;
        const QString path = f.path("old.qvs");
        writeFile(path,
                  R"({"format": "quorvandel-schedule", "version": 1, "courses": [{"name": "Old", "sections": []}])" +
                      options + "}");
        f.chooser.answers << path;
        QVERIFY(f.press(QStringLiteral("cmdLoad"), QStringLiteral("Don't Save")));
        QCOMPARE(f.questions.size(), 1);  // the options set before were unsaved
        QCOMPARE(lines(f.s.courses()), QStringList{"Old"});
        QList<int> loaded;
        for (int cell = 0; cell < 203; ++cell)
            if (f.s.state->Options.busy.test(static_cast<size_t>(cell))) loaded << cell;
        QCOMPARE(loaded, busy);
        QCOMPARE(static_cast<int>(f.s.state->Options.primary), order);
        QCOMPARE(shownTitle(f.s.w()), QStringLiteral("old.qvs - Quorvandel Main"));
        QVERIFY(f.press(QStringLiteral("cmdNewMain")));
        QCOMPARE(f.questions.size(), 1);
        QVERIFY(f.s.state->Options == ScheduleOptions{});
    }

    void refusedLoadLeavesEverything_data() {
        QTest::addColumn<QByteArray>("bytes");  // written to bad.qvs; empty: a folder of that name
        QTest::addColumn<QString>("says");
        QTest::newRow("not JSON") << QByteArray("{\"format\": \"quorvandel-schedule\",") << "line 1, column";
        QTest::newRow("a newer version") << QByteArray(R"({"format": "quorvandel-schedule", "version": 3})") << "newer";
        QTest::newRow("a bad section, after a good course")
            << QByteArray(R"({"format": "quorvandel-schedule", "version": 1, "courses": [{"name": "Good",
                "sections": []}, {"name": "X", "sections": [{"number": "1", "start": "9:15", "end": "10:00",
                "days": ["M"]}]}]})")
            << "course 2, section 1";
        QTest::newRow("a folder") << QByteArray() << "folder";
    }
    void refusedLoadLeavesEverything() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        Fixture f;
        QVERIFY(f.s.addCourse(QStringLiteral("Chem")));
        QVERIFY(f.s.addSection(0, mondayNineToTen(QStringLiteral("1"))));
        f.chooser.answers << f.path("chem.qvs");
        QVERIFY(f.press(QStringLiteral("cmdSave")));
        QVERIFY(f.s.addCourse(QStringLiteral("Unsaved")));
        clickLine(f.s.courses(), 0);
        const ScheduleDocument before = documentOf(*f.s.state);
        const QStringList buttons = enabledButtons(f.s.w());
        const QStringList sections = lines(f.s.sections());
        f.s.presenter.open = true;
        const QString bad = f.path("bad.qvs");
        if (bytes.isEmpty())
            QVERIFY(QDir(f.folder.path()).mkdir("bad.qvs"));
        else
            writeFile(bad, bytes);

        f.chooser.answers << bad;
        QVERIFY(f.press(QStringLiteral("cmdLoad"), QStringLiteral("Don't Save")));
        QCOMPARE(f.s.messages.size(), 1);
        const QString message = f.s.messages[0];
        QVERIFY2(message.startsWith(QStringLiteral("Cannot load \"%1\": ").arg(bad)) && message.contains(says),
                 qPrintable(message));
        QVERIFY(documentOf(*f.s.state) == before);
        QCOMPARE(lines(f.s.courses()), (QStringList{"Chem", "Unsaved"}));
        QCOMPARE(selectedRows(f.s.courses()), QList<int>{0});
        QCOMPARE(lines(f.s.sections()), sections);
        QCOMPARE(enabledButtons(f.s.w()), buttons);
        QVERIFY(f.s.presenter.open);
        QCOMPARE(shownTitle(f.s.w()), QStringLiteral("chem.qvs* - Quorvandel Main"));
        QCOMPARE(courseNamesIn(f.path("chem.qvs")), QStringList{"Chem"});
    }
};

QTEST_MAIN(TestSaveLoad)
#include "test_save_load.moc"
