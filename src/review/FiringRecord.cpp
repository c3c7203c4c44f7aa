#include "review/FiringRecord.h"

#include "common/Formats.h"
#include "common/SystemErrors.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zorneta {

namespace {
constexpr qint32 SecondsPerDay = 24 * 60 * 60;
constexpr qint64 BlockBytes = 1 << 20;
// A line is judged by its first bytes: the stamp, the TAB and a group's worth
// of text; only its length counts beyond them.
constexpr int HeadBytes = 32;
constexpr int StampLength = 8;
// A group: four characters, CR and LF. The recording keeps the text without
// its line end.
constexpr int GroupLength = 6;
constexpr char16_t GroupEnd[] = u"\r\n";

int twoDigits(const char *p) {
    if (p[0] < '0' || p[0] > '9' || p[1] < '0' || p[1] > '9')
        return -1;
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// The seconds of a stamp "hh:nn:ss" followed by a TAB, or -1.
qint32 stampSeconds(const char *p, qint64 length) {
    if (length < StampLength + 1 || p[2] != ':' || p[5] != ':' || p[StampLength] != '\t')
        return -1;
    const int h = twoDigits(p), m = twoDigits(p + 3), s = twoDigits(p + 6);
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return -1;
    return h * 3600 + m * 60 + s;
}
} // namespace

QString spanText(qint64 seconds) {
    const bool negative = seconds < 0;
    if (negative)
        seconds = -seconds;
    return (negative ? QStringLiteral("-") : QString()) + QString::number(seconds / 3600).rightJustified(2, u'0') +
           u':' + QString::number(seconds / 60 % 60).rightJustified(2, u'0') + u':' +
           QString::number(seconds % 60).rightJustified(2, u'0');
}

// Takes the lines of a recording one by one, as blocks of bytes arrive.
class RecordLineReader {
public:
    explicit RecordLineReader(FiringRecord &record) : m_record(record) {}

    // False once the record holds more entries than it may.
    bool feed(const char *data, qint64 size) {
        while (size > 0) {
            const char *lf = static_cast<const char *>(std::memchr(data, '\n', std::size_t(size)));
            const qint64 piece = lf ? lf - data : size;
            if (lf && m_length == 0) {
                // A whole line in the block: judged where it lies.
                take(data, piece, piece > 0 ? data[piece - 1] : '\0');
            } else {
                const qint64 copy = std::min<qint64>(piece, HeadBytes - m_headLength);
                if (copy > 0) {
                    std::memcpy(m_head + m_headLength, data, std::size_t(copy));
                    m_headLength += int(copy);
                }
                m_length += piece;
                if (piece > 0)
                    m_last = data[piece - 1];
                if (lf)
                    finishLine();
            }
            if (m_full)
                return false;
            if (!lf)
                break;
            data = lf + 1;
            size -= piece + 1;
        }
        return !m_full;
    }

    // The last line, when the file does not end in LF.
    void finish() {
        if (m_length > 0)
            finishLine();
    }

    bool full() const { return m_full; }
    bool anyStamp() const { return m_currentRun >= 0; }

private:
    void finishLine() {
        take(m_head, m_length, m_last);
        m_headLength = 0;
        m_length = 0;
        m_last = '\0';
    }

