// Cost of one reading as the session grows: readings go one by one through the
// real communications handler (storing, growing the table, handing it to the
// chart) into the real Qt Charts chart, shown offscreen, with every other
// platform part scripted. For each session length N it prints the time per
// reading over the last 1000 readings, painting included, and the memory the
// session took per reading.
//
//   bench_pipeline [largest N]      (default 1000000)
//
// Each session length runs in a process of its own, so the memory figures of
// one do not start from what an earlier one left behind.

#include "session/SessionState.h"
#include "common/ReadingsTable.h"
#include "platform/qt/QtChartSurface.h"
#include "shell/TerminalLogic.h"
#include "support/Doubles.h"
#include "support/ScriptedSerialPort.h"
#include "support/ViewDoubles.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <unistd.h>
#include <vector>

using namespace zorneta;
using namespace zorneta::testing;

namespace {

constexpr qint64 Measured = 1000; // readings timed at the end of a session
constexpr int ViewWidth = 1000;
constexpr int ViewHeight = 600;
// While the session is fed, the event loop runs once per this many readings
// (the chart lays itself out and paints then); the timed readings each run it.
constexpr qint64 EventsEvery = 1000;

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    if (fields.size() < 2)
        return -1;
    return fields[1].toLongLong() * sysconf(_SC_PAGESIZE);
}

// Paint events of a widget.
class PaintCounter : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// A furnace programme: heating at about 5 °C a minute from 20 °C, a hold near
// 1100 °C, cooling, again and again; whole degrees with a little noise, as
// the thermoregulator sends them (never 9999, the thermocouple break).
class Furnace {
public:
    int next() {
        const qint64 cycle = 60000; // readings, about 10.7 hours
        const qint64 at = m_n++ % cycle;
        double t;
        if (at < 20000)
            t = 20.0 + 1080.0 * double(at) / 20000.0;
        else if (at < 35000)
            t = 1100.0;
        else
            t = 1100.0 - 1080.0 * double(at - 35000) / 25000.0;
        t += m_noise(m_random);
        return std::clamp(static_cast<int>(std::lround(t)), 0, 9998);
    }

private:
    qint64 m_n = 0;
    std::mt19937 m_random{640u};
    std::normal_distribution<double> m_noise{0.0, 1.5};
};

struct Result {
    qint64 readings = 0;
    double meanMicros = 0.0;
    double maxMicros = 0.0;
    double bytesPerReading = 0.0;
    int paints = 0;
    qint64 pointCount = 0;
    double paintMicros = 0.0;
    double handlerMicros = 0.0;
};

