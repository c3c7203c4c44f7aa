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

void ChartModel::SetupChart(int red, int green, int blue) {
    ChartSurface &chart = m_services.chart;
    (void)chart.setAxisPenWidth(Axis::Y, AxisPenWidth);
    (void)chart.setAxisPenWidth(Axis::Y2, AxisPenWidth);
    (void)chart.setAxisPenWidth(Axis::X, AxisPenWidth);
    (void)chart.setAxisPenColor(Axis::X, 0, 0, 0);
    (void)chart.setAxisScaleHidden(Axis::Y2, m_state.Y2AxisHidden);
    (void)chart.setAxisScaleHidden(Axis::X, m_state.XAxisHidden);
    chart.setShowLegend(m_state.LegendShown);
    (void)chart.setSeriesPenColor(red, green, blue);
    (void)chart.setSeriesPenWidth(static_cast<float>(m_state.CurveWidth));
    (void)chart.setDivisionsPerLabel(m_state.XLabelDivisions);
    (void)chart.setDivisionsPerTick(m_state.XTickDivisions);
    (void)chart.setLabelTick(true);
    (void)chart.setAxisLabelFont(Axis::X, true, AxisLabelSize);
}

void ChartModel::UpdateChart() {
    if (m_state.OnlyEnd)
        UpdateChartOnlyEnd();
    else
        UpdateChartWhole();
}

namespace {
void growAndTitle(SessionState &s) {
    ReadingsTable &r = s.Readings;
    if (r.growBy(s.UpdatePeriod))
        (void)r.setText(1, r.lastColumn(), LastColumnLabel(r.lastColumn()));
    // Written only when it differs, so an update does not copy the first
    // block of a long table the chart still shares.
    const QString title = SeriesTitleText(s.StartTime);
    const Cell current = r.cell(2, 1);
    if (!current.isText() || current.toText() != title)
        (void)r.setText(2, 1, title);
}
} // namespace

void ChartModel::UpdateChartWhole() {
    growAndTitle(m_state);
    m_services.chart.setChartData(m_state.Readings);
    (void)m_services.chart.setCategoryScaleAuto(Axis::Y, true);
}

void ChartModel::UpdateChartOnlyEnd() {
    ShowEndReadings();
    growAndTitle(m_state);
}

void ChartModel::ShowEndReadings() {
    ReadingsTable &end = m_state.EndReadings;
    const qint64 first = std::llround(m_state.EndStart);
    if (end.resize(first, end.lastColumn() + m_state.UpdatePeriod))
        (void)end.setText(1, end.lastColumn(), LastColumnLabel(end.lastColumn()));
    (void)end.setText(2, first, QStringLiteral("Только конец"));
    SetValueRangeAroundNewest();
    m_services.chart.setChartData(end);
}

ChartModel::Range ChartModel::RangeAround(double value) {
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

void ChartModel::SetValueRangeAroundNewest() {
    const double v = m_state.Readings.number(2, m_state.PointCount);
    const Range range = RangeAround(v);
    ChartSurface::ValueScale scale = m_services.chart.valueScale(Axis::Y);
    scale.automatic = false;
    scale.minimum = range.minimum;
    scale.maximum = range.maximum;
    if (range.minorFits)
        scale.minorDivision = range.minorDivision;
    scale.majorDivision = 1;
    (void)m_services.chart.setValueScale(Axis::Y, scale);
}

void ChartModel::cmdNew_Click() {
    m_services.chart.setChartData(m_state.Readings);
    SetupChart(m_state.CurveRed, m_state.CurveGreen, m_state.CurveBlue);
    m_services.chart.Refresh();
}

void ChartModel::mnuRefresh_Click() {
    m_services.chart.Refresh();
}

} // namespace zorneta
