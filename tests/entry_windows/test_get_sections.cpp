// "Get Sections" through the real dialog on the real main window: a listing
// pasted, opened from a file or dropped on the window, the preview and its
// count line before anything changes, then "Add", "Cancel" or the close
// button, and the lists, the title and the store afterwards.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include "entry_session.h"
#include "fake_file_chooser.h"

using namespace quorvandel;
using namespace quorvandel::testing;

class TestGetSections : public QObject {
    Q_OBJECT
private slots:
    void getSections_data();
    void getSections();
    void dropFile();
};

namespace {

const QString Pasted = QStringLiteral(
    "Course,Section,Days,Start,End,Room\n"
    "Chem,01,M,9:00,10:00,S1\n"
    "Chem,02,TR,9:05 AM,9:55 AM,S1\n"
    "Bio,A,MWF,1:00 PM,2:00 PM,B2\n"
    "Art,1,TBA,TBA,TBA,\n");

QStringList column(const QTableWidget* table, int c) {
    QStringList cells;
    for (int r = 0; r < table->rowCount(); ++r) cells << (table->item(r, c) ? table->item(r, c)->text() : QString());
    return cells;
}

}  // namespace

void TestGetSections::getSections_data() {
    QTest::addColumn<QString>("how");     // "paste", or "file" through "Open File..."
    QTest::addColumn<QString>("ending");  // "Add", "Cancel", "close"
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<QStringList>("courseLines");       // afterwards
    QTest::addColumn<QStringList>("chemSectionLines");  // afterwards
    const QStringList pastedStatuses = {QStringLiteral("Already there"),
                                        QStringLiteral("Add to Chem; Rounded: 9:05-9:55 to 9:00-10:00"),
                                        QStringLiteral("New course"), QStringLiteral("Refused: no days")};
    const QString pastedSummary = QStringLiteral("2 sections to add (1 new course), 1 already there, 1 refused");
    const QStringList before = {QStringLiteral("01  9:00 - 10:00 M")};
    QTest::newRow("paste, Add") << "paste"
                                << "Add" << pastedSummary << pastedStatuses
                                << QStringList{QStringLiteral("Chem"), QStringLiteral("Bio")}
                                << QStringList{before[0], QStringLiteral("02  9:00 - 10:00 T Th")};
    QTest::newRow("paste, Cancel") << "paste"
                                   << "Cancel" << pastedSummary << pastedStatuses << QStringList{QStringLiteral("Chem")}
                                   << before;
    QTest::newRow("paste, close button") << "paste"
                                         << "close" << pastedSummary << pastedStatuses
                                         << QStringList{QStringLiteral("Chem")} << before;
    QTest::newRow("Open File..., Add")
        << "file"
        << "Add" << QStringLiteral("6 sections to add (3 new courses), 0 already there, 0 refused")
        << QStringList{QStringLiteral("New course; Rounded: 9:00-9:50 to 9:00-10:00"),
                       QStringLiteral("Add to Econ 101; Rounded: 12:30-13:45 to 12:30-13:30"),
                       QStringLiteral("Add to Econ 101; Rounded: 18:00-20:45 to 18:00-20:30"),
                       QStringLiteral("New course; Rounded: 14:00-15:15 to 14:00-15:00"),
                       QStringLiteral("Add to Philosophy 210; Rounded: 10:00-11:15 to 10:00-11:00"),
                       QStringLiteral("New course")}
        << QStringList{QStringLiteral("Chem"), QStringLiteral("Econ 101"), QStringLiteral("Philosophy 210"),
                       QStringLiteral("Art 120")}
        << before;
}

