#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace zorneta {

// Message boxes, input boxes and the common file and colour dialogs.
class Prompts {
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
    enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };
    // Which button of the set is the default: the first, second or third.
    enum class DefaultButton { First, Second, Third };

    struct FileChoice {
        QString fullPath;  // the chosen file with its folder
        QString fileTitle; // the file name without its folder
    };

    virtual ~Prompts() = default;

    // The answer of a message box closed without a button (its close box or
    // Esc): Cancel where there is one, No for Yes/No, Abort for
    // Abort/Retry/Ignore, OK for a lone OK.
    static Answer escapeAnswer(Buttons buttons) {
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::AbortRetryIgnore:
            return Answer::Abort;
        default:
            return Answer::Cancel;
        }
    }

    // Shows a message box and waits for the answer (a command the user gave
    // asks its question).
    virtual Answer messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                              DefaultButton defaultButton = DefaultButton::First) = 0;

    // Shows a message box that blocks the whole program's windows, and
    // returns at once: `answered` gets the answer when the user closes the
    // box. What happens meanwhile (a line arriving) goes on.
    virtual void showMessageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                                DefaultButton defaultButton, std::function<void(Answer)> answered) = 0;

    // Returns the text typed, or nothing when the user cancelled. A position,
    // when given, places the box's top left corner on the screen.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &proposed,
                                            std::optional<QPoint> position = std::nullopt) = 0;

    // File dialogs. The filter is a list of "description|pattern" pairs joined
    // by "|", e.g. "Текстовые файлы (*.TXT)|*.txt|Все файлы (*.*)|*.*".
    // A cancel returns nothing.
    virtual std::optional<FileChoice> openFileDialog(const QString &title, const QString &filter,
                                                     const QString &proposedName) = 0;
    virtual std::optional<FileChoice> saveFileDialog(const QString &title, const QString &filter,
                                                     const QString &proposedName) = 0;

    // Colour dialog with a preselected colour 0x00BBGGRR; a cancel returns nothing.
    virtual std::optional<std::int32_t> colorDialog(std::int32_t preselected) = 0;
};

} // namespace zorneta
