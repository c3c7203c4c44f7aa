// The README's pictures of the review: writes a recording of a firing (a
// heating, a hold, a thermocouple break, the cooling, some garbage) to
// OUTDIR/firing.txt, opens it in the real review window offscreen, zooms
// in one wheel notch, points at the hold and saves the window to
// OUTDIR/review-window.png. The report page is then `zorneta --report`.
//
//   build/tools/review-pictures OUTDIR

#include "common/Formats.h"
#include "platform/qt/QtPrompts.h"
#include "review/ui/ReviewChart.h"
#include "review/ui/ReviewWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>
#include <cstdio>

using namespace zorneta;

namespace {
double temperature(double hours) {
    if (hours < 6.0)
        return 20.0 + 1080.0 * hours / 6.0;
    if (hours < 7.5)
        return 1100.0 + 4.0 * std::sin(hours * 9.0);
    return 100.0 + 1000.0 * std::exp(-(hours - 7.5) / 2.2);
}

QByteArray firing() {
    QByteArray bytes;
    const int lines = int(14 * 3600 / 0.64);
    for (int i = 0; i < lines; ++i) {
        const qint64 ms = qint64(i) * 640;
        const qint64 s = ms / 1000;
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "%02lld:%02lld:%02lld\t", s / 3600, s / 60 % 60, s % 60);
        bytes += stamp;
        const double hours = double(ms) / 3.6e6;
        if (hours > 3.0 && hours < 3.0 + 2.0 / 3600)
            bytes += "9999\n";
        else if (i % 9000 == 4500)
            bytes += "1#?Z\n";
        else
            bytes += QByteArray::number(qRound(temperature(hours))).rightJustified(4, '0') + '\n';
    }
    return bytes;
}
} // namespace

int main(int argc, char *argv[]) {
    pinLocalTimeZone();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: review-pictures OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const QString record = out.filePath(QStringLiteral("firing.txt"));
    {
        QFile file(record);
        if (!file.open(QIODevice::WriteOnly) || file.write(firing()) < 0)
            return 1;
        file.close();
        // Last written at 22:00:00: the run began at 08:00:00.
        QFile touched(record);
        if (!touched.open(QIODevice::ReadWrite) ||
            !touched.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(21, 59, 59)), QFileDevice::FileModificationTime))
            return 1;
    }
    QtPrompts prompts;
    ReviewWindow window(prompts, nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    if (!window.openFile(record)) {
        std::fprintf(stderr, "%s\n", qPrintable(window.session().failure()));
        return 1;
    }
    window.resize(960, 600);
    window.show();
    QCoreApplication::processEvents();
    ReviewChart *chart = window.chart();
    const QPointF centre(chart->xAt(5.0 * 3600), chart->plotRect().center().y());
    QWheelEvent wheel(centre, chart->mapToGlobal(centre), QPoint(), QPoint(0, CurveZoom::WheelNotch), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &wheel);
    const QPointF pointer(chart->xAt(6.5 * 3600), chart->plotRect().center().y());
    QMouseEvent move(QEvent::MouseMove, pointer, chart->mapToGlobal(pointer), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
    QCoreApplication::processEvents();
    const QString picture = out.filePath(QStringLiteral("review-window.png"));
    if (!window.grab().save(picture)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(picture));
        return 1;
    }
    std::printf("%s\n%s\n", qPrintable(record), qPrintable(picture));
    return 0;
}
