// The table of readings: shape, growth keeping contents, cells of every kind,
// refusal of cells outside the table.

#include "session/SessionState.h"
#include "common/Formats.h"
#include "common/ReadingsTable.h"

#include <QTimeZone>
#include <QtTest>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_ReadingsTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshTable();
    void cellsOfEveryKind();
    void copyCellKeepsTheStoredKind();
    void outsideTheTableIsRefused_data();
    void outsideTheTableIsRefused();
    void growKeepsContents();
    void resizeWithAnotherFirstColumn();
    void labelsAreFormattedOnRead();
    void revisionFollowsChanges();
    void millionColumns();
    void clockTimeTravelsWithItsReading_data();
    void clockTimeTravelsWithItsReading();
    void clockTimeOutsideItsRangeIsRefused();
    void clockTimesFarApartInOneBlock();
};

void tst_ReadingsTable::freshTable() {
    const ReadingsTable t = freshReadings();
    QCOMPARE(t.firstColumn(), qint64(1));
    QCOMPARE(t.lastColumn(), qint64(40));
    QCOMPARE(t.cell(2, 1), Cell::text(u"МЛ512"_s));
    QCOMPARE(t.cell(1, 40), Cell::text(QStringLiteral("C40")));
    QVERIFY(t.cell(2, 2).isEmpty());
    QVERIFY(t.cell(1, 39).isEmpty());
}

void tst_ReadingsTable::cellsOfEveryKind() {
    ReadingsTable t(1, 5);
    QVERIFY(t.setNumber(2, 2, 850.5));
    QVERIFY(t.setText(2, 3, QStringLiteral("abc")));
    QVERIFY(t.setElapsedLabel(1, 2, 317));
    QCOMPARE(t.cell(2, 2), Cell::number(850.5));
    QVERIFY(t.isNumber(2, 2));
    QCOMPARE(t.number(2, 2), 850.5);
    QCOMPARE(t.cell(2, 3).toText(), QStringLiteral("abc"));
    QVERIFY(!t.isNumber(2, 3));
    QCOMPARE(t.cell(1, 2), Cell::text(QStringLiteral("00:05:17")));
    // Overwriting a text with a number and clearing.
    QVERIFY(t.setNumber(2, 3, 1.0));
    QCOMPARE(t.cell(2, 3), Cell::number(1.0));
    QVERIFY(t.clearCell(2, 3));
    QVERIFY(t.cell(2, 3).isEmpty());
    // Row 1 holds numbers and labels of any span too; row 2 labels as well.
    QVERIFY(t.setNumber(1, 4, 12.25));
    QCOMPARE(t.cell(1, 4), Cell::number(12.25));
    QCOMPARE(t.number(1, 4), 12.25);
    QVERIFY(t.setElapsedLabel(1, 4, 90061));
    QCOMPARE(t.cell(1, 4), Cell::text(QStringLiteral("01:01:01")));
    QVERIFY(!t.isNumber(1, 4));
    QVERIFY(t.setNumber(1, 5, -3.0));
    QVERIFY(t.resize(1, 4));
    QVERIFY(t.resize(1, 5));
    QVERIFY(t.cell(1, 5).isEmpty());
    QVERIFY(t.setElapsedLabel(1, 3, qint64(1) << 40));
    QCOMPARE(t.cell(1, 3), Cell::text(elapsedText(qint64(1) << 40)));
    QVERIFY(t.setElapsedLabel(2, 3, 61));
    QCOMPARE(t.cell(2, 3), Cell::text(QStringLiteral("00:01:01")));
    QCOMPARE(t.cell(2, 2), Cell::number(850.5));
}

void tst_ReadingsTable::copyCellKeepsTheStoredKind() {
    ReadingsTable from(1, 4);
    QVERIFY(from.setNumber(2, 1, 850.5));
    QVERIFY(from.setText(2, 2, QStringLiteral("abc")));
    QVERIFY(from.setElapsedLabel(1, 3, 317));
    ReadingsTable to(10, 14);
    QVERIFY(to.setText(2, 13, QStringLiteral("old")));
    for (qint64 column = 1; column <= 4; ++column) {
        for (int row = 1; row <= 2; ++row) {
            QVERIFY(to.copyCell(row, column + 9, from, column));
            QCOMPARE(to.cell(row, column + 9), from.cell(row, column));
        }
    }
    // The label is still a compact elapsed-time label, not a text.
    QCOMPARE(to.chunk(0)->kind[0][2], ReadingsChunk::Stored::Elapsed);
    QVERIFY(!to.copyCell(2, 15, from, 1));
    QVERIFY(!to.copyCell(2, 10, from, 5));
}

