// What "Вставить данные" costs on the real chart (offscreen): text put on the
// clipboard, then the chart's paste, timed, with the memory it took at its
// peak and what it kept. Cases: the program's own copy of a week of readings
// at 0.64 s and of two million points (the most a paste takes), and texts
// refused: 40 MB, a 20 MB label, a value of 1e308.
//
//   bench_paste            every case, each in a process of its own
//   bench_paste CASE       one case

#include "common/ChartDataText.h"
#include "common/ReadingsTable.h"
#include "platform/qt/QtChartSurface.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QProcess>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <malloc.h>

using namespace zorneta;

namespace {

// Kilobytes of /proc/self/status's field (VmRSS now, VmHWM the peak).
long statusKb(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// The peak from here on is measured afresh.
void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The text the program copies of a session of `points` readings.
QString sessionText(qint64 points) {
    ReadingsTable table(1, points + 1);
    table.setText(2, 1, QStringLiteral("08 декабря 14`05"));
    for (qint64 p = 1; p <= points; ++p) {
        table.setElapsedLabel(1, 1 + p, p * 64 / 100);
        table.setNumber(2, 1 + p, double(200 + (p * 7919) % 800));
    }
    table.setText(1, points + 1, QStringLiteral("C%1").arg(points + 1));
    return chartDataText(table);
}

QString caseText(const QString &name) {
    if (name == u"week")
        return sessionText(945000);
    if (name == u"two-million")
        return sessionText(ChartDataMaxPoints);
    if (name == u"40MB")
        return QString(40 * 1024 * 1024, u'7');
    if (name == u"label-20MB")
        return QStringLiteral("\t") + QString(20 * 1024 * 1024, u'x') + QStringLiteral("\r\nt\t1\r\n");
    if (name == u"1e308")
        return QStringLiteral("\t00:00:01\t00:00:02\r\nt\t20\t1e308\r\n");
    return QString();
}

int runCase(const QString &name) {
    QtChartSurface chart;
    chart.widget()->resize(1000, 600);
    QGuiApplication::clipboard()->setText(caseText(name));
    const qsizetype length = QGuiApplication::clipboard()->text().size();
    // What building the text freed goes back to the system, so the figures
    // below are the paste's own.
    malloc_trim(0);
    const long before = statusKb("VmRSS:");
    resetPeak();
    const auto wall = std::chrono::steady_clock::now();
    const double cpu = cpuSeconds();
    const Status pasted = chart.editPaste();
    const double cpuTaken = cpuSeconds() - cpu;
    const double wallTaken = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    const long peak = statusKb("VmHWM:");
    const long after = statusKb("VmRSS:");
    std::printf("%-12s %9.1f MB text  %-8s %7.3f s CPU %7.3f s wall  peak +%6.1f MB  kept +%6.1f MB  points %lld\n",
                qPrintable(name), double(length) / (1024.0 * 1024.0), pasted ? "taken" : "refused", cpuTaken, wallTaken,
                double(peak - before) / 1024.0, double(after - before) / 1024.0,
                static_cast<long long>(std::max<qint64>(0, chart.table().columnCount() - 1)));
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        return runCase(QString::fromLocal8Bit(argv[1]));
    for (const char *name : {"week", "two-million", "40MB", "label-20MB", "1e308"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(name)});
        child.waitForFinished(-1);
    }
    return 0;
}
