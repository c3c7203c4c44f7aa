// The simulated thermoregulator: the heating curve it follows and the bytes a
// program reading its pseudo-terminal actually gets.

#include "simulator/ThermoSimulator.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace zorneta::sim;

namespace {

constexpr double Minute = 60.0;
constexpr int TestPeriodMs = 20;
// At this speed-up a 20 ms period is a minute of the program: the ramp
// climbs 10 °C from one reading to the next.
constexpr double TestSpeedup = 3000.0;

// The program's end of the cable: the device path opened as a serial port
// would be, read with plain POSIX calls.
class Slave {
public:
    explicit Slave(const QString &path) {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return;
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    ~Slave() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Slave(const Slave &) = delete;
    Slave &operator=(const Slave &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    // Exactly `count` bytes, or fewer if the line fails or nothing comes for
    // a long while; the event loop runs meanwhile so the simulator can send.
    QByteArray read(qsizetype count) {
        QByteArray got;
        QDeadlineTimer deadline(10000);
        char buffer[256];
        while (got.size() < count && !deadline.hasExpired()) {
            const auto want = std::min<qsizetype>(count - got.size(), qsizetype(sizeof buffer));
            const ssize_t n = ::read(m_fd, buffer, size_t(want));
            if (n > 0)
                got.append(buffer, n);
            else if (n < 0 && (errno == EAGAIN || errno == EINTR))
                QTest::qWait(2);
            else
                break;
        }
        return got;
    }

    // Reads until the line reports its end: the return of the last read()
    // with errno as it was left.
    std::pair<ssize_t, int> readToEnd() {
        QDeadlineTimer deadline(10000);
        char buffer[256];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            const int error = errno;
            if (n > 0)
                continue;
            if (n < 0 && (error == EAGAIN || error == EINTR) && !deadline.hasExpired()) {
                QTest::qWait(2);
                continue;
            }
            return {n, error};
        }
    }

    // Takes whatever is waiting on the line now.
    void drain() {
        char buffer[256];
        while (::read(m_fd, buffer, sizeof buffer) > 0) {
        }
    }

private:
    int m_fd = -1;
};

SimOptions fastOptions() {
    SimOptions o;
    o.periodMs = TestPeriodMs;
    o.speedup = TestSpeedup;
    return o;
}

// The value the heating program gives reading `index` under `o`.
int programValue(const SimOptions &o, qint64 index) {
    const TemperatureProfile profile(o.program, o.speedup);
    return profile.groupValueAt(double(index - 1) * o.periodMs / 1000.0);
}

// Largest and smallest temperature over [from, to], sampled every second.
std::pair<double, double> range(const TemperatureProfile &p, double from, double to) {
    double lo = p.temperatureAt(from);
    double hi = lo;
    for (double t = from; t <= to; t += 1.0) {
        lo = std::min(lo, p.temperatureAt(t));
        hi = std::max(hi, p.temperatureAt(t));
    }
    return {lo, hi};
}

} // namespace

class TestSimulator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatGroup_data();
    void formatGroup();
    void garbledGroupIsNotANumber();

    void profileStartsAtRoomTemperature();
    void profileRisesAtRampRate_data();
    void profileRisesAtRampRate();
    void profileOvershootsAndSettles_data();
    void profileOvershootsAndSettles();
    void profileHoldsThenCools();
    void profileSpeedup();
    void groupValueFlickersByOneDigit();
    void groupValueClamped_data();
    void groupValueClamped();

    void slaveReceives_data();
    void slaveReceives();
    void microsecondPeriodSendsEveryGroupInOrder();
    void splitGroupGoesOutInPieces();
    void burstIsOneWrite();
    void writeRawReachesSlave();
    void bytesFromProgramAreReported();
    void unplugEndsTheLine();
    void fullLineDropsGroups();
};

void TestSimulator::formatGroup_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("zero") << 0 << QByteArray("0000\r\n");
    QTest::newRow("one digit") << 5 << QByteArray("0005\r\n");
    QTest::newRow("room") << 20 << QByteArray("0020\r\n");
    QTest::newRow("set point") << 850 << QByteArray("0850\r\n");
    QTest::newRow("four digits") << 1234 << QByteArray("1234\r\n");
    QTest::newRow("highest reading") << 9998 << QByteArray("9998\r\n");
    QTest::newRow("break") << BreakValue << QByteArray("9999\r\n");
    QTest::newRow("negative clamped") << -5 << QByteArray("0000\r\n");
    QTest::newRow("too large clamped") << 12345 << QByteArray("9999\r\n");
}

