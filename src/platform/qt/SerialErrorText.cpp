#include "platform/qt/SerialErrorText.h"

#include "common/SystemErrors.h"

#include <QSerialPort>

namespace zorneta {

QString serialErrorReason(const QSerialPort &port) {
    const QString reason = systemErrorReason(port.errorString());
    if (reason != systemErrorReason(QString()))
        return reason;
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("порт не найден");
    case QSerialPort::PermissionError:
        return QStringLiteral("нет доступа к порту, или он занят другой программой");
    case QSerialPort::OpenError:
        return QStringLiteral("порт уже открыт");
    case QSerialPort::NotOpenError:
        return QStringLiteral("порт не открыт");
    case QSerialPort::WriteError:
        return QStringLiteral("ошибка передачи");
    case QSerialPort::ReadError:
        return QStringLiteral("ошибка приёма");
    case QSerialPort::ResourceError:
        return QStringLiteral("порт стал недоступен");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("порт не поддерживает эту настройку");
    case QSerialPort::TimeoutError:
        return QStringLiteral("время ожидания истекло");
    default:
        return reason;
    }
}

} // namespace zorneta
