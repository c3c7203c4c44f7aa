#pragma once

#include "platform/SerialPort.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <deque>

namespace zorneta {

class Clock;
class RecordWriter;
struct SessionState;

// What becomes of each line the port hands over. Every line is recorded (when
// a recording file is open) and shown; a line that is a reading and passes the
// read-period gate is stored in the session's table, checked for a
// thermocouple break and the alarm temperature, and makes the chart due at the
// update period. Line faults are reported. The pipeline tells its listeners
// what happened and never waits for anybody: presenting an outcome (a message
// box, beeps, a line on the console) is the listeners' business.
class ReadingPipeline : public QObject {
    Q_OBJECT
public:
    // Thermocouple-break reading.
    static constexpr double BreakValue = 9999.0;
    // A regulator's other out-of-range report; never a side of the alarm.
    static constexpr double NoValue = 9998.0;
    // The alarm fires at most this many times per set temperature.
    static constexpr int MaxAlarms = 3;
    // Readings that wait while the table is held, at most (over seventeen
    // hours of groups); the oldest give way beyond that.
    static constexpr qsizetype MaxHeldReadings = 100000;

    ReadingPipeline(SessionState &state, Clock &clock, RecordWriter &record);

    void takeLine(const QByteArray &line, LineFacts facts);
    void takeFault(int code);

    // While held, readings are recorded, shown and checked as they arrive, but
    // wait before they land in the table: a question decides where they go.
    // Releasing stores them, in order.
    void holdReadings();
    void releaseReadings();
    bool readingsHeld() const { return m_held; }

    // The elapsed-time stamp of the session for the current moment.
    QString stamp() const;

    // Description of a line event code; empty for a received line.
    static QString eventTextFor(int code);

Q_SIGNALS:
    // A line arrived (after it was recorded).
    void lineShown(const QByteArray &line);
    // A reading was stored in the table as number `point`.
    void readingStored(qint64 point, double value);
    // The stored readings reached the update period: the chart is due.
    void chartDue();
    // The automatic X-axis spacing doubled its divisions.
    void xDivisionsChanged(int divisions);
    // A reading equal to the alarm temperature, or one that passed it.
    void alarmReached(qint64 temperature, const QDateTime &at);
    // A reading of 9999: the thermocouple circuit is broken.
    void thermocoupleBreak();
    // A line fault or line-state event, with its description.
    void lineFault(int code, const QString &text, const QDateTime &at);
    // One line or fault has been dealt with (the counter may have moved).
    void eventDone(qint64 pointCount);

private:
    struct HeldReading {
        double value;
        QDateTime arrived;
    };
    void checkAlarm(double value);
    void storeReading(double value, const QDateTime &arrived);
    void adaptXSpacing();
    void endEvent();

    SessionState &m_state;
    Clock &m_clock;
    RecordWriter &m_record;
    bool m_held = false;
    std::deque<HeldReading> m_heldReadings;
};

} // namespace zorneta
