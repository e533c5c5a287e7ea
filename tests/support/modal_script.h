#pragma once
// Answers the modal windows a test's action opens, the way a user would.
// A test lists the steps first, then does the action that blocks in a modal
// exec(): a timer watches QApplication::activeModalWidget() and runs the next
// step on the first modal window that the step accepts. Steps may open
// further modal windows (a message box over a dialog); the next step then
// answers that one. A modal window that no step accepts within the timeout
// is recorded as a failure and closed, so a faulty program cannot hang the
// test.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "gui_actions.h"

namespace quorvandel::testing {

// One message box as the user saw it.
struct MessageSeen {
    QString text;
    QString caption;
    bool hasIcon = false;  // the box's own icon, or one on a button
    QStringList buttons;   // besides "Show Details...", which comes with details
    QString details;
};

class ModalScript {
public:
    using Match = std::function<bool(QWidget*)>;
    using Action = std::function<void(QWidget*)>;

    explicit ModalScript(int timeoutMs = 5000) : timeoutMs_(timeoutMs) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // A step for the modal window with this object name.
    ModalScript& onWindow(const QString& objectName, std::function<void(QWidget*)> action) {
        steps_.push_back(
            {[objectName](QWidget* w) { return w->objectName() == objectName; }, std::move(action), objectName});
        return *this;
    }

    // A step for a message box: records it and clicks its OK button.
    ModalScript& answerMessage() {
        steps_.push_back({[](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                          [this](QWidget* w) { answer(qobject_cast<QMessageBox*>(w)); },
                          QStringLiteral("message box")});
        return *this;
    }

    // From now on, any message box that the next step does not take is
    // recorded and answered as answerMessage() would.
    ModalScript& answerAnyMessages() {
        anyMessages_ = true;
        return *this;
    }

    bool finished() const { return steps_.empty() && !running_; }
    const QStringList& failures() const { return failures_; }
    const QList<MessageSeen>& messages() const { return messages_; }
    QStringList messageTexts() const {
        QStringList texts;
        for (const MessageSeen& m : messages_) texts.append(m.text);
        return texts;
    }
    // Steps not run, by description.
    QStringList pending() const {
        QStringList names;
        for (const Step& s : steps_) names.append(s.description);
        return names;
    }

private:
    struct Step {
        Match matches;
        Action action;
        QString description;
    };

    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            waiting_ = nullptr;
            return;
        }
        if (queued_ || settling_) return;
        if (!steps_.empty() && steps_.front().matches(modal)) {
            waiting_ = nullptr;
            Step step = std::move(steps_.front());
            steps_.pop_front();
            runOutsideTimer([this, step = std::move(step), modal = QPointer<QWidget>(modal)] {
                if (settled(modal)) step.action(modal);
            });
            return;
        }
        if (anyMessages_) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                waiting_ = nullptr;
                runOutsideTimer([this, box = QPointer<QMessageBox>(box)] {
                    if (settled(box.data())) answer(box);
                });
                return;
            }
        }
        if (waiting_ != modal) {
            waiting_ = modal;
            since_.start();
            return;
        }
        if (since_.elapsed() < timeoutMs_) return;
        failures_.append(QStringLiteral("unexpected modal window '%1' (%2), next step: %3")
                             .arg(modal->objectName(), QString::fromLatin1(modal->metaObject()->className()),
                                  steps_.empty() ? QStringLiteral("none") : steps_.front().description));
        waiting_ = nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            MessageSeen seen;
            seen.text = box->text();
            messages_.append(seen);
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->hide();
    }

    // A user acts on a window once it is there to see. Under a window
    // manager, mapping, the final size and activation come some time after
    // show(): until the window manager has configured the window, Qt may
    // still lay it out at a size the window never keeps, with its buttons
    // squashed out of reach. A window that never becomes active (a window
    // manager may keep the focus where synthetic input left it) is acted on
    // anyway, so that a failure shows as the test's own, not as a hang.
    // The waits run a nested event loop in which the timer fires again:
    // while a window settles no other step starts, or one window could be
    // answered twice, once from each loop. A window gone or closed in the
    // meantime is not acted on.
    bool settled(QWidget* widget) {
        QPointer<QWidget> window(widget);
        if (window && !window->isActiveWindow()) {
            settling_ = true;
            (void)QTest::qWaitForWindowExposed(window, 5000);
            if (window) (void)QTest::qWaitForWindowActive(window, 2000);
            settling_ = false;
        }
        return window && window->isVisible();
    }

    // An action may open a modal window of its own; it runs from a queued
    // call, not from the timer, because Qt does not fire a timer again while
    // its own timeout is still being handled.
    void runOutsideTimer(std::function<void()> action) {
        queued_ = true;
        ++running_;
        QMetaObject::invokeMethod(
            &timer_,
            [this, action = std::move(action)] {
                queued_ = false;
                action();
                --running_;
            },
            Qt::QueuedConnection);
    }

    void answer(QMessageBox* box) {
        // Under a loaded X server a click can land before the box has its
        // final layout and miss its button; the box then stays open and is
        // met again. It is one message, so it is clicked again, not recorded
        // twice.
        if (answered_ == box) {
            clickOk(box);
            return;
        }
        answered_ = box;
        QObject::connect(box, &QDialog::finished, &timer_, [this] { answered_ = nullptr; });
        MessageSeen seen;
        seen.text = box->text();
        seen.caption = box->windowTitle();
        seen.hasIcon = box->icon() != QMessageBox::NoIcon || !box->iconPixmap().isNull();
        seen.details = box->detailedText();
        for (QAbstractButton* b : box->buttons()) {
            seen.hasIcon = seen.hasIcon || !b->icon().isNull();
            if (!seen.details.isEmpty() && box->buttonRole(b) == QMessageBox::ActionRole) continue;
            seen.buttons.append(shownCaption(b->text()));
        }
        messages_.append(seen);
        clickOk(box);
    }

    static void clickOk(QMessageBox* box) {
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            box->done(0);
    }

    QTimer timer_;
    std::deque<Step> steps_;
    QList<MessageSeen> messages_;
    QStringList failures_;
    QPointer<QWidget> waiting_;
    QPointer<QMessageBox> answered_;  // answered and not yet closed
    QElapsedTimer since_;
    int timeoutMs_;
    int running_ = 0;
    bool anyMessages_ = false;
    bool queued_ = false;
    bool settling_ = false;  // a window is being waited for: see settled()
};

}  // namespace quorvandel::testing
