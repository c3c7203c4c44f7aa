#include "recording/RecordingFile.h"

#include "common/ItemNames.h"
#include "session/SessionState.h"
#include "common/Cell.h"
#include "platform/Prompts.h"
#include "session/MainView.h"
#include "session/Services.h"

#include <QFileInfo>

namespace zorneta {

namespace {
const QString messageTitle() {
    return QString::fromUtf16(AppTitle);
}
} // namespace

RecordingFile::RecordingFile(Services &services, SessionState &state) : m_services(services), m_state(state) {}

RecordingFile::~RecordingFile() = default;

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
    for (;;) {
        const QString proposed = QStringLiteral("Зорнета ") + m_state.readings.cell(2, 1).toText();
        choice = prompts.openFileDialog(title, filter, proposed);
        if (!choice)
            return; // cancelled: nothing changes
        m_path = choice->fullPath;
        const QFileInfo info(m_path);
        if (info.isDir()) {
            showError(QStringLiteral("Выбрана папка, а не файл: ") + m_path);
            return;
        }
        if (!info.exists())
            break; // a new file: as for No
        const auto answer =
            prompts.messageBox(messageTitle(), QStringLiteral("Заменить существующий файл - ") + m_path + u'?',
                               Prompts::Icon::Question, Prompts::Buttons::YesNoCancel);
        if (answer == Prompts::Answer::Cancel)
            continue; // choose again
        if (answer == Prompts::Answer::Yes) {
            QFile old(m_path);
            if (!old.remove()) {
                showError(old.errorString());
                return;
            }
        }
        break;
    }

    openAt(m_path, choice->fileTitle);
}

bool RecordingFile::openAt(const QString &path, const QString &fileTitle) {
    if (isOpen())
        return false;
    m_path = path;
    auto file = std::make_unique<QFile>(m_path);
    // Unbuffered: each record goes to the operating system at once.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        showError(file->errorString());
        return false;
    }
    m_file = std::move(file);
    m_state.recording = true;
    MainView &view = m_services.view;
    view.setCaption(QStringLiteral("   Зорнета   -   ") + fileTitle);
    view.setItemEnabled(menu::mnuOpenLog, false);
    view.setItemEnabled(toolbar::OpenLogFile, false);
    view.setItemEnabled(menu::mnuCloseLog, true);
    view.setItemEnabled(toolbar::CloseLogFile, true);
    return true;
}

void RecordingFile::closeRecording() {
    if (m_file)
        m_file->close();
    m_file.reset();
    m_heldBack.clear();
    m_state.recording = false;
    MainView &view = m_services.view;
    view.setItemEnabled(menu::mnuOpenLog, true);
    view.setItemEnabled(toolbar::OpenLogFile, true);
    view.setItemEnabled(menu::mnuCloseLog, false);
    view.setItemEnabled(toolbar::CloseLogFile, false);
    view.setCaption(QStringLiteral("   Зорнета"));
}

Status RecordingFile::append(const QByteArray &bytes, qint64 *written) {
    qint64 done = 0;
    if (written)
        *written = 0;
    if (!m_file)
        return Status::failure(QStringLiteral("Файл записи не открыт"));
    while (done < bytes.size()) {
        const qint64 n = m_file->write(bytes.constData() + done, bytes.size() - done);
        if (n > 0 && written)
            *written = done + n;
        if (n <= 0) {
            const QString error = m_file->errorString();
            m_file->unsetError();
            return Status::failure(error.isEmpty() ? QStringLiteral("Ошибка записи в файл") : error);
        }
        done += n;
    }
    return Status::ok();
}

void RecordingFile::writeRecord(const QByteArray &bytes) {
    if (!m_file || bytes.isEmpty())
        return;
    if (m_asking) {
        // A record that arrives while the user is deciding about a failed
        // write waits for that answer, so records keep their order and the
        // questions do not pile up.
        m_heldBack += bytes;
        return;
    }
    QByteArray pending = bytes;
    for (;;) {
        qint64 reached = 0;
        const Status written = append(pending, &reached);
        // Bytes that reached the file are not written again on Retry.
        pending.remove(0, reached);
        if (written) {
            if (m_heldBack.isEmpty())
                return;
            pending = std::exchange(m_heldBack, QByteArray());
            continue;
        }
        m_asking = true;
        const auto answer = m_services.prompts.messageBox(messageTitle(), written.description(),
                                                          Prompts::Icon::Critical, Prompts::Buttons::RetryCancel);
        m_asking = false;
        if (answer != Prompts::Answer::Retry) {
            closeRecording();
            return;
        }
        if (!m_file)
            return; // closed meanwhile
        pending += std::exchange(m_heldBack, QByteArray());
    }
}

} // namespace zorneta
