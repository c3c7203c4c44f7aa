#pragma once

#include <QString>

class QSerialPort;

namespace zorneta {

// The serial port's last error in Russian: the system's reason where Qt
// passes the system's text on (strerror), else the meaning of Qt's error code.
QString serialErrorReason(const QSerialPort &port);

} // namespace zorneta
