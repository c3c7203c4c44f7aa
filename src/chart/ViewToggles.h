#pragma once

namespace zorneta {

class PersistedSettings;
struct Services;
struct SessionState;

// The digital indicator and legend switches of the "Внешний вид" menu, the
// chart's context menu and the toolbar. Each stores its preference at once.
class ViewToggles {
public:
    ViewToggles(Services &services, SessionState &state, PersistedSettings &settings)
        : m_services(services), m_state(state), m_settings(settings) {}

    // "Цифровой индикатор   Вкл/Выкл": the indicator column and its clear button.
    void toggleIndicator();
    // "Обозначения   Вкл\Выкл" in the context menu: the legend toggle itself.
    void toggleLegend();
    // "Обозначения    &Вкл/Выкл" in the menu bar and the toolbar's "Legend".
    void toggleLegendFromChart() { toggleLegend(); }

    // The indicator shown or hidden as the flag says (the layout pass).
    void applyIndicator();

private:
    Services &m_services;
    SessionState &m_state;
    PersistedSettings &m_settings;
};

} // namespace zorneta
