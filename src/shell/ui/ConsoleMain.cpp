#include "shell/ui/ConsoleMain.h"

#include "platform/qt/PortDirectory.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtSystem.h"
#include "platform/qt/Translations.h"
#include "shell/HeadlessRecorder.h"
#include "shell/MonitorFeed.h"
#include "shell/ui/Application.h"
#include "shell/ui/CommandLine.h"
#include "simulator/ThermoSimulator.h"

#include <QByteArrayList>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace zorneta {

namespace {

constexpr int BadArguments = 2;

// SIGINT, SIGTERM and SIGHUP reach the event loop through a socket pair:
// the handler only writes the signal's number as a byte, the loop reads it
// and stops the recording, or (SIGHUP) opens its file again.
int g_signalSocket = -1;

void onSignal(int number) {
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(g_signalSocket, &byte, 1);
}

bool catchSignals(QObject *context, const std::function<void()> &stop, const std::function<void()> &reopen) {
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return false;
    g_signalSocket = sockets[0];
    auto *notifier = new QSocketNotifier(sockets[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [notifier, stop, reopen] {
        char byte = 0;
        if (::read(static_cast<int>(notifier->socket()), &byte, 1) == 1 && byte == char(SIGHUP))
            reopen();
        else
            stop();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGHUP, &action, nullptr) == 0;
}

void printLine(std::FILE *stream, const QString &text) {
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

int runHeadless(QCoreApplication &app, const StartOptions &options) {
    PortDirectory directory;
    std::unique_ptr<sim::ThermoSimulator> simulator;
    HeadlessRecorder::Settings settings;
    settings.recordPath = options.recordPath;
    settings.portSettings = options.portSettings;
    settings.reconnect = options.reconnect;
    QString error;
    if (options.simulate) {
        sim::SimOptions simOptions;
        simOptions.speedup = options.simulationSpeedup;
        simulator = std::make_unique<sim::ThermoSimulator>(simOptions);
        if (!simulator->start(&error)) {
            printLine(stderr, QStringLiteral("zorneta: ") + error);
            return HeadlessRecorder::Failed;
        }
        directory.bind(1, simulator->devicePath());
        settings.portNumber = 1;
    }
    // The first binding names the port recorded from.
    for (qsizetype i = 0; i < options.comBindings.size(); ++i) {
        int number = 0;
        QString path;
        if (!PortDirectory::parseBinding(options.comBindings.at(i), &number, &path, &error) ||
            !directory.bind(number, path, &error)) {
            printLine(stderr, QStringLiteral("zorneta: ") + error);
            return BadArguments;
        }
        if (i == 0 && !options.simulate)
            settings.portNumber = number;
    }

    QFile out;
    QFile errors;
    // On the descriptors themselves, past the C library's buffers: each group
    // reaches a pipe as it arrives.
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !errors.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return HeadlessRecorder::Failed;
    // A reader of standard output (or of standard error) that goes away must
    // not end the recording: the write then fails and the recorder says so.
    ::signal(SIGPIPE, SIG_IGN);
    QtSerialPort port(directory);
    SystemClock clock;
    HeadlessRecorder recorder(port, clock, out, errors);
    if (!recorder.start(settings, &error)) {
        printLine(stderr, QStringLiteral("zorneta: ") + error);
        return HeadlessRecorder::Failed;
    }
    // With the web endpoint the recorder outlives the end of reception and
    // reports it there, so a watcher sees why (and no service manager
    // restarts it in a loop); without it the end is the exit status.
    std::unique_ptr<MonitorFeed> monitor;
    if (options.serve) {
        monitor = std::make_unique<MonitorFeed>(recorder.core(), options.serveConfig);
        if (!monitor->start(&error)) {
            printLine(stderr, QStringLiteral("zorneta: ") + error);
            return HeadlessRecorder::Failed;
        }
    }
    QObject::connect(&recorder, &HeadlessRecorder::ended, &app, [&monitor](int status) {
        if (!monitor) {
            QCoreApplication::exit(status);
            return;
        }
        monitor->receptionEnded(status);
        printLine(stderr, QStringLiteral("zorneta: приём завершён, состояние видно на странице наблюдения"));
    });
    if (!catchSignals(
            &app,
            [&recorder] {
                recorder.stop();
                QCoreApplication::exit(HeadlessRecorder::Stopped);
            },
            [&recorder] { recorder.reopenRecord(); })) {
        printLine(stderr, QStringLiteral("zorneta: не удалось перехватить сигналы завершения"));
        return HeadlessRecorder::Failed;
    }
    const int status = QCoreApplication::exec();
    recorder.stop();
    return status;
}

bool hasVariable(const char *name) {
    return !qEnvironmentVariableIsEmpty(name);
}

bool x11Reachable() {
    return hasVariable("DISPLAY");
}

bool waylandReachable() {
    if (hasVariable("WAYLAND_DISPLAY") || hasVariable("WAYLAND_SOCKET"))
        return true;
    // Without WAYLAND_DISPLAY a client connects to the socket "wayland-0".
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFile::exists(QDir(runtime).filePath(QStringLiteral("wayland-0")));
}

} // namespace

const char NoDisplayText[] =
    "zorneta: нет экрана (не заданы DISPLAY и WAYLAND_DISPLAY); запись без окна: zorneta --headless";

bool displayReachable() {
    // QT_QPA_PLATFORM names one platform or several to try in turn, each
    // maybe with options after a colon.
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM").trimmed();
    if (chosen.isEmpty())
        return x11Reachable() || waylandReachable();
    for (const QByteArray &entry : chosen.split(';')) {
        const QByteArray name = entry.split(':').constFirst().trimmed();
        if (name == "xcb") {
            if (x11Reachable())
                return true;
        } else if (name.startsWith("wayland")) {
            if (waylandReachable())
                return true;
        } else if (!name.isEmpty()) {
            return true;
        }
    }
    return false;
}

int runWithoutDisplay(int &argc, char **argv) {
    // A report is painted: fonts and painting need a GUI application, always
    // on the offscreen platform, so no screen is ever reached for.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<QCoreApplication> application;
    const CommandLine early = CommandLine::parse(arguments, false);
    if (early.request == CommandLine::Request::Run && early.options.review.mode == ReviewRequest::Mode::Report) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("Зорнета"));
    QCoreApplication::setOrganizationName(QStringLiteral("Зорнета"));
    installRussianTranslation(app);

    const CommandLine line = CommandLine::parse(QCoreApplication::arguments());
    switch (line.request) {
    case CommandLine::Request::Help:
    case CommandLine::Request::Version:
        std::fputs(line.text.toLocal8Bit().constData(), stdout);
        if (!line.text.endsWith(u'\n'))
            std::fputc('\n', stdout);
        return 0;
    case CommandLine::Request::InstallInfo:
        return Application::printInstallation();
    case CommandLine::Request::Error:
        printLine(stderr, QStringLiteral("zorneta: ") + line.text);
        return BadArguments;
    case CommandLine::Request::Run:
        break;
    }
    if (line.options.review.mode != ReviewRequest::Mode::None) {
        QString message;
        const int status = runReview(line.options.review, &message);
        if (status != 0)
            printLine(stderr, QStringLiteral("zorneta: ") + message);
        return status;
    }
    return runHeadless(app, line.options);
}

} // namespace zorneta
