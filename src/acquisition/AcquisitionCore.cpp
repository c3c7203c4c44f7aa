#include "acquisition/AcquisitionCore.h"

#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace zorneta {

AcquisitionCore::AcquisitionCore(SerialPort &port, Clock &clock)
    : m_port(port), m_clock(clock), m_pipeline(m_state, clock, m_record), m_reconnect(port) {
    connect(&m_port, &SerialPort::lineReceived, &m_pipeline, &ReadingPipeline::takeLine);
    connect(&m_port, &SerialPort::lineFault, &m_pipeline, &ReadingPipeline::takeFault);
    // A line the port cut short by closing ends in the record, so that what
    // comes after the port is back starts on a line of its own.
    connect(&m_port, &SerialPort::openChanged, this, [this](bool open) {
        if (!open)
            m_record.endLine();
    });
    connect(&m_pipeline, &ReadingPipeline::thermocoupleBreak, this, &AcquisitionCore::breakSeen);
}

Status AcquisitionCore::openPort() {
    const Status opened = m_port.setPortOpen(true);
    if (opened) {
        m_reconnect.receptionStarted();
        m_state.previousReading.reset();
    }
    return opened;
}

void AcquisitionCore::closePort() {
    m_reconnect.receptionEnded();
    if (m_port.portOpen())
        (void)m_port.setPortOpen(false);
}

void AcquisitionCore::startTiming() {
    m_state.startTime = m_clock.now();
}

void AcquisitionCore::breakSeen() {
    // Reception ends, whatever state the line is in: a port already closed is
    // never reopened, nor a lost one waited for, after a break.
    const bool on = m_port.portOpen() || m_reconnect.waiting();
    closePort();
    Q_EMIT thermocoupleBreak(on);
}

} // namespace zorneta
