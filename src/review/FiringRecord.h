#pragma once

#include "review/ReviewStatus.h"

#include <QIODevice>
#include <QList>
#include <QString>

#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace zorneta {

// One run of a recording: what was received from one opening of the port,
// its entries (readings and thermocouple break marks) in the order they came.
struct RecordRun {
    int number = 0;          // from 1
    qint64 first = 0;        // index of its first entry in the record
    qint64 count = 0;        // entries: readings and break marks
    qint64 readings = 0;     // entries that are temperatures
    qint64 breaks = 0;       // thermocouple breaks (9999)
    qint64 skipped = 0;      // lines that were not readings
    qint32 startSeconds = 0; // elapsed time of its first stamped line
    qint32 endSeconds = 0;   // elapsed time of its last stamped line
};

// What a run amounts to.
struct RunSummary {
    int run = 0;
    qint32 start = 0;    // elapsed seconds of the first stamped line
    qint32 end = 0;      // elapsed seconds of the last stamped line
    qint32 duration = 0; // end - start
    qint64 readings = 0;
    qint64 breaks = 0;
    qint64 skipped = 0;
    // The highest temperature (a break is never one) and when it first came.
    std::optional<double> highest;
    qint32 highestAt = 0;
    // Seconds at or above the alarm temperature, when one was given: the sum
    // of the intervals from a reading at or above it to the next entry of the
    // run (a reading or a break mark). The temperature is taken to hold until
    // the next line says otherwise; the last entry of a run adds nothing.
    std::optional<qint64> secondsAtOrAbove;
    // When each thermocouple break came.
    std::vector<qint32> breakTimes;
};

// A point of a thinned curve: elapsed seconds and temperature. gapBefore: a
// thermocouple break lies between this point and the one before it, so the
// two are not to be joined.
struct CurvePoint {
    qint32 seconds = 0;
    double value = 0.0;
    bool gapBefore = false;
};

// A recording file read back: the program's own format, one line per
// received line, "hh:nn:ss" (elapsed time since the port opened), a TAB, the
// received text, LF, in Windows-1251 (a CR before the LF is tolerated).
//
// A line is a reading by the rule of the live program: the text after the
// stamp and TAB, with the group's CR LF that the recording dropped, is no
// longer than a group and reads as a number; the first line of a run is taken
// only when it is a whole group (four digits), as the first line after the
// port opens is. 9999 is a thermocouple break: kept as a break mark with its
// time, never a temperature. Every other line (no stamp, a bad stamp,
// garbage, a spoiled group, an empty line) is skipped and counted.
//
// Runs: the stamps of a run grow; a stamp of 00:00:00..00:00:09 right after
// one of 23:59:50..23:59:59 is the day's wrap, and the elapsed time goes on
// past 24 hours; any other step back starts a new run (the port was opened
// again and the program appended to the same file). Lines before the first
// stamped line count as skipped in the first run.
//
// Storage: per entry its elapsed seconds (32 bits) and its value (a double;
// a break mark holds NaN), 12 bytes, in blocks for the whole file.
// The file is read in blocks and at most a few dozen bytes of a line are
// looked at, so a line of any length costs nothing.
class FiringRecord {
public:
    static constexpr double BreakValue = 9999.0;
    // Entries beyond this make the file too big to review (about 8 months
    // of readings at 0.64 s, 400 MB in memory).
    static constexpr qint64 DefaultMaxEntries = qint64(1) << 25;

    FiringRecord() = default;
    explicit FiringRecord(qint64 maxEntries) : m_maxEntries(maxEntries) {}

    // Reads a recording file. On failure the record is empty and the message
    // says why in Russian.
    ReviewStatus load(const QString &path);
    // The same from an open device; name is the file name the messages give.
    ReviewStatus load(QIODevice &device, const QString &name);

    const std::vector<RecordRun> &runs() const { return m_runs; }
    // Run number n (from 1), or nullptr.
    const RecordRun *run(int number) const;
    // Lines read, and lines skipped in the whole file.
    qint64 lineCount() const { return m_lines; }
    qint64 skippedLines() const { return m_skipped; }

    // Entries of the whole file, index 0..entryCount() - 1.
    qint64 entryCount() const { return m_count; }
    qint32 seconds(qint64 entry) const { return block(entry).seconds[std::size_t(entry & BlockMask)]; }
    bool isBreak(qint64 entry) const;
    // The temperature of a reading (NaN for a break mark).
    double value(qint64 entry) const { return block(entry).values[std::size_t(entry & BlockMask)]; }

    // What run n amounts to; the alarm temperature adds the time at or above it.
    RunSummary summary(int number, std::optional<double> alarm = std::nullopt) const;

    // The curve of run n between two elapsed times, thinned as the live
    // chart's curve is, to at most two points a column (the lowest and the
    // highest reading of each, in the order they came, plus the first and
    // the last reading). Columns share out the entries, not the seconds. It
    // reads the stretch's entries once and copies nothing.
    QList<CurvePoint> curve(int number, qint32 fromSeconds, qint32 toSeconds, int columns) const;
    QList<CurvePoint> curve(int number, int columns) const {
        return curve(number, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), columns);
    }

    // The last entry of run n at or before an elapsed time; -1 when none.
    qint64 entryAt(int number, qint32 seconds) const;

    // When the thermocouple breaks of run n between two elapsed times came.
    std::vector<qint32> breakTimes(int number, qint32 fromSeconds, qint32 toSeconds) const;

    // Adds an entry after the last, as a reading line of a recording would:
    // 9999 is a break mark; a time before the last stamped time opens a new
    // run (the elapsed time of a live session never wraps at midnight). False
    // when the record is full.
    bool appendEntry(qint32 seconds, double value);

    // Bytes held for the entries.
    qint64 memoryBytes() const;

private:
    friend class RecordLineReader;
    // Entries are kept in blocks of a fixed size: the record grows without
    // moving what it holds, and never holds more than one block unused.
    static constexpr int BlockBits = 14;
    static constexpr qint64 BlockEntries = qint64(1) << BlockBits;
    static constexpr qint64 BlockMask = BlockEntries - 1;
    struct Block {
        std::array<qint32, BlockEntries> seconds;
        std::array<double, BlockEntries> values;
    };
    const Block &block(qint64 entry) const { return *m_blocks[std::size_t(entry >> BlockBits)]; }
    void append(qint32 seconds, double value);
    // The first entry from `from` to `to` (past the last) whose seconds are
    // above `seconds` (orAbove: at or above it); `to` when there is none.
    qint64 firstAfter(qint64 from, qint64 to, qint32 seconds, bool orAbove) const;
    void clear();

    qint64 m_maxEntries = DefaultMaxEntries;
    std::vector<std::unique_ptr<Block>> m_blocks;
    qint64 m_count = 0;
    std::vector<qint64> m_breakEntries; // indices of the break marks, in order
    std::vector<RecordRun> m_runs;
    qint64 m_lines = 0;
    qint64 m_skipped = 0;
};

// "hh:mm:ss" of a span of seconds with the hours not wrapped ("27:15:03").
QString spanText(qint64 seconds);

} // namespace zorneta
