#pragma once

#include "platform/Status.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace zorneta {

// Line event codes: a received line, and the line faults and line-state
// changes a port reports.
namespace CommEvents {
inline constexpr int Send = 1;
inline constexpr int Receive = 2;
inline constexpr int CtsChange = 3;
inline constexpr int DsrChange = 4;
inline constexpr int CdChange = 5;
inline constexpr int Ring = 6;
inline constexpr int EndOfFile = 7;
inline constexpr int Break = 1001;
inline constexpr int CtsTimeout = 1002;
inline constexpr int DsrTimeout = 1003;
inline constexpr int Frame = 1004;
inline constexpr int Overrun = 1006;
inline constexpr int CdTimeout = 1007;
inline constexpr int RxOver = 1008;
inline constexpr int RxParity = 1009;
inline constexpr int TxFull = 1010;
inline constexpr int Dcb = 1011;
} // namespace CommEvents

// What the port knows about a line it hands over.
struct LineFacts {
    // The first line received since the port opened, or since received
    // input was lost: the port may have opened, or the input resumed, in the
    // middle of a group, so the line may be the tail of one.
    bool afterGap = false;
    // Handed over without its line end because the port closed: the rest of
    // the line never came, so it may be the head of a group.
    bool cutShort = false;
};

// Flow control values of handshaking().
namespace HandshakeModes {
inline constexpr int None = 0;
inline constexpr int XonXoff = 1;
inline constexpr int RtsCts = 2;
inline constexpr int XonXoffAndRtsCts = 3;
} // namespace HandshakeModes

// The serial link to the thermoregulator.
//
// The port pushes what happens on the line to its listeners, in the order it
// happened: each line received (the bytes up to and including a line feed, or
// bytes that waited too long for one) with what is known about it, each line
// fault or line-state event with its code, and each change of its open state
// (including a close forced by a vanished device). Nothing received is kept
// for a listener to fetch later.
//
// Setters report a refused value as a failed Status carrying the platform's
// error text and leave the previous value in force.
class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    // Port number 1..16.
    virtual int commPort() const = 0;
    virtual Status setCommPort(int number) = 0;

    // "speed,parity,data bits,stop bits", e.g. "9600,n,8,1"; parity reported
    // in lower case.
    virtual QString settings() const = 0;
    virtual Status setSettings(const QString &settings) = 0;

    // 0 none, 1 XOn/XOff, 2 RTS/CTS, 3 XOn/XOff and RTS/CTS.
    virtual int handshaking() const = 0;
    virtual Status setHandshaking(int mode) = 0;

    virtual bool portOpen() const = 0;
    // Closing hands over what was received and not yet handed over (a line
    // without its end included) before the port reports itself closed.
    virtual Status setPortOpen(bool open) = 0;

    virtual Status output(const QByteArray &data) = 0;

    // The device the current port number stands for, for display to the user.
    virtual QString deviceName() const { return QString(); }
    // The device port `number` stands for on this machine (the opened one
    // for the current number while open); empty when there is none.
    virtual QString deviceFor(int number) const {
        Q_UNUSED(number);
        return QString();
    }

Q_SIGNALS:
    // A line arrived (its bytes as received, line end included).
    void lineReceived(const QByteArray &line, zorneta::LineFacts facts);
    // A line fault or line-state event (a CommEvents code other than Receive).
    void lineFault(int code);
    // The port opened or closed, by a setter or by itself after a fault.
    void openChanged(bool open);
};

} // namespace zorneta
