#include "platform/qt/QtSerialPort.h"

#include "common/SystemErrors.h"
#include "platform/qt/SerialErrorText.h"

#include <QFileInfo>
#include <QPointer>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <termios.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

// How Qt 6.4 behaves on a Linux pseudo-terminal (the slave side of a pty, as
// the simulator offers it), found by trying each operation:
//  - open, clear, the speed (any number), the stop bits and every flow control
//    setting (the kernel keeps CRTSCTS and IXON/IXOFF in the termios of a pty)
//    are accepted;
//  - the kernel's pty driver forces 8 data bits without parity whatever is
//    asked. Qt reads the termios back and reports UnsupportedOperationError
//    ("Invalid argument") for 6 and 7 data bits and for even parity, while 5
//    bits and odd, mark and space parity are reported as set and silently
//    ignored. A pty has no wire, so bytes pass unchanged whatever the framing:
//    on a pty that refusal is tolerated and the requested settings are kept
//    as the port's settings;
//  - DTR, RTS and reading the modem lines fail with UnsupportedOperationError
//    ("Inappropriate ioctl for device"): a pty has no modem lines. This class
//    never drives those lines itself; hardware flow control, should a kernel
//    refuse it on a pty, is tolerated likewise;
//  - when the other side goes away (master closed), every turn of the event
//    loop reports ReadError (read returns 0 on the hung-up tty, with a stale
//    errno text) or ResourceError ("Input/output error") and Qt leaves the
//    port open, which would spin for ever: the first such error closes the
//    port.
// UnsupportedOperationError on a real port, and on a pty for anything else,
// stays a failure. Errors other than read, write and resource errors are
// reported by the operation that caused them and never become events.
//
// Qt 6.4 also claims to set 1.5 stop bits on Linux while it sets 1: termios
// has no such setting, so 1.5 is refused here outside Windows. It has no
// 4-bit characters at all.

