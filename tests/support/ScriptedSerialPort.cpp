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
    if (failure.isEmpty() && portOpen)
        failure = QStringLiteral("Порт уже открыт");
    const Status status = record(entry, failure);
    if (status)
        commPort = number;
    return status;
}

Status ScriptedSerialPort::setSettings(const QString &text) {
    const Status status = record(QStringLiteral("Settings=") + text, failSettings);
    if (status)
        settings = text;
    return status;
}

Status ScriptedSerialPort::setHandshaking(int mode) {
    QString failure = failHandshaking;
    if (failure.isEmpty() && (mode < 0 || mode > 3))
        failure = QStringLiteral("Недопустимый режим управления потоком: %1").arg(mode);
    const Status status = record(QStringLiteral("Handshaking=%1").arg(mode), failure);
    if (status)
        handshaking = mode;
    return status;
}

Status ScriptedSerialPort::setPortOpen(bool open) {
    const QString entry = open ? QStringLiteral("PortOpen=true") : QStringLiteral("PortOpen=false");
    QString failure = open ? failOpen : failClose;
    if (failure.isEmpty() && open && portOpen)
        failure = QStringLiteral("Порт уже открыт");
    const Status status = record(entry, failure);
    if (status)
        portOpen = open;
    return status;
}

void ScriptedSerialPort::setInputLen(int length) {
    log.append(QStringLiteral("InputLen=%1").arg(length));
    inputLen = length > 0 ? length : 0;
}

QByteArray ScriptedSerialPort::Input() {
    ++inputCalls;
    const qsizetype count = inputLen > 0 ? qMin<qsizetype>(inputLen, input.size()) : input.size();
    const QByteArray taken = input.left(count);
    input.remove(0, count);
    log.append(QStringLiteral("Input->") + QString::fromLatin1(taken));
    return taken;
}

Status ScriptedSerialPort::Output(const QByteArray &data) {
    QString failure = failOutput;
    if (failure.isEmpty() && !portOpen)
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
    input.append(bytes);
    const int outer = commEvent;
    commEvent = code;
    ++m_depth;
    const QPointer<ScriptedSerialPort> alive(this);
    Q_EMIT OnComm();
    if (!alive)
        return;
    --m_depth;
    if (m_depth > 0)
        commEvent = outer;
}

} // namespace zorneta::testing
