// The Add Section dialog, opened from the main window for a selected course
// and filled in with the mouse and keyboard.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

#include "add_section_dialog.h"
#include "editing.h"
#include "entry_session.h"
#include "section_maker.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

const QStringList TimeLists = {"lstTStartH", "lstTStartM", "lstTEndH", "lstTEndM"};

// What the user sees of the dialog's entries.
struct Entries {
    bool visible = false;
    QString number;
    bool focusInNumber = false;
    QList<int> startHour, startMinute, endHour, endMinute, days;

    friend bool operator==(const Entries&, const Entries&) = default;
};

Entries look(QWidget* dialog) {
    Entries e;
    e.visible = dialog->isVisible();
    auto* number = control<QLineEdit>(dialog, QStringLiteral("txtSecNum"));
    e.number = number->text();
    e.focusInNumber = dialog->focusWidget() == number;
    e.startHour = selectedRows(list(dialog, QStringLiteral("lstTStartH")));
    e.startMinute = selectedRows(list(dialog, QStringLiteral("lstTStartM")));
    e.endHour = selectedRows(list(dialog, QStringLiteral("lstTEndH")));
    e.endMinute = selectedRows(list(dialog, QStringLiteral("lstTEndM")));
    e.days = selectedRows(list(dialog, QStringLiteral("lstDofWk")));
    return e;
}

// The entries of a dialog just opened: nothing but "00" in both minute lists.
Entries designedState() {
    Entries e;
    e.visible = true;
    e.focusInNumber = true;
    e.startMinute = {0};
    e.endMinute = {0};
    return e;
}

QString daysText(const std::array<bool, DaysPerWeek>& days) {
    QString text;
    for (bool d : days) text += d ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

// A session with the courses Algebra and Biology.
struct TwoCourses : MainWindowSession {
    TwoCourses() { ok = addCourse(QStringLiteral("Algebra")) && addCourse(QStringLiteral("Biology")); }
    bool ok = false;
};

// Course 0's "Add Section" with an entry the dialog refuses: fills it in,
// presses OK, answers the message box and cancels. What the dialog showed
// just before OK and just after the message go to beforeOk and afterMessage.
bool enterRefusedSection(TwoCourses& s, const SectionEntry& entry, Entries& beforeOk, Entries& afterMessage,
                         bool selectFirst = true) {
    if (selectFirst) clickLine(s.courses(), 0);
    ModalScript script;
    script
        .onWindow(QStringLiteral("frmAddSec"),
                  [&](QWidget* dialog) {
                      fillSection(dialog, entry);
                      beforeOk = look(dialog);
                      click(dialog, QStringLiteral("cmdOk"));
                  })
        .answerMessage()
        .onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
            afterMessage = look(dialog);
            click(dialog, QStringLiteral("cmdCancel"));
        });
    return s.clickWith(QStringLiteral("cmdAddSec"), script);
}

}  // namespace

class TestAddSectionDialog : public QObject {
    Q_OBJECT
private slots:
    void storedSection_data();
    void storedSection();
    void sameNumberTwice();
    void refusedOk_data();
    void refusedOk();
    void correctedAfterRefusal();
    void severalTimes_data();
    void severalTimes();
    void freshAtEachOpening_data();
    void freshAtEachOpening();
    void enterAndEscPressNothing_data();
    void enterAndEscPressNothing();
    void dayListTogglesOneDayAtATime();
    void timeListsKeepTheirPick_data();
    void timeListsKeepTheirPick();
    void listsShowEveryLine_data();
    void listsShowEveryLine();
    void tenSectionsPerCourse();
    void tabOrder();
    void designedGeometry();
};

