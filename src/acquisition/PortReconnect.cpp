#include "acquisition/PortReconnect.h"

#include "common/Formats.h"
#include "common/ItemNames.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

PortReconnect::PortReconnect(Services &services, QTimer &connectionTimer)
    : m_services(services), m_connectionTimer(connectionTimer) {
    m_poll.setInterval(PollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &PortReconnect::tryReopen);
    connect(&m_services.port, &SerialPort::commEventRaised, this, &PortReconnect::noticeLoss);
}

void PortReconnect::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled) {
        m_waiting = false;
        m_poll.stop();
    }
}

void PortReconnect::receptionStarted() {
    m_receiving = true;
    m_waiting = false;
    m_poll.stop();
}

void PortReconnect::receptionEnded() {
    m_receiving = false;
    m_waiting = false;
    m_poll.stop();
}

void PortReconnect::noticeLoss() {
    if (!m_enabled || !m_receiving || m_waiting || m_services.port.portOpen())
        return;
    m_waiting = true;
    m_poll.start();
    Q_EMIT lineLost();
    // Said once the handler has reported the fault itself, so the waiting is
    // what the status bar shows while the question is open.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_waiting)
                m_services.view.setPanelText(panel::Status, QStringLiteral("Порт потерян ... ожидание подключения  ") +
                                                                timeOfDayText(m_services.clock.now()));
        },
        Qt::QueuedConnection);
}

void PortReconnect::tryReopen() {
    SerialPort &port = m_services.port;
    if (!m_waiting) {
        m_poll.stop();
        return;
    }
    // Still missing (or busy): keep waiting.
    if (!port.portOpen() && !port.setPortOpen(true))
        return;
    m_waiting = false;
    m_poll.stop();
    MainView &view = m_services.view;
    view.showConnected(true);
    view.setItemChecked(menu::OpenPort, true);
    view.setPanelText(panel::Status, QStringLiteral("Порт восстановлен  ") + timeOfDayText(m_services.clock.now()));
    m_connectionTimer.start();
    Q_EMIT lineRestored();
}

} // namespace zorneta
