// The table of readings: shape, growth keeping contents, cells of every kind,
// refusal of cells outside the table.

#include "session/SessionState.h"
#include "common/Formats.h"
#include "common/ReadingsTable.h"

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

QTEST_APPLESS_MAIN(tst_ReadingsTable)
#include "tst_readingstable.moc"
