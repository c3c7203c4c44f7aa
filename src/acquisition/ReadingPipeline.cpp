#include "acquisition/ReadingPipeline.h"

#include "acquisition/PortControl.h"
#include "common/ItemNames.h"
#include "session/SessionState.h"
#include "acquisition/TerminalOutput.h"
#include "chart/ChartModel.h"
#include "common/Formats.h"
#include "common/TextEncoding.h"
#include "platform/Beeper.h"
#include "platform/ChartSurface.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "session/MainView.h"
#include "session/Services.h"

#include <limits>

namespace zorneta {

namespace {
constexpr int GroupLength = 6;
constexpr int AlarmBeeps = 50;
constexpr int ErrorBeeps = 300;
constexpr qint64 MaxTicks = 50;
} // namespace

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

void ReadingPipeline::onCommEvent() {
    SerialPort &port = m_services.port;
    MainView &view = m_services.view;

    // Read-period gate: other events only drain the input.
    if (m_state.commEventCount % m_state.readPeriod == 0) {
        // The event code; a line event is reported below.
        const int code = port.commEvent();
        // The text this event hands to the terminal. Kept here, so a message
        // box that lets further events run cannot swap it for theirs.
        QString shown;
        if (code != CommEvents::Receive) {
            m_state.eventText = eventTextFor(code);
            shown = decodeLineText(m_state.receivedData);
        } else {
            // The whole line the port delivered: everything received is shown
            // and recorded, whatever its length or line end.
            port.setInputLen(0);
            m_state.receivedData = port.input();
            shown = decodeLineText(m_state.receivedData);
            const QString text = shown;
            // A line is a reading when it is no longer than a group and reads as
            // a number. Anything else (garbage on the line, a group spoiled in
            // transit, the tail of a group caught by opening the port) is shown
            // and recorded but is not a reading: it is neither stored nor
            // compared with the break value or the alarm temperature.
            const bool tail = port.firstLineSinceOpen() && !isWholeGroup(m_state.receivedData);
            const std::optional<double> value = (tail || text.size() > GroupLength) ? std::nullopt : parseReading(text);
            if (value) {
                // Thermocouple break: close the port and say so; the value is
                // still stored.
                if (*value == BreakValue) {
                    // The port toggle closes the open port; a port already
                    // closed is never reopened by a late reading.
                    if (port.portOpen())
                        m_port.togglePort();
                    m_services.prompts.messageBox(
                        QStringLiteral("Зорнета:  Внимание - неисправность !"),
                        QStringLiteral("Обнаружен обрыв в цепи Термопары. \n\nЗапись в файл  остановлена.  "
                                       "Коммуникационный порт закрыт"),
                        Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
                }
                // Alarm at the set temperature, at most three times.
                if (*value - static_cast<double>(m_state.temperature) == 0.0 && m_state.alarmCount < MaxAlarms) {
                    view.showAlarm(QStringLiteral("Достигнута заданная температура   \" ") +
                                   QString::number(m_state.temperature) + QStringLiteral(" \"  градусов в ") +
                                   timeWithDotsText(m_services.clock.now()));
                    for (int i = 0; i < AlarmBeeps; ++i)
                        m_services.beeper.beep();
                    ++m_state.alarmCount;
                }
                // Store, and grow and redraw at the update period.
                storeReading(*value);
                if (m_state.pointCount % m_state.updatePeriod == 0)
                    m_chart.updateChart();
            }
        }
        // Report and show.
        if (!m_state.eventText.isEmpty())
            reportEvent();
        if (view.seriesDataVisible())
            view.refreshSeriesData();
        m_output.showTermText(view.terminalBox(), shown);
        view.setPanelText(panel::Counter, QString::number(m_state.pointCount));
    }

    // End of every event: take what is still buffered, count, adapt the
    // X-axis spacing.
    port.setInputLen(0);
    m_state.receivedData = port.input();
    ++m_state.commEventCount;
    adaptXSpacing();
}

void ReadingPipeline::storeReading(double value) {
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
    (void)s.readings.setNumber(2, s.pointCount, value);
    (void)s.readings.setElapsedLabel(1, s.pointCount, elapsedSeconds(s.startTime, m_services.clock.now()));
    if (s.onlyEnd) {
        if (s.pointCount > s.endReadings.lastColumn())
            (void)s.endReadings.resize(s.endReadings.firstColumn(), s.pointCount);
        (void)s.endReadings.setNumber(2, s.pointCount, value);
        (void)s.endReadings.setElapsedLabel(1, s.pointCount, elapsedSeconds(s.startTime, m_services.clock.now()));
    }
}

void ReadingPipeline::reportEvent() {
    MainView &view = m_services.view;
    const QDateTime now = m_services.clock.now();
    view.setPanelText(panel::Status, m_state.eventText + QStringLiteral("  ") + timeOfDayText(now));
    if (m_errorQuestionOpen) {
        // The question about an earlier fault is still open: its answer
        // decides for this one too, so questions never pile up.
        m_state.eventText.clear();
        return;
    }
    for (int i = 0; i < ErrorBeeps; ++i)
        m_services.beeper.beep();
    m_errorQuestionOpen = true;
    const auto answer = m_services.prompts.messageBox(
        QStringLiteral("Зорнета:   Ошибка коммуникационного Порта"),
        m_state.eventText +
            QStringLiteral("\n\nОК - Продолжение программы, Отмена - Прекрашение приема данных и закрытие порта"),
        Prompts::Icon::Critical, Prompts::Buttons::OkCancel);
    m_errorQuestionOpen = false;
    if (answer == Prompts::Answer::Cancel) {
        SerialPort &port = m_services.port;
        (void)port.setPortOpen(false);
        view.showConnected(false);
        // The menu's check mark follows the port, as everywhere else.
        view.setItemChecked(menu::OpenPort, port.portOpen());
        view.setPanelText(panel::Status, QStringLiteral("Порт закрыт ") + dateTimeText(m_services.clock.now()));
        m_port.showDuration();
    }
    m_state.eventText.clear();
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
    (void)m_services.chart.setDivisionsPerTick(s.xTickDivisions);
    (void)m_services.chart.setDivisionsPerLabel(s.xLabelDivisions);
}

} // namespace zorneta
