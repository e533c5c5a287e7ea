#pragma once
// Half-hour slots and week cells. A slot is a half-hour counted from 08:00
// (slot 0 = 08:00-08:30, slot 28 = 22:00-22:30; 29 only ever ends a section).
// A cell is one half-hour of the week: day x 29 + slot, Monday = day 0, so
// the week has 203 cells, 0 (Monday 08:00) to 202 (Sunday 22:00).

#include <cstdint>

#include "schedule_model.h"

namespace quorvandel {

constexpr int16_t slotOf(int hour, int minute) { return static_cast<int16_t>((hour - 8) * 2 + minute / 30); }

constexpr int16_t cellOf(int day, int slot) { return static_cast<int16_t>(day * SlotsPerDay + slot); }

constexpr int16_t dayOfCell(int cell) { return static_cast<int16_t>(cell / SlotsPerDay); }
constexpr int16_t slotOfCell(int cell) { return static_cast<int16_t>(cell % SlotsPerDay); }

// Calls visit(cell) for every cell the section covers, Monday first.
template <typename Visit>
void forEachCoveredCell(const Section& section, Visit&& visit) {
    for (int day = 0; day < DaysPerWeek; ++day) {
        if (!section.Days[static_cast<size_t>(day)]) continue;
        for (int slot = section.StartSlot; slot < section.EndSlot; ++slot) visit(cellOf(day, slot));
    }
}

}  // namespace quorvandel
