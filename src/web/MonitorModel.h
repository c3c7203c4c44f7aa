#pragma once

#include "common/ReadingsTable.h"

#include <QMap>
#include <QObject>
#include <QString>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace zorneta::web {

// What the web endpoint shows of one running program: the readings since the
// process started, the state of the line, the faults counted, the alarm and
// the recording. Readings are numbered from 0 in the order they came; the
// numbering never goes back. Only the newest `capacity` readings (and never
// fewer) are kept, compactly; the total count stays.
class MonitorModel : public QObject {
    Q_OBJECT
public:
    enum class LineState { Closed, Open, LostWaiting };

    struct Reading {
        qint64 sequence = -1;
        qint64 ms = 0;        // wall clock, ms since the epoch
        bool isBreak = false; // the regulator reported a thermocouple break (9999)
        double celsius = 0.0; // meaningless for a break
    };

    explicit MonitorModel(qint64 startMs, qint64 capacity = 1'000'000, QObject *parent = nullptr);

    // Fed by the acquisition side.
    void addReading(qint64 ms, double celsius);
    void addBreak(qint64 ms);
    void setLineState(LineState state);
    void countFault(int code);
    void setAlarm(std::optional<double> celsius);
    void setAlarmReached(bool reached);
    void setRecording(const QString &path, qint64 bytes);
    void setRecordingStarted(std::optional<qint64> ms);
    // Reception has ended for good (the recorder goes on serving): a short
    // Russian text saying why; empty: it has not.
    void setEnded(const QString &why);

    qint64 startMs() const { return m_startMs; }
    // Readings received since the process started.
    qint64 total() const { return m_total; }
    // The number of the oldest reading still kept (total() when none is).
    qint64 firstKept() const { return m_firstKept; }
    // A kept reading; sequence -1 when it is not kept.
    Reading reading(qint64 sequence) const;
    // The newest reading that was a temperature, and the newest reading at all.
    std::optional<Reading> lastTemperature() const { return m_lastTemperature; }
    std::optional<Reading> lastReading() const;

    LineState lineState() const { return m_lineState; }
    const QMap<int, quint64> &faults() const { return m_faults; }
    bool thermocoupleBreak() const { return m_break; }
    std::optional<double> alarm() const { return m_alarm; }
    bool alarmReached() const { return m_alarmReached; }
    QString recordingPath() const { return m_recordingPath; }
    qint64 recordingBytes() const { return m_recordingBytes; }
    std::optional<qint64> recordingStarted() const { return m_recordingStarted; }
    QString ended() const { return m_ended; }

    // The kept temperatures as a table for CurveDecimator: row 2 holds them
    // from column 1 on (a break leaves its cell empty). Reading number
    // curveFirstSequence() + c - 1 is in column c.
    const ReadingsTable &curve() const { return m_curve; }
    qint64 curveFirstSequence() const { return firstKept(); }

    // Incremented on every change.
    quint64 revision() const { return m_revision; }

Q_SIGNALS:
    void changed();

private:
    void add(qint64 ms, bool isBreak, double celsius);
    void dropOldest();
    void touch();

    // Times are kept in blocks of Block readings, the first of each block
    // in full and the rest as ms after it; the oldest block goes as a whole.
    static constexpr qint64 Block = 4096;
    struct TimeBlock {
        qint64 base = 0;                  // ms of the block's first reading
        std::vector<std::uint32_t> delta; // ms after base; the top bit marks a break
    };

    qint64 m_startMs;
    qint64 m_capacity;
    qint64 m_total = 0;
    qint64 m_firstKept = 0;
    std::deque<TimeBlock> m_blocks;
    ReadingsTable m_curve;
    std::optional<Reading> m_lastTemperature;
    LineState m_lineState = LineState::Closed;
    QMap<int, quint64> m_faults;
    bool m_break = false;
    std::optional<double> m_alarm;
    bool m_alarmReached = false;
    QString m_recordingPath;
    qint64 m_recordingBytes = 0;
    std::optional<qint64> m_recordingStarted;
    QString m_ended;
    quint64 m_revision = 0;
};

} // namespace zorneta::web
