#pragma once
// A course listing as text, one meeting per row, read into sections.
//
// A row among the first three whose fields name at least two columns is
// the header (rows above it are titles, not sections); the
// columns may come in any order and case: course (or subject and number,
// joined with a space), section ("sec", "class"), days, start ("begin"),
// end ("finish"), or one time column holding a range ("9:00-10:15"). Other
// columns are ignored. Without a header the columns are course, section,
// days, start, end; a range in the start column also does. A days field
// that goes on into a time ("MWF 9:00-9:50") gives both.
//
// Rows with the same course and section are one section with several
// meetings; a row repeated exactly adds nothing. At most MaxListingRows
// rows are read. Any text is read without fault, in time that grows with
// its length alone (apart from a section given thousands of meetings).

#include <string_view>

#include "listed_section.h"

namespace quorvandel {

Listing readListing(std::u16string_view text);

}  // namespace quorvandel
