#include "support/ScriptedSerialPort.h"

#include <QPointer>

namespace zorneta::testing {

Status ScriptedSerialPort::record(const QString &entry, const QString &failure) {
    if (failure.isEmpty()) {
        log.append(entry);
        return Status::ok();
    }
    log.append(entry + QStringLiteral(" (отказ)"));
    return Status::failure(failure);
}

Status ScriptedSerialPort::setCommPort(int number) {
    const QString entry = QStringLiteral("CommPort=%1").arg(number);
    QString failure = failCommPort;
    if (failure.isEmpty() && (number < 1 || number > 16))
        failure = QStringLiteral("Недопустимый номер порта: %1").arg(number);
    if (failure.isEmpty() && isOpen)
        failure = QStringLiteral("Порт уже открыт");
    const Status status = record(entry, failure);
    if (status)
        portNumber = number;
    return status;
}

Status ScriptedSerialPort::setSettings(const QString &text) {
    const Status status = record(QStringLiteral("Settings=") + text, failSettings);
    if (status)
        lineSettings = text;
    return status;
}

Status ScriptedSerialPort::setHandshaking(int mode) {
    QString failure = failHandshaking;
    if (failure.isEmpty() && (mode < 0 || mode > 3))
        failure = QStringLiteral("Недопустимый режим управления потоком: %1").arg(mode);
    const Status status = record(QStringLiteral("Handshaking=%1").arg(mode), failure);
    if (status)
        flowControl = mode;
    return status;
}

Status ScriptedSerialPort::setPortOpen(bool open) {
    const QString entry = open ? QStringLiteral("PortOpen=true") : QStringLiteral("PortOpen=false");
    QString failure = open ? failOpen : failClose;
    if (failure.isEmpty() && open && isOpen)
        failure = QStringLiteral("Порт уже открыт");
    const Status status = record(entry, failure);
    if (status)
        isOpen = open;
    return status;
}

void ScriptedSerialPort::setInputLen(int length) {
    log.append(QStringLiteral("InputLen=%1").arg(length));
    readLimit = length > 0 ? length : 0;
}

QByteArray ScriptedSerialPort::input() {
    ++inputCalls;
    const qsizetype count = readLimit > 0 ? qMin<qsizetype>(readLimit, received.size()) : received.size();
    const QByteArray taken = received.left(count);
    received.remove(0, count);
    log.append(QStringLiteral("Input->") + QString::fromLatin1(taken));
    return taken;
}

Status ScriptedSerialPort::output(const QByteArray &data) {
    QString failure = failOutput;
    if (failure.isEmpty() && !isOpen)
        failure = QStringLiteral("Порт закрыт");
    const Status status = record(QStringLiteral("Output=") + QString::fromLatin1(data), failure);
    if (status)
        outputs.append(data);
    return status;
}

void ScriptedSerialPort::setEventsHeld(bool held) {
    log.append(held ? QStringLiteral("EventsHeld=true") : QStringLiteral("EventsHeld=false"));
    eventsHeld = held;
    while (!eventsHeld && !heldEvents.isEmpty()) {
        const auto event = heldEvents.takeFirst();
        raise(event.first, event.second);
    }
}

void ScriptedSerialPort::deliver(int code, const QByteArray &bytes) {
    if (eventsHeld) {
        heldEvents.append({code, bytes});
        return;
    }
    raise(code, bytes);
}

void ScriptedSerialPort::raise(int code, const QByteArray &bytes) {
    ++deliveries;
    received.append(bytes);
    const int outer = eventCode;
    eventCode = code;
    ++m_depth;
    const QPointer<ScriptedSerialPort> alive(this);
    Q_EMIT commEventRaised();
    if (!alive)
        return;
    --m_depth;
    if (m_depth > 0)
        eventCode = outer;
}

} // namespace zorneta::testing
