#pragma once

#include "acquisition/PortReconnect.h"
#include "acquisition/ReadingPipeline.h"
#include "platform/Status.h"
#include "recording/RecordWriter.h"
#include "session/SessionState.h"

#include <QObject>

namespace zorneta {

class Clock;
class SerialPort;

// Acquisition without any window: the serial port, the reading pipeline, the
// state of the session, the recording file and reconnection. The main window's
// logic and the recorder without a window both compose it and present what it
// reports, each in its own way.
//
// The road of one line: the port hands it over (lineReceived) → the pipeline
// records it into the file, shows it (lineShown), and stores, checks and
// counts it → outcomes for the presenters.
class AcquisitionCore : public QObject {
    Q_OBJECT
public:
    AcquisitionCore(SerialPort &port, Clock &clock);

    SerialPort &port() { return m_port; }
    Clock &clock() { return m_clock; }
    SessionState &state() { return m_state; }
    ReadingPipeline &pipeline() { return m_pipeline; }
    RecordWriter &record() { return m_record; }
    PortReconnect &reconnect() { return m_reconnect; }

    // Opens the port and starts reception: a lost line is waited for from now
    // on, and the reading before the next one is forgotten by the alarm.
    Status openPort();
    // Ends reception on purpose: nothing is waited for any more, and the port
    // closes, handing over what it received (a line without its end too).
    void closePort();
    // The elapsed time of the session counts from now.
    void startTiming();

Q_SIGNALS:
    // A thermocouple break ended reception; `closed` when the port (or the
    // waiting for it) was still on and has been closed for it.
    void thermocoupleBreak(bool closed);

private:
    void breakSeen();

    SerialPort &m_port;
    Clock &m_clock;
    SessionState m_state;
    RecordWriter m_record;
    ReadingPipeline m_pipeline;
    PortReconnect m_reconnect;
};

} // namespace zorneta
