#include "chart/ViewToggles.h"

#include "session/SessionState.h"
#include "platform/ChartSurface.h"
#include "session/PersistedSettings.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

void ViewToggles::mnuViewIndicator_Click() {
    MainView &view = m_services.view;
    const bool shown = !view.indicatorVisible();
    view.setIndicatorVisible(shown);
    view.setItemChecked(QStringLiteral("mnuViewIndicator"), shown);
    m_state.IndicatorShown = shown;
    m_state.ClearButtonShown = shown;
    view.setClearButtonVisible(shown);
    (void)m_settings.saveBool(Keys::Button, m_state.ClearButtonShown);
    (void)m_settings.saveBool(Keys::Indicator, m_state.IndicatorShown);
}

void ViewToggles::applyIndicator() {
    MainView &view = m_services.view;
    view.setIndicatorVisible(m_state.IndicatorShown);
    view.setItemChecked(QStringLiteral("mnuViewIndicator"), m_state.IndicatorShown);
}

void ViewToggles::mnuShowLegend_Click() {
    ChartSurface &chart = m_services.chart;
    chart.setShowLegend(!chart.ShowLegend());
    const bool shown = chart.ShowLegend();
    m_services.view.setItemChecked(QStringLiteral("mnuShowLegend"), shown);
    m_services.view.setItemChecked(QStringLiteral("mnuLegendShow"), shown);
    m_state.LegendShown = shown;
    (void)m_settings.saveBool(Keys::Legend, shown);
}

} // namespace zorneta