// One session of N readings, in this process.
Result runSession(qint64 n) {
    ScriptedSerialPort port;
    ScriptedPrompts prompts;
    MemorySettingsStore settings;
    FakeClock clock;
    CountingBeeper beeper;
    FixedInstallInfo install;
    RecordingLauncher launcher;
    MemoryMainView view;
    QtChartSurface chart;
    TerminalLogic logic(Services{port, chart, prompts, settings, clock, beeper, install, launcher, view});
    logic.load();

    QWidget *chartView = chart.widget();
    chartView->resize(ViewWidth, ViewHeight);
    chartView->show();
    // The X axis with its labels, as the user sees it when switched on.
    logic.state().xAxisHidden = false;
    (void)chart.setAxisScaleHidden(ChartSurface::Axis::X, false);
    QCoreApplication::processEvents();
    PaintCounter counter;
    // A QChartView paints on its viewport, not on itself.
    auto *graphicsView = qobject_cast<QAbstractScrollArea *>(chartView);
    if (!graphicsView) {
        std::fprintf(stderr, "the chart view is not a scroll area\n");
        std::exit(1);
    }
    QWidget *viewport = graphicsView->viewport();
    viewport->installEventFilter(&counter);

    logic.portControl().togglePort();
    SessionState &s = logic.state();
    s.updatePeriod = 1; // every reading grows the table and redraws
    s.temperature = -1; // never reached: no alarm
    viewport->repaint();
    QCoreApplication::processEvents();

    Furnace furnace;
    auto reading = [&]() {
        clock.advance(640);
        port.receive(QByteArray::number(furnace.next()).rightJustified(4, '0') + "\r\n");
        // The scripted port notes every call; a real port keeps nothing.
        port.log.clear();
    };

    const qint64 before = residentBytes();
    const qint64 untimed = std::max<qint64>(0, n - Measured);
    for (qint64 i = 0; i < untimed; ++i) {
        reading();
        if ((i + 1) % EventsEvery == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();

    using Clock = std::chrono::steady_clock;
    std::vector<double> micros;
    micros.reserve(std::size_t(Measured));
    double handlerSum = 0.0;
    counter.paints = 0;
    for (qint64 i = untimed; i < n; ++i) {
        const auto start = Clock::now();
        reading();
        handlerSum += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        // The pass of the event loop the reading ends, as in the program: it
        // lays the chart out and paints it; when it did not paint, painting
        // is forced, so every timed reading includes exactly one paint.
        const int paints = counter.paints;
        QCoreApplication::processEvents();
        if (counter.paints == paints)
            viewport->repaint();
        const auto end = Clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    const qint64 after = residentBytes();

    // Painting alone: the final chart painted again, nothing changed.
    constexpr int Repaints = 100;
    const int paintsBefore = counter.paints;
    const auto paintStart = Clock::now();
    for (int i = 0; i < Repaints; ++i)
        viewport->repaint();
    const double paintMicros = std::chrono::duration<double, std::micro>(Clock::now() - paintStart).count() / Repaints;
    if (counter.paints - paintsBefore != Repaints) {
        std::fprintf(stderr, "repaint() did not paint\n");
        std::exit(1);
    }

    Result r;
    r.readings = n;
    double sum = 0.0;
    for (const double m : micros)
        sum += m;
    r.meanMicros = micros.empty() ? 0.0 : sum / double(micros.size());
    r.maxMicros = micros.empty() ? 0.0 : *std::max_element(micros.begin(), micros.end());
    r.bytesPerReading = double(after - before) / double(n);
    r.paints = paintsBefore;
    r.paintMicros = paintMicros;
    r.handlerMicros = handlerSum / double(std::max<qint64>(1, n - untimed));
    r.pointCount = s.pointCount;
    return r;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();

    // A child run: one session, its figures on one line.
    if (args.size() == 3 && args[1] == QStringLiteral("--readings")) {
        const Result r = runSession(args[2].toLongLong());
        std::printf("%lld %.3f %.3f %.3f %d %lld %.3f %.3f\n", static_cast<long long>(r.readings), r.meanMicros,
                    r.maxMicros, r.bytesPerReading, r.paints, static_cast<long long>(r.pointCount), r.paintMicros,
                    r.handlerMicros);
        return 0;
    }

    qint64 largest = 1000000;
    if (args.size() >= 2) {
        bool ok = false;
        largest = args[1].toLongLong(&ok);
        if (!ok || largest < 1) {
            std::fprintf(stderr, "usage: bench_pipeline [largest N]\n");
            return 2;
        }
    }

    std::printf("Readings through the communications handler into the Qt Charts chart (%dx%d, offscreen),\n", ViewWidth,
                ViewHeight);
    std::printf("update period 1 (every reading grows the table and redraws), X axis shown.\n");
    std::printf("Timed: the last %lld readings of each session, each = handler + one pass of the event loop\n",
                static_cast<long long>(Measured));
    std::printf("(layout and paint), or repaint() of the chart view's viewport when that pass did not paint:\n");
    std::printf("one paint per reading (the paint events seen on the viewport are listed).\n");
    std::printf("Untimed readings before them: one pass of the event loop every %lld readings.\n",
                static_cast<long long>(EventsEvery));
    std::printf("Of which handler: the handler's call alone (storing, growing the table, handing it to the chart).\n");
    std::printf("Paint alone: the final chart repainted unchanged (repaint() of the viewport), mean of 100.\n");
    std::printf("Memory: resident set size after N readings minus before the first, divided by N.\n");
    std::printf("Table storage in theory: %.2f bytes per column (%lld-column blocks of %lld bytes).\n\n",
                double(sizeof(ReadingsChunk)) / double(ReadingsChunk::Columns),
                static_cast<long long>(ReadingsChunk::Columns), static_cast<long long>(sizeof(ReadingsChunk)));
    std::printf("%10s %12s %12s %12s %12s %14s %7s %9s\n", "N", "mean us/rdg", "max us/rdg", "of which", "paint alone",
                "bytes/reading", "paints", "session");
    std::printf("%10s %12s %12s %12s %12s %14s %7s %9s\n", "", "", "", "handler us", "us", "", "", "s");
    std::fflush(stdout);

    int failures = 0;
    for (qint64 n = 1000; n <= largest; n *= 10) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto start = std::chrono::steady_clock::now();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--readings"), QString::number(n)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::printf("%10lld   session failed\n", static_cast<long long>(n));
            ++failures;
            continue;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const QList<QByteArray> f = child.readAllStandardOutput().simplified().split(' ');
        if (f.size() != 8 || f[5].toLongLong() != n) {
            std::printf("%10lld   unexpected output\n", static_cast<long long>(n));
            ++failures;
            continue;
        }
        std::printf("%10lld %12.1f %12.1f %12.1f %12.1f %14.1f %7d %9.1f\n", static_cast<long long>(n), f[1].toDouble(),
                    f[2].toDouble(), f[7].toDouble(), f[6].toDouble(), f[3].toDouble(), f[4].toInt(), seconds);
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
