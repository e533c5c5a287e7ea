#pragma once
// Runs "TimeTablify!" off the GUI thread so the window never freezes on a
// hard schedule. run() returns only when the search has ended, like a modal
// dialog's exec(): for the first moments it only waits (user input is held
// back), and once the search has taken longer than progressDelay it shows a
// progress dialog, modal to the main window, whose "Cancel" stops the search.
// When the search opens nothing, the worker goes on to find the reason for
// the message's details (outcome_details.h), under the same dialog and the
// same "Cancel"; a cancelled reason leaves the details empty.
// Nothing else touches the module state while the worker runs.

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <atomic>
#include <chrono>
#include <functional>

#include "outcome_details.h"
#include "timetablify.h"

class QWidget;

namespace quorvandel {

class GenerationRunner : public QObject {
    Q_OBJECT
public:
    explicit GenerationRunner(QObject* parent = nullptr);
    ~GenerationRunner() override;

    GenerationResult run(ModuleState& state, QWidget* dialogParent);

    bool running() const { return running_; }
    // Asks a running search to end as soon as it can (the program is closing).
    void requestStop() { stop_ = true; }

    // The progress dialog while it is shown, else null (tests answer it).
    QProgressDialog* progressDialog() const { return dialog_; }

    std::chrono::milliseconds progressDelay{150};

    // The search the worker runs; tests may put a harder or slower one here.
    std::function<GenerationResult(ModuleState&, const SearchControl&)> search =
        [](ModuleState& state, const SearchControl& control) { return TimeTablify(state, control); };
    // What the worker does next with the search's result: the details under
    // its message. Its progress calls count the steps done towards them.
    std::function<void(const ModuleState&, GenerationResult&, const SearchControl&)> explain =
        [](const ModuleState& state, GenerationResult& result, const SearchControl& control) {
            ExplainOutcome(state, result, control, state.Options.busy);
        };

signals:
    void progressDialogShown();

protected:
    // While a search runs only the progress dialog takes input: no other
    // window of the program may change or read the state under the worker.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showProgressDialog(QWidget* parent);
    QString progressText() const;

    std::atomic<bool> stop_{false};
    std::atomic<int> found_{0};
    // A ranked search's best score so far (primary << 32 | tie-break).
    static constexpr std::int64_t NoBestYet = -1;
    std::atomic<std::int64_t> bestSoFar_{NoBestYet};
    ScheduleOptions options_;  // what the running search ranks by
    std::atomic<bool> explaining_{false};
    std::atomic<int> explainSteps_{0};
    int courses_ = 0;
    std::atomic<bool> finished_{false};
    bool running_ = false;
    QPointer<QProgressDialog> dialog_;
};

}  // namespace quorvandel
