#include "acquisition/PortControl.h"

#include "acquisition/AcquisitionCore.h"
#include "chart/ChartModel.h"
#include "common/Formats.h"
#include "common/ItemNames.h"
#include "platform/ChartSurface.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "session/MainView.h"
#include "session/Services.h"
#include "session/SessionState.h"

namespace zorneta {

PortControl::PortControl(Services &services, AcquisitionCore &core, ChartModel &chart)
    : m_services(services), m_core(core), m_state(core.state()), m_chart(chart) {
    m_connectionTimer.setInterval(1000);
    connect(&m_connectionTimer, &QTimer::timeout, this, &PortControl::showConnectionTime);
}

PortReconnect &PortControl::reconnect() {
    return m_core.reconnect();
}

void PortControl::togglePort() {
    SerialPort &port = m_services.port;
    MainView &view = m_services.view;
    if (m_core.reconnect().waiting()) {
        // The port is shown open while its device is awaited: the toggle
        // closes it, which ends the waiting.
        m_core.closePort();
        showPortClosed();
        return;
    }
    if (port.portOpen()) {
        m_core.closePort();
        view.setItemChecked(menu::OpenPort, port.portOpen());
        if (!port.portOpen())
            showClosed();
        return;
    }
    const Status opened = m_core.openPort();
    if (!opened)
        m_services.prompts.messageBox(QString::fromUtf16(AppTitle), opened.description(), Prompts::Icon::Exclamation,
                                      Prompts::Buttons::Ok);
    view.setItemChecked(menu::OpenPort, port.portOpen());
    if (!port.portOpen()) {
        showClosed();
        return;
    }
    view.showConnected(true);
    view.setPanelText(panel::Settings, QStringLiteral("Настройки Порта: ") + port.settings());
    view.setPanelText(panel::Status, QStringLiteral("Порт открыт"));
    // Reception time restarts with the open: the record's stamps count from it.
    startTiming();
    if (m_state.pointCount > 1) {
        askAboutPreviousSession();
        return;
    }
    m_chart.setupChart(m_state.curveRed, m_state.curveGreen, m_state.curveBlue);
}

void PortControl::askAboutPreviousSession() {
    // Readings that arrive while the user answers are recorded and shown at
    // once, and wait before the table: they land in the session the answer
    // chooses.
    m_core.pipeline().holdReadings();
    m_services.prompts.showMessageBox(
        QStringLiteral("Зорнета       Новый сеанс приема данных"),
        QStringLiteral("   В предыдущем сеансе Вы считали ") + QString::number(m_state.pointCount) +
            QStringLiteral(" точек !\r\r   Обнулить число циклов считывания нового сеанса приёма данных"),
        Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::DefaultButton::Second,
        [this](Prompts::Answer answer) {
            if (answer == Prompts::Answer::Yes) {
                // A new session: the old session's cells leave the table and
                // the chart, as "Начать новый сеанс" clears them.
                m_state.pointCount = 0;
                m_state.readings = freshReadings();
                (void)m_state.readings.setText(2, 1, seriesTitleText(m_state.startTime));
                m_services.chart.setChartData(m_state.readings);
            }
            m_chart.setupChart(m_state.curveRed, m_state.curveGreen, m_state.curveBlue);
            m_core.pipeline().releaseReadings();
        });
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
    m_core.startTiming();
    m_connectionTimer.start();
}

void PortControl::showDuration() {
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
