#pragma once

#include "platform/SerialPort.h"
#include "platform/qt/LineFramer.h"
#include "platform/qt/PortDirectory.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <deque>
#include <optional>

namespace zorneta {

// The serial link over QSerialPort.
//
// The regulator sends its temperature as groups of four digits, CR and LF.
// Received bytes are cut into line-feed terminated chunks and each chunk is
// one Receive event. The input is emptied at the open; the first chunk after
// it is delivered marked (firstLineSinceOpen()): the port may have been
// opened in the middle of a group, whose tail must not become a wrong
// reading. Bytes without a line feed are held until it comes, but delivered as
// a chunk of their own when more than MaxUnterminatedBytes pile up or nothing
// more arrives for IdleDeliveryMs (longer than the 640 ms between groups).
//
// Events are delivered from the event loop, one per queued call, never from
// inside another OnComm handler: a handler that runs a nested event loop (a
// message box) receives the following events there, one at a time, and what
// it has not consumed is delivered after it returns. The bytes of an event
// join the buffer read by input() when that event is delivered.
//
// Received input waiting for delivery is bounded: when more than
// MaxHeldInputBytes would wait (the line sends faster than the handlers
// take it, or events are held for long), the whole lines that still fit are
// kept and everything after them is dropped, together with the unfinished
// line they belong to, until the waiting input has fallen to half the bound.
// The loss is one RxOver event, queued after the lines received before it;
// the first chunk received after it is marked like the first after an open
// (firstLineSinceOpen()), since it may be the tail of a dropped group.
//
// A vanished device or a failed read closes the port and raises one Overrun
// event; a failed write raises an Overrun event too. lastErrorText() keeps
// the platform's description for the log.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    static constexpr int MaxUnterminatedBytes = LineFramer::MaxUnterminatedBytes;
    static constexpr int IdleDeliveryMs = 1000;
    // About two hours of groups at the regulator's pace.
    static constexpr qsizetype MaxHeldInputBytes = 64 * 1024;

    // The line parameters of settings().
    struct LineSettings {
        int speed = 9600;
        char16_t parity = u'n';                 // e, o, n, m, s
        int dataBits = 8;                       // 4..8
        QString stopBits = QStringLiteral("1"); // "1", "1.5", "2"

        QString text() const;
        bool operator==(const LineSettings &) const = default;
    };
    // Reads "speed,parity,data bits,stop bits" (blanks around the fields and
    // parity in either case allowed). Empty with *error set when the text does
    // not parse.
    static std::optional<LineSettings> parseSettings(const QString &text, QString *error = nullptr);

    explicit QtSerialPort(PortDirectory directory = PortDirectory(), QObject *parent = nullptr);
    ~QtSerialPort() override;

    int commPort() const override { return m_commPort; }
    Status setCommPort(int number) override;

    QString settings() const override { return m_settings.text(); }
    Status setSettings(const QString &settings) override;

    int handshaking() const override { return m_handshaking; }
    Status setHandshaking(int mode) override;

    bool portOpen() const override { return m_active; }
    Status setPortOpen(bool open) override;

    int inputLen() const override { return m_inputLen; }
    void setInputLen(int length) override { m_inputLen = length > 0 ? length : 0; }

    QByteArray input() override;
    Status output(const QByteArray &data) override;

    int commEvent() const override { return m_commEvent; }

    // Held events wait in arrival order; on release they are delivered from
    // the event loop, one per turn, as usual.
    void setEventsHeld(bool held) override;
    bool eventsHeld() const { return m_eventsHeld; }

    // The device the current number stands for (the opened one while open).
    QString deviceName() const override;
    QString deviceFor(int number) const override;
    bool firstLineSinceOpen() const override { return m_firstLine; }

    // Received bytes not yet delivered: the unfinished line and the bytes of
    // the events waiting for delivery.
    qsizetype heldInputBytes() const { return m_framer.heldBytes() + m_pendingBytes; }
    // Received bytes dropped because the held input was full, since the port
    // was made.
    qint64 droppedInputBytes() const { return m_droppedBytes; }

    // The platform's description of the last fault or refusal, for the log.
    QString lastErrorText() const { return m_lastError; }

    const PortDirectory &directory() const { return m_directory; }
    PortDirectory &directory() { return m_directory; }

private:
    struct PendingEvent {
        int code = 0;
        QByteArray bytes;
        bool firstLine = false;
    };

    Status open();
    void close();
    Status fail(QString text);
    QString portLabel() const;
    bool applyLine(const LineSettings &settings, QString *error);
    bool applyFlowControl(int mode, QString *error);
    bool tolerated(QSerialPort::SerialPortError error, bool lineControl) const;

    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void onIdle();
    void closeAfterFault(quint64 session, const QString &description);

    void frame(const QByteArray &data);
    void clearHeldInput();
    void enqueue(int code, QByteArray bytes);
    void scheduleDelivery();
    void deliverNext();

    PortDirectory m_directory;
    QSerialPort *m_port = nullptr;
    QTimer m_idleTimer;

    int m_commPort = 1;
    LineSettings m_settings;
    int m_handshaking = HandshakeModes::None;
    int m_inputLen = 0;

    bool m_active = false;         // open and configured
    bool m_pseudoTerminal = false; // the open device is a pseudo-terminal
    QString m_openPath;
    quint64 m_session = 0;       // counts opens and closes
    bool m_faultPending = false; // a closing fault is waiting for its queued close
    bool m_writeFaulted = false; // a write fault was announced since the last Output

    bool m_synchronised = false; // a chunk was received since the open
    bool m_firstLine = false;    // the event being delivered is the first chunk
    LineFramer m_framer;         // received bytes not yet cut into events

    std::deque<PendingEvent> m_pending;
    qsizetype m_pendingBytes = 0; // the bytes of m_pending
    bool m_overflowing = false;   // received input is being dropped
    qint64 m_droppedBytes = 0;
    bool m_deliveryQueued = false;
    bool m_eventsHeld = false;
    QByteArray m_input;
    int m_commEvent = 0;
    int m_deliveryDepth = 0;

    QString m_lastError;
};

} // namespace zorneta
