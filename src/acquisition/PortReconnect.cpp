#include "acquisition/PortReconnect.h"

#include "platform/SerialPort.h"

namespace zorneta {

PortReconnect::PortReconnect(SerialPort &port) : m_port(port) {
    m_poll.setInterval(PollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &PortReconnect::tryReopen);
    connect(&m_port, &SerialPort::openChanged, this, &PortReconnect::openChanged);
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

void PortReconnect::openChanged(bool open) {
    if (open || !m_enabled || !m_receiving || m_waiting)
        return;
    m_waiting = true;
    m_poll.start();
    Q_EMIT lineLost();
}

void PortReconnect::tryReopen() {
    if (!m_waiting) {
        m_poll.stop();
        return;
    }
    // Still missing (or busy): keep waiting. The reopen itself is not a loss
    // that ends the waiting, so it is marked before the port is opened.
    m_waiting = false;
    if (!m_port.portOpen() && !m_port.setPortOpen(true)) {
        m_waiting = true;
        return;
    }
    m_poll.stop();
    Q_EMIT lineRestored();
}

} // namespace zorneta
