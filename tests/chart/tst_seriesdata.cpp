// The current-parameters window's content: start, duration, temperature and
// the rate of rise over the last 50 readings, from readings that came in
// through the pipeline on a clock under the test's control.

#include "chart/ui/SeriesDataWindow.h"
#include "support/LogicRig.h"

#include <QLineEdit>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

class MemoryForm : public SeriesDataForm {
public:
    void setField(Field f, const QString &text) override { fields[f] = text; }
    QString field(Field f) const override { return fields.value(f, u"design"_s); }
    QHash<int, QString> fields;
};

// Opens the port and lets `count` readings arrive, one every `stepMs`; the
// reading k is 100 + 2k.
void receive(LogicRig &rig, int count, qint64 stepMs, int from = 1) {
    for (int k = from; k < from + count; ++k) {
        rig.clock.advance(stepMs);
        rig.reading(100 + 2 * k);
    }
}

} // namespace

class tst_SeriesData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rate_data();
    void rate();
    void pastedLabelsAcrossMidnight();
    void rateText_data();
    void rateText();
    void windowFollowsReadings();
    void windowClosesWhenLeft();
};

void tst_SeriesData::rate_data() {
    QTest::addColumn<int>("readings");
    QTest::addColumn<qint64>("stepMs");
    QTest::addColumn<qint64>("startOffsetMs"); // clock moved before the first reading
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("duration");
    // 40 readings: start and duration only.
    QTest::newRow("40 readings") << 40 << 1000LL << 0LL << u"design"_s << u"design"_s << u"00:00:40"_s;
    QTest::newRow("50 readings") << 50 << 1000LL << 0LL << u"design"_s << u"design"_s << u"00:00:50"_s;
    // Readings 10 to 60: 100 degrees in 50 s.
    QTest::newRow("60 readings") << 60 << 1000LL << 0LL << u"220"_s << u"120.00"_s << u"00:01:00"_s;
    // At the device's pace: 50 readings span 32 s.
    QTest::newRow("60 readings at 0.64 s") << 60 << 640LL << 0LL << u"220"_s << u"187.50"_s << u"00:00:38"_s;
    // Past 24 hours of session the labels wrap; the rate does not.
    QTest::newRow("after 24 hours") << 60 << 1000LL << (24 * 3600 - 30) * 1000LL << u"220"_s << u"120.00"_s
                                    << u"00:00:30"_s;
    // Everything within one second: no rate, no division by zero.
    QTest::newRow("zero seconds") << 60 << 0LL << 0LL << u"220"_s << QString() << u"00:00:00"_s;
}

void tst_SeriesData::rate() {
    QFETCH(int, readings);
    QFETCH(qint64, stepMs);
    QFETCH(qint64, startOffsetMs);
    QFETCH(QString, temperature);
    QFETCH(QString, rate);
    QFETCH(QString, duration);
    LogicRig rig;
    rig.open();
    QCOMPARE(rig.state().startTime, rig.clock.now());
    rig.clock.advance(startOffsetMs);
    receive(rig, readings, stepMs);
    QCOMPARE(rig.state().pointCount, qint64(readings));
    SeriesData data(rig.logic->services(), rig.state(), QLocale::c());
    MemoryForm form;
    data.showSeriesTable(form);
    QCOMPARE(form.field(SeriesDataForm::Start), u"14:05:00"_s);
    QCOMPARE(form.field(SeriesDataForm::Duration), duration);
    QCOMPARE(form.field(SeriesDataForm::Temperature), temperature);
    QCOMPARE(form.field(SeriesDataForm::Rate), rate);
    // The window's load fills nothing up to 50 readings.
    MemoryForm loaded;
    data.load(loaded);
    QCOMPARE(loaded.fields.isEmpty(), readings <= 50);
}

void tst_SeriesData::pastedLabelsAcrossMidnight() {
    // Labels put in as text, as pasted data brings them: read as times of day.
    ReadingsTable table(1, 60);
    QVERIFY(table.setText(1, 10, u"23:59:40"_s));
    QVERIFY(table.setText(1, 60, u"00:00:30"_s));
    QCOMPARE(SeriesData::secondsBetween(table, 10, 60), std::optional<qint64>(50));
    QVERIFY(table.setText(1, 60, u"C60"_s));
    QCOMPARE(SeriesData::secondsBetween(table, 10, 60), std::nullopt);
}

void tst_SeriesData::rateText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("russian");
    QTest::newRow("whole") << 120.0 << u"120.00"_s << u"120,00"_s;
    QTest::newRow("below one") << 0.5 << u".50"_s << u",50"_s;
    QTest::newRow("rounded") << 12.345678 << u"12.35"_s << u"12,35"_s;
    QTest::newRow("falling") << -3.2 << u"-3.20"_s << u"-3,20"_s;
    QTest::newRow("zero") << 0.0 << u".00"_s << u",00"_s;
}

void tst_SeriesData::rateText() {
    QFETCH(double, value);
    QFETCH(QString, c);
    QFETCH(QString, russian);
    QCOMPARE(zorneta::rateText(value, QLocale::c()), c);
    QCOMPARE(zorneta::rateText(value, QLocale(QLocale::Russian, QLocale::Russia)), russian);
}

void tst_SeriesData::windowFollowsReadings() {
    LogicRig rig;
    rig.open();
    receive(rig, 40, 1000);
    SeriesData data(rig.logic->services(), rig.state(), QLocale::c());
    SeriesDataWindow window(data);
    QCOMPARE(window.windowTitle(), u"Текущие параметры"_s);
    for (int f = 1; f <= 4; ++f)
        QCOMPARE(window.field(SeriesDataForm::Field(f)), QString());
    // While it is open, each processed reading refreshes it.
    rig.view.seriesData = true;
    receive(rig, 1, 1000, 41);
    QCOMPARE(rig.view.seriesDataRefreshes, 1);
    window.refresh();
    QCOMPARE(window.fieldBox(SeriesDataForm::Start)->text(), u"14:05:00"_s);
    QCOMPARE(window.fieldBox(SeriesDataForm::Duration)->text(), u"00:00:41"_s);
    QCOMPARE(window.field(SeriesDataForm::Temperature), QString());
    receive(rig, 19, 1000, 42);
    window.refresh();
    QCOMPARE(window.field(SeriesDataForm::Temperature), u"220"_s);
    QCOMPARE(window.field(SeriesDataForm::Rate), u"120.00"_s);
    // A window opened with 60 readings is filled at once.
    SeriesDataWindow second(data);
    QCOMPARE(second.field(SeriesDataForm::Rate), u"120.00"_s);
}

void tst_SeriesData::windowClosesWhenLeft() {
    LogicRig rig;
    SeriesData data(rig.logic->services(), rig.state());
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QPointer<SeriesDataWindow> window = new SeriesDataWindow(data);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));
    other.activateWindow();
    QTRY_VERIFY(window.isNull());
}

QTEST_MAIN(tst_SeriesData)
#include "tst_seriesdata.moc"
