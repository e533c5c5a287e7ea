// Seeded random sequences of user actions on the real windows, each checked
// after every action against the model of what the user should see. A
// failing sequence is shrunk to the shortest list of actions that still
// fails, and printed with its seed; a crash prints its seed.
//
//   QUORVANDEL_MODEL_SEQUENCES=n   run n sequences instead of the default
//   QUORVANDEL_MODEL_SEED=s        run only the sequence of seed s, printing each action

#include <unistd.h>
#include <QtTest>
#include <csignal>
#include <cstdio>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

#include "model.h"
#include "session.h"

using namespace quorvandel::model;

namespace {

constexpr uint32_t BaseSeed = 20240611;
#ifdef QUORVANDEL_SANITIZED_BUILD
constexpr int DefaultSequences = 700;  // the sanitizers make each one three times as slow
#else
constexpr int DefaultSequences = 2000;
#endif

struct Run {
    bool failed = false;
    size_t used = 0;  // actions up to the failing one
    QString failure;
    QStringList steps;
};

// Plays the actions on fresh windows and state; actions that cannot be
// given where they stand (in a shrunk list) are skipped.
Run play(const std::vector<Action>& actions, bool trace = false) {
    Run run;
    Model model;
    Session session;
    run.failure = session.check(model, {});
    for (size_t i = 0; i < actions.size() && run.failure.isEmpty(); ++i) {
        const Action& a = actions[i];
        if (!applicable(a, model)) continue;
        const bool back = !onResultsFrame(a.kind) && !model.mainActive;
        run.steps << QString::fromStdString(describe(a)) + (back && a.kind != Kind::ReturnToMain
                                                                ? QStringLiteral(" (first back to the main window)")
                                                                : QString());
        if (trace) qInfo("%lld. %s", static_cast<long long>(run.steps.size()), qPrintable(run.steps.back()));
        const std::vector<std::string> messages = apply(a, model);
        session.perform(a, back);
        run.failure = session.check(model, messages);
        run.used = i + 1;
    }
    run.failed = !run.failure.isEmpty();
    return run;
}

// Greedy: drop chunks of halving size, then single actions until none can
// go, keeping every drop after which the list still fails.
std::vector<Action> shrink(std::vector<Action> actions, Run& last) {
    actions.resize(last.used);
    auto pass = [&](size_t chunk) {
        bool dropped = false;
        for (size_t i = 0; i + chunk <= actions.size();) {
            std::vector<Action> fewer = actions;
            fewer.erase(fewer.begin() + static_cast<long>(i), fewer.begin() + static_cast<long>(i + chunk));
            if (Run r = play(fewer); r.failed) {
                fewer.resize(r.used);
                actions = std::move(fewer);
                last = r;
                dropped = true;
            } else {
                i += chunk;
            }
        }
        return dropped;
    };
    for (size_t chunk = actions.size() / 2; chunk > 1; chunk /= 2) pass(chunk);
    while (pass(1)) {}
    return actions;
}

// A crash cannot be shrunk by the process that crashed: it says its seed,
// then Qt Test's own handler takes the signal.
char crashNote[128];
constexpr int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
struct sigaction testlibActions[std::size(FatalSignals)];

void sayCrashNote() { (void)!write(STDERR_FILENO, crashNote, strlen(crashNote)); }

void onFatalSignal(int signal) {
    sayCrashNote();
    for (size_t i = 0; i < std::size(FatalSignals); ++i)
        if (FatalSignals[i] == signal) sigaction(signal, &testlibActions[i], nullptr);
    raise(signal);
}

// The offscreen platform says this at every showing; thousands of times it
// would bury the report.
QtMessageHandler testlibHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QLatin1String("does not support propagateSizeHints"))) testlibHandler(type, context, message);
}

}  // namespace

class ModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testlibHandler = qInstallMessageHandler(quietHandler);
        struct sigaction action {};
        action.sa_handler = onFatalSignal;
        for (size_t i = 0; i < std::size(FatalSignals); ++i) sigaction(FatalSignals[i], &action, &testlibActions[i]);
#if defined(__SANITIZE_ADDRESS__)
        __sanitizer_set_death_callback(sayCrashNote);
#endif
    }
    void cleanupTestCase() {
        qInstallMessageHandler(testlibHandler);
        for (size_t i = 0; i < std::size(FatalSignals); ++i) sigaction(FatalSignals[i], &testlibActions[i], nullptr);
    }

    void randomSequences() {
        const QByteArray seedText = qgetenv("QUORVANDEL_MODEL_SEED");
        const QByteArray countText = qgetenv("QUORVANDEL_MODEL_SEQUENCES");
        const uint32_t base = seedText.isEmpty() ? BaseSeed : seedText.toUInt();
        const int count = !seedText.isEmpty() ? 1 : countText.isEmpty() ? DefaultSequences : countText.toInt();
        long long actionsRun = 0;
        for (int k = 0; k < count; ++k) {
            const uint32_t seed = base + static_cast<uint32_t>(k);
            std::snprintf(crashNote, sizeof crashNote,
                          "model test: crashed in the sequence of seed %u (replay with QUORVANDEL_MODEL_SEED=%u)\n",
                          seed, seed);
            const std::vector<Action> actions = randomSequence(seed);
            Run run = play(actions, !seedText.isEmpty());
            actionsRun += run.steps.size();
            if (!run.failed) continue;
            const QString firstFailure = run.failure;
            shrink(actions, run);
            QString report = QStringLiteral(
                                 "seed %1 (replay with QUORVANDEL_MODEL_SEED=%1) fails:\n    %2\n"
                                 "shortest action list that fails (%3 of %4 actions):")
                                 .arg(seed)
                                 .arg(firstFailure)
                                 .arg(run.steps.size())
                                 .arg(actions.size());
            for (int i = 0; i < run.steps.size(); ++i)
                report += QStringLiteral("\n  %1. %2").arg(i + 1).arg(run.steps[i]);
            QFAIL(qPrintable(report + QStringLiteral("\nwhich fails with:\n    ") + run.failure));
        }
        qInfo("%d sequences, %lld actions checked", count, actionsRun);
    }
};

QTEST_MAIN(ModelTest)
#include "test_model.moc"
