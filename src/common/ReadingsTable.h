#pragma once

#include "common/Cell.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zorneta {

// A block of consecutive columns of a table of readings, in compact form.
struct ReadingsChunk {
    static constexpr qint64 Columns = 4096;
    enum class Stored : unsigned char { Empty, Number, Text, Elapsed };
    // Per row: what each cell holds.
    std::array<std::array<Stored, Columns>, 2> kind{};
    // Row 2: its number (a reading, or the seconds of an elapsed-time label).
    std::array<double, Columns> value{};
    // Row 1: the seconds of its elapsed-time label. (A number in row 1 is
    // rare and kept aside, as texts are.)
    std::array<qint32, Columns> seconds{};
    // Per column: the clock time its reading came at, in seconds from
    // ReadingsTable::clockEpoch(), 0 when it is not known. Kept in two bytes
    // a column, as an offset from the block's base (the first time set in
    // it): 4096 readings at 0.64 s span 44 minutes. A block whose times do
    // not fit (more than 18 hours apart, as with a long read period or a port
    // reopened the next day, or one earlier than the base) keeps them whole.
    quint32 clockBase = 0;
    std::array<quint16, Columns> clockOffset{}; // 0 unknown, else 1 + seconds past clockBase
    std::vector<quint32> clockWide;             // empty, or the time of every column
    quint32 clockAt(std::size_t at) const {
        if (!clockWide.empty())
            return clockWide[at];
        return clockOffset[at] == 0 ? 0 : clockBase + clockOffset[at] - 1;
    }
    void setClock(std::size_t at, quint32 seconds);
};

// A table of readings: rows 1 and 2, columns numbered from firstColumn() to
// lastColumn(). Row 1 holds labels (elapsed times "hh:nn:ss", "C" + column
// number in the last column), row 2 the temperatures and, in the first column,
// the series title.
//
// Cells are stored compactly in blocks of columns: numbers and elapsed-time
// labels never allocate, only free texts do. Copies share their blocks until
// one side writes to a block, so handing a long table over costs little and a
// reading written after it copies one block only. Every operation that
// addresses a cell outside the table fails by returning false and changes
// nothing.
class ReadingsTable {
public:
    static constexpr int Rows = 2;

    // An empty table: no columns (lastColumn() < firstColumn()).
    ReadingsTable();
    ReadingsTable(qint64 firstColumn, qint64 lastColumn);

    qint64 firstColumn() const { return m_first; }
    qint64 lastColumn() const { return m_first + m_count - 1; }
    qint64 columnCount() const { return m_count; }
    bool contains(int row, qint64 column) const;

    // Sets the column range, keeping the cells of the columns that remain.
    bool resize(qint64 firstColumn, qint64 lastColumn);
    // Adds columns at the end (count >= 0), keeping every cell.
    bool growBy(qint64 count);

    Cell cell(int row, qint64 column) const;
    bool setCell(int row, qint64 column, const Cell &value);
    bool setNumber(int row, qint64 column, double value);
    bool setText(int row, qint64 column, const QString &value);
    // A label that reads as the elapsed time "hh:nn:ss" of the given seconds.
    bool setElapsedLabel(int row, qint64 column, qint64 seconds);
    // The seconds of an elapsed-time label; -1 when the cell holds none.
    qint64 elapsedSeconds(int row, qint64 column) const;
    bool clearCell(int row, qint64 column);
    // Copies a cell of another table (or of this one) as it is stored, so an
    // elapsed-time label stays a compact label.
    // Copying row 2 brings the reading's clock time along.
    bool copyCell(int row, qint64 column, const ReadingsTable &source, qint64 sourceColumn);

    // The clock time a column's reading came at, to the second (UTC inside).
    // Writing row 2 of a column in any other way forgets it, so a pasted or
    // typed reading has none. Times before ClockEpoch (or more than 136
    // years after it) are not kept.
    static QDateTime clockEpoch();
    bool setClockTime(qint64 column, const QDateTime &time);
    // An invalid QDateTime when not known.
    QDateTime clockTime(qint64 column) const;

    // Fast reads for drawing: whether the cell holds a number, and that number.
    bool isNumber(int row, qint64 column) const;
    double number(int row, qint64 column) const;

    // The blocks: block k holds the columns from firstColumn() + k * Columns.
    // A block's address stays the same while nothing in it changes.
    qint64 chunkCount() const { return static_cast<qint64>(m_chunks.size()); }
    std::shared_ptr<const ReadingsChunk> chunk(qint64 index) const { return m_chunks.at(std::size_t(index)); }

    // Incremented on every change, so a viewer can tell a table it has seen.
    quint64 revision() const { return m_revision; }

    bool operator==(const ReadingsTable &other) const;

private:
    using Stored = ReadingsChunk::Stored;

    bool locate(int row, qint64 column, std::size_t *chunk, std::size_t *at) const;
    ReadingsChunk &writable(std::size_t chunk);
    void setStored(int row, qint64 column, std::size_t chunk, std::size_t at, Stored kind, double value);

    qint64 m_first = 1;
    qint64 m_count = 0;
    std::vector<std::shared_ptr<ReadingsChunk>> m_chunks;
    QHash<qint64, QString> m_text[Rows];
    QHash<qint64, double> m_rowOneNumbers;
    quint64 m_revision = 0;
};

} // namespace zorneta
