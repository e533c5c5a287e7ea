#include "listing_reader.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <utility>

#include "listing_days.h"
#include "listing_rows.h"
#include "listing_text.h"
#include "listing_times.h"
#include "week.h"

namespace quorvandel {

using listing_text::isDigit;
using listing_text::trimmed;

namespace {

enum class Column { Course, Subject, Number, Section, Days, Start, End, Time, Other };

Column columnNamed(const Text& field) {
    static const std::pair<std::u16string_view, Column> names[] = {
        {u"course", Column::Course},
        {u"coursename", Column::Course},
        {u"coursecode", Column::Course},
        {u"courseid", Column::Course},
        {u"subject", Column::Subject},
        {u"subj", Column::Subject},
        {u"dept", Column::Subject},
        {u"department", Column::Subject},
        {u"number", Column::Number},
        {u"num", Column::Number},
        {u"no", Column::Number},
        {u"catalog", Column::Number},
        {u"catalognumber", Column::Number},
        {u"coursenumber", Column::Number},
        {u"catalogno", Column::Number},
        {u"section", Column::Section},
        {u"sec", Column::Section},
        {u"class", Column::Section},
        {u"sectionnumber", Column::Section},
        {u"secno", Column::Section},
        {u"sectionno", Column::Section},
        {u"days", Column::Days},
        {u"day", Column::Days},
        {u"meetingdays", Column::Days},
        {u"start", Column::Start},
        {u"begin", Column::Start},
        {u"starttime", Column::Start},
        {u"begintime", Column::Start},
        {u"end", Column::End},
        {u"finish", Column::End},
        {u"endtime", Column::End},
        {u"finishtime", Column::End},
        {u"time", Column::Time},
        {u"times", Column::Time},
        {u"meets", Column::Time},
        {u"meeting", Column::Time},
        {u"meetings", Column::Time},
        {u"schedule", Column::Time},
        {u"meetingtime", Column::Time},
        {u"meetingtimes", Column::Time},
    };
    const Text key = listing_text::letters(field);
    for (const auto& [name, column] : names)
        if (key == name) return column;
    return Column::Other;
}

// Where each column sits; -1 where the listing has none.
struct Layout {
    int course = -1, subject = -1, number = -1, section = -1, days = -1, start = -1, end = -1, time = -1;
};

// Where each named column goes, in Column's order (Other has no place).
constexpr std::array<int Layout::*, 8> ColumnPlaces{&Layout::course,  &Layout::subject, &Layout::number,
                                                    &Layout::section, &Layout::days,    &Layout::start,
                                                    &Layout::end,     &Layout::time};
static_assert(ColumnPlaces.size() == static_cast<std::size_t>(Column::Other));

std::optional<Layout> headerLayout(const std::vector<Text>& fields) {
    Layout layout;
    int named = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const Column column = columnNamed(fields[i]);
        if (column == Column::Other) continue;
        int* place = &(layout.*ColumnPlaces[static_cast<std::size_t>(column)]);
        if (*place != -1) continue;
        *place = static_cast<int>(i);
        ++named;
    }
    if (named < 2) return std::nullopt;
    return layout;
}

// How far down the header may stand.
constexpr std::size_t HeaderSearchRows = 3;

constexpr Layout PlainLayout{0, -1, -1, 1, 2, 3, 4, -1};

std::u16string_view field(const std::vector<Text>& fields, int at) {
    if (at < 0 || static_cast<std::size_t>(at) >= fields.size()) return {};
    return fields[static_cast<std::size_t>(at)];
}

Text courseOf(const std::vector<Text>& fields, const Layout& layout) {
    if (layout.course != -1) return listing_text::oneLine(field(fields, layout.course));
    Text course = listing_text::oneLine(field(fields, layout.subject));
    const Text number = listing_text::oneLine(field(fields, layout.number));
    if (!course.empty() && !number.empty()) course += u' ';
    return course + number;
}

// One row's days and times as written, a days field running on into a
// time ("MWF 9:00-9:50") split in two.
struct MeetingTexts {
    std::u16string_view days, start, end;
};

MeetingTexts meetingTexts(const std::vector<Text>& fields, const Layout& layout) {
    MeetingTexts texts{field(fields, layout.days), field(fields, layout.start), field(fields, layout.end)};
    std::u16string_view range = field(fields, layout.time);
    if (range.empty() && texts.end.empty() && splitTimeRange(texts.start)) std::swap(range, texts.start);
    auto splitAtDigit = [](std::u16string_view text, std::u16string_view& days, std::u16string_view& rest) {
        std::size_t digit = 0;
        while (digit < text.size() && !isDigit(text[digit])) ++digit;
        if (digit == text.size() || !readDays(text.substr(0, digit))) return false;
        days = text.substr(0, digit);
        rest = text.substr(digit);
        return true;
    };
    if (texts.start.empty() && range.empty())
        splitAtDigit(texts.days, texts.days, range);
    else if (texts.days.empty() && !range.empty())
        splitAtDigit(range, texts.days, range);
    if (!range.empty()) {
        if (const std::optional<TimeTexts> split = splitTimeRange(range)) {
            texts.start = split->start;
            texts.end = split->end;
        } else {
            texts.start = range;
        }
    }
    return texts;
}

Text joined(std::u16string_view days, std::u16string_view start, std::u16string_view end) {
    Text text(trimmed(days));
    for (std::u16string_view part : {start, end}) {
        if (trimmed(part).empty()) continue;
        if (!text.empty()) text += u' ';
        text += trimmed(part);
    }
    return listing_text::oneLine(text);
}

struct ReadMeeting {
    ListedMeeting meeting;
    ListingRefusal refusal = ListingRefusal::None;
};

ReadMeeting readMeeting(const MeetingTexts& texts) {
    ReadMeeting read;
    const std::optional<WeekDays> days = readDays(texts.days);
    if (!days) return {{}, ListingRefusal::NoDays};
    read.meeting.days = *days;
    const std::optional<MinuteRange> times = readTimes(texts.start, texts.end);
    if (!times) return {{}, ListingRefusal::NoTime};
    if (times->end <= times->start) return {{}, ListingRefusal::EndNotAfterStart};
    const MinuteRange grid = roundedToHalfHours(*times);
    const int dayStart = FirstHour * 60;
    if (grid.start < dayStart) return {{}, ListingRefusal::BeforeDayStart};
    if (grid.end > dayStart + EndOfDaySlot * MinutesPerSlot) return {{}, ListingRefusal::AfterDayEnd};
    read.meeting.startSlot = static_cast<int16_t>((grid.start - dayStart) / MinutesPerSlot);
    read.meeting.endSlot = static_cast<int16_t>((grid.end - dayStart) / MinutesPerSlot);
    read.meeting.startText = listing_text::oneLine(texts.start);
    read.meeting.endText = listing_text::oneLine(texts.end);
    if (grid.start != times->start || grid.end != times->end)
        read.meeting.roundingNote = minuteText(times->start) + u'-' + minuteText(times->end) + u" to " +
                                    minuteText(grid.start) + u'-' + minuteText(grid.end);
    return read;
}

}  // namespace

