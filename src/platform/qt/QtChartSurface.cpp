#include "platform/qt/QtChartSurface.h"

#include "common/ChartDataText.h"
#include "platform/qt/ChartHitTest.h"
#include "platform/qt/FramePacer.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QSet>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace zorneta {

namespace {

const QColor DesignCurveColour(0, 0, 128);
const QColor GridColour(225, 225, 225);
constexpr double AxisPenWidth = 25.0;
constexpr double CurvePenWidth = 40.0;
// The smallest gap between two X tick marks.
constexpr double MinTickSpacing = 8.0;
// How far (in pixels) the X axes may reach past the newest point. Moving the
// axes makes Qt Charts lay out both X axes and the whole curve again, so on a
// long session they are moved a few points ahead at a time, never by more
// than this, and only in whole points: while a point is wider than this the
// axes end exactly at the last point.
constexpr double MaxAxisLead = 0.25;

// Texts of refusals met in several places.
const QString ChartClosed = QStringLiteral("Окно графика уже закрыто.");
const QString BadColour = QStringLiteral("Каждая составляющая цвета должна быть от 0 до 255.");
const QString OneSeries = QStringLiteral("На графике только один ряд данных, его номер 1.");
const QString ClipboardUnavailable = QStringLiteral("Буфер обмена недоступен. График не изменён.");

bool validColour(int red, int green, int blue) {
    return red >= 0 && red <= 255 && green >= 0 && green <= 255 && blue >= 0 && blue <= 255;
}

// The smallest of 1, 2, 5, 10, 20, 50... that is at least the given count.
qint64 roundStride(qint64 atLeast) {
    if (atLeast <= 1)
        return 1;
    qint64 decade = 1;
    for (;;) {
        for (const qint64 step : {qint64(1), qint64(2), qint64(5)}) {
            if (step * decade >= atLeast)
                return step * decade;
        }
        decade *= 10;
    }
}

qint64 ceilDiv(qint64 a, qint64 b) {
    return (a + b - 1) / b;
}

// A value range around the data, widened a little and rounded to a step of
// 1, 2, 2.5 or 5 times a power of ten, with about eight divisions.
ChartSurface::ValueScale roundedScale(double low, double high) {
    ChartSurface::ValueScale scale;
    double span = high - low;
    double from = low;
    double to = high;
    if (span <= 0.0) {
        span = std::max(1.0, std::fabs(high) * 0.1);
        from = low - span / 2.0;
        to = high + span / 2.0;
    } else {
        from = low - span * 0.05;
        to = high + span * 0.05;
    }
    // Temperatures read as positive stay above zero.
    if (low >= 0.0 && from < 0.0)
        from = 0.0;
    const double raw = (to - from) / 8.0;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10.0 * decade;
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
        if (m * decade >= raw) {
            step = m * decade;
            break;
        }
    }
    scale.automatic = true;
    scale.minimum = std::floor(from / step) * step;
    scale.maximum = std::ceil(to / step) * step;
    if (scale.maximum <= scale.minimum)
        scale.maximum = scale.minimum + step;
    scale.majorDivision = std::max(1, static_cast<int>(std::lround((scale.maximum - scale.minimum) / step)));
    scale.minorDivision = 1;
    return scale;
}

} // namespace

// The chart view, passing mouse presses and double clicks to its surface.
class QtChartSurface::View : public QChartView {
public:
    View(QChart *chart, QtChartSurface *owner, QWidget *parent) : QChartView(chart, parent), m_owner(owner) {}

