// Exploring the live curve on the real Qt Charts chart, offscreen: the wheel
// zooms about the pointer, a drag pans, Home and the command show the whole,
// the view survives new tables and follows the newest reading, the clicks of
// old still land, and the crosshair's readout names the point.

#include "common/ReadingsTable.h"
#include "ShownSurface.h"
#include "platform/qt/QtChartSurface.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include <cmath>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

const QDateTime ClockStart(QDate(2026, 12, 8), QTime(11, 2, 0));

// A live table of n readings: point p read 500 + p at p seconds from the
// start (the clock time known from `clockFrom` on), "C" in the last column.
ReadingsTable liveTable(qint64 n, qint64 clockFrom = 1) {
    ReadingsTable table(1, n + 2);
    table.setText(2, 1, u"МЛ512"_s);
    for (qint64 p = 1; p <= n; ++p) {
        table.setNumber(2, 1 + p, 500.0 + double(p % 1000));
        table.setElapsedLabel(1, 1 + p, p);
        if (p >= clockFrom)
            table.setClockTime(1 + p, ClockStart.addSecs(p));
    }
    table.setText(1, n + 2, u"C%1"_s.arg(n + 2));
    return table;
}

QChartView *viewOf(const QtChartSurface &surface) {
    return qobject_cast<QChartView *>(surface.widget());
}

QLineSeries *seriesOf(const QtChartSurface &surface) {
    return qobject_cast<QLineSeries *>(viewOf(surface)->chart()->series().first());
}

// The viewport position at a share of the plot's width, halfway down.
QPoint plotPoint(const QtChartSurface &surface, double share) {
    QChart *chart = viewOf(surface)->chart();
    const QRectF plot = chart->plotArea();
    const QPointF at(plot.left() + share * plot.width(), plot.center().y());
    return viewOf(surface)->mapFromScene(chart->mapToScene(at));
}

// Where the curve's point p is drawn, in viewport coordinates.
QPoint pointAt(const QtChartSurface &surface, double p, double value) {
    QChart *chart = viewOf(surface)->chart();
    return viewOf(surface)->mapFromScene(chart->mapToScene(chart->mapToPosition({p, value}, seriesOf(surface))));
}

double xAt(const QtChartSurface &surface, const QPoint &pos) {
    QChart *chart = viewOf(surface)->chart();
    return chart->mapToValue(chart->mapFromScene(viewOf(surface)->mapToScene(pos)), seriesOf(surface)).x();
}

