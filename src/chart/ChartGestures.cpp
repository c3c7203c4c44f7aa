#include "chart/ChartGestures.h"

#include "common/ItemNames.h"
#include "platform/ChartSurface.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

namespace {
using Axis = ChartSurface::Axis;

// Mouse flags of a legend click.
constexpr int LeftWithShift = 5;
constexpr int LeftWithCtrl = 9;
constexpr float LegendFrameWidth = 20.0f;
} // namespace

QString ChartGestures::pointValueText(int point, double value, const QLocale &locale) {
    return QStringLiteral("Значение точки № ") + QString::number(point) + QStringLiteral(" равно ") +
           localeNumberText(value, locale) + QStringLiteral(" оС");
}

ChartGestures::ChartGestures(Services &services, SeriesData &seriesData, QLocale locale)
    : m_services(services), m_seriesData(seriesData), m_locale(std::move(locale)) {
    ChartSurface *chart = &m_services.chart;
    connect(chart, &ChartSurface::chartSelected, this, [this](int) { chartSelected(); });
    connect(chart, &ChartSurface::pointSelected, this, [this](int s, int p, int) { pointSelected(s, p); });
    connect(chart, &ChartSurface::legendSelected, this, &ChartGestures::legendSelected);
    connect(chart, &ChartSurface::legendActivated, this, [this](int) { legendActivated(); });
    connect(chart, &ChartSurface::axisSelected, this, [this](int axis, int) { axisSelected(axis); });
    connect(chart, &ChartSurface::axisLabelSelected, this, [this](int axis, int) { axisLabelSelected(axis); });
    connect(chart, &ChartSurface::chartActivated, this, [this](int) { chartActivated(); });
    connect(chart, &ChartSurface::seriesActivated, this, [this](int, int) { seriesActivated(); });
    connect(chart, &ChartSurface::mouseDown, this, [this](int button, int, const QPoint &) { mouseDown(button); });
}

void ChartGestures::chartSelected() {
    m_services.view.setPointText(choosePointText());
}

void ChartGestures::pointSelected(int series, int point) {
    ChartSurface &chart = m_services.chart;
    // A refused cell still shows whatever the chart's current cell holds.
    (void)chart.setCurrentCell(point, series);
    m_services.view.setPointText(pointValueText(point, chart.currentCellValue(), m_locale));
}

void ChartGestures::legendSelected(int mouseFlags) {
    ChartSurface &chart = m_services.chart;
    ChartSurface::BackdropStyle style = chart.backdrop(ChartSurface::Backdrop::Legend);
    if (mouseFlags == LeftWithShift) {
        style.shadowStyle = 0;
        style.fillStyle = 0;
        style.frameStyle = 0;
    } else if (mouseFlags == LeftWithCtrl) {
        style.shadowStyle = 1;
        style.fillStyle = 1;
        style.frameStyle = 1;
        style.frameWidth = LegendFrameWidth;
    } else {
        return;
    }
    (void)chart.setBackdrop(ChartSurface::Backdrop::Legend, style);
}

void ChartGestures::legendActivated() {
    // The chart only: the stored legend choice stays as it is.
    m_services.chart.setShowLegend(false);
    m_services.view.setItemChecked(menu::ChartLegendOnOff, false);
    m_services.view.setItemChecked(menu::LegendOnOff, false);
}

void ChartGestures::axisSelected(int axisId) {
    if (axisId == static_cast<int>(Axis::X))
        m_services.view.popupMenu(menu::XAxisMenu);
}

void ChartGestures::axisLabelSelected(int axisId) {
    ChartSurface &chart = m_services.chart;
    switch (axisId) {
    case static_cast<int>(Axis::X):
        (void)chart.setAxisScaleHidden(Axis::X, true);
        break;
    case static_cast<int>(Axis::Y):
        (void)chart.setAxisScaleHidden(Axis::X, false);
        (void)chart.setAxisScaleHidden(Axis::Y2, false);
        break;
    case static_cast<int>(Axis::Y2):
        (void)chart.setAxisScaleHidden(Axis::Y2, true);
        break;
    default:
        break;
    }
}

void ChartGestures::chartActivated() {
    (void)m_services.chart.editCopy();
}

void ChartGestures::seriesActivated() {
    m_services.view.showSeriesData(m_seriesData);
}

void ChartGestures::mouseDown(int button) {
    if (button == 2)
        m_services.view.popupMenu(menu::ChartMenu);
}

void ChartGestures::pointTextFocused() {
    m_services.view.setPointText(pointPrompt());
}

void ChartGestures::pointTextDoubleClicked() {
    m_services.view.setPointText(QString());
}

} // namespace zorneta
