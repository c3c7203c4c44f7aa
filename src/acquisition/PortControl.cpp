#include "acquisition/PortControl.h"

#include "common/ItemNames.h"
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
    : m_services(services), m_state(state), m_chart(chart), m_reconnect(services, m_connectionTimer) {
    m_connectionTimer.setInterval(1000);
    connect(&m_connectionTimer, &QTimer::timeout, this, &PortControl::showConnectionTime);
}

void PortControl::togglePort() {
    SerialPort &port = m_services.port;
    MainView &view = m_services.view;
    if (m_reconnect.waiting()) {
        // The port is shown open while its device is awaited: the toggle
        // closes it, which ends the waiting.
        showPortClosed();
        return;
    }
    const Status toggled = port.setPortOpen(!port.portOpen());
    if (!toggled)
        m_services.prompts.messageBox(QString::fromUtf16(AppTitle), toggled.description(), Prompts::Icon::Exclamation,
                                      Prompts::Buttons::Ok);
    view.setItemChecked(menu::OpenPort, port.portOpen());
    if (port.portOpen()) {
        m_reconnect.receptionStarted();
        view.showConnected(true);
        view.setPanelText(panel::Settings, QStringLiteral("Настройки Порта: ") + port.settings());
        view.setPanelText(panel::Status, QStringLiteral("Порт открыт"));
        if (m_state.pointCount > 1) {
            // Readings that arrive while the user answers wait in the port, so
            // they land in the session the answer chooses, stamped from its start.
            port.setEventsHeld(true);
            const auto answer = m_services.prompts.messageBox(
                QStringLiteral("Зорнета       Новый сеанс приема данных"),
                QStringLiteral("   В предыдущем сеансе Вы считали ") + QString::number(m_state.pointCount) +
                    QStringLiteral(" точек !\r\r   Обнулить число циклов считывания нового сеанса приёма данных"),
                Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::DefaultButton::Second);
            if (answer == Prompts::Answer::Yes)
                m_state.pointCount = 0;
            startTiming();
            m_chart.setupChart(m_state.curveRed, m_state.curveGreen, m_state.curveBlue);
            port.setEventsHeld(false);
            return;
        }
        startTiming();
        m_chart.setupChart(m_state.curveRed, m_state.curveGreen, m_state.curveBlue);
    } else {
        showClosed();
    }
}

void PortControl::showPortClosed() {
    m_services.view.setItemChecked(menu::OpenPort, false);
    showClosed();
}

void PortControl::showClosed() {
    MainView &view = m_services.view;
    view.showConnected(false);
    view.setPanelText(panel::Settings, QStringLiteral("Настройки Порта: ") + m_services.port.settings());
    view.setPanelText(panel::Status, QStringLiteral("Порт закрыт"));
    showDuration();
}

void PortControl::startTiming() {
    m_state.startTime = m_services.clock.now();
    m_connectionTimer.start();
}

void PortControl::showDuration() {
    // Reception has ended (the port closed by the user, Cancel after a line
    // error, a thermocouple break): a lost device is no longer waited for.
    m_reconnect.receptionEnded();
    m_connectionTimer.stop();
    m_services.view.setPanelText(panel::ConnectTime,
                                 durationText(elapsedText(m_state.startTime, m_services.clock.now())));
}

void PortControl::showConnectionTime() {
    m_services.view.setPanelText(panel::ConnectTime,
                                 connectionTimeText(elapsedText(m_state.startTime, m_services.clock.now())));
}

QString PortControl::connectionTimeText(const QString &elapsed) {
    return QStringLiteral("Время с начала приёма  ") + elapsed + u' ';
}

QString PortControl::durationText(const QString &elapsed) {
    return QStringLiteral("Длительность приёма  ") + elapsed + u' ';
}

} // namespace zorneta
