#include "review/CurvePlot.h"

#include "common/Formats.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace zorneta {

namespace {
const QColor GridColour(215, 215, 215);
const QColor AlarmColour(230, 130, 0);
const QColor CurveColour(0, 70, 200);
const QColor BreakColour(220, 0, 0);

QFont plotFont(const CurvePlotOptions &options, int pixels) {
    QFont font(options.fontFamily);
    font.setPixelSize(pixels);
    // No ligatures: texts read back from a PDF letter by letter.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// A step of 1, 2 or 5 times a power of ten that cuts span into at most `most` parts.
double niceStep(double span, int most) {
    const double raw = span / most;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0, 10.0}) {
        if (f * power >= raw)
            return f * power;
    }
    return 10.0 * power;
}

qint64 timeStep(double span, bool seconds) {
    static const qint64 fine[] = {1, 2, 5, 10, 15, 30};
    static const qint64 steps[] = {60,   120,   300,   600,   900,   1800,   3600,
                                   7200, 10800, 21600, 43200, 86400, 172800, 604800};
    if (seconds) {
        for (const qint64 s : fine) {
            if (span / double(s) <= 10)
                return s;
        }
    }
    for (const qint64 s : steps) {
        if (qint64(span) / s <= 10)
            return s;
    }
    return qint64(span) / 10 + 1;
}

double span(const CurvePlotOptions &options) {
    return options.to > options.from ? options.to - options.from : 60.0;
}
} // namespace

double plotX(const QRectF &plot, const CurvePlotOptions &options, double seconds) {
    return plot.left() + (seconds - options.from) / span(options) * plot.width();
}

double plotSeconds(const QRectF &plot, const CurvePlotOptions &options, double x) {
    return options.from + (x - plot.left()) / plot.width() * span(options);
}

void paintCurvePlot(QPainter &painter, const QRectF &plot, const FiringRecord &record,
                    const CurvePlotOptions &options) {
    const double t0 = options.from;
    const double t1 = t0 + span(options);
    const QList<CurvePoint> points =
        record.curve(options.run, qint32(std::floor(t0)), qint32(std::ceil(t1)), std::max(1, int(plot.width())));

    // The values' range: the readings on view (and the alarm temperature).
    double low = 0.0, high = 100.0;
    if (!points.isEmpty()) {
        const auto [mn, mx] = std::minmax_element(points.begin(), points.end(),
                                                  [](const auto &a, const auto &b) { return a.value < b.value; });
        low = mn->value;
        high = mx->value;
    }
    if (options.alarm) {
        low = std::min(low, *options.alarm);
        high = std::max(high, *options.alarm);
    }
    if (high - low < 10.0) {
        low -= 5.0;
        high += 5.0;
    }
    const double vStep = niceStep(high - low, 8);
    low = std::floor(low / vStep) * vStep;
    high = std::ceil(high / vStep) * vStep;
    auto xAt = [&](double t) { return plotX(plot, options, t); };
    auto yAt = [&](double v) { return plot.bottom() - (v - low) / (high - low) * plot.height(); };

    // Grid and labels.
    painter.setFont(plotFont(options, options.axisPixels));
    for (double v = low; v <= high + vStep / 2; v += vStep) {
        painter.setPen(QPen(GridColour, 1.0));
        painter.drawLine(QPointF(plot.left(), yAt(v)), QPointF(plot.right(), yAt(v)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 80, yAt(v) - 12, 72, 24), Qt::AlignRight | Qt::AlignVCenter,
                         numberText(std::round(v * 1000.0) / 1000.0));
    }
    const qint64 step = timeStep(t1 - t0, options.secondLabels);
    const bool clock = options.start.isValid();
    const qint64 base = clock ? options.start.toSecsSinceEpoch() + options.start.offsetFromUtc() : 0;
    const bool days = t1 - t0 > 86400;
    const qint64 first = qint64(std::ceil((double(base) + t0) / double(step))) * step - base;
    for (qint64 t = first; t <= qint64(std::floor(t1)); t += step) {
        painter.setPen(QPen(GridColour, 1.0));
        painter.drawLine(QPointF(xAt(double(t)), plot.top()), QPointF(xAt(double(t)), plot.bottom()));
        QString label;
        if (clock) {
            const QDateTime moment = options.start.addSecs(t);
            const QString format = options.secondLabels ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm");
            label = moment.toString(days ? QStringLiteral("dd.MM ") + format : format);
        } else {
            label = options.secondLabels ? spanText(t) : spanText(t).chopped(3);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRectF(xAt(double(t)) - 60, plot.bottom() + 6, 120, 22), Qt::AlignHCenter | Qt::AlignTop,
                         label);
    }
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawRect(plot);
    painter.drawText(QRectF(plot.left() - 80, plot.top() - 34, 200, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("°C"));
    QString axisTitle = QStringLiteral("Время");
    if (!clock)
        axisTitle = options.secondLabels ? QStringLiteral("Время от открытия порта, ч:мин:с")
                                         : QStringLiteral("Время от открытия порта, ч:мин");
    painter.drawText(QRectF(plot.left(), plot.bottom() + 28, plot.width(), 24), Qt::AlignHCenter | Qt::AlignTop,
                     axisTitle);

    if (options.alarm) {
        painter.setPen(QPen(AlarmColour, 1.5, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), yAt(*options.alarm)), QPointF(plot.right(), yAt(*options.alarm)));
    }

    // The curve: a path broken at every thermocouple break.
    QPainterPath path;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF at(xAt(points[i].seconds), yAt(points[i].value));
        if (i == 0 || points[i].gapBefore)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    painter.save();
    painter.setClipRect(plot.adjusted(-2, -2, 2, 2));
    painter.setPen(QPen(CurveColour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    // A lone reading between two breaks is a dot.
    for (qsizetype i = 0; i < points.size(); ++i) {
        const bool alone = (i == 0 || points[i].gapBefore) && (i + 1 == points.size() || points[i + 1].gapBefore);
        if (alone)
            painter.drawPoint(QPointF(xAt(points[i].seconds), yAt(points[i].value)));
    }
    painter.restore();

    // Thermocouple breaks: a red line across the plot and a red mark on top;
    // breaks closer together than a mark's width share one.
    double lastMark = -1e9;
    for (const qint32 t : record.breakTimes(options.run, qint32(std::floor(t0)), qint32(std::ceil(t1)))) {
        const double x = xAt(t);
        if (x - lastMark < 16.0)
            continue;
        lastMark = x;
        painter.setPen(QPen(BreakColour, 2.0, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        QPainterPath mark;
        mark.moveTo(x - 8, plot.top() - 14);
        mark.lineTo(x + 8, plot.top() - 14);
        mark.lineTo(x, plot.top());
        mark.closeSubpath();
        painter.fillPath(mark, BreakColour);
        painter.setPen(BreakColour);
        painter.drawText(QRectF(x + 10, plot.top() - 30, 120, 22), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("обрыв"));
    }
    if (points.isEmpty()) {
        painter.setPen(Qt::black);
        painter.setFont(plotFont(options, options.textPixels));
        painter.drawText(plot, Qt::AlignCenter, QStringLiteral("Нет показаний"));
    }
}

} // namespace zorneta
