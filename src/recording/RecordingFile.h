#pragma once

#include "platform/Status.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace zorneta {

struct Services;
struct SessionState;

// The data recording file: everything received while it is open is appended
// to it as stamped lines (see TerminalOutput), written straight through to the
// operating system so that nothing is lost when the program is killed.
class RecordingFile {
public:
    RecordingFile(Services &services, SessionState &state);
    ~RecordingFile();

    // Menu "Создать ИЛИ Открыть..." / toolbar "OpenLogFile".
    void openRecording();
    // Menu "Записать И Закрыть..." / toolbar "CloseLogFile"; also at exit and
    // after a write failure.
    void closeRecording();

    // Opens (creating it when missing) a file for recording, appending to
    // what it holds: the open command's last steps, without the dialog. A
    // failure is shown and leaves the program not recording.
    bool openAt(const QString &path, const QString &fileTitle);

    bool isOpen() const { return m_file != nullptr; }
    QString logFilePath() const { return m_path; }

    // Appends bytes at the end of the file; on failure returns the system's
    // error text, and *written tells how many bytes did reach the file.
    Status append(const QByteArray &bytes, qint64 *written = nullptr);

    // Writes a record, asking Retry/Cancel while the write fails; Cancel
    // closes the file. Does nothing when no file is open.
    void writeRecord(const QByteArray &bytes);

private:
    void showError(const QString &description);
    // Asks Retry/Cancel about a failed write; Cancel closes the file. True
    // when the write is to be tried again.
    bool askRetry(const QString &description);
    // True when the open file has been deleted (alone or with its folder).
    bool fileWasRemoved() const;
    // Creates the file again at its path with what the removed one held.
    Status reopenRemovedFile();

    Services &m_services;
    SessionState &m_state;
    std::unique_ptr<QFile> m_file;
    QString m_path;
    // Records that arrived while a write-failure question was open.
    QByteArray m_heldBack;
    bool m_asking = false;
};

} // namespace zorneta
