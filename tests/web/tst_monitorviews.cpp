// What the endpoint answers: the exact exposition text for Prometheus (labels
// escaped, no temperature for a break), the readings in pages that never go
// back, and the curve thinned to two points a pixel column.

#include "web/MonitorViews.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace zorneta::web;

class tst_MonitorViews : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void metricsText();
    void breakHasNoTemperature();
    void readingsPages_data();
    void readingsPages();
    void curveIsThinned();
};

void tst_MonitorViews::metricsText() {
    MonitorModel model(1'700'000'000'123);
    model.setLineState(MonitorModel::LineState::LostWaiting);
    model.addReading(1'700'000'010'000, 812.5);
    model.countFault(1006);
    model.setAlarm(850);
    model.setRecording(QStringLiteral("/var/log/furnace.txt"), 4096);
    MonitorViews views(model, {{QStringLiteral("furnace"), QStringLiteral("3")},
                               {QStringLiteral("site"), QStringLiteral("цех \"А\"\\2\n")}});
    const QByteArray l = R"(furnace="3",site="цех \"А\"\\2\n")";
    const QByteArray expected =
        "# HELP zorneta_temperature_celsius Last temperature received from the thermoregulator.\n"
        "# TYPE zorneta_temperature_celsius gauge\n"
        "zorneta_temperature_celsius{" +
        l +
        "} 812.5\n"
        "# HELP zorneta_temperature_age_seconds Seconds since the last temperature was received.\n"
        "# TYPE zorneta_temperature_age_seconds gauge\n"
        "zorneta_temperature_age_seconds{" +
        l +
        "} 2.500\n"
        "# HELP zorneta_readings_total Readings received since the process started.\n"
        "# TYPE zorneta_readings_total counter\n"
        "zorneta_readings_total{" +
        l +
        "} 1\n"
        "# HELP zorneta_line_state State of the serial line: 1 for the current state.\n"
        "# TYPE zorneta_line_state gauge\n"
        "zorneta_line_state{" +
        l +
        ",state=\"open\"} 0\n"
        "zorneta_line_state{" +
        l +
        ",state=\"lost_waiting\"} 1\n"
        "zorneta_line_state{" +
        l +
        ",state=\"closed\"} 0\n"
        "# HELP zorneta_line_faults_total Line faults reported since the process started, by code.\n"
        "# TYPE zorneta_line_faults_total counter\n"
        "zorneta_line_faults_total{" +
        l +
        ",code=\"1006\"} 1\n"
        "# HELP zorneta_thermocouple_break 1 while the last reading reports a thermocouple break.\n"
        "# TYPE zorneta_thermocouple_break gauge\n"
        "zorneta_thermocouple_break{" +
        l +
        "} 0\n"
        "# HELP zorneta_alarm_temperature_celsius The alarm temperature, when one is set.\n"
        "# TYPE zorneta_alarm_temperature_celsius gauge\n"
        "zorneta_alarm_temperature_celsius{" +
        l +
        "} 850\n"
        "# HELP zorneta_alarm_reached 1 once the alarm temperature has been reached.\n"
        "# TYPE zorneta_alarm_reached gauge\n"
        "zorneta_alarm_reached{" +
        l +
        "} 0\n"
        "# HELP zorneta_recording_bytes Size of the recording file.\n"
        "# TYPE zorneta_recording_bytes gauge\n"
        "zorneta_recording_bytes{" +
        l +
        "} 4096\n"
        "# HELP zorneta_reception_ended 1 once reception has ended for good (the program still serves).\n"
        "# TYPE zorneta_reception_ended gauge\n"
        "zorneta_reception_ended{" +
        l +
        "} 0\n"
        "# HELP zorneta_start_time_seconds Start time of the process since the Unix epoch.\n"
        "# TYPE zorneta_start_time_seconds gauge\n"
        "zorneta_start_time_seconds{" +
        l + "} 1700000000.123\n";
    QCOMPARE(views.metrics(1'700'000'012'500), expected);
}

void tst_MonitorViews::breakHasNoTemperature() {
    MonitorModel model(0);
    model.addBreak(1000);
    MonitorViews views(model);
    const QByteArray text = views.metrics(2000);
    QVERIFY(!text.contains("9999"));
    QVERIFY(!text.contains("\nzorneta_temperature_celsius "));
    QVERIFY(text.contains("\nzorneta_thermocouple_break 1\n"));
    const QJsonObject session = QJsonDocument::fromJson(views.session()).object();
    QVERIFY(session.value(QStringLiteral("lastTemperature")).isNull());
    QCOMPARE(session.value(QStringLiteral("lastReading")).toObject().value(QStringLiteral("break")).toBool(), true);
}

void tst_MonitorViews::readingsPages_data() {
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("count");
    QTest::newRow("a page") << qint64(5000) << qint64(5) << qint64(5000) << qint64(5);
    QTest::newRow("before the oldest kept") << qint64(0) << qint64(3) << qint64(4096) << qint64(3);
    QTest::newRow("past the end") << qint64(30000) << qint64(5) << qint64(20000) << qint64(0);
    QTest::newRow("limit capped") << qint64(4096) << qint64(1'000'000) << qint64(4096)
                                  << MonitorViews::MaxReadingsPerAnswer;
}

void tst_MonitorViews::readingsPages() {
    QFETCH(qint64, from);
    QFETCH(qint64, limit);
    QFETCH(qint64, first);
    QFETCH(qint64, count);
    MonitorModel model(0, 16384);
    for (qint64 i = 0; i < 20000; ++i)
        model.addReading(i * 640, double(i));
    MonitorViews views(model);
    const QJsonObject page = QJsonDocument::fromJson(views.readings(from, limit)).object();
    QCOMPARE(page.value(QStringLiteral("from")).toInteger(), first);
    QCOMPARE(page.value(QStringLiteral("total")).toInteger(), 20000);
    const QJsonArray list = page.value(QStringLiteral("readings")).toArray();
    QCOMPARE(list.size(), count);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QJsonObject r = list.at(i).toObject();
        QCOMPARE(r.value(QStringLiteral("seq")).toInteger(), first + i);
        QCOMPARE(r.value(QStringLiteral("celsius")).toDouble(), double(first + i));
        QCOMPARE(r.value(QStringLiteral("ms")).toInteger(), (first + i) * 640);
    }
    QCOMPARE(page.value(QStringLiteral("next")).toInteger(), first + count);
}

void tst_MonitorViews::curveIsThinned() {
    MonitorModel model(0);
    for (qint64 i = 0; i < 100'000; ++i) {
        if (i == 50'000)
            model.addBreak(i * 10);
        else
            model.addReading(i * 10, i == 70'000 ? 1500.0 : double(i % 100));
    }
    MonitorViews views(model);
    const QJsonObject curve = QJsonDocument::fromJson(views.curve(200)).object();
    const QJsonArray points = curve.value(QStringLiteral("points")).toArray();
    QVERIFY(points.size() > 200);
    QVERIFY(points.size() <= 2 * 200 + 2);
    double highest = 0;
    qint64 previous = -1;
    for (const QJsonValue &p : points) {
        const qint64 at = p.toArray().at(0).toInteger();
        QVERIFY(at > previous);
        previous = at;
        highest = std::max(highest, p.toArray().at(1).toDouble());
    }
    // The one spike is not thinned away, and no break appears as a value.
    QCOMPARE(highest, 1500.0);
    QCOMPARE(points.last().toArray().at(0).toInteger(), 999'990);
}

QTEST_GUILESS_MAIN(tst_MonitorViews)
#include "tst_monitorviews.moc"