void TestSimulator::formatGroup() {
    QFETCH(int, value);
    QFETCH(QByteArray, bytes);
    QCOMPARE(zorneta::sim::formatGroup(value), bytes);
}

void TestSimulator::garbledGroupIsNotANumber() {
    const QByteArray g = garbledGroup();
    QCOMPARE(g.size(), 6);
    QVERIFY(g.endsWith("\r\n"));
    bool numeric = false;
    g.left(4).toInt(&numeric);
    QVERIFY(!numeric);
}

void TestSimulator::profileStartsAtRoomTemperature() {
    const TemperatureProfile p;
    QCOMPARE(p.temperatureAt(0.0), 20.0);
    QVERIFY(std::abs(p.groupValueAt(0.0) - 20) <= 1);
    // Ten seconds into a 10 °C/min ramp: under two degrees up.
    QVERIFY(p.temperatureAt(10.0) > 20.0);
    QVERIFY(p.temperatureAt(10.0) < 22.0);
}

void TestSimulator::profileRisesAtRampRate_data() {
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("setpoint");
    QTest::newRow("defaults") << 10.0 << 850.0;
    QTest::newRow("slow") << 2.0 << 300.0;
    QTest::newRow("fast") << 25.0 << 1200.0;
}

void TestSimulator::profileRisesAtRampRate() {
    QFETCH(double, rate);
    QFETCH(double, setpoint);
    HeatingProgram program;
    program.rampCPerMin = rate;
    program.setpointC = setpoint;
    const TemperatureProfile p(program);

    QCOMPARE(p.rampEndSeconds(), (setpoint - 20.0) / rate * Minute);
    const double t1 = p.rampEndSeconds() * 0.25;
    const double t2 = p.rampEndSeconds() * 0.75;
    const double measured = (p.temperatureAt(t2) - p.temperatureAt(t1)) / (t2 - t1) * Minute;
    QVERIFY2(std::abs(measured - rate) < rate * 0.01, qPrintable(QString::number(measured)));
    // Rising all the way up.
    for (double t = 1.0; t < p.rampEndSeconds(); t += 1.0)
        QVERIFY(p.temperatureAt(t) > p.temperatureAt(t - 1.0));
}

void TestSimulator::profileOvershootsAndSettles_data() {
    profileRisesAtRampRate_data();
}

void TestSimulator::profileOvershootsAndSettles() {
    QFETCH(double, rate);
    QFETCH(double, setpoint);
    HeatingProgram program;
    program.rampCPerMin = rate;
    program.setpointC = setpoint;
    const TemperatureProfile p(program);
    const double reached = p.rampEndSeconds();

    // Past the set point right after the ramp, but not wildly.
    const auto [lowFirst, peak] = range(p, reached, reached + 10 * Minute);
    QVERIFY2(peak > setpoint + 0.5, qPrintable(QString::number(peak)));
    QVERIFY2(peak < setpoint + 30.0, qPrintable(QString::number(peak)));
    QVERIFY(lowFirst > setpoint - 30.0);
    // Then it dies down: within half a degree a quarter hour in.
    const auto [lo, hi] = range(p, reached + 15 * Minute, p.holdEndSeconds());
    QVERIFY2(lo > setpoint - 0.5 && hi < setpoint + 0.5, qPrintable(QStringLiteral("%1..%2").arg(lo).arg(hi)));
    // Nowhere above the peak.
    QVERIFY(range(p, 0.0, p.holdEndSeconds() + 60 * Minute).second < peak + 0.01);
}

void TestSimulator::profileHoldsThenCools() {
    const TemperatureProfile p;
    QCOMPARE(p.holdEndSeconds() - p.rampEndSeconds(), 30 * Minute);
    QVERIFY(std::abs(p.temperatureAt(p.holdEndSeconds()) - 850.0) < 0.5);

    // Falling steadily once the heater is off ...
    const double tau = p.program().coolingTauMin * Minute;
    for (double t = p.holdEndSeconds() + Minute; t < p.holdEndSeconds() + 5 * tau; t += Minute)
        QVERIFY(p.temperatureAt(t) < p.temperatureAt(t - Minute));
    // ... fast at first, slowly near the room temperature.
    const double firstDrop = p.temperatureAt(p.holdEndSeconds()) - p.temperatureAt(p.holdEndSeconds() + 10 * Minute);
    const double laterDrop =
        p.temperatureAt(p.holdEndSeconds() + 3 * tau) - p.temperatureAt(p.holdEndSeconds() + 3 * tau + 10 * Minute);
    QVERIFY(firstDrop > 4 * laterDrop);
    const double late = p.temperatureAt(p.holdEndSeconds() + 6 * tau);
    QVERIFY2(late > 20.0 && late < 25.0, qPrintable(QString::number(late)));
}

