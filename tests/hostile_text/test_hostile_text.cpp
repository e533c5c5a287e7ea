// Text a user can throw at the name and number boxes: very long texts,
// characters outside the BMP, combining marks, right-to-left scripts, blanks
// at either end, tabs and line breaks pasted from elsewhere. Each one goes in
// through the real dialogs (typed, pasted with Ctrl+V, or committed by an
// input method), and must come out unchanged in the store, in the main
// window's lists and in the results grid, with every window at its size.

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "entry_session.h"
#include "form_metrics.h"
#include "results_frame.h"
#include "results_windows.h"
#include "timetable_grid_view.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

// One way a text reaches a line edit, and whether the line edit then holds
// it exactly as entered (pasted text is what the line edit makes of it).
struct Entry {
    void (*put)(QLineEdit* edit, const QString& text);
    bool keptAsEntered;
};

const Entry Typed = {[](QLineEdit* edit, const QString& text) { typeInto(edit->window(), edit->objectName(), text); },
                     true};
const Entry Pasted = {[](QLineEdit* edit, const QString& text) {
                          QGuiApplication::clipboard()->setText(text);
                          QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
                      },
                      false};
const Entry ByInputMethod = {[](QLineEdit* edit, const QString& text) {
                                 QInputMethodEvent commit;
                                 commit.setCommitString(text);
                                 QCoreApplication::sendEvent(edit, &commit);
                             },
                             true};

}  // namespace

Q_DECLARE_METATYPE(Entry)

namespace {

// Puts the text into the dialog's line edit the chosen way and returns what
// the control then holds: that is what "Ok" hands on.
QString enter(QWidget* dialog, const QString& editName, const QString& text, const Entry& how) {
    auto* edit = control<QLineEdit>(dialog, editName);
    if (edit == nullptr) return QStringLiteral("<no %1>").arg(editName);
    how.put(edit, text);
    return edit->text();
}

struct Delivered {
    QString name, number;
};

// One course with the name and one section with the number, Monday 9:00 to
// 10:00, through "Add Course" and "Add Section".
Delivered enterSchedule(MainWindowSession& s, const QString& text, const Entry& how) {
    Delivered got;
    ModalScript course;
    course.onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
        got.name = enter(dialog, QStringLiteral("txtCrsName"), text, how);
        click(dialog, QStringLiteral("cmdOk"));
    });
    if (!s.clickWith(QStringLiteral("cmdAddCrs"), course)) return {};
    clickLine(s.courses(), 0);
    ModalScript section;
    section.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        fillSection(dialog, mondayNineToTen(QString()));
        got.number = enter(dialog, QStringLiteral("txtSecNum"), text, how);
        click(dialog, QStringLiteral("cmdOk"));
    });
    if (!s.clickWith(QStringLiteral("cmdAddSec"), section)) return {};
    return got;
}

// Unit for unit: fromStdU16String would take a leading U+FEFF for a byte-order mark.
QString q(const Text& t) { return QString(reinterpret_cast<const QChar*>(t.data()), qsizetype(t.size())); }

// What a screen reader reads for the cell.
QString spokenText(QLabel* label) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(label);
    return a ? a->text(QAccessible::Name) : QString();
}

// The label draws its text character for character: as rich text, "<b>"
// would turn bold and vanish.
bool drawsTextAsIs(const QLabel* label) {
    return label->textFormat() == Qt::PlainText ||
           (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text()));
}

struct Sizes {
    QSize main, frame, grid, gridClient;
    QRect courses, sections;
};

// A text of n code units whose every position is told apart from its
// neighbours, so a lost, doubled or moved character shows.
QString counting(int n) {
    QString s;
    for (int i = 0; i < n; ++i) s.append(i % 100 == 99 ? QChar(u'|') : QChar(u'a' + i % 26));
    return s;
}

}  // namespace

class TestHostileText : public QObject {
    Q_OBJECT

    // The windows' sizes with a plain schedule.
    Sizes designed;

    Sizes measure(MainWindowSession& s, ResultsWindows& results) {
        QCoreApplication::processEvents();  // let posted layout requests run
        Sizes m{s.w()->size(), {}, {}, {}, s.courses()->geometry(), s.sections()->geometry()};
        if (results.frame()) m.frame = results.frame()->size();
        if (results.gridView()) {
            m.grid = results.gridView()->size();
            m.gridClient = results.gridView()->client()->size();
        }
        return m;
    }

private slots:
    void initTestCase() {
        MainWindowSession s;
        ResultsWindows results(*s.state);
        s.window->setResultsPresenter(&results);
        QVERIFY(!enterSchedule(s, QStringLiteral("Chem"), Typed).name.isEmpty());
        QVERIFY(s.clickAnswering(QStringLiteral("cmdMakeTime")));
        QVERIFY(results.gridView());
        designed = measure(s, results);
        QCOMPARE(designed.courses, twipsRect(120, 2520, 1815, 1815));
        QCOMPARE(designed.sections, twipsRect(2160, 2520, 2055, 1815));
        QCOMPARE(designed.gridClient, QSize(GridClientWidth, GridClientHeight));
    }