namespace zorneta {

namespace {

constexpr char kLineFeed = '\n';

QString settingsError(const QString &text, const QString &reason) {
    return QStringLiteral("Недопустимые параметры порта: %1 (%2)").arg(text, reason);
}

bool isPseudoTerminal([[maybe_unused]] QSerialPort *port) {
#ifdef Q_OS_LINUX
    struct stat info {};
    if (::fstat(port->handle(), &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    // Unix98 pty slaves (/dev/pts/N) have major numbers 136..143.
    const unsigned int majorNumber = major(info.st_rdev);
    return majorNumber >= 136 && majorNumber <= 143;
#else
    return false;
#endif
}

// The description of a read fault. A hung-up tty (adapter unplugged, other
// side of a pty closed) reads as end of file, and Qt then reports whatever
// errno an earlier call left; the line's own state tells the real cause.
QString readFaultDescription([[maybe_unused]] QSerialPort *port) {
#ifdef Q_OS_UNIX
    termios tio{};
    if (::tcgetattr(port->handle(), &tio) != 0)
        return QStringLiteral("линия отключена (%1)").arg(errnoReason(errno));
#endif
    return serialErrorReason(*port);
}

} // namespace

QString QtSerialPort::LineSettings::text() const {
    return QStringLiteral("%1,%2,%3,%4").arg(speed).arg(QChar(parity)).arg(dataBits).arg(stopBits);
}

std::optional<QtSerialPort::LineSettings> QtSerialPort::parseSettings(const QString &text, QString *error) {
    auto refuse = [&](const QString &reason) -> std::optional<LineSettings> {
        if (error)
            *error = settingsError(text, reason);
        return std::nullopt;
    };
    const QStringList fields = text.split(u',');
    if (fields.size() != 4)
        return refuse(QStringLiteral("ожидается «скорость,чётность,биты данных,стоповые биты»"));

    LineSettings settings;
    const QString speed = fields.at(0).trimmed();
    bool ok = false;
    settings.speed = speed.toInt(&ok);
    if (!ok || settings.speed <= 0 || speed.startsWith(u'+'))
        return refuse(QStringLiteral("скорость «%1»").arg(speed));

    const QString parity = fields.at(1).trimmed().toLower();
    if (parity.size() != 1 || !QStringLiteral("eonms").contains(parity))
        return refuse(QStringLiteral("чётность «%1», допустимы e, o, n, m, s").arg(fields.at(1).trimmed()));
    settings.parity = parity.at(0).unicode();

    const QString dataBits = fields.at(2).trimmed();
    settings.dataBits = dataBits.toInt(&ok);
    if (!ok || settings.dataBits < 4 || settings.dataBits > 8 || dataBits.size() != 1)
        return refuse(QStringLiteral("биты данных «%1», допустимо от 4 до 8").arg(dataBits));

    const QString stopBits = fields.at(3).trimmed();
    if (stopBits != u"1" && stopBits != u"1.5" && stopBits != u"2")
        return refuse(QStringLiteral("стоповые биты «%1», допустимы 1, 1.5, 2").arg(stopBits));
    settings.stopBits = stopBits;
    return settings;
}

QtSerialPort::QtSerialPort(PortDirectory directory, QObject *parent)
    : SerialPort(parent), m_directory(std::move(directory)), m_port(new QSerialPort(this)) {
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(IdleDeliveryMs);
    connect(&m_idleTimer, &QTimer::timeout, this, &QtSerialPort::onIdle);
    connect(m_port, &QSerialPort::readyRead, this, &QtSerialPort::readInput);
    connect(m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onErrorOccurred);
}

QtSerialPort::~QtSerialPort() {
    m_port->disconnect(this);
    m_active = false;
    if (m_port->isOpen())
        m_port->close();
}

QString QtSerialPort::portLabel() const {
    const QString path = m_active ? m_openPath : m_directory.devicePath(m_commPort);
    return path.isEmpty() ? PortDirectory::portName(m_commPort)
                          : QStringLiteral("%1 (%2)").arg(PortDirectory::portName(m_commPort), path);
}

Status QtSerialPort::fail(QString text) {
    m_lastError = text;
    return Status::failure(std::move(text));
}

Status QtSerialPort::setCommPort(int number) {
    if (!PortDirectory::isValidNumber(number))
        return fail(QStringLiteral("Недопустимый номер порта: %1 (допустимы номера от %2 до %3)")
                        .arg(number)
                        .arg(PortDirectory::FirstPort)
                        .arg(PortDirectory::LastPort));
    if (m_active)
        return fail(QStringLiteral("Порт уже открыт"));
    const QString path = m_directory.devicePath(number);
    if (path.isEmpty())
        return fail(QStringLiteral("Порт не найден: %1").arg(PortDirectory::portName(number)));
#ifndef Q_OS_WIN
    if (!QFileInfo::exists(path))
        return fail(QStringLiteral("Порт не найден: %1").arg(path));
#endif
    m_commPort = number;
    return Status::ok();
}

Status QtSerialPort::setSettings(const QString &settings) {
    QString error;
    const std::optional<LineSettings> parsed = parseSettings(settings, &error);
    if (!parsed)
        return fail(error);
    if (m_active && !applyLine(*parsed, &error)) {
        QString ignored;
        applyLine(m_settings, &ignored);
        return fail(error);
    }
    m_settings = *parsed;
    return Status::ok();
}

Status QtSerialPort::setHandshaking(int mode) {
    if (mode < HandshakeModes::None || mode > HandshakeModes::XonXoffAndRtsCts)
        return fail(QStringLiteral("Недопустимый режим управления потоком: %1 (допустимо от 0 до 3)").arg(mode));
    QString error;
    if (m_active && !applyFlowControl(mode, &error)) {
        QString ignored;
        applyFlowControl(m_handshaking, &ignored);
        return fail(error);
    }
    m_handshaking = mode;
    if (m_active) {
        m_senderHeldBack = lineHoldsSenderBack();
        m_port->setReadBufferSize(m_senderHeldBack ? MaxWaitingBytes : 0);
    }
    return Status::ok();
}

Status QtSerialPort::setPortOpen(bool open) {
    if (open)
        return this->open();
    close();
    return Status::ok();
}

Status QtSerialPort::open() {
    if (m_active)
        return fail(QStringLiteral("Порт уже открыт"));
    const QString path = m_directory.devicePath(m_commPort);
    if (path.isEmpty())
        return fail(QStringLiteral("Порт не найден: %1").arg(PortDirectory::portName(m_commPort)));
    const QString label = QStringLiteral("%1 (%2)").arg(PortDirectory::portName(m_commPort), path);

    // Qt applies its own line settings while opening; they are kept at values
    // every device takes, and the port's settings are applied afterwards so
    // that a refusal is reported with what was refused.
    m_port->setPortName(path);
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const QString reason = serialErrorReason(*m_port);
        m_port->clearError();
        return fail(QStringLiteral("Не удалось открыть порт %1: %2").arg(label, reason));
    }
    m_pseudoTerminal = isPseudoTerminal(m_port);

    QString error;
    if (!applyLine(m_settings, &error) || !applyFlowControl(m_handshaking, &error)) {
        m_port->close();
        m_port->clearError();
        return fail(QStringLiteral("Не удалось открыть порт %1: %2").arg(label, error));
    }
    // Whatever the device sent before the open is stale.
    m_port->clear(QSerialPort::AllDirections);
    m_port->clearError();

    ++m_session;
    m_openPath = path;
    m_active = true;
    m_faultPending = false;
    m_writeFaulted = false;
    m_synchronised = false;
    clearHeldInput();
    m_senderHeldBack = lineHoldsSenderBack();
    // Where the line holds the sender back, Qt's own buffer is bounded too:
    // once it is full Qt stops reading the device until the program reads.
    m_port->setReadBufferSize(m_senderHeldBack ? MaxWaitingBytes : 0);
    m_countsOverruns = false;
#ifdef Q_OS_LINUX
    serial_icounter_struct counts{};
    if (::ioctl(m_port->handle(), TIOCGICOUNT, &counts) == 0) {
        m_countsOverruns = true;
        m_kernelOverruns = qint64(counts.overrun) + qint64(counts.buf_overrun);
    }
#endif
    Q_EMIT openChanged(true);
    return Status::ok();
}

bool QtSerialPort::lineHoldsSenderBack() const {
    if (m_pseudoTerminal || m_handshaking != HandshakeModes::None)
        return true;
    // USB modems and CDC devices: the USB link waits while the host does not read.
    return QFileInfo(m_openPath).canonicalFilePath().startsWith(QStringLiteral("/dev/ttyACM"));
}

void QtSerialPort::close() {
    if (!m_active || m_closing)
        return;
    // Closed from now on: a listener that would close the port on what it
    // receives here finds it closed already.
    m_active = false;
    m_closing = true;
    ++m_session;
    m_faultPending = false;
    m_idleTimer.stop();
    // Everything read so far is handed over before the close, the unfinished
    // line as a line of its own.
    const QByteArray unread = m_port->readAll();
    if (!unread.isEmpty() && !m_overflowing)
        frame(unread);
    if (m_framer.holding())
        enqueueLine(m_framer.takeHeld(), true);
    m_idleTimer.stop();
    const QPointer<QtSerialPort> alive(this);
    while (!m_pending.empty()) {
        PendingEvent event = std::move(m_pending.front());
        m_pending.pop_front();
        m_pendingBytes -= event.bytes.size();
        deliver(std::move(event));
        if (!alive)
            return;
    }
    m_closing = false;
    clearHeldInput();
    m_port->close();
    m_port->clearError();
    Q_EMIT openChanged(false);
}

bool QtSerialPort::tolerated(QSerialPort::SerialPortError error, bool lineControl) const {
    return lineControl && m_pseudoTerminal && error == QSerialPort::UnsupportedOperationError;
}

bool QtSerialPort::applyLine(const LineSettings &settings, QString *error) {
    const QString refusal = QStringLiteral("порт %1 не принимает параметры %2").arg(portLabel(), settings.text());
    if (settings.dataBits < 5) {
        *error = QStringLiteral("%1: %2 бита данных не поддерживаются").arg(refusal).arg(settings.dataBits);
        return false;
    }
#ifndef Q_OS_WIN
    if (settings.stopBits == u"1.5") {
        *error = QStringLiteral("%1: полтора стоповых бита не поддерживаются").arg(refusal);
        return false;
    }
#endif
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (settings.parity) {
    case u'e':
        parity = QSerialPort::EvenParity;
        break;
    case u'o':
        parity = QSerialPort::OddParity;
        break;
    case u'm':
        parity = QSerialPort::MarkParity;
        break;
    case u's':
        parity = QSerialPort::SpaceParity;
        break;
    default:
        break;
    }
    const QSerialPort::StopBits stopBits = settings.stopBits == u"2"     ? QSerialPort::TwoStop
                                           : settings.stopBits == u"1.5" ? QSerialPort::OneAndHalfStop
                                                                         : QSerialPort::OneStop;

    // Each step: the setter's result, and whether the framing of a pty may
    // refuse it (see the top of this file).
    auto step = [&](bool done, bool framing) {
        if (done)
            return true;
        const QSerialPort::SerialPortError code = m_port->error();
        if (tolerated(code, framing)) {
            m_port->clearError();
            return true;
        }
        *error = QStringLiteral("%1: %2").arg(refusal, serialErrorReason(*m_port));
        m_port->clearError();
        return false;
    };
    m_port->clearError();
    return step(m_port->setBaudRate(settings.speed), false) &&
           step(m_port->setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)), true) &&
           step(m_port->setParity(parity), true) && step(m_port->setStopBits(stopBits), false);
}