void TestSimulator::profileSpeedup() {
    const TemperatureProfile normal;
    const TemperatureProfile fast(HeatingProgram(), 20.0);
    QCOMPARE(fast.rampEndSeconds() * 20.0, normal.rampEndSeconds());
    QCOMPARE(fast.holdEndSeconds() * 20.0, normal.holdEndSeconds());
    for (double t = 0.0; t < normal.holdEndSeconds() / 20.0 + 600.0; t += 7.3) {
        QCOMPARE(fast.temperatureAt(t), normal.temperatureAt(t * 20.0));
        QCOMPARE(fast.groupValueAt(t), normal.groupValueAt(t * 20.0));
    }
}

void TestSimulator::groupValueFlickersByOneDigit() {
    const TemperatureProfile p;
    HeatingProgram quiet;
    quiet.noise = false;
    const TemperatureProfile smooth(quiet);
    HeatingProgram other;
    other.noiseSeed = 7;
    const TemperatureProfile reseeded(other);

    int flickers = 0;
    int differentSeed = 0;
    int samples = 0;
    for (double t = 0.0; t < p.holdEndSeconds() + 3600.0; t += 0.64, ++samples) {
        const int exact = int(std::lround(p.temperatureAt(t)));
        const int value = p.groupValueAt(t);
        QVERIFY(std::abs(value - exact) <= 1);
        QCOMPARE(smooth.groupValueAt(t), exact);
        QCOMPARE(TemperatureProfile().groupValueAt(t), value);
        flickers += value != exact;
        differentSeed += reseeded.groupValueAt(t) != value;
    }
    // Some flicker, most readings steady.
    QVERIFY(flickers > samples / 10);
    QVERIFY(flickers < samples / 2);
    QVERIFY(differentSeed > samples / 10);
}

void TestSimulator::groupValueClamped_data() {
    QTest::addColumn<double>("room");
    QTest::addColumn<double>("setpoint");
    QTest::addColumn<int>("expected");
    QTest::newRow("above the scale") << 20.0 << 12000.0 << 9998;
    QTest::newRow("below zero") << -40.0 << -40.0 << 0;
}

void TestSimulator::groupValueClamped() {
    QFETCH(double, room);
    QFETCH(double, setpoint);
    QFETCH(int, expected);
    HeatingProgram program;
    program.roomC = room;
    program.setpointC = setpoint;
    const TemperatureProfile p(program);
    for (double t = p.rampEndSeconds() + 20 * Minute; t < p.holdEndSeconds(); t += 0.64)
        QCOMPARE(p.groupValueAt(t), expected);
}

void TestSimulator::slaveReceives_data() {
    QTest::addColumn<bool>("split");
    QTest::addColumn<qint64>("breakAt");
    QTest::addColumn<QList<qint64>>("garbleAt");
    QTest::addColumn<qint64>("burstAt");
    QTest::addColumn<int>("burstCount");
    // Reading numbers that must carry these exact bytes.
    QTest::addColumn<QList<qint64>>("specialAt");
    QTest::addColumn<QByteArray>("special");

    QTest::newRow("normal") << false << qint64(-1) << QList<qint64>() << qint64(-1) << 0 << QList<qint64>()
                            << QByteArray();
    QTest::newRow("split") << true << qint64(-1) << QList<qint64>() << qint64(-1) << 0 << QList<qint64>()
                           << QByteArray();
    QTest::newRow("break") << false << qint64(3) << QList<qint64>() << qint64(-1) << 0 << QList<qint64>{3}
                           << QByteArray("9999\r\n");
    QTest::newRow("break split") << true << qint64(2) << QList<qint64>() << qint64(-1) << 0 << QList<qint64>{2}
                                 << QByteArray("9999\r\n");
    QTest::newRow("garbled") << false << qint64(-1) << QList<qint64>{2, 5} << qint64(-1) << 0 << QList<qint64>{2, 5}
                             << QByteArray("1#?Z\r\n");
    QTest::newRow("burst") << false << qint64(-1) << QList<qint64>() << qint64(2) << 3 << QList<qint64>()
                           << QByteArray();
    QTest::newRow("burst with break") << false << qint64(3) << QList<qint64>() << qint64(2) << 3 << QList<qint64>{3}
                                      << QByteArray("9999\r\n");
}

