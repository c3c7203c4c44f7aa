#pragma once

#include <QString>

namespace zorneta {

class ChartModel;
class PortControl;
class TerminalOutput;
struct Services;
struct SessionState;

// The communications event handler: every event of the serial port passes
// the read-period gate, becomes a reading (or a reported line fault), is
// stored, checked for a thermocouple break and the alarm temperature, drawn
// at the update period and shown in the terminal box.
//
// A step that fails (a table cell outside the table, a chart call refused) is
// skipped and the handler goes on with the next one.
class ReadingPipeline {
public:
    ReadingPipeline(Services &services, SessionState &state, PortControl &port, ChartModel &chart,
                    TerminalOutput &output)
        : m_services(services), m_state(state), m_port(port), m_chart(chart), m_output(output) {}

    void MSComm1_OnComm();

    // Description of a line event code; empty for data received.
    static QString EventTextFor(int code);

    // Thermocouple-break reading.
    static constexpr double BreakValue = 9999.0;
    // The alarm fires at most this many times per set temperature.
    static constexpr int MaxAlarms = 3;

private:
    void storeReading(double value);
    void reportEvent();
    void adaptXSpacing();

    Services &m_services;
    SessionState &m_state;
    PortControl &m_port;
    ChartModel &m_chart;
    TerminalOutput &m_output;
    // An error question is open: further faults only update the status.
    bool m_errorQuestionOpen = false;
};

} // namespace zorneta
