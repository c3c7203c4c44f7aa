#pragma once

#include <QString>

namespace zorneta {

class AcquisitionCore;
class PeriodCommands;
class PortControl;
class TerminalOutput;
struct Services;

// "Начать новый сеанс": the readings in memory are dropped and the curve
// starts afresh, the session clock restarted on request. The port, the
// recording file, the snapshot and the view state stay as they are.
class NewSession {
public:
    NewSession(Services &services, AcquisitionCore &core, PortControl &port, TerminalOutput &output,
               PeriodCommands &periods)
        : m_services(services), m_core(core), m_port(port), m_output(output), m_periods(periods) {}

    // The menu item and the toolbar's "NewSession".
    void startNewSession();

    // Title of both questions.
    static QString questionTitle();
    // The confirmation's text: four paragraphs.
    static QString confirmationText();

private:
    void askRestart();

    Services &m_services;
    AcquisitionCore &m_core;
    PortControl &m_port;
    TerminalOutput &m_output;
    PeriodCommands &m_periods;
};

} // namespace zorneta