void TestAddSectionDialog::storedSection_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("startHour");
    QTest::addColumn<QString>("startMinute");
    QTest::addColumn<QString>("endHour");
    QTest::addColumn<QString>("endMinute");
    QTest::addColumn<QStringList>("days");  // in the order clicked
    QTest::addColumn<int>("startSlot");
    QTest::addColumn<int>("endSlot");
    QTest::addColumn<QString>("startTime");
    QTest::addColumn<QString>("endTime");
    QTest::addColumn<QString>("storedDays");  // Monday first
    QTest::addColumn<QString>("line");

    QTest::newRow("9:00 to 10:00 Monday") << "S1"
                                          << "9"
                                          << "00"
                                          << "10"
                                          << "00" << QStringList{"Monday"} << 2 << 4 << "9:00"
                                          << "10:00"
                                          << "1000000"
                                          << "S1  9:00 - 10:00 M";
    QTest::newRow("13:30 to 15:00") << "B2"
                                    << "13"
                                    << "30"
                                    << "15"
                                    << "00" << QStringList{"Thursday", "Tuesday"} << 11 << 14 << "13:30"
                                    << "15:00"
                                    << "0101000"
                                    << "B2  13:30 - 15:00 T Th";
    QTest::newRow("8:00 to 22:30 every day")
        << "7"
        << "8"
        << "00"
        << "22"
        << "30" << QStringList{"Sunday", "Saturday", "Friday", "Thursday", "Wednesday", "Tuesday", "Monday"} << 0 << 29
        << "8:00"
        << "22:30"
        << "1111111"
        << "7  8:00 - 22:30 M T W Th F S Su";
    QTest::newRow("22:00 to 22:30, the last half-hour") << "L"
                                                        << "22"
                                                        << "00"
                                                        << "22"
                                                        << "30" << QStringList{"Friday"} << 28 << 29 << "22:00"
                                                        << "22:30"
                                                        << "0000100"
                                                        << "L  22:00 - 22:30 F";
    QTest::newRow("Monday and Wednesday") << "101"
                                          << "8"
                                          << "00"
                                          << "9"
                                          << "30" << QStringList{"Wednesday", "Monday"} << 0 << 3 << "8:00"
                                          << "9:30"
                                          << "1010000"
                                          << "101  8:00 - 9:30 M W";
    QTest::newRow("Sunday and Monday") << "X"
                                       << "12"
                                       << "30"
                                       << "13"
                                       << "00" << QStringList{"Sunday", "Monday"} << 9 << 10 << "12:30"
                                       << "13:00"
                                       << "1000001"
                                       << "X  12:30 - 13:00 M Su";
    QTest::newRow("a number of one blank") << " "
                                           << "9"
                                           << "00"
                                           << "10"
                                           << "00" << QStringList{"Monday"} << 2 << 4 << "9:00"
                                           << "10:00"
                                           << "1000000"
                                           << "   9:00 - 10:00 M";
}

void TestAddSectionDialog::storedSection() {
    QFETCH(QString, number);
    QFETCH(QString, startHour);
    QFETCH(QString, startMinute);
    QFETCH(QString, endHour);
    QFETCH(QString, endMinute);
    QFETCH(QStringList, days);
    QFETCH(int, startSlot);
    QFETCH(int, endSlot);
    QFETCH(QString, startTime);
    QFETCH(QString, endTime);
    QFETCH(QString, storedDays);
    QFETCH(QString, line);

    TwoCourses s;
    QVERIFY(s.ok);
    QVERIFY(s.addSection(1, {number, startHour, startMinute, endHour, endMinute, days}));
    QCOMPARE(s.messages, QStringList());
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(0));
    QCOMPARE(s.state->Courses[1].NumSections, int16_t(1));
    const Section& stored = s.state->Courses[1].Sections[0];
    QCOMPARE(QString::fromStdU16String(stored.SecNum), number);
    QCOMPARE(int(stored.StartSlot), startSlot);
    QCOMPARE(int(stored.EndSlot), endSlot);
    QCOMPARE(QString::fromStdU16String(stored.StartTime), startTime);
    QCOMPARE(QString::fromStdU16String(stored.EndTime), endTime);
    QCOMPARE(daysText(stored.Days), storedDays);
    QCOMPARE(QString::fromStdU16String(stored.CourseName), QStringLiteral("Biology"));
    // The section list shows it once the dialog has closed.
    QCOMPARE(lines(s.sections()), QStringList{line});
}