Listing readListing(std::u16string_view text) {
    Listing listing;
    ListingRows rows = splitListing(text, MaxListingRows + HeaderSearchRows);
    // A title line or two may stand above the header ("Spring 2027"); they
    // are not sections.
    std::size_t first = 0;
    Layout layout = PlainLayout;
    for (std::size_t r = 0; r < HeaderSearchRows && r < rows.rows.size(); ++r)
        if (const std::optional<Layout> header = headerLayout(rows.rows[r].fields)) {
            layout = *header;
            first = r + 1;
            break;
        }
    if (rows.rows.size() - first > MaxListingRows) {
        rows.rows.resize(first + MaxListingRows);
        rows.truncated = true;
    }
    listing.truncated = rows.truncated;

    std::map<std::pair<Text, Text>, std::size_t> sectionOfKey;
    for (std::size_t r = first; r < rows.rows.size(); ++r) {
        const ListingRow& row = rows.rows[r];
        // A row of empty fields (",,,," as spreadsheets export them) says nothing.
        if (std::all_of(row.fields.begin(), row.fields.end(), [](const Text& f) { return f.empty(); })) continue;
        ++listing.rowsRead;
        const Text course = courseOf(row.fields, layout);
        const Text number = listing_text::oneLine(field(row.fields, layout.section));
        const MeetingTexts texts = meetingTexts(row.fields, layout);
        ReadMeeting read = readMeeting(texts);
        if (course.empty())
            read.refusal = ListingRefusal::NoCourse;
        else if (number.empty())
            read.refusal = ListingRefusal::NoNumber;

        ListedSection* section = nullptr;
        const auto found = course.empty() || number.empty() ? sectionOfKey.end() : sectionOfKey.find({course, number});
        if (found != sectionOfKey.end()) {
            section = &listing.sections[found->second];
        } else {
            if (!course.empty() && !number.empty()) sectionOfKey[{course, number}] = listing.sections.size();
            listing.sections.push_back({course, number, {}, ListingRefusal::None, {}, row.line});
            section = &listing.sections.back();
        }
        if (read.refusal != ListingRefusal::None) {
            if (section->refusal == ListingRefusal::None) {
                section->refusal = read.refusal;
                section->refusedRowText = joined(texts.days, texts.start, texts.end);
            }
            continue;
        }
        bool repeated = false;
        for (const ListedMeeting& m : section->meetings)
            repeated = repeated || (m.startSlot == read.meeting.startSlot && m.endSlot == read.meeting.endSlot &&
                                    m.days == read.meeting.days);
        if (!repeated) section->meetings.push_back(std::move(read.meeting));
    }
    return listing;
}

}  // namespace quorvandel
