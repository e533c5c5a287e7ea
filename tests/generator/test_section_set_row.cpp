// Every row operation against the same done one lane at a time, built with
// the vector lanes and again with the portable word lanes.
#include <QtTest>

#include "schedule_makers.h"
#include "section_set_row.h"

using namespace quorvandel;
using namespace quorvandel::makers;

class SectionSetRowTest : public QObject {
    Q_OBJECT
private slots:
    // Lanes of 0 to 10 sections, the small counts as often as the rest: a
    // borrow or a carry between lanes, or a lane gathered to the wrong
    // course, would show in a neighbour.
    void laneQueriesFollowEachLane() {
        Rng rng(24);
        auto randomLane = [&] {
            SectionSet lane;
            const int size = rng.below(2) == 0 ? rng.below(3) : rng.between(3, MaxSectionsPerCourse);
            while (lane.count() < size) lane.insert(rng.below(MaxSectionsPerCourse));
            return lane;
        };
        for (int round = 0; round < 2000; ++round) {
            SectionSetRow a, b;
            for (int c = 0; c < MaxCourses; ++c) {
                a[c] = randomLane();
                b[c] = round % 4 == 0 || rng.below(3) > 0 ? a[c] : randomLane();
            }
            const CourseSet among = CourseSet::fromBits(static_cast<unsigned>(rng.next()) & ((1U << MaxCourses) - 1U));
            const SectionSetRow::FewLanes few = a.emptyAndSingleAmong(among);
            const SectionSetRow both = a & b, either = a | b;
            const SectionSetRow::LaneCounts sizes = a.counts();
            bool same = true;
            for (int c = 0; c < MaxCourses; ++c) {
                const int n = among.contains(c) ? a[c].count() : -1;
                QCOMPARE(int{sizes[static_cast<std::size_t>(c)]}, a[c].count());
                QCOMPARE(few.empty.contains(c) && a.emptyAmong(among).contains(c), n == 0);
                QCOMPARE(few.single.contains(c), n == 1);
                QCOMPARE(a.atMostTwoAmong(among).contains(c), 0 <= n && n <= 2);
                QCOMPARE(SectionSetRow::differing(a, b, among).contains(c), among.contains(c) && a[c] != b[c]);
                QVERIFY(both[c] == (a[c] & b[c]) && either[c] == (a[c] | b[c]));
                same = same && a[c] == b[c];
            }
            QCOMPARE(a == b, same);
        }
    }
};

QTEST_APPLESS_MAIN(SectionSetRowTest)
#include "test_section_set_row.moc"
