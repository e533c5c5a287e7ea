#include "schedule_makers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "section_maker.h"
#include "week.h"

namespace quorvandel::makers {

namespace {
Text toText(const std::string& s) { return Text(s.begin(), s.end()); }
}  // namespace

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Rng::below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }

int Rng::between(int low, int high) { return low + below(high - low + 1); }

Section section(const std::string& secNum, const std::string& courseName, int startSlot, int endSlot,
                unsigned dayBits) {
    return testing::makeSection(toText(courseName), toText(secNum), startSlot, endSlot, dayBits);
}

int addCourse(CourseList& list, const std::string& name) {
    Course c;
    c.CourseName = toText(name);
    list.Courses[static_cast<size_t>(list.NumCourses)] = c;
    return list.NumCourses++;
}

void addSection(CourseList& list, int course, int startSlot, int endSlot, unsigned dayBits) {
    Course& c = list.Courses[static_cast<size_t>(course)];
    const std::string name(c.CourseName.begin(), c.CourseName.end());
    c.Sections[static_cast<size_t>(c.NumSections)] =
        section(std::to_string(101 + c.NumSections), name, startSlot, endSlot, dayBits);
    ++c.NumSections;
}

namespace {

// Gives the course's last section minMeetings - 1 .. maxMeetings - 1
// further random meetings; a draw that would share a half-hour with its
// meetings is dropped (and drawn again, a few times, for the ones the style
// requires).
void addMeetings(CourseList& list, int course, Rng& rng, const SectionStyle& style) {
    Course& c = list.Courses[static_cast<size_t>(course)];
    Section& s = c.Sections[static_cast<size_t>(c.NumSections - 1)];
    const int required = style.minMeetings - 1;
    int retries = required > 0 ? 20 : 0;
    for (int more = rng.between(style.minMeetings, style.maxMeetings) - 1; more > 0; --more) {
        const bool lab = style.labMaxLength > 0 && s.NumMoreMeetings == 0;
        const int length =
            lab ? rng.between(style.labMinLength, style.labMaxLength) : rng.between(style.minLength, style.maxLength);
        const int start = rng.between(0, SlotsPerDay - length);
        const int days = lab ? 1 : rng.between(style.minDays, std::min(style.maxDays, style.dayPool));
        unsigned bits = 0;
        while (std::popcount(bits) < days) bits |= 1U << rng.below(style.dayPool);
        const Section longer = testing::withMeeting(s, start, start + length, bits);
        if (testing::sectionCells(longer).count() ==
            testing::sectionCells(s).count() + static_cast<size_t>(length * days))
            s = longer;
        else if (s.NumMoreMeetings < required && retries-- > 0)
            ++more;
    }
}

}  // namespace

void randomSchedule(CourseList& list, std::uint64_t seed, int numCourses, int minSections, int maxSections,
                    const SectionStyle& style) {
    Rng rng(seed);
    list.NumCourses = 0;
    for (int i = 0; i < numCourses; ++i) {
        const int course = addCourse(list, "C" + std::to_string(i));
        const int count = rng.between(minSections, maxSections);
        for (int j = 0; j < count; ++j) {
            const int length = rng.between(style.minLength, style.maxLength);
            const int start = rng.between(0, SlotsPerDay - length);
            const int days = rng.between(style.minDays, std::min(style.maxDays, style.dayPool));
            unsigned bits = 0;
            while (std::popcount(bits) < days) bits |= 1U << rng.below(style.dayPool);
            addSection(list, course, start, start + length, bits);
            if (style.maxMeetings > 1) addMeetings(list, course, rng, style);
        }
    }
}

void blockSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections, int blocks) {
    struct Block {
        int day, start, end;
    };
    constexpr std::array<std::pair<int, int>, 3> parts{{{0, 10}, {10, 19}, {19, 29}}};
    std::array<Block, 21> all{};
    for (int d = 0; d < DaysPerWeek; ++d)
        for (size_t p = 0; p < parts.size(); ++p)
            all[static_cast<size_t>(d) * 3 + p] = {d, parts[p].first, parts[p].second};
    Rng rng(seed);
    for (size_t i = all.size() - 1; i > 0; --i)
        std::swap(all[i], all[static_cast<size_t>(rng.below(static_cast<int>(i) + 1))]);
    list.NumCourses = 0;
    for (int i = 0; i < numCourses; ++i) {
        const int course = addCourse(list, "B" + std::to_string(i));
        std::array<int, 21> order{};
        for (int b = 0; b < blocks; ++b) order[static_cast<size_t>(b)] = b;
        for (int b = blocks - 1; b > 0; --b)
            std::swap(order[static_cast<size_t>(b)], order[static_cast<size_t>(rng.below(b + 1))]);
        for (int j = 0; j < sections && j < blocks; ++j) {
            const Block& blk = all[static_cast<size_t>(order[static_cast<size_t>(j)])];
            addSection(list, course, blk.start, blk.end, 1U << blk.day);
        }
    }
}

