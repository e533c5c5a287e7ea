// The Add Course dialog, opened from the main window and used with the
// mouse and keyboard.

#include <QLineEdit>
#include <QPointer>
#include <QtTest>

#include "add_course_dialog.h"
#include "editing.h"
#include "entry_session.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

struct DialogSeen {
    bool visible = false;
    QString text;
    bool focusInBox = false;
};

DialogSeen look(QWidget* dialog) {
    auto* box = control<QLineEdit>(dialog, QStringLiteral("txtCrsName"));
    return {dialog->isVisible(), box->text(), dialog->focusWidget() == box};
}

}  // namespace

class TestAddCourseDialog : public QObject {
    Q_OBJECT
private slots:
    void okStoresTheNameAsTyped_data();
    void okStoresTheNameAsTyped();
    void sameNameTwice();
    void refusedOk_data();
    void refusedOk();
    void enterAndEscPressNothing_data();
    void enterAndEscPressNothing();
    void closingWithoutOk_data();
    void closingWithoutOk();
    void eachOpeningStartsEmpty();
    void tabOrder();
    void designedGeometry();
};

void TestAddCourseDialog::okStoresTheNameAsTyped_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Chem";
    QTest::newRow("one blank") << " ";
    QTest::newRow("blanks kept") << "  Organic  Chem ";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Ch\u00e9mie \u5316\u5b66");
}

void TestAddCourseDialog::okStoresTheNameAsTyped() {
    QFETCH(QString, name);
    MainWindowSession s;
    QVERIFY(s.addCourse(name));
    QCOMPARE(lines(s.courses()), QStringList{name});
    QCOMPARE(s.state->NumCourses, int16_t(1));
    QCOMPARE(QString::fromStdU16String(s.state->Courses[0].CourseName), name);
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(0));
    // Hidden, not destroyed.
    auto* dialog = control<QWidget>(s.w(), QStringLiteral("frmAddCrs"));
    QVERIFY(dialog);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(s.messages, QStringList());
}

void TestAddCourseDialog::sameNameTwice() {
    MainWindowSession s;
    QVERIFY(s.addCourse(QStringLiteral("Chem")));
    QVERIFY(s.addCourse(QStringLiteral("Chem")));
    QCOMPARE(lines(s.courses()), (QStringList{"Chem", "Chem"}));
    QCOMPARE(s.state->NumCourses, int16_t(2));
}

void TestAddCourseDialog::refusedOk_data() {
    QTest::addColumn<int>("coursesBefore");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty name") << 0 << "" << EmptyCourseNameMessage;
    QTest::newRow("empty name with courses") << 3 << "" << EmptyCourseNameMessage;
    QTest::newRow("a 21st course") << 20 << "Extra" << CoursesFullMessage();
}

void TestAddCourseDialog::refusedOk() {
    QFETCH(int, coursesBefore);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    MainWindowSession s;
    QStringList before;
    for (int i = 0; i < coursesBefore; ++i) {
        before.append(QStringLiteral("Course %1").arg(i + 1));
        // The dialog's own check is the last guard behind the disabled
        // "Add Course": the 20th course goes in behind the window's back,
        // so the button is still enabled.
        if (i == MaxCourses - 1)
            AddCourse(*s.state, *s.window, NewCourse(before.back().toStdU16String()));
        else
            QVERIFY(s.addCourse(before.back()));
    }
    const CourseList stored = *s.state;

    DialogSeen afterMessage;
    ModalScript script;
    script
        .onWindow(QStringLiteral("frmAddCrs"),
                  [&](QWidget* dialog) {
                      typeInto(dialog, QStringLiteral("txtCrsName"), typed);
                      click(dialog, QStringLiteral("cmdOk"));
                  })
        .answerMessage()
        .onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
            afterMessage = look(dialog);
            click(dialog, QStringLiteral("cmdCancel"));
        });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddCrs"), script));

    QCOMPARE(s.messages, QStringList{message});
    QVERIFY(s.messagesInProgramForm());
    QVERIFY(afterMessage.visible);  // still open after the message
    QCOMPARE(afterMessage.text, typed);
    QCOMPARE(lines(s.courses()), before);
    QCOMPARE(s.state->NumCourses, int16_t(coursesBefore));
    for (int i = 0; i < coursesBefore; ++i)
        QVERIFY(s.state->Courses[static_cast<size_t>(i)] == stored.Courses[static_cast<size_t>(i)]);
}

