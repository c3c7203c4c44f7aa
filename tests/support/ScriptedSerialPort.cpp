#include "support/ScriptedSerialPort.h"

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
    if (status && isOpen != open) {
        isOpen = open;
        Q_EMIT openChanged(open);
    }
    return status;
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

void ScriptedSerialPort::deliver(int code, const QByteArray &bytes) {
    ++deliveries;
    if (code == CommEvents::Receive)
        Q_EMIT lineReceived(bytes, LineFacts{firstLine, false});
    else
        Q_EMIT lineFault(code);
}

void ScriptedSerialPort::loseLine() {
    isOpen = false;
    deliver(CommEvents::Overrun);
    Q_EMIT openChanged(false);
}

} // namespace zorneta::testing
