#include "common/CurveDecimator.h"

#include <algorithm>

namespace zorneta {

namespace {
constexpr qint64 ChunkColumns = ReadingsChunk::Columns;
constexpr int ValueRow = 1; // row 2, zero-based in a block
constexpr auto Number = ReadingsChunk::Stored::Number;

// Calls visit(value, offset) for every reading at offsets from..to of the
// table, in order, reading the blocks directly. Offset 0 (the title) is
// never a reading.
template <typename Visit> void forEachReading(const ReadingsTable &table, qint64 from, qint64 to, Visit visit) {
    from = std::max<qint64>(from, 1);
    to = std::min(to, table.columnCount() - 1);
    while (from <= to) {
        const qint64 k = from / ChunkColumns;
        const qint64 base = k * ChunkColumns;
        const qint64 end = std::min(to, base + ChunkColumns - 1);
        const std::shared_ptr<const ReadingsChunk> chunk = table.chunk(k);
        const auto &kinds = chunk->kind[ValueRow];
        const auto &values = chunk->value;
        for (qint64 at = from; at <= end; ++at) {
            const auto i = std::size_t(at - base);
            if (kinds[i] == Number)
                visit(values[i], at);
        }
        from = end + 1;
    }
}
} // namespace

inline void CurveDecimator::Summary::add(double v, qint64 at) {
    if (!any()) {
        min = max = v;
        minAt = maxAt = at;
        return;
    }
    if (v < min) {
        min = v;
        minAt = at;
    }
    if (v > max) {
        max = v;
        maxAt = at;
    }
}

inline void CurveDecimator::Summary::add(const Summary &other) {
    if (!other.any())
        return;
    if (!any()) {
        *this = other;
        return;
    }
    if (other.min < min) {
        min = other.min;
        minAt = other.minAt;
    }
    if (other.max > max) {
        max = other.max;
        maxAt = other.maxAt;
    }
}

void CurveDecimator::refresh(const ReadingsTable &table) {
    const auto chunks = static_cast<std::size_t>(table.chunkCount());
    m_entries.resize(chunks);
    for (std::size_t k = 0; k < chunks; ++k) {
        Entry &e = m_entries[k];
        std::shared_ptr<const ReadingsChunk> chunk = table.chunk(qint64(k));
        if (e.chunk == chunk)
            continue;
        e.chunk = std::move(chunk);
        e.whole = Summary();
        const auto &kinds = e.chunk->kind[ValueRow];
        const auto &values = e.chunk->value;
        const qint64 base = qint64(k) * ChunkColumns;
        for (std::size_t s = 0; s < SubsPerChunk; ++s) {
            Summary sum;
            // The first column holds the series title, never a point.
            const std::size_t from = (k == 0 && s == 0) ? 1 : s * SubColumns;
            for (std::size_t i = from; i < (s + 1) * SubColumns; ++i) {
                if (kinds[i] == Number)
                    sum.add(values[i], base + qint64(i));
            }
            e.subs[s] = sum;
            e.whole.add(sum);
        }
        ++m_summarised;
    }
}

inline const CurveDecimator::Summary &CurveDecimator::subSummary(qint64 sub) const {
    const qint64 perChunk = qint64(SubsPerChunk);
    return m_entries[std::size_t(sub / perChunk)].subs[std::size_t(sub % perChunk)];
}

CurveDecimator::Summary CurveDecimator::summarise(const ReadingsTable &table, qint64 fromOffset, qint64 toOffset) {
    Summary sum;
    forEachReading(table, fromOffset, toOffset, [&](double v, qint64 at) { sum.add(v, at); });
    return sum;
}

qint64 CurveDecimator::firstReading(const ReadingsTable &table, qint64 fromOffset, qint64 toOffset) {
    const qint64 first = table.firstColumn();
    for (qint64 at = std::max<qint64>(fromOffset, 1); at <= toOffset; ++at) {
        if (table.isNumber(2, first + at))
            return at;
    }
    return -1;
}

qint64 CurveDecimator::lastReading(const ReadingsTable &table, qint64 fromOffset, qint64 toOffset) {
    const qint64 first = table.firstColumn();
    for (qint64 at = toOffset; at >= std::max<qint64>(fromOffset, 1); --at) {
        if (table.isNumber(2, first + at))
            return at;
    }
    return -1;
}

QList<QPointF> CurveDecimator::points(const ReadingsTable &table, int pixelColumns) {
    return thin(table, pixelColumns, 0, table.columnCount() - 1);
}

QList<QPointF> CurveDecimator::points(const ReadingsTable &table, int pixelColumns, qint64 fromOffset,
                                      qint64 toOffset) {
    const qint64 last = table.columnCount() - 1;
    fromOffset = std::clamp<qint64>(fromOffset, 0, std::max<qint64>(last, 0));
    toOffset = std::clamp<qint64>(toOffset, fromOffset, std::max<qint64>(last, 0));
    QList<QPointF> out = thin(table, pixelColumns, fromOffset, toOffset);
    const qint64 first = table.firstColumn();
    if (const qint64 at = lastReading(table, std::max<qint64>(1, fromOffset - ChunkColumns), fromOffset - 1); at >= 0)
        out.prepend(QPointF(double(at), table.number(2, first + at)));
    if (const qint64 at = firstReading(table, toOffset + 1, std::min(last, toOffset + ChunkColumns)); at >= 0)
        out.append(QPointF(double(at), table.number(2, first + at)));
    return out;
}

QList<QPointF> CurveDecimator::thin(const ReadingsTable &table, int pixelColumns, qint64 fromOffset, qint64 toOffset) {
    QList<QPointF> out;
    const qint64 last = table.columnCount() - 1; // offset of the last column
    if (last < 1 || toOffset < 1 || fromOffset > toOffset)
        return out;
    const qint64 first = table.firstColumn();
    const qint64 width = std::max(pixelColumns, 1);
    auto point = [&](qint64 at) { return QPointF(double(at), table.number(2, first + at)); };

    const qint64 offsets = toOffset - fromOffset + 1;
    if (offsets <= 2 * width + 1) {
        out.reserve(static_cast<qsizetype>(offsets));
        forEachReading(table, fromOffset, toOffset, [&](double v, qint64 at) { out.append(QPointF(double(at), v)); });
        return out;
    }

    // One bucket per pixel column, the offsets shared out evenly. When a
    // pixel column holds at least a summary's worth of readings, its bucket
    // is made of whole summaries (their boundaries moved by less than a
    // summary; a summary cut by an end of the stretch is read directly);
    // otherwise the readings are read directly, which then costs at most
    // SubColumns readings per pixel column.
    const bool useSummaries = offsets >= SubColumns * width;
    const qint64 subFirst = fromOffset / SubColumns;
    const qint64 subs = toOffset / SubColumns - subFirst + 1;
    if (useSummaries)
        refresh(table);
    out.reserve(static_cast<qsizetype>(2 * width + 2));

    qint64 firstAt = -1, lastAt = -1;             // first and last point of the buckets
    qint64 firstBucketFrom = 0, lastBucketTo = 0; // where the non-empty buckets begin and end
    for (qint64 k = 0; k < width; ++k) {
        qint64 from, to;
        Summary sum;
        if (useSummaries) {
            const qint64 subFrom = subFirst + k * subs / width;
            const qint64 subTo = subFirst + (k + 1) * subs / width - 1;
            // Whole blocks by their totals, the rest by summaries: a bucket
            // costs at most 2 * SubsPerChunk additions plus its blocks.
            const qint64 perChunk = qint64(SubsPerChunk);
            for (qint64 s = subFrom; s <= subTo;) {
                const qint64 sFrom = s * SubColumns, sTo = sFrom + SubColumns - 1;
                if (sFrom < fromOffset || sTo > toOffset) {
                    sum.add(summarise(table, std::max(sFrom, fromOffset), std::min(sTo, toOffset)));
                    ++s;
                } else if (s % perChunk == 0 && s + perChunk - 1 <= subTo &&
                           (s + perChunk) * SubColumns - 1 <= toOffset) {
                    sum.add(m_entries[std::size_t(s / perChunk)].whole);
                    s += perChunk;
                } else {
                    sum.add(subSummary(s));
                    ++s;
                }
            }
            from = std::max(fromOffset, subFrom * SubColumns);
            to = std::min(toOffset, subTo * SubColumns + SubColumns - 1);
        } else {
            from = fromOffset + k * offsets / width;
            to = fromOffset + (k + 1) * offsets / width - 1;
            sum = summarise(table, from, to);
        }
        if (!sum.any())
            continue;
        // The lowest and the highest reading, in the order they came.
        const bool lowFirst = sum.minAt <= sum.maxAt;
        const qint64 a = lowFirst ? sum.minAt : sum.maxAt;
        const qint64 b = lowFirst ? sum.maxAt : sum.minAt;
        out.append(QPointF(double(a), lowFirst ? sum.min : sum.max));
        if (b != a)
            out.append(QPointF(double(b), lowFirst ? sum.max : sum.min));
        if (firstAt < 0) {
            firstAt = a;
            firstBucketFrom = from;
        }
        lastAt = b;
        lastBucketTo = to;
    }
    if (out.isEmpty())
        return out;
    // The first and the last reading of the stretch always belong to the
    // curve; they lie in the first and the last bucket that has readings.
    if (const qint64 at = firstReading(table, firstBucketFrom, firstAt - 1); at >= 0)
        out.prepend(point(at));
    if (const qint64 at = lastReading(table, lastAt + 1, lastBucketTo); at >= 0)
        out.append(point(at));
    return out;
}

std::optional<std::pair<double, double>> CurveDecimator::range(const ReadingsTable &table) {
    const qint64 last = table.columnCount() - 1;
    if (last < 1)
        return std::nullopt;
    Summary sum;
    if (table.chunkCount() <= 1) {
        sum = summarise(table, 1, last);
    } else {
        refresh(table);
        for (const Entry &e : m_entries)
            sum.add(e.whole);
    }
    if (!sum.any())
        return std::nullopt;
    return std::make_pair(sum.min, sum.max);
}

} // namespace zorneta
