#include "chart/CurveDecimator.h"

#include <algorithm>
#include <cmath>

namespace zorneta {

namespace {
constexpr qint64 ChunkColumns = ReadingsChunk::Columns;
constexpr int ValueRow = 1; // row 2, zero-based in a block
} // namespace

void CurveDecimator::Summary::add(double v, qint64 at) {
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

void CurveDecimator::Summary::add(const Summary &other) {
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
    m_count = table.columnCount();
    for (std::size_t k = 0; k < chunks; ++k) {
        Entry &e = m_entries[k];
        auto chunk = table.chunk(qint64(k));
        if (e.chunk == chunk)
            continue;
        e.chunk = std::move(chunk);
        e.whole = Summary();
        const auto &kinds = e.chunk->kind[ValueRow];
        const auto &values = e.chunk->value[ValueRow];
        for (std::size_t s = 0; s < SubsPerChunk; ++s) {
            Summary sum;
            for (std::size_t i = s * SubColumns; i < (s + 1) * SubColumns; ++i) {
                // The first column holds the series title, never a point.
                if (k == 0 && i == 0)
                    continue;
                if (kinds[i] == ReadingsChunk::Stored::Number)
                    sum.add(values[i], qint64(k) * ChunkColumns + qint64(i));
            }
            e.subs[s] = sum;
            e.whole.add(sum);
        }
        ++m_summarised;
    }
}

CurveDecimator::Summary CurveDecimator::subSummary(qint64 sub) const {
    const qint64 perChunk = qint64(SubsPerChunk);
    return m_entries[std::size_t(sub / perChunk)].subs[std::size_t(sub % perChunk)];
}

CurveDecimator::Summary CurveDecimator::summarise(const ReadingsTable &table, qint64 fromOffset,
                                                  qint64 toOffset) const {
    Summary sum;
    const qint64 first = table.firstColumn();
    for (qint64 at = std::max<qint64>(fromOffset, 1); at <= toOffset; ++at) {
        if (table.isNumber(2, first + at))
            sum.add(table.number(2, first + at), at);
    }
    return sum;
}

QList<QPointF> CurveDecimator::points(const ReadingsTable &table, int pixelColumns) {
    QList<QPointF> out;
    const qint64 last = table.columnCount() - 1; // offset of the last column
    if (last < 1)
        return out;
    const qint64 first = table.firstColumn();
    pixelColumns = std::max(pixelColumns, 1);
    auto point = [&](qint64 at) { return QPointF(double(at), table.number(2, first + at)); };

    if (last <= 2 * qint64(pixelColumns)) {
        for (qint64 at = 1; at <= last; ++at) {
            if (table.isNumber(2, first + at))
                out.append(point(at));
        }
        return out;
    }

    refresh(table);
    qint64 bucket = (last + pixelColumns - 1) / pixelColumns;
    const bool useSummaries = bucket >= SubColumns;
    if (useSummaries)
        bucket = (bucket + SubColumns - 1) / SubColumns * SubColumns;
    out.reserve(2 * pixelColumns + 4);

    qint64 firstAt = -1, lastAt = -1;
    for (qint64 start = 0; start <= last; start += bucket) {
        const qint64 end = std::min(start + bucket - 1, last);
        Summary sum;
        if (useSummaries) {
            for (qint64 sub = start / SubColumns; sub <= end / SubColumns; ++sub)
                sum.add(subSummary(sub));
        } else {
            sum = summarise(table, start, end);
        }
        if (!sum.any())
            continue;
        const qint64 a = std::min(sum.minAt, sum.maxAt);
        const qint64 b = std::max(sum.minAt, sum.maxAt);
        out.append(point(a));
        if (b != a)
            out.append(point(b));
        if (firstAt < 0)
            firstAt = a;
        lastAt = b;
    }
    if (out.isEmpty())
        return out;
    // The first and the newest reading always belong to the curve.
    for (qint64 at = 1; at < firstAt; ++at) {
        if (table.isNumber(2, first + at)) {
            out.prepend(point(at));
            break;
        }
    }
    for (qint64 at = last; at > lastAt; --at) {
        if (table.isNumber(2, first + at)) {
            out.append(point(at));
            break;
        }
    }
    return out;
}

std::optional<std::pair<double, double>> CurveDecimator::range(const ReadingsTable &table) {
    const qint64 last = table.columnCount() - 1;
    if (last < 1)
        return std::nullopt;
    Summary sum;
    if (last < 4 * ChunkColumns) {
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
