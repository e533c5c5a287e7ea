#include "generation_runner.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <QWindow>
#include <thread>

#include "form_controls.h"

namespace quorvandel {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

}  // namespace

GenerationRunner::GenerationRunner(QObject* parent) : QObject(parent) {}

GenerationRunner::~GenerationRunner() { stop_ = true; }

GenerationResult GenerationRunner::run(ModuleState& state, QWidget* dialogParent) {
    stop_ = false;
    found_ = 0;
    bestSoFar_ = NoBestYet;
    options_ = state.Options;
    explaining_ = false;
    explainSteps_ = 0;
    courses_ = state.NumCourses;
    finished_ = false;
    running_ = true;
    qApp->installEventFilter(this);

    GenerationResult result;
    QEventLoop loop;
    SearchControl control;
    control.stop = &stop_;
    control.progress = [this](int found) { found_.store(found, std::memory_order_relaxed); };
    // Both parts of the score in one atomic, so the dialog never shows one
    // score's primary beside another's tie-break.
    control.bestSoFar = [this](const RankScore& best) {
        bestSoFar_.store((std::int64_t{best.primary} << 32) | static_cast<std::uint32_t>(best.tieBreak),
                         std::memory_order_relaxed);
    };
    SearchControl explainControl;
    explainControl.stop = &stop_;
    explainControl.progress = [this](int steps) { explainSteps_.store(steps, std::memory_order_relaxed); };

    std::thread worker([&] {
        result = search(state, control);
        if (!stop_) {
            explaining_ = true;
            explain(state, result, explainControl);
        }
        finished_ = true;
        // Wakes the waiting loop on the GUI thread; queued, so it is safe
        // whether or not the loop has started yet.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // A short search ends before anyone could notice: wait without taking
    // input, so nothing can change the schedule under the worker.
    QTimer delay;
    delay.setSingleShot(true);
    connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    delay.start(progressDelay);
    while (!finished_ && delay.isActive()) loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (!finished_) {
        showProgressDialog(dialogParent);
        QTimer refresh;
        connect(&refresh, &QTimer::timeout, this, [this] {
            if (dialog_) dialog_->setLabelText(progressText());
        });
        refresh.start(50);
        while (!finished_) loop.exec();
        refresh.stop();
        if (dialog_) {
            dialog_->hide();
            dialog_->deleteLater();
            dialog_ = nullptr;
        }
    }
    worker.join();
    qApp->removeEventFilter(this);
    running_ = false;
    return result;
}

bool GenerationRunner::eventFilter(QObject* watched, QEvent* event) {
    if (!running_ || !isUserInput(event->type())) return false;
    if (dialog_) {
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->window() == dialog_) return false;
        if (auto* window = qobject_cast<QWindow*>(watched); window && window == dialog_->windowHandle()) return false;
    }
    return true;
}

QString GenerationRunner::progressText() const {
    if (explaining_)
        return QStringLiteral("No timetable fits. Finding the courses that clash...\n%1 of %2 courses checked")
            .arg(explainSteps_.load(std::memory_order_relaxed))
            .arg(courses_);
    const std::int64_t best = bestSoFar_.load(std::memory_order_relaxed);
    // Only the first order's cost is shown, and only where it says something
    // alone: an average start or finish needs the timetable's whole week.
    const Text bestWords = best == NoBestYet ? Text() : costText(options_.primary, static_cast<int>(best >> 32));
    if (options_.ranked() && !bestWords.empty())
        return QStringLiteral("Finding the best timetables...\n%1 found so far\nBest so far: %2")
            .arg(found_.load(std::memory_order_relaxed))
            .arg(qText(bestWords));
    if (options_.ranked())
        return QStringLiteral("Finding the best timetables...\n%1 found so far")
            .arg(found_.load(std::memory_order_relaxed));
    return QStringLiteral("Finding timetables...\n%1 found so far").arg(found_.load(std::memory_order_relaxed));
}

void GenerationRunner::showProgressDialog(QWidget* parent) {
    dialog_ = new QProgressDialog(progressText(), QStringLiteral("Cancel"), 0, 0, parent);
    dialog_->setObjectName(QStringLiteral("dlgFindingTimetables"));
    dialog_->setWindowTitle(QStringLiteral("Quorvandel"));
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    // Esc and the frame's close button cancel too: QProgressDialog routes
    // both through canceled().
    connect(dialog_, &QProgressDialog::canceled, this, [this] { stop_ = true; });
    dialog_->show();
    emit progressDialogShown();
}

}  // namespace quorvandel
