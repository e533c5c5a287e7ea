#pragma once
// A listing's text cut into rows of fields. Fields are separated by tabs,
// commas, semicolons, "|" or runs of two or more spaces: whichever gives
// one of the first three non-blank lines the most fields (ties in that
// order). A field
// may be quoted as CSV quotes it ("a ""b"", c"), line breaks included.
// Blank lines are skipped. Every character is looked at a fixed number of
// times, so any text is cut in time proportional to its length.

#include <cstddef>
#include <string_view>
#include <vector>

#include "schedule_model.h"

namespace quorvandel {

struct ListingRow {
    std::vector<Text> fields;  // trimmed, quotes removed
    int line = 0;              // the line of the text it starts on, from 1
};

struct ListingRows {
    std::vector<ListingRow> rows;
    bool truncated = false;  // more non-blank text came after the last row kept
};

ListingRows splitListing(std::u16string_view text, std::size_t maxRows);

}  // namespace quorvandel
