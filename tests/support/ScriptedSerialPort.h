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
// ("CommPort=2", "Settings=9600,n,8,1", "Handshaking=0", "PortOpen=true",
// "InputLen=6"), followed by " (отказ)" when the write failed. Every Input()
// call is recorded as "Input->" and the bytes it returned (Latin-1), every
// Output as "Output=" and the bytes.
class ScriptedSerialPort : public SerialPort {
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    int CommPort() const override { return commPort; }
    Status setCommPort(int number) override;
    QString Settings() const override { return settings; }
    Status setSettings(const QString &text) override;
    int Handshaking() const override { return handshaking; }
    Status setHandshaking(int mode) override;
    bool PortOpen() const override { return portOpen; }
    Status setPortOpen(bool open) override;
    int InputLen() const override { return inputLen; }
    void setInputLen(int length) override;
    QByteArray Input() override;
    Status Output(const QByteArray &data) override;
    int CommEvent() const override { return commEvent; }
    // Logged as "EventsHeld=true" / "EventsHeld=false". While held, deliver()
    // only queues the event; the release delivers the queued events at once,
    // in order, inside the setEventsHeld(false) call.
    void setEventsHeld(bool held) override;
    QString deviceName() const override { return device; }
    // The devices of `devices`; none for a number it lacks.
    QString deviceFor(int number) const override { return devices.value(number); }
    bool firstLineSinceOpen() const override { return firstLine; }

    // Appends `bytes` to the input, sets CommEvent() to `code` and raises
    // OnComm at once (inside this call), unless events are held. Nested calls from a handler work like
    // nested deliveries of the real port: when an inner delivery returns,
    // CommEvent() is the outer event's code again.
    void deliver(int code, const QByteArray &bytes = {});
    // A Receive event with these bytes.
    void receive(const QByteArray &bytes) { deliver(CommEvents::Receive, bytes); }

    // Current values; a test may set them directly (not logged).
    int commPort = 1;
    QString settings = QStringLiteral("9600,n,8,1");
    int handshaking = 0;
    bool portOpen = false;
    int inputLen = 0;
    int commEvent = 0;
    QByteArray input;       // received and not yet read
    bool firstLine = false; // what firstLineSinceOpen() answers
    QString device = QStringLiteral("/dev/ttyUSB0");
    QMap<int, QString> devices;
    bool eventsHeld = false;

    // Scripted refusals (empty: accepted).
    QString failCommPort;
    QString failSettings;
    QString failHandshaking;
    QString failOpen;
    QString failClose;
    QString failOutput;

    QStringList log;
    QList<QByteArray> outputs; // the data of every successful Output, in order
    int inputCalls = 0;
    int deliveries = 0;

    // Events deliver() queued while held, not yet delivered.
    QList<std::pair<int, QByteArray>> heldEvents;

private:
    Status record(const QString &entry, const QString &failure);
    void raise(int code, const QByteArray &bytes);
    int m_depth = 0;
};

} // namespace zorneta::testing