void TestSimulator::slaveReceives() {
    QFETCH(bool, split);
    QFETCH(qint64, breakAt);
    QFETCH(QList<qint64>, garbleAt);
    QFETCH(qint64, burstAt);
    QFETCH(int, burstCount);
    QFETCH(QList<qint64>, specialAt);
    QFETCH(QByteArray, special);

    SimOptions o = fastOptions();
    o.split = split;
    o.breakAt = breakAt;
    o.garbleAt = garbleAt;
    o.burstAt = burstAt;
    o.burstCount = burstCount;
    ThermoSimulator sim(o);
    QSignalSpy written(&sim, &ThermoSimulator::groupWritten);
    QString error;
    QVERIFY2(sim.start(&error), qPrintable(error));
    Slave slave(sim.devicePath());
    QVERIFY(slave.isOpen());

    constexpr int Readings = 6;
    QByteArray expected;
    QList<int> expectedValues;
    for (qint64 i = 1; i <= Readings; ++i) {
        if (specialAt.contains(i)) {
            expected += special;
            expectedValues.append(special == "9999\r\n" ? 9999 : -1);
            continue;
        }
        const int value = programValue(o, i);
        // Ten degrees a reading up the ramp from the room temperature.
        QVERIFY(std::abs(value - (20 + 10 * int(i - 1))) <= 1);
        expected += zorneta::sim::formatGroup(value);
        expectedValues.append(value);
    }

    QCOMPARE(slave.read(expected.size()), expected);
    QCOMPARE(sim.valuesSent().mid(0, Readings), expectedValues);
    QVERIFY(written.size() >= Readings);
    for (int i = 0; i < Readings; ++i) {
        QCOMPARE(written.at(i).at(0).toInt(), i + 1);
        QCOMPARE(written.at(i).at(1).toByteArray(), expected.mid(i * 6, 6));
    }
    QCOMPARE(sim.groupsDropped(), qint64(0));
}

void TestSimulator::microsecondPeriodSendsEveryGroupInOrder() {
    SimOptions o = fastOptions();
    o.periodMicros = 250; // 4000 groups a second, several on each tick
    ThermoSimulator sim(o);
    QCOMPARE(sim.secondsAtReading(41), 0.01);
    QString error;
    QVERIFY2(sim.start(&error), qPrintable(error));
    Slave slave(sim.devicePath());
    QVERIFY(slave.isOpen());
    constexpr int Readings = 200;
    const QByteArray got = slave.read(Readings * 6);
    QCOMPARE(got.size(), Readings * 6);
    const TemperatureProfile profile(o.program, o.speedup);
    for (qint64 i = 1; i <= Readings; ++i)
        QCOMPARE(got.mid((i - 1) * 6, 6), zorneta::sim::formatGroup(profile.groupValueAt(sim.secondsAtReading(i))));
    QCOMPARE(sim.groupsDropped(), qint64(0));
}

void TestSimulator::splitGroupGoesOutInPieces() {
    SimOptions o = fastOptions();
    o.split = true;
    o.periodMs = 100; // ample room for the pieces of one group before the next
    ThermoSimulator sim(o);
    QSignalSpy chunks(&sim, &ThermoSimulator::chunkWritten);
    QVERIFY(sim.start());
    Slave slave(sim.devicePath());
    QVERIFY(slave.isOpen());

    const QByteArray first = zorneta::sim::formatGroup(programValue(o, 1));
    const QByteArray second = zorneta::sim::formatGroup(programValue(o, 2));
    QCOMPARE(slave.read(12), first + second);
    QVERIFY(chunks.size() >= 6);
    const QList<QByteArray> expected = {first.left(2),  first.mid(2, 3),  first.mid(5),
                                        second.left(2), second.mid(2, 3), second.mid(5)};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(chunks.at(i).at(0).toByteArray(), expected.at(i));
}