void TestAddSectionDialog::sameNumberTwice() {
    TwoCourses s;
    QVERIFY(s.ok);
    QVERIFY(s.addSection(0, mondayNineToTen("01")));
    QVERIFY(s.addSection(0, mondayNineToTen("01")));
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(2));
    QCOMPARE(lines(s.sections()), (QStringList{"01  9:00 - 10:00 M", "01  9:00 - 10:00 M"}));
}

void TestAddSectionDialog::refusedOk_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("startHour");
    QTest::addColumn<QString>("startMinute");
    QTest::addColumn<QString>("endHour");
    QTest::addColumn<QString>("endMinute");
    QTest::addColumn<QStringList>("days");
    QTest::addColumn<QString>("message");
    const QString incomplete = IncompleteSectionMessage;
    const QString order = EndNotAfterStartMessage;
    const QStringList monday = {"Monday"};
    QTest::newRow("Ok at once") << ""
                                << ""
                                << "00"
                                << ""
                                << "00" << QStringList() << incomplete;
    QTest::newRow("no section number") << ""
                                       << "9"
                                       << "00"
                                       << "10"
                                       << "00" << monday << incomplete;
    QTest::newRow("no day") << "1"
                            << "9"
                            << "00"
                            << "10"
                            << "00" << QStringList() << incomplete;
    QTest::newRow("no start hour") << "1"
                                   << ""
                                   << "00"
                                   << "10"
                                   << "00" << monday << incomplete;
    QTest::newRow("no end hour") << "1"
                                 << "9"
                                 << "00"
                                 << ""
                                 << "00" << monday << incomplete;
    QTest::newRow("a day picked and unpicked") << "1"
                                               << "9"
                                               << "00"
                                               << "10"
                                               << "00" << QStringList{"Monday", "Monday"} << incomplete;
    QTest::newRow("incomplete and backwards: one message") << ""
                                                           << "10"
                                                           << "00"
                                                           << "9"
                                                           << "00" << monday << incomplete;
    QTest::newRow("9:00 to 9:00") << "1"
                                  << "9"
                                  << "00"
                                  << "9"
                                  << "00" << monday << order;
    QTest::newRow("9:30 to 9:00") << "1"
                                  << "9"
                                  << "30"
                                  << "9"
                                  << "00" << monday << order;
    QTest::newRow("22:30 to 22:30") << "1"
                                    << "22"
                                    << "30"
                                    << "22"
                                    << "30" << monday << order;
    QTest::newRow("22:30 to 9:00") << "1"
                                   << "22"
                                   << "30"
                                   << "9"
                                   << "00" << monday << order;
    QTest::newRow("15:00 to 13:30") << "1"
                                    << "15"
                                    << "00"
                                    << "13"
                                    << "30" << monday << order;
}

void TestAddSectionDialog::refusedOk() {
    QFETCH(QString, number);
    QFETCH(QString, startHour);
    QFETCH(QString, startMinute);
    QFETCH(QString, endHour);
    QFETCH(QString, endMinute);
    QFETCH(QStringList, days);
    QFETCH(QString, message);

    TwoCourses s;
    QVERIFY(s.ok);
    Entries beforeOk, afterMessage;
    QVERIFY(enterRefusedSection(s, {number, startHour, startMinute, endHour, endMinute, days}, beforeOk, afterMessage));
    QCOMPARE(s.messages, QStringList{message});
    QVERIFY(s.messagesInProgramForm());
    QVERIFY(afterMessage.visible);
    afterMessage.focusInNumber = beforeOk.focusInNumber;  // the focus may have moved to the lists
    QVERIFY(afterMessage == beforeOk);
    QCOMPARE(afterMessage.number, number);
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(0));
    QCOMPARE(lines(s.sections()), QStringList());
}

