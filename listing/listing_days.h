#pragma once
// The days a listing names for a meeting, in the forms registrars and
// spreadsheets write them: "MWF", "TR", "TTh", "M W F", "Mon/Wed",
// "Monday, Wednesday", "MoWeFr". "R" and "Th" are Thursday, "S", "Sa" and
// "Sat" Saturday, "U", "Su" and "Sun" Sunday; case does not matter.

#include <array>
#include <optional>
#include <string_view>

#include "schedule_model.h"

namespace quorvandel {

using WeekDays = std::array<bool, DaysPerWeek>;  // Monday first

// The days, or nothing when any part of the text names no day (also for an
// empty text, "TBA" or "ARR").
std::optional<WeekDays> readDays(std::u16string_view text);

}  // namespace quorvandel