bool QtSerialPort::applyFlowControl(int mode, QString *error) {
    // Qt cannot combine XOn/XOff with RTS/CTS; of the two, RTS/CTS is the one
    // that keeps data from being lost.
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    if (mode == HandshakeModes::XonXoff)
        flow = QSerialPort::SoftwareControl;
    else if (mode == HandshakeModes::RtsCts || mode == HandshakeModes::XonXoffAndRtsCts)
        flow = QSerialPort::HardwareControl;
    m_port->clearError();
    if (m_port->setFlowControl(flow))
        return true;
    if (tolerated(m_port->error(), flow == QSerialPort::HardwareControl)) {
        m_port->clearError();
        return true;
    }
    *error = QStringLiteral("порт %1 не принимает управление потоком %2: %3")
                 .arg(portLabel())
                 .arg(mode)
                 .arg(serialErrorReason(*m_port));
    m_port->clearError();
    return false;
}

Status QtSerialPort::output(const QByteArray &data) {
    if (!m_active)
        return fail(QStringLiteral("Порт закрыт"));
    m_writeFaulted = false;
    m_port->clearError();
    const qint64 written = m_port->write(data);
    if (written == data.size() && !data.isEmpty())
        m_port->flush();
    const QSerialPort::SerialPortError code = m_port->error();
    if (written != data.size() || code == QSerialPort::WriteError || code == QSerialPort::ResourceError)
        return fail(
            QStringLiteral("Не удалось передать данные в порт %1: %2").arg(portLabel(), serialErrorReason(*m_port)));
    return Status::ok();
}

