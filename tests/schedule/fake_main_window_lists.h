#pragma once
// A stand-in for the main window's lists and buttons, recording what the
// editing operations do to them. Removing the selected line or clearing a
// list leaves nothing selected, as the real list boxes do.

#include <stdexcept>
#include <vector>

#include "editing.h"
#include "main_window_lists.h"

namespace quorvandel::testing {

class FakeMainWindowLists : public MainWindowLists {
public:
    std::vector<Text> courseLines;
    std::vector<Text> sectionLines;
    int16_t selectedCourse = -1;
    int16_t selectedSection = -1;
    bool removeCourseEnabled = true;
    bool addSectionEnabled = true;

    void appendCourseLine(const Text& line) override { courseLines.push_back(line); }
    void removeCourseLine(int16_t index) override {
        if (index < 0 || index >= int16_t(courseLines.size())) throw std::out_of_range("no such course line");
        courseLines.erase(courseLines.begin() + index);
        selectedCourse = -1;
    }
    int16_t selectedCourseIndex() const override { return selectedCourse; }
    Text courseLine(int16_t index) const override { return courseLines.at(static_cast<size_t>(index)); }
    void setCourseLine(int16_t index, const Text& line) override { courseLines.at(static_cast<size_t>(index)) = line; }
    void clearSectionLines() override {
        sectionLines.clear();
        selectedSection = -1;
    }
    void removeSectionLine(int16_t index) override {
        if (index < 0 || index >= int16_t(sectionLines.size())) throw std::out_of_range("no such section line");
        sectionLines.erase(sectionLines.begin() + index);
        selectedSection = -1;
    }
    void appendSectionLine(const Text& line) override { sectionLines.push_back(line); }
    void setSectionLine(int16_t index, const Text& line, bool) override {
        sectionLines.at(static_cast<size_t>(index)) = line;
    }
    Text dayAbbreviation(int16_t day) const override { return DayAbbreviations[static_cast<size_t>(day)]; }
    void disableRemoveCourse() override { removeCourseEnabled = false; }
    void disableAddSection() override { addSectionEnabled = false; }
};

}  // namespace quorvandel::testing
