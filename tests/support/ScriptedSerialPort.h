#pragma once

// A serial port for logic tests: the test raises the events, the port records
// what the program did with it.

#include "platform/SerialPort.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <utility>

namespace zorneta::testing {

// Properties hold what is written to them, like a port that accepts every
// value, except that:
//  - a non-empty fail... text makes every write of that property fail with
//    that text (the value stays as it was);
//  - CommPort outside 1..16 and Handshaking outside 0..3 fail;
//  - CommPort while open and PortOpen=true while open fail with "Порт уже
//    открыт"; PortOpen=false when closed succeeds; Output when closed fails
//    with "Порт закрыт".
//
// Every property write is recorded in `log`, in order, as "Name=value"
// ("CommPort=2", "Settings=9600,n,8,1", "Handshaking=0", "PortOpen=true"),
// followed by " (отказ)" when the write failed; every Output as "Output=" and
// the bytes.
class ScriptedSerialPort : public SerialPort {
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    int commPort() const override { return portNumber; }
    Status setCommPort(int number) override;
    QString settings() const override { return lineSettings; }
    Status setSettings(const QString &text) override;
    int handshaking() const override { return flowControl; }
    Status setHandshaking(int mode) override;
    bool portOpen() const override { return isOpen; }
    Status setPortOpen(bool open) override;
    Status output(const QByteArray &data) override;
    QString deviceName() const override { return device; }
    // The devices of `devices`; none for a number it lacks.
    QString deviceFor(int number) const override { return devices.value(number); }

    // Hands a line (code Receive) or a line fault over to the listeners at
    // once, inside this call.
    void deliver(int code, const QByteArray &bytes = {});
    // A Receive event with these bytes.
    void receive(const QByteArray &bytes) { deliver(CommEvents::Receive, bytes); }
    // The device goes away, as the real port reports it: the port closes by
    // itself, then the fault and the close are handed over.
    void loseLine();

    // Current values; a test may set them directly (not logged).
    int portNumber = 1;
    QString lineSettings = QStringLiteral("9600,n,8,1");
    int flowControl = 0;
    bool isOpen = false;
    bool firstLine = false; // the facts of the lines handed over: afterGap
    QString device = QStringLiteral("/dev/ttyUSB0");
    QMap<int, QString> devices;

    // Scripted refusals (empty: accepted).
    QString failCommPort;
    QString failSettings;
    QString failHandshaking;
    QString failOpen;
    QString failClose;
    QString failOutput;

    QStringList log;
    QList<QByteArray> outputs; // the data of every successful Output, in order
    int deliveries = 0;

private:
    Status record(const QString &entry, const QString &failure);
};

} // namespace zorneta::testing