void tst_ReadingsTable::outsideTheTableIsRefused_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<qint64>("column");
    QTest::newRow("column 0") << 2 << qint64(0);
    QTest::newRow("past the end") << 2 << qint64(41);
    QTest::newRow("row 0") << 0 << qint64(5);
    QTest::newRow("row 3") << 3 << qint64(5);
    QTest::newRow("far away") << 1 << (qint64(1) << 40);
}

void tst_ReadingsTable::outsideTheTableIsRefused() {
    QFETCH(int, row);
    QFETCH(qint64, column);
    ReadingsTable t = freshReadings();
    const ReadingsTable before = t;
    QVERIFY(!t.setNumber(row, column, 1.0));
    QVERIFY(!t.setText(row, column, QStringLiteral("x")));
    QVERIFY(!t.setElapsedLabel(row, column, 1));
    QVERIFY(!t.clearCell(row, column));
    QVERIFY(t.cell(row, column).isEmpty());
    QVERIFY(t == before);
}

void tst_ReadingsTable::growKeepsContents() {
    ReadingsTable t = freshReadings();
    QVERIFY(t.setNumber(2, 10, 123.0));
    QVERIFY(t.growBy(10));
    QCOMPARE(t.lastColumn(), qint64(50));
    QCOMPARE(t.cell(2, 10), Cell::number(123.0));
    QCOMPARE(t.cell(1, 40), Cell::text(QStringLiteral("C40")));
    QCOMPARE(t.cell(2, 1), Cell::text(u"МЛ512"_s));
    QVERIFY(t.cell(2, 50).isEmpty());
    QVERIFY(!t.growBy(-1));
    QCOMPARE(t.lastColumn(), qint64(50));
}

void tst_ReadingsTable::resizeWithAnotherFirstColumn() {
    ReadingsTable t(1, 300);
    for (qint64 c = 1; c <= 300; ++c)
        QVERIFY(t.setNumber(2, c, double(c)));
    QVERIFY(t.setText(1, 200, QStringLiteral("label200")));
    // A window from 170 on keeps its cells where they were.
    QVERIFY(t.resize(170, 240));
    QCOMPARE(t.firstColumn(), qint64(170));
    QCOMPARE(t.columnCount(), qint64(71));
    QCOMPARE(t.number(2, 170), 170.0);
    QCOMPARE(t.number(2, 240), 240.0);
    QCOMPARE(t.cell(1, 200).toText(), QStringLiteral("label200"));
    QVERIFY(!t.contains(2, 169));
    // Growing back at the front leaves empty cells there.
    QVERIFY(t.resize(160, 240));
    QVERIFY(t.cell(2, 165).isEmpty());
    QCOMPARE(t.number(2, 171), 171.0);
    QVERIFY(!t.resize(10, 5));
}

void tst_ReadingsTable::labelsAreFormattedOnRead() {
    ReadingsTable t(1, 3);
    QVERIFY(t.setElapsedLabel(1, 1, 25 * 3600 + 61));
    QCOMPARE(t.cell(1, 1).toText(), QStringLiteral("01:01:01"));
}

void tst_ReadingsTable::revisionFollowsChanges() {
    ReadingsTable t(1, 3);
    const auto r0 = t.revision();
    QVERIFY(t.setNumber(2, 2, 1.0));
    QVERIFY(t.revision() > r0);
    const auto r1 = t.revision();
    QVERIFY(!t.setNumber(2, 9, 1.0));
    QCOMPARE(t.revision(), r1);
}

void tst_ReadingsTable::millionColumns() {
    ReadingsTable t = freshReadings();
    const qint64 n = 1'000'000;
    for (qint64 c = 2; c <= n; ++c) {
        if (c > t.lastColumn())
            QVERIFY(t.growBy(1000));
        QVERIFY(t.setNumber(2, c, double(c % 1000)));
        QVERIFY(t.setElapsedLabel(1, c, c));
    }
    QCOMPARE(t.number(2, n), double(n % 1000));
    QCOMPARE(t.cell(1, n).toText(), QStringLiteral("13:46:40"));
}

