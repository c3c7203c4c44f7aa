#include "common/ReadingsTable.h"

#include "common/Formats.h"

#include <limits>

namespace zorneta {

namespace {
// Upper bound on the number of columns, far beyond any real session (a week of
// readings at 0.64 s is about a million); it keeps a runaway size from
// exhausting memory.
constexpr qint64 MaxColumns = qint64(1) << 26;
} // namespace

ReadingsTable::ReadingsTable() = default;

ReadingsTable::ReadingsTable(qint64 firstColumn, qint64 lastColumn) {
    resize(firstColumn, lastColumn);
}

bool ReadingsTable::contains(int row, qint64 column) const {
    std::size_t at;
    return index(row, column, &at);
}

bool ReadingsTable::index(int row, qint64 column, std::size_t *at) const {
    if (row < 1 || row > Rows || column < m_first)
        return false;
    const qint64 offset = column - m_first;
    if (offset >= columnCount())
        return false;
    *at = static_cast<std::size_t>(offset);
    return true;
}

bool ReadingsTable::resize(qint64 firstColumn, qint64 lastColumn) {
    const qint64 count = lastColumn - firstColumn + 1;
    if (count < 0 || count > MaxColumns)
        return false;
    if (firstColumn < std::numeric_limits<qint64>::min() / 4 || lastColumn > std::numeric_limits<qint64>::max() / 4)
        return false;
    const qint64 shift = firstColumn - m_first; // columns dropped (or added) at the front
    const qint64 oldCount = columnCount();
    for (int r = 0; r < Rows; ++r) {
        auto &kinds = m_kind[r];
        auto &values = m_value[r];
        if (shift > 0) {
            const auto drop = static_cast<std::size_t>(std::min<qint64>(shift, oldCount));
            kinds.erase(kinds.begin(), kinds.begin() + static_cast<std::ptrdiff_t>(drop));
            values.erase(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(drop));
        } else if (shift < 0) {
            kinds.insert(kinds.begin(), static_cast<std::size_t>(-shift), Stored::Empty);
            values.insert(values.begin(), static_cast<std::size_t>(-shift), 0.0);
        }
        kinds.resize(static_cast<std::size_t>(count), Stored::Empty);
        values.resize(static_cast<std::size_t>(count), 0.0);
        QHash<qint64, QString> kept;
        for (auto it = m_text[r].cbegin(); it != m_text[r].cend(); ++it) {
            if (it.key() >= firstColumn && it.key() <= lastColumn)
                kept.insert(it.key(), it.value());
        }
        m_text[r] = std::move(kept);
    }
    m_first = firstColumn;
    ++m_revision;
    return true;
}

bool ReadingsTable::growBy(qint64 count) {
    if (count < 0 || count > MaxColumns)
        return false;
    return resize(m_first, lastColumn() + count);
}

void ReadingsTable::reserve(qint64 columns) {
    if (columns <= 0 || columns > MaxColumns)
        return;
    for (int r = 0; r < Rows; ++r) {
        m_kind[r].reserve(static_cast<std::size_t>(columns));
        m_value[r].reserve(static_cast<std::size_t>(columns));
    }
}

Cell ReadingsTable::cell(int row, qint64 column) const {
    std::size_t at;
    if (!index(row, column, &at))
        return Cell();
    const int r = row - 1;
    switch (m_kind[r][at]) {
    case Stored::Number:
        return Cell::number(m_value[r][at]);
    case Stored::Text:
        return Cell::text(m_text[r].value(column));
    case Stored::Elapsed:
        return Cell::text(ElapsedText(static_cast<qint64>(m_value[r][at])));
    case Stored::Empty:
        break;
    }
    return Cell();
}

bool ReadingsTable::setCell(int row, qint64 column, const Cell &value) {
    switch (value.kind()) {
    case Cell::Kind::Number:
        return setNumber(row, column, value.toNumber());
    case Cell::Kind::Text:
        return setText(row, column, value.toText());
    case Cell::Kind::Empty:
        break;
    }
    return clearCell(row, column);
}

bool ReadingsTable::setNumber(int row, qint64 column, double value) {
    std::size_t at;
    if (!index(row, column, &at))
        return false;
    const int r = row - 1;
    if (m_kind[r][at] == Stored::Text)
        m_text[r].remove(column);
    m_kind[r][at] = Stored::Number;
    m_value[r][at] = value;
    ++m_revision;
    return true;
}

bool ReadingsTable::setText(int row, qint64 column, const QString &value) {
    std::size_t at;
    if (!index(row, column, &at))
        return false;
    const int r = row - 1;
    m_kind[r][at] = Stored::Text;
    m_value[r][at] = 0.0;
    m_text[r].insert(column, value);
    ++m_revision;
    return true;
}

bool ReadingsTable::setElapsedLabel(int row, qint64 column, qint64 seconds) {
    std::size_t at;
    if (!index(row, column, &at))
        return false;
    const int r = row - 1;
    if (m_kind[r][at] == Stored::Text)
        m_text[r].remove(column);
    m_kind[r][at] = Stored::Elapsed;
    m_value[r][at] = static_cast<double>(seconds);
    ++m_revision;
    return true;
}

bool ReadingsTable::clearCell(int row, qint64 column) {
    std::size_t at;
    if (!index(row, column, &at))
        return false;
    const int r = row - 1;
    if (m_kind[r][at] == Stored::Text)
        m_text[r].remove(column);
    m_kind[r][at] = Stored::Empty;
    m_value[r][at] = 0.0;
    ++m_revision;
    return true;
}

bool ReadingsTable::isNumber(int row, qint64 column) const {
    std::size_t at;
    return index(row, column, &at) && m_kind[row - 1][at] == Stored::Number;
}

double ReadingsTable::number(int row, qint64 column) const {
    std::size_t at;
    if (!index(row, column, &at) || m_kind[row - 1][at] != Stored::Number)
        return 0.0;
    return m_value[row - 1][at];
}

bool ReadingsTable::operator==(const ReadingsTable &other) const {
    if (m_first != other.m_first || columnCount() != other.columnCount())
        return false;
    for (int row = 1; row <= Rows; ++row) {
        for (qint64 c = firstColumn(); c <= lastColumn(); ++c) {
            if (!(cell(row, c) == other.cell(row, c)))
                return false;
        }
    }
    return true;
}

} // namespace zorneta
