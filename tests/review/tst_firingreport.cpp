// The one-page firing report: its header texts, the PDF as poppler reads it
// (vector text in DejaVu Sans, one A4 page), and the PNG by its pixels.

#include "RecordSamples.h"
#include "review/FiringRecord.h"
#include "review/ReportRenderer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {
QString run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return u"(%1 failed: %2)"_s.arg(program, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}
} // namespace

class tst_FiringReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void header_data();
    void header();
    void manyBreaksKeepToTheLine();
    void pdf();
    void png();
    void missingRun();

private:
    QTemporaryDir m_dir;
    QString m_record;
};

void tst_FiringReport::initTestCase() {
    qputenv("TZ", "Europe/Moscow");
    tzset();
    m_record = m_dir.filePath(u"firing.txt"_s);
    QVERIFY(samples::write(m_record, samples::twoRuns()));
}

void tst_FiringReport::header_data() {
    QTest::addColumn<int>("run");
    QTest::addColumn<QString>("start");
    QTest::addColumn<double>("alarm");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("elapsed times, alarm")
        << 1 << QString() << 855.0
        << QStringList{u"Источник: firing.txt, сеанс 1 из 2"_s,
                       u"Начало: 23:59:48 от открытия порта"_s,
                       u"Конец: 24:00:06 от открытия порта"_s,
                       u"Длительность: 00:00:18"_s,
                       u"Наибольшая температура: 870 °C, 24:00:06 от открытия порта"_s,
                       u"Время при 855 °C и выше: 00:00:12"_s,
                       u"Показаний: 4, пропущено строк: 4"_s,
                       u"Обрывы термопары: 1 (24:00:04 от открытия порта)"_s};
    QTest::newRow("clock times, no alarm") << 2 << u"2026-12-08T10:00:00"_s << -1.0
                                           << QStringList{u"Источник: firing.txt, сеанс 2 из 2"_s,
                                                          u"Начало: 08.12.2026 10:00:00"_s,
                                                          u"Конец: 08.12.2026 10:00:05"_s,
                                                          u"Длительность: 00:00:05"_s,
                                                          u"Наибольшая температура: 21 °C, 08.12.2026 10:00:02"_s,
                                                          u"Показаний: 3, пропущено строк: 1"_s};
}

void tst_FiringReport::header() {
    QFETCH(int, run);
    QFETCH(QString, start);
    QFETCH(double, alarm);
    FiringRecord record;
    QVERIFY(record.load(m_record));
    ReportOptions options;
    options.run = run;
    options.start = start.isEmpty() ? QDateTime() : QDateTime::fromString(start, Qt::ISODate);
    if (alarm >= 0)
        options.alarm = alarm;
    options.sourceName = u"firing.txt"_s;
    const ReportRenderer renderer(record, options);
    QCOMPARE(renderer.title(), u"Отчёт об обжиге"_s);
    QTEST(renderer.headerLines(), "lines");
}

// Eight breaks with clock times: the line lists as many as fit across the
// page and says there are more.
void tst_FiringReport::manyBreaksKeepToTheLine() {
    FiringRecord record;
    for (qint32 t = 0; t < 16; ++t)
        QVERIFY(record.appendEntry(t, t % 2 ? FiringRecord::BreakValue : 500.0));
    ReportOptions options;
    options.start = QDateTime(QDate(2026, 12, 8), QTime(10, 0));
    const ReportRenderer renderer(record, options);
    const QString line = renderer.headerLines().constLast();
    QVERIFY2(line.startsWith(u"Обрывы термопары: 8 (08.12.2026 10:00:01; 08.12.2026 10:00:03"_s), qPrintable(line));
    QVERIFY2(line.endsWith(u"; …)"_s), qPrintable(line));
    QFont font(ReportRenderer::fontFamily());
    font.setPixelSize(19);
    QVERIFY2(QFontMetricsF(font).horizontalAdvance(line) <= ReportRenderer::PageWidth - 100, qPrintable(line));
}

void tst_FiringReport::pdf() {
    const QString out = m_dir.filePath(u"report.pdf"_s);
    ReportOptions options;
    options.alarm = 855.0;
    const ReviewStatus written = writeReport(m_record, out, options);
    QVERIFY2(written, qPrintable(written.message()));

    const QString info = run(u"pdfinfo"_s, {out});
    QVERIFY2(info.contains(u"Pages: 1"_s), qPrintable(info));
    QVERIFY2(info.contains(u"(A4)"_s), qPrintable(info));
    QVERIFY2(info.contains(u"Creator: Зорнета"_s), qPrintable(info));
    const QString fonts = run(u"pdffonts"_s, {out});
    QVERIFY2(fonts.contains(u"DejaVuSans"_s), qPrintable(fonts));

    const QString text = run(u"pdftotext"_s, {out, u"-"_s});
    for (const QString &expected :
         {u"Отчёт об обжиге"_s, u"Источник: firing.txt, сеанс 1 из 2"_s, u"Начало: 23:59:48 от открытия порта"_s,
          u"Длительность: 00:00:18"_s, u"Наибольшая температура: 870 °C"_s, u"Время при 855 °C и выше: 00:00:12"_s,
          u"Показаний: 4, пропущено строк: 4"_s, u"обрыв"_s, u"°C"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" not in: "_s + text));
}

void tst_FiringReport::png() {
    const QString out = m_dir.filePath(u"report.png"_s);
    ReportOptions options;
    options.start = QDateTime::fromString(u"2026-12-08T10:00:00"_s, Qt::ISODate);
    QVERIFY(writeReport(m_record, out, options));
    QImage image(out);
    QCOMPARE(image.format() == QImage::Format_Invalid, false);
    QCOMPARE(image.size(), QSize(1684, 1190));
    QCOMPARE(image.pixel(3, 3), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(image.width() - 3, image.height() - 3), qRgb(255, 255, 255));
    int curve = 0, breaks = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xffffff;
            curve += p == (ReportRenderer::CurveColour & 0xffffff);
            breaks += p == (ReportRenderer::BreakColour & 0xffffff);
        }
    }
    QVERIFY2(curve > 300, qPrintable(QString::number(curve)));
    QVERIFY2(breaks > 100, qPrintable(QString::number(breaks)));
}

void tst_FiringReport::missingRun() {
    ReportOptions options;
    options.run = 3;
    const ReviewStatus written = writeReport(m_record, m_dir.filePath(u"none.png"_s), options);
    QCOMPARE(written.message(), u"В записи нет сеанса 3: сеансов в ней 2"_s);
    QVERIFY(!QFile::exists(m_dir.filePath(u"none.png"_s)));
}

QTEST_MAIN(tst_FiringReport)
#include "tst_firingreport.moc"
