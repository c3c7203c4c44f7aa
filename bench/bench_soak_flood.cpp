// A long flood of a 115 200 baud line: garbage lines mixed with groups at
// random, from a device thread on a pseudo-terminal, into the real serial
// port and the main window's logic (every other platform part scripted),
// recording into a file. It prints, every minute and at the end:
//   - groups sent, counted (the session's readings) and recorded (group
//     lines in the recording file), garbage lines sent;
//   - resident memory at the start, now and at its peak, and per reading;
//   - the longest stall of the event loop (the largest gap between ticks of
//     a 10 ms timer) and the most markers the device posted that waited
//     unserviced (one after each 10 ms chunk);
//   - the most received input the port held, and what it dropped.
//
//   bench_soak_flood [seconds]      (default 180)

#include "platform/qt/QtSerialPort.h"
#include "shell/TerminalLogic.h"
#include "simulator/LineNoise.h"
#include "simulator/PtyPair.h"
#include "support/LogicRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace zorneta;
using namespace zorneta::testing;

namespace {

constexpr int BytesPerSecond = 115200 / 10;
constexpr int ChunksPerSecond = 100;

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
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

// The device: writes the flood paced at the line's speed, and posts a marker
// to the main thread after each chunk.
class Flood : public QObject {
public:
    Flood(int fd, int seconds) : m_fd(fd), m_seconds(seconds) {}
    ~Flood() override { join(); }

    void start(QObject *whenDone) {
        m_thread = std::thread([this, whenDone] {
            QRandomGenerator random(20261208);
            QByteArray stream;
            const int chunkBytes = BytesPerSecond / ChunksPerSecond;
            auto due = std::chrono::steady_clock::now();
            for (qint64 chunk = 0; chunk < qint64(m_seconds) * ChunksPerSecond && !m_stop; ++chunk) {
                while (stream.size() < chunkBytes) {
                    if (random.bounded(2)) {
                        stream += QByteArray::number(random.bounded(1, 9999)).rightJustified(4, '0') + "\r\n";
                        ++m_groups;
                    } else {
                        stream += sim::garbageLine(random);
                        ++m_garbage;
                    }
                }
                std::this_thread::sleep_until(due);
                due += std::chrono::microseconds(1000000 / ChunksPerSecond);
                if (!sim::writeAllToLine(m_fd, stream.left(chunkBytes))) {
                    m_failed = true;
                    break;
                }
                stream.remove(0, chunkBytes);
                const int waiting = ++m_posted - m_serviced;
                m_mostWaiting = std::max(m_mostWaiting.load(), waiting);
                QMetaObject::invokeMethod(
                    this, [this] { ++m_serviced; }, Qt::QueuedConnection);
            }
            // The rest of the last line.
            if (!m_failed && !sim::writeAllToLine(m_fd, stream))
                m_failed = true;
            m_done = true;
            QMetaObject::invokeMethod(
                whenDone, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
        });
    }
    void join() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    int m_fd;
    int m_seconds;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_failed{false};
    std::atomic<qint64> m_groups{0};
    std::atomic<qint64> m_garbage{0};
    std::atomic<int> m_posted{0};
    std::atomic<int> m_serviced{0};
    std::atomic<int> m_mostWaiting{0};
};

qint64 recordedGroups(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression stampedGroup(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\t\\d{4}$"));
    qint64 count = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (stampedGroup.match(QString::fromLatin1(line.chopped(line.endsWith('\n') ? 1 : 0))).hasMatch())
            ++count;
    }
    return count;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 180;

    QTemporaryDir dir;
    sim::PtyPair pty;
    QString error;
    if (!dir.isValid() || !pty.open(&error)) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }
    PortDirectory directory = PortDirectory::withCandidates({});
    directory.bind(1, pty.devicePath());
    QtSerialPort port(directory);
    qsizetype mostHeld = 0;
    QObject::connect(&port, &SerialPort::lineReceived, &port,
                     [&] { mostHeld = std::max(mostHeld, port.heldInputBytes()); });
    LogicRig d(LogicRig::DoublesOnly);
    TerminalLogic logic(
        Services{port, d.chart, d.prompts, d.settings, d.clock, d.beeper, d.install, d.launcher, d.view});
    logic.load();
    const QString record = dir.filePath(QStringLiteral("flood.txt"));
    if (!port.setSettings(QStringLiteral("115200,n,8,1")) ||
        !logic.recording().openAt(record, QStringLiteral("flood.txt"))) {
        std::fprintf(stderr, "cannot set up the line or the recording\n");
        return 1;
    }
    logic.portControl().togglePort();
    if (!port.portOpen()) {
        std::fprintf(stderr, "the port did not open: %s\n", qPrintable(port.lastErrorText()));
        return 1;
    }

    const qint64 residentStart = statusKiB("VmRSS");
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longestStallMs = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, &app,
                     [&] { longestStallMs = std::max(longestStallMs, sinceTick.restart()); });
    tick.start();

    Flood flood(pty.masterFd(), seconds);
    auto report = [&](const char *when) {
        const qint64 readings = logic.state().pointCount;
        const qint64 resident = statusKiB("VmRSS");
        std::printf("%s: groups sent %lld, counted %lld, recorded %lld; garbage lines %lld\n", when,
                    qint64(flood.m_groups), readings, recordedGroups(record), qint64(flood.m_garbage));
        std::printf("  resident KiB start %lld, now %lld, peak %lld; %.1f bytes a reading over the start\n",
                    residentStart, resident, statusKiB("VmHWM"),
                    readings > 0 ? double(resident - residentStart) * 1024.0 / double(readings) : 0.0);
        std::printf("  longest event-loop stall %lld ms (10 ms timer), most markers waiting %d; "
                    "most input held %lld bytes, dropped %lld, line-error questions %lld\n",
                    longestStallMs, int(flood.m_mostWaiting), qint64(mostHeld), port.droppedInputBytes(),
                    qint64(d.prompts.shown.size()));
        std::fflush(stdout);
    };
    QTimer minutes;
    minutes.setInterval(60000);
    int minute = 0;
    QObject::connect(&minutes, &QTimer::timeout, &app, [&] {
        const QByteArray when = "after " + QByteArray::number(++minute) + " min";
        report(when.constData());
    });
    minutes.start();
    flood.start(&app);
    app.exec();
    flood.join();
    // What is still on its way is taken in.
    QElapsedTimer drain;
    drain.start();
    while ((port.heldInputBytes() > 0 || logic.state().pointCount < flood.m_groups) && drain.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    report("end");
    const bool whole = !flood.m_failed && logic.state().pointCount == flood.m_groups &&
                       recordedGroups(record) == flood.m_groups && d.prompts.shown.isEmpty();
    std::printf("%s\n", whole ? "every group counted and recorded" : "GROUPS MISSING OR LINE FAULTS");
    return whole ? 0 : 2;
}
