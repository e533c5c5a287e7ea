#pragma once
// "Add" of "Get Sections": the planned sections stored in listing order
// through the editing operations, as if each were typed into Add Course
// and Add Section.

#include "editing.h"
#include "listing_plan.h"

namespace quorvandel {

// Stores every NewCourse and AddToCourse line of the plan: a course whose
// name matches a stored course exactly gets the section, another is added
// at the end first. Stops at a capacity (the plan, made from the same
// store, never reaches one). Returns the number of sections stored.
int addListedSections(ModuleState& state, MainWindowLists& window, const ListingPlan& plan);

}  // namespace quorvandel
