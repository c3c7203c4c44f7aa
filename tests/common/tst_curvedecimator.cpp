// Thinning the curve of a table of readings for drawing.

#include "common/CurveDecimator.h"
#include "common/ReadingsTable.h"

#include <QTest>

#include <cmath>
#include <random>

using namespace zorneta;

namespace {

// Every reading of the table as a point (x = column - first column).
QList<QPointF> allReadings(const ReadingsTable &table) {
    QList<QPointF> points;
    for (qint64 c = table.firstColumn() + 1; c <= table.lastColumn(); ++c) {
        if (table.isNumber(2, c))
            points.append(QPointF(double(c - table.firstColumn()), table.number(2, c)));
    }
    return points;
}

// A session-like table: a title, then `readings` readings on a slow wave
// with small steps, and `spare` empty columns after them.
ReadingsTable waveTable(qint64 readings, qint64 spare = 0) {
    ReadingsTable table(1, 1 + readings + spare);
    table.setText(2, 1, QStringLiteral("МЛ512"));
    for (qint64 p = 1; p <= readings; ++p)
        table.setNumber(2, 1 + p, 500.0 + 400.0 * std::sin(double(p) / 40000.0) + double((p * 7919) % 13));
    return table;
}

// Checks what a thinned curve promises about the table it was made from:
// at most 2 * width + 2 points, x strictly increasing, every point a reading
// of the table, the lowest and the highest reading there (at their first
// place), and the first and the newest reading there.
void checkThinned(const ReadingsTable &table, const QList<QPointF> &points, int width) {
    QVERIFY2(points.size() <= 2 * width + 2, qPrintable(QString::number(points.size())));
    QVERIFY(!points.isEmpty());
    const qint64 first = table.firstColumn();
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (i > 0)
            QVERIFY2(points[i].x() > points[i - 1].x(), qPrintable(QString::number(i)));
        const auto column = first + qint64(points[i].x());
        QVERIFY(points[i].x() >= 1.0);
        QVERIFY(table.isNumber(2, column));
        QCOMPARE(points[i].y(), table.number(2, column));
    }
    qint64 firstAt = -1, newestAt = -1, lowAt = -1, highAt = -1;
    double low = 0.0, high = 0.0;
    for (qint64 c = first + 1; c <= table.lastColumn(); ++c) {
        if (!table.isNumber(2, c))
            continue;
        const double v = table.number(2, c);
        const qint64 at = c - first;
        if (firstAt < 0) {
            firstAt = at;
            low = high = v;
            lowAt = highAt = at;
        }
        newestAt = at;
        if (v < low) {
            low = v;
            lowAt = at;
        }
        if (v > high) {
            high = v;
            highAt = at;
        }
    }
    QVERIFY(firstAt >= 1);
    QCOMPARE(points.first(), QPointF(double(firstAt), table.number(2, first + firstAt)));
    QCOMPARE(points.last(), QPointF(double(newestAt), table.number(2, first + newestAt)));
    QVERIFY2(points.contains(QPointF(double(lowAt), low)), qPrintable(QString::number(lowAt)));
    QVERIFY2(points.contains(QPointF(double(highAt), high)), qPrintable(QString::number(highAt)));
}

} // namespace

