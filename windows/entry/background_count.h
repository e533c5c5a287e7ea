#pragma once
// Counts every timetable of a generation after its results are shown, for
// the note beside the counter ("26 of 1,204 timetables are shown"). The
// count runs on a thread of its own over a copy of the courses, so the
// results open at once and the user may go on meanwhile; any new command
// stops it at once (command_turn.h), as does a new count or the end of the
// program. A count that was stopped, or that belongs to an older generation
// than the latest start(), is dropped: counted() only ever carries the note
// of the results still shown.

#include <QObject>
#include <atomic>
#include <memory>
#include <thread>

#include "generation_result.h"
#include "schedule_model.h"

namespace quorvandel {

class BackgroundCount : public QObject {
    Q_OBJECT
public:
    explicit BackgroundCount(QObject* parent = nullptr);
    ~BackgroundCount() override;

    // Whether the note of `result` is worth a count: more timetables exist
    // than are stored and the search was not stopped (else the note is
    // exact already, or says the search was stopped).
    static bool wanted(const GenerationResult& result);

    // Stops any count still running, then counts the timetables of `courses`
    // with the busy times `result` ran with; `shown` are stored.
    void start(const CourseList& courses, const GenerationResult& result, int shown);
    // Ends a running count at once; its note never comes.
    void stop();
    bool running() const { return worker_.joinable() && !done_; }

signals:
    // The finished count's note, for the results of the latest start().
    void counted(const QString& note);

private:
    void deliver(unsigned generation, const QString& note);

    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    // Which start() the running count belongs to; a note of another is stale.
    unsigned generation_ = 0;
    int watcher_ = 0;
};

}  // namespace quorvandel