    void keptWholeEverywhere_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Entry>("how");
        const QString emoji = QStringLiteral(
            "\U0001F600\U0001F393 Chem \U0001F469\u200D\U0001F469\u200D\U0001F467 "
            "\U0001F1E9\U0001F1EA \U0001D49E");
        QTest::newRow("10,000 characters, pasted") << counting(10000) << Pasted;
        QTest::newRow("5,000 emoji (10,000 code units), pasted") << emoji.left(2).repeated(5000) << Pasted;
        QTest::newRow("emoji, ZWJ family, flag, math script") << emoji << ByInputMethod;
        QTest::newRow("emoji, pasted") << emoji << Pasted;
        QTest::newRow("combining marks, typed")
            << QStringLiteral("Cafe\u0301 Z\u0335\u0336\u0337\u0338a\u0301\u0302\u0303\u0304lgo n\u0303") << Typed;
        QTest::newRow("Hebrew with digits, typed") << QStringLiteral("\u05DB\u05D9\u05DE\u05D9\u05D4 101") << Typed;
        QTest::newRow("Arabic, typed") << QStringLiteral("\u0627\u0644\u0643\u064A\u0645\u064A\u0627\u0621") << Typed;
        QTest::newRow("mixed with RLO and RLM, input method")
            << QStringLiteral("Chem \u202E\u05D0\u05D1 12\u202C\u200F x") << ByInputMethod;
        QTest::newRow("long right-to-left, pasted")
            << QStringLiteral("\u05E9\u05DC\u05D5\u05DD ").repeated(400) << Pasted;
        QTest::newRow("blanks at both ends, typed") << QStringLiteral("   Chem 101   ") << Typed;
        QTest::newRow("blanks and no-break spaces only, typed") << QStringLiteral(" \u00A0 \u00A0") << Typed;
        QTest::newRow("tabs, pasted") << QStringLiteral("\tChem\t101\t") << Pasted;
        QTest::newRow("line breaks, pasted") << QStringLiteral("Chem\n101\r\nLab\rB\u2028C\u2029") << Pasted;
        QTest::newRow("byte-order marks at the start, input method") << QStringLiteral("\uFEFFChem") << ByInputMethod;
        QTest::newRow("swapped byte-order mark at the start, input method")
            << QStringLiteral("\uFFFEChem") << ByInputMethod;
        QTest::newRow("markup, typed") << QStringLiteral("<b>Chem</b> <img src=\"x.png\"> &amp;") << Typed;
    }

    void keptWholeEverywhere() {
        QFETCH(QString, text);
        QFETCH(Entry, how);
        MainWindowSession s;
        ResultsWindows results(*s.state);
        s.window->setResultsPresenter(&results);

        const Delivered got = enterSchedule(s, text, how);
        QVERIFY(s.messages.isEmpty());
        // Typed and composed text arrives as it was entered; pasted text as
        // the line edit made of it.
        if (how.keptAsEntered) QCOMPARE(got.name, text);
        QVERIFY(!got.name.isEmpty());
        QCOMPARE(got.number, got.name);  // the same entry in both boxes

        // Stored exactly as delivered.
        QCOMPARE(s.state->NumCourses, int16_t(1));
        const Course& course = s.state->Courses[0];
        QCOMPARE(q(course.CourseName), got.name);
        QCOMPARE(course.NumSections, int16_t(1));
        QCOMPARE(q(course.Sections[0].SecNum), got.number);
        QCOMPARE(q(course.Sections[0].CourseName), got.name);

        // Listed whole: the course line is the name, the section line starts
        // with the whole number.
        QCOMPARE(lines(s.courses()), QStringList{got.name});
        QCOMPARE(lines(s.sections()), QStringList{got.number + QStringLiteral("  9:00 - 10:00 M")});

        QVERIFY(s.clickAnswering(QStringLiteral("cmdMakeTime")));
        QVERIFY(results.gridView());
        QCOMPARE(s.state->NumTimetables, int16_t(1));
        const QString cell = got.name + QStringLiteral(" - ") + got.number;
        for (int i = 0; i < CellsPerWeek; ++i) {
            QLabel* label = results.gridView()->cell(i);
            const bool covered = i == 2 || i == 3;  // Monday 9:00 and 9:30
            // The cell shows the caption fitted to its width; the tooltip
            // holds it whole.
            QCOMPARE(label->text().isEmpty(), !covered);
            if (covered)
                QVERIFY2(label->toolTip().contains(cell.toHtmlEscaped()), qPrintable(label->toolTip().left(80)));
            QVERIFY(drawsTextAsIs(label));
            if (covered) QVERIFY2(spokenText(label).endsWith(cell), qPrintable(spokenText(label).left(80)));
            QCOMPARE(label->size(), QSize(px(1455), px(255)));
        }

        // No window grew, and the lists kept their place.
        const Sizes now = measure(s, results);
        QCOMPARE(now.main, designed.main);
        QCOMPARE(now.frame, designed.frame);
        QCOMPARE(now.grid, designed.grid);
        QCOMPARE(now.gridClient, designed.gridClient);
        QCOMPARE(now.courses, designed.courses);
        QCOMPARE(now.sections, designed.sections);
    }
};

QTEST_MAIN(TestHostileText)
#include "test_hostile_text.moc"
