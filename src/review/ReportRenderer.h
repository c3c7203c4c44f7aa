#pragma once

#include "review/FiringRecord.h"
#include "review/ReviewStatus.h"

#include <QColor>
#include <QDateTime>
#include <QIODevice>
#include <QRectF>
#include <QSize>
#include <QStringList>

#include <optional>

class QPainter;

namespace zorneta {

// What a firing report shows.
struct ReportOptions {
    int run = 1;
    // The clock time the run's stamps count from (the moment its port
    // opened); invalid when unknown, and the report gives elapsed times.
    QDateTime start;
    // The alarm temperature: the report adds the time at or above it.
    std::optional<double> alarm;
    // The recording's file name as the report names it.
    QString sourceName;
};

// One page about one run of a recording: a header (title, source, start,
// end, duration, the highest reading and when it came, the time at or above
// the alarm temperature, the readings and skipped lines, the thermocouple
// breaks), and below it the curve with a time axis and a °C axis; a break
// leaves a gap in the curve and a red mark. Text is drawn in DejaVu Sans,
// which has Cyrillic. The page is painted on any paint device: a PDF writer
// (vector text), an image, or a printer.
class ReportRenderer {
public:
    static constexpr QRgb CurveColour = qRgb(0, 70, 200);
    static constexpr QRgb BreakColour = qRgb(220, 0, 0);
    // The page in its own units (A4 lying on its side); paint() scales it to
    // the target keeping its shape.
    static constexpr int PageWidth = 1400;
    static constexpr int PageHeight = 990;

    // The run must be one of the record's.
    ReportRenderer(const FiringRecord &record, ReportOptions options);

    QString title() const;
    // The header lines under the title, as painted.
    QStringList headerLines() const;

    void paint(QPainter &painter, const QRectF &target) const;

    // An A4 page, vector text and curve.
    ReviewStatus writePdf(QIODevice &out) const;
    // A picture of the page.
    ReviewStatus writePng(QIODevice &out, QSize size = QSize(1684, 1190)) const;

    // The font family the report is drawn in, loaded from the system's
    // DejaVu files when the font database does not know it yet.
    static QString fontFamily();

private:
    QString momentText(qint64 seconds) const;
    void paintCurve(QPainter &painter, const QRectF &plot) const;

    const FiringRecord &m_record;
    ReportOptions m_options;
    RunSummary m_summary;
};

// Reads a recording and writes the report of one of its runs to outputPath:
// a PDF when the name ends in .pdf, a PNG when it ends in .png. The file
// appears only when it is written whole.
ReviewStatus writeReport(const QString &recordPath, const QString &outputPath, ReportOptions options);

// The message for a run the record does not have.
QString missingRunText(int run, qsizetype runs);

} // namespace zorneta
