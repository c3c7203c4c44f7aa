#pragma once

#include "review/FiringRecord.h"

#include <QDateTime>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

namespace zorneta {

// What a plot of a run's curve shows: the stretch of elapsed time, the clock
// time the run's stamps count from (invalid: elapsed times on the axis), the
// alarm temperature as a dashed line, and the text sizes.
struct CurvePlotOptions {
    int run = 1;
    double from = 0.0;
    double to = 0.0;
    QDateTime start;
    std::optional<double> alarm;
    QString fontFamily;
    int axisPixels = 15;
    int textPixels = 19;
    // Time labels to the second ("hh:nn:ss"), for a stretch of any width;
    // otherwise to the minute, a minute apart at the least (the report).
    bool secondLabels = false;
};

// Paints the curve of a run between two elapsed times into `plot`, thinned
// to two points a column: a grid, the °C axis at the left, the time axis
// below, the curve, and at each thermocouple break a gap, a dashed red line
// and a red mark above the plot (never a temperature). Labels are painted
// outside the rectangle: 80 units to the left, 56 below, 34 above.
void paintCurvePlot(QPainter &painter, const QRectF &plot, const FiringRecord &record, const CurvePlotOptions &options);

// Where a moment lies across the plot and back (elapsed seconds ↔ x).
double plotX(const QRectF &plot, const CurvePlotOptions &options, double seconds);
double plotSeconds(const QRectF &plot, const CurvePlotOptions &options, double x);

} // namespace zorneta
