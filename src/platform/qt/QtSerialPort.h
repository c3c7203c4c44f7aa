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
// Received bytes are cut into line-feed terminated lines (LineFramer) and each
// line is handed to the listeners with lineReceived(). The input is emptied at
// the open; the first line after it is marked (LineFacts::afterGap): the port
// may have been opened in the middle of a group, whose tail must not become a
// wrong reading. Bytes without a line feed are held until it comes, but handed
// over as a line of their own when more than MaxUnterminatedBytes pile up or
// nothing more arrives for IdleDeliveryMs (longer than the 640 ms between
// groups), and when the port closes.
//
// Lines are handed over from the event loop, in order, a bounded batch per
// turn, so a burst never holds the window for long. What waits for its turn is
// bounded, and no byte the program has read is thrown away to keep it so:
//  - where the line holds the sender back (a pseudo-terminal, a USB modem or
//    CDC device, RTS/CTS or XON/XOFF flow control), reading stops while
//    MaxWaitingBytes wait and goes on once they drain; the device, or the
//    kernel's flow control, waits meanwhile;
//  - where nothing holds the sender back (RS-232 without handshaking),
//    stopping would only move the loss into the kernel's small buffer, where
//    nobody sees it: up to MaxUnheldWaitingBytes may wait there. Beyond that
//    the whole lines that fit are kept, the rest is dropped with the
//    unfinished line it belongs to, and the loss is one RxOver event; so is
//    an overrun the kernel counts on the device (TIOCGICOUNT). The first line
//    after a loss is marked like the first after an open.
//
// A vanished device or a failed read closes the port: the lines received
// before are still handed over, then one Overrun event and openChanged(false). A failed write raises an Overrun event
// too. lastErrorText() keeps the platform's description for the log.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    static constexpr int MaxUnterminatedBytes = LineFramer::MaxUnterminatedBytes;
    static constexpr int IdleDeliveryMs = 1000;
    // Waiting input where the line holds the sender back: about two hours of
    // groups at the regulator's pace.
    static constexpr qsizetype MaxWaitingBytes = 64 * 1024;
    // Waiting input where nothing holds the sender back: over three hours of
    // a line that is full at 115 200 baud.
    static constexpr qsizetype MaxUnheldWaitingBytes = 4 * 1024 * 1024;
    // Lines handed over in one turn of the event loop.
    static constexpr int LinesPerTurn = 256;

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

    Status output(const QByteArray &data) override;

    // The device the current number stands for (the opened one while open).
    QString deviceName() const override;
    QString deviceFor(int number) const override;

    // Received bytes not yet handed over: the unfinished line and the lines
    // waiting for their turn.
    qsizetype heldInputBytes() const { return m_framer.heldBytes() + m_pendingBytes; }
    // The most received bytes that may wait while the port is open: where the
    // line holds the sender back, reading stops at this.
    qsizetype waitingLimit() const { return m_senderHeldBack ? MaxWaitingBytes : MaxUnheldWaitingBytes; }
    // Received bytes dropped because the waiting input was full, since the
    // port was made.
    qint64 droppedInputBytes() const { return m_droppedBytes; }
    // The line holds the sender back while the program does not read.
    bool senderHeldBack() const { return m_senderHeldBack; }

    // The platform's description of the last fault or refusal, for the log.
    QString lastErrorText() const { return m_lastError; }

    const PortDirectory &directory() const { return m_directory; }
    PortDirectory &directory() { return m_directory; }

private:
    struct PendingEvent {
        enum class Kind { Line, Fault, Closed };
        Kind kind = Kind::Line;
        int code = 0;
        QByteArray bytes;
        bool afterGap = false;
        bool cutShort = false;
    };

    Status open();
    void close();
    Status fail(QString text);
    QString portLabel() const;
    bool applyLine(const LineSettings &settings, QString *error);
    bool applyFlowControl(int mode, QString *error);
    bool tolerated(QSerialPort::SerialPortError error, bool lineControl) const;
    bool lineHoldsSenderBack() const;

    void readInput();
    void takeInput(QByteArray data);
    void noticeKernelOverruns();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void onIdle();
    void closeAfterFault(quint64 session, const QString &description);

    void frame(const QByteArray &data);
    void clearHeldInput();
    void enqueueLine(QByteArray bytes, bool cutShort = false);
    void enqueue(PendingEvent event);
    void scheduleDelivery();
    void deliverSome();
    void deliver(PendingEvent event);

    PortDirectory m_directory;
    QSerialPort *m_port = nullptr;
    QTimer m_idleTimer;

    int m_commPort = 1;
    LineSettings m_settings;
    int m_handshaking = HandshakeModes::None;

    bool m_active = false;         // open and configured
    bool m_pseudoTerminal = false; // the open device is a pseudo-terminal
    bool m_senderHeldBack = false; // the open line holds the sender back
    QString m_openPath;
    quint64 m_session = 0;       // counts opens and closes
    bool m_faultPending = false; // a closing fault is waiting for its queued close
    bool m_writeFaulted = false; // a write fault was announced since the last Output
    bool m_closing = false;      // close() is handing over what was received

    bool m_synchronised = false; // a line was received since the open or the last loss
    LineFramer m_framer;         // received bytes not yet cut into lines

    std::deque<PendingEvent> m_pending;
    qsizetype m_pendingBytes = 0; // the bytes of m_pending
    bool m_overflowing = false;   // received input is being dropped
    qint64 m_droppedBytes = 0;
    bool m_deliveryQueued = false;
    bool m_countsOverruns = false; // the device counts overruns (TIOCGICOUNT)
    qint64 m_kernelOverruns = 0;

    QString m_lastError;
};

} // namespace zorneta
