#include "chart/ChartModel.h"

#include "session/SessionState.h"
#include "common/Formats.h"
#include "session/Services.h"

#include <cmath>
#include <limits>

namespace zorneta {

namespace {
using Axis = ChartSurface::Axis;

// Pen width of the three axes and the X-axis label font, fixed for the run.
constexpr float AxisPenWidth = 25.0f;
constexpr int AxisLabelSize = 9;

// Rounds as the pattern "###0" does: to a whole number, halves away from zero.
double roundWhole(double v) {
    return std::round(v);
}
} // namespace

void ChartModel::setupChart(int red, int green, int blue) {
    ChartSurface &chart = m_services.chart;
    (void)chart.setAxisPenWidth(Axis::Y, AxisPenWidth);
    (void)chart.setAxisPenWidth(Axis::Y2, AxisPenWidth);
    (void)chart.setAxisPenWidth(Axis::X, AxisPenWidth);
    (void)chart.setAxisPenColor(Axis::X, 0, 0, 0);
    (void)chart.setAxisScaleHidden(Axis::Y2, m_state.y2AxisHidden);
    (void)chart.setAxisScaleHidden(Axis::X, m_state.xAxisHidden);
    chart.setShowLegend(m_state.legendShown);
    (void)chart.setSeriesPenColor(red, green, blue);
    (void)chart.setSeriesPenWidth(static_cast<float>(m_state.curveWidth));
    (void)chart.setDivisionsPerLabel(m_state.xLabelDivisions);
    (void)chart.setDivisionsPerTick(m_state.xTickDivisions);
    (void)chart.setLabelTick(true);
    (void)chart.setAxisLabelFont(Axis::X, true, AxisLabelSize);
}

void ChartModel::updateChart() {
    if (m_state.onlyEnd)
        updateChartOnlyEnd();
    else
        updateChartWhole();
}

namespace {
void growAndTitle(SessionState &s) {
    ReadingsTable &r = s.readings;
    if (r.growBy(s.updatePeriod))
        (void)r.setText(1, r.lastColumn(), lastColumnLabel(r.lastColumn()));
    // Written only when it differs, so an update does not copy the first
    // block of a long table the chart still shares.
    const QString title = seriesTitleText(s.startTime);
    const Cell current = r.cell(2, 1);
    if (!current.isText() || current.toText() != title)
        (void)r.setText(2, 1, title);
}
} // namespace

void ChartModel::updateChartWhole() {
    growAndTitle(m_state);
    m_services.chart.setChartData(m_state.readings);
    (void)m_services.chart.setCategoryScaleAuto(Axis::Y, true);
}

void ChartModel::updateChartOnlyEnd() {
    showEndReadings();
    growAndTitle(m_state);
}

void ChartModel::showEndReadings() {
    ReadingsTable &end = m_state.endReadings;
    const qint64 first = std::llround(m_state.endStart);
    if (end.resize(first, end.lastColumn() + m_state.updatePeriod))
        (void)end.setText(1, end.lastColumn(), lastColumnLabel(end.lastColumn()));
    (void)end.setText(2, first, QStringLiteral("Только конец"));
    setValueRangeAroundNewest();
    m_services.chart.setChartData(end);
}

ChartModel::Range ChartModel::rangeAround(double value) {
    const double low = roundWhole(value / 1.02);
    const double high0 = roundWhole(value / 0.98);
    // The remainder keeps the sign of its left operand, as C++ '%' does.
    const double remainder = std::fmod(low - high0, 10.0);
    const double high = high0 - remainder;
    const double minor = high - low;
    const bool fits =
        minor >= std::numeric_limits<std::int16_t>::min() && minor <= std::numeric_limits<std::int16_t>::max();
    return Range{low, high, fits ? static_cast<int>(minor) : 0, fits};
}

void ChartModel::setValueRangeAroundNewest() {
    const double v = m_state.readings.number(2, m_state.pointCount);
    const Range range = rangeAround(v);
    ChartSurface::ValueScale scale = m_services.chart.valueScale(Axis::Y);
    scale.automatic = false;
    scale.minimum = range.minimum;
    scale.maximum = range.maximum;
    if (range.minorFits)
        scale.minorDivision = range.minorDivision;
    scale.majorDivision = 1;
    (void)m_services.chart.setValueScale(Axis::Y, scale);
}

void ChartModel::redrawChart() {
    m_services.chart.setChartData(m_state.readings);
    setupChart(m_state.curveRed, m_state.curveGreen, m_state.curveBlue);
    m_services.chart.refresh();
}

void ChartModel::autoScaleValues() {
    m_services.chart.refresh();
}

} // namespace zorneta
