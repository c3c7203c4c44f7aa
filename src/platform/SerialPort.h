#pragma once

#include "platform/Status.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace zorneta {

// Communications event codes delivered through SerialPort::OnComm and read back
// from SerialPort::commEvent().
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

// Flow control values of handshaking().
namespace HandshakeModes {
inline constexpr int None = 0;
inline constexpr int XonXoff = 1;
inline constexpr int RtsCts = 2;
inline constexpr int XonXoffAndRtsCts = 3;
} // namespace HandshakeModes

// The serial link to the thermoregulator.
//
// Every communications event (data arrived, a line fault, a line-state change)
// raises OnComm once; during that call commEvent() holds its code. Received
// bytes are read with input(), which returns up to inputLen() bytes (0 meaning
// everything buffered) and removes them.
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
    virtual Status setPortOpen(bool open) = 0;

    virtual int inputLen() const = 0;
    virtual void setInputLen(int length) = 0;

    // Returns and removes received bytes (at most inputLen(), all when 0).
    virtual QByteArray input() = 0;

    virtual Status output(const QByteArray &data) = 0;

    // Code of the event being delivered (see CommEvents).
    virtual int commEvent() const = 0;

    // While held, events are kept in arrival order and not delivered; releasing
    // delivers them. Used while the user answers a question that decides
    // where the next readings go.
    virtual void setEventsHeld(bool held) = 0;

    // True while the Receive event being delivered carries the first bytes
    // received since the port was opened, or since received input was lost
    // (RxOver): the port may have been opened, or the input resumed, in the
    // middle of a group, so they may be the tail of one.
    virtual bool firstLineSinceOpen() const { return false; }

    // The device the current port number stands for, for display to the user.
    virtual QString deviceName() const { return QString(); }
    // The device port `number` stands for on this machine (the opened one
    // for the current number while open); empty when there is none.
    virtual QString deviceFor(int number) const {
        Q_UNUSED(number);
        return QString();
    }

Q_SIGNALS:
    void commEventRaised();
};

} // namespace zorneta