    // A line of `length` bytes (its LF not counted) whose first bytes are at p
    // (all of them, or at least HeadBytes) and whose last byte is `last`.
    void take(const char *p, qint64 length, char last) {
        ++m_record.m_lines;
        if (length > 0 && last == '\r')
            --length; // a CR before the LF
        const qint32 stamp = stampSeconds(p, std::min<qint64>(length, HeadBytes));
        if (stamp < 0) {
            skip();
            return;
        }
        const bool firstOfRun = place(stamp);
        const qint64 textLength = length - (StampLength + 1);
        std::optional<double> reading;
        // The live rule, on the text with the group's CR LF put back.
        if (textLength + 2 <= GroupLength) {
            char16_t text[GroupLength];
            for (qint64 i = 0; i < textLength; ++i)
                text[i] = char16_t(static_cast<unsigned char>(p[StampLength + 1 + i]));
            text[textLength] = GroupEnd[0];
            text[textLength + 1] = GroupEnd[1];
            char group[GroupLength];
            std::memcpy(group, p + StampLength + 1, std::size_t(textLength));
            group[textLength] = '\r';
            group[textLength + 1] = '\n';
            const bool wholeGroup = isWholeGroup(QByteArrayView(group, textLength + 2));
            if (!firstOfRun || wholeGroup)
                reading = parseReading(QStringView(text, textLength + 2));
        }
        if (!reading) {
            skip();
            return;
        }
        if (m_record.entryCount() >= m_record.m_maxEntries) {
            m_full = true;
            return;
        }
        RecordRun &run = m_record.m_runs.back();
        const bool isBreak = *reading == FiringRecord::BreakValue;
        if (isBreak) {
            m_record.m_breakEntries.push_back(m_record.entryCount());
            ++run.breaks;
        } else {
            ++run.readings;
        }
        m_record.append(m_elapsed, isBreak ? std::nan("") : *reading);
        ++run.count;
    }

    void skip() {
        ++m_record.m_skipped;
        if (m_currentRun >= 0)
            ++m_record.m_runs.back().skipped;
        else
            ++m_skippedBeforeFirst;
    }

    // Places a stamped line in its run; true when it opens a run.
    bool place(qint32 stamp) {
        bool newRun = m_currentRun < 0;
        if (!newRun && stamp < m_stamp) {
            const bool wrap = m_stamp >= SecondsPerDay - 10 && stamp < 10 &&
                              m_dayOffset < std::numeric_limits<qint32>::max() - 2 * SecondsPerDay;
            if (wrap)
                m_dayOffset += SecondsPerDay;
            else
                newRun = true;
        }
        m_stamp = stamp;
        if (newRun) {
            m_dayOffset = 0;
            RecordRun run;
            run.number = int(m_record.m_runs.size()) + 1;
            run.first = m_record.entryCount();
            run.startSeconds = stamp;
            run.skipped = std::exchange(m_skippedBeforeFirst, 0);
            m_record.m_runs.push_back(run);
            m_currentRun = run.number;
        }
        m_elapsed = m_dayOffset + stamp;
        m_record.m_runs.back().endSeconds = m_elapsed;
        return newRun;
    }