    void detach() { m_owner = nullptr; }
    bool busy() const { return m_depth > 0; }

protected:
    bool viewportEvent(QEvent *event) override {
        if (event->type() != QEvent::Paint)
            return QChartView::viewportEvent(event);
        QElapsedTimer painting;
        painting.start();
        const bool done = QChartView::viewportEvent(event);
        if (m_owner)
            m_owner->m_paintNanos = painting.nsecsElapsed();
        return done;
    }
    void mousePressEvent(QMouseEvent *event) override {
        ++m_depth;
        if (m_owner)
            m_owner->mousePress(event);
        --m_depth;
        QChartView::mousePressEvent(event);
        // The chart takes every click on it.
        event->accept();
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override {
        ++m_depth;
        if (m_owner)
            m_owner->mouseDoubleClick(event);
        --m_depth;
        QChartView::mouseDoubleClickEvent(event);
        event->accept();
    }
    void mouseMoveEvent(QMouseEvent *event) override {
        if (m_owner)
            m_owner->mouseMove(event);
        QChartView::mouseMoveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override {
        if (m_owner)
            m_owner->mouseRelease(event);
        QChartView::mouseReleaseEvent(event);
    }
    void wheelEvent(QWheelEvent *event) override {
        if (m_owner && m_owner->wheel(event))
            event->accept();
        else
            QChartView::wheelEvent(event);
    }
    void keyPressEvent(QKeyEvent *event) override {
        if (m_owner && m_owner->keyPress(event))
            event->accept();
        else
            QChartView::keyPressEvent(event);
    }
    void leaveEvent(QEvent *event) override {
        if (m_owner)
            m_owner->pointerLeft();
        QChartView::leaveEvent(event);
    }

private:
    QtChartSurface *m_owner;
    int m_depth = 0;
};

QtChartSurface::QtChartSurface(QWidget *viewParent) {
    m_chart = new QChart;
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setBackgroundRoundness(0);
    m_chart->setBackgroundVisible(true);
    m_chart->setBackgroundBrush(Qt::white);
    m_chart->setBackgroundPen(Qt::NoPen);
    m_chart->legend()->setAlignment(Qt::AlignTop);
    m_chart->legend()->setVisible(true);

    m_series = new QLineSeries;
    m_series->setUseOpenGL(false);
    QPen curve(DesignCurveColour);
    curve.setWidthF(penPixels(CurvePenWidth));
    // The series draws its segments one by one. Square ends close the gaps
    // between them as round ones would, and keep a wide pen on the painter's
    // fast path for solid lines (round ends make it outline every segment,
    // several times the cost of the whole frame).
    curve.setCapStyle(Qt::SquareCap);
    curve.setJoinStyle(Qt::MiterJoin);
    m_series->setPen(curve);
    m_chart->addSeries(m_series);

    QPen axisPen(Qt::black);
    axisPen.setWidthF(penPixels(AxisPenWidth));

    // The X axis: line, ticks and grid here, the labels on the category axis
    // added right after it, so they are drawn just under the tick marks.
    m_xTicks = new QValueAxis;
    m_xTicks->setLabelsVisible(false);
    // A format without any number in it: the labels are empty, so Qt Charts
    // does not measure and fit up to MaxXTicks hidden labels on every change
    // of the range (which would cost milliseconds an update).
    m_xTicks->setLabelFormat(QStringLiteral("-"));
    m_xTicks->setRange(0.5, 1.5);
    m_xTicks->setTickInterval(1.0);
    m_xTicks->setTickType(QValueAxis::TicksDynamic);
    m_xTicks->setLinePen(axisPen);
    m_xTicks->setGridLineColor(GridColour);
    m_xTicks->setMinorGridLineVisible(false);
    m_xLabels = new QCategoryAxis;
    m_xLabels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_xLabels->setLineVisible(false);
    m_xLabels->setGridLineVisible(false);
    m_xLabels->setMinorGridLineVisible(false);

    m_y = new QValueAxis;
    m_y->setTitleText(QStringLiteral("°C"));
    m_y->setLabelFormat(QStringLiteral("%g"));
    m_y->setLinePen(axisPen);
    m_y->setGridLineColor(GridColour);
    m_y2 = new QValueAxis;
    m_y2->setLabelFormat(QStringLiteral("%g"));
    m_y2->setLinePen(axisPen);
    m_y2->setGridLineVisible(false);
    m_y2->setMinorGridLineVisible(false);
    m_y2->setVisible(!m_hidden[int(Axis::Y2)]);

    m_chart->addAxis(m_xTicks, Qt::AlignBottom);
    m_chart->addAxis(m_xLabels, Qt::AlignBottom);
    m_chart->addAxis(m_y, Qt::AlignLeft);
    m_chart->addAxis(m_y2, Qt::AlignRight);
    m_series->attachAxis(m_xTicks);
    m_series->attachAxis(m_y);

    auto *view = new View(m_chart, this, viewParent);
    view->setObjectName(QStringLiteral("MSChart1"));
    view->setAccessibleName(QStringLiteral("График"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setBackgroundBrush(Qt::white);
    view->setFrameShape(QFrame::NoFrame);
    view->setRubberBand(QChartView::NoRubberBand);
    view->setMouseTracking(true);
    view->viewport()->setMouseTracking(true);
    m_view = view;

    // The crosshair and its readout, over everything else on the chart.
    QPen cross(QColor(90, 90, 90));
    cross.setStyle(Qt::DashLine);
    cross.setWidthF(1.0);
    m_crossLine = new QGraphicsLineItem(m_chart);
    m_crossLine->setPen(cross);
    m_crossLine->setZValue(1000.0);
    m_crossDot = new QGraphicsEllipseItem(-4.0, -4.0, 8.0, 8.0, m_chart);
    m_crossDot->setPen(QPen(QColor(90, 90, 90)));
    m_crossDot->setBrush(Qt::white);
    m_crossDot->setZValue(1001.0);
    m_readoutBox = new QGraphicsRectItem(m_chart);
    m_readoutBox->setPen(QPen(QColor(160, 160, 160)));
    m_readoutBox->setBrush(QColor(255, 255, 225));
    m_readoutBox->setZValue(1002.0);
    m_readoutText = new QGraphicsSimpleTextItem(m_readoutBox);
    hideCrosshair();

    m_pacer = new FramePacer(view, this);
    m_pacer->setSpacingPerCost(FrameSpacingPerCost);
    connect(m_pacer, &FramePacer::frameDue, this, &QtChartSurface::drawFrame);

    // The view paints what the scene reports changed, narrowed to the strip
    // that really changed when a frame only moved the newest end of the curve.
    view->setViewportUpdateMode(QGraphicsView::NoViewportUpdate);
    connect(view->scene(), &QGraphicsScene::changed, this, &QtChartSurface::onSceneChanged);
    connect(m_chart, &QChart::plotAreaChanged, this, &QtChartSurface::onPlotAreaChanged);
    connect(view, &QObject::destroyed, this, &QtChartSurface::forgetView);

    showTable();
}

QtChartSurface::~QtChartSurface() {
    if (!m_view)
        return;
    auto *view = static_cast<View *>(m_view.data());
    view->detach();
    // A slot of a mouse signal may drop the surface while the view is still
    // in its event handler: then the view goes once that handler is done.
    if (view->busy()) {
        view->hide();
        view->deleteLater();
    } else {
        delete view;
    }
}

void QtChartSurface::forgetView() {
    m_chart = nullptr;
    m_series = nullptr;
    m_xTicks = nullptr;
    m_xLabels = nullptr;
    m_y = nullptr;
    m_y2 = nullptr;
    m_crossLine = nullptr;
    m_crossDot = nullptr;
    m_readoutBox = nullptr;
    m_readoutText = nullptr;
}

QWidget *QtChartSurface::widget() const {
    return m_view.data();
}

double QtChartSurface::penPixels(double width) {
    // 25 (the axes) is one pixel, 40 (the curve) two and a half.
    return std::max(1.0, 1.0 + (width - 25.0) / 10.0);
}

// ---------------------------------------------------------------------------
// Data

void QtChartSurface::setChartData(const ReadingsTable &table) {
    if (showingContentOf(table))
        return;
    if (&table != &m_table)
        m_table = table;
    m_hasSource = true;
    if (m_drawing.oncePerFrame && m_chart && m_view && m_view->isVisible()) {
        // Drawn with the next frame: at once after a quiet spell, else when a
        // frame interval has passed since the last one. A slow machine gets
        // fewer frames: drawing and painting them take at most a share of the
        // time (see FrameSpacingPerCost).
        m_pacer->setFrameCost(m_drawNanos + m_paintNanos);
        m_pacer->request();
        return;
    }
    showTable();
}

void QtChartSurface::setDrawing(Drawing drawing) {
    changeLook();
    m_drawing = drawing;
    showTable();
}

bool QtChartSurface::drawingPending() const {
    return m_pacer->holding();
}

int QtChartSurface::frameInterval() const {
    return m_pacer->frameInterval();
}

void QtChartSurface::drawFrame() {
    QElapsedTimer drawing;
    drawing.start();
    showTable();
    m_drawNanos = drawing.nsecsElapsed();
}

// Whether the table holds just what is shown: the same columns and the very
// same blocks as the copy kept. The copy holds on to its blocks, so a table
// written to since, or another table, has at least one block of its own.
bool QtChartSurface::showingContentOf(const ReadingsTable &table) const {
    if (!m_hasSource || table.firstColumn() != m_table.firstColumn() || table.lastColumn() != m_table.lastColumn() ||
        table.revision() != m_table.revision() || table.chunkCount() != m_table.chunkCount())
        return false;
    for (qint64 k = 0; k < table.chunkCount(); ++k) {
        if (table.chunk(k) != m_table.chunk(k))
            return false;
    }
    return true;
}

void QtChartSurface::showTable() {
    // Whatever waited for a frame is drawn now.
    m_pacer->cancel();
    if (!m_chart)
        return;
    ++m_tablesDrawn;
    // A zoomed view stays where it is, or slides along with the newest
    // reading when it shows it (see CurveZoom).
    m_zoom.setExtent(0.5, double(std::max<qint64>(pointCount(), 1)) + 0.5);
    applyTitle();
    updateDataRange();
    rebuildCurve();
    rebuildXAxis();
    applyValueRange();
    if (m_pointerInside)
        updateCrosshair();
    m_frameLook = look();
    m_frameChangedFrom = changedFrom();
}

QtChartSurface::Look QtChartSurface::look() const {
    Look l;
    if (!m_chart || !m_view)
        return l;
    l.plotArea = m_chart->plotArea();
    l.viewSize = m_view->size();
    l.xMin = m_xTicks->min();
    l.xMax = m_xTicks->max();
    l.xInterval = m_xTicks->tickInterval();
    l.yMin = m_y->min();
    l.yMax = m_y->max();
    l.labels = m_xLabelList;
    if (!l.labels.isEmpty())
        l.labels.removeLast();
    l.title = m_series->name();
    l.changes = m_lookChanges;
    return l;
}

int QtChartSurface::changedFrom() const {
    // The plain way paints the whole view, as Qt Charts alone would.
    if (!m_chart || !m_view || !m_drawing.oncePerFrame || !(m_frameLook == m_paintedLook))
        return -1;
    // The curve as painted and as it is now: the same points up to `same`.
    const qsizetype common = std::min(m_paintedDrawn.size(), m_drawn.size());
    qsizetype same = 0;
    while (same < common && m_paintedDrawn[same] == m_drawn[same])
        ++same;
    if (same == 0)
        return -1;
    auto viewportX = [&](double point) {
        const QPointF at = m_chart->mapToPosition(QPointF(point, m_y->min()), m_series);
        return double(m_view->mapFromScene(m_chart->mapToScene(at)).x());
    };
    const int width = m_view->viewport()->width();
    // The segments from the last point both curves share on, with the ends
    // of the pen.
    double from = width;
    if (same < m_paintedDrawn.size() || same < m_drawn.size())
        from = viewportX(m_drawn[same - 1].x()) - m_series->pen().widthF() - 2.0;
    // The last X label, where it stood and where it stands.
    if (!m_xLabelList.isEmpty()) {
        for (const double at : {m_paintedLastLabel, m_xLabelList.last().second})
            from = std::min(from, viewportX(at) - m_labelPixels / 2.0 - 2.0);
    }
    return std::clamp(static_cast<int>(std::floor(from)), 0, width);
}

void QtChartSurface::onSceneChanged(const QList<QRectF> &rects) {
    if (!m_view || !m_chart)
        return;
    QWidget *viewport = m_view->viewport();
    // A frame's changes come here after it, in one or more lists (Qt Charts
    // lays out some items later); until anything else changes (a setting,
    // the layout) only the frame's strip is painted.
    const Look now = look();
    if (!(now == m_frameLook))
        m_frameChangedFrom = -1;
    QRect strip = viewport->rect();
    if (m_frameChangedFrom >= 0)
        strip.setLeft(m_frameChangedFrom);
    m_paintedLook = now;
    m_paintedDrawn = m_drawn;
    m_paintedLastLabel = m_xLabelList.isEmpty() ? 0.0 : m_xLabelList.last().second;
    for (const QRectF &rect : rects) {
        // Two pixels of slack for antialiased edges, as the view itself allows.
        const QRect area = m_view->mapFromScene(rect).boundingRect().adjusted(-2, -2, 2, 2) & strip;
        if (!area.isEmpty())
            viewport->update(area);
    }
}

qint64 QtChartSurface::pointCount() const {
    return std::max<qint64>(0, m_table.columnCount() - 1);
}

int QtChartSurface::plotWidth() const {
    const double width = m_chart ? m_chart->plotArea().width() : 0.0;
    if (width >= 20.0)
        return static_cast<int>(width);
    // Not laid out yet: guess from the view.
    return std::max(100, (m_view ? m_view->width() : 640) - 120);
}

void QtChartSurface::applyTitle() {
    if (!m_series)
        return;
    const QString title = rowLabel(1);
    m_series->setName(title.toHtmlEscaped());
}

void QtChartSurface::updateDataRange() {
    // The range of every reading, drawn or not.
    std::optional<std::pair<double, double>> range;
    if (m_drawing.thinned) {
        range = m_decimator.range(m_table);
    } else {
        for (qint64 c = m_table.firstColumn() + 1; c <= m_table.lastColumn(); ++c) {
            if (!m_table.isNumber(2, c))
                continue;
            const double v = m_table.number(2, c);
            range =
                range ? std::make_pair(std::min(range->first, v), std::max(range->second, v)) : std::make_pair(v, v);
        }
    }
    m_hasData = range.has_value();
    m_dataMin = m_hasData ? range->first : 0.0;
    m_dataMax = m_hasData ? range->second : 0.0;
}

QList<QPointF> QtChartSurface::everyPoint() const {
    QList<QPointF> points;
    const qint64 first = m_table.firstColumn();
    for (qint64 c = first + 1; c <= m_table.lastColumn(); ++c) {
        if (m_table.isNumber(2, c))
            points.append(QPointF(double(c - first), m_table.number(2, c)));
    }
    return points;
}

void QtChartSurface::rebuildCurve() {
    if (!m_series)
        return;
    const int width = plotWidth();
    m_curveWidth = width;
    // At most two points per pixel column, the first and the newest reading
    // included (or, plainly, every point).
    if (!m_drawing.thinned)
        m_drawn = everyPoint();
    else if (m_zoom.whole())
        m_drawn = m_decimator.points(m_table, width);
    else
        m_drawn = m_decimator.points(m_table, width, static_cast<qint64>(std::floor(m_zoom.from())),
                                     static_cast<qint64>(std::ceil(m_zoom.to())));
    m_series->replace(m_drawn);
}

QString QtChartSurface::xLabelText(qint64 point) const {
    const qint64 column = m_table.firstColumn() + point;
    if (m_clockAxis) {
        const QDateTime clock = m_table.clockTime(column);
        if (clock.isValid())
            return clock.toString(QStringLiteral("HH:mm:ss"));
    }
    return m_table.cell(1, column).toText();
}

void QtChartSurface::rebuildXAxis() {
    if (!m_xLabels)
        return;
    const qint64 n = pointCount();
    const int width = plotWidth();
    m_labelWidth = width;
    // The whole curve, or the stretch the user zoomed to.
    const bool zoomed = !m_zoom.whole();
    const double from = zoomed ? m_zoom.from() : 0.5;
    const double to = zoomed ? m_zoom.to() : double(std::max<qint64>(n, 1)) + 0.5;
    const double pixelsPerPoint = width / (to - from);
    // Where the axes end: at `to`, or a few whole points after it (see
    // MaxAxisLead). An end still within that lead is kept.
    const double lead = zoomed ? 0.0 : std::floor(MaxAxisLead / pixelsPerPoint);
    double end = m_xTicks->max();
    if (m_xTicks->min() != from || end < to || end > to + lead)
        end = to + lead;
    // The points on view.
    const qint64 firstShown = std::max<qint64>(1, static_cast<qint64>(std::ceil(from)));
    const qint64 lastShown = std::min<qint64>(n, static_cast<qint64>(std::floor(to)));
    const qint64 shown = std::max<qint64>(0, lastShown - firstShown + 1);

    const qint64 perTick = m_categoryAuto ? 1 : m_divisionsPerTick;
    const qint64 perLabel = m_categoryAuto ? 1 : m_divisionsPerLabel;

    // Tick marks: every perTick points, or a round multiple of it when they
    // would crowd.
    const qint64 tickGap =
        std::max<qint64>(static_cast<qint64>(std::ceil(MinTickSpacing / pixelsPerPoint)), (shown - 1) / MaxXTicks + 1);
    const qint64 tickStride = perTick * roundStride(ceilDiv(std::max<qint64>(tickGap, 1), perTick));
    // The axis makes a tick item for every interval of its range at once:
    // never let a wide range meet a small interval, even for a moment.
    m_xTicks->setTickAnchor(m_labelsOnTicks ? 1.0 : 0.5);
    if (double(tickStride) >= m_xTicks->tickInterval()) {
        m_xTicks->setTickInterval(double(tickStride));
        m_xTicks->setRange(from, end);
    } else {
        m_xTicks->setRange(from, end);
        m_xTicks->setTickInterval(double(tickStride));
    }
    m_xLabels->setRange(from, end);
    m_xLabels->setStartValue(from);

    // Labels: every perLabel points, or a round multiple of it so that they
    // neither overlap nor pass MaxXLabels.
    QList<QPair<QString, double>> wanted;
    if (shown > 0) {
        const QFontMetricsF metrics(m_xLabels->labelsFont());
        const double labelWidth = std::max({metrics.horizontalAdvance(xLabelText(firstShown)),
                                            metrics.horizontalAdvance(xLabelText(lastShown)),
                                            metrics.horizontalAdvance(QStringLiteral("00:00:00"))}) +
                                  12.0;
        m_labelPixels = labelWidth;
        const qint64 labelGap = std::max<qint64>(1, static_cast<qint64>(std::ceil(labelWidth / pixelsPerPoint)));
        // At most MaxXLabels - 1 on the stride, leaving room for the last.
        const qint64 atLeast = std::max(labelGap, (shown - 1) / (MaxXLabels - 1) + 1);
        qint64 labelStride = perLabel * roundStride(ceilDiv(atLeast, perLabel));
        if (m_labelsOnTicks && labelStride % tickStride != 0)
            labelStride = ceilDiv(labelStride, tickStride) * tickStride;

        QList<qint64> positions;
        // Zoomed, the labels keep their points while the view pans.
        const qint64 firstLabel = 1 + ceilDiv(firstShown - 1, labelStride) * labelStride;
        for (qint64 p = firstLabel; p <= lastShown; p += labelStride)
            positions.append(p);
        if (positions.isEmpty())
            positions.append(firstShown);
        // The last point of the whole curve is always labelled; a label too
        // close before it gives way.
        if (!zoomed && positions.last() != n) {
            if (n - positions.last() < labelGap)
                positions.removeLast();
            positions.append(n);
        }
        QSet<QString> used;
        for (const qint64 p : positions) {
            // Labels are drawn as rich text: escape them, and make blank or
            // repeated ones unique with a comment the axis does not show.
            QString text = xLabelText(p).toHtmlEscaped();
            if (text.isEmpty() || used.contains(text))
                text += QStringLiteral("<!--%1-->").arg(p);
            used.insert(text);
            wanted.append({text, double(p)});
        }
    }
    if (wanted != m_xLabelList) {
        // Usually only the last label differs (the session grew): the
        // labels both lists begin with stay, the others are replaced.
        qsizetype same = 0;
        while (same < wanted.size() && same < m_xLabelList.size() && wanted[same] == m_xLabelList[same])
            ++same;
        for (qsizetype i = m_xLabelList.size() - 1; i >= same; --i)
            m_xLabels->remove(m_xLabelList[i].first);
        for (qsizetype i = same; i < wanted.size(); ++i)
            m_xLabels->append(wanted[i].first, wanted[i].second);
        m_xLabelList = wanted;
    }
}

void QtChartSurface::applyValueRange() {
    if (!m_y)
        return;
    ValueScale scale;
    if (!m_scale.automatic) {
        scale = m_scale;
    } else if (m_hasData) {
        scale = roundedScale(m_dataMin, m_dataMax);
    } else {
        scale.automatic = true;
        scale.minimum = 0.0;
        scale.maximum = 100.0;
        scale.majorDivision = 5;
        scale.minorDivision = 1;
    }
    m_effective = scale;
    // Set only when it differs: Qt Charts lays out an axis's labels again on
    // every call.
    for (QValueAxis *axis : {m_y, m_y2}) {
        if (axis->min() != scale.minimum || axis->max() != scale.maximum)
            axis->setRange(scale.minimum, scale.maximum);
        if (axis->tickCount() != scale.majorDivision + 1)
            axis->setTickCount(scale.majorDivision + 1);
        if (axis->minorTickCount() != scale.minorDivision - 1)
            axis->setMinorTickCount(scale.minorDivision - 1);
    }
}

void QtChartSurface::onPlotAreaChanged(const QRectF &plotArea) {
    const int width = static_cast<int>(plotArea.width());
    if (width < 20 || (width == m_curveWidth && width == m_labelWidth) || m_rebuildQueued)
        return;
    // Not while the chart is being laid out: right after.
    m_rebuildQueued = true;
    QTimer::singleShot(0, this, &QtChartSurface::fitToPlotWidth);
}

void QtChartSurface::fitToPlotWidth() {
    m_rebuildQueued = false;
    if (!m_chart)
        return;
    const int width = plotWidth();
    if (width != m_curveWidth) {
        // The curve only changes when it is thinned at either width.
        if (!m_zoom.whole() || pointCount() > 2 * qint64(std::min(width, m_curveWidth)))
            rebuildCurve();
        else
            m_curveWidth = width;
    }
    if (width != m_labelWidth)
        rebuildXAxis();
}

void QtChartSurface::refresh() {
    changeLook();
    if (!m_chart)
        return;
    m_chart->update();
    m_view->viewport()->update();
}

// ---------------------------------------------------------------------------
// Axes

QValueAxis *QtChartSurface::valueAxis(Axis axis) const {
    switch (axis) {
    case Axis::X:
        return m_xTicks;
    case Axis::Y:
        return m_y;
    case Axis::Y2:
        return m_y2;
    }
    return nullptr;
}

Status QtChartSurface::setAxisPenWidth(Axis axis, float width) {
    if (!m_chart)
        return Status::failure(ChartClosed);
    if (!std::isfinite(width) || width <= 0.0f)
        return Status::failure(QStringLiteral("Толщина линии должна быть больше нуля."));
    QValueAxis *target = valueAxis(axis);
    if (!target)
        return Status::failure(QStringLiteral("На графике нет такой оси."));
    QPen pen = target->linePen();
    pen.setWidthF(penPixels(width));
    target->setLinePen(pen);
    changeLook();
    return Status::ok();
}

Status QtChartSurface::setAxisPenColor(Axis axis, int red, int green, int blue) {
    if (!m_chart)
        return Status::failure(ChartClosed);
    if (!validColour(red, green, blue))
        return Status::failure(BadColour);
    QValueAxis *target = valueAxis(axis);
    if (!target)
        return Status::failure(QStringLiteral("На графике нет такой оси."));
    QPen pen = target->linePen();
    pen.setColor(QColor(red, green, blue));
    target->setLinePen(pen);
    changeLook();
    return Status::ok();
}

Status QtChartSurface::setAxisScaleHidden(Axis axis, bool hidden) {
    if (!m_chart)
        return Status::failure(ChartClosed);
    QValueAxis *target = valueAxis(axis);
    if (!target)
        return Status::failure(QStringLiteral("На графике нет такой оси."));
    target->setVisible(!hidden);
    if (axis == Axis::X)
        m_xLabels->setVisible(!hidden);
    m_hidden[int(axis)] = hidden;
    changeLook();
    return Status::ok();
}

bool QtChartSurface::axisScaleHidden(Axis axis) const {
    const int at = int(axis);
    return at >= 0 && at < 3 && m_hidden[at];
}

Status QtChartSurface::setDivisionsPerLabel(int divisions) {
    if (divisions < 1)
        return Status::failure(QStringLiteral("Между подписями оси X должно быть не меньше одного деления."));
    // Divisions given are divisions wanted: the scale stops choosing its own.
    m_divisionsPerLabel = divisions;
    m_categoryAuto = false;
    rebuildXAxis();
    changeLook();
    return Status::ok();
}

Status QtChartSurface::setDivisionsPerTick(int divisions) {
    if (divisions < 1)
        return Status::failure(QStringLiteral("Между метками оси X должно быть не меньше одного деления."));
    m_divisionsPerTick = divisions;
    m_categoryAuto = false;
    rebuildXAxis();
    changeLook();
    return Status::ok();
}

Status QtChartSurface::setLabelTick(bool onTicks) {
    m_labelsOnTicks = onTicks;
    rebuildXAxis();
    changeLook();
    return Status::ok();
}

Status QtChartSurface::setCategoryScaleAuto(Axis axis, bool automatic) {
    if (axis != Axis::X)
        return Status::failure(QStringLiteral("Шкала делений по точкам есть только у оси X."));
    m_categoryAuto = automatic;
    rebuildXAxis();
    changeLook();
    return Status::ok();
}

Status QtChartSurface::setAxisLabelFont(Axis axis, bool bold, int size) {
    if (!m_chart)
        return Status::failure(ChartClosed);
    if (size < 1 || size > 200)
        return Status::failure(QStringLiteral("Размер шрифта подписей должен быть от 1 до 200."));
    QAbstractAxis *target = axis == Axis::X ? static_cast<QAbstractAxis *>(m_xLabels) : valueAxis(axis);
    if (!target)
        return Status::failure(QStringLiteral("На графике нет такой оси."));
    QFont font = target->labelsFont();
    font.setBold(bold);
    font.setPointSize(size);
    target->setLabelsFont(font);
    if (axis == Axis::X)
        rebuildXAxis();
    changeLook();
    return Status::ok();
}

Status QtChartSurface::setValueScale(Axis axis, const ValueScale &scale) {
    if (axis == Axis::X)
        return Status::failure(QStringLiteral("У оси X нет шкалы значений."));
    if (axis == Axis::Y2)
        return Status::failure(QStringLiteral("Ось Y2 следует шкале оси Y: её шкала не задаётся."));
    if (!scale.automatic) {
        if (!std::isfinite(scale.minimum) || !std::isfinite(scale.maximum) || scale.minimum >= scale.maximum)
            return Status::failure(QStringLiteral("Максимум шкалы должен быть больше её минимума."));
        if (scale.majorDivision < 1 || scale.majorDivision > 100)
            return Status::failure(QStringLiteral("Основных делений шкалы должно быть от 1 до 100."));
        if (scale.minorDivision < 1 || scale.minorDivision > 100)
            return Status::failure(QStringLiteral("Мелких делений шкалы должно быть от 1 до 100."));
    }
    m_scale = scale;
    applyValueRange();
    changeLook();
    return Status::ok();
}

ChartSurface::ValueScale QtChartSurface::valueScale(Axis axis) const {
    if (axis == Axis::X)
        return ValueScale();
    ValueScale scale = m_effective;
    scale.automatic = m_scale.automatic;
    return scale;
}

// ---------------------------------------------------------------------------
// The curve, legend and backdrops

Status QtChartSurface::setSeriesPenColor(int red, int green, int blue) {
    if (!m_series)
        return Status::failure(ChartClosed);
    if (!validColour(red, green, blue))
        return Status::failure(BadColour);
    QPen pen = m_series->pen();
    pen.setColor(QColor(red, green, blue));
    m_series->setPen(pen);
    changeLook();
    return Status::ok();
}

Status QtChartSurface::setSeriesPenWidth(float width) {
    if (!m_series)
        return Status::failure(ChartClosed);
    if (!std::isfinite(width) || width <= 0.0f)
        return Status::failure(QStringLiteral("Толщина линии должна быть больше нуля."));
    QPen pen = m_series->pen();
    pen.setWidthF(penPixels(width));
    m_series->setPen(pen);
    changeLook();
    return Status::ok();
}

void QtChartSurface::setShowLegend(bool shown) {
    changeLook();
    m_legendShown = shown;
    if (m_chart)
        m_chart->legend()->setVisible(shown);
}

ChartSurface::BackdropStyle QtChartSurface::backdrop(Backdrop part) const {
    return m_backdrops[static_cast<int>(part)];
}

bool QtChartSurface::showLegend() const {
    return m_legendShown;
}

Status QtChartSurface::setBackdrop(Backdrop part, const BackdropStyle &style) {
    if (!m_chart)
        return Status::failure(ChartClosed);
    if (style.fillStyle < 0 || style.fillStyle > 1)
        return Status::failure(QStringLiteral("Заливка бывает только 0 (нет) или 1 (сплошная)."));
    if (style.frameStyle < 0 || style.frameStyle > 1)
        return Status::failure(QStringLiteral("Рамка бывает только 0 (нет) или 1 (линия)."));
    if (style.shadowStyle < 0 || style.shadowStyle > 1)
        return Status::failure(QStringLiteral("Тень бывает только 0 (нет) или 1 (есть)."));
    if (!validColour(style.fillRed, style.fillGreen, style.fillBlue))
        return Status::failure(BadColour);
    if (!std::isfinite(style.frameWidth) || style.frameWidth < 0.0f)
        return Status::failure(QStringLiteral("Толщина рамки не может быть меньше нуля."));

    m_backdrops[static_cast<int>(part)] = style;
    const bool filled = style.fillStyle == 1;
    const bool framed = style.frameStyle == 1;
    const bool shadow = style.shadowStyle == 1;
    const QBrush brush = filled ? QBrush(QColor(style.fillRed, style.fillGreen, style.fillBlue)) : QBrush(Qt::NoBrush);
    QPen pen(Qt::NoPen);
    if (framed) {
        pen = QPen(Qt::black);
        pen.setWidthF(penPixels(style.frameWidth));
    }
    switch (part) {
    case Backdrop::Legend: {
        QLegend *legend = m_chart->legend();
        legend->setBackgroundVisible(filled || framed);
        legend->setBrush(brush);
        legend->setPen(pen);
        if (shadow) {
            auto *effect = new QGraphicsDropShadowEffect;
            effect->setOffset(3.0, 3.0);
            effect->setBlurRadius(4.0);
            legend->setGraphicsEffect(effect);
        } else {
            legend->setGraphicsEffect(nullptr);
        }
        break;
    }
    case Backdrop::Plot:
        // Qt Charts has no shadow for the plot area.
        m_chart->setPlotAreaBackgroundVisible(filled || framed);
        m_chart->setPlotAreaBackgroundBrush(brush);
        m_chart->setPlotAreaBackgroundPen(pen);
        break;
    case Backdrop::Chart:
        m_chart->setBackgroundVisible(true);
        m_chart->setBackgroundBrush(brush);
        m_chart->setBackgroundPen(pen);
        m_chart->setDropShadowEnabled(shadow);
        break;
    }
    changeLook();
    return Status::ok();
}

// ---------------------------------------------------------------------------
// Current cell and labels

Status QtChartSurface::setCurrentCell(int column, int row) {
    if (row != 1)
        return Status::failure(OneSeries);
    if (column < 1 || column > pointCount())
        return Status::failure(
            pointCount() > 0
                ? QStringLiteral("На графике нет точки %1: точки на нём с 1 по %2.").arg(column).arg(pointCount())
                : QStringLiteral("На графике нет точки %1: на нём нет ни одной точки.").arg(column));
    m_currentPoint = column;
    return Status::ok();
}

double QtChartSurface::currentCellValue() const {
    return m_table.number(2, m_table.firstColumn() + m_currentPoint);
}

QString QtChartSurface::rowLabel(int row) const {
    if (row != 1 || m_table.columnCount() == 0)
        return QString();
    return m_table.cell(2, m_table.firstColumn()).toText();
}

Status QtChartSurface::setRowLabel(int row, const QString &label) {
    if (row != 1)
        return Status::failure(OneSeries);
    if (m_table.columnCount() == 0)
        m_table.resize(1, 1);
    m_table.setText(2, m_table.firstColumn(), label);
    applyTitle();
    changeLook();
    return Status::ok();
}

// ---------------------------------------------------------------------------
// Clipboard

Status QtChartSurface::editCopy() {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return Status::failure(ClipboardUnavailable);
    // The data as text, and beside it a picture of the chart as it stands.
    auto *data = new QMimeData;
    data->setText(chartDataText(m_table));
    if (m_view) {
        const QImage picture = m_view->grab().toImage();
        if (!picture.isNull())
            data->setImageData(picture);
    }
    clipboard->setMimeData(data);
    return Status::ok();
}

Status QtChartSurface::editPaste() {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return Status::failure(ClipboardUnavailable);
    const QString text = clipboard->text();
    if (text.isEmpty())
        return Status::failure(notChartDataText());
    ChartDataReading read = readChartDataText(text, m_table.columnCount() > 0 ? m_table.firstColumn() : qint64(1));
    if (!read.table)
        return Status::failure(read.refusal);
    m_table = std::move(*read.table);
    // A table handed over next is shown even if it is the one seen before.
    m_hasSource = false;
    showTable();
    changeLook();
    return Status::ok();
}

void QtChartSurface::move(int left, int top, int width, int height) {
    changeLook();
    if (m_view)
        m_view->setGeometry(left, top, width, height);
}

// ---------------------------------------------------------------------------
// Mouse

namespace {

int mouseFlags(Qt::KeyboardModifiers modifiers) {
    int flags = 1;
    if (modifiers & Qt::ShiftModifier)
        flags += 4;
    if (modifiers & Qt::ControlModifier)
        flags += 8;
    return flags;
}

// The key state of a mouse-down event: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

} // namespace

void QtChartSurface::mousePress(QMouseEvent *event) {
    if (!m_chart)
        return;
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton:
        button = 1;
        break;
    case Qt::RightButton:
        button = 2;
        break;
    case Qt::MiddleButton:
        button = 4;
        break;
    default:
        break;
    }
    const QPointF at = chartPosition(event->position());
    QPointer<QtChartSurface> alive(this);
    if (button != 0)
        Q_EMIT mouseDown(button, shiftState(event->modifiers()), event->globalPosition().toPoint());
    if (!alive || !m_chart)
        return;
    // A left or middle press in the plot may become a drag that pans.
    m_panning = false;
    m_panButton = Qt::NoButton;
    if ((event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) &&
        m_chart->plotArea().contains(at)) {
        m_panButton = event->button();
        m_pressPos = event->position();
        m_panStartFrom = m_zoom.from();
    }
    if (event->button() != Qt::LeftButton)
        return;
    const int flags = mouseFlags(event->modifiers());
    const ChartHitTest::Hit hit = hitTest().partAt(at);
    switch (hit.what) {
    case ChartHitTest::Part::Legend:
        Q_EMIT legendSelected(flags);
        break;
    case ChartHitTest::Part::AxisLine:
        Q_EMIT axisSelected(hit.axis, flags);
        break;
    case ChartHitTest::Part::AxisLabels:
        Q_EMIT axisLabelSelected(hit.axis, flags);
        break;
    case ChartHitTest::Part::Point:
        Q_EMIT pointSelected(1, hit.point, flags);
        break;
    case ChartHitTest::Part::Chart:
    case ChartHitTest::Part::Nothing:
        Q_EMIT chartSelected(flags);
        break;
    }
}

void QtChartSurface::mouseDoubleClick(QMouseEvent *event) {
    if (!m_chart || event->button() != Qt::LeftButton)
        return;
    const QPointF at = m_chart->mapFromScene(m_view->mapToScene(event->position().toPoint()));
    const int flags = mouseFlags(event->modifiers());
    const ChartHitTest hits = hitTest();
    if (hits.partAt(at).what == ChartHitTest::Part::Legend)
        Q_EMIT legendActivated(flags);
    else if (hits.onCurve(at))
        Q_EMIT seriesActivated(1, flags);
    else
        Q_EMIT chartActivated(flags);
}

QPointF QtChartSurface::chartPosition(const QPointF &viewportPos) const {
    return m_chart->mapFromScene(m_view->mapToScene(viewportPos.toPoint()));
}

void QtChartSurface::mouseMove(QMouseEvent *event) {
    if (!m_chart)
        return;
    if (m_panButton != Qt::NoButton && (event->buttons() & m_panButton)) {
        const QPointF moved = event->position() - m_pressPos;
        if (!m_panning && moved.manhattanLength() >= QGuiApplication::styleHints()->startDragDistance())
            m_panning = true;
        const double plotWidth = m_chart->plotArea().width();
        if (m_panning && plotWidth > 0.0) {
            // The point under the pointer at the press stays under it.
            const double perPixel = (m_zoom.to() - m_zoom.from()) / plotWidth;
            const double wanted = m_panStartFrom - moved.x() * perPixel;
            const bool moved = m_zoom.pan(wanted - m_zoom.from());
            if (followIfNewestShown() || moved)
                redrawZoom();
        }
    }
    m_pointerInside = true;
    m_pointer = chartPosition(event->position());
    updateCrosshair();
}

void QtChartSurface::mouseRelease(QMouseEvent *event) {
    if (event->button() == m_panButton) {
        m_panButton = Qt::NoButton;
        m_panning = false;
    }
}

bool QtChartSurface::wheel(QWheelEvent *event) {
    if (!m_chart || !m_series)
        return false;
    const QPointF at = chartPosition(event->position());
    if (!m_chart->plotArea().contains(at))
        return false;
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return false;
    const double anchor = m_chart->mapToValue(at, m_series).x();
    const bool zoomed = m_zoom.zoomByWheel(anchor, delta);
    if (followIfNewestShown() || zoomed)
        redrawZoom();
    return true;
}

bool QtChartSurface::followIfNewestShown() {
    if (m_zoom.whole() || m_zoom.following())
        return false;
    // The newest reading: the last column holding one (the table grows
    // ahead of the readings by at most a few update periods).
    const qint64 first = m_table.firstColumn();
    const qint64 stop = std::max(first + 1, m_table.lastColumn() - ReadingsChunk::Columns);
    qint64 newest = 0;
    for (qint64 c = m_table.lastColumn(); c >= stop && newest == 0; --c) {
        if (m_table.isNumber(2, c))
            newest = c - first;
    }
    const double width = m_zoom.to() - m_zoom.from();
    if (newest == 0 || double(newest) > m_zoom.to() || double(newest) < m_zoom.extentLast() - width)
        return false;
    return m_zoom.pan(m_zoom.extentLast() - m_zoom.to());
}

bool QtChartSurface::keyPress(QKeyEvent *event) {
    if (event->key() != Qt::Key_Home || event->modifiers() != Qt::NoModifier)
        return false;
    resetZoom();
    return true;
}

void QtChartSurface::pointerLeft() {
    m_pointerInside = false;
    hideCrosshair();
}

void QtChartSurface::resetZoom() {
    m_zoom.reset();
    redrawZoom();
}

void QtChartSurface::setClockTimeAxis(bool clockTimes) {
    if (m_clockAxis == clockTimes)
        return;
    m_clockAxis = clockTimes;
    rebuildXAxis();
    changeLook();
}

QPair<double, double> QtChartSurface::visibleRange() const {
    if (!m_xTicks)
        return {0.0, 0.0};
    return {m_xTicks->min(), m_xTicks->max()};
}

void QtChartSurface::redrawZoom() {
    if (!m_chart)
        return;
    rebuildCurve();
    rebuildXAxis();
    changeLook();
    if (m_pointerInside)
        updateCrosshair();
}

QString QtChartSurface::readoutOf(qint64 point) const {
    const qint64 column = m_table.firstColumn() + point;
    if (point < 1 || point > pointCount() || !m_table.isNumber(2, column))
        return QString();
    const double value = m_table.number(2, column);
    const bool isBreak = value == BreakReading;
    const qint64 elapsed = m_table.elapsedSeconds(1, column);
    QString text = curveReadout(std::max<qint64>(0, elapsed), m_table.clockTime(column),
                                isBreak ? std::nullopt : std::optional<double>(value), isBreak);
    if (elapsed < 0) {
        // A label that is no elapsed time (a pasted one) is shown as it is.
        const QString label = m_table.cell(1, column).toText();
        const qsizetype cut = text.indexOf(QStringLiteral(" · "));
        text = label.isEmpty() ? text.mid(cut + 3) : label + text.mid(cut);
    }
    return text;
}

void QtChartSurface::updateCrosshair() {
    if (!m_chart || !m_crossLine)
        return;
    const QRectF plot = m_chart->plotArea();
    if (!m_pointerInside || !plot.contains(m_pointer) || pointCount() == 0) {
        hideCrosshair();
        return;
    }
    const double x = m_chart->mapToValue(m_pointer, m_series).x();
    const qint64 point = std::clamp<qint64>(std::llround(x), 1, pointCount());
    const QString text = readoutOf(point);
    if (text.isEmpty()) {
        hideCrosshair();
        return;
    }
    const double value = m_table.number(2, m_table.firstColumn() + point);
    const QPointF at = m_chart->mapToPosition(QPointF(double(point), value), m_series);
    if (at.x() < plot.left() || at.x() > plot.right()) {
        hideCrosshair();
        return;
    }
    // Unchanged (the pointer rests while readings come): nothing to paint.
    const QLineF line(at.x(), plot.top(), at.x(), plot.bottom());
    if (m_crossLine->isVisible() && m_crossLine->line() == line && m_crossDot->pos() == at && m_readout == text)
        return;
    m_crossLine->setLine(line);
    m_crossLine->show();
    m_crossDot->setPos(at);
    m_crossDot->setVisible(value != BreakReading && plot.contains(at));
    m_readout = text;
    m_readoutText->setText(text);
    const QRectF box = m_readoutText->boundingRect().adjusted(-4.0, -2.0, 4.0, 2.0);
    m_readoutBox->setRect(box);
    // Beside the line, on the side with room, at the top of the plot.
    double left = at.x() + 8.0 - box.left();
    if (left + box.right() > plot.right())
        left = at.x() - 8.0 - box.right();
    m_readoutBox->setPos(std::max(plot.left() - box.left(), left), plot.top() + 4.0 - box.top());
    m_readoutBox->show();
    changeLook();
}

void QtChartSurface::hideCrosshair() {
    m_readout.clear();
    if (!m_crossLine || !m_crossLine->isVisible())
        return;
    m_crossLine->hide();
    m_crossDot->hide();
    m_readoutBox->hide();
    changeLook();
}

ChartHitTest QtChartSurface::hitTest() const {
    ChartHitTest::Chart chart;
    chart.chart = m_chart;
    chart.series = m_series;
    chart.xTicks = m_xTicks;
    chart.xLabels = m_xLabels;
    chart.y = m_y;
    chart.y2 = m_y2;
    chart.drawn = &m_drawn;
    chart.hidden = {m_hidden[0], m_hidden[1], m_hidden[2]};
    chart.legendShown = m_legendShown;
    return ChartHitTest(chart);
}

} // namespace zorneta
