#include "common/ReadingsTable.h"

#include "common/Formats.h"

#include <QTimeZone>

#include <algorithm>
#include <limits>

namespace zorneta {

namespace {
// Upper bound on the number of columns, far beyond any real session (a week of
// readings at 0.64 s is about a million); it keeps a runaway size from
// exhausting memory.
constexpr qint64 MaxColumns = qint64(1) << 26;
constexpr qint64 N = ReadingsChunk::Columns;

std::size_t chunksFor(qint64 columns) {
    return static_cast<std::size_t>((columns + N - 1) / N);
}
} // namespace

void ReadingsChunk::setClock(std::size_t at, quint32 seconds) {
    if (clockWide.empty()) {
        if (seconds == 0) {
            clockOffset[at] = 0;
            return;
        }
        if (clockBase == 0)
            clockBase = seconds;
        if (seconds >= clockBase && seconds - clockBase < 0xFFFFu) {
            clockOffset[at] = static_cast<quint16>(seconds - clockBase + 1);
            return;
        }
        // Too far from the base: every time of the block whole from now on.
        std::vector<quint32> wide(Columns);
        for (std::size_t k = 0; k < std::size_t(Columns); ++k)
            wide[k] = clockAt(k);
        clockWide = std::move(wide);
    }
    clockWide[at] = seconds;
}

ReadingsTable::ReadingsTable() = default;

ReadingsTable::ReadingsTable(qint64 firstColumn, qint64 lastColumn) {
    resize(firstColumn, lastColumn);
}

bool ReadingsTable::contains(int row, qint64 column) const {
    std::size_t c, at;
    return locate(row, column, &c, &at);
}

bool ReadingsTable::locate(int row, qint64 column, std::size_t *chunk, std::size_t *at) const {
    if (row < 1 || row > Rows || column < m_first)
        return false;
    const qint64 offset = column - m_first;
    if (offset >= m_count)
        return false;
    *chunk = static_cast<std::size_t>(offset / N);
    *at = static_cast<std::size_t>(offset % N);
    return true;
}

ReadingsChunk &ReadingsTable::writable(std::size_t chunk) {
    auto &p = m_chunks[chunk];
    if (p.use_count() > 1)
        p = std::make_shared<ReadingsChunk>(*p); // shared with a copy: write to our own
    return *p;
}

bool ReadingsTable::resize(qint64 firstColumn, qint64 lastColumn) {
    const qint64 count = lastColumn - firstColumn + 1;
    if (count < 0 || count > MaxColumns || firstColumn < -MaxColumns || firstColumn > MaxColumns)
        return false;
    if (firstColumn == m_first) {
        // Growing or shrinking at the end: the blocks stay where they are.
        m_chunks.resize(chunksFor(count));
        for (auto &p : m_chunks) {
            if (!p)
                p = std::make_shared<ReadingsChunk>();
        }
        // Cells past the new end are emptied, so growing again shows empty cells.
        for (qint64 offset = count; offset < std::min<qint64>(m_count, qint64(m_chunks.size()) * N); ++offset) {
            ReadingsChunk &ch = writable(static_cast<std::size_t>(offset / N));
            for (int r = 0; r < Rows; ++r)
                ch.kind[r][std::size_t(offset % N)] = Stored::Empty;
            ch.setClock(std::size_t(offset % N), 0);
        }
    } else {
        // Another first column: the cells move to new blocks.
        std::vector<std::shared_ptr<ReadingsChunk>> chunks(chunksFor(count));
        for (auto &p : chunks)
            p = std::make_shared<ReadingsChunk>();
        const qint64 from = std::max(firstColumn, m_first);
        const qint64 to = std::min(lastColumn, this->lastColumn());
        for (qint64 column = from; column <= to; ++column) {
            const qint64 src = column - m_first;
            const qint64 dst = column - firstColumn;
            const ReadingsChunk &a = *m_chunks[std::size_t(src / N)];
            ReadingsChunk &b = *chunks[std::size_t(dst / N)];
            for (int r = 0; r < Rows; ++r)
                b.kind[r][std::size_t(dst % N)] = a.kind[r][std::size_t(src % N)];
            b.value[std::size_t(dst % N)] = a.value[std::size_t(src % N)];
            b.seconds[std::size_t(dst % N)] = a.seconds[std::size_t(src % N)];
            b.setClock(std::size_t(dst % N), a.clockAt(std::size_t(src % N)));
        }
        m_chunks = std::move(chunks);
    }
    for (auto &texts : m_text) {
        for (auto it = texts.begin(); it != texts.end();) {
            if (it.key() < firstColumn || it.key() > lastColumn)
                it = texts.erase(it);
            else
                ++it;
        }
    }
    for (auto it = m_rowOneNumbers.begin(); it != m_rowOneNumbers.end();) {
        if (it.key() < firstColumn || it.key() > lastColumn)
            it = m_rowOneNumbers.erase(it);
        else
            ++it;
    }
    m_first = firstColumn;
    m_count = count;
    ++m_revision;
    return true;
}

bool ReadingsTable::growBy(qint64 count) {
    if (count < 0 || count > MaxColumns)
        return false;
    return resize(m_first, lastColumn() + count);
}

Cell ReadingsTable::cell(int row, qint64 column) const {
    std::size_t c, at;
    if (!locate(row, column, &c, &at))
        return Cell();
    const ReadingsChunk &ch = *m_chunks[c];
    const int r = row - 1;
    switch (ch.kind[r][at]) {
    case Stored::Number:
        return Cell::number(r == 0 ? m_rowOneNumbers.value(column) : ch.value[at]);
    case Stored::Text:
        return Cell::text(m_text[r].value(column));
    case Stored::Elapsed:
        return Cell::text(elapsedText(r == 0 ? qint64(ch.seconds[at]) : static_cast<qint64>(ch.value[at])));
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

void ReadingsTable::setStored(int row, qint64 column, std::size_t chunk, std::size_t at, Stored kind, double value) {
    ReadingsChunk &ch = writable(chunk);
    const int r = row - 1;
    if (ch.kind[r][at] == Stored::Text && kind != Stored::Text)
        m_text[r].remove(column);
    if (r == 0 && ch.kind[r][at] == Stored::Number && kind != Stored::Number)
        m_rowOneNumbers.remove(column);
    ch.kind[r][at] = kind;
    if (r == 1) {
        ch.value[at] = value;
        ch.setClock(at, 0);
    } else if (kind == Stored::Number)
        m_rowOneNumbers.insert(column, value);
    else
        ch.seconds[at] = static_cast<qint32>(value);
    ++m_revision;
}

bool ReadingsTable::setNumber(int row, qint64 column, double value) {
    std::size_t c, at;
    if (!locate(row, column, &c, &at))
        return false;
    setStored(row, column, c, at, Stored::Number, value);
    return true;
}

bool ReadingsTable::setText(int row, qint64 column, const QString &value) {
    std::size_t c, at;
    if (!locate(row, column, &c, &at))
        return false;
    setStored(row, column, c, at, Stored::Text, 0.0);
    m_text[row - 1].insert(column, value);
    return true;
}

bool ReadingsTable::setElapsedLabel(int row, qint64 column, qint64 seconds) {
    std::size_t c, at;
    if (!locate(row, column, &c, &at))
        return false;
    // Labels wrap after a day: the seconds within the day are all they need
    // (kept as they are, sign included, when they fit in row 1's 32 bits).
    if (row == 1 && (seconds > std::numeric_limits<qint32>::max() || seconds < -std::numeric_limits<qint32>::max()))
        seconds %= 24 * 60 * 60;
    setStored(row, column, c, at, Stored::Elapsed, static_cast<double>(seconds));
    return true;
}

qint64 ReadingsTable::elapsedSeconds(int row, qint64 column) const {
    std::size_t c, at;
    if (!locate(row, column, &c, &at))
        return -1;
    const ReadingsChunk &chunk = *m_chunks[c];
    const auto r = static_cast<std::size_t>(row - 1);
    if (chunk.kind[r][at] != Stored::Elapsed)
        return -1;
    return r == 0 ? qint64(chunk.seconds[at]) : static_cast<qint64>(chunk.value[at]);
}

bool ReadingsTable::clearCell(int row, qint64 column) {
    std::size_t c, at;
    if (!locate(row, column, &c, &at))
        return false;
    setStored(row, column, c, at, Stored::Empty, 0.0);
    return true;
}

bool ReadingsTable::copyCell(int row, qint64 column, const ReadingsTable &source, qint64 sourceColumn) {
    std::size_t sc, sat;
    if (!source.locate(row, sourceColumn, &sc, &sat))
        return false;
    const Stored kind = source.m_chunks[sc]->kind[row - 1][sat];
    if (kind == Stored::Text)
        return setText(row, column, source.m_text[row - 1].value(sourceColumn));
    const ReadingsChunk &from = *source.m_chunks[sc];
    double value = 0.0;
    if (row == 2)
        value = from.value[sat];
    else if (kind == Stored::Number)
        value = source.m_rowOneNumbers.value(sourceColumn);
    else
        value = from.seconds[sat];
    const quint32 clock = from.clockAt(sat);
    std::size_t c, at;
    if (!locate(row, column, &c, &at))
        return false;
    setStored(row, column, c, at, kind, value);
    if (row == 2)
        m_chunks[c]->setClock(at, clock);
    return true;
}

QDateTime ReadingsTable::clockEpoch() {
    return QDateTime(QDate(1990, 1, 1), QTime(0, 0), QTimeZone::utc());
}

bool ReadingsTable::setClockTime(qint64 column, const QDateTime &time) {
    std::size_t c, at;
    if (!locate(2, column, &c, &at) || !time.isValid())
        return false;
    const qint64 seconds = clockEpoch().secsTo(time);
    if (seconds <= 0 || seconds > std::numeric_limits<quint32>::max())
        return false;
    writable(c).setClock(at, static_cast<quint32>(seconds));
    ++m_revision;
    return true;
}

QDateTime ReadingsTable::clockTime(qint64 column) const {
    std::size_t c, at;
    if (!locate(2, column, &c, &at))
        return QDateTime();
    const quint32 seconds = m_chunks[c]->clockAt(at);
    if (seconds == 0)
        return QDateTime();
    return clockEpoch().addSecs(seconds).toLocalTime();
}

bool ReadingsTable::isNumber(int row, qint64 column) const {
    std::size_t c, at;
    return locate(row, column, &c, &at) && m_chunks[c]->kind[row - 1][at] == Stored::Number;
}

double ReadingsTable::number(int row, qint64 column) const {
    std::size_t c, at;
    if (!locate(row, column, &c, &at) || m_chunks[c]->kind[row - 1][at] != Stored::Number)
        return 0.0;
    return row == 1 ? m_rowOneNumbers.value(column) : m_chunks[c]->value[at];
}

bool ReadingsTable::operator==(const ReadingsTable &other) const {
    if (m_first != other.m_first || m_count != other.m_count)
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
