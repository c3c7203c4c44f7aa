#include "support/Doubles.h"

namespace zorneta::testing {

Prompts::Answer ScriptedPrompts::messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                                            DefaultButton defaultButton) {
    Shown s;
    s.kind = Kind::MessageBox;
    s.title = title;
    s.text = text;
    s.icon = icon;
    s.buttons = buttons;
    s.defaultButton = defaultButton;
    shown.append(s);
    if (whileShown)
        whileShown(s);
    if (messageAnswers.empty()) {
        ++unanswered;
        return escapeAnswer(buttons);
    }
    const Answer a = messageAnswers.front();
    messageAnswers.pop_front();
    return a;
}

void ScriptedPrompts::showMessageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                                     DefaultButton defaultButton, std::function<void(Answer)> answered) {
    if (!keepBoxesOpen) {
        const Answer a = messageBox(title, text, icon, buttons, defaultButton);
        if (answered)
            answered(a);
        return;
    }
    Shown s;
    s.kind = Kind::MessageBox;
    s.title = title;
    s.text = text;
    s.icon = icon;
    s.buttons = buttons;
    s.defaultButton = defaultButton;
    shown.append(s);
    openBoxes.append({s, std::move(answered)});
}

void ScriptedPrompts::answerOpenBox(Answer answer) {
    if (openBoxes.isEmpty())
        return;
    auto box = openBoxes.takeFirst();
    if (box.second)
        box.second(answer);
}

std::optional<QString> ScriptedPrompts::inputBox(const QString &prompt, const QString &title, const QString &proposed,
                                                 std::optional<QPoint> position) {
    Shown s;
    s.kind = Kind::InputBox;
    s.title = title;
    s.text = prompt;
    s.proposed = proposed;
    s.position = position;
    shown.append(s);
    if (inputAnswers.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    const bool given = inputAnswers.front().has_value();
    const QString typed = given ? *inputAnswers.front() : QString();
    inputAnswers.pop_front();
    if (!given)
        return std::nullopt;
    return typed;
}

std::optional<Prompts::FileChoice> ScriptedPrompts::openFileDialog(const QString &title, const QString &filter,
                                                                   const QString &proposedName) {
    Shown s;
    s.kind = Kind::OpenFile;
    s.title = title;
    s.text = filter;
    s.proposed = proposedName;
    shown.append(s);
    if (fileAnswers.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

std::optional<Prompts::FileChoice> ScriptedPrompts::saveFileDialog(const QString &title, const QString &filter,
                                                                   const QString &proposedName) {
    Shown s;
    s.kind = Kind::SaveFile;
    s.title = title;
    s.text = filter;
    s.proposed = proposedName;
    shown.append(s);
    if (fileAnswers.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

std::optional<std::int32_t> ScriptedPrompts::colorDialog(std::int32_t preselected) {
    Shown s;
    s.kind = Kind::Color;
    s.preselectedColor = preselected;
    shown.append(s);
    if (colorAnswers.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    auto a = colorAnswers.front();
    colorAnswers.pop_front();
    return a;
}

QString MemorySettingsStore::getSetting(const QString &application, const QString &section, const QString &key,
                                        const QString &defaultValue) const {
    ++lookups;
    return values.value(application + u'/' + section + u'/' + key, defaultValue);
}

Status MemorySettingsStore::saveSetting(const QString &application, const QString &section, const QString &key,
                                        const QString &value) {
    if (!failWith.isEmpty())
        return Status::failure(failWith);
    values.insert(application + u'/' + section + u'/' + key, value);
    return Status::ok();
}

} // namespace zorneta::testing
