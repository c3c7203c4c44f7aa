#include "web/MonitorModel.h"

#include <algorithm>

namespace zorneta::web {

namespace {
constexpr std::uint32_t BreakMark = 0x8000'0000u;
constexpr std::uint32_t MaxDelta = BreakMark - 1;
} // namespace

MonitorModel::MonitorModel(qint64 startMs, qint64 capacity, QObject *parent)
    : QObject(parent), m_startMs(startMs), m_capacity(std::max<qint64>(capacity, Block)), m_curve(0, 0) {}

void MonitorModel::touch() {
    ++m_revision;
    Q_EMIT changed();
}

void MonitorModel::addReading(qint64 ms, double celsius) {
    add(ms, false, celsius);
}

void MonitorModel::addBreak(qint64 ms) {
    add(ms, true, 0.0);
}

void MonitorModel::add(qint64 ms, bool isBreak, double celsius) {
    const qint64 sequence = m_total++;
    // A block starts at every Block-th reading, or when the time jumps too
    // far (or back) for a delta.
    const bool fresh = m_blocks.empty() || m_blocks.back().delta.size() >= std::size_t(Block) ||
                       ms < m_blocks.back().base || ms - m_blocks.back().base > qint64(MaxDelta);
    if (fresh) {
        m_blocks.push_back(TimeBlock{ms, {}});
        m_blocks.back().delta.reserve(std::size_t(Block));
    }
    m_blocks.back().delta.push_back(std::uint32_t(ms - m_blocks.back().base) | (isBreak ? BreakMark : 0u));

    const qint64 column = sequence - m_firstKept + 1;
    if (column > m_curve.lastColumn())
        (void)m_curve.growBy(column - m_curve.lastColumn());
    if (!isBreak)
        (void)m_curve.setNumber(2, column, celsius);

    m_break = isBreak;
    if (!isBreak)
        m_lastTemperature = Reading{sequence, ms, false, celsius};
    if (m_total - m_firstKept > m_capacity)
        dropOldest();
    touch();
}

void MonitorModel::dropOldest() {
    const qint64 dropped = qint64(m_blocks.front().delta.size());
    m_blocks.pop_front();
    const qint64 kept = m_total - m_firstKept - dropped;
    ReadingsTable curve(0, kept);
    for (qint64 c = 1; c <= kept; ++c) {
        if (m_curve.isNumber(2, c + dropped))
            (void)curve.setNumber(2, c, m_curve.number(2, c + dropped));
    }
    m_curve = std::move(curve);
    m_firstKept += dropped;
}

MonitorModel::Reading MonitorModel::reading(qint64 sequence) const {
    if (sequence < m_firstKept || sequence >= m_total)
        return {};
    qint64 offset = sequence - m_firstKept;
    for (const TimeBlock &block : m_blocks) {
        const qint64 size = qint64(block.delta.size());
        if (offset < size) {
            const std::uint32_t d = block.delta[std::size_t(offset)];
            Reading r;
            r.sequence = sequence;
            r.ms = block.base + qint64(d & MaxDelta);
            r.isBreak = (d & BreakMark) != 0;
            const qint64 column = sequence - m_firstKept + 1;
            r.celsius = r.isBreak ? 0.0 : m_curve.number(2, column);
            return r;
        }
        offset -= size;
    }
    return {};
}

std::optional<MonitorModel::Reading> MonitorModel::lastReading() const {
    if (m_total == 0 || m_total == m_firstKept)
        return std::nullopt;
    return reading(m_total - 1);
}

void MonitorModel::setLineState(LineState state) {
    if (state == m_lineState)
        return;
    m_lineState = state;
    touch();
}

void MonitorModel::countFault(int code) {
    ++m_faults[code];
    touch();
}

void MonitorModel::setAlarm(std::optional<double> celsius) {
    if (celsius == m_alarm)
        return;
    m_alarm = celsius;
    touch();
}

void MonitorModel::setAlarmReached(bool reached) {
    if (reached == m_alarmReached)
        return;
    m_alarmReached = reached;
    touch();
}

void MonitorModel::setRecording(const QString &path, qint64 bytes) {
    if (path == m_recordingPath && bytes == m_recordingBytes)
        return;
    m_recordingPath = path;
    m_recordingBytes = bytes;
    touch();
}

void MonitorModel::setRecordingStarted(std::optional<qint64> ms) {
    if (ms == m_recordingStarted)
        return;
    m_recordingStarted = ms;
    touch();
}

void MonitorModel::setEnded(const QString &why) {
    if (why == m_ended)
        return;
    m_ended = why;
    touch();
}

} // namespace zorneta::web
