#include "timetable_score.h"

#include <bit>

#include "week.h"

namespace quorvandel {

const std::array<Text, ResultOrderCount> ResultOrderNames = {u"First found", u"Fewest days with classes",
                                                             u"Fewest idle half-hours between classes", u"Latest start",
                                                             u"Earliest finish"};

namespace {

int firstSlot(std::uint32_t day) { return std::countr_zero(day); }
int endSlot(std::uint32_t day) { return 32 - std::countl_zero(day); }

// "N", or "N.5" for an odd number of half-hours.
Text hoursText(int halfHours) {
    Text text = numberText(halfHours / SlotsPerHour);
    if (halfHours % SlotsPerHour != 0) text += u".5";
    return text;
}

Text countText(int count, const Text& one, const Text& many) {
    return numberText(count) + u" " + (count == 1 ? one : many);
}

// "H:MM" for a number of minutes after midnight.
Text clockText(int minutes) {
    const int m = minutes % 60;
    return numberText(minutes / 60) + u":" + (m < 10 ? u"0" : u"") + numberText(m);
}

// The mean, over the days with classes, of a slot of each day, as a time
// of day rounded to the minute.
Text averageTimeText(const DayProfile& profile, int (*slotOf)(std::uint32_t)) {
    int sum = 0, days = 0;
    for (std::uint32_t day : profile) {
        if (day == 0) continue;
        sum += slotOf(day);
        ++days;
    }
    if (days == 0) return {};
    const int minutesAfterFirst = (sum * MinutesPerSlot + days / 2) / days;
    return clockText(FirstHour * 60 + minutesAfterFirst);
}

// One order's words, from the whole week where a sum alone would mean
// nothing to a student ("53 h after 8:00 in all").
Text orderText(ResultOrder order, const DayProfile& profile) {
    switch (order) {
    case ResultOrder::LatestStart:
        return u"first class at " + averageTimeText(profile, firstSlot) + u" on average";
    case ResultOrder::EarliestFinish:
        return u"done by " + averageTimeText(profile, endSlot) + u" on average";
    default:
        return costText(order, costOf(order, profile));
    }
}

}  // namespace

DayProfile joined(const DayProfile& a, const DayProfile& b) {
    DayProfile r;
    for (size_t d = 0; d < DaysPerWeek; ++d) r[d] = a[d] | b[d];
    return r;
}

DayProfile dayProfileOf(const Section& section) {
    DayProfile profile{};
    forEachCoveredCell(section, [&profile](int cell) {
        profile[static_cast<size_t>(dayOfCell(cell))] |= std::uint32_t{1} << slotOfCell(cell);
    });
    return profile;
}

DayProfile dayProfileOf(const Timetable& timetable) {
    DayProfile profile{};
    for (int i = 0; i < timetable.NumSections && i < MaxCourses; ++i)
        profile = joined(profile, dayProfileOf(timetable.Sections[static_cast<size_t>(i)]));
    return profile;
}

int costOf(ResultOrder order, const DayProfile& profile) {
    int cost = order == ResultOrder::LatestStart ? LatestStartCostBase : 0;
    for (std::uint32_t day : profile) {
        if (day == 0) continue;
        switch (order) {
        case ResultOrder::FirstFound:
            break;
        case ResultOrder::FewestDays:
            cost += 1;
            break;
        case ResultOrder::FewestIdle:
            cost += endSlot(day) - firstSlot(day) - std::popcount(day);
            break;
        case ResultOrder::LatestStart:
            cost -= firstSlot(day);
            break;
        case ResultOrder::EarliestFinish:
            cost += endSlot(day);
            break;
        }
    }
    return cost;
}

RankScore scoreOf(const ScheduleOptions& options, const DayProfile& profile) {
    return {costOf(options.primary, profile), costOf(options.tieBreak, profile)};
}

Text costText(ResultOrder order, int cost) {
    switch (order) {
    case ResultOrder::FewestDays:
        return countText(cost, u"day", u"days");
    case ResultOrder::FewestIdle:
        return hoursText(cost) + (cost == SlotsPerHour ? u" idle hour" : u" idle hours");
    default:
        return {};
    }
}

Text scoreText(const ScheduleOptions& options, const DayProfile& profile) {
    Text text = orderText(options.primary, profile);
    if (options.primary != ResultOrder::FirstFound && options.tieBreak != options.primary) {
        const Text second = orderText(options.tieBreak, profile);
        if (!second.empty()) text += u", " + second;
    }
    return text;
}

}  // namespace quorvandel
