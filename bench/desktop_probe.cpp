// Measures the program as a desktop user meets it, on the platform that
// QT_QPA_PLATFORM picks (bench/measure_desktop.sh runs it under Xvfb with
// Qt's xcb platform, as on a desktop):
//
//   quorvandel_desktop_probe start LAUNCH_NS
//     LAUNCH_NS is the wall clock (ns since the epoch) that the caller read
//     just before starting the probe. Prints the milliseconds from then until
//     the main window has been painted for the first time, and the resident
//     memory at that moment.
//   quorvandel_desktop_probe memory
//     Enters 20 courses of 10 sections into the main window, presses
//     "TimeTablify!", waits for the results, steps through all 26 stored
//     timetables with "Next" and prints the resident memory (now and peak).
//
// The windows are the program's own, wired as app/main.cpp wires them.

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench_cases.h"
#include "editing.h"
#include "program_windows.h"
#include "results_frame.h"

using namespace quorvandel;

namespace {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1.
long statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    return -1;
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Runs the event loop until done() holds or ten seconds pass.
template <typename Done>
bool waitFor(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Reports once the main window's first paint has been flushed: the first
// Paint event is seen here, and a zero-delay timer then fires after the
// whole window has been painted.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(long long launchNs) : launchNs_(launchNs) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [this] {
                const double ms = double(nowNs() - launchNs_) / 1e6;
                std::printf("start_to_shown_ms %.1f\nrss_at_shown_kb %ld\n", ms, statusKb("VmRSS"));
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    long long launchNs_;
    bool seen_ = false;
};

int measureStart(long long launchNs) {
    ProgramWindows program;
    FirstPaint watcher(launchNs);
    program.window.installEventFilter(&watcher);
    program.window.show();
    return QApplication::exec();
}

int measureMemory() {
    ProgramWindows program;
    program.window.show();
    if (!waitFor([&] { return program.window.windowHandle() && program.window.windowHandle()->isExposed(); })) {
        std::fprintf(stderr, "the main window was not shown\n");
        return 1;
    }
    std::printf("rss_main_window_kb %ld\n", statusKb("VmRSS"));

    ModuleState schedule;
    bench::fullManySchedule(schedule);
    for (int16_t c = 0; c < schedule.NumCourses; ++c) {
        const Course& course = schedule.Courses[static_cast<size_t>(c)];
        AddCourse(*program.state, program.window, NewCourse(course.CourseName));
        for (int16_t s = 0; s < course.NumSections; ++s)
            AddSection(*program.state, c, course.Sections[static_cast<size_t>(s)]);
    }
    program.window.activate();
    auto* makeTime = program.window.findChild<QPushButton*>(QStringLiteral("cmdMakeTime"));
    if (makeTime == nullptr || !makeTime->isEnabled()) {
        std::fprintf(stderr, "\"TimeTablify!\" is not enabled\n");
        return 1;
    }
    makeTime->click();
    TimeTablesMDI* frame = nullptr;
    if (!waitFor([&] {
            frame = program.results.frame();
            return frame && frame->windowHandle() && frame->windowHandle()->isExposed();
        })) {
        std::fprintf(stderr, "the results did not open\n");
        return 1;
    }
    for (int i = 1; i < program.state->NumTimetables; ++i) {
        frame->findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
        QCoreApplication::processEvents();
    }
    std::printf("courses %d sections_each %d stored_timetables %d current %d\n", int(program.state->NumCourses),
                int(program.state->Courses[0].NumSections), int(program.state->NumTimetables),
                int(program.state->CurrentTimetable));
    std::printf("rss_with_results_kb %ld\nrss_peak_kb %ld\n", statusKb("VmRSS"), statusKb("VmHWM"));
    return program.state->NumTimetables == MaxStoredTimetables ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvandel"));
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "start" && argc > 2) return measureStart(std::atoll(argv[2]));
    if (mode == "memory") return measureMemory();
    std::fprintf(stderr, "usage: %s start LAUNCH_NS | memory\n", argv[0]);
    return 2;
}