void TestAddSectionDialog::correctedAfterRefusal() {
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    ModalScript script;
    script
        .onWindow(QStringLiteral("frmAddSec"),
                  [](QWidget* dialog) {
                      fillSection(dialog, {"1", "9", "00", "9", "00", {"Tuesday"}});
                      click(dialog, QStringLiteral("cmdOk"));
                  })
        .answerMessage()
        .onWindow(QStringLiteral("frmAddSec"), [](QWidget* dialog) {
            QListWidget* endHour = list(dialog, QStringLiteral("lstTEndH"));
            clickLine(endHour, rowOf(endHour, QStringLiteral("11")));
            click(dialog, QStringLiteral("cmdOk"));
        });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    QCOMPARE(s.messages, QStringList{EndNotAfterStartMessage});
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(1));
    QCOMPARE(s.state->Courses[0].Sections[0].StartSlot, int16_t(2));
    QCOMPARE(s.state->Courses[0].Sections[0].EndSlot, int16_t(6));
    QCOMPARE(lines(s.sections()), QStringList{"1  9:00 - 11:00 T"});
}

// A section with several times, entered step by step: "9 00 10 00 M W F"
// picks a time and clicks its days, "another" presses "Another Time",
// "remove N" clicks line N of the time list and "Remove Time", "delete N"
// clicks it and presses Delete. Then "Ok", and "Cancel" if it was refused.
void TestAddSectionDialog::severalTimes_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("listed");  // the time list before "Ok"
    QTest::addColumn<bool>("anotherEnabled");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("line");  // empty: nothing stored
    const QString lecture = QStringLiteral("9:00 - 10:00 M W F");
    const QStringList fourTimes = {"9 00 10 00 M",  "another", "11 00 12 00 M", "another",
                                   "13 00 14 00 T", "another", "8 00 22 30 Su", "another"};
    const QStringList fourListed = {"9:00 - 10:00 M", "11:00 - 12:00 M", "13:00 - 14:00 T", "8:00 - 22:30 Su"};
    QTest::newRow("a lecture with its lab")
        << QStringList{"9 00 10 00 M W F", "another", "14 00 17 00 T"} << QStringList{lecture} << true << QStringList()
        << "01  9:00 - 10:00 M W F, 14:00 - 17:00 T";
    QTest::newRow("listed times, pickers without a day")
        << QStringList{"9 00 10 00 M", "another", "11 00 12 30 T", "another"}
        << QStringList{"9:00 - 10:00 M", "11:00 - 12:30 T"} << true << QStringList()
        << "01  9:00 - 10:00 M, 11:00 - 12:30 T";
    QTest::newRow("the same hours on other days, back to back")
        << QStringList{"9 00 10 00 M", "another", "9 00 10 00 T", "another", "10 00 11 00 M"}
        << QStringList{"9:00 - 10:00 M", "9:00 - 10:00 T"} << true << QStringList()
        << "01  9:00 - 10:00 M, 9:00 - 10:00 T, 10:00 - 11:00 M";
    QTest::newRow("a listed time removed")
        << QStringList{"9 00 10 00 M", "another", "11 00 12 00 T", "another", "remove 0"}
        << QStringList{"11:00 - 12:00 T"} << true << QStringList() << "01  11:00 - 12:00 T";
    QTest::newRow("Delete in the time list")
        << QStringList{"9 00 10 00 M", "another", "11 00 12 00 T", "another", "delete 1"}
        << QStringList{"9:00 - 10:00 M"} << true << QStringList() << "01  9:00 - 10:00 M";
    QTest::newRow("every listed time removed, then Ok with no day")
        << QStringList{"9 00 10 00 M", "another", "remove 0"} << QStringList() << true
        << QStringList{IncompleteSectionMessage} << "";
    QTest::newRow("Another Time with no day") << QStringList{"9 00 10 00", "another"} << QStringList() << true
                                              << QStringList{IncompleteSectionMessage, IncompleteSectionMessage} << "";
    QTest::newRow("Another Time backwards") << QStringList{"10 00 9 00 M", "another"} << QStringList() << true
                                            << QStringList{EndNotAfterStartMessage, EndNotAfterStartMessage} << "";
    QTest::newRow("a shared half-hour refused by Another Time, then by Ok")
        << QStringList{"9 00 10 00 M W", "another", "9 30 11 00 W", "another"} << QStringList{"9:00 - 10:00 M W"}
        << true
        << QStringList(2,
                       OverlappingMeetingsMessage(QStringLiteral("9:00 - 10:00 M W"), QStringLiteral("9:30 - 11:00 W")))
        << "";
    QTest::newRow("a shared half-hour refused by Ok")
        << QStringList{"13 00 15 00 T", "another", "8 00 22 30 M T"} << QStringList{"13:00 - 15:00 T"} << true
        << QStringList{OverlappingMeetingsMessage(QStringLiteral("13:00 - 15:00 T"),
                                                  QStringLiteral("8:00 - 22:30 M T"))}
        << "";
    QTest::newRow("four times stored") << fourTimes << fourListed << false << QStringList()
                                       << "01  9:00 - 10:00 M, 11:00 - 12:00 M, 13:00 - 14:00 T, 8:00 - 22:30 Su";
    QTest::newRow("a fifth time refused") << fourTimes + QStringList{"20 00 21 00 S"} << fourListed << false
                                          << QStringList{TooManyMeetingsMessage()} << "";
    QTest::newRow("a fifth time after a removal")
        << fourTimes + QStringList{"remove 3", "20 00 21 00 S"} << fourListed.mid(0, 3) << true << QStringList()
        << "01  9:00 - 10:00 M, 11:00 - 12:00 M, 13:00 - 14:00 T, 20:00 - 21:00 S";
}

