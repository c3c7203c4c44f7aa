#include "platform/qt/ChartHitTest.h"

#include <QFontMetricsF>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace zorneta {

namespace {

// Space a click below or beside the plot area is taken as the axis line and
// its tick marks, before the labels begin.
constexpr double AxisLineBand = 6.0;

double segmentDistance(const QPointF &p, const QPointF &a, const QPointF &b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0.0 ? QPointF::dotProduct(p - a, ab) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

} // namespace

ChartHitTest::Hit ChartHitTest::partAt(const QPointF &at) const {
    const QList<QPointF> &drawn = *m_c.drawn;
    Hit hit;
    hit.what = Part::Chart;
    const QLegend *legend = m_c.chart->legend();
    if (m_c.legendShown && legend->isVisible() && legend->geometry().contains(at)) {
        hit.what = Part::Legend;
        return hit;
    }
    const QRectF plot = m_c.chart->plotArea();
    const int index = curvePointAt(at, tolerance());
    if (index >= 0) {
        hit.what = Part::Point;
        hit.point = static_cast<int>(std::lround(drawn[index].x()));
        return hit;
    }
    if (plot.contains(at))
        return hit;

    // Beside the plot area: the axis line and its tick marks, then the labels,
    // then (for Y) the title.
    auto side = [&](int axis, double distance, double labelsExtent, double titleExtent) {
        if (distance <= AxisLineBand) {
            hit.what = Part::AxisLine;
            hit.axis = axis;
        } else if (distance <= AxisLineBand + labelsExtent) {
            hit.what = Part::AxisLabels;
            hit.axis = axis;
        } else if (distance <= AxisLineBand + labelsExtent + titleExtent) {
            hit.what = Part::AxisLine;
            hit.axis = axis;
        }
    };
    auto valueLabelsWidth = [&](const QValueAxis *axis) {
        const QFontMetricsF metrics(axis->labelsFont());
        double widest = 0.0;
        const int ticks = std::max(2, axis->tickCount());
        for (int i = 0; i < ticks; ++i) {
            const double v = axis->min() + (axis->max() - axis->min()) * i / (ticks - 1);
            widest = std::max(widest, metrics.horizontalAdvance(QString::number(v, 'g', 6)));
        }
        return widest + 6.0;
    };
    const double slack = 8.0;
    if (at.y() > plot.bottom() && at.x() >= plot.left() - slack && at.x() <= plot.right() + slack) {
        if (!m_c.hidden[0]) {
            const QFontMetricsF metrics(m_c.xLabels->labelsFont());
            side(0, at.y() - plot.bottom(), metrics.height() + 6.0, 0.0);
        }
    } else if (at.x() < plot.left() && at.y() >= plot.top() - slack && at.y() <= plot.bottom() + slack) {
        if (!m_c.hidden[1]) {
            const double title = m_c.y->isTitleVisible() && !m_c.y->titleText().isEmpty()
                                     ? QFontMetricsF(m_c.y->titleFont()).height() + 6.0
                                     : 0.0;
            side(1, plot.left() - at.x(), valueLabelsWidth(m_c.y), title);
        }
    } else if (at.x() > plot.right() && at.y() >= plot.top() - slack && at.y() <= plot.bottom() + slack) {
        if (!m_c.hidden[2])
            side(2, at.x() - plot.right(), valueLabelsWidth(m_c.y2), 0.0);
    }
    return hit;
}

int ChartHitTest::nearestDrawnPoint(const QPointF &at, double maxDistance) const {
    const QList<QPointF> &drawn = *m_c.drawn;
    if (drawn.isEmpty() || !m_c.series)
        return -1;
    // Points outside the plot area are clipped away: they cannot be hit.
    const QRectF plot = m_c.chart->plotArea();
    const QRectF drawnArea = plot.adjusted(-1.0, -1.0, 1.0, 1.0);
    if (plot.width() <= 0.0 || !plot.adjusted(-maxDistance, -maxDistance, maxDistance, maxDistance).contains(at))
        return -1;
    const double perPixel = (m_c.xTicks->max() - m_c.xTicks->min()) / plot.width();
    const double x = m_c.chart->mapToValue(at, m_c.series).x();
    const double from = x - maxDistance * perPixel;
    const double to = x + maxDistance * perPixel;
    auto it = std::lower_bound(drawn.cbegin(), drawn.cend(), from,
                               [](const QPointF &p, double value) { return p.x() < value; });
    int best = -1;
    double bestDistance = maxDistance;
    for (; it != drawn.cend() && it->x() <= to; ++it) {
        const QPointF position = m_c.chart->mapToPosition(*it, m_c.series);
        if (!drawnArea.contains(position))
            continue;
        const double distance = std::hypot(position.x() - at.x(), position.y() - at.y());
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(it - drawn.cbegin());
        }
    }
    return best;
}

