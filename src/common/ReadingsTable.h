#pragma once

#include "common/Cell.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

namespace zorneta {

// A table of readings: rows 1 and 2, columns numbered from firstColumn() to
// lastColumn(). Row 1 holds labels (elapsed times "hh:nn:ss", "C" + column
// number in the last column), row 2 the temperatures and, in the first column,
// the series title.
//
// Cells are stored compactly: numbers and elapsed-time labels never allocate,
// only free texts do. Every operation that addresses a cell outside the table
// fails by returning false and changes nothing.
class ReadingsTable {
public:
    static constexpr int Rows = 2;

    // An empty table: no columns (lastColumn() < firstColumn()).
    ReadingsTable();
    ReadingsTable(qint64 firstColumn, qint64 lastColumn);

    qint64 firstColumn() const { return m_first; }
    qint64 lastColumn() const { return m_first + columnCount() - 1; }
    qint64 columnCount() const { return static_cast<qint64>(m_kind[0].size()); }
    bool contains(int row, qint64 column) const;

    // Sets the column range, keeping the cells of the columns that remain.
    bool resize(qint64 firstColumn, qint64 lastColumn);
    // Adds columns at the end (count > 0), keeping every cell.
    bool growBy(qint64 count);
    // Capacity hint for long sessions.
    void reserve(qint64 columns);

    Cell cell(int row, qint64 column) const;
    bool setCell(int row, qint64 column, const Cell &value);
    bool setNumber(int row, qint64 column, double value);
    bool setText(int row, qint64 column, const QString &value);
    // A label that reads as the elapsed time "hh:nn:ss" of the given seconds.
    bool setElapsedLabel(int row, qint64 column, qint64 seconds);
    bool clearCell(int row, qint64 column);

    // Fast reads for drawing: whether the cell holds a number, and that number.
    bool isNumber(int row, qint64 column) const;
    double number(int row, qint64 column) const;

    // Incremented on every change, so a viewer can tell a table it has seen.
    quint64 revision() const { return m_revision; }

    bool operator==(const ReadingsTable &other) const;

private:
    enum class Stored : unsigned char { Empty, Number, Text, Elapsed };

    bool index(int row, qint64 column, std::size_t *at) const;

    qint64 m_first = 1;
    std::vector<Stored> m_kind[Rows];
    std::vector<double> m_value[Rows];
    QHash<qint64, QString> m_text[Rows];
    quint64 m_revision = 0;
};

} // namespace zorneta
