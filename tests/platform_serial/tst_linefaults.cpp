// Faults of the line under the real serial port on a pseudo-terminal: a
// device that goes away and comes back again and again, and a line that
// sends far more than is taken.

#include "platform/qt/PortDirectory.h"
#include "platform/qt/QtSerialPort.h"
#include "simulator/PtyPair.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QtTest>

#include <functional>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace zorneta;

namespace {

// Under AddressSanitizer freed memory waits in a quarantine, so the resident
// size says nothing about what is held.
#ifdef __SANITIZE_ADDRESS__
constexpr bool ResidentSizeTells = false;
#else
constexpr bool ResidentSizeTells = true;
#endif

int openDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when unknown.
qint64 statusKiB(const QByteArray &field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Restarts the peak resident size count; false where the kernel cannot.
bool resetPeakResidentSize() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1 && refs.flush();
}

// Group k of a numbered run: k mod 10000 in four digits, CR, LF.
QByteArray group(qint64 k) {
    return QByteArray::number(k % 10000).rightJustified(4, '0') + "\r\n";
}

// Writes all of `bytes` to the device's side; from a thread of its own
// (waiting for room), or from the test's thread (running the event loop,
// which takes the bytes, meanwhile).
bool writeAll(int fd, const QByteArray &bytes, bool ownThread = false) {
    qsizetype done = 0;
    auto writeSome = [&] {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        return n > 0 || errno == EAGAIN || errno == EINTR;
    };
    while (done < bytes.size()) {
        if (!writeSome())
            return false;
        if (done == bytes.size())
            break;
        if (ownThread) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 10000) <= 0)
                return false;
        } else if (!QTest::qWaitFor([&] { return !writeSome() || done == bytes.size(); }, 10000)) {
            return false;
        }
    }
    return done == bytes.size();
}

struct Event {
    int code = 0;
    QByteArray input;
    bool firstLine = false;
};

// The port on Com1 and every line and fault it hands over.
struct Port {
    explicit Port(PortDirectory directory = PortDirectory::withCandidates({})) : port(directory) {
        QObject::connect(&port, &SerialPort::lineReceived, &port, [this](const QByteArray &line, LineFacts facts) {
            take(Event{CommEvents::Receive, line, facts.afterGap});
        });
        QObject::connect(&port, &SerialPort::lineFault, &port, [this](int code) { take(Event{code, {}, false}); });
    }
    void take(const Event &event) {
        peakHeld = std::max(peakHeld, port.heldInputBytes());
        if (check)
            check(event);
        else
            events.append(event);
    }
    // When set, each event goes here instead of into `events`.
    std::function<void(const Event &)> check;
    int count(int code) const {
        return int(std::count_if(events.begin(), events.end(), [code](const Event &e) { return e.code == code; }));
    }
    QtSerialPort port;
    QList<Event> events;
    qsizetype peakHeld = 0;
};

} // namespace

class TestLineFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyLossIsOneEvent_data();
    void everyLossIsOneEvent();
    void burstBeyondTheBoundIsHeldBackNotDropped();
};

void TestLineFaults::everyLossIsOneEvent_data() {
    QTest::addColumn<int>("groupsInFlight");
    QTest::newRow("idle line") << 0;
    QTest::newRow("groups in flight") << 3;
}

