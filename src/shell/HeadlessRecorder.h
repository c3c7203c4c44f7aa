#pragma once

#include "acquisition/AcquisitionCore.h"

#include <QObject>
#include <QString>

class QIODevice;

namespace zorneta {

class Clock;
class SerialPort;

// Recording without a window: the acquisition core the main window uses, with
// the console as its presenter, so the file gets exactly the bytes the window
// would write. What the terminal box would show goes to `out`, the status and
// the messages go to `errors`, one line each, starting "zorneta:". Reception
// goes on through line errors (a lost port is waited for); a thermocouple
// break, a lost port without reconnection, or a recording file that can no
// longer be written ends it.
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
    // Opens the recording file again by its name (after logrotate moved it
    // away); says on standard error what became of it.
    void reopenRecord();

    AcquisitionCore &core() { return m_core; }

Q_SIGNALS:
    // Reception cannot go on (thermocouple break, port lost without
    // reconnection, recording file no longer writable).
    void ended(int status);

private:
    void say(const QString &text);
    void sayStatus(const QString &text);
    void print(const QByteArray &line);
    void showFault(const QString &text, const QDateTime &at);
    void end(int status);

    AcquisitionCore m_core;
    QIODevice &m_out;
    QIODevice &m_errors;
    QString m_status;
    bool m_afterCr = false;
    bool m_running = false;
    bool m_outGone = false;
    bool m_errorsGone = false;
};

} // namespace zorneta
