// Slot and cell encoding, and which cells a section covers.
#include <QtTest>
#include <set>

#include "week.h"

using namespace quorvandel;

namespace {

Section sectionOn(std::initializer_list<int> days, int16_t start, int16_t end) {
    Section s;
    s.StartSlot = start;
    s.EndSlot = end;
    for (int d : days) s.Days[static_cast<size_t>(d)] = true;
    return s;
}

std::vector<int> cellsCoveredBy(const Section& s) {
    std::vector<int> cells;
    forEachCoveredCell(s, [&](int16_t c) { cells.push_back(c); });
    return cells;
}

}  // namespace

Q_DECLARE_METATYPE(quorvandel::Section)
Q_DECLARE_METATYPE(std::vector<int>)

class WeekCellsTest : public QObject {
    Q_OBJECT
private slots:
    void slotOfTime_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("slot");
        QTest::newRow("08:00 first slot") << 8 << 0 << 0;
        QTest::newRow("08:30") << 8 << 30 << 1;
        QTest::newRow("09:00") << 9 << 0 << 2;
        QTest::newRow("13:30") << 13 << 30 << 11;
        QTest::newRow("22:00 last slot") << 22 << 0 << 28;
        QTest::newRow("22:30 only an end") << 22 << 30 << 29;
    }
    void slotOfTime() {
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(int, slot);
        QCOMPARE(slotOf(hour, minute), slot);
    }

    void timeTextOfSlot_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("text");
        QTest::newRow("first") << 0 << "8:00";
        QTest::newRow("half past") << 1 << "8:30";
        QTest::newRow("two digits") << 11 << "13:30";
        QTest::newRow("last start") << 28 << "22:00";
        QTest::newRow("end of day") << 29 << "22:30";
    }
    void timeTextOfSlot() {
        QFETCH(int, slot);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdU16String(timeText(slot)), text);
    }

    void everyTimeTextReadsBackAsItsSlot() {
        for (int slot = 0; slot <= EndOfDaySlot; ++slot) QCOMPARE(slotOfTimeText(timeText(slot)), int16_t(slot));
        QCOMPARE(slotOfTimeText(u"08:00"), int16_t(0));
        QCOMPARE(slotOfTimeText(u"09:30"), int16_t(3));
    }

    void timeTextsOffTheGridAreRefused_data() {
        QTest::addColumn<QString>("text");
        for (const char* t : {"", "8", "8:0", "8:000", ":00", "8-00", "7:30", "8:15", "8:60", "22:31", "23:00",
                              "123:00", " 8:00", "8:00 ", "a:bc", "-8:00", "8:3O"})
            QTest::newRow(t) << QString::fromLatin1(t);
        QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("\u0668:\u0660\u0660");
        QTest::newRow("full-width digits") << QString::fromUtf8("\uff18:\uff10\uff10");
    }
    void timeTextsOffTheGridAreRefused() {
        QFETCH(QString, text);
        QVERIFY(!slotOfTimeText(text.toStdU16String()).has_value());
    }

    void cellOfDayAndSlot_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("cell");
        QTest::newRow("Monday 08:00") << 0 << 0 << 0;
        QTest::newRow("Monday 22:00") << 0 << 28 << 28;
        QTest::newRow("Tuesday 08:00") << 1 << 0 << 29;
        QTest::newRow("Wednesday 09:00") << 2 << 2 << 60;
        QTest::newRow("Sunday 08:00") << 6 << 0 << 174;
        QTest::newRow("Sunday 22:00") << 6 << 28 << 202;
    }
    void cellOfDayAndSlot() {
        QFETCH(int, day);
        QFETCH(int, slot);
        QFETCH(int, cell);
        QCOMPARE(cellOf(day, slot), cell);
        QCOMPARE(dayOfCell(cell), day);
        QCOMPARE(slotOfCell(cell), slot);
    }

    void everyCellDecodesBackToItself() {
        std::set<int> seen;
        for (int c = 0; c < CellsPerWeek; ++c) {
            QCOMPARE(cellOf(dayOfCell(c), slotOfCell(c)), c);
            QVERIFY(dayOfCell(c) >= 0 && dayOfCell(c) < DaysPerWeek);
            QVERIFY(slotOfCell(c) >= 0 && slotOfCell(c) < SlotsPerDay);
            seen.insert(c);
        }
        QCOMPARE(int(seen.size()), 203);
    }

    void coveredCells_data() {
        QTest::addColumn<Section>("section");
        QTest::addColumn<std::vector<int>>("cells");
        QTest::newRow("Monday 8:00-8:30") << sectionOn({0}, 0, 1) << std::vector<int>{0};
        QTest::newRow("Sunday 8:00-8:30") << sectionOn({6}, 0, 1) << std::vector<int>{174};
        QTest::newRow("Sunday 22:00-22:30") << sectionOn({6}, 28, 29) << std::vector<int>{202};
        QTest::newRow("9:00-10:30 Mon Wed") << sectionOn({2, 0}, 2, 5) << std::vector<int>{2, 3, 4, 60, 61, 62};
        QTest::newRow("end is exclusive") << sectionOn({1}, 4, 6) << std::vector<int>{33, 34};
        QTest::newRow("no day") << sectionOn({}, 0, 29) << std::vector<int>{};
    }
    void coveredCells() {
        QFETCH(Section, section);
        QFETCH(std::vector<int>, cells);
        QCOMPARE(cellsCoveredBy(section), cells);
    }

    void wholeWeekCoversEveryCellOnce() {
        const auto cells = cellsCoveredBy(sectionOn({0, 1, 2, 3, 4, 5, 6}, 0, 29));
        QCOMPARE(int(cells.size()), 203);
        QCOMPARE(int(std::set<int>(cells.begin(), cells.end()).size()), 203);
        QCOMPARE(cells.front(), 0);
        QCOMPARE(cells.back(), 202);
    }

    void freshStateIsZero() {
        auto state = std::make_unique<ModuleState>();
        QCOMPARE(state->NumCourses, 0);
        QCOMPARE(state->NumTimetables, 0);
        QCOMPARE(state->CurrentTimetable, 0);
        QVERIFY(!state->EnumDone);
        for (int16_t cell : state->Occupancy) QCOMPARE(cell, 0);
    }
};

QTEST_APPLESS_MAIN(WeekCellsTest)
#include "test_week.moc"
