// A recording exported for spreadsheets: the exact bytes for both
// separators, clock times where the start is known (with the offset, across
// a change to summer time), and what a failed write or a bad file says.

#include "RecordSamples.h"
#include "review/CsvExport.h"
#include "review/FiringRecord.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {
void useTimeZone(const QByteArray &zone) {
    qputenv("TZ", zone);
    tzset();
}
} // namespace

class tst_CsvExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void golden_data();
    void golden();
    void failedWrite();
    void badRecord();

private:
    QTemporaryDir m_dir;
};

void tst_CsvExport::golden_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QByteArray>("recording");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("run");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray bom = "\xEF\xBB\xBF";
    const QByteArray commaHeader = u"Время,\"Прошло, с\",\"Температура, °C\",Сеанс,Обрыв термопары\r\n"_s.toUtf8();
    const QByteArray semicolonHeader = u"Время;Прошло, с;Температура, °C;Сеанс;Обрыв термопары\r\n"_s.toUtf8();
    const QByteArray breakMark = u"да"_s.toUtf8();

    QTest::newRow("comma, the first run's start known")
        << "Europe/Moscow"_ba << samples::twoRuns() << QChar(u',') << u"2026-12-08T10:00:00"_s << 1
        << bom + commaHeader +
               "2026-12-09T09:59:48+03:00,86388,850,1,\r\n"
               "2026-12-09T09:59:52+03:00,86392,855,1,\r\n"
               "2026-12-09T10:00:03+03:00,86403,860,1,\r\n"
               "2026-12-09T10:00:04+03:00,86404,,1," +
               breakMark +
               "\r\n"
               "2026-12-09T10:00:06+03:00,86406,870,1,\r\n"
               ",1,20,2,\r\n"
               ",2,21,2,\r\n"
               ",5,12.5,2,\r\n";
    QTest::newRow("semicolon, no start") << "Europe/Moscow"_ba << samples::twoRuns() << QChar(u';') << QString() << 1
                                         << bom + semicolonHeader +
                                                ";86388;850;1;\r\n"
                                                ";86392;855;1;\r\n"
                                                ";86403;860;1;\r\n"
                                                ";86404;;1;" +
                                                breakMark +
                                                "\r\n"
                                                ";86406;870;1;\r\n"
                                                ";1;20;2;\r\n"
                                                ";2;21;2;\r\n"
                                                ";5;12,5;2;\r\n";
    QTest::newRow("semicolon, the second run's start known")
        << "Europe/Moscow"_ba << samples::twoRuns() << QChar(u';') << u"2026-12-08T10:00:00"_s << 2
        << bom + semicolonHeader +
               ";86388;850;1;\r\n"
               ";86392;855;1;\r\n"
               ";86403;860;1;\r\n"
               ";86404;;1;" +
               breakMark +
               "\r\n"
               ";86406;870;1;\r\n"
               "2026-12-08T10:00:01+03:00;1;20;2;\r\n"
               "2026-12-08T10:00:02+03:00;2;21;2;\r\n"
               "2026-12-08T10:00:05+03:00;5;12,5;2;\r\n";
    QTest::newRow("summer time begins") << "Europe/Berlin"_ba
                                        << samples::line(0, "0100") + samples::line(9, "0101") +
                                               samples::line(10, "0102")
                                        << QChar(u',') << u"2026-03-29T01:59:50"_s << 1
                                        << bom + commaHeader +
                                               "2026-03-29T01:59:50+01:00,0,100,1,\r\n"
                                               "2026-03-29T01:59:59+01:00,9,101,1,\r\n"
                                               "2026-03-29T03:00:00+02:00,10,102,1,\r\n";
}

void tst_CsvExport::golden() {
    QFETCH(QByteArray, zone);
    QFETCH(QByteArray, recording);
    QFETCH(QChar, separator);
    QFETCH(QString, start);
    QFETCH(int, run);
    useTimeZone(zone);
    const QString path = m_dir.filePath(u"firing.txt"_s);
    QVERIFY(samples::write(path, recording));

    CsvOptions options;
    options.separator = separator;
    options.start = start.isEmpty() ? QDateTime() : QDateTime::fromString(start, Qt::ISODate);
    options.startRun = run;
    QBuffer out;
    QVERIFY(out.open(QIODevice::WriteOnly));
    const ReviewStatus written = exportCsv(path, options, out);
    QVERIFY2(written, qPrintable(written.message()));
    QTEST(out.data(), "expected");
}

void tst_CsvExport::failedWrite() {
    FiringRecord record;
    const QString path = m_dir.filePath(u"full.txt"_s);
    QVERIFY(samples::write(path, samples::twoRuns()));
    QVERIFY(record.load(path));
    QFile full(u"/dev/full"_s);
    QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const ReviewStatus written = exportCsv(record, CsvOptions(), full);
    QCOMPARE(written.message(), u"Не удалось записать в файл /dev/full: на диске нет места"_s);
}

void tst_CsvExport::badRecord() {
    const QString path = m_dir.filePath(u"notes.txt"_s);
    QVERIFY(samples::write(path, "Заметки об обжиге\n"_ba));
    QBuffer out;
    QVERIFY(out.open(QIODevice::WriteOnly));
    const ReviewStatus written = exportCsv(path, CsvOptions(), out);
    QVERIFY(written.message().startsWith(u"Файл не похож на запись Зорнеты: "_s + path));
    QVERIFY(out.data().isEmpty());
}

QTEST_GUILESS_MAIN(tst_CsvExport)
#include "tst_csvexport.moc"
