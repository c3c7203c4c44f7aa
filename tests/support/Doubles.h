#pragma once

// Scripted doubles of the platform interfaces for headless tests.

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/InstallInfo.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "platform/SettingsStore.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QStringList>

#include <deque>
#include <functional>
#include <variant>

namespace zorneta::testing {

// Records every prompt shown and answers from queues. A prompt with no queued
// answer is recorded as unanswered and gets the cancel-like answer (Cancel,
// No, or OK for a box that has only OK), so a test sees it and fails on it.
class ScriptedPrompts : public Prompts {
public:
    enum class Kind { MessageBox, InputBox, OpenFile, SaveFile, Color };
    struct Shown {
        Kind kind = Kind::MessageBox;
        QString title;
        QString text; // message text, input prompt, or the file filter
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        DefaultButton defaultButton = DefaultButton::First;
        QString proposed; // input box value or proposed file name
        std::optional<QPoint> position;
        std::int32_t preselectedColor = 0;
    };

    // Answers, consumed in order per kind.
    std::deque<Answer> messageAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<FileChoice>> fileAnswers;
    std::deque<std::optional<std::int32_t>> colorAnswers;

    QList<Shown> shown;
    int unanswered = 0;

    Answer messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                      DefaultButton defaultButton = DefaultButton::First) override;
    // Answered at once like messageBox(), unless boxes are kept open; then
    // the box waits in openBoxes until answerOpenBox().
    void showMessageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                        DefaultButton defaultButton, std::function<void(Answer)> answered) override;
    bool keepBoxesOpen = false;
    QList<std::pair<Shown, std::function<void(Answer)>>> openBoxes;
    // Closes the oldest open box with `answer`.
    void answerOpenBox(Answer answer);
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &proposed,
                                    std::optional<QPoint> position = std::nullopt) override;
    std::optional<FileChoice> openFileDialog(const QString &title, const QString &filter,
                                             const QString &proposedName) override;
    std::optional<FileChoice> saveFileDialog(const QString &title, const QString &filter,
                                             const QString &proposedName) override;
    std::optional<std::int32_t> colorDialog(std::int32_t preselected) override;

    // Called while a message box is "open", before it returns its answer: lets
    // a test run what the user's wait allows (further events, timer ticks).
    std::function<void(const Shown &)> whileShown;
};

// Settings in memory, by application, section and key.
class MemorySettingsStore : public SettingsStore {
public:
    QString getSetting(const QString &application, const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const override;
    Status saveSetting(const QString &application, const QString &section, const QString &key,
                       const QString &value) override;

    QMap<QString, QString> values; // "application/section/key" -> text
    QString failWith;              // when set, SaveSetting fails with this text
    int reads = 0;
    mutable int lookups = 0;
};

// A clock that stands still until told to move.
class FakeClock : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 8), QTime(14, 5, 0))) : current(std::move(start)) {}
    QDateTime now() const override { return current; }
    void advance(qint64 ms) { current = current.addMSecs(ms); }
    QDateTime current;
};

class CountingBeeper : public Beeper {
public:
    void beep() override { ++count; }
    int count = 0;
};

class FixedInstallInfo : public InstallInfo {
public:
    std::optional<QString> installationDirectory() const override { return directory; }
    std::optional<QString> directory;
};

class RecordingLauncher : public Launcher {
public:
    Status openDocument(const QString &path) override {
        opened.append(path);
        return failWith.isEmpty() ? Status::ok() : Status::failure(failWith);
    }
    Status showHelpContents(const QString &path) override {
        helpShown.append(path);
        return helpFailWith.isEmpty() ? Status::ok() : Status::failure(helpFailWith);
    }
    QStringList opened;
    QString failWith;
    QStringList helpShown;
    QString helpFailWith;
};

} // namespace zorneta::testing