void TestAddCourseDialog::enterAndEscPressNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::newRow("Enter in the name box") << "txtCrsName" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter in the name box") << "txtCrsName" << int(Qt::Key_Enter);
    QTest::newRow("Esc in the name box") << "txtCrsName" << int(Qt::Key_Escape);
    QTest::newRow("Esc on Cancel") << "cmdCancel" << int(Qt::Key_Escape);
}

void TestAddCourseDialog::enterAndEscPressNothing() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    MainWindowSession s;
    DialogSeen afterKey;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
        typeInto(dialog, QStringLiteral("txtCrsName"), QStringLiteral("Chem"));
        QWidget* target = control<QWidget>(dialog, focus);
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key(key));
        QTest::qWait(10);
        afterKey = look(dialog);
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddCrs"), script));
    QVERIFY(afterKey.visible);
    QCOMPARE(afterKey.text, QStringLiteral("Chem"));
    QCOMPARE(s.state->NumCourses, int16_t(0));
    QCOMPARE(lines(s.courses()), QStringList());
    QCOMPARE(s.messages, QStringList());
}

void TestAddCourseDialog::closingWithoutOk_data() {
    QTest::addColumn<WindowGesture>("leave");
    QTest::newRow("Cancel") << clickButton(QStringLiteral("cmdCancel"));
    QTest::newRow("the frame's close button") << WindowGesture(closeByFrame);
}

void TestAddCourseDialog::closingWithoutOk() {
    QFETCH(WindowGesture, leave);
    MainWindowSession s;
    QVERIFY(s.addCourse(QStringLiteral("Kept")));
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
        typeInto(dialog, QStringLiteral("txtCrsName"), QStringLiteral("Dropped"));
        leave(dialog);
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddCrs"), script));
    QCOMPARE(lines(s.courses()), QStringList{"Kept"});
    QCOMPARE(s.state->NumCourses, int16_t(1));
    QCOMPARE(s.messages, QStringList());

    DialogSeen reopened;
    ModalScript again;
    again.onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
        reopened = look(dialog);
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddCrs"), again));
    QCOMPARE(reopened.text, QString());
    QVERIFY(reopened.focusInBox);
}

void TestAddCourseDialog::eachOpeningStartsEmpty() {
    MainWindowSession s;
    QVERIFY(s.addCourse(QStringLiteral("First")));
    QPointer<QWidget> firstDialog = control<QWidget>(s.w(), QStringLiteral("frmAddCrs"));
    DialogSeen opened;
    QPointer<QWidget> secondDialog;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
        opened = look(dialog);
        secondDialog = dialog;
        typeInto(dialog, QStringLiteral("txtCrsName"), QStringLiteral("Second"));
        click(dialog, QStringLiteral("cmdOk"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddCrs"), script));
    QCOMPARE(opened.text, QString());
    QVERIFY(opened.focusInBox);
    QVERIFY(firstDialog);
    QCOMPARE(secondDialog.data(), firstDialog.data());  // the same dialog, shown again
    QCOMPARE(lines(s.courses()), (QStringList{"First", "Second"}));
}

void TestAddCourseDialog::tabOrder() {
    MainWindowSession s;
    QStringList seen;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
        for (int i = 0; i < 4; ++i) {
            QWidget* focus = dialog->focusWidget();
            seen.append(focus ? focus->objectName() : QString());
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddCrs"), script));
    QCOMPARE(seen, (QStringList{"txtCrsName", "cmdOk", "cmdCancel", "txtCrsName"}));
}

void TestAddCourseDialog::designedGeometry() {
    MainWindowSession s;
    QMap<QString, QRect> seen;
    QString title;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
        title = dialog->windowTitle();
        seen.insert(QString(), QRect(QPoint(), dialog->size()));
        for (const char* name : {"Label1", "txtCrsName", "cmdOk", "cmdCancel"})
            seen.insert(QLatin1String(name), control<QWidget>(dialog, QLatin1String(name))->geometry());
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddCrs"), script));
    QCOMPARE(title, QStringLiteral("Add Course"));
    auto twips = [](int l, int t, int w, int h) { return QRect(l / 15, t / 15, w / 15, h / 15); };
    QCOMPARE(seen.value(QString()), twips(0, 0, 3765, 1650));
    QCOMPARE(seen.value("Label1"), twips(120, 360, 1575, 255));
    QCOMPARE(seen.value("txtCrsName"), twips(1920, 360, 1695, 285));
    QCOMPARE(seen.value("cmdOk"), twips(120, 960, 1335, 495));
    QCOMPARE(seen.value("cmdCancel"), twips(2280, 960, 1335, 495));
}

QTEST_MAIN(TestAddCourseDialog)
#include "test_add_course_dialog.moc"