void TestGetSections::getSections() {
    QFETCH(QString, how);
    QFETCH(QString, ending);
    QFETCH(QString, summary);
    QFETCH(QStringList, statuses);
    QFETCH(QStringList, courseLines);
    QFETCH(QStringList, chemSectionLines);

    MainWindowSession s;
    QVERIFY(s.addCourse(QStringLiteral("Chem")));
    QVERIFY(s.addSection(0, mondayNineToTen(QStringLiteral("01"))));
    // Saved first, so that the title tells whether anything changed.
    QTemporaryDir folder;
    FakeFileChooser chooser;
    s.window->scheduleKeeper().setFileChooser(&chooser);
    chooser.answers << folder.filePath(QStringLiteral("term.qvs"));
    QVERIFY(s.clickAnswering(QStringLiteral("cmdSave")));
    QCOMPARE(s.window->windowHandle()->title(), QStringLiteral("term.qvs - Quorvandel Main"));
    QVERIFY(button(s.w(), QStringLiteral("cmdGetSec"))->isEnabled());
    const int16_t sectionsBefore = s.state->Courses[0].NumSections;

    ModalScript script;
    QString seenSummary;
    QStringList seenStatuses;
    int coursesWhileOpen = -1;
    script.onWindow(QStringLiteral("frmGetSec"), [&](QWidget* dialog) {
        auto* box = dialog->findChild<QPlainTextEdit*>(QStringLiteral("txtListing"));
        if (how == QLatin1String("paste")) {
            QApplication::clipboard()->setText(Pasted);
            box->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else {
            chooser.answers << QStringLiteral(QUORVANDEL_LISTINGS_DIR "/plain.txt");
            click(dialog, QStringLiteral("cmdOpenFile"));
        }
        seenSummary = dialog->findChild<QLabel*>(QStringLiteral("lblSummary"))->text();
        seenStatuses = column(dialog->findChild<QTableWidget*>(QStringLiteral("grdPreview")), 3);
        coursesWhileOpen = s.state->NumCourses;
        if (ending == QLatin1String("close"))
            dialog->close();
        else
            click(dialog, QStringLiteral("cmd") + ending);
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdGetSec"), script));

    QCOMPARE(seenSummary, summary);
    QCOMPARE(seenStatuses, statuses);
    QCOMPARE(coursesWhileOpen, 1);  // nothing changes before "Add"
    QVERIFY(s.messages.isEmpty());
    QCOMPARE(lines(s.courses()), courseLines);
    QCOMPARE(s.state->NumCourses, courseLines.size());
    const bool added = ending == QLatin1String("Add");
    QCOMPARE(s.window->windowHandle()->title(),
             added ? QStringLiteral("term.qvs* - Quorvandel Main") : QStringLiteral("term.qvs - Quorvandel Main"));
    clickLine(s.courses(), 0);
    QCOMPARE(lines(s.sections()), chemSectionLines);
    QCOMPARE(s.state->Courses[0].NumSections, static_cast<int16_t>(chemSectionLines.size()));
    if (!added) QCOMPARE(s.state->Courses[0].NumSections, sectionsBefore);
    QVERIFY(button(s.w(), QStringLiteral("cmdMakeTime"))->isEnabled());
}

void TestGetSections::dropFile() {
    MainWindowSession s;
    const QString path = QStringLiteral(QUORVANDEL_LISTINGS_DIR "/registrar.csv");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.w(), &enter);
    QVERIFY(enter.isAccepted());

    ModalScript script;
    QString seenSummary;
    script.onWindow(QStringLiteral("frmGetSec"), [&](QWidget* dialog) {
        seenSummary = dialog->findChild<QLabel*>(QStringLiteral("lblSummary"))->text();
        click(dialog, QStringLiteral("cmdAdd"));
    });
    script.answerAnyMessages();
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.w(), &drop);
    QTRY_VERIFY(script.finished());
    QVERIFY(scriptDone(script));
    QCOMPARE(seenSummary, QStringLiteral("8 sections to add (4 new courses), 0 already there, 1 refused"));
    QCOMPARE(lines(s.courses()), (QStringList{QStringLiteral("CHEM 101"), QStringLiteral("MATH 221"),
                                              QStringLiteral("HIST 150"), QStringLiteral("ENGL 110")}));

    // Another kind of file is not taken.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/term.qvs"))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.w(), &refused);
    QVERIFY(!refused.isAccepted());
}

QTEST_MAIN(TestGetSections)
#include "test_get_sections.moc"
