#include "recording/RecordingFile.h"

#include "common/ItemNames.h"
#include "recording/RecordWriter.h"
#include "session/SessionState.h"
#include "common/Cell.h"
#include "platform/Prompts.h"
#include "session/MainView.h"
#include "session/Services.h"
#include "common/SystemErrors.h"

#include <QFileInfo>

namespace zorneta {

namespace {
const QString messageTitle() {
    return QString::fromUtf16(AppTitle);
}
} // namespace

bool RecordingFile::isOpen() const {
    return m_writer.isOpen();
}

QString RecordingFile::logFilePath() const {
    return m_writer.path();
}

void RecordingFile::showError(const QString &description) {
    m_services.prompts.messageBox(messageTitle(), description, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

void RecordingFile::openRecording() {
    if (isOpen())
        return; // the command is disabled while a file is open
    Prompts &prompts = m_services.prompts;
    const QString title = QStringLiteral("Открыть файл протокола связи");
    const QString filter = QStringLiteral("Текстовые файлы (*.TXT)|*.txt|Все файлы (*.*)|*.*");
    std::optional<Prompts::FileChoice> choice;
    QString path;
    for (;;) {
        const QString proposed = QStringLiteral("Зорнета ") + m_state.readings.cell(2, 1).toText();
        choice = prompts.openFileDialog(title, filter, proposed);
        if (!choice)
            return; // cancelled: nothing changes
        path = choice->fullPath;
        const QFileInfo info(path);
        if (info.isDir()) {
            showError(QStringLiteral("Выбрана папка, а не файл: ") + path);
            return;
        }
        if (!info.exists())
            break; // a new file: as for No
        const auto answer =
            prompts.messageBox(messageTitle(), QStringLiteral("Заменить существующий файл - ") + path + u'?',
                               Prompts::Icon::Question, Prompts::Buttons::YesNoCancel);
        if (answer == Prompts::Answer::Cancel)
            continue; // choose again
        if (answer == Prompts::Answer::Yes) {
            QFile old(path);
            if (!old.remove()) {
                showError(fileFailureText(FileAction::Remove, path, old.errorString()));
                return;
            }
        }
        break;
    }

    openAt(path, choice->fileTitle);
}

bool RecordingFile::openAt(const QString &path, const QString &fileTitle) {
    if (isOpen())
        return false;
    const Status opened = m_writer.open(path);
    if (!opened) {
        showError(opened.description());
        return false;
    }
    MainView &view = m_services.view;
    view.setCaption(QStringLiteral("   Зорнета   -   ") + fileTitle);
    view.setItemEnabled(menu::OpenRecording, false);
    view.setItemEnabled(toolbar::OpenLogFile, false);
    view.setItemEnabled(menu::CloseRecording, true);
    view.setItemEnabled(toolbar::CloseLogFile, true);
    return true;
}

void RecordingFile::closeRecording() {
    m_writer.close();
    MainView &view = m_services.view;
    view.setItemEnabled(menu::OpenRecording, true);
    view.setItemEnabled(toolbar::OpenLogFile, true);
    view.setItemEnabled(menu::CloseRecording, false);
    view.setItemEnabled(toolbar::CloseLogFile, false);
    view.setCaption(QStringLiteral("   Зорнета"));
}

} // namespace zorneta
