// The main window's layout rule in twips, and twips at other resolutions.

#include "chart/WindowLayout.h"

#include <QtTest>

using namespace zorneta;

class tst_WindowLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void indicatorShown();
    void indicatorHidden();
    void tooSmallKeepsPlaces();
    void twipsAtResolution_data();
    void twipsAtResolution();
};

namespace {
WindowLayout::Input window(bool indicator) {
    WindowLayout::Input in;
    in.toolbarHeight = 420;
    in.statusBarHeight = 300;
    in.outerWidth = 9660;
    in.innerWidth = 9600;
    in.innerHeight = 6000;
    in.clearButtonHeight = 315;
    in.frameWidth = 900;
    in.indicatorShown = indicator;
    return in;
}
} // namespace

void tst_WindowLayout::indicatorShown() {
    const auto r = WindowLayout::place(window(true));
    QCOMPARE(r.chart, (TwipRect{850, 420, 9660 - 850, 5280}));
    QCOMPARE(r.indicator, (TwipRect{0, 420, 850, 4965}));
    QCOMPARE(r.clearButtonTop, 5280 + 105);
    QCOMPARE(r.refresh, (TwipRect{9600 - 930 + 30, 5280 + 90, 930, 335}));
    QCOMPARE(r.pointText, (TwipRect{9600 - 930 - 2800 + 30, 5280 + 160, 2800, 195}));
    QCOMPARE(r.frameLeft, 9600 - 1350);
}

void tst_WindowLayout::indicatorHidden() {
    const auto r = WindowLayout::place(window(false));
    QCOMPARE(r.chart, (TwipRect{0, 420, 9660, 5280}));
    QVERIFY(!r.indicator);
    QCOMPARE(r.clearButtonTop, 5385);
}

void tst_WindowLayout::tooSmallKeepsPlaces() {
    // A window shorter than its toolbar and status bar (minimised).
    WindowLayout::Input in = window(true);
    in.innerHeight = 500;
    in.innerWidth = 600;
    in.outerWidth = 600;
    const auto r = WindowLayout::place(in);
    QVERIFY(!r.chart);
    QVERIFY(!r.indicator);
    // Fixed sizes still place the small controls.
    QVERIFY(r.refresh);
    QCOMPARE(r.refresh->top, 500 - 300 - 420 + 90);
}

void tst_WindowLayout::twipsAtResolution_data() {
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("96 dpi: 15 twips a pixel") << 96.0 << 5280 << 352;
    QTest::newRow("96 dpi: indicator") << 96.0 << 850 << 57;
    QTest::newRow("144 dpi: 10 twips a pixel") << 144.0 << 5280 << 528;
    QTest::newRow("144 dpi: indicator") << 144.0 << 850 << 85;
    QTest::newRow("120 dpi") << 120.0 << 2800 << 233;
}

void tst_WindowLayout::twipsAtResolution() {
    QFETCH(double, dpi);
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(TwipsToPixels(twips, dpi), pixels);
    // The same rule at that resolution: heights measured in pixels give the
    // chart the band between them.
    WindowLayout::Input in;
    in.toolbarHeight = PixelsToTwips(TwipsToPixels(420, dpi), dpi);
    in.statusBarHeight = PixelsToTwips(TwipsToPixels(300, dpi), dpi);
    in.innerHeight = PixelsToTwips(TwipsToPixels(6000, dpi), dpi);
    in.clearButtonHeight = 315;
    in.outerWidth = in.innerWidth = 9600;
    const auto r = WindowLayout::place(in);
    QCOMPARE(TwipsToPixels(r.chart->top, dpi), TwipsToPixels(420, dpi));
    QCOMPARE(TwipsToPixels(r.chart->height, dpi), TwipsToPixels(5280, dpi));
}

QTEST_APPLESS_MAIN(tst_WindowLayout)
#include "tst_windowlayout.moc"
