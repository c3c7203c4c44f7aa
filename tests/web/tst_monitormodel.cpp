// The model behind the web endpoint: readings numbered from 0 for good, the
// oldest dropped in whole blocks past the capacity, breaks apart from
// temperatures, faults counted by code.

#include "web/MonitorModel.h"

#include <QSignalSpy>
#include <QtTest>

using namespace zorneta::web;

class tst_MonitorModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readingsAreNumberedFromZero();
    void breakIsNoTemperature();
    void oldestGoPastCapacity_data();
    void oldestGoPastCapacity();
    void faultsByCode();
};

void tst_MonitorModel::readingsAreNumberedFromZero() {
    MonitorModel model(1000);
    QSignalSpy changed(&model, &MonitorModel::changed);
    model.addReading(5000, 20);
    model.addReading(5640, 21.5);
    QCOMPARE(model.total(), 2);
    QCOMPARE(model.firstKept(), 0);
    QCOMPARE(changed.size(), 2);
    const MonitorModel::Reading second = model.reading(1);
    QCOMPARE(second.sequence, 1);
    QCOMPARE(second.ms, 5640);
    QCOMPARE(second.celsius, 21.5);
    QCOMPARE(model.reading(2).sequence, -1);
    QCOMPARE(model.lastTemperature()->sequence, 1);
    // The curve holds each reading in its column.
    QCOMPARE(model.curve().lastColumn(), 2);
    QCOMPARE(model.curve().number(2, 1), 20.0);
}

void tst_MonitorModel::breakIsNoTemperature() {
    MonitorModel model(0);
    model.addReading(100, 812);
    model.addBreak(740);
    QVERIFY(model.thermocoupleBreak());
    QCOMPARE(model.lastTemperature()->celsius, 812.0);
    QVERIFY(model.lastReading()->isBreak);
    QCOMPARE(model.lastReading()->ms, 740);
    QVERIFY(!model.curve().isNumber(2, 2));
    model.addReading(1380, 811);
    QVERIFY(!model.thermocoupleBreak());
}

void tst_MonitorModel::oldestGoPastCapacity_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<qint64>("firstKept");
    QTest::newRow("up to the capacity") << qint64(8192) << qint64(0);
    QTest::newRow("one past") << qint64(8193) << qint64(4096);
    QTest::newRow("many blocks past") << qint64(30000) << qint64(24576);
}

void tst_MonitorModel::oldestGoPastCapacity() {
    QFETCH(qint64, count);
    QFETCH(qint64, firstKept);
    MonitorModel model(0, 8192);
    for (qint64 i = 0; i < count; ++i)
        model.addReading(1000 + i * 3, double(i % 1000));
    QCOMPARE(model.total(), count);
    QCOMPARE(model.firstKept(), firstKept);
    QCOMPARE(model.reading(firstKept - 1).sequence, qint64(-1));
    const MonitorModel::Reading first = model.reading(firstKept);
    QCOMPARE(first.ms, 1000 + firstKept * 3);
    QCOMPARE(first.celsius, double(firstKept % 1000));
    QCOMPARE(model.reading(count - 1).celsius, double((count - 1) % 1000));
    QCOMPARE(model.curve().lastColumn(), count - firstKept);
    QCOMPARE(model.curve().number(2, 1), double(firstKept % 1000));
}

void tst_MonitorModel::faultsByCode() {
    MonitorModel model(0);
    model.countFault(1006);
    model.countFault(1004);
    model.countFault(1006);
    const QMap<int, quint64> expected{{1004, 1}, {1006, 2}};
    QCOMPARE(model.faults(), expected);
}

QTEST_GUILESS_MAIN(tst_MonitorModel)
#include "tst_monitormodel.moc"
