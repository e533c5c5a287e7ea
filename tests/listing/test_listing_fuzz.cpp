// The listing reader and its plan on any text: random bytes, random mixes of
// the characters listings are made of, every cut of the three examples, a
// mebibyte on one line and 100,000 rows. Nothing may fail, and whatever is
// read must be a section the store could keep.

#include <QtTest>
#include <random>

#include "listing_plan.h"
#include "listing_reader.h"
#include "listing_testing.h"
#include "record_rules.h"

using namespace quorvandel;

class TestListingFuzz : public QObject {
    Q_OBJECT
private slots:
    void randomText_data();
    void randomText();
    void cutExamples();
    void largeTexts_data();
    void largeTexts();
};

namespace {

// Every listed section that is not refused is one the store can keep, and
// the plan's counts add up to its lines.
void checkSound(const Listing& listing) {
    QVERIFY(listing.sections.size() <= MaxListingRows);
    for (const ListedSection& section : listing.sections) {
        if (section.refusal != ListingRefusal::None) continue;
        QVERIFY(!section.course.empty() && !section.number.empty() && !section.meetings.empty());
        for (const ListedMeeting& m : section.meetings) {
            QVERIFY(0 <= m.startSlot && m.startSlot < m.endSlot && m.endSlot <= SlotsPerDay);
            QVERIFY(std::find(m.days.begin(), m.days.end(), true) != m.days.end());
        }
    }
    const ListingPlan plan = planListing(CourseList{}, listing);
    QCOMPARE(plan.sectionsToAdd + plan.alreadyThere + plan.refused, static_cast<int>(plan.lines.size()));
    for (const PlanLine& line : plan.lines)
        if (line.status == PlanStatus::NewCourse || line.status == PlanStatus::AddToCourse)
            QCOMPARE(firstSectionFault(line.record), SectionFault::None);
}

}  // namespace

void TestListingFuzz::randomText_data() {
    QTest::addColumn<QString>("alphabet");  // empty: any UTF-16 unit
    QTest::newRow("any unit") << QString();
    QTest::newRow("listing characters") << QStringLiteral("MTWRFSUmtwhaopAP0123456789:-\u2013 ,;|\t\n\r\"\u00A0TBA/.");
    QTest::newRow("quotes and breaks") << QStringLiteral("\"\n\r,\t  a1:");
}

void TestListingFuzz::randomText() {
    QFETCH(QString, alphabet);
    std::mt19937 random(25);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text(random() % 300, u' ');
        for (char16_t& c : text)
            c = alphabet.isEmpty() ? static_cast<char16_t>(random() % 0x10000)
                                   : alphabet[static_cast<qsizetype>(random() % alphabet.size())].unicode();
        checkSound(readListing(text));
        if (QTest::currentTestFailed()) QFAIL(qPrintable(QString::fromStdU16String(text)));
    }
}

void TestListingFuzz::cutExamples() {
    for (const char* name : {"registrar.csv", "spreadsheet.tsv", "plain.txt"}) {
        const std::u16string text = quorvandel::testing::exampleListing(QLatin1String(name));
        QVERIFY(!text.empty());
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            checkSound(readListing(std::u16string_view(text).substr(0, cut)));
            checkSound(readListing(std::u16string_view(text).substr(cut)));
            if (QTest::currentTestFailed()) QFAIL(qPrintable(QStringLiteral("%1 cut at %2").arg(name).arg(cut)));
        }
    }
}

void TestListingFuzz::largeTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rowsRead");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("a mebibyte on one line") << QString(512 * 1024, u'9') + QString(512 * 1024, u',') << 1 << false;
    QTest::newRow("a mebibyte in an open quote")
        << QStringLiteral("A,1,M,9:00,10:00\n\"") + QString(1024 * 1024, u'\n') << 1 << false;
    QString rows;
    for (int i = 0; i < 100000; ++i) rows += QStringLiteral("C%1,%2,MWF,9:05,9:55\n").arg(i % 30).arg(i % 13);
    QTest::newRow("100,000 rows") << rows << 5000 << true;
    QString oneSection;
    for (int i = 0; i < 100000; ++i) oneSection += QStringLiteral("A,1,M,%1:00,%1:30\n").arg(8 + i % 14);
    QTest::newRow("100,000 rows of one section") << oneSection << 5000 << true;
}

void TestListingFuzz::largeTexts() {
    QFETCH(QString, text);
    QFETCH(int, rowsRead);
    QFETCH(bool, truncated);
    const Listing listing = readListing(text.toStdU16String());
    QCOMPARE(listing.rowsRead, rowsRead);
    QCOMPARE(listing.truncated, truncated);
    checkSound(listing);
}

QTEST_APPLESS_MAIN(TestListingFuzz)
#include "test_listing_fuzz.moc"
