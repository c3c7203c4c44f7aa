// zorneta-sim: a simulated thermoregulator on a pseudo-terminal, for trying
// the terminal without a furnace. Prints "Device: /dev/pts/N" first; point the
// program at that port. Runs until interrupted.

#include "simulator/ThermoSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using zorneta::sim::SimOptions;
using zorneta::sim::ThermoSimulator;

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int signo) {
    const int saved = errno;
    const char byte = char(signo);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

// SIGINT, SIGTERM and SIGHUP end the event loop through a pipe, so the
// cleanup runs in ordinary code.
bool catchStopSignals(QCoreApplication &app) {
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signo : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signo, &action, nullptr);
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        while (::read(g_signalPipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::quit();
    });
    return true;
}

void say(FILE *stream, const QString &line) {
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString byteText(char c) {
    const auto u = static_cast<unsigned char>(c);
    QString shown;
    switch (u) {
    case '\r':
        shown = u"\\r"_s;
        break;
    case '\n':
        shown = u"\\n"_s;
        break;
    case '\t':
        shown = u"\\t"_s;
        break;
    default:
        shown = (u >= 0x20 && u < 0x7f) ? QString(QLatin1Char(c)) : u"."_s;
    }
    return u"rx 0x%1 '%2'"_s.arg(uint(u), 2, 16, QLatin1Char('0')).arg(shown);
}

struct Parsed {
    SimOptions options;
    QString link;
    bool verbose = false;
};

bool parse(const QCoreApplication &app, Parsed *out, QString *error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Simulated МЛ thermoregulator on a pseudo-terminal."_s);
    parser.addHelpOption();
    const QCommandLineOption periodOpt(u"period-ms"_s, u"Milliseconds between groups (640)."_s, u"ms"_s, u"640"_s);
    const QCommandLineOption breakOpt(u"break-at"_s, u"Send 9999 (broken thermocouple) as reading N."_s, u"N"_s);
    const QCommandLineOption garbleOpt(u"garble-at"_s, u"Send readings N,... garbled."_s, u"N[,N...]"_s);
    const QCommandLineOption splitOpt(u"split"_s, u"Write every group in pieces of 2, 3 and 1 bytes."_s);
    const QCommandLineOption burstOpt(u"burst-at"_s, u"Write K readings from N in one write."_s, u"N"_s);
    const QCommandLineOption burstCountOpt(u"burst-count"_s, u"Readings in the burst (3)."_s, u"K"_s, u"3"_s);
    const QCommandLineOption echoOpt(u"echo"_s, u"Print every byte the program sends, as hex and char."_s);
    const QCommandLineOption speedupOpt(u"speedup"_s, u"Run the heating program X times faster (1)."_s, u"X"_s, u"1"_s);
    const QCommandLineOption rampOpt(u"ramp"_s, u"Heating rate, °C/min (10)."_s, u"rate"_s, u"10"_s);
    const QCommandLineOption setpointOpt(u"setpoint"_s, u"Set point, °C (850)."_s, u"C"_s, u"850"_s);
    const QCommandLineOption holdOpt(u"hold-min"_s, u"Hold at the set point, minutes (30)."_s, u"min"_s, u"30"_s);
    const QCommandLineOption linkOpt(u"link"_s, u"Make PATH a symlink to the device while running."_s, u"PATH"_s);
    const QCommandLineOption verboseOpt({u"v"_s, u"verbose"_s}, u"Print every group sent."_s);
    parser.addOptions({periodOpt, breakOpt, garbleOpt, splitOpt, burstOpt, burstCountOpt, echoOpt, speedupOpt, rampOpt,
                       setpointOpt, holdOpt, linkOpt, verboseOpt});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        *error = u"unexpected argument: %1"_s.arg(parser.positionalArguments().constFirst());
        return false;
    }

    SimOptions &o = out->options;
    bool ok = true;
    const auto number = [&](const QCommandLineOption &opt, double min) {
        bool good = false;
        const double v = parser.value(opt).toDouble(&good);
        if (!good || v < min) {
            *error = u"bad value for --%1: %2"_s.arg(opt.names().constFirst(), parser.value(opt));
            ok = false;
        }
        return v;
    };
    const auto reading = [&](const QString &text, const QString &name) {
        bool good = false;
        const qint64 v = text.trimmed().toLongLong(&good);
        if (!good || v < 1) {
            *error = u"bad reading number for --%1: %2"_s.arg(name, text);
            ok = false;
        }
        return v;
    };

    o.periodMs = int(number(periodOpt, 1));
    o.burstCount = int(number(burstCountOpt, 1));
    o.speedup = number(speedupOpt, 1e-6);
    o.program.rampCPerMin = number(rampOpt, 0);
    o.program.setpointC = number(setpointOpt, -273);
    o.program.holdMin = number(holdOpt, 0);
    if (parser.isSet(breakOpt))
        o.breakAt = reading(parser.value(breakOpt), u"break-at"_s);
    if (parser.isSet(burstOpt))
        o.burstAt = reading(parser.value(burstOpt), u"burst-at"_s);
    if (parser.isSet(garbleOpt)) {
        for (const QString &part : parser.value(garbleOpt).split(u','))
            o.garbleAt.append(reading(part, u"garble-at"_s));
    }
    o.split = parser.isSet(splitOpt);
    o.echoReceived = parser.isSet(echoOpt);
    out->link = parser.value(linkOpt);
    out->verbose = parser.isSet(verboseOpt);
    return ok;
}

