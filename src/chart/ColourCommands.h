#pragma once

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

    // Runs the colour command of a menu item; false for any other name.
    bool run(const QString &name);

    void mnuColorX_Click();
    void mnuAxisYColor_Click();
    void mnuAxisY2Color_Click();
    void mnuCurveColor_Click();
    void mnuLegendColor_Click();
    void mnuPlotColor_Click();
    void mnuChartColor_Click();
    void mnuBackColor_Click();
    void mnuPenColor_Click();

private:
    // The colour dialog, opened on the colour chosen last; false on cancel.
    bool chooseColour(std::int32_t *colour);

    Services &m_services;
    SessionState &m_state;
    PersistedSettings &m_settings;
    std::int32_t m_lastChosen = 0;
};

} // namespace zorneta
