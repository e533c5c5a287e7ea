#pragma once
// A section as a listing gives it, read but not yet checked against the
// schedule: its course, its number and each of its meetings on the
// program's half-hour grid.

#include <array>
#include <cstdint>
#include <vector>

#include "listing_refusal.h"
#include "schedule_model.h"

namespace quorvandel {

struct ListedMeeting {
    int16_t startSlot = 0;
    int16_t endSlot = 0;  // exclusive, as Section.EndSlot
    std::array<bool, DaysPerWeek> days{};
    Text startText;  // the times as the listing wrote them
    Text endText;
    Text roundingNote;  // "9:05-9:55 to 9:00-10:00" when a time moved; empty otherwise

    friend bool operator==(const ListedMeeting&, const ListedMeeting&) = default;
};

struct ListedSection {
    Text course;
    Text number;
    std::vector<ListedMeeting> meetings;            // in the listing's order, none alike
    ListingRefusal refusal = ListingRefusal::None;  // of its first refused row
    Text refusedRowText;                            // that row's days and times as written
    int line = 0;                                   // the text's line of its first row, from 1
};

constexpr std::size_t MaxListingRows = 5000;

struct Listing {
    std::vector<ListedSection> sections;  // in the order each first appears
    int rowsRead = 0;
    bool truncated = false;  // rows past MaxListingRows were not read
};

}  // namespace quorvandel
