// The web endpoint under load: the real recorder without a window
// (`zorneta --headless --serve`) reads a pseudo-terminal fed at 320 groups a
// second, first with no page open, then with 100 pages receiving the event
// stream. Prints the program's CPU time per second of wall time, the groups
// lost, the memory each page costs the program, and how long each group takes
// from the line to each page (median, 99th percentile and worst). With
// --window the program is the one with the main window (offscreen, the port
// opened at start) instead of the recorder. In both, the endpoint is served
// on the program's main thread, so the time it takes to answer a request
// while the line runs tells how quickly the program answers anything.
//   bench_web [--seconds S] [--clients N] [--rate R] [--window]

#include "simulator/PtyPair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace zorneta;

namespace {

double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the whole line (12 and 13 here).
    return double(fields.value(11).toLongLong() + fields.value(12).toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}

qint64 residentKiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

void waitFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QByteArray get(quint16 port, const QByteArray &path) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray got;
    while (socket.waitForReadyRead(5000))
        got += socket.readAll();
    return got.mid(got.indexOf("\r\n\r\n") + 4);
}

qint64 totalOf(const QByteArray &json) {
    const qsizetype at = json.indexOf("\"total\":");
    return at < 0 ? -1 : json.mid(at + 8, 20).split(',').value(0).split('}').value(0).toLongLong();
}

