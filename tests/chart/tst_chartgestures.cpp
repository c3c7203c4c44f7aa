// Chart gestures and the view toggles against the recording chart and the
// window in memory: the point value field, the legend, the axes, the menus,
// the data copy and the current-parameters window.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {
QString key(const QString &k) {
    return u"Зорнета/Properties/"_s + k;
}
using Backdrop = ChartSurface::Backdrop;
} // namespace

class tst_ChartGestures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pointValue_data();
    void pointValue();
    void pointTextField();
    void legendClicks_data();
    void legendClicks();
    void legendDoubleClickKeepsStoredChoice();
    void axisLabelClicks_data();
    void axisLabelClicks();
    void menusAndDoubleClicks();
    void indicatorToggleStoresBothKeys();
    void legendTogglesKeepMarksEqual_data();
    void legendTogglesKeepMarksEqual();
};

void tst_ChartGestures::pointValue_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << QLocale::c() << 512.0 << u"Значение точки № 12 равно 512 оС"_s;
    QTest::newRow("thousands, no group separator")
        << QLocale(QLocale::Russian, QLocale::Russia) << 1023.0 << u"Значение точки № 12 равно 1023 оС"_s;
    QTest::newRow("decimal comma") << QLocale(QLocale::Russian, QLocale::Russia) << 1023.5
                                   << u"Значение точки № 12 равно 1023,5 оС"_s;
    QTest::newRow("decimal point") << QLocale::c() << 1023.5 << u"Значение точки № 12 равно 1023.5 оС"_s;
}

void tst_ChartGestures::pointValue() {
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    LogicRig rig;
    SeriesData data(rig.logic->services(), rig.state(), locale);
    ChartGestures gestures(rig.logic->services(), data, locale);
    ReadingsTable table(1, 40);
    QVERIFY(table.setNumber(2, 13, value));
    rig.chart.setChartData(table);
    rig.chart.calls.clear();
    gestures.pointSelected(1, 12);
    QCOMPARE(rig.chart.calls, QStringList{u"setCurrentCell(12,1)"_s});
    QCOMPARE(rig.view.shownPointText(), text);
    // The background then asks for a point.
    gestures.chartSelected();
    QCOMPARE(rig.view.shownPointText(), u"Выбери точку на кривой"_s);
}

void tst_ChartGestures::pointTextField() {
    LogicRig rig;
    ChartGestures &g = rig.logic->gestures();
    // A refused cell: the text carries whatever the chart's current cell holds.
    rig.chart.refuse = QStringList{u"setCurrentCell"_s};
    rig.chart.currentValue = 7.0;
    g.pointSelected(1, 3);
    QCOMPARE(rig.view.shownPointText(), ChartGestures::pointValueText(3, 7.0, QLocale::system()));
    g.pointTextFocused();
    QCOMPARE(rig.view.shownPointText(), u"Значение точки на кривой в град."_s);
    g.pointTextDoubleClicked();
    QCOMPARE(rig.view.shownPointText(), QString());
}

void tst_ChartGestures::legendClicks_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("fill");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("shadow");
    QTest::addColumn<float>("frameWidth");
    QTest::addColumn<bool>("changed");
    QTest::newRow("Shift: plain") << 5 << 0 << 0 << 0 << 0.0f << true;
    QTest::newRow("Ctrl: framed") << 9 << 1 << 1 << 1 << 20.0f << true;
    QTest::newRow("plain click") << 1 << 0 << 0 << 0 << 0.0f << false;
    QTest::newRow("Shift and Ctrl") << 13 << 0 << 0 << 0 << 0.0f << false;
}

void tst_ChartGestures::legendClicks() {
    QFETCH(int, flags);
    QFETCH(int, fill);
    QFETCH(int, frame);
    QFETCH(int, shadow);
    QFETCH(float, frameWidth);
    QFETCH(bool, changed);
    LogicRig rig;
    // A legend coloured earlier keeps its colour through the frame changes.
    ChartSurface::BackdropStyle coloured;
    coloured.fillStyle = 1;
    coloured.fillRed = 1;
    coloured.fillGreen = 2;
    coloured.fillBlue = 3;
    if (flags == 5)
        QVERIFY(rig.chart.setBackdrop(Backdrop::Legend, coloured));
    rig.chart.calls.clear();
    Q_EMIT rig.chart.legendSelected(flags);
    QCOMPARE(rig.chart.calls.size(), changed ? 1 : 0);
    if (!changed)
        return;
    const auto style = rig.chart.backdrop(Backdrop::Legend);
    QCOMPARE(style.fillStyle, fill);
    QCOMPARE(style.frameStyle, frame);
    QCOMPARE(style.shadowStyle, shadow);
    QCOMPARE(style.frameWidth, frameWidth);
    if (flags == 5)
        QCOMPARE(style.fillBlue, 3);
}