    FiringRecord &m_record;
    char m_head[HeadBytes] = {};
    int m_headLength = 0;
    qint64 m_length = 0; // bytes of the line so far
    char m_last = '\0';  // its last byte so far
    qint32 m_stamp = 0;  // the last stamp, as written
    qint32 m_dayOffset = 0;
    qint32 m_elapsed = 0;
    int m_currentRun = -1;
    qint64 m_skippedBeforeFirst = 0;
    bool m_full = false;
};

void FiringRecord::append(qint32 seconds, double value) {
    if ((m_count & BlockMask) == 0)
        m_blocks.push_back(std::make_unique<Block>());
    Block &b = *m_blocks.back();
    b.seconds[std::size_t(m_count & BlockMask)] = seconds;
    b.values[std::size_t(m_count & BlockMask)] = value;
    ++m_count;
}

qint64 FiringRecord::firstAfter(qint64 from, qint64 to, qint32 limit, bool orAbove) const {
    while (from < to) {
        const qint64 middle = from + (to - from) / 2;
        const qint32 s = seconds(middle);
        if (orAbove ? s < limit : s <= limit)
            from = middle + 1;
        else
            to = middle;
    }
    return from;
}

void FiringRecord::clear() {
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_count = 0;
    m_breakEntries = {};
    m_runs = {};
    m_lines = 0;
    m_skipped = 0;
}

ReviewStatus FiringRecord::load(const QString &path) {
    clear();
    const QFileInfo info(path);
    if (info.isDir())
        return ReviewStatus::failure(QStringLiteral("Выбрана папка, а не файл: ") + path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReviewStatus::failure(fileFailureText(FileAction::Open, path, file.errorString()));
    return load(file, path);
}

ReviewStatus FiringRecord::load(QIODevice &device, const QString &name) {
    clear();
    RecordLineReader reader(*this);
    QByteArray block(BlockBytes, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 got = device.read(block.data(), BlockBytes);
        if (got < 0) {
            const QString error = device.errorString();
            clear();
            return ReviewStatus::failure(fileFailureText(FileAction::Read, name, error));
        }
        if (got == 0 && (device.atEnd() || !device.waitForReadyRead(-1)))
            break;
        total += got;
        if (!reader.feed(block.constData(), got))
            break;
    }
    if (!reader.full())
        reader.finish();
    if (reader.full()) {
        clear();
        return ReviewStatus::failure(QStringLiteral("Файл слишком велик для просмотра: ") + name +
                                     QStringLiteral(" (в нём больше %1 показаний)").arg(m_maxEntries));
    }
    if (total == 0) {
        clear();
        return ReviewStatus::failure(QStringLiteral("Файл пуст: ") + name);
    }
    if (!reader.anyStamp()) {
        clear();
        return ReviewStatus::failure(QStringLiteral("Файл не похож на запись Зорнеты: ") + name +
                                     QStringLiteral(" (в нём нет ни одной строки вида «чч:мм:сс», табуляция, "
                                                    "принятый текст)"));
    }
    return ReviewStatus::ok();
}

const RecordRun *FiringRecord::run(int number) const {
    if (number < 1 || number > int(m_runs.size()))
        return nullptr;
    return &m_runs[std::size_t(number - 1)];
}

bool FiringRecord::isBreak(qint64 entry) const {
    return std::isnan(value(entry));
}

RunSummary FiringRecord::summary(int number, std::optional<double> alarm) const {
    RunSummary s;
    const RecordRun *r = run(number);
    if (!r)
        return s;
    s.run = r->number;
    s.start = r->startSeconds;
    s.end = r->endSeconds;
    s.duration = r->endSeconds - r->startSeconds;
    s.readings = r->readings;
    s.breaks = r->breaks;
    s.skipped = r->skipped;
    if (alarm)
        s.secondsAtOrAbove = 0;
    const qint64 end = r->first + r->count;
    for (qint64 i = r->first; i < end; ++i) {
        const double v = value(i);
        if (std::isnan(v)) {
            s.breakTimes.push_back(seconds(i));
            continue;
        }
        if (!s.highest || v > *s.highest) {
            s.highest = v;
            s.highestAt = seconds(i);
        }
        if (alarm && v >= *alarm && i + 1 < end)
            *s.secondsAtOrAbove += seconds(i + 1) - seconds(i);
    }
    return s;
}

QList<CurvePoint> FiringRecord::curve(int number, qint32 fromSeconds, qint32 toSeconds, int columns) const {
    QList<CurvePoint> out;
    const RecordRun *r = run(number);
    if (!r || r->count == 0 || fromSeconds > toSeconds)
        return out;
    // A run's stamps never go back: its entries in the span are found by halving.
    const qint64 from = firstAfter(r->first, r->first + r->count, fromSeconds, true);
    const qint64 to = firstAfter(from, r->first + r->count, toSeconds, false); // past the last
    if (from >= to)
        return out;
    // Thinned straight from the entries: columns share out the entries of
    // the stretch evenly, and each gives its lowest and highest reading in
    // the order they came, the first and the last reading of the stretch
    // added (as the live chart's decimator does).
    qint64 previous = -1;
    auto take = [&](qint64 entry) {
        CurvePoint point;
        point.seconds = seconds(entry);
        point.value = value(entry);
        if (previous >= 0) {
            const auto next = std::upper_bound(m_breakEntries.begin(), m_breakEntries.end(), previous);
            point.gapBefore = next != m_breakEntries.end() && *next < entry;
        }
        previous = entry;
        out.append(point);
    };
    const qint64 n = to - from;
    const qint64 width = std::max(columns, 1);
    if (n <= 2 * width + 1) {
        for (qint64 i = from; i < to; ++i) {
            if (!isBreak(i))
                take(i);
        }
        return out;
    }
    qint64 first = from, last = to - 1;
    while (first < to && isBreak(first))
        ++first;
    while (last > first && isBreak(last))
        --last;
    if (first >= to)
        return out;
    out.reserve(qsizetype(2 * width + 2));
    take(first);
    for (qint64 k = 0; k < width; ++k) {
        const qint64 bucketFrom = std::max(from + k * n / width, first + 1);
        const qint64 bucketTo = std::min(from + (k + 1) * n / width, last); // past the end
        qint64 lowAt = -1, highAt = -1;
        double low = 0.0, high = 0.0;
        for (qint64 i = bucketFrom; i < bucketTo;) {
            // Within one block the values lie side by side.
            const Block &b = block(i);
            const qint64 blockEnd = std::min(bucketTo, (i | BlockMask) + 1);
            for (; i < blockEnd; ++i) {
                const double v = b.values[std::size_t(i & BlockMask)];
                if (std::isnan(v))
                    continue;
                if (lowAt < 0 || v < low) {
                    low = v;
                    lowAt = i;
                }
                if (highAt < 0 || v > high) {
                    high = v;
                    highAt = i;
                }
            }
        }
        if (lowAt < 0)
            continue;
        take(std::min(lowAt, highAt));
        if (lowAt != highAt)
            take(std::max(lowAt, highAt));
    }
    if (last > first)
        take(last);
    return out;
}

qint64 FiringRecord::entryAt(int number, qint32 at) const {
    const RecordRun *r = run(number);
    if (!r || r->count == 0)
        return -1;
    const qint64 after = firstAfter(r->first, r->first + r->count, at, false);
    return after > r->first ? after - 1 : -1;
}

std::vector<qint32> FiringRecord::breakTimes(int number, qint32 fromSeconds, qint32 toSeconds) const {
    std::vector<qint32> times;
    const RecordRun *r = run(number);
    if (!r)
        return times;
    auto it = std::lower_bound(m_breakEntries.begin(), m_breakEntries.end(), r->first);
    for (; it != m_breakEntries.end() && *it < r->first + r->count; ++it) {
        const qint32 t = seconds(*it);
        if (t > toSeconds)
            break;
        if (t >= fromSeconds)
            times.push_back(t);
    }
    return times;
}

bool FiringRecord::appendEntry(qint32 seconds, double value) {
    if (m_count >= m_maxEntries)
        return false;
    ++m_lines;
    if (m_runs.empty() || seconds < m_runs.back().endSeconds) {
        RecordRun run;
        run.number = int(m_runs.size()) + 1;
        run.first = m_count;
        run.startSeconds = seconds;
        m_runs.push_back(run);
    }
    RecordRun &run = m_runs.back();
    run.endSeconds = seconds;
    const bool isBreak = value == BreakValue;
    if (isBreak) {
        m_breakEntries.push_back(m_count);
        ++run.breaks;
    } else {
        ++run.readings;
    }
    ++run.count;
    append(seconds, isBreak ? std::nan("") : value);
    return true;
}

qint64 FiringRecord::memoryBytes() const {
    return qint64(m_blocks.size() * sizeof(Block) + m_blocks.capacity() * sizeof(m_blocks[0]) +
                  m_breakEntries.capacity() * sizeof(qint64) + m_runs.capacity() * sizeof(RecordRun));
}

} // namespace zorneta
