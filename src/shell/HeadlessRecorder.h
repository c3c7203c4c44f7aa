#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QIODevice;

namespace zorneta {

class Clock;
class SerialPort;
class TerminalLogic;

// Recording without a window: the main window's own logic (reading handler,
// terminal output, recording file, port toggle, reconnection) run on
// console stand-ins for the window, so the file gets exactly the bytes the
// window would write. What the terminal box would show goes to `out`, the
// status bar's status texts and the message boxes go to `errors`, one line
// each; every question gets the answer that keeps reception going (OK to a
// line error, so a lost port is waited for), except a failing file write,
// which ends the recording.
class HeadlessRecorder : public QObject {
    Q_OBJECT
public:
    // Exit statuses of the recorder.
    static constexpr int Stopped = 0;           // stopped on request
    static constexpr int Failed = 1;            // could not start or go on
    static constexpr int ThermocoupleBreak = 3; // the regulator reported a break; the port is closed

    struct Settings {
        int portNumber = 1;
        QString portSettings; // empty: the default line parameters
        QString recordPath;
        bool reconnect = true;
    };

    HeadlessRecorder(SerialPort &port, Clock &clock, QIODevice &out, QIODevice &errors);
    ~HeadlessRecorder() override;

    // Opens the port and the recording file. False with *error (one line)
    // when either cannot be opened; nothing stays open then.
    bool start(const Settings &settings, QString *error);
    // Closes the port and the recording file; the file is complete.
    void stop();

    TerminalLogic &logic();

Q_SIGNALS:
    // Reception cannot go on (thermocouple break, port lost without
    // reconnection, recording file closed after a failed write).
    void ended(int status);

private:
    void checkStillRecording();

    struct Parts;
    std::unique_ptr<Parts> m_parts;
    bool m_running = false;
};

} // namespace zorneta