void TestAddSectionDialog::severalTimes() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, listed);
    QFETCH(bool, anotherEnabled);
    QFETCH(QStringList, messages);
    QFETCH(QString, line);
    static const QMap<QString, QString> DayNamed = {{"M", "Monday"},    {"T", "Tuesday"}, {"W", "Wednesday"},
                                                    {"Th", "Thursday"}, {"F", "Friday"},  {"S", "Saturday"},
                                                    {"Su", "Sunday"}};
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    QStringList seenListed;
    bool seenEnabled = false;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        typeInto(dialog, QStringLiteral("txtSecNum"), QStringLiteral("01"));
        QListWidget* times = list(dialog, QStringLiteral("lstTimes"));
        for (const QString& step : steps) {
            const QStringList words = step.split(u' ');
            if (step == QStringLiteral("another")) {
                click(dialog, QStringLiteral("cmdAnotherTime"));
            } else if (words[0] == QStringLiteral("remove") || words[0] == QStringLiteral("delete")) {
                clickLine(times, words[1].toInt());
                if (words[0] == QStringLiteral("remove"))
                    click(dialog, QStringLiteral("cmdRemoveTime"));
                else
                    QTest::keyClick(times, Qt::Key_Delete);
            } else {
                QStringList days;
                for (const QString& day : words.mid(4)) days << DayNamed.value(day);
                fillSection(dialog, {QString(), words[0], words[1], words[2], words[3], days});
            }
        }
        seenListed = lines(times);
        seenEnabled = control<QPushButton>(dialog, QStringLiteral("cmdAnotherTime"))->isEnabled();
        click(dialog, QStringLiteral("cmdOk"));
        if (dialog->isVisible()) click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    QCOMPARE(seenListed, listed);
    QCOMPARE(seenEnabled, anotherEnabled);
    QCOMPARE(s.messages, messages);
    QVERIFY(s.messagesInProgramForm());
    QCOMPARE(lines(s.sections()), line.isEmpty() ? QStringList() : QStringList{line});
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(line.isEmpty() ? 0 : 1));
    if (!line.isEmpty()) QCOMPARE(int(s.state->Courses[0].Sections[0].NumMoreMeetings), int(line.count(u',')));
}

void TestAddSectionDialog::freshAtEachOpening_data() {
    QTest::addColumn<QString>("closing");
    QTest::newRow("after Ok") << "ok";
    QTest::newRow("after Cancel") << "cancel";
    QTest::newRow("after the frame's close button") << "frame";
    QTest::newRow("after a refused Ok and Cancel") << "refused";
}

