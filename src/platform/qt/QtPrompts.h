#pragma once

#include "platform/Prompts.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace zorneta {

// Message boxes and common dialogs on Qt's own widgets, with the exact titles
// and texts the caller gives. Dialogs are modal to the given parent window.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                      DefaultButton defaultButton = DefaultButton::First) override;
    void showMessageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                        DefaultButton defaultButton, std::function<void(Answer)> answered) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &proposed,
                                    std::optional<QPoint> position = std::nullopt) override;
    std::optional<FileChoice> openFileDialog(const QString &title, const QString &filter,
                                             const QString &proposedName) override;
    std::optional<FileChoice> saveFileDialog(const QString &title, const QString &filter,
                                             const QString &proposedName) override;
    std::optional<std::int32_t> colorDialog(std::int32_t preselected) override;

    // "Text (*.TXT)|*.txt|All (*.*)|*.*" as Qt name filters.
    static QStringList nameFilters(const QString &filter);

private:
    std::optional<FileChoice> fileDialog(bool save, const QString &title, const QString &filter,
                                         const QString &proposedName);

    QPointer<QWidget> m_parent;
};

} // namespace zorneta