void wheel(const QtChartSurface &surface, const QPoint &pos, int delta) {
    QWidget *viewport = viewOf(surface)->viewport();
    QWheelEvent event(pos, viewport->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

void mouse(const QtChartSurface &surface, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
           const QPoint &pos) {
    QWidget *viewport = viewOf(surface)->viewport();
    QMouseEvent event(type, pos, viewport->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

double width(const QPair<double, double> &range) {
    return range.second - range.first;
}

} // namespace

class TestCurveExplore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wheelZoomsAboutThePointer_data() {
        QTest::addColumn<double>("share");
        QTest::addColumn<QList<int>>("notches");
        QTest::addColumn<double>("expectedWidth");
        QTest::newRow("one notch in at a quarter") << 0.25 << QList<int>{120} << 160.0;
        QTest::newRow("two notches in near the end") << 0.9 << QList<int>{120, 120} << 128.0;
        QTest::newRow("two in, one out") << 0.5 << QList<int>{240, -120} << 160.0;
        QTest::newRow("out from the whole: nothing") << 0.5 << QList<int>{-120} << 200.0;
    }
    void wheelZoomsAboutThePointer() {
        QFETCH(double, share);
        QFETCH(QList<int>, notches);
        QFETCH(double, expectedWidth);
        QtChartSurface surface;
        surface.setChartData(liveTable(199));
        showAt(surface, 900, 500);
        QCOMPARE(surface.visibleRange(), qMakePair(0.5, 200.5));
        const QPoint pos = plotPoint(surface, share);
        const double under = xAt(surface, pos);
        for (const int delta : notches)
            wheel(surface, pos, delta);
        QVERIFY2(std::fabs(width(surface.visibleRange()) - expectedWidth) < 1e-6,
                 qPrintable(QString::number(width(surface.visibleRange()))));
        // The reading under the pointer stays under it.
        QVERIFY2(std::fabs(xAt(surface, pos) - under) < 0.05, qPrintable(QString::number(xAt(surface, pos) - under)));
    }

    void dragPans_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("distance");
        QTest::addColumn<bool>("pans");
        QTest::newRow("left button") << Qt::LeftButton << 150 << true;
        QTest::newRow("middle button") << Qt::MiddleButton << 150 << true;
        QTest::newRow("left, within the drag distance") << Qt::LeftButton << 2 << false;
        QTest::newRow("right button opens its menu only") << Qt::RightButton << 150 << false;
    }
    void dragPans() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, distance);
        QFETCH(bool, pans);
        QtChartSurface surface;
        surface.setChartData(liveTable(999));
        showAt(surface, 900, 500);
        wheel(surface, plotPoint(surface, 0.5), 3 * 120);
        const QPair<double, double> before = surface.visibleRange();
        const double perPixel = width(before) / viewOf(surface)->chart()->plotArea().width();
        QSignalSpy down(&surface, &ChartSurface::mouseDown);
        QSignalSpy clicked(&surface, &ChartSurface::chartSelected);
        QSignalSpy point(&surface, &ChartSurface::pointSelected);

        // Dragged to the left: later readings come into view.
        const QPoint start = plotPoint(surface, 0.6);
        mouse(surface, QEvent::MouseButtonPress, button, button, start);
        for (int step = 1; step <= 3; ++step)
            mouse(surface, QEvent::MouseMove, Qt::NoButton, button, start - QPoint(distance * step / 3, 0));
        mouse(surface, QEvent::MouseButtonRelease, button, Qt::NoButton, start - QPoint(distance, 0));

        const QPair<double, double> after = surface.visibleRange();
        const double moved = pans ? distance * perPixel : 0.0;
        QVERIFY2(std::fabs(after.first - before.first - moved) < 0.05,
                 qPrintable(u"%1 -> %2"_s.arg(before.first).arg(after.first)));
        QVERIFY(std::fabs(width(after) - width(before)) < 1e-9);
        // The press itself was reported, once, as ever.
        QCOMPARE(down.size(), 1);
        QCOMPARE(clicked.size() + point.size(), button == Qt::LeftButton ? 1 : 0);
    }

    void viewSurvivesNewTables_data() {
        QTest::addColumn<double>("share");
        QTest::addColumn<bool>("follows");
        QTest::newRow("an older stretch stays") << 0.2 << false;
        QTest::newRow("panned to the newest end, it follows") << 0.5 << true;
        QTest::newRow("zoomed at the newest reading, it follows") << 0.999 << true;
    }
    void viewSurvivesNewTables() {
        QFETCH(double, share);
        QFETCH(bool, follows);
        QtChartSurface surface;
        surface.setChartData(liveTable(499));
        showAt(surface, 900, 500);
        wheel(surface, plotPoint(surface, share), 4 * 120);
        if (follows && share < 0.9) {
            // Dragged far to the left: the view stops at the newest end.
            const QPoint start = plotPoint(surface, 0.9);
            mouse(surface, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, start);
            mouse(surface, QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, start - QPoint(3000, 0));
            mouse(surface, QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, start - QPoint(3000, 0));
            QCOMPARE(surface.visibleRange().second, 500.5);
        }
        const QPair<double, double> before = surface.visibleRange();
        QVERIFY(width(before) < 300.0);
        QCOMPARE(surface.zoom().following(), follows);

        surface.setChartData(liveTable(699));
        QVERIFY(settle(surface));
        const QPair<double, double> after = surface.visibleRange();
        QVERIFY(std::fabs(width(after) - width(before)) < 1e-9);
        if (follows)
            QCOMPARE(after.second, 700.5);
        else
            QCOMPARE(after, before);
    }

    void homeAndCommandShowTheWhole_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Home on the chart") << true;
        QTest::newRow("command") << false;
    }
    void homeAndCommandShowTheWhole() {
        QFETCH(bool, byKey);
        QtChartSurface surface;
        surface.setChartData(liveTable(499));
        showAt(surface, 900, 500);
        wheel(surface, plotPoint(surface, 0.3), 5 * 120);
        QVERIFY(width(surface.visibleRange()) < 200.0);
        if (byKey)
            QTest::keyClick(surface.widget(), Qt::Key_Home);
        else
            surface.resetZoom();
        QCOMPARE(surface.visibleRange(), qMakePair(0.5, 500.5));
        // The whole follows the newest reading again.
        surface.setChartData(liveTable(599));
        QVERIFY(settle(surface));
        QCOMPARE(surface.visibleRange(), qMakePair(0.5, 600.5));
    }

    void clicksStillLandWhenZoomed() {
        QtChartSurface surface;
        surface.setChartData(liveTable(999));
        showAt(surface, 900, 500);
        wheel(surface, pointAt(surface, 400.0, 900.0), 10 * 120);
        const QPair<double, double> zoomed = surface.visibleRange();
        QVERIFY(zoomed.first < 400.0 && zoomed.second > 400.0 && width(zoomed) < 200.0);
        QSignalSpy point(&surface, &ChartSurface::pointSelected);
        QSignalSpy down(&surface, &ChartSurface::mouseDown);
        QSignalSpy activated(&surface, &ChartSurface::seriesActivated);
        QWidget *viewport = viewOf(surface)->viewport();

        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, pointAt(surface, 410.0, 910.0));
        QCOMPARE(point.size(), 1);
        QCOMPARE(point.at(0).at(1).toInt(), 410);
        QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, pointAt(surface, 405.0, 905.0));
        QCOMPARE(down.size(), 2);
        QCOMPARE(down.at(1).at(0).toInt(), 2);
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, pointAt(surface, 412.0, 912.0));
        QCOMPARE(activated.size(), 1);
        QCOMPARE(surface.visibleRange(), zoomed);
    }

    void readoutNamesThePoint_data() {
        QTest::addColumn<qint64>("point");
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("clockFrom");
        QTest::addColumn<QString>("expected");
        QTest::newRow("reading with its clock time")
            << qint64(3) << 523.0 << qint64(1) << u"00:00:03 · 08.12.2026 11:02:03 · 523 °C"_s;
        QTest::newRow("thermocouple break")
            << qint64(7) << 9999.0 << qint64(1) << u"00:00:07 · 08.12.2026 11:02:07 · обрыв термопары"_s;
        QTest::newRow("clock time not known") << qint64(5) << 511.5 << qint64(100) << u"00:00:05 · 511.5 °C"_s;
    }
    void readoutNamesThePoint() {
        QFETCH(qint64, point);
        QFETCH(double, value);
        QFETCH(qint64, clockFrom);
        QFETCH(QString, expected);
        ReadingsTable table = liveTable(9, clockFrom);
        const QDateTime clock = table.clockTime(1 + point);
        table.setNumber(2, 1 + point, value);
        if (clock.isValid())
            table.setClockTime(1 + point, clock);
        QtChartSurface surface;
        surface.setChartData(table);
        showAt(surface, 900, 500);
        QVERIFY(surface.readout().isEmpty());
        const QPoint over(pointAt(surface, double(point), value).x(), plotPoint(surface, 0.5).y());
        mouse(surface, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, over);
        QCOMPARE(surface.readout(), expected);
        QCOMPARE(surface.readoutOf(point), expected);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(viewOf(surface), &leave);
        QVERIFY(surface.readout().isEmpty());
    }

    void clockTimeAxisLabels() {
        QtChartSurface surface;
        surface.setChartData(liveTable(20, 11));
        showAt(surface, 900, 500);
        QCategoryAxis *labels = nullptr;
        for (QAbstractAxis *axis : viewOf(surface)->chart()->axes(Qt::Horizontal)) {
            if (auto *category = qobject_cast<QCategoryAxis *>(axis))
                labels = category;
        }
        QVERIFY(labels);
        // Each label at its point: the clock time where known (points 11 to
        // 20), else the elapsed time.
        auto check = [&](bool clockTimes) {
            int clock = 0, elapsed = 0;
            for (const QString &label : labels->categoriesLabels()) {
                const qint64 p = std::llround(labels->endValue(label));
                if (p > 20)
                    continue;
                const bool known = clockTimes && p >= 11;
                QCOMPARE(label.section(u"<!--"_s, 0, 0), known ? ClockStart.addSecs(p).toString(u"HH:mm:ss"_s)
                                                               : u"00:00:%1"_s.arg(p, 2, 10, QChar(u'0')));
                ++(known ? clock : elapsed);
            }
            QVERIFY(elapsed > 0);
            QCOMPARE(clock > 0, clockTimes);
        };
        check(false);
        surface.setClockTimeAxis(true);
        QVERIFY(surface.clockTimeAxis());
        check(true);
        surface.setClockTimeAxis(false);
        check(false);
    }

    void zoomedCurveThinsOnlyTheStretch() {
        QtChartSurface surface;
        surface.setChartData(liveTable(200'000));
        showAt(surface, 900, 500);
        wheel(surface, plotPoint(surface, 0.5), 12 * 120); // 0.8^12: about 13 700 readings on view
        const QPair<double, double> range = surface.visibleRange();
        const int plotWidth = int(viewOf(surface)->chart()->plotArea().width());
        const QList<QPointF> drawn = seriesOf(surface)->points();
        QVERIFY(drawn.size() > plotWidth);
        QVERIFY(drawn.size() <= 2 * plotWidth + 4);
        for (const QPointF &p : drawn)
            QVERIFY(p.x() >= std::floor(range.first) - 1.0 && p.x() <= std::ceil(range.second) + 1.0);
    }
};

QTEST_MAIN(TestCurveExplore)
#include "tst_curveexplore.moc"
