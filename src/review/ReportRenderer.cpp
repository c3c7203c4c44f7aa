#include "review/ReportRenderer.h"

#include "review/CurvePlot.h"

#include "common/Formats.h"
#include "common/SystemErrors.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QFontMetricsF>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace zorneta {

namespace {
constexpr double Margin = 50.0;
constexpr int TitlePixels = 34;
constexpr int TextPixels = 19;
constexpr int AxisPixels = 15;
constexpr double LineStep = 28.0;
constexpr int BreakTimesListed = 5;

QFont reportFont(int pixels, bool bold = false) {
    QFont font(ReportRenderer::fontFamily());
    font.setPixelSize(pixels);
    font.setBold(bold);
    // No ligatures: a file name such as "firing.txt" reads back from the PDF
    // letter by letter.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QString degrees(double value) {
    return numberText(value) + QStringLiteral(" °C");
}

} // namespace

QString missingRunText(int run, qsizetype runs) {
    return QStringLiteral("В записи нет сеанса %1: сеансов в ней %2").arg(run).arg(runs);
}

QString ReportRenderer::fontFamily() {
    static const QString family = [] {
        const QString name = QStringLiteral("DejaVu Sans");
        if (!QFontDatabase::families().contains(name)) {
            for (const char *file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"})
                QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/") +
                                                  QLatin1String(file));
        }
        return name;
    }();
    return family;
}

ReportRenderer::ReportRenderer(const FiringRecord &record, ReportOptions options)
    : m_record(record), m_options(std::move(options)), m_summary(record.summary(m_options.run, m_options.alarm)) {}

QString ReportRenderer::title() const {
    return QStringLiteral("Отчёт об обжиге");
}

QString ReportRenderer::momentText(qint64 seconds) const {
    if (m_options.start.isValid())
        return dateTimeText(m_options.start.addSecs(seconds));
    return spanText(seconds) + QStringLiteral(" от открытия порта");
}

QStringList ReportRenderer::headerLines() const {
    const RunSummary &s = m_summary;
    QStringList lines;
    lines << QStringLiteral("Источник: %1, сеанс %2 из %3")
                 .arg(m_options.sourceName)
                 .arg(m_options.run)
                 .arg(m_record.runs().size());
    lines << QStringLiteral("Начало: ") + momentText(s.start);
    lines << QStringLiteral("Конец: ") + momentText(s.end);
    lines << QStringLiteral("Длительность: ") + spanText(s.duration);
    if (s.highest)
        lines << QStringLiteral("Наибольшая температура: ") + degrees(*s.highest) + QStringLiteral(", ") +
                     momentText(s.highestAt);
    else
        lines << QStringLiteral("Наибольшая температура: нет показаний");
    if (m_options.alarm && s.secondsAtOrAbove)
        lines << QStringLiteral("Время при ") + degrees(*m_options.alarm) + QStringLiteral(" и выше: ") +
                     spanText(*s.secondsAtOrAbove);
    lines << QStringLiteral("Показаний: %1, пропущено строк: %2").arg(s.readings).arg(s.skipped);
    if (s.breaks > 0) {
        // As many of the first times as fit on the line.
        const QFontMetricsF metrics(reportFont(TextPixels));
        const double room = 0.95 * (PageWidth - 2 * Margin);
        std::size_t listed = std::min(s.breakTimes.size(), std::size_t(BreakTimesListed));
        QString line;
        for (;; --listed) {
            QStringList times;
            for (std::size_t i = 0; i < listed; ++i)
                times << momentText(s.breakTimes[i]);
            line = QStringLiteral("Обрывы термопары: %1 (").arg(s.breaks) + times.join(QStringLiteral("; "));
            if (s.breakTimes.size() > listed)
                line += QStringLiteral("; …");
            line += u')';
            if (listed <= 1 || metrics.horizontalAdvance(line) <= room)
                break;
        }
        lines << line;
    }
    return lines;
}

void ReportRenderer::paint(QPainter &painter, const QRectF &target) const {
    painter.save();
    const double scale = std::min(target.width() / PageWidth, target.height() / PageHeight);
    painter.translate(target.left() + (target.width() - PageWidth * scale) / 2,
                      target.top() + (target.height() - PageHeight * scale) / 2);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(0, 0, PageWidth, PageHeight), Qt::white);

    painter.setPen(Qt::black);
    painter.setFont(reportFont(TitlePixels, true));
    painter.drawText(QRectF(Margin, Margin - 10, PageWidth - 2 * Margin, 50), Qt::AlignLeft | Qt::AlignVCenter,
                     title());
    painter.setFont(reportFont(TextPixels));
    double y = Margin + 50;
    for (const QString &line : headerLines()) {
        painter.drawText(QRectF(Margin, y, PageWidth - 2 * Margin, LineStep), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += LineStep;
    }
    const QRectF plot(Margin + 80, y + 45, PageWidth - 2 * Margin - 100, PageHeight - Margin - 40 - (y + 45));
    paintCurve(painter, plot);
    painter.restore();
}

void ReportRenderer::paintCurve(QPainter &painter, const QRectF &plot) const {
    CurvePlotOptions options;
    options.run = m_options.run;
    options.from = m_summary.start;
    options.to = m_summary.end > m_summary.start ? m_summary.end : m_summary.start + 60;
    options.start = m_options.start;
    options.alarm = m_options.alarm;
    options.fontFamily = fontFamily();
    options.axisPixels = AxisPixels;
    options.textPixels = TextPixels;
    paintCurvePlot(painter, plot, m_record, options);
}

ReviewStatus ReportRenderer::writePdf(QIODevice &out) const {
    QPdfWriter writer(&out);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    writer.setTitle(title() + QStringLiteral(": ") + m_options.sourceName);
    writer.setCreator(QStringLiteral("Зорнета"));
    QPainter painter;
    if (!painter.begin(&writer))
        return ReviewStatus::failure(QStringLiteral("Не удалось начать страницу отчёта"));
    paint(painter, QRectF(0, 0, writer.width(), writer.height()));
    painter.end();
    return ReviewStatus::ok();
}

ReviewStatus ReportRenderer::writePng(QIODevice &out, QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    if (!image.save(&out, "PNG"))
        return ReviewStatus::failure(QStringLiteral("Не удалось сохранить рисунок отчёта"));
    return ReviewStatus::ok();
}

ReviewStatus writeReport(const QString &recordPath, const QString &outputPath, ReportOptions options) {
    FiringRecord record;
    if (ReviewStatus loaded = record.load(recordPath); !loaded)
        return loaded;
    if (!record.run(options.run))
        return ReviewStatus::failure(missingRunText(options.run, qsizetype(record.runs().size())));
    if (options.sourceName.isEmpty())
        options.sourceName = QFileInfo(recordPath).fileName();
    const bool pdf = outputPath.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly))
        return ReviewStatus::failure(fileFailureText(FileAction::Open, outputPath, file.errorString()));
    const ReportRenderer renderer(record, options);
    if (ReviewStatus written = pdf ? renderer.writePdf(file) : renderer.writePng(file); !written)
        return written;
    if (!file.commit())
        return ReviewStatus::failure(fileFailureText(FileAction::Write, outputPath, file.errorString()));
    return ReviewStatus::ok();
}

} // namespace zorneta
