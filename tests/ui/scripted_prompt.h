#pragma once

// Test doubles for the desktop tests: a prompt that records each message and answers from a
// script, an answerer for modal dialogs, a window's parts found by object name, and the
// screenshot every test takes of its windows; with the shared whole-file reads and writes.

#include <QApplication>
#include <QDir>
#include <QList>
#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

#include "tests/support/qt_file_bytes.h"
#include "ui/prompt.h"
#include "ui/theme.h"

namespace velmora {

struct AskedPrompt {
    QString caption;
    QString text;
    Prompt::Buttons buttons;
    Prompt::Icon icon;
};

class ScriptedPrompt : public Prompt {
public:
    // Queues the answer to the next message. Without one, a message is answered as Esc would:
    // Ok, No for Yes/No, Cancel for Yes/No/Cancel.
    void Answer(Prompt::Answer answer) { answers_.push_back(answer); }
    const QList<AskedPrompt>& Asked() const { return asked_; }
    int Unanswered() const { return static_cast<int>(answers_.size()); }
    void Clear() {
        asked_.clear();
        answers_.clear();
    }

    Prompt::Answer Ask(QWidget*, const QString& caption, const QString& text, Buttons buttons,
                       Icon icon) override {
        asked_.append({caption, text, buttons, icon});
        if (!answers_.empty()) {
            const Prompt::Answer answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        switch (buttons) {
            case Buttons::Ok:
                return Prompt::Answer::Ok;
            case Buttons::YesNo:
                return Prompt::Answer::No;
            case Buttons::YesNoCancel:
                break;
        }
        return Prompt::Answer::Cancel;
    }

private:
    QList<AskedPrompt> asked_;
    std::deque<Prompt::Answer> answers_;
};

// Runs answer once dialog is the modal window in front, so that events processed before
// (a progress window drawn while the dialog is primed) do not run it too early.
inline void AnswerWhenShown(QWidget& dialog, std::function<void()> answer) {
    auto* poll = new QTimer(&dialog);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, &dialog, [poll, &dialog, answer = std::move(answer)] {
        if (QApplication::activeModalWidget() != &dialog) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        answer();
    });
    poll->start();
}

using test::FileBytes;
using test::WriteFile;

// A window's part by its object name; the test program stops when there is none.
template <typename T>
T* FindChild(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (found == nullptr) {
        qFatal("%s has no %s named %s", parent.metaObject()->className(),
               T::staticMetaObject.className(), name);
    }
    return found;
}

// Saves a picture of widget as <name>.png in VELMORA_SCREENSHOTS (else ./screenshots).
inline bool SaveWindowPicture(QWidget& widget, const QString& name) {
    const QString folder =
        qEnvironmentVariable("VELMORA_SCREENSHOTS", QDir::currentPath() + "/screenshots");
    QDir().mkpath(folder);
    return widget.grab().save(folder + "/" + name + ".png");
}

}  // namespace velmora
