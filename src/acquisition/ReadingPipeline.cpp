#include "acquisition/ReadingPipeline.h"

#include "common/Formats.h"
#include "common/TextEncoding.h"
#include "platform/Clock.h"
#include "recording/RecordWriter.h"
#include "session/SessionState.h"

#include <limits>

namespace zorneta {

namespace {
constexpr int GroupLength = 6;
constexpr qint64 MaxTicks = 50;
} // namespace

ReadingPipeline::ReadingPipeline(SessionState &state, Clock &clock, RecordWriter &record)
    : m_state(state), m_clock(clock), m_record(record) {}

QString ReadingPipeline::eventTextFor(int code) {
    switch (code) {
    case CommEvents::Receive:
        return QString();
    case CommEvents::Break:
        return QStringLiteral("Получен сигнал о Вкл/Выкл питания терморегулятора или о подключении в цепи данных");
    case CommEvents::CdTimeout:
        return QStringLiteral("Ошибка по времени CDTO");
    case CommEvents::CtsTimeout:
        return QStringLiteral("Ошибка по времени CTSTO");
    case CommEvents::Dcb:
        return QStringLiteral("Ошибка высвобождения DCB");
    case CommEvents::DsrTimeout:
        return QStringLiteral("Ошибка по времени DSRTO");
    case CommEvents::Frame:
        return QStringLiteral("Ошибка кадрирования принимаемых данных");
    case CommEvents::Overrun:
        return QStringLiteral("Ошибка выполнения");
    case CommEvents::RxOver:
        return QStringLiteral("Переполнение буфера приема данных");
    case CommEvents::RxParity:
        return QStringLiteral("Ошибка четности");
    case CommEvents::TxFull:
        // The second word is written with a Latin small e after its first letter.
        return QStringLiteral("Буфер п") + QChar(u'e') + QStringLiteral("редачи полон");
    default:
        break;
    }
    return QStringLiteral("Неизвестная ошибка или событие");
}

QString ReadingPipeline::stamp() const {
    return elapsedText(m_state.startTime, m_clock.now());
}

void ReadingPipeline::takeLine(const QByteArray &line, LineFacts facts) {
    // Everything received is recorded and shown as it arrives, whatever its
    // length or line end.
    m_record.writeReceived(line, stamp());
    Q_EMIT lineShown(line);

    // The read period thins only what is stored in the table.
    bool broken = false;
    if (m_state.commEventCount % m_state.readPeriod == 0) {
        // A line is a reading when it is no longer than a group and reads as a
        // number. Anything else (garbage on the line, a group spoiled in
        // transit, the tail of a group caught by opening the port) is shown and
        // recorded but is not a reading: it is neither stored nor compared with
        // the break value or the alarm temperature.
        // Likewise the head of a group that a closing port cut short.
        const bool tail = (facts.afterGap && !isWholeGroup(line)) || facts.cutShort;
        const std::optional<double> value =
            (tail || line.size() > GroupLength) ? std::nullopt : parseReading(decodeLineText(line));
        if (value) {
            broken = *value == BreakValue;
            checkAlarm(*value);
            if (m_held) {
                if (qsizetype(m_heldReadings.size()) >= MaxHeldReadings)
                    m_heldReadings.pop_front();
                m_heldReadings.push_back(HeldReading{*value, m_clock.now()});
            } else {
                storeReading(*value, m_clock.now());
            }
        }
    }
    endEvent();
    // The port is closed for a broken thermocouple once the line is dealt with.
    if (broken)
        Q_EMIT thermocoupleBreak();
}

void ReadingPipeline::takeFault(int code) {
    // Every fault is reported, whatever the read period.
    Q_EMIT lineFault(code, eventTextFor(code), m_clock.now());
    endEvent();
}

void ReadingPipeline::endEvent() {
    ++m_state.commEventCount;
    adaptXSpacing();
    Q_EMIT eventDone(m_state.pointCount);
}

void ReadingPipeline::checkAlarm(double value) {
    SessionState &s = m_state;
    const double target = static_cast<double>(s.temperature);
    // A reading equal to the set temperature fires, and so does one that
    // passed it: this reading and the one before on strictly opposite sides.
    // Out-of-range reports are no side; with no set temperature (0) only
    // equality counts.
    bool fires = value - target == 0.0;
    const bool side = value != BreakValue && value != NoValue;
    if (!fires && side && s.temperature != 0 && s.previousReading)
        fires = (*s.previousReading < target && value > target) || (*s.previousReading > target && value < target);
    if (side)
        s.previousReading = value;
    if (fires && s.alarmCount < MaxAlarms) {
        ++s.alarmCount;
        Q_EMIT alarmReached(s.temperature, m_clock.now());
    }
}

void ReadingPipeline::holdReadings() {
    m_held = true;
}

void ReadingPipeline::releaseReadings() {
    m_held = false;
    while (!m_heldReadings.empty() && !m_held) {
        const HeldReading r = m_heldReadings.front();
        m_heldReadings.pop_front();
        storeReading(r.value, r.arrived);
    }
    Q_EMIT eventDone(m_state.pointCount);
}

void ReadingPipeline::storeReading(double value, const QDateTime &arrived) {
    SessionState &s = m_state;
    ++s.pointCount;
    // Room for the reading: with long update periods its column may not
    // exist yet. The table then grows ahead of the redraw, which keeps its
    // cadence.
    if (s.pointCount > s.readings.lastColumn()) {
        const qint64 last = std::max(s.pointCount, s.readings.lastColumn() + s.updatePeriod);
        if (s.readings.resize(s.readings.firstColumn(), last))
            (void)s.readings.setText(1, last, lastColumnLabel(last));
    }
    // A reading that waited for a question counts from the start the answer
    // set, at the earliest.
    const qint64 elapsed = std::max<qint64>(0, elapsedSeconds(s.startTime, arrived));
    (void)s.readings.setNumber(2, s.pointCount, value);
    (void)s.readings.setElapsedLabel(1, s.pointCount, elapsed);
    (void)s.readings.setClockTime(s.pointCount, arrived);
    if (s.onlyEnd) {
        if (s.pointCount > s.endReadings.lastColumn())
            (void)s.endReadings.resize(s.endReadings.firstColumn(), s.pointCount);
        (void)s.endReadings.setNumber(2, s.pointCount, value);
        (void)s.endReadings.setElapsedLabel(1, s.pointCount, elapsed);
        (void)s.endReadings.setClockTime(s.pointCount, arrived);
    }
    Q_EMIT readingStored(s.pointCount, value);
    if (s.pointCount % s.updatePeriod == 0)
        Q_EMIT chartDue();
}

void ReadingPipeline::adaptXSpacing() {
    SessionState &s = m_state;
    if (!s.autoTickDivision || s.xTickDivisions <= 0)
        return;
    if (s.readings.lastColumn() / s.xTickDivisions <= MaxTicks)
        return;
    const int doubled = s.xTickDivisions * 2;
    if (doubled > std::numeric_limits<std::int16_t>::max())
        return; // the spacing stays as it was
    s.xTickDivisions = static_cast<std::int16_t>(doubled);
    s.xLabelDivisions = s.xTickDivisions;
    Q_EMIT xDivisionsChanged(s.xTickDivisions);
}

} // namespace zorneta
