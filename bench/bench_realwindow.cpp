// The program's own main window, offscreen, receiving from the simulated
// thermoregulator on a real pseudo-terminal, with a long session already on
// the curve. For each way of drawing the chart (thinned and drawn at most once
// a frame, as the program does; every point handed over and drawn at every
// update, and the window painted whenever Qt asks: the plain baseline) and
// each pace of the line it prints:
//   - the CPU time this process took per second of wall time (getrusage),
//     while the line streams;
//   - groups sent, stored, recorded into the recording file, lost;
//   - tables drawn, paints of the chart and of the whole window per second.
// It also prints the time from a process start to the main window shown.
//
//   bench_realwindow [--seconds S] [--preload N] [--rate GROUPS_PER_SECOND] [--only CASE]
//
// The simulator runs in a child process (this program with --feed), so its
// work is not counted; the window runs in this process.

#include "common/Formats.h"
#include "common/ReadingsTable.h"
#include "platform/qt/QtChartSurface.h"
#include "session/SessionState.h"
#include "shell/TerminalLogic.h"
#include "shell/ui/Application.h"
#include "platform/qt/FramePacer.h"
#include "shell/ui/MainWindow.h"
#include "simulator/ThermoSimulator.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <vector>

using namespace zorneta;

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

qint64 realtimeNanos() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Runs the event loop for the given time.
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() or the time is up; whether done() came.
bool runUntil(const std::function<bool()> &done, int maxMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > maxMs)
            return false;
        runFor(10);
    }
    return true;
}

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

// --feed PERIOD_US SECONDS: the simulator. Prints the device path, waits for
// "go", sends for SECONDS, prints "sent N dropped D", then keeps the line up
// until its input ends.
int feed(int periodMicros, double seconds) {
    sim::SimOptions options;
    if (periodMicros % 1000 == 0)
        options.periodMs = periodMicros / 1000;
    else
        options.periodMicros = periodMicros;
    sim::ThermoSimulator simulator(options);
    QString error;
    if (!simulator.start(&error)) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(error));
        return 1;
    }
    simulator.stop(); // the line stays up, silent
    std::printf("%s\n", qPrintable(simulator.devicePath()));
    std::fflush(stdout);
    char line[64];
    if (!std::fgets(line, sizeof line, stdin))
        return 1;
    simulator.start();
    runFor(static_cast<int>(seconds * 1000.0));
    simulator.stop();
    std::printf("sent %lld dropped %lld\n", static_cast<long long>(simulator.groupsSent()),
                static_cast<long long>(simulator.groupsDropped()));
    std::fflush(stdout);
    while (std::fgets(line, sizeof line, stdin)) {
    }
    return 0;
}

