#include "acquisition/ReadingPipeline.h"

#include "acquisition/PortControl.h"
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

QString ReadingPipeline::EventTextFor(int code) {
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

void ReadingPipeline::MSComm1_OnComm() {
    SerialPort &port = m_services.port;
    MainView &view = m_services.view;

    // 1. Read-period gate: other events only drain the input.
    if (m_state.CommEventCount % m_state.ReadPeriod == 0) {
        // 2.-3. The event code; a line event is reported below.
        const int code = port.CommEvent();
        // The text this event hands to the terminal. Kept here, so a message
        // box that lets further events run cannot swap it for theirs.
        QString shown;
        if (code != CommEvents::Receive) {
            m_state.EventText = EventTextFor(code);
            shown = DecodeLineText(m_state.ReceivedData);
        } else {
            // The whole line the port delivered: everything received is shown
            // and recorded, whatever its length or line end.
            port.setInputLen(0);
            m_state.ReceivedData = port.Input();
            shown = DecodeLineText(m_state.ReceivedData);
            const QString text = shown;
            // A line is a reading when it is no longer than a group and reads as
            // a number. Anything else (garbage on the line, a group spoiled in
            // transit, the tail of a group caught by opening the port) is shown
            // and recorded but is not a reading: it is neither stored nor
            // compared with the break value or the alarm temperature.
            const bool tail = port.firstLineSinceOpen() && !IsWholeGroup(m_state.ReceivedData);
            const std::optional<double> value = (tail || text.size() > GroupLength) ? std::nullopt : ParseReading(text);
            if (value) {
                // 5. Thermocouple break: close the port and say so; the value is
                // still stored.
                if (*value == BreakValue) {
                    // The port toggle closes the open port; a port already
                    // closed is never reopened by a late reading.
                    if (port.PortOpen())
                        m_port.mnuOpen_Click();
                    m_services.prompts.messageBox(
                        QStringLiteral("Зорнета:  Внимание - неисправность !"),
                        QStringLiteral("Обнаружен обрыв в цепи Термопары. \n\nЗапись в файл  остановлена.  "
                                       "Коммуникационный порт закрыт"),
                        Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
                }
                // 6. Alarm at the set temperature, at most three times.
                if (*value - static_cast<double>(m_state.Temperature) == 0.0 && m_state.AlarmCount < MaxAlarms) {
                    view.showAlarm(QStringLiteral("Достигнута заданная температура   \" ") +
                                   QString::number(m_state.Temperature) + QStringLiteral(" \"  градусов в ") +
                                   TimeWithDotsText(m_services.clock.now()));
                    for (int i = 0; i < AlarmBeeps; ++i)
                        m_services.beeper.Beep();
                    ++m_state.AlarmCount;
                }
                // 7.-8. Store, and grow and redraw at the update period.
                storeReading(*value);
                if (m_state.PointCount % m_state.UpdatePeriod == 0)
                    m_chart.UpdateChart();
            }
        }
        // 9. Report and show.
        if (!m_state.EventText.isEmpty())
            reportEvent();
        if (view.seriesDataVisible())
            view.refreshSeriesData();
        m_output.ShowTermText(view.terminalBox(), shown);
        view.setPanelText(QStringLiteral("Counter"), QString::number(m_state.PointCount));
    }

    // 12. End of every event: take what is still buffered, count, adapt the
    // X-axis spacing.
    port.setInputLen(0);
    m_state.ReceivedData = port.Input();
    ++m_state.CommEventCount;
    adaptXSpacing();
}

void ReadingPipeline::storeReading(double value) {
    SessionState &s = m_state;
    ++s.PointCount;
    // Room for the reading: with long update periods its column may not
    // exist yet. The table then grows ahead of the redraw, which keeps its
    // cadence.
    if (s.PointCount > s.Readings.lastColumn()) {
        const qint64 last = std::max(s.PointCount, s.Readings.lastColumn() + s.UpdatePeriod);
        if (s.Readings.resize(s.Readings.firstColumn(), last))
            (void)s.Readings.setText(1, last, LastColumnLabel(last));
    }
    (void)s.Readings.setNumber(2, s.PointCount, value);
    (void)s.Readings.setElapsedLabel(1, s.PointCount, ElapsedSeconds(s.StartTime, m_services.clock.now()));
    if (s.OnlyEnd) {
        if (s.PointCount > s.EndReadings.lastColumn())
            (void)s.EndReadings.resize(s.EndReadings.firstColumn(), s.PointCount);
        (void)s.EndReadings.setNumber(2, s.PointCount, value);
        (void)s.EndReadings.setElapsedLabel(1, s.PointCount, ElapsedSeconds(s.StartTime, m_services.clock.now()));
    }
}

void ReadingPipeline::reportEvent() {
    MainView &view = m_services.view;
    const QDateTime now = m_services.clock.now();
    view.setPanelText(QStringLiteral("Status"), m_state.EventText + QStringLiteral("  ") + TimeOfDayText(now));
    if (m_errorQuestionOpen) {
        // The question about an earlier fault is still open: its answer
        // decides for this one too, so questions never pile up.
        m_state.EventText.clear();
        return;
    }
    for (int i = 0; i < ErrorBeeps; ++i)
        m_services.beeper.Beep();
    m_errorQuestionOpen = true;
    const auto answer = m_services.prompts.messageBox(
        QStringLiteral("Зорнета:   Ошибка коммуникационного Порта"),
        m_state.EventText +
            QStringLiteral("\n\nОК - Продолжение программы, Отмена - Прекрашение приема данных и закрытие порта"),
        Prompts::Icon::Critical, Prompts::Buttons::OkCancel);
    m_errorQuestionOpen = false;
    if (answer == Prompts::Answer::Cancel) {
        SerialPort &port = m_services.port;
        (void)port.setPortOpen(false);
        view.showConnected(false);
        // The menu's check mark follows the port, as everywhere else.
        view.setItemChecked(QStringLiteral("mnuOpen"), port.PortOpen());
        view.setPanelText(QStringLiteral("Status"),
                          QStringLiteral("Порт закрыт ") + DateTimeText(m_services.clock.now()));
        m_port.ShowDuration();
    }
    m_state.EventText.clear();
}

void ReadingPipeline::adaptXSpacing() {
    SessionState &s = m_state;
    if (!s.AutoTickDivision || s.XTickDivisions <= 0)
        return;
    if (s.Readings.lastColumn() / s.XTickDivisions <= MaxTicks)
        return;
    const int doubled = s.XTickDivisions * 2;
    if (doubled > std::numeric_limits<std::int16_t>::max())
        return; // the spacing stays as it was
    s.XTickDivisions = static_cast<std::int16_t>(doubled);
    s.XLabelDivisions = s.XTickDivisions;
    (void)m_services.chart.setDivisionsPerTick(s.XTickDivisions);
    (void)m_services.chart.setDivisionsPerLabel(s.XLabelDivisions);
}

} // namespace zorneta
