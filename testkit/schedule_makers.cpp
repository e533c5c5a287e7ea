#include "schedule_makers.h"

#include <algorithm>
#include <array>
#include <bit>

#include "section_maker.h"

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

std::int64_t combinations(const CourseList& list) {
    std::int64_t total = 1;
    for (int i = 0; i < list.NumCourses; ++i) total *= list.Courses[static_cast<size_t>(i)].NumSections;
    return total;
}

}  // namespace quorvandel::makers