QString QtSerialPort::deviceName() const {
    return m_active ? m_openPath : m_directory.devicePath(m_commPort);
}

QString QtSerialPort::deviceFor(int number) const {
    if (m_active && number == m_commPort)
        return m_openPath;
    return m_directory.devicePath(number);
}

void QtSerialPort::readInput() {
    if (!m_active || m_closing)
        return;
    noticeKernelOverruns();
    if (m_senderHeldBack) {
        // Read only what fits; the rest waits in the device (or in Qt's
        // bounded buffer, which then stops reading the device) until the
        // lines waiting here are handed over.
        const qsizetype room = MaxWaitingBytes - heldInputBytes();
        if (room <= 0)
            return;
        QByteArray data = m_port->read(room);
        if (!data.isEmpty())
            takeInput(std::move(data));
        return;
    }
    QByteArray data = m_port->readAll();
    if (!data.isEmpty())
        takeInput(std::move(data));
}

void QtSerialPort::noticeKernelOverruns() {
#ifdef Q_OS_LINUX
    if (!m_countsOverruns)
        return;
    serial_icounter_struct counts{};
    if (::ioctl(m_port->handle(), TIOCGICOUNT, &counts) != 0)
        return;
    const qint64 overruns = qint64(counts.overrun) + qint64(counts.buf_overrun);
    if (overruns == m_kernelOverruns)
        return;
    m_kernelOverruns = overruns;
    // Bytes were lost before the program could read them: what follows may
    // begin inside a group.
    m_synchronised = false;
    enqueue(PendingEvent{PendingEvent::Kind::Fault, CommEvents::RxOver, {}, false});
#endif
}

void QtSerialPort::takeInput(QByteArray data) {
    const qsizetype limit = waitingLimit();
    if (m_overflowing) {
        if (heldInputBytes() > limit / 2) {
            m_droppedBytes += data.size();
            return;
        }
        m_overflowing = false;
    }
    const qsizetype room = limit - heldInputBytes();
    if (data.size() <= room) {
        frame(data);
        return;
    }
    // Full: the whole lines that fit are kept, the rest is dropped with the
    // unfinished line it continues, and the loss is reported once.
    const qsizetype kept = room > 0 ? data.lastIndexOf(kLineFeed, room - 1) + 1 : 0;
    m_droppedBytes += data.size() - kept;
    data.truncate(kept);
    frame(data);
    m_droppedBytes += m_framer.takeHeld().size();
    m_idleTimer.stop();
    m_overflowing = true;
    // What comes after the gap may begin inside a group.
    m_synchronised = false;
    enqueue(PendingEvent{PendingEvent::Kind::Fault, CommEvents::RxOver, {}, false});
}

void QtSerialPort::frame(const QByteArray &data) {
    const QList<QByteArray> chunks = m_framer.receive(data);
    for (const QByteArray &chunk : chunks)
        enqueueLine(chunk);
    if (m_framer.holding())
        m_idleTimer.start();
    else
        m_idleTimer.stop();
}

