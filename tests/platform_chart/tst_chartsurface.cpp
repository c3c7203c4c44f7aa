// The Qt Charts chart of the heating curve, drawn on real widgets offscreen.

#include "common/ReadingsTable.h"
#include "ShownSurface.h"
#include "platform/qt/QtChartSurface.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineF>
#include <QPaintEvent>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <cmath>
#include <map>
#include <optional>

using namespace zorneta;
using namespace zorneta::testing;

namespace {

// A table as the terminal hands it over: elapsed labels in row 1 ("C" + the
// column number in the last column), the title in row 2 of the first column
// and the readings given by point number.
ReadingsTable curveTable(qint64 first, qint64 columns, const QString &title,
                         const std::map<qint64, double> &readings = {}) {
    ReadingsTable table(first, first + columns - 1);
    for (qint64 c = first + 1; c < table.lastColumn(); ++c)
        table.setElapsedLabel(1, c, (c - first - 1) * 64 / 100);
    table.setText(1, table.lastColumn(), QStringLiteral("C%1").arg(table.lastColumn()));
    table.setText(2, first, title);
    for (const auto &[point, value] : readings)
        table.setNumber(2, first + point, value);
    return table;
}

struct Parts {
    QChartView *view = nullptr;
    QChart *chart = nullptr;
    QLineSeries *series = nullptr;
    QCategoryAxis *xLabels = nullptr;
    QValueAxis *xTicks = nullptr;
    QValueAxis *y = nullptr;
    QValueAxis *y2 = nullptr;
};

Parts parts(const QtChartSurface &surface) {
    Parts p;
    p.view = qobject_cast<QChartView *>(surface.widget());
    if (!p.view)
        return p;
    p.chart = p.view->chart();
    const auto series = p.chart->series();
    if (series.size() == 1)
        p.series = qobject_cast<QLineSeries *>(series.first());
    for (QAbstractAxis *axis : p.chart->axes(Qt::Horizontal)) {
        if (auto *category = qobject_cast<QCategoryAxis *>(axis))
            p.xLabels = category;
        else
            p.xTicks = qobject_cast<QValueAxis *>(axis);
    }
    for (QAbstractAxis *axis : p.chart->axes(Qt::Vertical)) {
        if (axis->alignment() == Qt::AlignLeft)
            p.y = qobject_cast<QValueAxis *>(axis);
        else
            p.y2 = qobject_cast<QValueAxis *>(axis);
    }
    return p;
}

// Where a value point is drawn, in viewport coordinates.
QPoint drawnAt(const Parts &p, double x, double y) {
    const QPointF inChart = p.chart->mapToPosition(QPointF(x, y), p.series);
    return p.view->mapFromScene(p.chart->mapToScene(inChart));
}

QPoint chartToViewport(const Parts &p, const QPointF &inChart) {
    return p.view->mapFromScene(p.chart->mapToScene(inChart));
}

QStringList visibleLabels(QCategoryAxis *axis) {
    QStringList labels;
    for (const QString &label : axis->categoriesLabels()) {
        if (!label.contains(QStringLiteral("<!--")))
            labels.append(label);
    }
    return labels;
}

// Keeps the rectangle of every paint of a widget.
class PaintRecorder : public QObject {
public:
    PaintRecorder(QWidget *widget, QList<QRect> *rects) : m_rects(rects) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            m_rects->append(static_cast<QPaintEvent *>(event)->rect());
        return false;
    }

private:
    QList<QRect> *m_rects;
};

} // namespace

