// Reviewing a week of readings: a recording of 10^6 lines (one group every
// 0.64 s, past several midnights, with some garbage and a break) is written
// to a temporary folder, then opened, exported as CSV, thinned for drawing
// and reported, and the review window's chart zoomed a step at a time. Prints the time of each (wall clock and CPU time
// of this process) and the memory per reading.
//
//   build/bench/bench_review [lines]      default 1000000

#include "common/Formats.h"
#include "review/CsvExport.h"
#include "review/FiringRecord.h"
#include "review/CurvePlot.h"
#include "review/ReportRenderer.h"
#include "review/ReviewSession.h"
#include "review/ui/ReviewChart.h"

#include <QElapsedTimer>
#include <QFile>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <unistd.h>

using namespace zorneta;

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

QByteArray stamp(qint64 seconds) {
    seconds %= 24 * 3600;
    char text[10];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d\t", int(seconds / 3600), int(seconds / 60 % 60),
                  int(seconds % 60));
    return QByteArray(text, 9);
}

bool writeRecording(const QString &path, qint64 lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block;
    for (qint64 i = 0; i < lines; ++i) {
        const qint64 seconds = i * 64 / 100;
        QByteArray text;
        if (i % 10007 == 5000)
            text = "1#?Z";
        else if (i == lines / 2)
            text = "9999";
        else
            text = QByteArray::number(qRound(20 + 1100 * std::sin(double(i) / double(lines) * 3.14159)))
                       .rightJustified(4, '0');
        block += stamp(seconds) + text + '\n';
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
    return true;
}

struct Stopwatch {
    QElapsedTimer wall;
    double cpu = cpuSeconds();
    Stopwatch() { wall.start(); }
    void print(const char *what) const {
        std::printf("%-44s %8.3f s wall  %8.3f s CPU\n", what, double(wall.nsecsElapsed()) / 1e9, cpuSeconds() - cpu);
    }
};

} // namespace

int main(int argc, char *argv[]) {
    pinLocalTimeZone();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 lines = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("week.txt"));
    if (!writeRecording(path, lines)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("recording: %lld lines, %lld bytes\n", lines, qlonglong(QFile(path).size()));

    const qint64 before = residentBytes();
    FiringRecord record;
    {
        Stopwatch watch;
        const ReviewStatus loaded = record.load(path);
        watch.print("open (read, runs, readings)");
        if (!loaded) {
            std::fprintf(stderr, "%s\n", qPrintable(loaded.message()));
            return 1;
        }
    }
    const qint64 after = residentBytes();
    const RunSummary summary = record.summary(1, 1000.0);
    std::printf("runs %zu, readings %lld, breaks %lld, skipped lines %lld, duration %s\n", record.runs().size(),
                qlonglong(summary.readings), qlonglong(summary.breaks), qlonglong(summary.skipped),
                qPrintable(spanText(summary.duration)));
    std::printf("memory per reading: %.1f bytes held by the record, %.1f bytes resident growth\n",
                double(record.memoryBytes()) / double(record.entryCount()),
                double(after - before) / double(record.entryCount()));
    {
        Stopwatch watch;
        const RunSummary s = record.summary(1, 1000.0);
        watch.print("summary with an alarm temperature");
        std::printf("  highest %s at %s, at or above 1000 for %s\n", qPrintable(numberText(*s.highest)),
                    qPrintable(spanText(s.highestAt)), qPrintable(spanText(*s.secondsAtOrAbove)));
    }
    {
        Stopwatch watch;
        const QList<CurvePoint> points = record.curve(1, 1200);
        watch.print("whole curve thinned to 1200 columns");
        std::printf("  %lld points\n", qlonglong(points.size()));
    }
    {
        const QString csv = dir.filePath(QStringLiteral("week.csv"));
        QFile out(csv);
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        CsvOptions options;
        options.start = QDateTime::fromString(QStringLiteral("2026-12-01T08:00:00"), Qt::ISODate);
        Stopwatch watch;
        const ReviewStatus written = exportCsv(record, options, out);
        out.close();
        watch.print("export CSV (clock times, decimal point)");
        std::printf("  %lld bytes%s\n", qlonglong(QFile(csv).size()), written ? "" : " (FAILED)");
    }
    {
        ReportOptions options;
        options.alarm = 1000.0;
        options.sourceName = QStringLiteral("week.txt");
        Stopwatch watch;
        const ReviewStatus written = writeReport(path, dir.filePath(QStringLiteral("week.pdf")), options);
        watch.print("PDF report (open included)");
        if (!written)
            std::printf("  FAILED: %s\n", qPrintable(written.message()));
    }
    {
        // The review window's chart at 1000 x 500 pixels: one wheel notch
        // about the middle of what is on view, then the curve thinned for the
        // stretch now on view and painted into a picture of the widget's size.
        ReviewSession session;
        if (!session.open(path))
            return 1;
        ReviewChart chart(session);
        chart.resize(1000, 500);
        QImage picture(chart.size(), QImage::Format_RGB32);
        auto paint = [&] {
            QPainter painter(&picture);
            chart.paintChart(painter);
        };
        {
            Stopwatch watch;
            paint();
            watch.print("review chart: whole run painted");
        }
        std::printf("  %-10s %-12s %-14s %-14s\n", "step", "span", "curve() ms", "curve+paint ms");
        double total = 0.0;
        const int steps = 12;
        for (int step = 1; step <= steps; ++step) {
            CurveZoom &zoom = session.zoom();
            const double anchor = (zoom.from() + zoom.to()) / 2;
            zoom.zoomByWheel(anchor, CurveZoom::WheelNotch);
            QElapsedTimer curveTime;
            curveTime.start();
            const QList<CurvePoint> points =
                session.record().curve(session.run(), qint32(zoom.from()), qint32(zoom.to()), 1000 - 108);
            const double curveMs = double(curveTime.nsecsElapsed()) / 1e6;
            QElapsedTimer stepTime;
            stepTime.start();
            paint();
            const double stepMs = double(stepTime.nsecsElapsed()) / 1e6;
            total += stepMs;
            std::printf("  %-10d %-12s %-14.2f %-14.2f\n", step, qPrintable(spanText(qint64(zoom.to() - zoom.from()))),
                        curveMs, stepMs);
            (void)points;
        }
        std::printf("  mean zoom step (curve + paint) %.2f ms over %d notches\n", total / steps, steps);
    }
    return 0;
}
