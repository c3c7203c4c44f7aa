#pragma once

#include "platform/ChartSurface.h"

namespace zorneta {

struct Services;
struct SessionState;

// How the session's tables become the heating curve: the chart's appearance,
// the periodic update step and the two refresh commands.
class ChartModel {
public:
    ChartModel(Services &services, SessionState &state) : m_services(services), m_state(state) {}

    // Applies the whole appearance: axis pens, hidden scales, legend, the
    // curve's colour and width, X-axis spacing and label font. A refused step
    // is skipped.
    void setupChart(int red, int green, int blue);

    // The update step run after a reading whose number is a multiple of the
    // update period.
    void updateChart();
    void updateChartWhole();
    void updateChartOnlyEnd();
    // The end view's part of the update: EndReadings grown by the update
    // period with its labels and title, the value axis zoomed around the
    // newest reading, EndReadings given to the chart.
    void showEndReadings();

    // The value axis zoomed around the newest reading.
    void setValueRangeAroundNewest();

    // Zoomed range around a value: minimum, maximum and minor divisions.
    struct Range {
        double minimum;
        double maximum;
        int minorDivision; // 0 when it does not fit a 16-bit count
        bool minorFits;
    };
    static Range rangeAround(double value);

    // "Обновить" button: the table again, the appearance again, a redraw.
    void redrawChart();
    // "Обновить" in the context menu: a redraw only.
    void autoScaleValues();

private:
    Services &m_services;
    SessionState &m_state;
};

} // namespace zorneta