void TestAddSectionDialog::freshAtEachOpening() {
    QFETCH(QString, closing);
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    Entries opened;
    QPointer<QWidget> first;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        first = dialog;
        opened = look(dialog);
        fillSection(dialog,
                    {"1", "9", "30", closing == QLatin1String("refused") ? "9" : "10", "30", {"Monday", "Friday"}});
        if (closing == QLatin1String("ok") || closing == QLatin1String("refused"))
            click(dialog, QStringLiteral("cmdOk"));
        else if (closing == QLatin1String("cancel"))
            click(dialog, QStringLiteral("cmdCancel"));
        else
            dialog->close();
    });
    if (closing == QLatin1String("refused"))
        script.answerMessage().onWindow(QStringLiteral("frmAddSec"),
                                        [](QWidget* dialog) { click(dialog, QStringLiteral("cmdCancel")); });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    QVERIFY(opened == designedState());
    QVERIFY(!first);  // destroyed when it closed
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(closing == QLatin1String("ok") ? 1 : 0));
    QCOMPARE(s.messages.size(), closing == QLatin1String("refused") ? 1 : 0);

    Entries reopened;
    ModalScript again;
    again.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        reopened = look(dialog);
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), again));
    QVERIFY(reopened == designedState());
}

void TestAddSectionDialog::enterAndEscPressNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::newRow("Enter in the number box") << "txtSecNum" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter in the number box") << "txtSecNum" << int(Qt::Key_Enter);
    QTest::newRow("Esc in the number box") << "txtSecNum" << int(Qt::Key_Escape);
    QTest::newRow("Enter in the day list") << "lstDofWk" << int(Qt::Key_Return);
    QTest::newRow("Esc in the end minute list") << "lstTEndM" << int(Qt::Key_Escape);
    QTest::newRow("Esc on Cancel") << "cmdCancel" << int(Qt::Key_Escape);
}

void TestAddSectionDialog::enterAndEscPressNothing() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    Entries beforeKey, afterKey;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        // Complete entries: a key that pressed "Ok" would store them.
        fillSection(dialog, mondayNineToTen("1"));
        QWidget* target = control<QWidget>(dialog, focus);
        target->setFocus(Qt::TabFocusReason);
        beforeKey = look(dialog);
        QTest::keyClick(target, Qt::Key(key));
        QTest::qWait(10);
        afterKey = look(dialog);
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    QVERIFY(afterKey.visible);
    QVERIFY(afterKey == beforeKey);
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(0));
    QCOMPARE(s.messages, QStringList());
}

void TestAddSectionDialog::dayListTogglesOneDayAtATime() {
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    QList<QList<int>> seen;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        QListWidget* days = list(dialog, QStringLiteral("lstDofWk"));
        clickLine(days, 0);  // Monday on
        clickLine(days, 2);  // Wednesday on, Monday stays
        seen.append(selectedRows(days));
        clickLine(days, 0);  // Monday off
        seen.append(selectedRows(days));
        days->setFocus(Qt::TabFocusReason);
        days->setCurrentRow(4, QItemSelectionModel::NoUpdate);
        QTest::keyClick(days, Qt::Key_Space);  // Friday on
        seen.append(selectedRows(days));
        QTest::keyClick(days, Qt::Key_Down);  // moving the focus changes nothing
        seen.append(selectedRows(days));
        QTest::keyClick(days, Qt::Key_Space);  // Saturday on
        QTest::keyClick(days, Qt::Key_Up);
        QTest::keyClick(days, Qt::Key_Space);  // Friday off
        seen.append(selectedRows(days));
        const QPoint sunday = days->visualItemRect(days->item(6)).center();
        // A double click as the window system delivers it: press, release,
        // press, double click, release. Sunday goes on and off again.
        QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, sunday);
        QTest::mousePress(days->viewport(), Qt::LeftButton, {}, sunday);
        QTest::mouseDClick(days->viewport(), Qt::LeftButton, {}, sunday);
        QTest::mouseRelease(days->viewport(), Qt::LeftButton, {}, sunday);
        seen.append(selectedRows(days));
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    const QList<QList<int>> expected = {{0, 2}, {2}, {2, 4}, {2, 4}, {2, 5}, {2, 5}};
    QCOMPARE(seen, expected);
}