void tst_ChartGestures::legendDoubleClickKeepsStoredChoice() {
    LogicRig rig;
    QVERIFY(rig.chart.legend);
    const auto storedBefore = rig.settings.values;
    Q_EMIT rig.chart.legendActivated(1);
    QVERIFY(!rig.chart.legend);
    QCOMPARE(rig.view.itemChecked(menu::ChartLegendOnOff), false);
    QCOMPARE(rig.view.itemChecked(menu::LegendOnOff), false);
    QVERIFY(rig.state().legendShown);
    QCOMPARE(rig.settings.values, storedBefore);
    // The next toggle shows the legend again.
    rig.logic->runToolbarKey(toolbar::Legend);
    QVERIFY(rig.chart.legend);
    QCOMPARE(rig.view.itemChecked(menu::ChartLegendOnOff), true);
    QCOMPARE(rig.settings.values.value(key(u"Legend"_s)), u"True"_s);
}

void tst_ChartGestures::axisLabelClicks_data() {
    QTest::addColumn<int>("axis");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("X") << 0 << QStringList{u"setAxisScaleHidden(X,1)"_s};
    QTest::newRow("Y shows X and Y2") << 1 << QStringList{u"setAxisScaleHidden(X,0)"_s, u"setAxisScaleHidden(Y2,0)"_s};
    QTest::newRow("Y2") << 2 << QStringList{u"setAxisScaleHidden(Y2,1)"_s};
}

void tst_ChartGestures::axisLabelClicks() {
    QFETCH(int, axis);
    QFETCH(QStringList, calls);
    LogicRig rig;
    QVERIFY(rig.state().xAxisHidden && rig.state().y2AxisHidden);
    const auto storedBefore = rig.settings.values;
    rig.chart.calls.clear();
    Q_EMIT rig.chart.axisLabelSelected(axis, 1);
    QCOMPARE(rig.chart.calls, calls);
    // The chart only: the flags and the store stay.
    QVERIFY(rig.state().xAxisHidden && rig.state().y2AxisHidden);
    QCOMPARE(rig.settings.values, storedBefore);
}

void tst_ChartGestures::menusAndDoubleClicks() {
    LogicRig rig;
    Q_EMIT rig.chart.mouseDown(2, 0, QPoint(10, 10));
    Q_EMIT rig.chart.mouseDown(1, 0, QPoint(10, 10));
    Q_EMIT rig.chart.axisSelected(1, 1);
    Q_EMIT rig.chart.axisSelected(0, 1);
    QCOMPARE(rig.view.popups, (QStringList{menu::ChartMenu, menu::XAxisMenu}));
    rig.chart.calls.clear();
    Q_EMIT rig.chart.chartActivated(1);
    QCOMPARE(rig.chart.calls, QStringList{u"EditCopy()"_s});
    QVERIFY(!rig.view.seriesData);
    Q_EMIT rig.chart.seriesActivated(1, 1);
    QVERIFY(rig.view.seriesData);
}

void tst_ChartGestures::indicatorToggleStoresBothKeys() {
    LogicRig rig;
    QVERIFY(rig.view.indicatorVisible());
    rig.logic->runMenuItem(menu::IndicatorOnOff);
    QVERIFY(!rig.view.indicatorVisible());
    QVERIFY(!rig.view.clearButtonVisible());
    QCOMPARE(rig.view.itemChecked(menu::IndicatorOnOff), false);
    QCOMPARE(rig.settings.values.value(key(u"Indicator"_s)), u"False"_s);
    QCOMPARE(rig.settings.values.value(key(u"Button"_s)), u"False"_s);
    rig.logic->runMenuItem(menu::IndicatorOnOff);
    QVERIFY(rig.view.indicatorVisible());
    QVERIFY(rig.view.clearButtonVisible());
    QCOMPARE(rig.settings.values.value(key(u"Indicator"_s)), u"True"_s);
    QCOMPARE(rig.settings.values.value(key(u"Button"_s)), u"True"_s);
}

void tst_ChartGestures::legendTogglesKeepMarksEqual_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("main menu") << menu::LegendOnOff;
    QTest::newRow("context menu") << menu::ChartLegendOnOff;
    QTest::newRow("toolbar") << toolbar::Legend;
}

void tst_ChartGestures::legendTogglesKeepMarksEqual() {
    QFETCH(QString, how);
    LogicRig rig;
    for (const bool expected : {false, true, false}) {
        if (how == u"Legend")
            rig.logic->runToolbarKey(how);
        else
            rig.logic->runMenuItem(how);
        QCOMPARE(rig.chart.legend, expected);
        QCOMPARE(rig.view.itemChecked(menu::ChartLegendOnOff), expected);
        QCOMPARE(rig.view.itemChecked(menu::LegendOnOff), expected);
        QCOMPARE(rig.state().legendShown, expected);
        QCOMPARE(rig.settings.values.value(key(u"Legend"_s)), expected ? u"True"_s : u"False"_s);
    }
}

QTEST_GUILESS_MAIN(tst_ChartGestures)
#include "tst_chartgestures.moc"
