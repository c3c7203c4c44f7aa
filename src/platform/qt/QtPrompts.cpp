#include "platform/qt/QtPrompts.h"

#include "common/Colour.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include <memory>

namespace zorneta {

namespace {

QList<QMessageBox::StandardButton> buttonSet(Prompts::Buttons buttons) {
    using B = QMessageBox::StandardButton;
    switch (buttons) {
    case Prompts::Buttons::Ok:
        return {B::Ok};
    case Prompts::Buttons::OkCancel:
        return {B::Ok, B::Cancel};
    case Prompts::Buttons::AbortRetryIgnore:
        return {B::Abort, B::Retry, B::Ignore};
    case Prompts::Buttons::YesNoCancel:
        return {B::Yes, B::No, B::Cancel};
    case Prompts::Buttons::YesNo:
        return {B::Yes, B::No};
    case Prompts::Buttons::RetryCancel:
        return {B::Retry, B::Cancel};
    }
    return {B::Ok};
}

Prompts::Answer answerOf(int button, Prompts::Buttons buttons) {
    using B = QMessageBox::StandardButton;
    switch (button) {
    case B::Ok:
        return Prompts::Answer::Ok;
    case B::Cancel:
        return Prompts::Answer::Cancel;
    case B::Abort:
        return Prompts::Answer::Abort;
    case B::Retry:
        return Prompts::Answer::Retry;
    case B::Ignore:
        return Prompts::Answer::Ignore;
    case B::Yes:
        return Prompts::Answer::Yes;
    case B::No:
        return Prompts::Answer::No;
    default:
        break;
    }
    // The box was closed without a button: the answer of its escape button.
    return Prompts::escapeAnswer(buttons);
}

QMessageBox::Icon qtIcon(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

namespace {

// A message box with the exact title and text, its buttons, default and
// escape button set.
QMessageBox *makeBox(const QString &title, const QString &text, Prompts::Icon icon, Prompts::Buttons buttons,
                     Prompts::DefaultButton defaultButton, QWidget *parent) {
    // Line ends as the program writes them (CR, LF or both) each break a line.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    auto *box = new QMessageBox(qtIcon(icon), title, shown, QMessageBox::NoButton, parent);
    box->setTextFormat(Qt::PlainText);
    box->setObjectName(QStringLiteral("MessageBox"));
    const auto set = buttonSet(buttons);
    for (auto b : set)
        box->addButton(b);
    const auto index = static_cast<qsizetype>(defaultButton);
    box->setDefaultButton(set.value(index < set.size() ? index : 0));
    if (set.contains(QMessageBox::Cancel))
        box->setEscapeButton(QMessageBox::Cancel);
    else if (set.contains(QMessageBox::No))
        box->setEscapeButton(QMessageBox::No);
    else if (set.size() == 1)
        box->setEscapeButton(set.front());
    return box;
}

} // namespace

Prompts::Answer QtPrompts::messageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                                      DefaultButton defaultButton) {
    std::unique_ptr<QMessageBox> box(makeBox(title, text, icon, buttons, defaultButton, m_parent));
    const int result = box->exec();
    return answerOf(result, buttons);
}

void QtPrompts::showMessageBox(const QString &title, const QString &text, Icon icon, Buttons buttons,
                               DefaultButton defaultButton, std::function<void(Answer)> answered) {
    QMessageBox *box = makeBox(title, text, icon, buttons, defaultButton, m_parent);
    // Blocks every window of the program, as a box in the middle of a
    // command does, but without an event loop of its own: the program goes
    // on receiving while it is up.
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, box, [answered = std::move(answered), buttons](int result) {
        if (answered)
            answered(answerOf(result, buttons));
    });
    box->open();
}

std::optional<QString> QtPrompts::inputBox(const QString &prompt, const QString &title, const QString &proposed,
                                           std::optional<QPoint> position) {
    QInputDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(proposed);
    dialog.setInputMode(QInputDialog::TextInput);
    if (position)
        dialog.move(*position);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QStringList QtPrompts::nameFilters(const QString &filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    static const QRegularExpression trailing(QStringLiteral("\\s*\\(([^()]*)\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString &p : patterns)
            p = p.trimmed();
        const auto match = trailing.match(description);
        if (match.hasMatch()) {
            // The description shows its own patterns: merge them with the real ones.
            const QStringList shown =
                match.captured(1).split(QRegularExpression(QStringLiteral("[\\s;]+")), Qt::SkipEmptyParts);
            for (const QString &p : shown) {
                if (!patterns.contains(p))
                    patterns.append(p);
            }
            description = description.left(match.capturedStart()).trimmed();
        }
        result.append(description + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return result;
}

std::optional<Prompts::FileChoice> QtPrompts::fileDialog(bool save, const QString &title, const QString &filter,
                                                         const QString &proposedName) {
    QFileDialog dialog(m_parent, title);
    dialog.setObjectName(save ? QStringLiteral("SaveFileDialog") : QStringLiteral("OpenFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The file need not exist: the caller decides what to do with an existing one.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(filter));
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    return FileChoice{path, QFileInfo(path).fileName()};
}

std::optional<Prompts::FileChoice> QtPrompts::openFileDialog(const QString &title, const QString &filter,
                                                             const QString &proposedName) {
    return fileDialog(false, title, filter, proposedName);
}

std::optional<Prompts::FileChoice> QtPrompts::saveFileDialog(const QString &title, const QString &filter,
                                                             const QString &proposedName) {
    return fileDialog(true, title, filter, proposedName);
}

std::optional<std::int32_t> QtPrompts::colorDialog(std::int32_t preselected) {
    const QColor initial(redPart(preselected), greenPart(preselected), bluePart(preselected));
    const QColor chosen = QColorDialog::getColor(initial, m_parent, QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return std::nullopt;
    return rgbColour(chosen.red(), chosen.green(), chosen.blue());
}

} // namespace zorneta