void TestAddSectionDialog::timeListsKeepTheirPick_data() {
    QTest::addColumn<QString>("listName");
    QTest::addColumn<ListGesture>("gesture");
    for (const QString& l : TimeLists) {
        QTest::newRow(qPrintable(l + QStringLiteral(" ctrl-click"))) << l << ListGesture(ctrlClickTheSelectedLine);
        QTest::newRow(qPrintable(l + QStringLiteral(" ctrl-space"))) << l << ListGesture(ctrlSpaceOnTheSelectedLine);
    }
}

void TestAddSectionDialog::timeListsKeepTheirPick() {
    QFETCH(QString, listName);
    QFETCH(ListGesture, gesture);
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    QList<int> picked, after;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        QListWidget* l = list(dialog, listName);
        clickLine(l, 1);
        picked = selectedRows(l);
        gesture(l, 1);
        after = selectedRows(l);
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    QCOMPARE(picked, QList<int>{1});
    QCOMPARE(after, QList<int>{1});
}

void TestAddSectionDialog::listsShowEveryLine_data() {
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QStringList>("expectedLines");
    const QStringList hours = {"8", "9", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "20", "21", "22"};
    const QStringList minutes = {"00", "30"};
    QTest::newRow("lstDofWk") << "lstDofWk" << QStringList{"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                           "Friday", "Saturday", "Sunday"};
    QTest::newRow("lstTStartH") << "lstTStartH" << hours;
    QTest::newRow("lstTStartM") << "lstTStartM" << minutes;
    QTest::newRow("lstTEndH") << "lstTEndH" << hours;
    QTest::newRow("lstTEndM") << "lstTEndM" << minutes;
}

void TestAddSectionDialog::listsShowEveryLine() {
    QFETCH(QString, listName);
    QFETCH(QStringList, expectedLines);
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    QStringList seenLines;
    bool allInside = true;
    bool textFits = true;
    bool scrollBar = true;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        QListWidget* l = list(dialog, listName);
        seenLines = lines(l);
        scrollBar = l->verticalScrollBar()->isVisible() || l->horizontalScrollBar()->isVisible();
        const QRect viewport = l->viewport()->rect();
        for (int i = 0; i < l->count(); ++i) {
            const QRect r = l->visualItemRect(l->item(i));
            allInside = allInside && viewport.contains(r);
            textFits = textFits && l->fontMetrics().horizontalAdvance(l->item(i)->text()) <= r.width() &&
                       l->fontMetrics().height() <= r.height() + 1;
        }
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    QCOMPARE(seenLines, expectedLines);
    QVERIFY(allInside);
    QVERIFY(textFits);
    QVERIFY(!scrollBar);
}

void TestAddSectionDialog::tenSectionsPerCourse() {
    TwoCourses s;
    QVERIFY(s.ok);
    QStringList expected;
    for (int i = 0; i < MaxSectionsPerCourse; ++i) {
        const QString number = QString::number(i + 1);
        // The dialog's own check is the last guard behind the disabled "Add
        // Section": the 10th section goes in behind the window's back, so
        // the button is still enabled.
        if (i == MaxSectionsPerCourse - 1)
            AddSection(*s.state, 0, makeSection(u"Algebra", number.toStdU16String(), 2, 4, {0}));
        else
            QVERIFY(s.addSection(0, mondayNineToTen(number)));
        expected.append(number + QStringLiteral("  9:00 - 10:00 M"));
    }
    const Course full = s.state->Courses[0];
    Entries beforeOk, afterMessage;
    QVERIFY(enterRefusedSection(s, mondayNineToTen("11"), beforeOk, afterMessage, false));
    QCOMPARE(s.messages, QStringList{SectionsFullMessage()});
    QVERIFY(s.messagesInProgramForm());
    QVERIFY(afterMessage.visible);
    afterMessage.focusInNumber = beforeOk.focusInNumber;
    QVERIFY(afterMessage == beforeOk);
    QVERIFY(s.state->Courses[0] == full);
    QCOMPARE(lines(s.sections()), expected);
    // The other course still takes sections.
    QVERIFY(s.addSection(1, mondayNineToTen("B")));
    QCOMPARE(s.state->Courses[1].NumSections, int16_t(1));
}

void TestAddSectionDialog::tabOrder() {
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    QStringList seen;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        for (int i = 0; i < 11; ++i) {
            QWidget* focus = dialog->focusWidget();
            seen.append(focus ? focus->objectName() : QString());
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    // "Remove Time" is left out while no listed time is selected.
    QCOMPARE(seen, (QStringList{"txtSecNum", "cmdOk", "cmdCancel", "lstDofWk", "lstTStartH", "lstTStartM", "lstTEndH",
                                "lstTEndM", "cmdAnotherTime", "lstTimes", "txtSecNum"}));
}

void TestAddSectionDialog::designedGeometry() {
    TwoCourses s;
    QVERIFY(s.ok);
    clickLine(s.courses(), 0);
    QMap<QString, QRect> seen;
    QMap<QString, QString> captions;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddSec"), [&](QWidget* dialog) {
        captions.insert(QString(), dialog->windowTitle());
        seen.insert(QString(), QRect(QPoint(), dialog->size()));
        for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            seen.insert(child->objectName(), child->geometry());
            if (auto* b = qobject_cast<QAbstractButton*>(child))
                captions.insert(child->objectName(), shownCaption(b->text()));
            if (auto* l = qobject_cast<QLabel*>(child)) captions.insert(child->objectName(), shownCaption(l->text()));
        }
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddSec"), script));
    auto twips = [](int l, int t, int w, int h) { return QRect(l / 15, t / 15, w / 15, h / 15); };
    QCOMPARE(captions.value(QString()), QStringLiteral("Add Section"));
    // Taller than designed by the band of further times.
    QCOMPARE(seen.value(QString()), twips(0, 0, 4650, 5580));
    QCOMPARE(seen.value("lblSecNum"), twips(360, 120, 1455, 255));
    QCOMPARE(seen.value("txtSecNum"), twips(2040, 120, 1695, 285));
    QCOMPARE(seen.value("lblDofWk"), twips(480, 600, 1335, 255));
    QCOMPARE(seen.value("lblTimeStart"), twips(2040, 600, 1335, 255));
    QCOMPARE(seen.value("lblTimeEnd"), twips(3360, 600, 1335, 255));
    QCOMPARE(seen.value("lstDofWk"), twips(240, 960, 1695, 1425));
    QCOMPARE(seen.value("lstTStartH"), twips(2280, 960, 375, 2985));
    QCOMPARE(seen.value("lstTStartM"), twips(2760, 960, 375, 450));
    QCOMPARE(seen.value("lstTEndH"), twips(3600, 960, 375, 2985));
    QCOMPARE(seen.value("lstTEndM"), twips(4080, 960, 375, 450));
    QCOMPARE(seen.value("cmdOk"), twips(240, 2520, 1575, 615));
    QCOMPARE(seen.value("cmdCancel"), twips(240, 3360, 1575, 615));
    QCOMPARE(captions.value("lblSecNum"), QStringLiteral("Section Number"));
    QCOMPARE(captions.value("lblDofWk"), QStringLiteral("Days of Week"));
    QCOMPARE(captions.value("lblTimeStart"), QStringLiteral("Time Start"));
    QCOMPARE(captions.value("lblTimeEnd"), QStringLiteral("Time End"));
    QCOMPARE(captions.value("cmdOk"), QStringLiteral("Ok"));
    QCOMPARE(captions.value("cmdCancel"), QStringLiteral("Cancel"));
    QCOMPARE(captions.value("cmdAnotherTime"), QStringLiteral("Another Time"));
    QCOMPARE(captions.value("cmdRemoveTime"), QStringLiteral("Remove Time"));
    QCOMPARE(captions.value("lblTimes"), QStringLiteral("Added Times"));
    // The further times sit below everything designed.
    for (const char* name : {"cmdAnotherTime", "cmdRemoveTime", "lblTimes", "lstTimes"}) {
        QVERIFY2(seen.value(name).top() >= twips(0, 3360 + 615, 0, 0).top(), name);
        QVERIFY2(QRect(QPoint(), seen.value(QString()).size()).contains(seen.value(name)), name);
    }
}

QTEST_MAIN(TestAddSectionDialog)
#include "test_add_section_dialog.moc"
