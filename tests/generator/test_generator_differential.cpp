// The shipped generator against the plain enumeration on seeded schedules:
// the same stored timetables in the same order and the same "more than 26"
// answer, under every setting of the search's knobs.
#include <QtTest>
#include <array>

#include "generator_fixture.h"
#include "schedule_makers.h"

using namespace quorvandel;
using namespace quorvandel::testing;
using namespace quorvandel::makers;

namespace {

#ifdef QUORVANDEL_SANITIZED_BUILD
constexpr int Scale = 3;  // the sanitizers slow the reference down: fewer seeds
#else
constexpr int Scale = 1;
#endif

struct NamedLimits {
    const char* name;
    SearchLimits limits;
};

std::array<NamedLimits, 5> limitSettings() {
    NamedLimits shipped{"shipped", SearchLimits{}};
    NamedLimits forward{"forward checking only", plainForwardChecking()};
    NamedLimits memoOnly{"forward checking and memo", plainForwardChecking()};
    memoOnly.limits.memoBytes = SearchLimits{}.memoBytes;
    memoOnly.limits.memoMinNodes = 0;  // every failure goes through the memo
    NamedLimits noSide{"arc consistency, matching, memo, no side search", SearchLimits{}};
    noSide.limits.feasibilityCheckMinOpen = 0;
    NamedLimits tinyMemo{"shipped with a 512-byte memo", SearchLimits{}};
    tinyMemo.limits.memoBytes = 512;
    return {shipped, forward, memoOnly, noSide, tinyMemo};
}

// 1 to 7 courses (small ones more often), 1 to 6 sections, at most about
// 10^5 combinations, and a section style drawn per seed from sparse to dense.
void randomFamily(CourseList& list, std::uint64_t seed) {
    Rng rng(seed * 7919 + 1);
    const int courses = std::min(rng.between(1, 4) + rng.between(0, 3), 7);
    int maxSections = rng.between(1, 6);
    SectionStyle style;
    style.minLength = rng.between(1, 3);
    style.maxLength = style.minLength + rng.between(0, 4);
    style.minDays = 1;
    style.maxDays = rng.between(1, 3);
    style.dayPool = rng.below(2) == 0 ? 5 : 7;
    for (;;) {
        randomSchedule(list, seed, courses, 1, maxSections, style);
        if (combinations(list) <= 100000 || maxSections == 1) return;
        --maxSections;
    }
}

// 7 courses of 5 sections in the style that sits at the edge between no
// timetable and a few.
void edgeFamily(CourseList& list, std::uint64_t seed) {
    const SectionStyle style{.minLength = 4, .maxLength = 6, .minDays = 2, .maxDays = 3, .dayPool = 5};
    randomSchedule(list, seed, 7, 5, 5, style);
}

void holesFamily(CourseList& list, std::uint64_t seed) { blockSchedule(list, seed, 8, 4, 7); }
void fitFamily(CourseList& list, std::uint64_t seed) { blockSchedule(list, seed, 8, 3, 8); }

using Family = void (*)(CourseList&, std::uint64_t);

}  // namespace

Q_DECLARE_METATYPE(Family)

class GeneratorDifferentialTest : public QObject {
    Q_OBJECT
private slots:
    void sameAsPlainEnumeration_data() {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("seeds");
        // Fractions of the seeds that must have none, 1 to 26 and more than
        // 26 timetables, so that the family really covers all three.
        QTest::addColumn<double>("minNone");
        QTest::addColumn<double>("minFew");
        QTest::addColumn<double>("minMany");
        QTest::newRow("random 1-7 courses x 1-6 sections") << Family(randomFamily) << 1200 / Scale << 0.1 << 0.1 << 0.1;
        QTest::newRow("edge 7 x 5") << Family(edgeFamily) << 300 / Scale << 0.1 << 0.1 << 0.0;
        QTest::newRow("8 x 4 into 7 disjoint blocks") << Family(holesFamily) << 300 / Scale << 1.0 << 0.0 << 0.0;
        QTest::newRow("8 x 3 into 8 disjoint blocks") << Family(fitFamily) << 200 / Scale << 0.0 << 0.3 << 0.0;
    }
    void sameAsPlainEnumeration() {
        QFETCH(Family, family);
        QFETCH(int, seeds);
        QFETCH(double, minNone);
        QFETCH(double, minFew);
        QFETCH(double, minMany);
        const auto settings = limitSettings();
        auto schedule = std::make_unique<CourseList>();
        auto got = freshState();
        int none = 0, few = 0, many = 0;
        for (int seed = 1; seed <= seeds; ++seed) {
            family(*schedule, static_cast<std::uint64_t>(seed));
            const Reference ref = referenceFor(*schedule);
            if (ref.state->NumTimetables == 0)
                ++none;
            else if (ref.result.moreThanStored)
                ++many;
            else
                ++few;
            for (const NamedLimits& setting : settings) {
                static_cast<CourseList&>(*got) = *schedule;
                got->NumTimetables = 5;  // stale results must not survive
                const GenerationResult result = TimeTablify(*got, {}, setting.limits);
                const QString diff = differenceFrom(ref, *got, result);
                if (!diff.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("seed %1, %2: %3").arg(seed).arg(setting.name, diff)));
            }
        }
        qInfo("%d seeds: %d with none, %d with 1-26, %d with more than 26", seeds, none, few, many);
        QVERIFY2(none >= minNone * seeds, "too few schedules without a timetable");
        QVERIFY2(few >= minFew * seeds, "too few schedules with 1 to 26 timetables");
        QVERIFY2(many >= minMany * seeds, "too few schedules with more than 26 timetables");
    }
};

QTEST_APPLESS_MAIN(GeneratorDifferentialTest)
#include "test_generator_differential.moc"
