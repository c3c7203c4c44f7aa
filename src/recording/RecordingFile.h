#pragma once

#include <QString>

namespace zorneta {

class RecordWriter;
struct Services;
struct SessionState;

// The recording commands of the main window: choosing the file (and whether
// an existing one is replaced or appended to), closing it, and what the window
// shows of it. Reception writes the file through the RecordWriter.
class RecordingFile {
public:
    RecordingFile(Services &services, SessionState &state, RecordWriter &writer)
        : m_services(services), m_state(state), m_writer(writer) {}

    // Menu "Создать ИЛИ Открыть..." / toolbar "OpenLogFile".
    void openRecording();
    // Menu "Записать И Закрыть..." / toolbar "CloseLogFile"; also at exit and
    // when the user gives up after a write failure.
    void closeRecording();

    // Opens (creating it when missing) a file for recording, appending to
    // what it holds: the open command's last steps, without the dialog. A
    // failure is shown and leaves the program not recording.
    bool openAt(const QString &path, const QString &fileTitle);

    bool isOpen() const;
    QString logFilePath() const;

private:
    void showError(const QString &description);

    Services &m_services;
    SessionState &m_state;
    RecordWriter &m_writer;
};

} // namespace zorneta
