// Reading a recording file back: runs, the day's wrap, readings by the live
// rule, break marks, summaries, thinning for drawing, and files that are not
// recordings.

#include "RecordSamples.h"
#include "review/FiringRecord.h"

#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_FiringRecord : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void summaries_data();
    void summaries();
    void stepBack_data();
    void stepBack();
    void badFiles_data();
    void badFiles();
    void longLineAmongReadings();
    void tooManyReadings();
    void thinnedCurve();
    void curveBetweenTimes();

private:
    QTemporaryDir m_dir;
};

void tst_FiringRecord::summaries_data() {
    QTest::addColumn<int>("run");
    QTest::addColumn<double>("alarm");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("readings");
    QTest::addColumn<int>("breaks");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<double>("highest");
    QTest::addColumn<int>("highestAt");
    QTest::addColumn<int>("atOrAbove");
    QTest::addColumn<QList<int>>("breakTimes");
    // 855 holds from 23:59:52 to 00:00:03 (11 s), 860 until the break (1 s).
    QTest::newRow("past midnight") << 1 << 855.0 << 86388 << 86406 << 4 << 1 << 4 << 870.0 << 86406 << 12
                                   << QList<int>{86404};
    QTest::newRow("alarm never reached") << 1 << 1000.0 << 86388 << 86406 << 4 << 1 << 4 << 870.0 << 86406 << 0
                                         << QList<int>{86404};
    QTest::newRow("the break is not the highest")
        << 1 << 9999.0 << 86388 << 86406 << 4 << 1 << 4 << 870.0 << 86406 << 0 << QList<int>{86404};
    // 20 from 1 s to 2 s, 21 from 2 s to 5 s; 12.5 is below.
    QTest::newRow("second run") << 2 << 20.0 << 0 << 5 << 3 << 0 << 1 << 21.0 << 2 << 4 << QList<int>{};
}

void tst_FiringRecord::summaries() {
    QFETCH(int, run);
    QFETCH(double, alarm);
    const QString path = m_dir.filePath(u"firing.txt"_s);
    QVERIFY(samples::write(path, samples::twoRuns()));
    FiringRecord record;
    const ReviewStatus loaded = record.load(path);
    QVERIFY2(loaded, qPrintable(loaded.message()));
    QCOMPARE(record.runs().size(), std::size_t(2));
    QCOMPARE(record.lineCount(), 13);
    QCOMPARE(record.skippedLines(), 5);

    const RunSummary s = record.summary(run, alarm);
    QCOMPARE(s.run, run);
    QTEST(int(s.start), "start");
    QTEST(int(s.end), "end");
    QCOMPARE(s.duration, s.end - s.start);
    QTEST(int(s.readings), "readings");
    QTEST(int(s.breaks), "breaks");
    QTEST(int(s.skipped), "skipped");
    QVERIFY(s.highest.has_value());
    QTEST(*s.highest, "highest");
    QTEST(int(s.highestAt), "highestAt");
    QVERIFY(s.secondsAtOrAbove.has_value());
    QTEST(int(*s.secondsAtOrAbove), "atOrAbove");
    QList<int> breakTimes(s.breakTimes.begin(), s.breakTimes.end());
    QTEST(breakTimes, "breakTimes");
    QVERIFY(!record.summary(run).secondsAtOrAbove.has_value());
    QVERIFY(record.summary(3).run == 0);
}

void tst_FiringRecord::stepBack_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("elapsedAfter");
    QTest::newRow("23:59:59 to 00:00:00") << 86399 << 0 << 1 << 86400;
    QTest::newRow("23:59:50 to 00:00:09") << 86390 << 9 << 1 << 86409;
    QTest::newRow("23:59:49 to 00:00:00") << 86389 << 0 << 2 << 0;
    QTest::newRow("23:59:55 to 00:00:10") << 86395 << 10 << 2 << 10;
    QTest::newRow("12:00:00 to 11:59:59") << 43200 << 43199 << 2 << 43199;
    QTest::newRow("same second") << 43200 << 43200 << 1 << 43200;
}

void tst_FiringRecord::stepBack() {
    QFETCH(int, before);
    QFETCH(int, after);
    const QString path = m_dir.filePath(u"step.txt"_s);
    QVERIFY(samples::write(path, samples::line(before, "0100") + samples::line(after, "0200")));
    FiringRecord record;
    QVERIFY(record.load(path));
    QTEST(int(record.runs().size()), "runs");
    QCOMPARE(record.entryCount(), 2);
    QCOMPARE(record.seconds(0), before);
    QTEST(int(record.seconds(1)), "elapsedAfter");
    QCOMPARE(record.value(1), 200.0);
}

