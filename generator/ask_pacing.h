#pragma once
// When a search asks a check that costs something at every step but may cut
// rarely: the room bound (room_bound.h), and in the listing the failure
// memo. The room bound costs about half a search step, and on schedules
// where room is not what fails (random schedules at the edge of fitting,
// sections of several meetings) it cuts a few steps in ten thousand; the
// listing's memo lookups find nothing on those schedules either. So a
// search asks at every step only while the check earns its keep: after a
// window of asks with fewer than one cut in AsksPerCut, it asks at one step
// in SampleEvery, and the first sample that cuts puts it back on every step.
// The first window is short: where a check helps, it cuts within a few
// dozen steps, and a search it does not help (the listing of a few thousand
// steps) would otherwise pay for a whole window of asks. Which steps are
// asked changes only how many steps a search takes, never what it finds.

#include <algorithm>
#include <cstdint>

namespace quorvandel {

class AskPacing {
public:
    static constexpr std::uint32_t AsksPerCut = 64;
    static constexpr std::uint32_t SampleEvery = 32;
    static constexpr std::uint32_t FirstWindow = AsksPerCut;

    // Judged over windows of `window` asks after the first; 0 asks at every
    // step.
    explicit AskPacing(std::uint32_t window) : window_(window), judgedAt_(std::min(window, FirstWindow)) {}

    // Whether to ask at this step.
    bool ask() {
        if (!sampling_) return true;
        if (--untilSample_ > 0) return false;
        untilSample_ = SampleEvery;
        return true;
    }
    // What the ask said: whether it cut the step (for the memo: a hit).
    void answered(bool cut) {
        if (window_ == 0) return;
        if (cut && sampling_) {
            sampling_ = false;
            asks_ = cuts_ = 0;
            return;
        }
        cuts_ += cut ? 1 : 0;
        if (++asks_ < judgedAt_) return;
        sampling_ = cuts_ * AsksPerCut < judgedAt_;
        asks_ = cuts_ = 0;
        judgedAt_ = window_;
    }

private:
    std::uint32_t window_;
    std::uint32_t judgedAt_;  // asks in the current window
    bool sampling_ = false;
    std::uint32_t asks_ = 0;  // in the current window
    std::uint32_t cuts_ = 0;
    std::uint32_t untilSample_ = SampleEvery;
};

}  // namespace quorvandel
