#pragma once
// Stands in for the results viewer: remembers what the main window asked.

#include "results_presenter.h"

namespace quorvandel::testing {

class FakeResultsPresenter : public ResultsPresenter {
public:
    void showResults(const GenerationResult& result) override {
        ++shown;
        last = result;
        open = true;
    }
    void closeResults() override {
        ++closed;
        open = false;
    }
    bool resultsOpen() const override { return open; }

    int shown = 0;
    int closed = 0;
    bool open = false;
    GenerationResult last;
};

}  // namespace quorvandel::testing
