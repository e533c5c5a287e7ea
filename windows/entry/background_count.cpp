#include "background_count.h"

#include "command_turn.h"
#include "count_note.h"
#include "form_controls.h"
#include "timetable_count.h"

namespace quorvandel {

BackgroundCount::BackgroundCount(QObject* parent) : QObject(parent) {
    watcher_ = CommandTurn::watchCommands([this] { stop(); });
}

BackgroundCount::~BackgroundCount() {
    CommandTurn::unwatchCommands(watcher_);
    stop();
}

bool BackgroundCount::wanted(const GenerationResult& result) {
    return result.outcome == TimeTablifyOutcome::ShowResults && result.moreThanStored && !result.stopped;
}

void BackgroundCount::start(const CourseList& courses, const GenerationResult& result, int shown) {
    stop();
    stop_ = false;
    done_ = false;
    const unsigned generation = ++generation_;
    // The worker's own copy: the user may edit the schedule meanwhile.
    auto copy = std::make_shared<const CourseList>(courses);
    const BusyCells busy = result.options.busy;
    const bool ranked = result.options.ranked();
    const bool sameTimesOnce = result.options.sameTimesOnce;
    worker_ = std::thread([this, copy, busy, ranked, sameTimesOnce, shown, generation] {
        const TimetableTally tally = countTimetables(*copy, copy->NumCourses, busy, &stop_, {}, nullptr, sameTimesOnce);
        const QString note = qText(countNote(shown, tally, ranked));
        // Queued to the GUI thread; stop() joins this thread before the
        // object can go, so `this` outlives the call's posting. Done only
        // once posted, so that a caller who sees it done finds the note
        // waiting among the posted events.
        if (!note.isEmpty() && !stop_)
            QMetaObject::invokeMethod(
                this, [this, generation, note] { deliver(generation, note); }, Qt::QueuedConnection);
        done_ = true;
    });
}

void BackgroundCount::stop() {
    if (!worker_.joinable()) return;
    stop_ = true;
    worker_.join();
    // A note already posted belongs to a count that is over now.
    ++generation_;
}

void BackgroundCount::deliver(unsigned generation, const QString& note) {
    if (generation != generation_ || stop_) return;
    if (worker_.joinable()) worker_.join();
    emit counted(note);
}

}  // namespace quorvandel
