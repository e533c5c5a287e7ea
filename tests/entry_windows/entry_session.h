#pragma once
// A main window on a fresh module state, and the user's ways of filling it:
// every course and section goes in through the real dialogs.

#include <QDebug>
#include <memory>

#include "fake_results_presenter.h"
#include "gui_actions.h"
#include "main_window.h"
#include "modal_script.h"

namespace quorvandel::testing {

struct SectionEntry {
    QString number;
    QString startHour;
    QString startMinute = QStringLiteral("00");  // already selected when the dialog opens
    QString endHour;
    QString endMinute = QStringLiteral("00");
    QStringList days;
};

inline SectionEntry mondayNineToTen(const QString& number) {
    return {number,
            QStringLiteral("9"),
            QStringLiteral("00"),
            QStringLiteral("10"),
            QStringLiteral("00"),
            {QStringLiteral("Monday")}};
}

// Enters a section into an open Add Section dialog as a user would: types
// the number, clicks the hour and minute lines (a minute already selected
// is left alone), clicks each day.
inline void fillSection(QWidget* dialog, const SectionEntry& entry) {
    typeInto(dialog, QStringLiteral("txtSecNum"), entry.number);
    auto pick = [dialog](const QString& listName, const QString& text) {
        QListWidget* l = list(dialog, listName);
        if (text.isEmpty() || l == nullptr) return;
        const int row = rowOf(l, text);
        if (row >= 0 && !l->item(row)->isSelected()) clickLine(l, row);
    };
    pick(QStringLiteral("lstTStartH"), entry.startHour);
    pick(QStringLiteral("lstTStartM"), entry.startMinute);
    pick(QStringLiteral("lstTEndH"), entry.endHour);
    pick(QStringLiteral("lstTEndM"), entry.endMinute);
    // A click on a day toggles it.
    if (QListWidget* days = list(dialog, QStringLiteral("lstDofWk")))
        for (const QString& day : entry.days) clickLine(days, rowOf(days, day));
}

inline bool scriptDone(const ModalScript& script) {
    if (!script.failures().isEmpty()) qWarning() << "modal script failures:" << script.failures();
    if (!script.finished()) qWarning() << "modal script steps not run:" << script.pending();
    return script.failures().isEmpty() && script.finished();
}

// Answers the question about unsaved changes with "Don't Save" when it comes.
inline void answerDontSave(ModalScript& script) {
    script.onWindow(QStringLiteral("SaveChangesQuestion"),
                    [](QWidget* question) { click(question, QStringLiteral("cmdAnswerDontSave")); });
}

class MainWindowSession {
public:
    MainWindowSession() : MainWindowSession(std::make_unique<ModuleState>()) {}
    explicit MainWindowSession(std::unique_ptr<ModuleState> initial)
        : state(std::move(initial)), window(std::make_unique<frmQuorvandelMain>(*state)) {
        window->setResultsPresenter(&presenter);
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowExposed(window.get());
    }

    QWidget* w() const { return window.get(); }
    QListWidget* courses() const { return list(w(), QStringLiteral("lstCourses")); }
    QListWidget* sections() const { return list(w(), QStringLiteral("lstSecs")); }

    // Clicks a main window button while the script answers what it opens.
    // Message boxes no step asks for are answered too and kept in messages.
    bool clickWith(const QString& buttonName, ModalScript& script) {
        script.answerAnyMessages();
        click(w(), buttonName);
        for (const MessageSeen& m : script.messages()) {
            messages.append(m.text);
            seen.append(m);
        }
        return scriptDone(script);
    }

    bool clickAnswering(const QString& buttonName) {
        ModalScript script;
        return clickWith(buttonName, script);
    }

    bool addCourse(const QString& name) {
        ModalScript script;
        script.onWindow(QStringLiteral("frmAddCrs"), [name](QWidget* dialog) {
            typeInto(dialog, QStringLiteral("txtCrsName"), name);
            click(dialog, QStringLiteral("cmdOk"));
        });
        return clickWith(QStringLiteral("cmdAddCrs"), script);
    }

    bool cancelAddCourse() {
        ModalScript script;
        script.onWindow(QStringLiteral("frmAddCrs"),
                        [](QWidget* dialog) { click(dialog, QStringLiteral("cmdCancel")); });
        return clickWith(QStringLiteral("cmdAddCrs"), script);
    }

    // Clicks the course's line, then adds the section through the dialog.
    bool addSection(int course, const SectionEntry& entry) {
        clickLine(courses(), course);
        ModalScript script;
        script.onWindow(QStringLiteral("frmAddSec"), [entry](QWidget* dialog) {
            fillSection(dialog, entry);
            click(dialog, QStringLiteral("cmdOk"));
        });
        return clickWith(QStringLiteral("cmdAddSec"), script);
    }

    std::unique_ptr<ModuleState> state;
    FakeResultsPresenter presenter;
    std::unique_ptr<frmQuorvandelMain> window;
    QStringList messages;     // the text of every message box, in order
    QList<MessageSeen> seen;  // and how each looked

    // Every message box had the program's caption, no icon and only OK.
    bool messagesInProgramForm() const {
        for (const MessageSeen& m : seen)
            if (m.caption != QStringLiteral("Quorvandel") || m.hasIcon ||
                m.buttons != QStringList{QStringLiteral("OK")}) {
                qWarning() << "message box not in the program's form:" << m.text << m.caption << m.hasIcon << m.buttons;
                return false;
            }
        return true;
    }
};

}  // namespace quorvandel::testing
