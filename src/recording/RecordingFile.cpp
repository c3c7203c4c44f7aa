#include "recording/RecordingFile.h"

#include "common/ItemNames.h"
#include "session/SessionState.h"
#include "common/Cell.h"
#include "platform/Prompts.h"
#include "session/MainView.h"
#include "session/Services.h"
#include "common/SystemErrors.h"

#include <QFileInfo>

#include <sys/stat.h>

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
                showError(fileFailureText(FileAction::Remove, m_path, old.errorString()));
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
        showError(fileFailureText(FileAction::Open, m_path, file->errorString()));
        return false;
    }
    m_file = std::move(file);
    m_state.recording = true;
    MainView &view = m_services.view;
    view.setCaption(QStringLiteral("   Зорнета   -   ") + fileTitle);
    view.setItemEnabled(menu::OpenRecording, false);
    view.setItemEnabled(toolbar::OpenLogFile, false);
    view.setItemEnabled(menu::CloseRecording, true);
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
    view.setItemEnabled(menu::OpenRecording, true);
    view.setItemEnabled(toolbar::OpenLogFile, true);
    view.setItemEnabled(menu::CloseRecording, false);
    view.setItemEnabled(toolbar::CloseLogFile, false);
    view.setCaption(QStringLiteral("   Зорнета"));
}

bool RecordingFile::fileWasRemoved() const {
    struct stat info {};
    return m_file && ::fstat(m_file->handle(), &info) == 0 && info.st_nlink == 0;
}

Status RecordingFile::reopenRemovedFile() {
    auto reopened = std::make_unique<QFile>(m_path);
    if (!reopened->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return Status::failure(fileFailureText(FileAction::Open, m_path, reopened->errorString()));
    // The removed file still lives behind the open handle: its records go
    // into the new file first, so that nothing recorded so far is lost. (Where
    // /proc cannot give it back, the new file starts empty.)
    const qint64 startSize = reopened->size();
    QFile removed(QStringLiteral("/proc/self/fd/%1").arg(m_file->handle()));
    if (removed.open(QIODevice::ReadOnly)) {
        while (!removed.atEnd()) {
            const QByteArray chunk = removed.read(64 * 1024);
            if (chunk.isEmpty())
                break;
            if (reopened->write(chunk) != chunk.size()) {
                const QString error = fileFailureText(FileAction::Write, m_path, reopened->errorString());
                // Tried again on the next Retry, from the start.
                (void)reopened->resize(startSize);
                return Status::failure(error);
            }
        }
    }
    m_file->close();
    m_file = std::move(reopened);
    return Status::ok();
}

Status RecordingFile::append(const QByteArray &bytes, qint64 *written) {
    qint64 done = 0;
    if (written)
        *written = 0;
    if (!m_file)
        return Status::failure(QStringLiteral("Файл записи не открыт"));
    // Writing on into a removed file (or one in a removed folder) would lose
    // everything once the file is closed.
    if (fileWasRemoved())
        return Status::failure(QStringLiteral("Не удалось записать в файл ") + m_path +
                               QStringLiteral(": файл или его папка удалены"));
    while (done < bytes.size()) {
        const qint64 n = m_file->write(bytes.constData() + done, bytes.size() - done);
        if (n > 0 && written)
            *written = done + n;
        if (n <= 0) {
            const QString error = m_file->errorString();
            m_file->unsetError();
            return Status::failure(fileFailureText(FileAction::Write, m_path, error));
        }
        done += n;
    }
    return Status::ok();
}

bool RecordingFile::askRetry(const QString &description) {
    m_asking = true;
    const auto answer = m_services.prompts.messageBox(messageTitle(), description, Prompts::Icon::Critical,
                                                      Prompts::Buttons::RetryCancel);
    m_asking = false;
    if (answer != Prompts::Answer::Retry) {
        closeRecording();
        return false;
    }
    return m_file != nullptr; // not closed meanwhile
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
        if (!askRetry(written.description()))
            return;
        // A removed file is made again where it was, once its folder is back.
        while (fileWasRemoved()) {
            const Status reopened = reopenRemovedFile();
            if (reopened)
                break;
            if (!askRetry(reopened.description()))
                return;
        }
        pending += std::exchange(m_heldBack, QByteArray());
    }
}

} // namespace zorneta