// Points path at the device, replacing a symlink left by an earlier run but
// never anything else.
bool makeLink(const QString &path, const QString &device, QString *error) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        QFile::remove(path);
    } else if (info.exists()) {
        *error = u"%1 exists and is not a symlink"_s.arg(path);
        return false;
    }
    if (::symlink(QFile::encodeName(device).constData(), QFile::encodeName(path).constData()) != 0) {
        *error = u"cannot create %1: %2"_s.arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

void removeLink(const QString &path, const QString &device) {
    const QFileInfo info(path);
    if (info.isSymLink() && info.symLinkTarget() == device)
        QFile::remove(path);
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"zorneta-sim"_s);

    Parsed parsed;
    QString error;
    if (!parse(app, &parsed, &error)) {
        say(stderr, u"zorneta-sim: "_s + error);
        return 2;
    }
    if (!catchStopSignals(app)) {
        say(stderr, u"zorneta-sim: cannot set up signal handling"_s);
        return 1;
    }

    ThermoSimulator sim(parsed.options);
    if (!sim.start(&error)) {
        say(stderr, u"zorneta-sim: cannot open a pseudo-terminal: "_s + error);
        return 1;
    }
    const QString device = sim.devicePath();
    say(stdout, u"Device: "_s + device);
    if (!parsed.link.isEmpty() && !makeLink(parsed.link, device, &error)) {
        say(stderr, u"zorneta-sim: "_s + error);
        return 1;
    }

    const zorneta::sim::TemperatureProfile &profile = sim.profile();
    say(stderr, u"Ramp %1 °C/min to %2 °C (reached in %3 min), hold %4 min, speed-up %5x, a group every %6 ms"_s
                    .arg(parsed.options.program.rampCPerMin)
                    .arg(parsed.options.program.setpointC)
                    .arg(profile.rampEndSeconds() / 60.0, 0, 'f', 1)
                    .arg(parsed.options.program.holdMin)
                    .arg(parsed.options.speedup)
                    .arg(parsed.options.periodMs));

    if (parsed.options.echoReceived) {
        QObject::connect(&sim, &ThermoSimulator::bytesReceived, &app, [](const QByteArray &bytes) {
            for (const char c : bytes)
                say(stdout, byteText(c));
        });
    }
    if (parsed.verbose) {
        QObject::connect(&sim, &ThermoSimulator::groupWritten, &app, [](int index, const QByteArray &bytes) {
            say(stdout, u"#%1 %2"_s.arg(index).arg(QString::fromLatin1(bytes.left(4))));
        });
    }

    const int rc = app.exec();
    sim.unplug();
    if (!parsed.link.isEmpty())
        removeLink(parsed.link, device);
    return rc;
}
