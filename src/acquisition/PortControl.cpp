#include "acquisition/PortControl.h"

#include "session/SessionState.h"
#include "chart/ChartModel.h"
#include "common/Formats.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

PortControl::PortControl(Services &services, SessionState &state, ChartModel &chart)
    : m_services(services), m_state(state), m_chart(chart), m_reconnect(services, m_timer1) {
    m_timer1.setInterval(1000);
    connect(&m_timer1, &QTimer::timeout, this, &PortControl::Timer1_Timer);
}

void PortControl::mnuOpen_Click() {
    SerialPort &port = m_services.port;
    MainView &view = m_services.view;
    if (m_reconnect.waiting()) {
        // The port is shown open while its device is awaited: the toggle
        // closes it, which ends the waiting.
        showPortClosed();
        return;
    }
    const Status toggled = port.setPortOpen(!port.PortOpen());
    if (!toggled)
        m_services.prompts.messageBox(QString::fromUtf16(AppTitle), toggled.description(), Prompts::Icon::Exclamation,
                                      Prompts::Buttons::Ok);
    view.setItemChecked(QStringLiteral("mnuOpen"), port.PortOpen());
    if (port.PortOpen()) {
        m_reconnect.receptionStarted();
        view.showConnected(true);
        view.setPanelText(QStringLiteral("Settings"), QStringLiteral("Настройки Порта: ") + port.Settings());
        view.setPanelText(QStringLiteral("Status"), QStringLiteral("Порт открыт"));
        if (m_state.PointCount > 1) {
            // Readings that arrive while the user answers wait in the port, so
            // they land in the session the answer chooses, stamped from its start.
            port.setEventsHeld(true);
            const auto answer = m_services.prompts.messageBox(
                QStringLiteral("Зорнета       Новый сеанс приема данных"),
                QStringLiteral("   В предыдущем сеансе Вы считали ") + QString::number(m_state.PointCount) +
                    QStringLiteral(" точек !\r\r   Обнулить число циклов считывания нового сеанса приёма данных"),
                Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::DefaultButton::Second);
            if (answer == Prompts::Answer::Yes)
                m_state.PointCount = 0;
            StartTiming();
            m_chart.SetupChart(m_state.CurveRed, m_state.CurveGreen, m_state.CurveBlue);
            port.setEventsHeld(false);
            return;
        }
        StartTiming();
        m_chart.SetupChart(m_state.CurveRed, m_state.CurveGreen, m_state.CurveBlue);
    } else {
        showClosed();
    }
}

void PortControl::showPortClosed() {
    m_services.view.setItemChecked(QStringLiteral("mnuOpen"), false);
    showClosed();
}

void PortControl::showClosed() {
    MainView &view = m_services.view;
    view.showConnected(false);
    view.setPanelText(QStringLiteral("Settings"), QStringLiteral("Настройки Порта: ") + m_services.port.Settings());
    view.setPanelText(QStringLiteral("Status"), QStringLiteral("Порт закрыт"));
    ShowDuration();
}

void PortControl::StartTiming() {
    m_state.StartTime = m_services.clock.now();
    m_timer1.start();
}

void PortControl::ShowDuration() {
    // Reception has ended (the port closed by the user, Cancel after a line
    // error, a thermocouple break): a lost device is no longer waited for.
    m_reconnect.receptionEnded();
    m_timer1.stop();
    m_services.view.setPanelText(QStringLiteral("ConnectTime"),
                                 QStringLiteral("Длительность приёма  ") +
                                     ElapsedText(m_state.StartTime, m_services.clock.now()) + u' ');
}

void PortControl::Timer1_Timer() {
    m_services.view.setPanelText(QStringLiteral("ConnectTime"),
                                 QStringLiteral("Время с начала приёма  ") +
                                     ElapsedText(m_state.StartTime, m_services.clock.now()) + u' ');
}

} // namespace zorneta