void tst_ReadingsTable::clockTimeTravelsWithItsReading_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("kept");
    QTest::newRow("copy of the table") << u"copy"_s << true;
    QTest::newRow("cell copied") << u"copyCell"_s << true;
    QTest::newRow("cut of the start") << u"cut"_s << true;
    QTest::newRow("reading written over") << u"setNumber"_s << false;
    QTest::newRow("label copied only") << u"copyLabel"_s << false;
    QTest::newRow("shrunk and grown again") << u"shrink"_s << false;
}

// A reading's clock time goes where its cell is copied, and is forgotten
// where row 2 is written otherwise.
void tst_ReadingsTable::clockTimeTravelsWithItsReading() {
    QFETCH(QString, step);
    QFETCH(bool, kept);
    const QDateTime came(QDate(2026, 12, 8), QTime(11, 2, 3));
    ReadingsTable t(1, 10'000);
    QVERIFY(t.setNumber(2, 5000, 523.0));
    QVERIFY(t.setClockTime(5000, came));
    QCOMPARE(t.clockTime(5000), came);
    QVERIFY(!t.clockTime(4999).isValid());

    ReadingsTable result;
    qint64 at = 5000;
    if (step == u"copy"_s) {
        result = t;
        QVERIFY(t.setClockTime(5000, came.addSecs(60))); // the original changes, the copy does not
    } else if (step == u"copyCell"_s || step == u"copyLabel"_s) {
        result = ReadingsTable(1, 20);
        at = 7;
        QVERIFY(result.copyCell(step == u"copyCell"_s ? 2 : 1, at, t, 5000));
    } else if (step == u"cut"_s) {
        // As the cut of the graph's start rebuilds the table.
        result = ReadingsTable(1, 10'000 - 4000);
        for (qint64 c = 1; c <= result.lastColumn(); ++c)
            QVERIFY(result.copyCell(2, c, t, c + 4000));
        at = 1000;
    } else if (step == u"setNumber"_s) {
        result = t;
        QVERIFY(result.setNumber(2, 5000, 600.0));
    } else if (step == u"shrink"_s) {
        result = t;
        QVERIFY(result.resize(1, 4000));
        QVERIFY(result.resize(1, 10'000));
    }
    QCOMPARE(result.clockTime(at), kept ? came : QDateTime());
}

// Times of one block more than 18 hours apart, or earlier than the first
// one set, are all kept to the second.
void tst_ReadingsTable::clockTimesFarApartInOneBlock() {
    const QDateTime first(QDate(2026, 12, 8), QTime(11, 0));
    ReadingsTable t(1, 100);
    const QList<qint64> offsets = {0, 65'000, -30, 3 * 86'400, 17};
    for (qsizetype i = 0; i < offsets.size(); ++i) {
        QVERIFY(t.setNumber(2, 10 + i, 500.0));
        QVERIFY(t.setClockTime(10 + i, first.addSecs(offsets[i])));
    }
    for (qsizetype i = 0; i < offsets.size(); ++i)
        QCOMPARE(t.clockTime(10 + i), first.addSecs(offsets[i]));
    QVERIFY(!t.clockTime(9).isValid());
    // A reading written over forgets its time, the others keep theirs.
    QVERIFY(t.setNumber(2, 11, 501.0));
    QVERIFY(!t.clockTime(11).isValid());
    QCOMPARE(t.clockTime(13), first.addSecs(3 * 86'400));
}

void tst_ReadingsTable::clockTimeOutsideItsRangeIsRefused() {
    ReadingsTable t(1, 3);
    QVERIFY(!t.setClockTime(2, QDateTime(QDate(1989, 12, 31), QTime(23, 0), QTimeZone::utc())));
    QVERIFY(!t.setClockTime(2, QDateTime()));
    QVERIFY(!t.setClockTime(4, QDateTime(QDate(2026, 1, 1), QTime(0, 0))));
    QVERIFY(!t.clockTime(2).isValid());
    QVERIFY(t.setClockTime(2, QDateTime(QDate(2126, 1, 1), QTime(0, 0), QTimeZone::utc())));
    QCOMPARE(t.clockTime(2), QDateTime(QDate(2126, 1, 1), QTime(0, 0), QTimeZone::utc()));
}

QTEST_APPLESS_MAIN(tst_ReadingsTable)
#include "tst_readingstable.moc"