double ChartHitTest::tolerance() const {
    const double halfWidth = m_c.series ? m_c.series->pen().widthF() / 2.0 : 0.0;
    return std::max(HitDistance, halfWidth + 3.0);
}

int ChartHitTest::curvePointAt(const QPointF &at, double maxDistance) const {
    const QList<QPointF> &drawn = *m_c.drawn;
    const int nearest = nearestDrawnPoint(at, maxDistance);
    if (nearest >= 0 || drawn.size() < 2 || !m_c.series)
        return nearest;
    // Between drawn points (few readings spread wide): the stretch of line
    // under the click, and of its two ends the one nearer along the line.
    const QRectF plot = m_c.chart->plotArea();
    if (plot.width() <= 0.0 || !plot.contains(at))
        return -1;
    const double x = m_c.chart->mapToValue(at, m_c.series).x();
    auto it =
        std::lower_bound(drawn.cbegin(), drawn.cend(), x, [](const QPointF &p, double value) { return p.x() < value; });
    if (it == drawn.cbegin() || it == drawn.cend())
        return -1;
    const QPointF a = m_c.chart->mapToPosition(*(it - 1), m_c.series);
    const QPointF b = m_c.chart->mapToPosition(*it, m_c.series);
    if (segmentDistance(at, a, b) > maxDistance)
        return -1;
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double along = length2 > 0.0 ? QPointF::dotProduct(at - a, ab) / length2 : 0.0;
    const auto right = static_cast<int>(it - drawn.cbegin());
    return along < 0.5 ? right - 1 : right;
}

bool ChartHitTest::nearCurve(const QPointF &at, double maxDistance) const {
    const QList<QPointF> &drawn = *m_c.drawn;
    if (nearestDrawnPoint(at, maxDistance) >= 0)
        return true;
    if (drawn.size() < 2 || !m_c.series)
        return false;
    const QRectF plot = m_c.chart->plotArea();
    if (plot.width() <= 0.0 || !plot.contains(at))
        return false;
    const double perPixel = (m_c.xTicks->max() - m_c.xTicks->min()) / plot.width();
    const double x = m_c.chart->mapToValue(at, m_c.series).x();
    const double from = x - maxDistance * perPixel;
    const double to = x + maxDistance * perPixel;
    auto it = std::lower_bound(drawn.cbegin(), drawn.cend(), from,
                               [](const QPointF &p, double value) { return p.x() < value; });
    // The segment reaching into the window from the left counts too.
    if (it != drawn.cbegin())
        --it;
    for (; it + 1 != drawn.cend() && it->x() <= to; ++it) {
        const QPointF a = m_c.chart->mapToPosition(*it, m_c.series);
        const QPointF b = m_c.chart->mapToPosition(*(it + 1), m_c.series);
        if (segmentDistance(at, a, b) <= maxDistance)
            return true;
    }
    return false;
}

bool ChartHitTest::onCurve(const QPointF &at) const {
    return nearCurve(at, tolerance());
}

} // namespace zorneta
