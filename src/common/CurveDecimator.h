#pragma once

#include "common/ReadingsTable.h"

#include <QList>
#include <QPointF>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace zorneta {

// Turns the readings of a table (row 2 from its second column on) into the
// points of a curve that is at most a given number of pixel columns wide:
// every reading when they fit, otherwise the lowest and the highest reading
// of each pixel column in the order they came, plus the first and the newest
// reading. A point's x is its point number (column - first column), so the
// points come with x strictly increasing; there are at most
// 2 * pixelColumns + 2 of them.
//
// Summaries of blocks of readings are kept between calls and recomputed only
// for the blocks of the table that changed (a block is recognised by its
// address, which the table keeps while the block is unchanged; the decimator
// holds on to the blocks it summarised, so a changed block always gets a new
// address). A call costs about the number of pixel columns (times at most
// 2 * SubsPerChunk summaries) plus the blocks of the table (one total each)
// plus the blocks that changed (recomputed), hardly more for a long session.
class CurveDecimator {
public:
    // Readings summarised together.
    static constexpr qint64 SubColumns = 64;

    QList<QPointF> points(const ReadingsTable &table, int pixelColumns);
    // The same for the readings at offsets fromOffset..toOffset only (a
    // stretch of the curve on view), thinned to pixelColumns, plus the
    // nearest reading on either side of the stretch (within a block's
    // width), so the line runs on to the edges of the view. Costs about the
    // pixel columns plus the blocks that changed, however long the stretch.
    QList<QPointF> points(const ReadingsTable &table, int pixelColumns, qint64 fromOffset, qint64 toOffset);
    // The lowest and highest reading of the table's curve, if it has any.
    std::optional<std::pair<double, double>> range(const ReadingsTable &table);

    // Blocks whose summaries were (re)computed so far: for tests.
    qint64 summarisedBlocks() const { return m_summarised; }

private:
    struct Summary {
        double min = 0.0, max = 0.0;
        qint64 minAt = -1, maxAt = -1; // offsets from the first column; -1: no reading
        bool any() const { return minAt >= 0; }
        void add(double v, qint64 at);
        void add(const Summary &other);
    };
    static constexpr std::size_t SubsPerChunk = std::size_t(ReadingsChunk::Columns / SubColumns);
    struct Entry {
        std::shared_ptr<const ReadingsChunk> chunk;
        std::array<Summary, SubsPerChunk> subs;
        Summary whole;
    };

    void refresh(const ReadingsTable &table);
    QList<QPointF> thin(const ReadingsTable &table, int pixelColumns, qint64 fromOffset, qint64 toOffset);
    // Readings at offsets fromOffset..toOffset (the title column excluded).
    static Summary summarise(const ReadingsTable &table, qint64 fromOffset, qint64 toOffset);
    // Offset of the first or the last reading in fromOffset..toOffset, or -1.
    static qint64 firstReading(const ReadingsTable &table, qint64 fromOffset, qint64 toOffset);
    static qint64 lastReading(const ReadingsTable &table, qint64 fromOffset, qint64 toOffset);
    const Summary &subSummary(qint64 sub) const;

    std::vector<Entry> m_entries;
    qint64 m_summarised = 0;
};

} // namespace zorneta
