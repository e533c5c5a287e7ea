#pragma once
// What the editing operations use of the main window: its course and section
// lists, its table of day abbreviations and two of its buttons. The Qt main
// window implements this; tests use a small fake of it.

#include <cstdint>

#include "schedule_model.h"

namespace quorvandel {

class MainWindowLists {
public:
    virtual ~MainWindowLists() = default;

    // lstCourses
    virtual void appendCourseLine(const Text& line) = 0;
    virtual void removeCourseLine(int16_t index) = 0;  // leaves no line selected
    virtual int16_t selectedCourseIndex() const = 0;   // -1 when none
    virtual Text courseLine(int16_t index) const = 0;  // the text of line index
    virtual void setCourseLine(int16_t index, const Text& line) = 0;

    // lstSecs
    virtual void clearSectionLines() = 0;               // leaves no line selected
    virtual void removeSectionLine(int16_t index) = 0;  // leaves no line selected
    virtual void appendSectionLine(const Text& line) = 0;
    // Rewrites line index in place, its selection kept; a left-out section's
    // line is greyed.
    virtual void setSectionLine(int16_t index, const Text& line, bool leftOut) = 0;

    // lstDofW: line d is the abbreviation of day d (0 = Monday)
    virtual Text dayAbbreviation(int16_t day) const = 0;

    virtual void disableRemoveCourse() = 0;  // cmdRemCourse
    virtual void disableAddSection() = 0;    // cmdAddSec
};

}  // namespace quorvandel