class TestChartSurface : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void viewIsNamed() {
        QtChartSurface surface;
        QVERIFY(surface.widget());
        QCOMPARE(surface.widget()->objectName(), QStringLiteral("MSChart1"));
        QCOMPARE(surface.widget()->accessibleName(), QStringLiteral("График"));
        const Parts p = parts(surface);
        QVERIFY(p.series && p.xLabels && p.xTicks && p.y && p.y2);
        QCOMPARE(p.chart->animationOptions(), QChart::NoAnimation);
        QVERIFY(!p.series->useOpenGL());
        // Before any table: nothing drawn, no labels.
        QCOMPARE(p.series->count(), 0);
        QVERIFY(p.xLabels->categoriesLabels().isEmpty());
        QCOMPARE(p.chart->legend()->alignment(), Qt::AlignTop);
        QCOMPARE(p.series->pen().color(), QColor(0, 0, 128));
    }

    void tableWithoutReadingsGivesEmptyCurve() {
        QtChartSurface surface;
        surface.setChartData(curveTable(1, 40, QStringLiteral("МЛ512")));
        const Parts p = parts(surface);
        QCOMPARE(p.series->count(), 0);
        QCOMPARE(p.series->name(), QStringLiteral("МЛ512"));
        const auto markers = p.chart->legend()->markers(p.series);
        QCOMPARE(markers.size(), 1);
        QCOMPARE(markers.first()->label(), QStringLiteral("МЛ512"));
        QCOMPARE(surface.rowLabel(1), QStringLiteral("МЛ512"));
        const QStringList labels = visibleLabels(p.xLabels);
        QVERIFY(!labels.isEmpty());
        QCOMPARE(labels.first(), QStringLiteral("00:00:00"));
        QCOMPARE(labels.last(), QStringLiteral("C40"));
        QVERIFY(labels.size() <= QtChartSurface::MaxXLabels);
        // Room for all 39 points.
        QCOMPARE(p.xTicks->min(), 0.5);
        QCOMPARE(p.xTicks->max(), 39.5);
        QCOMPARE(p.xLabels->endValue(QStringLiteral("C40")), 39.0);
    }

    void legendEntryFollowsTitle() {
        QtChartSurface surface;
        showAt(surface, 800, 500);
        const Parts p = parts(surface);
        QLegendMarker *marker = p.chart->legend()->markers(p.series).first();
        surface.setChartData(curveTable(1, 40, QStringLiteral("МЛ512")));
        QVERIFY(settle(surface));
        QCOMPARE(marker->label(), QStringLiteral("МЛ512"));
        QVERIFY(surface.setRowLabel(1, QStringLiteral("08 декабря 14`05")));
        QCOMPARE(marker->label(), QStringLiteral("08 декабря 14`05"));
        QCOMPARE(surface.rowLabel(1), QStringLiteral("08 декабря 14`05"));
    }

    void readingsBecomePointsInColumnOrder() {
        std::map<qint64, double> readings;
        for (qint64 point = 1; point <= 9; ++point)
            readings[point] = 20.0 + point * 1.5;
        QtChartSurface surface;
        surface.setChartData(curveTable(1, 40, QStringLiteral("МЛ512"), readings));
        const QList<QPointF> points = parts(surface).series->points();
        QCOMPARE(points.size(), 9);
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(points[i].x(), double(i + 1));
            QCOMPARE(points[i].y(), 20.0 + (i + 1) * 1.5);
        }
    }

    void emptyCellsAreSkipped() {
        QtChartSurface surface;
        surface.setChartData(curveTable(1, 20, QStringLiteral("t"), {{1, 10.0}, {2, 11.0}, {4, 13.0}, {7, 16.0}}));
        const QList<QPointF> points = parts(surface).series->points();
        QCOMPARE(points, (QList<QPointF>{{1, 10.0}, {2, 11.0}, {4, 13.0}, {7, 16.0}}));
    }

    void firstColumnIsNeverAPoint() {
        // Columns start at 5 here: point p is column 5 + p.
        ReadingsTable table = curveTable(5, 12, QStringLiteral("x"), {{1, 300.0}, {3, 310.0}});
        table.setNumber(2, 5, 999.0); // a number where the title goes
        QtChartSurface surface;
        surface.setChartData(table);
        const QList<QPointF> points = parts(surface).series->points();
        QCOMPARE(points, (QList<QPointF>{{1, 300.0}, {3, 310.0}}));
        QVERIFY(surface.setCurrentCell(3, 1));
        QCOMPARE(surface.currentCellValue(), 310.0);
        QCOMPARE(visibleLabels(parts(surface).xLabels).last(), QStringLiteral("C16"));
    }

    void millionColumnsAreThinnedPerPixel() {
        constexpr qint64 columns = 1000000;
        ReadingsTable table(1, columns);
        table.setText(2, 1, QStringLiteral("МЛ512"));
        for (qint64 c = 2; c < columns; ++c)
            table.setElapsedLabel(1, c, (c - 2) * 64 / 100);
        table.setText(1, columns, QStringLiteral("C%1").arg(columns));
        double low = 1e300, high = -1e300;
        qint64 lowAt = 0, highAt = 0;
        for (qint64 p = 1; p < columns; ++p) {
            double v = 500.0 + 400.0 * std::sin(double(p) / 40000.0) + double((p * 7919) % 13);
            if (p == 123457)
                v = 2000.0;
            if (p == 876543)
                v = -50.0;
            table.setNumber(2, 1 + p, v);
            if (v < low) {
                low = v;
                lowAt = p;
            }
            if (v > high) {
                high = v;
                highAt = p;
            }
        }
        QCOMPARE(high, 2000.0);
        QCOMPARE(low, -50.0);

        QtChartSurface surface;
        showAt(surface, 800, 500);
        surface.setChartData(table);
        QVERIFY(settle(surface));
        const Parts p = parts(surface);
        // Wider value labels narrow the plot area; the curve is thinned anew.
        QTRY_VERIFY(p.series->count() <= 2 * static_cast<int>(p.chart->plotArea().width()) + 2);
        const int width = static_cast<int>(p.chart->plotArea().width());
        QVERIFY2(width > 400, qPrintable(QString::number(width)));
        const QList<QPointF> points = p.series->points();
        // Two points per pixel column, plus the first and the last reading.
        QVERIFY2(points.size() <= 2 * width + 2, qPrintable(QString::number(points.size())));
        QVERIFY2(points.size() > width, qPrintable(QString::number(points.size())));
        double drawnLow = 1e300, drawnHigh = -1e300;
        for (int i = 0; i < points.size(); ++i) {
            if (i > 0)
                QVERIFY(points[i].x() > points[i - 1].x());
            drawnLow = std::min(drawnLow, points[i].y());
            drawnHigh = std::max(drawnHigh, points[i].y());
        }
        QCOMPARE(drawnLow, low);
        QCOMPARE(drawnHigh, high);
        QVERIFY(points.contains(QPointF(double(lowAt), low)));
        QVERIFY(points.contains(QPointF(double(highAt), high)));
        // The curve starts and ends at the first and the last reading.
        QCOMPARE(points.first(), QPointF(1.0, table.number(2, 2)));
        QCOMPARE(points.last(), QPointF(double(columns - 1), table.number(2, columns)));
        QVERIFY(p.y->min() <= low && p.y->max() >= high);

        const QStringList labels = visibleLabels(p.xLabels);
        QVERIFY(labels.size() >= 2);
        QVERIFY2(labels.size() <= QtChartSurface::MaxXLabels, qPrintable(QString::number(labels.size())));
        QCOMPARE(labels.last(), QStringLiteral("C1000000"));
        QVERIFY((p.xTicks->max() - p.xTicks->min()) / p.xTicks->tickInterval() <= QtChartSurface::MaxXTicks + 1);

        // A wider window thins to its own width.
        surface.widget()->resize(1200, 500);
        QTRY_VERIFY(p.chart->plotArea().width() > width + 300);
        const int wider = static_cast<int>(p.chart->plotArea().width());
        QTRY_VERIFY(p.series->count() > 2 * width);
        QVERIFY(p.series->count() <= 2 * wider + 2);
    }

    void sameTableIsNotRedrawn() {
        ReadingsTable table = curveTable(1, 40, QStringLiteral("t"), {{1, 10.0}});
        QtChartSurface surface;
        QSignalSpy replaced(parts(surface).series, &QXYSeries::pointsReplaced);
        surface.setChartData(table);
        QCOMPARE(replaced.size(), 1);
        surface.setChartData(table);
        QCOMPARE(replaced.size(), 1);
        table.setNumber(2, 3, 11.0);
        surface.setChartData(table);
        QCOMPARE(replaced.size(), 2);
        QCOMPARE(parts(surface).series->count(), 2);
        // Another table object is always shown.
        const ReadingsTable other = curveTable(1, 40, QStringLiteral("t"), {{5, 50.0}});
        surface.setChartData(other);
        QCOMPARE(parts(surface).series->points(), (QList<QPointF>{{5, 50.0}}));
    }

    void tableInPlaceOfAnotherIsShown() {
        // Two tables built alike in the same place: same address, same
        // columns, same revision count, other readings.
        std::optional<ReadingsTable> slot;
        slot.emplace(curveTable(1, 40, QStringLiteral("t"), {{1, 10.0}}));
        QtChartSurface surface;
        surface.setChartData(*slot);
        QCOMPARE(parts(surface).series->points(), (QList<QPointF>{{1, 10.0}}));
        const quint64 revision = slot->revision();
        slot.emplace(curveTable(1, 40, QStringLiteral("t"), {{1, 20.0}}));
        QCOMPARE(slot->revision(), revision);
        surface.setChartData(*slot);
        QCOMPARE(parts(surface).series->points(), (QList<QPointF>{{1, 20.0}}));

        // An unchanged copy of the table shown holds nothing new.
        QSignalSpy replaced(parts(surface).series, &QXYSeries::pointsReplaced);
        const ReadingsTable copy = *slot;
        surface.setChartData(copy);
        QCOMPARE(replaced.size(), 0);
    }

    void growingLongSessionShowsTheNewestReading() {
        ReadingsTable table(1, 600002);
        table.setText(2, 1, QStringLiteral("МЛ512"));
        for (qint64 p = 1; p <= 600000; ++p)
            table.setNumber(2, 1 + p, 20.0 + double(p) / 1000.0);
        QtChartSurface surface;
        showAt(surface, 800, 500);
        const Parts p = parts(surface);
        surface.setChartData(table);
        QVERIFY(settle(surface));
        QTRY_VERIFY(p.series->count() > 0);
        QTRY_VERIFY(p.series->count() <= 2 * static_cast<int>(p.chart->plotArea().width()) + 2);
        QCoreApplication::processEvents();
        int ahead = 0, moves = 0;
        double lastEnd = p.xTicks->max();
        for (qint64 point = 600001; point <= 600400; ++point) {
            // As the terminal does it, one reading per pass of the event loop:
            // the reading, one column more, the label of the last column.
            // (New highs, within one value scale.)
            const double reading = 650.0 + double(point - 600000) / 100.0;
            QVERIFY(table.setNumber(2, 1 + point, reading));
            QVERIFY(table.growBy(1));
            QVERIFY(table.setText(1, table.lastColumn(), QStringLiteral("C%1").arg(table.lastColumn())));
            surface.setChartData(table);
            QVERIFY(settle(surface));
            QCOMPARE(p.series->points().last(), QPointF(double(point), reading));
            QCOMPARE(p.series->points().first(), QPointF(1.0, 20.001));
            QVERIFY(p.series->count() <= 2 * static_cast<int>(p.chart->plotArea().width()) + 2);
            QVERIFY(p.y->max() >= reading);
            QCOMPARE(visibleLabels(p.xLabels).last(), QStringLiteral("C%1").arg(table.lastColumn()));
            // The axes reach the last point, and past it by less than a
            // quarter pixel.
            const double lastPoint = double(table.columnCount() - 1) + 0.5;
            QVERIFY(p.xTicks->max() >= lastPoint);
            QVERIFY((p.xTicks->max() - lastPoint) * p.chart->plotArea().width() / (p.xTicks->max() - p.xTicks->min()) <=
                    0.25);
            QCOMPARE(p.xLabels->max(), p.xTicks->max());
            ahead += p.xTicks->max() > lastPoint ? 1 : 0;
            moves += p.xTicks->max() != lastEnd ? 1 : 0;
            lastEnd = p.xTicks->max();
            QCoreApplication::processEvents();
        }
        // Hundreds of points to a pixel: the axes mostly stayed where they were.
        QVERIFY(ahead > 0);
        QVERIFY(moves >= 1);
        QVERIFY2(moves < 20, qPrintable(QString::number(moves)));
    }

    void growingCurveRepaintsOnlyWhatChanged() {
        // A long session on screen: a new reading changes the end of the
        // curve and the last X label, and only that strip is painted again,
        // yet the window shows what a whole new paint would. (Where the curve
        // crosses the strip's left edge, the edge pixel may be antialiased a
        // little differently than in a whole paint.)
        ReadingsTable table(1, 300002);
        table.setText(2, 1, QStringLiteral("МЛ512"));
        for (qint64 p = 1; p <= 300000; ++p) {
            table.setNumber(2, 1 + p, 200.0 + double((p * 7919) % 600));
            table.setElapsedLabel(1, 1 + p, (p - 1) * 64 / 100);
        }
        table.setText(1, table.lastColumn(), QStringLiteral("C%1").arg(table.lastColumn()));
        QtChartSurface surface;
        showAt(surface, 800, 500);
        const Parts p = parts(surface);
        surface.setChartData(table);
        QVERIFY(settle(surface));
        QTest::qWait(50);
        QWidget *viewport = p.view->viewport();
        QList<QRect> painted;
        PaintRecorder recorder(viewport, &painted);
        // The window as shown, against a whole new paint of the view: the
        // columns where they differ.
        auto differingColumns = [&] {
            const QImage shown =
                p.view->screen()->grabWindow(p.view->winId()).toImage().convertToFormat(QImage::Format_RGB32);
            const QImage whole = p.view->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QSet<int> columns;
            if (shown.size() != whole.size())
                return QSet<int>{-1};
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x) {
                    if (shown.pixel(x, y) != whole.pixel(x, y))
                        columns.insert(x);
                }
            }
            return columns;
        };
        int narrow = 0;
        for (qint64 point = 300001; point <= 300030; ++point) {
            const qsizetype before = painted.size();
            QVERIFY(table.setNumber(2, 1 + point, 200.0 + double((point * 13) % 600)));
            QVERIFY(table.setElapsedLabel(1, 1 + point, (point - 1) * 64 / 100));
            QVERIFY(table.growBy(1));
            QVERIFY(table.setText(1, table.lastColumn(), QStringLiteral("C%1").arg(table.lastColumn())));
            surface.setChartData(table);
            QVERIFY(settle(surface));
            QTRY_VERIFY(painted.size() > before);
            QTest::qWait(20);
            const QList<QRect> paints = painted.mid(before);
            QSet<int> edges;
            bool allNarrow = true;
            for (const QRect &r : paints) {
                edges.insert(r.left());
                allNarrow = allNarrow && r.width() < viewport->width() / 4;
            }
            narrow += allNarrow ? 1 : 0;
            const QSet<int> columns = differingColumns();
            QVERIFY2((columns - edges).isEmpty(), qPrintable(QString::number(point)));
            painted.resize(before + paints.size()); // not the whole paint of the comparison
        }
        QVERIFY2(narrow >= 20, qPrintable(QString::number(narrow)));
        // A change of appearance paints the whole view.
        const qsizetype before = painted.size();
        QVERIFY(surface.setSeriesPenColor(200, 0, 0));
        QTRY_VERIFY(painted.size() > before);
        QTest::qWait(20);
        QCOMPARE(painted.last().width(), viewport->width());
        QVERIFY(differingColumns().isEmpty());
    }

    void tablesFasterThanFramesAreDrawnOncePerFrame() {
        QtChartSurface surface;
        showAt(surface, 800, 500);
        const Parts p = parts(surface);
        QVERIFY(settle(surface));
        QVERIFY(surface.frameInterval() >= 1);
        const quint64 drawn = surface.tablesDrawn();
        QSignalSpy replaced(p.series, &QXYSeries::pointsReplaced);
        // A burst within one pass of the event loop: the tables are only kept.
        std::map<qint64, double> readings;
        for (qint64 point = 1; point <= 50; ++point) {
            readings[point] = 10.0 * double(point);
            surface.setChartData(curveTable(1, 60, QStringLiteral("t%1").arg(point), readings));
        }
        QVERIFY(surface.drawingPending());
        QCOMPARE(surface.tablesDrawn(), drawn);
        QCOMPARE(replaced.size(), 0);
        // What reads the table back sees the newest one already.
        QCOMPARE(surface.rowLabel(1), QStringLiteral("t50"));
        QVERIFY(surface.setCurrentCell(50, 1));
        QCOMPARE(surface.currentCellValue(), 500.0);
        // Once events settle the newest table is the curve, drawn once.
        QVERIFY(settle(surface));
        QCOMPARE(surface.tablesDrawn(), drawn + 1);
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(p.series->count(), 50);
        QCOMPARE(p.series->points().last(), QPointF(50.0, 500.0));
        QCOMPARE(p.series->name(), QStringLiteral("t50"));
        QVERIFY(p.y->max() >= 500.0);
        QCOMPARE(p.xTicks->max(), 59.5);
        QCOMPARE(visibleLabels(p.xLabels).last(), QStringLiteral("C60"));

        // Off screen every table is drawn at once.
        surface.widget()->hide();
        QCoreApplication::processEvents();
        surface.setChartData(curveTable(1, 60, QStringLiteral("t"), {{5, 50.0}}));
        QCOMPARE(p.series->points(), (QList<QPointF>{{5, 50.0}}));
        surface.setChartData(curveTable(1, 60, QStringLiteral("t"), {{6, 60.0}}));
        QCOMPARE(p.series->points(), (QList<QPointF>{{6, 60.0}}));
        QVERIFY(!surface.drawingPending());
    }

    void plainDrawingTakesEveryPointAtOnce() {
        QtChartSurface surface;
        showAt(surface, 500, 400);
        const Parts p = parts(surface);
        surface.setDrawing({false, false});
        ReadingsTable table = curveTable(1, 5001, QStringLiteral("t"));
        for (qint64 point = 1; point < 5000; ++point)
            table.setNumber(2, 1 + point, double(point % 97));
        surface.setChartData(table);
        QVERIFY(!surface.drawingPending());
        QCOMPARE(p.series->count(), 4999);
        QCOMPARE(p.y->min() <= 0.0 && p.y->max() >= 96.0, true);
        table.setNumber(2, 5001, 500.0);
        surface.setChartData(table);
        QCOMPARE(p.series->count(), 5000);
        QCOMPARE(p.series->points().last(), QPointF(5000.0, 500.0));
        // Back to thinning: at most two points a pixel column, plus the ends.
        surface.setDrawing({});
        QVERIFY(p.series->count() <= 2 * static_cast<int>(p.chart->plotArea().width()) + 2);
        QCOMPARE(p.series->points().last(), QPointF(5000.0, 500.0));
    }

    void labelsFollowDivisionsAndStayFew() {
        QtChartSurface surface;
        showAt(surface, 800, 500);
        surface.setChartData(curveTable(1, 60, QStringLiteral("t")));
        QVERIFY(settle(surface));
        const Parts p = parts(surface);
        // Automatic: a tick mark on every point while they are far enough apart.
        QCOMPARE(p.xTicks->tickInterval(), 1.0);

        // Divisions given turn the automatic scale off.
        QVERIFY(surface.setDivisionsPerLabel(3));
        QVERIFY(surface.setDivisionsPerTick(3));
        const QStringList labels = p.xLabels->categoriesLabels();
        QVERIFY(labels.size() >= 3);
        for (int i = 0; i + 1 < labels.size(); ++i) {
            const qint64 point = std::llround(p.xLabels->endValue(labels[i]));
            QCOMPARE((point - 1) % 3, qint64(0));
        }
        QCOMPARE(labels.last(), QStringLiteral("C60"));
        QCOMPARE(p.xTicks->tickInterval(), 3.0);
        QVERIFY(surface.setCategoryScaleAuto(ChartSurface::Axis::X, true));
        QCOMPARE(p.xTicks->tickInterval(), 1.0);
        QVERIFY(surface.setCategoryScaleAuto(ChartSurface::Axis::X, false));
        QCOMPARE(p.xTicks->tickInterval(), 3.0);

        QVERIFY(!surface.setDivisionsPerLabel(0));
        QVERIFY(!surface.setCategoryScaleAuto(ChartSurface::Axis::Y, false));

        // Thousands of columns: still at most MaxXLabels labels.
        surface.setChartData(curveTable(1, 5000, QStringLiteral("t")));
        QVERIFY(settle(surface));
        const QStringList many = visibleLabels(p.xLabels);
        QVERIFY(many.size() >= 2);
        QVERIFY2(many.size() <= QtChartSurface::MaxXLabels, qPrintable(QString::number(many.size())));
        QCOMPARE(many.last(), QStringLiteral("C5000"));
    }

    void valueScaleAutomaticAndManual() {
        QtChartSurface surface;
        surface.setChartData(curveTable(1, 40, QStringLiteral("t"), {{1, 20.0}, {2, 400.0}, {3, 812.5}}));
        const Parts p = parts(surface);
        QVERIFY(surface.valueScale(ChartSurface::Axis::Y).automatic);
        QVERIFY(p.y->min() < 20.0 && p.y->min() >= 0.0);
        QVERIFY(p.y->max() > 812.5 && p.y->max() <= 1000.0);
        QCOMPARE(p.y2->min(), p.y->min());
        QCOMPARE(p.y2->max(), p.y->max());

        ChartSurface::ValueScale manual;
        manual.automatic = false;
        manual.minimum = 0.0;
        manual.maximum = 1200.0;
        manual.majorDivision = 6;
        manual.minorDivision = 4;
        QVERIFY(surface.setValueScale(ChartSurface::Axis::Y, manual));
        QCOMPARE(p.y->min(), 0.0);
        QCOMPARE(p.y->max(), 1200.0);
        QCOMPARE(p.y->tickCount(), 7);
        QCOMPARE(p.y->minorTickCount(), 3);
        QCOMPARE(p.y2->max(), 1200.0);
        QCOMPARE(p.y2->tickCount(), 7);
        const ChartSurface::ValueScale read = surface.valueScale(ChartSurface::Axis::Y);
        QVERIFY(!read.automatic);
        QCOMPARE(read.maximum, 1200.0);
        QCOMPARE(read.majorDivision, 6);
        QCOMPARE(read.minorDivision, 4);
        // The manual scale stays while data changes.
        surface.setChartData(curveTable(1, 40, QStringLiteral("t"), {{1, 5000.0}}));
        QCOMPARE(p.y->max(), 1200.0);

        ChartSurface::ValueScale wrong = manual;
        wrong.minimum = 50.0;
        wrong.maximum = 50.0;
        const Status refused = surface.setValueScale(ChartSurface::Axis::Y, wrong);
        QVERIFY(!refused);
        QCOMPARE(refused.description(), QStringLiteral("Максимум шкалы должен быть больше её минимума."));
        QCOMPARE(p.y->max(), 1200.0);
        QVERIFY(!surface.setValueScale(ChartSurface::Axis::X, manual));

        ChartSurface::ValueScale automatic;
        automatic.automatic = true;
        QVERIFY(surface.setValueScale(ChartSurface::Axis::Y, automatic));
        QVERIFY(p.y->max() > 5000.0 && p.y->min() < 5000.0);
    }

    void axesHideAndShow() {
        QtChartSurface surface;
        surface.setChartData(curveTable(1, 40, QStringLiteral("t"), {{1, 20.0}, {2, 30.0}}));
        const Parts p = parts(surface);
        QVERIFY(surface.axisScaleHidden(ChartSurface::Axis::Y2));
        QVERIFY(!p.y2->isVisible());
        QVERIFY(surface.setAxisScaleHidden(ChartSurface::Axis::Y, true));
        QVERIFY(surface.axisScaleHidden(ChartSurface::Axis::Y));
        QVERIFY(!p.y->isVisible());
        QVERIFY(surface.setAxisScaleHidden(ChartSurface::Axis::X, true));
        QVERIFY(!p.xTicks->isVisible());
        QVERIFY(!p.xLabels->isVisible());
        QCOMPARE(p.series->count(), 2);
        QVERIFY(surface.setAxisScaleHidden(ChartSurface::Axis::X, false));
        QVERIFY(surface.setAxisScaleHidden(ChartSurface::Axis::Y, false));
        QVERIFY(surface.setAxisScaleHidden(ChartSurface::Axis::Y2, false));
        QVERIFY(p.xTicks->isVisible() && p.xLabels->isVisible() && p.y->isVisible() && p.y2->isVisible());
        QVERIFY(!surface.axisScaleHidden(ChartSurface::Axis::Y2));
    }

    void axisPensAndFonts() {
        QtChartSurface surface;
        const Parts p = parts(surface);
        QVERIFY(surface.setAxisPenColor(ChartSurface::Axis::Y2, 255, 0, 0));
        QCOMPARE(p.y2->linePenColor(), QColor(255, 0, 0));
        QVERIFY(surface.setAxisPenColor(ChartSurface::Axis::X, 0, 128, 0));
        QCOMPARE(p.xTicks->linePenColor(), QColor(0, 128, 0));
        QVERIFY(!surface.setAxisPenColor(ChartSurface::Axis::Y, 256, 0, 0));
        QVERIFY(surface.setAxisLabelFont(ChartSurface::Axis::X, true, 12));
        QVERIFY(p.xLabels->labelsFont().bold());
        QCOMPARE(p.xLabels->labelsFont().pointSize(), 12);
        QVERIFY(surface.setAxisLabelFont(ChartSurface::Axis::Y, false, 9));
        QVERIFY(!p.y->labelsFont().bold());
        QCOMPARE(p.y->labelsFont().pointSize(), 9);
        QVERIFY(!surface.setAxisLabelFont(ChartSurface::Axis::Y, false, 0));
    }

    void penWidthsMapToPixels() {
        QCOMPARE(QtChartSurface::penPixels(25), 1.0);
        QVERIFY(QtChartSurface::penPixels(40) >= 2.5 && QtChartSurface::penPixels(40) <= 3.0);
        QCOMPARE(QtChartSurface::penPixels(10), 1.0);
        QVERIFY(QtChartSurface::penPixels(60) > QtChartSurface::penPixels(40));

        QtChartSurface surface;
        const Parts p = parts(surface);
        QVERIFY(surface.setAxisPenWidth(ChartSurface::Axis::Y, 25));
        QVERIFY(surface.setSeriesPenWidth(40));
        QCOMPARE(p.y->linePen().widthF(), 1.0);
        QVERIFY(p.series->pen().widthF() > p.y->linePen().widthF());
        const double forty = p.series->pen().widthF();
        QVERIFY(surface.setSeriesPenWidth(60));
        QVERIFY(p.series->pen().widthF() > forty);
        QVERIFY(!surface.setSeriesPenWidth(0));
        QVERIFY(p.series->pen().widthF() > forty);
    }

    void legendShownAndHidden() {
        QtChartSurface surface;
        const Parts p = parts(surface);
        QVERIFY(surface.showLegend());
        surface.setShowLegend(false);
        QVERIFY(!surface.showLegend());
        QVERIFY(!p.chart->legend()->isVisible());
        surface.setShowLegend(true);
        QVERIFY(surface.showLegend());
        QVERIFY(p.chart->legend()->isVisible());
    }

    void backdrops() {
        QtChartSurface surface;
        const Parts p = parts(surface);
        ChartSurface::BackdropStyle style;
        style.fillStyle = 1;
        style.fillRed = 10;
        style.fillGreen = 20;
        style.fillBlue = 30;
        style.frameStyle = 1;
        style.frameWidth = 40.0f;
        style.shadowStyle = 1;
        QVERIFY(surface.setBackdrop(ChartSurface::Backdrop::Chart, style));
        QCOMPARE(p.chart->backgroundBrush().color(), QColor(10, 20, 30));
        QCOMPARE(p.chart->backgroundPen().style(), Qt::SolidLine);
        QVERIFY(p.chart->isDropShadowEnabled());
        QVERIFY(surface.setBackdrop(ChartSurface::Backdrop::Plot, style));
        QVERIFY(p.chart->isPlotAreaBackgroundVisible());
        QCOMPARE(p.chart->plotAreaBackgroundBrush().color(), QColor(10, 20, 30));
        QVERIFY(surface.setBackdrop(ChartSurface::Backdrop::Legend, style));
        QVERIFY(p.chart->legend()->isBackgroundVisible());
        QCOMPARE(p.chart->legend()->brush().color(), QColor(10, 20, 30));
        QVERIFY(p.chart->legend()->graphicsEffect() != nullptr);

        ChartSurface::BackdropStyle none;
        QVERIFY(surface.setBackdrop(ChartSurface::Backdrop::Legend, none));
        QVERIFY(!p.chart->legend()->isBackgroundVisible());
        QVERIFY(p.chart->legend()->graphicsEffect() == nullptr);
        QVERIFY(surface.setBackdrop(ChartSurface::Backdrop::Chart, none));
        QCOMPARE(p.chart->backgroundBrush().style(), Qt::NoBrush);
        QVERIFY(!p.chart->isDropShadowEnabled());

        ChartSurface::BackdropStyle wrong;
        wrong.fillStyle = 7;
        QVERIFY(!surface.setBackdrop(ChartSurface::Backdrop::Plot, wrong));
        QVERIFY(p.chart->isPlotAreaBackgroundVisible());
    }

    void currentCell() {
        QtChartSurface surface;
        surface.setChartData(curveTable(1, 40, QStringLiteral("t"), {{1, 21.5}, {2, 22.0}}));
        QVERIFY(surface.setCurrentCell(2, 1));
        QCOMPARE(surface.currentCellValue(), 22.0);
        QVERIFY(surface.setCurrentCell(1, 1));
        QCOMPARE(surface.currentCellValue(), 21.5);
        QVERIFY(surface.setCurrentCell(39, 1)); // exists, not read yet
        QCOMPARE(surface.currentCellValue(), 0.0);
        const Status beyond = surface.setCurrentCell(40, 1);
        QVERIFY(!beyond);
        QCOMPARE(beyond.description(), QStringLiteral("На графике нет точки 40: точки на нём с 1 по 39."));
        QVERIFY(!surface.setCurrentCell(0, 1));
        QVERIFY(!surface.setCurrentCell(1, 2));
        QCOMPARE(surface.currentCellValue(), 0.0); // still point 39
        QVERIFY(surface.setCurrentCell(2, 1));
        QCOMPARE(surface.currentCellValue(), 22.0);
    }

    void rowLabelIsTheSeriesTitle() {
        QtChartSurface surface;
        QCOMPARE(surface.rowLabel(1), QString());
        surface.setChartData(curveTable(1, 40, QStringLiteral("08 декабря 14`05")));
        QCOMPARE(surface.rowLabel(1), QStringLiteral("08 декабря 14`05"));
        QVERIFY(surface.setRowLabel(1, QStringLiteral("Только конец")));
        QCOMPARE(surface.rowLabel(1), QStringLiteral("Только конец"));
        QCOMPARE(parts(surface).series->name(), QStringLiteral("Только конец"));
        QVERIFY(!surface.setRowLabel(2, QStringLiteral("x")));
        QCOMPARE(surface.rowLabel(2), QString());
    }

    void copyAndPasteRoundTrip() {
        ReadingsTable table(1, 5);
        table.setElapsedLabel(1, 2, 0);
        table.setElapsedLabel(1, 3, 1);
        table.setElapsedLabel(1, 4, 3725);
        table.setText(1, 5, QStringLiteral("C5"));
        table.setText(2, 1, QStringLiteral("МЛ512"));
        table.setNumber(2, 2, 20.5);
        table.setNumber(2, 3, 21.0);
        table.setNumber(2, 4, -3.25);

        QtChartSurface source;
        source.setChartData(table);
        QVERIFY(source.editCopy());
        const QString text = QGuiApplication::clipboard()->text();
        QCOMPARE(text, QStringLiteral("\t00:00:00\t00:00:01\t01:02:05\tC5\r\nМЛ512\t20.5\t21\t-3.25\t\r\n"));

        QtChartSurface target;
        target.setChartData(curveTable(1, 3, QStringLiteral("old"), {{1, 1.0}}));
        QVERIFY(target.editPaste());
        QCOMPARE(target.table(), table);
        QCOMPARE(target.rowLabel(1), QStringLiteral("МЛ512"));
        QCOMPARE(parts(target).series->points(), (QList<QPointF>{{1, 20.5}, {2, 21.0}, {3, -3.25}}));
        QCOMPARE(visibleLabels(parts(target).xLabels).last(), QStringLiteral("C5"));

        // Not chart data: refused, the chart unchanged.
        for (const QString &bad : {QStringLiteral("hello"), QStringLiteral("a\tb\r\nc\td\r\n"),
                                   QStringLiteral("\tx\r\nt\t1\r\nmore\t2\r\n"), QString()}) {
            QGuiApplication::clipboard()->setText(bad);
            const Status refused = target.editPaste();
            QVERIFY2(!refused, qPrintable(bad));
            QCOMPARE(refused.description(),
                     QStringLiteral("В буфере обмена нет данных графика. Вставить можно только данные, скопированные "
                                    "командой \"Копировать данные\": строку подписей точек и строку значений, "
                                    "разделённых табуляцией. График не изменён."));
            QCOMPARE(target.table(), table);
        }
    }

    void drawsTheCurve() {
        QtChartSurface surface;
        QVERIFY(surface.setSeriesPenColor(200, 0, 0));
        showAt(surface, 800, 500);
        const Parts p = parts(surface);

        auto curvePixels = [&]() {
            const QImage image = surface.widget()->grab().toImage();
            const QRect plot = QRect(chartToViewport(p, p.chart->plotArea().topLeft()),
                                     chartToViewport(p, p.chart->plotArea().bottomRight()));
            int count = 0;
            for (int y = plot.top(); y <= plot.bottom(); ++y) {
                for (int x = plot.left(); x <= plot.right(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.red() > 150 && c.green() < 60 && c.blue() < 60)
                        ++count;
                }
            }
            return count;
        };

        surface.setChartData(curveTable(1, 40, QStringLiteral("МЛ512")));
        QVERIFY(settle(surface));
        QCoreApplication::processEvents();
        QCOMPARE(curvePixels(), 0);

        std::map<qint64, double> readings;
        for (qint64 point = 1; point <= 30; ++point)
            readings[point] = 20.0 + 10.0 * point + 5.0 * (point % 3);
        surface.setChartData(curveTable(1, 40, QStringLiteral("МЛ512"), readings));
        QVERIFY(settle(surface));
        QCoreApplication::processEvents();
        QVERIFY2(curvePixels() > 200, qPrintable(QString::number(curvePixels())));
    }

    void moveSetsGeometry() {
        QWidget window;
        QtChartSurface surface(&window);
        surface.move(10, 20, 300, 200);
        QCOMPARE(surface.widget()->geometry(), QRect(10, 20, 300, 200));
        QCOMPARE(surface.widget()->parentWidget(), &window);
    }

    void mouseHits() {
        std::map<qint64, double> readings;
        for (qint64 point = 1; point <= 9; ++point)
            readings[point] = point % 2 ? 100.0 : 300.0;
        QtChartSurface surface;
        QVERIFY(surface.setAxisScaleHidden(ChartSurface::Axis::Y2, false));
        surface.setChartData(curveTable(1, 12, QStringLiteral("МЛ512"), readings));
        showAt(surface, 800, 500);
        const Parts p = parts(surface);
        QWidget *viewport = p.view->viewport();

        QSignalSpy down(&surface, &ChartSurface::mouseDown);
        QSignalSpy point(&surface, &ChartSurface::pointSelected);
        QSignalSpy chart(&surface, &ChartSurface::chartSelected);
        QSignalSpy legend(&surface, &ChartSurface::legendSelected);
        QSignalSpy axis(&surface, &ChartSurface::axisSelected);
        QSignalSpy axisLabel(&surface, &ChartSurface::axisLabelSelected);

        // On point 5, a pixel off.
        const QPoint five = drawnAt(p, 5, 100.0) + QPoint(1, -1);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, five);
        QCOMPARE(point.size(), 1);
        QCOMPARE(point.at(0).at(0).toInt(), 1);
        QCOMPARE(point.at(0).at(1).toInt(), 5);
        QCOMPARE(point.at(0).at(2).toInt(), 1);
        QCOMPARE(down.size(), 1);
        QCOMPARE(down.at(0).at(0).toInt(), 1);
        QCOMPARE(chart.size(), 0);

        // Shift and Ctrl on point 6.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, drawnAt(p, 6, 300.0));
        QCOMPARE(point.size(), 2);
        QCOMPARE(point.at(1).at(1).toInt(), 6);
        QCOMPARE(point.at(1).at(2).toInt(), 1 + 4 + 8);

        // Right button: only the mouse-down, with the position on the screen.
        const QPoint there = drawnAt(p, 3, 200.0);
        QTest::mouseClick(viewport, Qt::RightButton, Qt::ShiftModifier, there);
        QCOMPARE(down.size(), 3);
        QCOMPARE(down.at(2).at(0).toInt(), 2);
        QCOMPARE(down.at(2).at(1).toInt(), 1);
        QCOMPARE(down.at(2).at(2).toPoint(), viewport->mapToGlobal(there));
        QCOMPARE(point.size(), 2);
        QCOMPARE(chart.size(), 0);

        // Empty plot area, far from the curve (points 10 and 11 are unread).
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, drawnAt(p, 10.5, 200.0));
        QCOMPARE(chart.size(), 1);
        QCOMPARE(chart.at(0).at(0).toInt(), 1);

        // The legend.
        const QRectF legendArea = p.chart->legend()->geometry();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, chartToViewport(p, legendArea.center()));
        QCOMPARE(legend.size(), 1);

        const QRectF plot = p.chart->plotArea();
        const double midX = plot.left() + plot.width() * 0.55;
        const double midY = plot.top() + plot.height() * 0.45;
        // The X axis line, then its labels.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier,
                          chartToViewport(p, QPointF(midX, plot.bottom() + 2)));
        QCOMPARE(axis.size(), 1);
        QCOMPARE(axis.at(0).at(0).toInt(), 0);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier,
                          chartToViewport(p, QPointF(midX, plot.bottom() + 14)));
        QCOMPARE(axisLabel.size(), 1);
        QCOMPARE(axisLabel.at(0).at(0).toInt(), 0);
        // Y on the left, Y2 on the right.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, chartToViewport(p, QPointF(plot.left() - 2, midY)));
        QCOMPARE(axis.size(), 2);
        QCOMPARE(axis.at(1).at(0).toInt(), 1);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier,
                          chartToViewport(p, QPointF(plot.left() - 14, midY)));
        QCOMPARE(axisLabel.size(), 2);
        QCOMPARE(axisLabel.at(1).at(0).toInt(), 1);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier,
                          chartToViewport(p, QPointF(plot.right() + 2, midY)));
        QCOMPARE(axis.size(), 3);
        QCOMPARE(axis.at(2).at(0).toInt(), 2);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier,
                          chartToViewport(p, QPointF(plot.right() + 14, midY)));
        QCOMPARE(axisLabel.size(), 3);
        QCOMPARE(axisLabel.at(2).at(0).toInt(), 2);
        QCOMPARE(point.size(), 2);

        // Hidden Y2: the same click is on the chart.
        QVERIFY(surface.setAxisScaleHidden(ChartSurface::Axis::Y2, true));
        QCoreApplication::processEvents();
        const QRectF wider = p.chart->plotArea();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier,
                          chartToViewport(p, QPointF(wider.right() + 2, midY)));
        QCOMPARE(axis.size(), 3);
    }

    void mouseDoubleClicks() {
        std::map<qint64, double> readings;
        for (qint64 point = 1; point <= 9; ++point)
            readings[point] = point % 2 ? 100.0 : 300.0;
        QtChartSurface surface;
        surface.setChartData(curveTable(1, 12, QStringLiteral("МЛ512"), readings));
        showAt(surface, 800, 500);
        const Parts p = parts(surface);
        QWidget *viewport = p.view->viewport();

        QSignalSpy series(&surface, &ChartSurface::seriesActivated);
        QSignalSpy chart(&surface, &ChartSurface::chartActivated);
        QSignalSpy legend(&surface, &ChartSurface::legendActivated);

        // Halfway along the segment from point 2 to point 3.
        const QPoint a = drawnAt(p, 2, 300.0);
        const QPoint b = drawnAt(p, 3, 100.0);
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, (a + b) / 2);
        QCOMPARE(series.size(), 1);
        QCOMPARE(series.at(0).at(0).toInt(), 1);
        QCOMPARE(series.at(0).at(1).toInt(), 1);
        QCOMPARE(chart.size(), 0);

        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::ControlModifier, drawnAt(p, 10.5, 200.0));
        QCOMPARE(chart.size(), 1);
        QCOMPARE(chart.at(0).at(0).toInt(), 1 + 8);

        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier,
                           chartToViewport(p, p.chart->legend()->geometry().center()));
        QCOMPARE(legend.size(), 1);
        QCOMPARE(series.size(), 1);
    }

    // A thick curve is hit anywhere on its stroke, also between two readings
    // drawn far apart: the nearer reading along the line is the one meant.
    void thickCurveIsHitAtFirstTry() {
        std::map<qint64, double> readings;
        for (qint64 point = 1; point <= 9; ++point)
            readings[point] = point % 2 ? 100.0 : 300.0;
        QtChartSurface surface;
        QVERIFY(surface.setSeriesPenWidth(60.0f)); // 4.5 pixels wide
        surface.setChartData(curveTable(1, 12, QStringLiteral("МЛ512"), readings));
        showAt(surface, 800, 500);
        const Parts p = parts(surface);
        QWidget *viewport = p.view->viewport();
        QSignalSpy point(&surface, &ChartSurface::pointSelected);
        QSignalSpy chart(&surface, &ChartSurface::chartSelected);

        // Beside point 5, at the edge of the stroke and a little beyond.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, drawnAt(p, 5, 100.0) + QPoint(0, 5));
        QCOMPARE(point.size(), 1);
        QCOMPARE(point.at(0).at(1).toInt(), 5);
        // On the line from point 2 to point 3: a third of the way, two thirds.
        const QPointF a = drawnAt(p, 2, 300.0);
        const QPointF b = drawnAt(p, 3, 100.0);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, (a + (b - a) / 3.0).toPoint());
        QCOMPARE(point.size(), 2);
        QCOMPARE(point.at(1).at(1).toInt(), 2);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, (a + (b - a) * 2.0 / 3.0).toPoint());
        QCOMPARE(point.size(), 3);
        QCOMPARE(point.at(2).at(1).toInt(), 3);
        // Well off the stroke: the chart.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, drawnAt(p, 5, 100.0) + QPoint(0, -30));
        QCOMPARE(point.size(), 3);
        QCOMPARE(chart.size(), 1);
    }

    // With a million readings the curve is drawn thinned; a click on it still
    // names a real reading drawn under the mouse, and its value.
    void millionReadingsHitAReading() {
        constexpr qint64 columns = 1000000;
        ReadingsTable table(1, columns);
        table.setText(2, 1, QStringLiteral("МЛ512"));
        for (qint64 c = 2; c <= columns; ++c)
            table.setNumber(2, c, 500.0 + 400.0 * std::sin(double(c) / 40000.0) + double((c * 7919) % 13));
        QtChartSurface surface;
        QVERIFY(surface.setSeriesPenWidth(60.0f));
        showAt(surface, 800, 500);
        surface.setChartData(table);
        QCoreApplication::processEvents();
        const Parts p = parts(surface);
        QVERIFY(p.series->count() < 4000);
        QWidget *viewport = p.view->viewport();
        QSignalSpy point(&surface, &ChartSurface::pointSelected);
        for (const double along : {0.2, 0.5, 0.8}) {
            const QPointF drawn = p.series->at(int(p.series->count() * along));
            const QPoint click = drawnAt(p, drawn.x(), drawn.y()) + QPoint(1, 2);
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, click);
            QCOMPARE(point.size(), 1);
            const int hit = point.takeFirst().at(1).toInt();
            QVERIFY(surface.setCurrentCell(hit, 1));
            const double value = surface.currentCellValue();
            QCOMPARE(value, table.number(2, 1 + hit));
            // That reading is drawn within the stroke's reach of the click.
            const QPoint at = drawnAt(p, hit, value);
            QVERIFY2(
                QLineF(at, click).length() <= 6.0,
                qPrintable(QStringLiteral("reading %1 drawn %2 px away").arg(hit).arg(QLineF(at, click).length())));
        }
    }

    void surfaceOutlivesItsWindow() {
        auto *window = new QWidget;
        QtChartSurface surface(window);
        surface.setChartData(curveTable(1, 10, QStringLiteral("t"), {{1, 1.0}}));
        delete window;
        QVERIFY(surface.widget() == nullptr);
        // Still answers, without a view to draw on.
        surface.setChartData(curveTable(1, 10, QStringLiteral("t"), {{1, 2.0}}));
        surface.refresh();
        QVERIFY(!surface.setSeriesPenWidth(40));
        QVERIFY(surface.setCurrentCell(1, 1));
        QCOMPARE(surface.currentCellValue(), 2.0);
    }
};

QTEST_MAIN(TestChartSurface)
#include "tst_chartsurface.moc"