void tst_FiringRecord::badFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString notARecord = u"Файл не похож на запись Зорнеты: %1 (в нём нет ни одной строки вида "
                               "«чч:мм:сс», табуляция, принятый текст)"_s;
    QTest::newRow("empty") << QByteArray() << u"Файл пуст: %1"_s;
    QByteArray binary(70000, '\0');
    std::mt19937 random(7);
    for (char &c : binary)
        c = char(random() & 0xff);
    QTest::newRow("binary") << binary << notARecord;
    QTest::newRow("one huge line") << QByteArray(3 * 1024 * 1024 + 17, 'x') << notARecord;
    QTest::newRow("foreign text") << QByteArray("[Properties]\nPort=1\n12:00 0850\n2026-12-08,850\n") << notARecord;
    QTest::newRow("stamp without a TAB") << QByteArray("00:00:01 0850\n00:00:02 0851\n") << notARecord;
}

void tst_FiringRecord::badFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(u"bad.txt"_s);
    QVERIFY(samples::write(path, bytes));
    FiringRecord record;
    const ReviewStatus loaded = record.load(path);
    QVERIFY(!loaded);
    QCOMPARE(loaded.message(), message.arg(path));
    QVERIFY(record.runs().empty());
    QCOMPARE(record.entryCount(), 0);

    const ReviewStatus folder = record.load(m_dir.path());
    QCOMPARE(folder.message(), u"Выбрана папка, а не файл: "_s + m_dir.path());
}

void tst_FiringRecord::longLineAmongReadings() {
    // A 5 MB line between two readings, the file cut in the middle of a line.
    const QByteArray bytes = samples::line(10, "0100") + "00:00:11\t" + QByteArray(5 * 1024 * 1024, '7') + '\n' +
                             samples::line(12, "0120") + "00:00:13\t013";
    const QString path = m_dir.filePath(u"long.txt"_s);
    QVERIFY(samples::write(path, bytes));
    FiringRecord record;
    QVERIFY(record.load(path));
    QCOMPARE(record.lineCount(), 4);
    const RunSummary s = record.summary(1);
    QCOMPARE(s.readings, 3);
    QCOMPARE(s.skipped, 1);
    QCOMPARE(s.end, 13);
    QCOMPARE(record.value(2), 13.0);
}

void tst_FiringRecord::tooManyReadings() {
    QByteArray bytes;
    for (int i = 0; i < 10; ++i)
        bytes += samples::line(i, "0500");
    const QString path = m_dir.filePath(u"many.txt"_s);
    QVERIFY(samples::write(path, bytes));
    FiringRecord record(5);
    const ReviewStatus loaded = record.load(path);
    QCOMPARE(loaded.message(), u"Файл слишком велик для просмотра: %1 (в нём больше 5 показаний)"_s.arg(path));
    QVERIFY(record.runs().empty());
}

void tst_FiringRecord::thinnedCurve() {
    // 20 000 readings, a peak at 12 345 and a break at 10 000.
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i) {
        const QByteArray text =
            i == 10000 ? "9999"_ba : QByteArray::number(i == 12345 ? 1500 : 500 + i % 100).rightJustified(4, '0');
        bytes += samples::line(i, text);
    }
    const QString path = m_dir.filePath(u"curve.txt"_s);
    QVERIFY(samples::write(path, bytes));
    FiringRecord record;
    QVERIFY(record.load(path));
    const int columns = 100;
    const QList<CurvePoint> points = record.curve(1, columns);
    QVERIFY2(points.size() <= 2 * columns + 2, qPrintable(QString::number(points.size())));
    QVERIFY(points.size() > columns);
    QCOMPARE(points.first().seconds, 0);
    QCOMPARE(points.last().seconds, 19999);
    int gaps = 0;
    bool peak = false;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (i > 0)
            QVERIFY(points[i].seconds > points[i - 1].seconds);
        QCOMPARE(points[i].value, points[i].seconds == 12345 ? 1500.0 : 500.0 + points[i].seconds % 100);
        if (points[i].gapBefore) {
            ++gaps;
            QVERIFY(points[i - 1].seconds < 10000 && points[i].seconds > 10000);
        }
        peak = peak || points[i].value == 1500.0;
    }
    QCOMPARE(gaps, 1);
    QVERIFY(peak);
}

void tst_FiringRecord::curveBetweenTimes() {
    QByteArray bytes;
    for (int i = 0; i < 50; ++i)
        bytes += samples::line(100 + i, QByteArray::number(600 + i).rightJustified(4, '0'));
    const QString path = m_dir.filePath(u"window.txt"_s);
    QVERIFY(samples::write(path, bytes));
    FiringRecord record;
    QVERIFY(record.load(path));
    const QList<CurvePoint> points = record.curve(1, 120, 124, 800);
    QCOMPARE(points.size(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(points[i].seconds, 120 + i);
        QCOMPARE(points[i].value, 620.0 + i);
    }
    QVERIFY(record.curve(1, 200, 300, 800).isEmpty());
    QVERIFY(record.curve(2, 800).isEmpty());
}

QTEST_GUILESS_MAIN(tst_FiringRecord)
#include "tst_firingrecord.moc"
