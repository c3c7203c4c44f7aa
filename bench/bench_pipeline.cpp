// Cost of one reading as the session grows, the chart drawn as the program
// draws it (thinned to the plot width, at most once a frame) beside the plain
// baseline (every point handed to the chart and drawn at every update).
// Readings go one by one through the real communications handler (storing,
// growing the table, handing it to the chart) into the real Qt Charts chart,
// shown offscreen, with every other platform part scripted. For each session
// length N it prints:
//   - hand-off: the handler's call per reading, the chart hand-off included
//     (thinned: the table kept for the next frame; plain: all points drawn);
//   - frame: one table made into the curve, axes and value range, and painted;
//   - the memory the session took per reading;
//   - exploring the curve at that length (thinned drawing): one zoom step (a
//     wheel notch over the plot, the stretch on view thinned and painted) and
//     one pan step (a drag of 40 pixels, drawn and painted), medians;
// then the pipeline's rate with no chart updates (a stand-in chart, update
// period 1000), recording into a file.
//
//   bench_pipeline [largest N]      (default 1000000)
//
// Each session length runs in a process of its own, so the memory figures of
// one do not start from what an earlier one left behind.

#include "session/SessionState.h"
#include "common/Formats.h"
#include "common/ReadingsTable.h"
#include "platform/qt/QtChartSurface.h"
#include "shell/TerminalLogic.h"
#include "support/Doubles.h"
#include "support/ScriptedSerialPort.h"
#include "support/ViewDoubles.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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

// CPU time of this process: the figures hold on a machine busy with other
// work, where wall time would count the time others ran.
double cpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

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
    double handOffMicros = 0.0; // per reading, timed over `timed` readings
    qint64 timed = 0;
    double frameMicros = 0.0;
    double bytesPerReading = 0.0;
    qint64 pointCount = 0;
    double zoomMicros = 0.0; // median of one zoom step
    double panMicros = 0.0;  // median of one pan step
};

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Zoom and pan steps on the chart as the user makes them, each followed by
// the paint it causes; medians of several.
void exploreSteps(QWidget *viewport, Result *r) {
    const QPoint middle = viewport->rect().center();
    auto paintAfter = [&](auto step) {
        const double start = cpuMicros();
        step();
        viewport->repaint();
        return cpuMicros() - start;
    };
    std::vector<double> zooms;
    // Eight notches in, then eight out, about the middle.
    for (int i = 0; i < 16; ++i) {
        const int delta = i < 8 ? 120 : -120;
        zooms.push_back(paintAfter([&] {
            QWheelEvent wheel(middle, viewport->mapToGlobal(middle), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(viewport, &wheel);
        }));
    }
    // Zoomed in four notches (about 40 % of the session on view), a drag with
    // the middle button, 40 pixels a step, to and fro.
    for (int i = 0; i < 4; ++i) {
        QWheelEvent wheel(middle, viewport->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &wheel);
    }
    auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, const QPoint &at) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    };
    send(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, middle);
    std::vector<double> pans;
    QPoint at = middle;
    for (int i = 0; i < 16; ++i) {
        at += QPoint((i / 4) % 2 ? 40 : -40, 0);
        pans.push_back(paintAfter([&] { send(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, at); }));
    }
    send(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, at);
    r->zoomMicros = median(zooms);
    r->panMicros = median(pans);
}

// Readings timed at the end of a session: the plain baseline draws a million
// points at each, so it gets fewer.
qint64 timedReadings(qint64 n, bool plain) {
    if (!plain || n <= 10000)
        return Measured;
    return n <= 100000 ? 100 : 10;
}

// One session of N readings, in this process.
Result runSession(qint64 n, bool plain) {
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
    s.updatePeriod = 1; // every reading grows the table and hands it over
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

    // The session up to the timed readings, thinned, the event loop run
    // (drawing a frame when one is due) every EventsEvery readings.
    const qint64 before = residentBytes();
    const qint64 timed = std::min(n, timedReadings(n, plain));
    const qint64 untimed = n - timed;
    for (qint64 i = 0; i < untimed; ++i) {
        reading();
        if ((i + 1) % EventsEvery == 0)
            QCoreApplication::processEvents();
    }
    for (int i = 0; i < 1000 && chart.drawingPending(); ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qint64 after = residentBytes();
    // The drawing under test (the plain one draws every point at once now).
    chart.setDrawing({!plain, !plain});
    QCoreApplication::processEvents();

    const double start = cpuMicros();
    for (qint64 i = 0; i < timed; ++i)
        reading();
    const double handOff = cpuMicros() - start;
    for (int i = 0; i < 1000 && chart.drawingPending(); ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);

    // A frame: the newest table drawn anew (curve, axes, value range) and
    // painted.
    const int repeats = plain && n > 10000 ? 3 : 20;
    const int paintsBefore = counter.paints;
    const double frameStart = cpuMicros();
    for (int i = 0; i < repeats; ++i) {
        chart.setDrawing(chart.drawing());
        viewport->repaint();
    }
    const double frame = (cpuMicros() - frameStart) / repeats;
    if (counter.paints - paintsBefore != repeats) {
        std::fprintf(stderr, "repaint() did not paint\n");
        std::exit(1);
    }

    Result r;
    r.readings = n;
    r.timed = timed;
    r.handOffMicros = timed > 0 ? handOff / double(timed) : 0.0;
    r.frameMicros = frame;
    r.bytesPerReading = double(after - before) / double(std::max<qint64>(1, untimed));
    r.pointCount = s.pointCount;
    if (!plain)
        exploreSteps(viewport, &r);
    return r;
}

// Groups a second through the pipeline with no chart updates: a stand-in
// chart, update period 1000, recording into a file.
double pipelineRate(qint64 n) {
    ScriptedSerialPort port;
    ScriptedPrompts prompts;
    MemorySettingsStore settings;
    FakeClock clock;
    CountingBeeper beeper;
    FixedInstallInfo install;
    RecordingLauncher launcher;
    MemoryMainView view;
    RecordingChart chart;
    TerminalLogic logic(Services{port, chart, prompts, settings, clock, beeper, install, launcher, view});
    logic.load();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.txt"));
    if (!logic.recording().openAt(path, QStringLiteral("record.txt"))) {
        std::fprintf(stderr, "cannot record into %s\n", qPrintable(path));
        std::exit(1);
    }
    logic.portControl().togglePort();
    SessionState &s = logic.state();
    s.updatePeriod = 1000;
    s.temperature = -1;
    Furnace furnace;
    const double start = cpuMicros();
    for (qint64 i = 0; i < n; ++i) {
        clock.advance(640);
        port.receive(QByteArray::number(furnace.next()).rightJustified(4, '0') + "\r\n");
        if ((i & 1023) == 0) {
            port.log.clear();
            chart.calls.clear();
        }
    }
    const double seconds = (cpuMicros() - start) / 1e6;
    logic.recording().closeRecording();
    QFile file(path);
    if (s.pointCount != n || !file.open(QIODevice::ReadOnly) || file.readAll().count('\n') != n) {
        std::fprintf(stderr, "not every group was stored and recorded\n");
        std::exit(1);
    }
    return double(n) / seconds;
}

} // namespace

