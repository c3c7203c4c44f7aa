#include "simulator/ThermoSimulator.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <utility>

namespace zorneta::sim {

namespace {
// A split group goes out as 2, 3 and 1 bytes, this many ms apart.
constexpr int PieceSizes[] = {2, 3, 1};
constexpr int PieceGapMs = 3;
} // namespace

QByteArray formatGroup(int value) {
    const int v = std::clamp(value, 0, BreakValue);
    QByteArray group = QByteArray::number(v).rightJustified(4, '0');
    group.append("\r\n", 2);
    return group;
}

QByteArray garbledGroup() {
    return QByteArrayLiteral("1#?Z\r\n");
}

ThermoSimulator::ThermoSimulator(const SimOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_profile(options.program, options.speedup) {
    m_options.periodMs = std::max(1, m_options.periodMs);
    m_options.burstCount = std::max(1, m_options.burstCount);

    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    m_options.periodMicros = std::max(0, m_options.periodMicros);
    m_timer->setInterval(m_options.periodMicros > 0 ? 1 : m_options.periodMs);
    connect(m_timer, &QTimer::timeout, this, &ThermoSimulator::tick);

    m_pieceTimer = new QTimer(this);
    m_pieceTimer->setSingleShot(true);
    m_pieceTimer->setTimerType(Qt::PreciseTimer);
    m_pieceTimer->setInterval(PieceGapMs);
    connect(m_pieceTimer, &QTimer::timeout, this, &ThermoSimulator::writeNextPiece);
}

ThermoSimulator::~ThermoSimulator() {
    unplug();
}

bool ThermoSimulator::start(QString *error) {
    if (!m_pty.isOpen()) {
        if (!m_pty.open(error))
            return false;
        m_notifier = new QSocketNotifier(m_pty.masterFd(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &ThermoSimulator::readAvailable);
    }
    if (!m_timer->isActive()) {
        m_paceClock.start();
        m_pacedSends = 0;
        m_timer->start();
    }
    return true;
}

void ThermoSimulator::stop() {
    m_timer->stop();
    dropPending();
}

void ThermoSimulator::unplug() {
    stop();
    // The notifier must go before its descriptor does.
    delete m_notifier;
    m_notifier = nullptr;
    m_pty.close();
}

bool ThermoSimulator::isRunning() const {
    return m_timer->isActive();
}

QString ThermoSimulator::devicePath() const {
    return m_pty.isOpen() ? m_pty.devicePath() : QString();
}

double ThermoSimulator::secondsAtReading(qint64 reading) const {
    if (m_options.periodMicros > 0)
        return double(reading - 1) * m_options.periodMicros / 1e6;
    return double(reading - 1) * m_options.periodMs / 1000.0;
}

bool ThermoSimulator::writeRaw(const QByteArray &bytes) {
    return writeChunk(bytes);
}

ThermoSimulator::Reading ThermoSimulator::reading(qint64 index) const {
    Reading r;
    r.index = index;
    if (index == m_options.breakAt) {
        r.value = BreakValue;
        r.bytes = formatGroup(BreakValue);
    } else if (m_options.garbleAt.contains(index)) {
        r.value = -1;
        r.bytes = garbledGroup();
    } else {
        r.value = m_profile.groupValueAt(secondsAtReading(index));
        r.bytes = formatGroup(r.value);
    }
    return r;
}

void ThermoSimulator::tick() {
    if (m_options.periodMicros <= 0) {
        sendNext();
        return;
    }
    // Every group due by now goes out.
    const qint64 due = m_paceClock.nsecsElapsed() / 1000 / m_options.periodMicros + 1;
    while (m_pacedSends < due && m_timer->isActive()) {
        ++m_pacedSends;
        sendNext();
    }
}

void ThermoSimulator::sendNext() {
    // A period shorter than the pieces of a split group: the rest goes now.
    if (!m_pending.bytes.isEmpty())
        finishPieces();
    if (!m_pty.isOpen())
        return;

    const qint64 index = m_nextReading;
    if (index == m_options.burstAt) {
        QList<Reading> burst;
        QByteArray bytes;
        for (int i = 0; i < m_options.burstCount; ++i) {
            burst.append(reading(index + i));
            bytes += burst.last().bytes;
        }
        m_nextReading += m_options.burstCount;
        record(burst, writeChunk(bytes));
        return;
    }

    ++m_nextReading;
    if (m_options.split) {
        m_pending = reading(index);
        m_pendingOffset = 0;
        m_pendingPiece = 0;
        writeNextPiece();
        return;
    }
    const Reading r = reading(index);
    record({r}, writeChunk(r.bytes));
}

void ThermoSimulator::writeNextPiece() {
    if (m_pending.bytes.isEmpty())
        return;
    const int remaining = int(m_pending.bytes.size()) - m_pendingOffset;
    const int size = std::min(remaining, PieceSizes[m_pendingPiece % std::size(PieceSizes)]);
    if (!writeChunk(m_pending.bytes.mid(m_pendingOffset, size))) {
        dropPending();
        return;
    }
    m_pendingOffset += size;
    ++m_pendingPiece;
    if (m_pendingOffset < m_pending.bytes.size()) {
        m_pieceTimer->start();
        return;
    }
    const Reading done = std::exchange(m_pending, Reading());
    record({done}, true);
}

void ThermoSimulator::finishPieces() {
    m_pieceTimer->stop();
    const Reading r = std::exchange(m_pending, Reading());
    record({r}, writeChunk(r.bytes.mid(m_pendingOffset)));
}

void ThermoSimulator::dropPending() {
    m_pieceTimer->stop();
    if (m_pending.bytes.isEmpty())
        return;
    const Reading r = std::exchange(m_pending, Reading());
    record({r}, false);
}

bool ThermoSimulator::writeChunk(const QByteArray &bytes) {
    if (!m_pty.isOpen())
        return false;
    if (bytes.isEmpty())
        return true;
    ssize_t n = -1;
    do {
        n = ::write(m_pty.masterFd(), bytes.constData(), size_t(bytes.size()));
    } while (n < 0 && errno == EINTR);
    if (n > 0)
        Q_EMIT chunkWritten(bytes.left(n));
    return n == bytes.size();
}

void ThermoSimulator::record(const QList<Reading> &readings, bool written) {
    if (!written) {
        m_dropped += readings.size();
        return;
    }
    for (const Reading &r : readings)
        m_values.append(r.value);
    for (const Reading &r : readings)
        Q_EMIT groupWritten(int(r.index), r.bytes);
}

void ThermoSimulator::readAvailable() {
    QByteArray received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_pty.masterFd(), buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {
            // The line is gone for good; stop listening rather than spin.
            m_notifier->setEnabled(false);
        }
        break;
    }
    // A regulator ignores its input; the bytes are taken off the line either
    // way so the program's writes never stall.
    if (m_options.echoReceived && !received.isEmpty())
        Q_EMIT bytesReceived(received);
}

} // namespace zorneta::sim
