#pragma once

#include <QList>
#include <QPointF>

#include <array>

class QCategoryAxis;
class QChart;
class QLineSeries;
class QValueAxis;

namespace zorneta {

// Which part of the chart a point falls on (in the chart's own coordinates):
// the legend, a drawn point of the curve, an axis line with its tick marks,
// an axis's labels, or the chart itself. It reads the chart as it is drawn
// and changes nothing.
class ChartHitTest {
public:
    // A click this close to a drawn point (in pixels) hits the point.
    static constexpr double HitDistance = 6.0;

    enum class Part { Nothing, Legend, AxisLine, AxisLabels, Point, Chart };
    struct Hit {
        Part what = Part::Nothing;
        int axis = 0;  // 0 X, 1 Y, 2 Y2 (an axis line or its labels)
        int point = 0; // the point number (a point)
    };

    // The chart's parts. The X axis is drawn by two axes, a value axis for
    // the line and tick marks and a category axis for the labels; drawn is
    // the curve as handed to the series (point p at x = p), in order of x.
    struct Chart {
        QChart *chart = nullptr;
        QLineSeries *series = nullptr;
        QValueAxis *xTicks = nullptr;
        QCategoryAxis *xLabels = nullptr;
        QValueAxis *y = nullptr;
        QValueAxis *y2 = nullptr;
        const QList<QPointF> *drawn = nullptr;
        std::array<bool, 3> hidden{}; // by axis: X, Y, Y2
        bool legendShown = true;
    };

    explicit ChartHitTest(const Chart &chart) : m_c(chart) {}

    // The part under `at`: a single click's target.
    Hit partAt(const QPointF &at) const;
    // Whether `at` lies on the curve's stroke, on a point or on a line
    // between two: a double click's target.
    bool onCurve(const QPointF &at) const;

private:
    // How far from the curve's middle line a click still hits it: the
    // curve's half width and a few pixels of slack, never less than HitDistance.
    double tolerance() const;
    int nearestDrawnPoint(const QPointF &at, double maxDistance) const;
    // The drawn point a click on the curve means: the nearest drawn point,
    // or on a stretch of line between two, the nearer end; -1 off the curve.
    int curvePointAt(const QPointF &at, double maxDistance) const;
    bool nearCurve(const QPointF &at, double maxDistance) const;

    Chart m_c;
};

} // namespace zorneta