struct Page {
    std::unique_ptr<QTcpSocket> socket;
    QByteArray pending;
    qint64 seenTotal = 0;
    bool started = false;
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    int seconds = 10;
    int clients = 100;
    double rate = 320;
    const QStringList args = app.arguments();
    const bool window = args.contains(QStringLiteral("--window"));
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QStringLiteral("--seconds"))
            seconds = args[i + 1].toInt();
        else if (args[i] == QStringLiteral("--clients"))
            clients = args[i + 1].toInt();
        else if (args[i] == QStringLiteral("--rate"))
            rate = args[i + 1].toDouble();
    }

    QTemporaryDir dir;
    sim::PtyPair line;
    QString error;
    if (!line.open(&error)) {
        std::fprintf(stderr, "bench_web: %s\n", qPrintable(error));
        return 1;
    }
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    QProcess program;
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(dir.filePath(QStringLiteral("errors.txt")));
    QStringList programArgs{QStringLiteral("--com"), QStringLiteral("1=") + line.devicePath(),
                            QStringLiteral("--serve"), QString::number(port)};
    if (window) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        programArgs << QStringLiteral("--open-port");
    } else {
        programArgs << QStringLiteral("--headless") << QStringLiteral("--record")
                    << dir.filePath(QStringLiteral("furnace.txt"));
    }
    program.start(QStringLiteral(ZORNETA_BINARY), programArgs);
    if (!program.waitForStarted(10000))
        return 1;
    const qint64 pid = program.processId();
    QElapsedTimer clock;
    clock.start();
    while (get(port, "/api/session").isEmpty() && clock.elapsed() < 20000)
        waitFor(100);

    // The line: groups written at the rate, each one's time kept.
    std::vector<qint64> writtenAt;
    QElapsedTimer lineClock;
    qint64 lineStart = 0;
    bool feeding = false;
    QTimer feeder;
    feeder.setTimerType(Qt::PreciseTimer);
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        if (!feeding)
            return;
        const qint64 due = qint64(double(lineClock.elapsed() - lineStart) * rate / 1000.0);
        while (qint64(writtenAt.size()) < due) {
            const QByteArray group = QByteArray::number(100 + writtenAt.size() % 800).rightJustified(4, '0') + "\r\n";
            if (::write(line.masterFd(), group.constData(), size_t(group.size())) != group.size())
                return;
            writtenAt.push_back(clock.elapsed());
        }
    });
    lineClock.start();
    feeder.start(5);

    std::vector<qint64> latencies;
    auto phase = [&](const char *name) {
        const qint64 before = writtenAt.size();
        const double cpu0 = cpuSeconds(pid);
        const qint64 wall0 = clock.elapsed();
        lineStart = lineClock.elapsed() - qint64(double(writtenAt.size()) * 1000.0 / rate);
        feeding = true;
        waitFor(seconds * 1000);
        // How long the program takes to answer while the line runs.
        std::vector<qint64> answers;
        for (int k = 0; k < 9; ++k) {
            QElapsedTimer asked;
            asked.start();
            get(port, "/api/session");
            answers.push_back(asked.elapsed());
            waitFor(50);
        }
        std::sort(answers.begin(), answers.end());
        feeding = false;
        const double cpu = cpuSeconds(pid) - cpu0;
        const double wall = double(clock.elapsed() - wall0) / 1000.0;
        waitFor(1000); // let the last groups through
        const qint64 total = totalOf(get(port, "/api/session"));
        const qint64 sent = qint64(writtenAt.size());
        std::printf("%-22s CPU %5.1f %% of a core, %lld groups sent in this phase, %lld lost\n", name,
                    100.0 * cpu / wall, static_cast<long long>(sent - before), static_cast<long long>(sent - total));
        std::printf("%-22s a request answered in %lld ms (median of 9), %lld ms at worst\n", "",
                    static_cast<long long>(answers[answers.size() / 2]), static_cast<long long>(answers.back()));
        std::fflush(stdout);
    };

    std::printf("bench_web: %s, %d s a phase at %.0f groups/s, %d pages\n",
                window ? "the program with its window" : "the recorder without a window", seconds, rate, clients);
    phase("no pages");

    const qint64 rssBefore = residentKiB(pid);
    std::vector<Page> pages{std::size_t(clients)};
    for (Page &p : pages) {
        p.socket = std::make_unique<QTcpSocket>();
        Page *page = &p;
        QObject::connect(p.socket.get(), &QTcpSocket::readyRead, [page, &writtenAt, &latencies, &clock] {
            page->pending += page->socket->readAll();
            qsizetype end;
            while ((end = page->pending.indexOf("\n\n")) >= 0) {
                const QByteArray event = page->pending.left(end);
                page->pending.remove(0, end + 2);
                if (!event.contains("event: state"))
                    continue;
                page->started = true;
                const qint64 total = totalOf(event);
                // Each group this update brings first to the page: from its write to now.
                if (page->seenTotal > 0) {
                    for (qint64 k = page->seenTotal; k < std::min(total, qint64(writtenAt.size())); ++k)
                        latencies.push_back(clock.elapsed() - writtenAt[std::size_t(k)]);
                }
                page->seenTotal = std::max(page->seenTotal, total);
            }
        });
        p.socket->connectToHost(QHostAddress::LocalHost, port);
        p.socket->write("GET /events?width=400 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    }
    const qint64 connectStart = clock.elapsed();
    while (clock.elapsed() - connectStart < 20000 &&
           std::count_if(pages.begin(), pages.end(), [](const Page &p) { return p.started; }) < clients)
        waitFor(50);
    waitFor(1000);
    const qint64 rssAfter = residentKiB(pid);
    char name[64];
    std::snprintf(name, sizeof name, "%d pages", clients);
    phase(name);
    std::printf("memory per page: %.1f KiB (resident %lld -> %lld KiB)\n",
                double(rssAfter - rssBefore) / std::max(clients, 1), static_cast<long long>(rssBefore),
                static_cast<long long>(rssAfter));
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        std::printf(
            "line to page, each group on each page: median %lld ms, 99th percentile %lld ms, worst %lld ms (%zu)\n",
            static_cast<long long>(latencies[latencies.size() / 2]),
            static_cast<long long>(latencies[latencies.size() * 99 / 100]), static_cast<long long>(latencies.back()),
            latencies.size());
    }
    program.terminate();
    program.waitForFinished(10000);
    return 0;
}