namespace {

constexpr int BandSlots = 4;
constexpr int Bands = 7;
constexpr int Places = DaysPerWeek * Bands;

// The places a seed picks, and for each band the days whose place in that
// band was picked.
struct PickedPlaces {
    std::array<bool, Places> picked{};
    std::array<std::vector<int>, Bands> daysOfBand;
    std::vector<int> usableBands;  // bands with at least two picked days
};

PickedPlaces pickPlaces(Rng& rng, int blocks) {
    std::array<int, Places> order{};
    for (int p = 0; p < Places; ++p) order[p] = p;
    for (int p = Places - 1; p > 0; --p) std::swap(order[p], order[rng.below(p + 1)]);
    PickedPlaces result;
    for (int b = 0; b < blocks && b < Places; ++b) result.picked[order[b]] = true;
    for (int p = 0; p < Places; ++p)
        if (result.picked[p]) result.daysOfBand[p % Bands].push_back(p / Bands);
    for (int band = 0; band < Bands; ++band)
        if (result.daysOfBand[band].size() >= 2) result.usableBands.push_back(band);
    return result;
}

void addTwoBlockSection(CourseList& list, int course, Rng& rng, const PickedPlaces& places) {
    const int band = places.usableBands[rng.below(static_cast<int>(places.usableBands.size()))];
    const std::vector<int>& days = places.daysOfBand[band];
    const int first = rng.below(static_cast<int>(days.size()));
    int second = rng.below(static_cast<int>(days.size()) - 1);
    if (second >= first) ++second;
    addSection(list, course, band * BandSlots, (band + 1) * BandSlots, (1U << days[first]) | (1U << days[second]));
}

}  // namespace

void twoBlockSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections, int blocks) {
    Rng rng(seed);
    const PickedPlaces places = pickPlaces(rng, blocks);
    list.NumCourses = 0;
    for (int i = 0; i < numCourses; ++i) {
        const int course = addCourse(list, "P" + std::to_string(i));
        for (int j = 0; j < sections && !places.usableBands.empty(); ++j) addTwoBlockSection(list, course, rng, places);
    }
}

void intervalSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections, int length, int days) {
    Rng rng(seed);
    list.NumCourses = 0;
    for (int i = 0; i < numCourses; ++i) {
        const int course = addCourse(list, "I" + std::to_string(i));
        for (int j = 0; j < sections; ++j) {
            const int start = rng.between(0, SlotsPerDay - length);
            addSection(list, course, start, start + length, 1U << rng.below(days));
        }
    }
}

void crowdedWeekSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections) {
    Rng rng(seed);
    const PickedPlaces places = pickPlaces(rng, 2 * numCourses - 1);
    const int special = rng.below(numCourses), elsewhereSection = rng.below(sections);
    int elsewhere = rng.below(Places);
    while (places.picked[elsewhere]) elsewhere = (elsewhere + 1) % Places;
    list.NumCourses = 0;
    for (int i = 0; i < numCourses; ++i) {
        const int course = addCourse(list, (i == special ? "X" : "P") + std::to_string(i));
        for (int j = 0; j < sections && !places.usableBands.empty(); ++j) {
            if (i == special && j == elsewhereSection) {
                const int band = elsewhere % Bands;
                addSection(list, course, band * BandSlots, (band + 1) * BandSlots, 1U << (elsewhere / Bands));
            } else {
                addTwoBlockSection(list, course, rng, places);
            }
        }
    }
}

void pairsSchedule(CourseList& list, std::uint64_t seed, int numCourses, int sections, int blocks) {
    Rng rng(seed);
    const PickedPlaces places = pickPlaces(rng, blocks);
    const int longBand = rng.below(Bands);
    const auto bandStart = [longBand](int band) { return band * BandSlots + (band > longBand ? 1 : 0); };
    std::vector<int> pairStarts;  // places whose next band the same day is picked too
    for (int p = 0; p < Places; ++p)
        if (p % Bands + 1 < Bands && places.picked[p] && places.picked[p + 1]) pairStarts.push_back(p);
    list.NumCourses = 0;
    for (int i = 0; i < numCourses; ++i) {
        const int course = addCourse(list, "Q" + std::to_string(i));
        for (int j = 0; j < sections; ++j) {
            const bool sameDay = !pairStarts.empty() && (places.usableBands.empty() || rng.below(2) == 0);
            if (sameDay) {
                const int p = pairStarts[rng.below(static_cast<int>(pairStarts.size()))];
                addSection(list, course, bandStart(p % Bands), bandStart(p % Bands + 2), 1U << (p / Bands));
            } else if (!places.usableBands.empty()) {
                const int band = places.usableBands[rng.below(static_cast<int>(places.usableBands.size()))];
                const std::vector<int>& days = places.daysOfBand[band];
                const int first = rng.below(static_cast<int>(days.size()));
                int second = rng.below(static_cast<int>(days.size()) - 1);
                if (second >= first) ++second;
                addSection(list, course, bandStart(band), bandStart(band + 1),
                           (1U << days[first]) | (1U << days[second]));
            }
        }
    }
}

void copyMeetings(Section& copy, const Section& from) { setMeetings(copy, meetingsOf(from)); }

void copySections(CourseList& list, std::uint64_t seed, int percent) {
    Rng rng(seed * 6151 + 11);
    for (int i = 0; i < list.NumCourses; ++i) {
        Course& course = list.Courses[static_cast<size_t>(i)];
        for (int j = 1; j < course.NumSections; ++j) {
            if (rng.below(100) >= percent) continue;
            copyMeetings(course.Sections[static_cast<size_t>(j)], course.Sections[static_cast<size_t>(rng.below(j))]);
        }
    }
}

std::int64_t combinations(const CourseList& list) {
    std::int64_t total = 1;
    for (int i = 0; i < list.NumCourses; ++i) total *= list.Courses[static_cast<size_t>(i)].NumSections;
    return total;
}

}  // namespace quorvandel::makers
