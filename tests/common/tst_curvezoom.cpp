#include "common/CurveZoom.h"

#include <QTest>

using namespace zorneta;

// The stretch of the time axis on view while a user zooms, pans and resets,
// as the chart grows.
class CurveZoomTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wheelZoomsAboutThePointer_data();
    void wheelZoomsAboutThePointer();
    void viewStaysWithinTheData();
    void growingData_data();
    void growingData();
    void resetShowsTheWhole();
    void readout_data();
    void readout();
};

void CurveZoomTest::wheelZoomsAboutThePointer_data() {
    QTest::addColumn<double>("anchor");
    QTest::addColumn<int>("angle");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::newRow("in at the middle") << 500.0 << 120 << 100.0 << 900.0;
    QTest::newRow("in at a quarter") << 250.0 << 120 << 50.0 << 850.0;
    QTest::newRow("two notches in at the start") << 0.0 << 240 << 0.0 << 640.0;
    QTest::newRow("out from the whole stays whole") << 500.0 << -120 << 0.0 << 1000.0;
}

void CurveZoomTest::wheelZoomsAboutThePointer() {
    QFETCH(double, anchor);
    QFETCH(int, angle);
    QFETCH(double, from);
    QFETCH(double, to);
    CurveZoom zoom;
    zoom.setExtent(0, 1000);
    zoom.zoomByWheel(anchor, angle);
    QCOMPARE(zoom.from(), from);
    QCOMPARE(zoom.to(), to);
    QCOMPARE(zoom.whole(), to - from == 1000.0);
}

void CurveZoomTest::viewStaysWithinTheData() {
    CurveZoom zoom(10.0);
    zoom.setExtent(0, 1000);
    for (int i = 0; i < 100; ++i)
        zoom.zoomByWheel(0.0, 120);
    QCOMPARE(zoom.from(), 0.0);
    QCOMPARE(zoom.to(), 10.0); // never narrower than the least span
    QVERIFY(!zoom.pan(-50.0)); // already at the start
    QVERIFY(zoom.pan(5000.0));
    QCOMPARE(zoom.from(), 990.0);
    QCOMPARE(zoom.to(), 1000.0);
    QVERIFY(zoom.following());
    for (int i = 0; i < 100; ++i)
        zoom.zoomByWheel(995.0, -120);
    QVERIFY(zoom.whole());
}

void CurveZoomTest::growingData_data() {
    QTest::addColumn<double>("panBy");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::newRow("on the newest: follows") << 1000.0 << 1300.0 << 1500.0;
    QTest::newRow("on an older stretch: stays") << -300.0 << 20.0 << 220.0;
    QTest::newRow("data cut or begun anew: the whole") << 0.0 << 0.0 << 1500.0;
}

void CurveZoomTest::growingData() {
    QFETCH(double, panBy);
    QFETCH(double, from);
    QFETCH(double, to);
    CurveZoom zoom;
    zoom.setExtent(0, 1000);
    zoom.zoom(400.0, 0.2); // 320..520
    QCOMPARE(zoom.from(), 320.0);
    zoom.pan(panBy);
    if (QByteArray(QTest::currentDataTag()).contains("anew"))
        zoom.setExtent(0, 10); // a new session's first readings
    zoom.setExtent(0, 1500);
    QCOMPARE(zoom.from(), from);
    QCOMPARE(zoom.to(), to);
}

void CurveZoomTest::resetShowsTheWhole() {
    CurveZoom zoom;
    zoom.setExtent(0, 1000);
    zoom.zoom(100.0, 0.5);
    QVERIFY(zoom.reset());
    zoom.setExtent(0, 2000);
    QVERIFY(zoom.whole());
    QCOMPARE(zoom.from(), 0.0);
    QCOMPARE(zoom.to(), 2000.0);
    QVERIFY(!zoom.reset());
}

void CurveZoomTest::readout_data() {
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<QDateTime>("clock");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("isBreak");
    QTest::addColumn<QString>("text");
    const QDateTime clock(QDate(2026, 12, 8), QTime(11, 2, 3));
    QTest::newRow("elapsed only") << qint64(3723) << QDateTime() << 523.0 << false
                                  << QStringLiteral("01:02:03 · 523 °C");
    QTest::newRow("with clock time") << qint64(3723) << clock << 523.5 << false
                                     << QStringLiteral("01:02:03 · 08.12.2026 11:02:03 · 523.5 °C");
    QTest::newRow("past a day") << qint64(100000) << QDateTime() << 20.0 << false << QStringLiteral("27:46:40 · 20 °C");
    QTest::newRow("break") << qint64(5) << QDateTime() << 0.0 << true << QStringLiteral("00:00:05 · обрыв термопары");
}

void CurveZoomTest::readout() {
    QFETCH(qint64, elapsed);
    QFETCH(QDateTime, clock);
    QFETCH(double, value);
    QFETCH(bool, isBreak);
    QFETCH(QString, text);
    QCOMPARE(curveReadout(elapsed, clock, value, isBreak), text);
}

QTEST_GUILESS_MAIN(CurveZoomTest)
#include "tst_curvezoom.moc"