// A failed check in checkThinned ends the test function too.
#define CHECK_THINNED(table, points, width)                                                                            \
    do {                                                                                                               \
        checkThinned(table, points, width);                                                                            \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

class TestCurveDecimator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noColumnsOrNoReadingsGiveNothing() {
        CurveDecimator decimator;
        QVERIFY(decimator.points(ReadingsTable(), 100).isEmpty());
        QVERIFY(!decimator.range(ReadingsTable()).has_value());
        ReadingsTable titleOnly(1, 1);
        titleOnly.setText(2, 1, QStringLiteral("t"));
        QVERIFY(decimator.points(titleOnly, 100).isEmpty());
        QVERIFY(!decimator.range(titleOnly).has_value());
        const ReadingsTable blank = waveTable(0, 300000);
        QVERIFY(decimator.points(blank, 100).isEmpty());
        QVERIFY(!decimator.range(blank).has_value());
    }

    void smallTableGivesEveryReadingInOrder() {
        ReadingsTable table(1, 40);
        table.setText(2, 1, QStringLiteral("t"));
        for (qint64 p = 1; p <= 30; ++p)
            table.setNumber(2, 1 + p, 1000.0 - 7.0 * double(p % 5) + p);
        CurveDecimator decimator;
        const QList<QPointF> points = decimator.points(table, 800);
        QCOMPARE(points.size(), 30);
        QCOMPARE(points, allReadings(table));
        for (int i = 0; i < 30; ++i)
            QCOMPARE(points[i].x(), double(i + 1));
        // Still every reading while there are at most two columns per pixel
        // column (39 here), thinned beyond.
        QCOMPARE(decimator.points(table, 20), allReadings(table));
        const QList<QPointF> thinned = decimator.points(table, 15);
        QVERIFY(thinned.size() < 30);
        CHECK_THINNED(table, thinned, 15);
        const auto range = decimator.range(table);
        QVERIFY(range.has_value());
        QCOMPARE(range->first, 1000.0 - 7.0 * 4 + 4);
        QCOMPARE(range->second, 1000.0 + 30);
    }

    void emptyCellsAreSkipped() {
        ReadingsTable table(1, 20);
        table.setNumber(2, 2, 10.0);
        table.setNumber(2, 3, 11.0);
        table.setNumber(2, 5, 13.0);
        table.setText(2, 6, QStringLiteral("not a reading"));
        table.setNumber(2, 8, 16.0);
        table.setElapsedLabel(1, 9, 5); // a label, not a reading
        CurveDecimator decimator;
        QCOMPARE(decimator.points(table, 800), (QList<QPointF>{{1, 10.0}, {2, 11.0}, {4, 13.0}, {7, 16.0}}));
        QCOMPARE(decimator.range(table), std::make_optional(std::make_pair(10.0, 16.0)));

        // Thinned: long gaps add no points, and nothing is made up.
        ReadingsTable sparse(1, 400000);
        for (qint64 c = 2; c <= 400000; c += 997)
            sparse.setNumber(2, c, double(c % 101));
        const QList<QPointF> points = decimator.points(sparse, 300);
        CHECK_THINNED(sparse, points, 300);
    }

    void firstColumnIsNeverAPoint() {
        // Columns from 5: point p is column 5 + p.
        ReadingsTable table(5, 16);
        table.setNumber(2, 5, 999.0); // a number where the title goes
        table.setNumber(2, 6, 300.0);
        table.setNumber(2, 8, 310.0);
        CurveDecimator decimator;
        QCOMPARE(decimator.points(table, 800), (QList<QPointF>{{1, 300.0}, {3, 310.0}}));
        QCOMPARE(decimator.range(table), std::make_optional(std::make_pair(300.0, 310.0)));

        // Nor when the curve is thinned from block summaries.
        ReadingsTable big = waveTable(200000);
        big.setNumber(2, 1, 1e9);
        const QList<QPointF> points = decimator.points(big, 500);
        CHECK_THINNED(big, points, 500);
        QVERIFY(points.first().x() >= 1.0);
        const auto range = decimator.range(big);
        QVERIFY(range.has_value());
        QVERIFY(range->second < 1e9);
    }

    void stretchIsThinnedToTheView_data() {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<int>("width");
        QTest::newRow("a tenth, by summaries") << qint64(400'017) << qint64(500'123) << 800;
        QTest::newRow("across block edges, by readings") << qint64(4'000) << qint64(12'300) << 700;
        QTest::newRow("every reading fits") << qint64(999'000) << qint64(999'999) << 600;
        QTest::newRow("the start") << qint64(0) << qint64(70'000) << 500;
    }

    // A zoomed view thins only its stretch: the lowest and the highest
    // reading of the stretch stay, a spike just outside it does not show,
    // and the nearest reading on either side carries the line to the edges.
    void stretchIsThinnedToTheView() {
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(int, width);
        ReadingsTable table = waveTable(999999);
        const qint64 low = from + (to - from) / 3, high = from + (to - from) * 2 / 3;
        table.setNumber(2, 1 + low, -40.0);
        table.setNumber(2, 1 + high, 3000.0);
        if (to + 2 <= 999999)
            table.setNumber(2, 1 + to + 2, 9000.0);
        CurveDecimator decimator;
        const QList<QPointF> points = decimator.points(table, width, from, to);
        QVERIFY2(points.size() <= 2 * width + 4, qPrintable(QString::number(points.size())));
        QVERIFY(points.contains(QPointF(double(low), -40.0)));
        QVERIFY(points.contains(QPointF(double(high), 3000.0)));
        QVERIFY(!points.contains(QPointF(double(to + 2), 9000.0)));
        for (qsizetype i = 1; i < points.size(); ++i)
            QVERIFY(points[i].x() > points[i - 1].x());
        const qint64 before = std::max<qint64>(1, from - 1);
        QCOMPARE(points.first(), QPointF(double(before), table.number(2, 1 + before)));
        const qint64 after = std::min<qint64>(999999, to + 1);
        QCOMPARE(points.last(), QPointF(double(after), table.number(2, 1 + after)));
        for (const QPointF &p : points)
            QVERIFY(p.x() >= double(before) && p.x() <= double(after));
    }

    void millionColumnsAreThinnedPerPixel() {
        ReadingsTable table = waveTable(999999);
        table.setNumber(2, 1 + 123457, 2000.0);
        table.setNumber(2, 1 + 876543, -50.0);
        CurveDecimator decimator;
        for (const int width : {1000, 777, 64}) {
            const QList<QPointF> points = decimator.points(table, width);
            CHECK_THINNED(table, points, width);
            // Every pixel column holds readings: about two points each.
            QVERIFY2(points.size() > width, qPrintable(QString::number(points.size())));
        }
        QVERIFY(decimator.points(table, 1000).contains(QPointF(123457.0, 2000.0)));
        QVERIFY(decimator.points(table, 1000).contains(QPointF(876543.0, -50.0)));
        QCOMPARE(decimator.range(table), std::make_optional(std::make_pair(-50.0, 2000.0)));
    }

    void thinnedFromReadingsWhenPixelColumnsHoldFew() {
        // Fewer than a summary's worth of readings per pixel column.
        for (const qint64 readings : {qint64(2001), qint64(20000), qint64(63000)}) {
            const ReadingsTable table = waveTable(readings, 7);
            CurveDecimator decimator;
            const QList<QPointF> points = decimator.points(table, 1000);
            CHECK_THINNED(table, points, 1000);
            QVERIFY(points.size() > 1000);
        }
    }

    void oneMoreReadingRecomputesFewBlocks() {
        // As the terminal grows it: the newest reading, then an empty column.
        ReadingsTable table = waveTable(999999, 1);
        CurveDecimator decimator;
        CHECK_THINNED(table, decimator.points(table, 1000), 1000);
        const qint64 whole = decimator.summarisedBlocks();
        QCOMPARE(whole, table.chunkCount());

        for (int step = 0; step < 3; ++step) {
            const qint64 before = decimator.summarisedBlocks();
            const qint64 column = table.lastColumn();
            QVERIFY(table.setNumber(2, column, 3000.0 + step));
            QVERIFY(table.growBy(1));
            const QList<QPointF> points = decimator.points(table, 1000);
            QVERIFY2(decimator.summarisedBlocks() - before <= 2,
                     qPrintable(QString::number(decimator.summarisedBlocks() - before)));
            QVERIFY(decimator.summarisedBlocks() > before);
            QCOMPARE(points.last(), QPointF(double(column - 1), 3000.0 + step));
            QCOMPARE(decimator.range(table)->second, 3000.0 + step);
            QVERIFY(points.size() <= 2 * 1000 + 2);
        }
        // Across the end of a block: the new block and the one written.
        const qint64 toEdge = ReadingsChunk::Columns - table.columnCount() % ReadingsChunk::Columns;
        QVERIFY(table.growBy(toEdge));
        (void)decimator.points(table, 1000);
        const qint64 before = decimator.summarisedBlocks();
        const qint64 column = table.lastColumn();
        QVERIFY(table.setNumber(2, column, -10.0));
        QVERIFY(table.growBy(1));
        const QList<QPointF> points = decimator.points(table, 1000);
        QVERIFY(decimator.summarisedBlocks() - before <= 2);
        QCOMPARE(points.last(), QPointF(double(column - 1), -10.0));

        // Asking again about an unchanged table recomputes nothing.
        const qint64 settled = decimator.summarisedBlocks();
        QCOMPARE(decimator.points(table, 1000), points);
        (void)decimator.range(table);
        QCOMPARE(decimator.summarisedBlocks(), settled);
    }

    void copiesShareBlocksUntilWritten() {
        ReadingsTable table = waveTable(100000);
        CurveDecimator decimator;
        const QList<QPointF> original = decimator.points(table, 700);
        ReadingsTable copy = table;
        for (qint64 k = 0; k < table.chunkCount(); ++k)
            QVERIFY(copy.chunk(k) == table.chunk(k));

        const qint64 column = 50001;
        const double was = table.number(2, column);
        QVERIFY(copy.setNumber(2, column, 12345.0));
        QCOMPARE(table.number(2, column), was);
        QCOMPARE(copy.number(2, column), 12345.0);
        qint64 differing = 0;
        for (qint64 k = 0; k < table.chunkCount(); ++k)
            differing += copy.chunk(k) != table.chunk(k) ? 1 : 0;
        QCOMPARE(differing, qint64(1));

        // The copy shows its reading, the original still its own.
        const QList<QPointF> fromCopy = decimator.points(copy, 700);
        QVERIFY(fromCopy.contains(QPointF(double(column - 1), 12345.0)));
        QCOMPARE(decimator.points(table, 700), original);
        QVERIFY(decimator.range(table)->second < 12345.0);
        QCOMPARE(decimator.range(copy)->second, 12345.0);
    }

    void rangeMatchesEveryReading() {
        std::mt19937 random(20240611u);
        std::uniform_real_distribution<double> value(-300.0, 1700.0);
        std::uniform_int_distribution<int> dice(0, 9);
        for (const qint64 columns :
             {qint64(2), qint64(50), qint64(4096), qint64(4097), qint64(70000), qint64(300001)}) {
            ReadingsTable table(3, 3 + columns - 1);
            double low = 0.0, high = 0.0;
            bool any = false;
            for (qint64 c = table.firstColumn() + 1; c <= table.lastColumn(); ++c) {
                if (dice(random) == 0)
                    continue; // an empty cell now and then
                const double v = value(random);
                table.setNumber(2, c, v);
                low = any ? std::min(low, v) : v;
                high = any ? std::max(high, v) : v;
                any = true;
            }
            table.setNumber(2, table.firstColumn(), 1e6); // not a reading
            CurveDecimator decimator;
            const auto range = decimator.range(table);
            QCOMPARE(range.has_value(), any);
            if (any) {
                QCOMPARE(range->first, low);
                QCOMPARE(range->second, high);
                CHECK_THINNED(table, decimator.points(table, 640), 640);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCurveDecimator)
#include "tst_curvedecimator.moc"
