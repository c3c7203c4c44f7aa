#include "chart/ViewToggles.h"

#include "common/ItemNames.h"
#include "session/SessionState.h"
#include "platform/ChartSurface.h"
#include "session/PersistedSettings.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

void ViewToggles::toggleIndicator() {
    MainView &view = m_services.view;
    const bool shown = !view.indicatorVisible();
    view.setIndicatorVisible(shown);
    view.setItemChecked(menu::IndicatorOnOff, shown);
    m_state.indicatorShown = shown;
    m_state.clearButtonShown = shown;
    view.setClearButtonVisible(shown);
    (void)m_settings.saveBool(Keys::Button, m_state.clearButtonShown);
    (void)m_settings.saveBool(Keys::Indicator, m_state.indicatorShown);
}

void ViewToggles::applyIndicator() {
    MainView &view = m_services.view;
    view.setIndicatorVisible(m_state.indicatorShown);
    view.setItemChecked(menu::IndicatorOnOff, m_state.indicatorShown);
}

void ViewToggles::toggleLegend() {
    ChartSurface &chart = m_services.chart;
    chart.setShowLegend(!chart.showLegend());
    const bool shown = chart.showLegend();
    m_services.view.setItemChecked(menu::ChartLegendOnOff, shown);
    m_services.view.setItemChecked(menu::LegendOnOff, shown);
    m_state.legendShown = shown;
    (void)m_settings.saveBool(Keys::Legend, shown);
}

} // namespace zorneta