void TestSimulator::burstIsOneWrite() {
    SimOptions o = fastOptions();
    o.burstAt = 2;
    o.burstCount = 3;
    ThermoSimulator sim(o);
    QSignalSpy chunks(&sim, &ThermoSimulator::chunkWritten);
    QVERIFY(sim.start());
    Slave slave(sim.devicePath());
    QVERIFY(slave.isOpen());

    QByteArray expected;
    for (qint64 i = 1; i <= 5; ++i)
        expected += zorneta::sim::formatGroup(programValue(o, i));
    QCOMPARE(slave.read(expected.size()), expected);
    QVERIFY(chunks.size() >= 3);
    QCOMPARE(chunks.at(0).at(0).toByteArray(), expected.left(6));
    QCOMPARE(chunks.at(1).at(0).toByteArray(), expected.mid(6, 18));
    QCOMPARE(chunks.at(2).at(0).toByteArray(), expected.mid(24, 6));
    QVERIFY(sim.groupsSent() >= 5);
}

void TestSimulator::writeRawReachesSlave() {
    SimOptions o = fastOptions();
    o.periodMs = 60000; // no groups in the way
    ThermoSimulator sim(o);
    QVERIFY(sim.start());
    Slave slave(sim.devicePath());
    QVERIFY(slave.isOpen());
    const QByteArray raw("00\r\n12\x00\xff"
                         "34\r\n",
                         12);
    QVERIFY(sim.writeRaw(raw));
    QCOMPARE(slave.read(raw.size()), raw);
    QCOMPARE(sim.groupsSent(), qint64(0));
}

void TestSimulator::bytesFromProgramAreReported() {
    SimOptions o = fastOptions();
    o.echoReceived = true;
    ThermoSimulator sim(o);
    QByteArray received;
    connect(&sim, &ThermoSimulator::bytesReceived, this, [&received](const QByteArray &bytes) { received += bytes; });
    QVERIFY(sim.start());
    Slave slave(sim.devicePath());
    QVERIFY(slave.isOpen());

    const QByteArray sent("AT\r\n\x00\x7f\xff", 7);
    QCOMPARE(::write(slave.fd(), sent.constData(), size_t(sent.size())), ssize_t(sent.size()));
    QTRY_COMPARE_WITH_TIMEOUT(received, sent, 10000);
}

void TestSimulator::unplugEndsTheLine() {
    ThermoSimulator sim(fastOptions());
    QSignalSpy written(&sim, &ThermoSimulator::groupWritten);
    QVERIFY(sim.start());
    const QString path = sim.devicePath();
    QVERIFY(path.startsWith(QStringLiteral("/dev/")));
    {
        Slave slave(path);
        QVERIFY(slave.isOpen());
        QCOMPARE(slave.read(6).size(), 6);

        sim.unplug();
        QVERIFY(!sim.isRunning());
        QVERIFY(!sim.isPlugged());
        QVERIFY(sim.devicePath().isEmpty());
        const auto [n, error] = slave.readToEnd();
        QVERIFY2(n == 0 || (n < 0 && error == EIO), qPrintable(QStringLiteral("read %1, errno %2").arg(n).arg(error)));
    }

    // Plugged in again: a new device, and the readings carry on.
    const qint64 before = written.size();
    QVERIFY(before >= 1);
    QVERIFY(sim.start());
    Slave again(sim.devicePath());
    QVERIFY(again.isOpen());
    QCOMPARE(again.read(6).size(), 6);
    QVERIFY(written.size() > before);
    QCOMPARE(written.at(before).at(0).toInt(), int(before) + 1);
}

void TestSimulator::fullLineDropsGroups() {
    ThermoSimulator sim(fastOptions());
    QVERIFY(sim.start());
    // Nobody reads the port: keep the line filled to what the kernel takes
    // until a group finds no room.
    const QByteArray block(4096, 'x');
    const auto fill = [&sim, &block] {
        for (int i = 0; i < 1024 && sim.writeRaw(block); ++i) {
        }
    };
    QTRY_VERIFY_WITH_TIMEOUT((fill(), sim.groupsDropped() >= 1), 10000);
    QCOMPARE(qint64(sim.valuesSent().size()), sim.groupsSent());

    // Once the program reads, groups come through again.
    Slave slave(sim.devicePath());
    QVERIFY(slave.isOpen());
    const qint64 sentBefore = sim.groupsSent();
    QTRY_VERIFY_WITH_TIMEOUT((slave.drain(), sim.groupsSent() > sentBefore), 10000);
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