void QtSerialPort::clearHeldInput() {
    m_framer.clear();
    m_pending.clear();
    m_pendingBytes = 0;
    m_overflowing = false;
}

void QtSerialPort::onIdle() {
    if (!m_active || !m_framer.holding())
        return;
    enqueueLine(m_framer.takeHeld());
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError && error != QSerialPort::WriteError)
        return;
    if (!m_active || m_faultPending)
        return;
    const QString description =
        error == QSerialPort::ReadError ? readFaultDescription(m_port) : serialErrorReason(*m_port);
    if (error == QSerialPort::WriteError) {
        if (m_writeFaulted)
            return;
        m_writeFaulted = true;
        m_lastError = QStringLiteral("Ошибка передачи в порт %1: %2").arg(portLabel(), description);
        enqueue(PendingEvent{PendingEvent::Kind::Fault, CommEvents::Overrun, {}, false});
        return;
    }
    // Closed from the event loop rather than from inside Qt's read handler;
    // the errors Qt repeats until then are ignored.
    m_faultPending = true;
    const quint64 session = m_session;
    QMetaObject::invokeMethod(
        this, [this, session, description] { closeAfterFault(session, description); }, Qt::QueuedConnection);
}

void QtSerialPort::closeAfterFault(quint64 session, const QString &description) {
    if (session != m_session || !m_active)
        return;
    m_lastError = QStringLiteral("Связь с портом %1 прервана: %2").arg(portLabel(), description);
    ++m_session;
    m_active = false;
    m_faultPending = false;
    m_idleTimer.stop();
    // What was read before the fault is still handed over, the unfinished
    // line as a line of its own, then the close and the fault.
    const QByteArray unread = m_port->readAll();
    if (!unread.isEmpty() && !m_overflowing)
        frame(unread);
    m_idleTimer.stop();
    if (m_framer.holding())
        enqueueLine(m_framer.takeHeld(), true);
    m_port->close();
    m_port->clearError();
    const bool announced = std::any_of(m_pending.begin(), m_pending.end(), [](const PendingEvent &e) {
        return e.kind == PendingEvent::Kind::Fault && e.code == CommEvents::Overrun;
    });
    if (!announced)
        enqueue(PendingEvent{PendingEvent::Kind::Fault, CommEvents::Overrun, {}, false});
    enqueue(PendingEvent{PendingEvent::Kind::Closed, 0, {}, false});
}

void QtSerialPort::enqueueLine(QByteArray bytes, bool cutShort) {
    // The input was emptied at the open (or lost), so the first line received
    // after it may be the tail of a group that was on its way; it is marked so.
    const bool afterGap = !m_synchronised;
    m_synchronised = true;
    enqueue(PendingEvent{PendingEvent::Kind::Line, CommEvents::Receive, std::move(bytes), afterGap, cutShort});
}

void QtSerialPort::enqueue(PendingEvent event) {
    m_pendingBytes += event.bytes.size();
    m_pending.push_back(std::move(event));
    scheduleDelivery();
}

void QtSerialPort::scheduleDelivery() {
    if (m_deliveryQueued || m_pending.empty() || m_closing)
        return;
    m_deliveryQueued = true;
    QMetaObject::invokeMethod(
        this, [this] { deliverSome(); }, Qt::QueuedConnection);
}

void QtSerialPort::deliverSome() {
    m_deliveryQueued = false;
    const QPointer<QtSerialPort> alive(this);
    for (int i = 0; i < LinesPerTurn && !m_pending.empty() && !m_closing; ++i) {
        PendingEvent event = std::move(m_pending.front());
        m_pending.pop_front();
        m_pendingBytes -= event.bytes.size();
        deliver(std::move(event));
        if (!alive)
            return;
    }
    scheduleDelivery();
    // Room again: read on what the device kept waiting.
    if (m_active && m_senderHeldBack && heldInputBytes() < MaxWaitingBytes && m_port->bytesAvailable() > 0)
        readInput();
}

void QtSerialPort::deliver(PendingEvent event) {
    switch (event.kind) {
    case PendingEvent::Kind::Line:
        Q_EMIT lineReceived(event.bytes, LineFacts{event.afterGap, event.cutShort});
        break;
    case PendingEvent::Kind::Fault:
        Q_EMIT lineFault(event.code);
        break;
    case PendingEvent::Kind::Closed:
        Q_EMIT openChanged(false);
        break;
    }
}

} // namespace zorneta