void TestLineFaults::everyLossIsOneEvent() {
    QFETCH(int, groupsInFlight);
    constexpr int Losses = 100;
    Port line;
    {
        // Once, so that what Qt keeps for the whole run is not counted below.
        sim::PtyPair warmUp;
        QVERIFY(warmUp.open());
        QVERIFY(line.port.directory().bind(1, warmUp.devicePath()));
        QVERIFY(line.port.setPortOpen(true));
        QVERIFY(line.port.setPortOpen(false));
    }
    const int descriptorsBefore = openDescriptors();
    const qint64 residentBefore = statusKiB("VmRSS");

    int receives = 0;
    for (int loss = 1; loss <= Losses; ++loss) {
        sim::PtyPair device;
        QVERIFY(device.open());
        QVERIFY(line.port.directory().bind(1, device.devicePath()));
        const Status opened = line.port.setPortOpen(true);
        QVERIFY2(opened.isOk(), qPrintable(opened.description()));
        QByteArray groups;
        for (int k = 0; k <= groupsInFlight; ++k)
            groups += group(loss * 10 + k);
        if (groupsInFlight == 0) {
            // One group through, then the device goes while nothing moves.
            QVERIFY(writeAll(device.masterFd(), groups));
            ++receives;
            QVERIFY(QTest::qWaitFor([&] { return line.count(CommEvents::Receive) == receives; }, 10000));
        } else {
            // The device goes right after its last groups.
            QVERIFY(writeAll(device.masterFd(), groups));
            receives += groupsInFlight + 1;
        }
        device.close();
        QVERIFY(QTest::qWaitFor([&] { return line.count(CommEvents::Overrun) == loss; }, 10000));
        QVERIFY(!line.port.portOpen());
        QVERIFY2(line.port.lastErrorText().contains(u"Com1"), qPrintable(line.port.lastErrorText()));
    }
    // Groups written before a loss may be lost with the device; none is
    // doubled, and each loss was one event.
    QVERIFY(line.count(CommEvents::Receive) <= receives);
    QCOMPARE(line.count(CommEvents::Overrun), Losses);
    QCOMPARE(int(line.events.size()), line.count(CommEvents::Receive) + Losses);
    for (const Event &event : std::as_const(line.events)) {
        if (event.code == CommEvents::Receive)
            QCOMPARE(event.input.size(), 6);
    }
    QVERIFY(!line.port.portOpen());
    QCOMPARE(line.port.heldInputBytes(), 0);
    QCOMPARE(openDescriptors(), descriptorsBefore);
    if (ResidentSizeTells && residentBefore > 0)
        QVERIFY2(statusKiB("VmRSS") - residentBefore < 16 * 1024, QByteArray::number(statusKiB("VmRSS")));
}

void TestLineFaults::burstBeyondTheBoundIsHeldBackNotDropped() {
    constexpr qint64 BurstBytes = 8 * 1024 * 1024;
    constexpr qint64 Groups = BurstBytes / 6;
    sim::PtyPair device;
    QVERIFY(device.open());
    Port line;
    QVERIFY(line.port.directory().bind(1, device.devicePath()));
    QVERIFY(line.port.setPortOpen(true));
    // Each group checked as it comes, so that the test keeps no more than
    // the port does.
    qint64 received = 0;
    qint64 misplaced = 0;
    line.check = [&](const Event &e) {
        const bool expected = received < Groups ? e.code == CommEvents::Receive && e.input == group(received) &&
                                                      e.firstLine == (received == 0)
                                                : e.input == "FINI\r\n";
        if (!expected)
            ++misplaced;
        ++received;
    };
    const bool peakKnown = resetPeakResidentSize();
    const qint64 residentBefore = statusKiB("VmRSS");

    // The device writes as fast as the kernel takes it, from a thread of its
    // own, while the port's events are delivered here.
    std::atomic<bool> written{false};
    std::atomic<bool> writeFailed{false};
    const int master = device.masterFd();
    QEventLoop loop;
    std::thread writer([&] {
        QByteArray chunk;
        for (qint64 k = 0; k < Groups && !writeFailed; ++k) {
            chunk += group(k);
            if (chunk.size() >= 60000 || k + 1 == Groups) {
                if (!writeAll(master, chunk, true))
                    writeFailed = true;
                chunk.clear();
            }
        }
        written = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // A safety net only: the loop ends when the writer is through.
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    const bool done = written;
    if (!done)
        device.close(); // ends the writer
    writer.join();
    QVERIFY(done);
    QVERIFY(!writeFailed);
    // What was taken in is delivered; then a last group comes through whole.
    QTRY_COMPARE_WITH_TIMEOUT(line.port.heldInputBytes(), 0, 60000);
    QVERIFY(writeAll(master, "FINI\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(received, Groups + 1, 10000);

    QVERIFY2(line.peakHeld <= QtSerialPort::MaxWaitingBytes, QByteArray::number(line.peakHeld));
    if (ResidentSizeTells && peakKnown && residentBefore > 0)
        QVERIFY2(statusKiB("VmHWM") - residentBefore < 48 * 1024, QByteArray::number(statusKiB("VmHWM")));

    // The pseudo-terminal held the device back while the program caught up:
    // every group arrived whole, in order, and nothing was dropped.
    QVERIFY(line.port.senderHeldBack());
    QCOMPARE(line.port.droppedInputBytes(), 0);
    QCOMPARE(misplaced, 0);
    QCOMPARE(received, Groups + 1);
}

QTEST_GUILESS_MAIN(TestLineFaults)
#include "tst_linefaults.moc"
