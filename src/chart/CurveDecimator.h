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
// reading. A point's x is its point number (column - first column).
//
// Summaries of blocks of readings are kept between calls and recomputed only
// for the blocks that changed, so the cost of a call hardly depends on the
// length of the session.
class CurveDecimator {
public:
    // Readings summarised together.
    static constexpr qint64 SubColumns = 64;

    QList<QPointF> points(const ReadingsTable &table, int pixelColumns);
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
    Summary summarise(const ReadingsTable &table, qint64 fromOffset, qint64 toOffset) const;
    Summary subSummary(qint64 sub) const;

    std::vector<Entry> m_entries;
    qint64 m_count = 0;
    qint64 m_summarised = 0;
};

} // namespace zorneta