int main(int argc, char **argv) {
    pinLocalTimeZone(); // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();

    // A child run: one session, its figures on one line.
    if (args.size() == 4 && args[1] == QStringLiteral("--readings")) {
        const Result r = runSession(args[2].toLongLong(), args[3] == QStringLiteral("plain"));
        std::printf("%lld %.3f %lld %.3f %.3f %lld %.3f %.3f\n", static_cast<long long>(r.readings), r.handOffMicros,
                    static_cast<long long>(r.timed), r.frameMicros, r.bytesPerReading,
                    static_cast<long long>(r.pointCount), r.zoomMicros, r.panMicros);
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
    std::printf("update period 1 (every reading grows the table and hands it to the chart), X axis shown.\n");
    std::printf("thinned: the program's chart (curve thinned to the plot width, drawn at most once a frame);\n");
    std::printf("plain:   the baseline (every point handed over and drawn at every update, no coalescing).\n");
    std::printf("Times are CPU time of the process (clock_gettime CLOCK_PROCESS_CPUTIME_ID).\n");
    std::printf("Hand-off: the handler's call per reading, chart hand-off included, mean over the last readings\n");
    std::printf("          of the session (count in brackets).\n");
    std::printf("Frame:    the newest table made into curve, axes and value range, then painted; mean.\n");
    std::printf("Memory:   resident set size after the session minus before its first reading, per reading\n");
    std::printf("          (thinned drawing). Table storage in theory: %.2f bytes per column.\n",
                double(sizeof(ReadingsChunk)) / double(ReadingsChunk::Columns));
    std::printf("Zoom, pan: one wheel notch over the plot / one drag step of 40 pixels (thinned drawing), the\n"
                "          stretch on view thinned and painted; CPU ms, median of 16.\n\n");
    std::printf("%10s %30s %22s %14s %8s %8s\n", "N", "hand-off us/reading", "frame ms", "bytes/reading", "zoom ms",
                "pan ms");
    std::printf("%10s %11s %18s %11s %10s\n", "", "thinned", "plain", "thinned", "plain");
    std::fflush(stdout);

    auto child = [](qint64 n, const char *mode, QList<QByteArray> *fields) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--readings"), QString::number(n), QString::fromLatin1(mode)});
        if (!process.waitForFinished(-1) || process.exitCode() != 0)
            return false;
        *fields = process.readAllStandardOutput().simplified().split(' ');
        return fields->size() == 8 && (*fields)[5].toLongLong() == n;
    };
    int failures = 0;
    for (qint64 n = 1000; n <= largest; n *= 10) {
        QList<QByteArray> thinned, plain;
        if (!child(n, "thinned", &thinned) || !child(n, "plain", &plain)) {
            std::printf("%10lld   session failed\n", static_cast<long long>(n));
            ++failures;
            continue;
        }
        const QString plainHandOff =
            QStringLiteral("%1 (%2)").arg(plain[1].toDouble(), 0, 'f', 1).arg(plain[2].toLongLong());
        std::printf("%10lld %11.1f %18s %11.2f %10.2f %14.1f %8.2f %8.2f\n", static_cast<long long>(n),
                    thinned[1].toDouble(), qPrintable(plainHandOff), thinned[3].toDouble() / 1000.0,
                    plain[3].toDouble() / 1000.0, thinned[4].toDouble(), thinned[6].toDouble() / 1000.0,
                    thinned[7].toDouble() / 1000.0);
        std::fflush(stdout);
    }

    const double rate = pipelineRate(200000);
    std::printf("\nPipeline without chart updates (stand-in chart, update period 1000, recording into a file):\n"
                "%.0f groups a second of CPU time (200000 groups; the baseline draws nothing here either).\n",
                rate);
    return failures == 0 ? 0 : 1;
}