// --startup T0: the main window built and shown; prints the seconds from T0
// (CLOCK_REALTIME nanoseconds taken by the parent just before starting this
// process) to the window exposed.
int startup(qint64 t0, int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Зорнета"));
    QApplication::setOrganizationName(QStringLiteral("Зорнета"));
    Application zorneta{StartOptions{}};
    QString error;
    if (!zorneta.startMain(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QWindow *window = zorneta.mainWindow()->windowHandle();
    while (!window || !window->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        window = zorneta.mainWindow()->windowHandle();
    }
    std::printf("%.4f\n", double(realtimeNanos() - t0) / 1e9);
    return 0;
}

// A furnace programme for the session already on the curve: heating, hold,
// cooling, with a little flicker; whole degrees.
double preloadValue(qint64 n) {
    const qint64 at = n % 60000;
    double t;
    if (at < 20000)
        t = 20.0 + 1080.0 * double(at) / 20000.0;
    else if (at < 35000)
        t = 1100.0;
    else
        t = 1100.0 - 1080.0 * double(at - 35000) / 25000.0;
    return std::round(t + double((n * 7919) % 5) - 2.0);
}

struct Scenario {
    const char *name;
    bool plain;       // every point, at every update
    int periodMicros; // of the line
};

struct Figures {
    double cpuPerWall = 0.0;
    qint64 sent = 0, dropped = 0, stored = 0, recorded = 0;
    double drawsPerSecond = 0.0, paintsPerSecond = 0.0, windowPaintsPerSecond = 0.0;
    double preloadSeconds = 0.0;
    bool drained = false;
};

qint64 countLines(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.readAll().count('\n');
}

Figures runScenario(const Scenario &scenario, double seconds, qint64 preload, const QString &dir) {
    Figures f;
    QProcess feeder;
    feeder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    feeder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--feed"), QString::number(scenario.periodMicros), QString::number(seconds)});
    if (!feeder.waitForStarted() || !feeder.waitForReadyRead(10000)) {
        std::fprintf(stderr, "the simulator did not start\n");
        std::exit(1);
    }
    const QString device = QString::fromLocal8Bit(feeder.readLine()).trimmed();

    StartOptions options;
    options.comBindings = {QStringLiteral("1=") + device};
    Application zorneta(options);
    QString error;
    if (!zorneta.startMain(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
    }
    MainWindow *window = zorneta.mainWindow();
    window->resize(1280, 800);
    TerminalLogic &logic = *zorneta.logic();
    QtChartSurface &chart = window->chart();
    chart.setDrawing({!scenario.plain, !scenario.plain});
    // The baseline coalesces nothing: the window paints whenever Qt asks.
    if (scenario.plain)
        delete window->findChild<FramePacer *>(QString(), Qt::FindDirectChildrenOnly);
    runUntil([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }, 10000);
    PaintCounter counter, windowCounter;
    window->installEventFilter(&windowCounter);
    auto *view = qobject_cast<QAbstractScrollArea *>(chart.widget());
    view->viewport()->installEventFilter(&counter);

    const QString recordPath = dir + QStringLiteral("/") + QString::fromLatin1(scenario.name) + QStringLiteral(".txt");
    logic.recording().openAt(recordPath, QFileInfo(recordPath).fileName());
    logic.portControl().togglePort();
    SessionState &s = logic.state();
    s.updatePeriod = 1;
    s.temperature = -1; // never reached: no alarm

    // The session so far: readings 1..preload, 0.64 s apart.
    QElapsedTimer preloading;
    preloading.start();
    ReadingsTable table(1, preload);
    table.setText(2, 1, seriesTitleText(s.startTime));
    for (qint64 c = 2; c <= preload; ++c) {
        table.setNumber(2, c, preloadValue(c));
        table.setElapsedLabel(1, c, (c - 1) * 64 / 100);
    }
    s.readings = std::move(table);
    s.pointCount = preload;
    // The X-axis spacing as the handler widened it while the session grew
    // (doubled while there are more than 50 ticks), so the line meets the
    // steady state of a long session.
    if (s.autoTickDivision && s.xTickDivisions > 0) {
        while (s.readings.lastColumn() / s.xTickDivisions > 50 && s.xTickDivisions <= 16383)
            s.xTickDivisions = static_cast<std::int16_t>(s.xTickDivisions * 2);
        s.xLabelDivisions = s.xTickDivisions;
        (void)chart.setDivisionsPerTick(s.xTickDivisions);
        (void)chart.setDivisionsPerLabel(s.xLabelDivisions);
    }
    logic.chart().updateChart();
    runUntil([&] { return !chart.drawingPending(); }, 600000);
    runFor(300);
    f.preloadSeconds = double(preloading.elapsed()) / 1000.0;

    const qint64 storedBefore = s.pointCount;
    const quint64 drawnBefore = chart.tablesDrawn();
    const int paintsBefore = counter.paints;
    const int windowPaintsBefore = windowCounter.paints;
    const qint64 linesBefore = countLines(recordPath);
    feeder.write("go\n");
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(static_cast<int>(seconds * 1000.0));
    const double cpu = cpuSeconds() - cpu0;
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    f.cpuPerWall = cpu / elapsed;
    f.drawsPerSecond = double(chart.tablesDrawn() - drawnBefore) / elapsed;
    f.paintsPerSecond = double(counter.paints - paintsBefore) / elapsed;
    f.windowPaintsPerSecond = double(windowCounter.paints - windowPaintsBefore) / elapsed;

    // The count of groups sent, then what is still on the line.
    QByteArray sentLine;
    runUntil(
        [&] {
            if (feeder.canReadLine())
                sentLine = feeder.readLine();
            return !sentLine.isEmpty();
        },
        60000);
    const QList<QByteArray> words = sentLine.simplified().split(' ');
    if (words.size() == 4) {
        f.sent = words[1].toLongLong();
        f.dropped = words[3].toLongLong();
    }
    qint64 last = -1;
    QElapsedTimer still;
    still.start();
    f.drained = runUntil(
        [&] {
            if (s.pointCount != last) {
                last = s.pointCount;
                still.restart();
            }
            return s.pointCount - storedBefore >= f.sent || still.elapsed() > 2000;
        },
        120000);
    f.stored = s.pointCount - storedBefore;
    logic.recording().closeRecording();
    f.recorded = countLines(recordPath) - linesBefore;
    feeder.closeWriteChannel();
    feeder.waitForFinished(10000);
    return f;
}

} // namespace

int main(int argc, char **argv) {
    pinLocalTimeZone(); // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings of this run only.
    QTemporaryDir config;
    if (qEnvironmentVariableIsEmpty("ZORNETA_BENCH_CONFIG")) {
        qputenv("ZORNETA_BENCH_CONFIG", "1");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    if (argc == 4 && std::strcmp(argv[1], "--feed") == 0) {
        QCoreApplication app(argc, argv);
        return feed(std::atoi(argv[2]), std::atof(argv[3]));
    }
    if (argc == 3 && std::strcmp(argv[1], "--startup") == 0)
        return startup(std::atoll(argv[2]), argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Зорнета"));
    QApplication::setOrganizationName(QStringLiteral("Зорнета"));
    double seconds = 10.0;
    qint64 preload = 1000000;
    double rate = 320.0;
    QString only; // one case by name
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--seconds"))
            seconds = args[i + 1].toDouble();
        else if (args[i] == QStringLiteral("--preload"))
            preload = args[i + 1].toLongLong();
        else if (args[i] == QStringLiteral("--rate"))
            rate = args[i + 1].toDouble();
        else if (args[i] == QStringLiteral("--only"))
            only = args[i + 1];
    }
    if (seconds <= 0.0 || preload < 2 || rate <= 0.0) {
        std::fprintf(stderr,
                     "usage: bench_realwindow [--seconds S] [--preload N] [--rate GROUPS_PER_SECOND] [--only CASE]\n");
        return 2;
    }

    // Start-up: five fresh processes, the median.
    std::vector<double> starts;
    for (int i = 0; i < 5; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const qint64 t0 = realtimeNanos();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--startup"), QString::number(t0)});
        if (child.waitForFinished(60000) && child.exitCode() == 0)
            starts.push_back(child.readAllStandardOutput().trimmed().toDouble());
    }
    std::sort(starts.begin(), starts.end());
    if (starts.empty()) {
        std::printf("Start-up: failed\n");
    } else {
        std::printf("From process start to the main window shown (offscreen), median of %zu: %.3f s "
                    "(fastest %.3f s, slowest %.3f s; target under 0.3 s)\n\n",
                    starts.size(), starts[starts.size() / 2], starts.front(), starts.back());
    }
    std::fflush(stdout);

    QTemporaryDir dir;
    const int fastPeriod = static_cast<int>(std::lround(1e6 / rate));
    const Scenario scenarios[] = {
        {"thinned-per-frame", false, fastPeriod},
        {"plain-every-update", true, fastPeriod},
        {"thinned-per-frame-0.64s", false, 640000},
        {"plain-every-update-0.64s", true, 640000},
    };
    std::printf("Main window 1280x800 offscreen, update period 1, recording on, %lld readings on the curve before\n"
                "the line starts; the line runs %.0f s per case. CPU: this process's user+system time per second of\n"
                "wall time while the line runs (1.00 = one core). Lost = sent - stored after the line drained.\n\n",
                static_cast<long long>(preload), seconds);
    std::printf("%-26s %8s %6s %8s %8s %8s %6s %8s %12s %12s %9s\n", "drawing", "groups/s", "CPU", "sent", "stored",
                "recorded", "lost", "draws/s", "chart paints", "window paints", "preload s");
    std::printf("%-26s %8s %6s %8s %8s %8s %6s %8s %12s %12s %9s\n", "", "", "", "", "", "", "", "", "per s", "per s",
                "");
    std::fflush(stdout);
    for (const Scenario &scenario : scenarios) {
        if (!only.isEmpty() && only != QString::fromLatin1(scenario.name))
            continue;
        const Figures f = runScenario(scenario, seconds, preload, dir.path());
        std::printf("%-26s %8.2f %6.3f %8lld %8lld %8lld %6lld %8.1f %12.1f %12.1f %9.1f%s\n", scenario.name,
                    1e6 / scenario.periodMicros, f.cpuPerWall, static_cast<long long>(f.sent),
                    static_cast<long long>(f.stored), static_cast<long long>(f.recorded),
                    static_cast<long long>(f.sent - f.stored), f.drawsPerSecond, f.paintsPerSecond,
                    f.windowPaintsPerSecond, f.preloadSeconds, f.drained ? "" : "  (not drained)");
        std::fflush(stdout);
    }
    return 0;
}
