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

// The port on Com1 and every event it raises.
struct Port {
    explicit Port(PortDirectory directory = PortDirectory::withCandidates({})) : port(directory) {
        QObject::connect(&port, &SerialPort::commEventRaised, &port, [this] {
            events.append(Event{port.commEvent(), port.input(), port.firstLineSinceOpen()});
            peakHeld = std::max(peakHeld, port.heldInputBytes());
        });
    }
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
    void burstBeyondTheBoundIsDroppedOnceAndReported();
    void heldEventsOverflowInOrder();
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

void TestLineFaults::burstBeyondTheBoundIsDroppedOnceAndReported() {
    constexpr qint64 BurstBytes = 8 * 1024 * 1024;
    constexpr qint64 Groups = BurstBytes / 6;
    sim::PtyPair device;
    QVERIFY(device.open());
    Port line;
    QVERIFY(line.port.directory().bind(1, device.devicePath()));
    QVERIFY(line.port.setPortOpen(true));
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
    QTRY_VERIFY_WITH_TIMEOUT(!line.events.isEmpty() && line.events.last().input.endsWith("FINI\r\n"), 10000);

    QVERIFY(line.peakHeld <= QtSerialPort::MaxHeldInputBytes);
    if (ResidentSizeTells && peakKnown && residentBefore > 0)
        QVERIFY2(statusKiB("VmHWM") - residentBefore < 48 * 1024, QByteArray::number(statusKiB("VmHWM")));
    QVERIFY(line.port.droppedInputBytes() > 0);

    // Every received group is whole and follows the one before, except
    // right after a loss; after a loss the first line may be the tail of a
    // group, marked so; every loss is one RxOver event.
    const QList<Event> &events = line.events;
    QVERIFY(line.count(CommEvents::RxOver) >= 1);
    qint64 delivered = 0;
    int previous = -1;
    bool afterLoss = true;
    bool firstAfterLoss = true;
    for (int i = 0; i + 1 < events.size(); ++i) {
        const Event &e = events.at(i);
        delivered += e.input.size();
        if (e.code == CommEvents::RxOver) {
            QVERIFY2(!afterLoss, "two losses without a line between them");
            afterLoss = firstAfterLoss = true;
            continue;
        }
        QCOMPARE(e.code, CommEvents::Receive);
        const bool whole =
            e.input.size() == 6 && e.input.endsWith("\r\n") &&
            std::all_of(e.input.begin(), e.input.begin() + 4, [](char c) { return c >= '0' && c <= '9'; });
        if (!whole) {
            QVERIFY2(firstAfterLoss && e.firstLine && e.input.size() < 6 && e.input.endsWith("\n"),
                     e.input.toHex().constData());
            firstAfterLoss = false;
            continue;
        }
        const int value = e.input.left(4).toInt();
        if (!afterLoss)
            QVERIFY2(value == (previous + 1) % 10000,
                     qPrintable(QStringLiteral("%1 after %2").arg(value).arg(previous)));
        else if (i == 0)
            QCOMPARE(value, 0);
        QCOMPARE(e.firstLine, i == 0 || firstAfterLoss);
        previous = value;
        afterLoss = firstAfterLoss = false;
    }
    // Nothing vanished unaccounted: every byte sent was delivered or dropped.
    QCOMPARE(delivered + line.port.droppedInputBytes(), Groups * 6);
}

void TestLineFaults::heldEventsOverflowInOrder() {
    sim::PtyPair device;
    QVERIFY(device.open());
    Port line;
    QVERIFY(line.port.directory().bind(1, device.devicePath()));
    QVERIFY(line.port.setPortOpen(true));
    line.port.setEventsHeld(true);
    // More groups than the bound holds wait while events are held.
    const qint64 fits = QtSerialPort::MaxHeldInputBytes / 6;
    QByteArray all;
    for (qint64 k = 0; k < fits + 100; ++k)
        all += group(k);
    QVERIFY(writeAll(device.masterFd(), all));
    QTRY_VERIFY_WITH_TIMEOUT(line.port.droppedInputBytes() == all.size() - fits * 6, 10000);
    QVERIFY(line.events.isEmpty());
    QVERIFY(line.port.heldInputBytes() <= QtSerialPort::MaxHeldInputBytes);
    line.port.setEventsHeld(false);
    QTRY_COMPARE_WITH_TIMEOUT(line.events.size(), int(fits) + 1, 10000);
    for (qint64 k = 0; k < fits; ++k)
        QCOMPARE(line.events.at(k).input, group(k));
    QCOMPARE(line.events.last().code, CommEvents::RxOver);
    QCOMPARE(line.events.last().input, QByteArray());
    // Input is taken again once the waiting ones are through; the first
    // line after the gap is marked, a whole group is still a group.
    QVERIFY(writeAll(device.masterFd(), "50\r\n0101\r\n0102\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(line.events.size(), int(fits) + 4, 10000);
    QCOMPARE(line.events.at(fits + 1).input, QByteArray("50\r\n"));
    QVERIFY(line.events.at(fits + 1).firstLine);
    QCOMPARE(line.events.at(fits + 2).input, QByteArray("0101\r\n"));
    QVERIFY(!line.events.at(fits + 2).firstLine);
    QCOMPARE(line.count(CommEvents::RxOver), 1);
}

QTEST_GUILESS_MAIN(TestLineFaults)
#include "tst_linefaults.moc"
