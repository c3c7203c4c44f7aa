#pragma once

#include "common/Commands.h"

#include <QString>

#include <cstdint>

namespace zorneta {

class PersistedSettings;
struct Services;
struct SessionState;

// The "Цвет" submenu: each command asks for a colour in the colour dialog and
// gives it to one part of the chart or of the digital indicator. A cancelled
// dialog changes nothing. Only the indicator's two colours are stored.
class ColourCommands {
public:
    ColourCommands(Services &services, SessionState &state, PersistedSettings &settings)
        : m_services(services), m_state(state), m_settings(settings) {}

    // Runs a colour command; false for any other command.
    bool run(Command command);

    void chooseXAxisColour();
    void chooseYAxisColour();
    void chooseY2AxisColour();
    void chooseCurveColour();
    void chooseLegendColour();
    void choosePlotColour();
    void chooseChartColour();
    void chooseBackColour();
    void choosePenColour();

private:
    // The colour dialog, opened on the colour chosen last; false on cancel.
    bool chooseColour(std::int32_t *colour);

    Services &m_services;
    SessionState &m_state;
    PersistedSettings &m_settings;
    std::int32_t m_lastChosen = 0;
};

} // namespace zorneta
