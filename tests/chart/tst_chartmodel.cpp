// The chart's appearance and update step against a recording chart, the
// refresh commands, the zoomed range arithmetic, and the real chart drawing
// the curve the handler hands it.

#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "support/LogicRig.h"

#include <QImage>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

class tst_ChartModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setupChartSteps();
    void setupChartFollowsTheFlags();
    void refusedStepsAreSkipped();
    void refreshButtonBeforeAnyUpdate();
    void refreshMenuOnlyRedraws();
    void rangeAround_data();
    void rangeAround();
    void firstReadingIsNeverDrawn();
    void realChartDrawsTheCurve();
};

void tst_ChartModel::setupChartSteps() {
    LogicRig rig;
    rig.chart.calls.clear();
    rig.logic->chart().setupChart(10, 10, 200);
    const QStringList expected = {
        u"setAxisPenWidth(Y,25)"_s,    u"setAxisPenWidth(Y2,25)"_s,       u"setAxisPenWidth(X,25)"_s,
        u"setAxisPenColor(X,0,0,0)"_s, u"setAxisScaleHidden(Y2,1)"_s,     u"setAxisScaleHidden(X,1)"_s,
        u"setShowLegend(1)"_s,         u"setSeriesPenColor(10,10,200)"_s, u"setSeriesPenWidth(40)"_s,
        u"setDivisionsPerLabel(1)"_s,  u"setDivisionsPerTick(1)"_s,       u"setLabelTick(1)"_s,
        u"setAxisLabelFont(X,1,9)"_s,
    };
    QCOMPARE(rig.chart.calls, expected);
}

void tst_ChartModel::setupChartFollowsTheFlags() {
    LogicRig rig;
    SessionState &s = rig.state();
    s.xAxisHidden = false;
    s.y2AxisHidden = false;
    s.legendShown = false;
    s.curveWidth = 60;
    s.xLabelDivisions = 4;
    s.xTickDivisions = 2;
    rig.chart.calls.clear();
    rig.logic->chart().setupChart(1, 2, 3);
    QVERIFY(rig.chart.calls.contains(u"setAxisScaleHidden(Y2,0)"_s));
    QVERIFY(rig.chart.calls.contains(u"setAxisScaleHidden(X,0)"_s));
    QVERIFY(rig.chart.calls.contains(u"setShowLegend(0)"_s));
    QVERIFY(rig.chart.calls.contains(u"setSeriesPenColor(1,2,3)"_s));
    QVERIFY(rig.chart.calls.contains(u"setSeriesPenWidth(60)"_s));
    QVERIFY(rig.chart.calls.contains(u"setDivisionsPerLabel(4)"_s));
    QVERIFY(rig.chart.calls.contains(u"setDivisionsPerTick(2)"_s));
}

void tst_ChartModel::refusedStepsAreSkipped() {
    LogicRig rig;
    rig.chart.refuse = QStringList{u"setAxisPenWidth"_s, u"setSeriesPenColor"_s};
    rig.chart.calls.clear();
    rig.logic->chart().setupChart(10, 10, 200);
    QCOMPARE(rig.chart.calls.size(), 13);
    QCOMPARE(rig.chart.calls.last(), u"setAxisLabelFont(X,1,9)"_s);
}

void tst_ChartModel::refreshButtonBeforeAnyUpdate() {
    LogicRig rig;
    rig.chart.calls.clear();
    rig.logic->chart().redrawChart();
    QCOMPARE(rig.chart.calls.first(), u"setChartData(1..40)"_s);
    QCOMPARE(rig.chart.calls.last(), u"Refresh"_s);
    QCOMPARE(rig.chart.title, u"МЛ512"_s);
    QCOMPARE(rig.chart.table.cell(1, 40).toText(), u"C40"_s);
    QVERIFY(rig.chart.calls.contains(u"setSeriesPenColor(10,10,200)"_s));
}

void tst_ChartModel::refreshMenuOnlyRedraws() {
    LogicRig rig;
    rig.chart.calls.clear();
    rig.logic->runMenuItem(menu::Rescale);
    QCOMPARE(rig.chart.calls, QStringList{u"Refresh"_s});
}

void tst_ChartModel::rangeAround_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("minor");
    QTest::newRow("1000") << 1000.0 << 980.0 << 1020.0 << 40;
    QTest::newRow("100") << 100.0 << 98.0 << 106.0 << 8;
    QTest::newRow("123") << 123.0 << 121.0 << 131.0 << 10;
    QTest::newRow("0") << 0.0 << 0.0 << 0.0 << 0;
}

void tst_ChartModel::rangeAround() {
    QFETCH(double, value);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, minor);
    const auto r = ChartModel::rangeAround(value);
    QCOMPARE(r.minimum, minimum);
    QCOMPARE(r.maximum, maximum);
    QVERIFY(r.minorFits);
    QCOMPARE(r.minorDivision, minor);
}

void tst_ChartModel::firstReadingIsNeverDrawn() {
    LogicRig rig;
    rig.open();
    rig.state().updatePeriod = 1;
    rig.reading(500);
    // The only reading sits in the title cell, which the update overwrites.
    QCOMPARE(rig.chart.table.cell(2, 1).toText(), u"08 декабря 14`05"_s);
    QVERIFY(!rig.chart.table.isNumber(2, 2));
}

void tst_ChartModel::realChartDrawsTheCurve() {
    QtChartSurface surface;
    QWidget *view = surface.widget();
    view->resize(800, 500);
    view->show();
    LogicRig doubles(LogicRig::DoublesOnly);
    TerminalLogic logic(Services{doubles.port, surface, doubles.prompts, doubles.settings, doubles.clock,
                                 doubles.beeper, doubles.install, doubles.launcher, doubles.view});
    logic.load();
    logic.portControl().togglePort();
    QCOMPARE(doubles.prompts.shown.size(), 0);
    for (int i = 1; i <= 60; ++i) {
        doubles.clock.advance(640);
        doubles.port.receive(QByteArray::number(20 + i * 10).rightJustified(4, '0') + "\r\n");
    }
    QApplication::processEvents();
    QCOMPARE(surface.rowLabel(1), u"08 декабря 14`05"_s);
    const QImage image = view->grab().toImage();
    // The curve's colour (10, 10, 200) appears on many pixels.
    int curvePixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 80 && c.green() < 80)
                ++curvePixels;
        }
    }
    QVERIFY2(curvePixels > 200, qPrintable(QString::number(curvePixels)));
}

QTEST_MAIN(tst_ChartModel)
#include "tst_chartmodel.moc"
