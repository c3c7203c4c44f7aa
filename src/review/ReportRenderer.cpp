#include "review/ReportRenderer.h"

#include "common/Formats.h"
#include "common/SystemErrors.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
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
const QColor GridColour(215, 215, 215);
const QColor AlarmColour(230, 130, 0);

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

// A step of 1, 2 or 5 times a power of ten that cuts span into at most `most` parts.
double niceStep(double span, int most) {
    const double raw = span / most;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0, 10.0}) {
        if (f * power >= raw)
            return f * power;
    }
    return 10.0 * power;
}

qint64 timeStep(qint64 span) {
    static const qint64 steps[] = {60,   120,   300,   600,   900,   1800,   3600,
                                   7200, 10800, 21600, 43200, 86400, 172800, 604800};
    for (const qint64 s : steps) {
        if (span / s <= 10)
            return s;
    }
    return span / 10 + 1;
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
        QStringList times;
        for (std::size_t i = 0; i < s.breakTimes.size() && i < std::size_t(BreakTimesListed); ++i)
            times << momentText(s.breakTimes[i]);
        QString line = QStringLiteral("Обрывы термопары: %1 (").arg(s.breaks) + times.join(QStringLiteral("; "));
        if (s.breakTimes.size() > std::size_t(BreakTimesListed))
            line += QStringLiteral("; …");
        lines << line + u')';
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
    const RunSummary &s = m_summary;
    const QList<CurvePoint> points = m_record.curve(m_options.run, int(plot.width()));

    // The ranges: the run's times, the readings' values (and the alarm temperature).
    const double t0 = s.start;
    const double t1 = s.end > s.start ? s.end : s.start + 60;
    double low = 0.0, high = 100.0;
    if (!points.isEmpty()) {
        const auto [mn, mx] = std::minmax_element(points.begin(), points.end(),
                                                  [](const auto &a, const auto &b) { return a.value < b.value; });
        low = mn->value;
        high = mx->value;
    }
    if (m_options.alarm) {
        low = std::min(low, *m_options.alarm);
        high = std::max(high, *m_options.alarm);
    }
    if (high - low < 10.0) {
        low -= 5.0;
        high += 5.0;
    }
    const double vStep = niceStep(high - low, 8);
    low = std::floor(low / vStep) * vStep;
    high = std::ceil(high / vStep) * vStep;
    auto xAt = [&](double t) { return plot.left() + (t - t0) / (t1 - t0) * plot.width(); };
    auto yAt = [&](double v) { return plot.bottom() - (v - low) / (high - low) * plot.height(); };

    // Grid and labels.
    painter.setFont(reportFont(AxisPixels));
    painter.setPen(QPen(GridColour, 1.0));
    for (double v = low; v <= high + vStep / 2; v += vStep) {
        painter.setPen(QPen(GridColour, 1.0));
        painter.drawLine(QPointF(plot.left(), yAt(v)), QPointF(plot.right(), yAt(v)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 80, yAt(v) - 12, 72, 24), Qt::AlignRight | Qt::AlignVCenter,
                         numberText(std::round(v * 1000.0) / 1000.0));
    }
    const qint64 step = timeStep(qint64(t1 - t0));
    const bool clock = m_options.start.isValid();
    const qint64 base = clock ? m_options.start.toSecsSinceEpoch() + m_options.start.offsetFromUtc() : 0;
    const bool days = t1 - t0 > 86400;
    qint64 first = qint64(std::ceil((base + t0) / double(step))) * step - base;
    for (qint64 t = first; t <= qint64(t1); t += step) {
        painter.setPen(QPen(GridColour, 1.0));
        painter.drawLine(QPointF(xAt(double(t)), plot.top()), QPointF(xAt(double(t)), plot.bottom()));
        QString label;
        if (clock) {
            const QDateTime moment = m_options.start.addSecs(t);
            label = moment.toString(days ? QStringLiteral("dd.MM hh:mm") : QStringLiteral("hh:mm"));
        } else {
            label = spanText(t).left(spanText(t).size() - 3);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRectF(xAt(double(t)) - 60, plot.bottom() + 6, 120, 22), Qt::AlignHCenter | Qt::AlignTop,
                         label);
    }
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawRect(plot);
    painter.drawText(QRectF(plot.left() - 80, plot.top() - 34, 200, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("°C"));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 28, plot.width(), 24), Qt::AlignHCenter | Qt::AlignTop,
                     clock ? QStringLiteral("Время") : QStringLiteral("Время от открытия порта, ч:мин"));

    if (m_options.alarm) {
        painter.setPen(QPen(AlarmColour, 1.5, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), yAt(*m_options.alarm)), QPointF(plot.right(), yAt(*m_options.alarm)));
    }

    // The curve: a path broken at every thermocouple break.
    QPainterPath path;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF at(xAt(points[i].seconds), yAt(points[i].value));
        if (i == 0 || points[i].gapBefore)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    painter.save();
    painter.setClipRect(plot.adjusted(-2, -2, 2, 2));
    painter.setPen(QPen(QColor(CurveColour), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    // A lone reading between two breaks is a dot.
    for (qsizetype i = 0; i < points.size(); ++i) {
        const bool alone = (i == 0 || points[i].gapBefore) && (i + 1 == points.size() || points[i + 1].gapBefore);
        if (alone)
            painter.drawPoint(QPointF(xAt(points[i].seconds), yAt(points[i].value)));
    }
    painter.restore();

    // Thermocouple breaks: a red line across the plot and a red mark on top.
    for (const qint32 t : s.breakTimes) {
        const double x = xAt(t);
        painter.setPen(QPen(QColor(BreakColour), 2.0, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        QPainterPath mark;
        mark.moveTo(x - 8, plot.top() - 14);
        mark.lineTo(x + 8, plot.top() - 14);
        mark.lineTo(x, plot.top());
        mark.closeSubpath();
        painter.fillPath(mark, QColor(BreakColour));
        painter.setPen(QColor(BreakColour));
        painter.drawText(QRectF(x + 10, plot.top() - 30, 120, 22), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("обрыв"));
    }
    if (points.isEmpty()) {
        painter.setPen(Qt::black);
        painter.setFont(reportFont(TextPixels));
        painter.drawText(plot, Qt::AlignCenter, QStringLiteral("Нет показаний"));
    }
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
