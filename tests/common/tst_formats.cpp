// Shared text helpers: elapsed times, titles, the leading-number parse,
// colour parts and the single-byte encoding of written files.

#include "common/Colour.h"
#include "common/Formats.h"
#include "common/TextEncoding.h"

#include <QtTest>

#include <ctime>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_Formats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void elapsedText_data();
    void elapsedText();
    void elapsedBetweenMoments();
    void timeZonePinnedOnlyWhenUnset();
    void seriesTitle_data();
    void seriesTitle();
    void timeWithDots();
    void leadingNumber_data();
    void leadingNumber();
    void reading_data();
    void reading();
    void colourParts();
    void windows1251Bytes();
    void lineTextDecodesOneCharacterPerByte();
    void numberText_data();
    void numberText();
};

void tst_Formats::elapsedText_data() {
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("00:00:00");
    QTest::newRow("5m17s") << qint64(317) << QStringLiteral("00:05:17");
    QTest::newRow("just under a day") << qint64(86399) << QStringLiteral("23:59:59");
    QTest::newRow("a day wraps") << qint64(86400) << QStringLiteral("00:00:00");
    QTest::newRow("25 hours") << qint64(25 * 3600) << QStringLiteral("01:00:00");
    QTest::newRow("a week") << qint64(7 * 86400 + 3661) << QStringLiteral("01:01:01");
}

void tst_Formats::elapsedText() {
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(zorneta::elapsedText(seconds), text);
}

void tst_Formats::timeZonePinnedOnlyWhenUnset() {
    const QByteArray saved = qgetenv("TZ");
    const bool wasSet = qEnvironmentVariableIsSet("TZ");
    qunsetenv("TZ");
    pinLocalTimeZone();
    QCOMPARE(qgetenv("TZ"), QByteArray(":/etc/localtime"));
    qputenv("TZ", "Europe/Moscow");
    pinLocalTimeZone();
    QCOMPARE(qgetenv("TZ"), QByteArray("Europe/Moscow"));
    if (wasSet)
        qputenv("TZ", saved);
    else
        qunsetenv("TZ");
    tzset();
}

void tst_Formats::elapsedBetweenMoments() {
    const QDateTime start(QDate(2026, 12, 8), QTime(23, 30, 0));
    QCOMPARE(zorneta::elapsedText(start, start.addMSecs(999)), QStringLiteral("00:00:00"));
    QCOMPARE(zorneta::elapsedText(start, start.addSecs(3 * 3600 + 7)), QStringLiteral("03:00:07"));
    // Across midnight and past a day.
    QCOMPARE(zorneta::elapsedText(start, start.addSecs(25 * 3600)), QStringLiteral("01:00:00"));
    QCOMPARE(elapsedSeconds(start, start.addSecs(90)), qint64(90));
}

void tst_Formats::seriesTitle_data() {
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("title");
    const QString months[] = {u"января"_s, u"февраля"_s, u"марта"_s,    u"апреля"_s,  u"мая"_s,    u"июня"_s,
                              u"июля"_s,   u"августа"_s, u"сентября"_s, u"октября"_s, u"ноября"_s, u"декабря"_s};
    for (int m = 1; m <= 12; ++m) {
        QTest::addRow("month %d", m) << QDateTime(QDate(2026, m, 3), QTime(7, 4, 59))
                                     << QStringLiteral("03 ") + months[m - 1] + QStringLiteral(" 07`04");
    }
    QTest::newRow("evening") << QDateTime(QDate(2026, 12, 28), QTime(23, 59)) << u"28 декабря 23`59"_s;
}

void tst_Formats::seriesTitle() {
    QFETCH(QDateTime, moment);
    QFETCH(QString, title);
    QCOMPARE(seriesTitleText(moment), title);
}

void tst_Formats::timeWithDots() {
    const QDateTime t(QDate(2026, 12, 8), QTime(9, 5, 7));
    QCOMPARE(timeWithDotsText(t), QStringLiteral("09.05.07"));
    QCOMPARE(timeOfDayText(t), QStringLiteral("09:05:07"));
    QCOMPARE(dateTimeText(t), QStringLiteral("08.12.2026 09:05:07"));
}

void tst_Formats::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("value");
    QTest::newRow("group") << QStringLiteral("0850\r\n") << true << 850.0;
    QTest::newRow("group led by LF") << QStringLiteral("\n0123\r") << true << 123.0;
    QTest::newRow("zero") << QStringLiteral("0000\r\n") << true << 0.0;
    QTest::newRow("break") << QStringLiteral("9999\r\n") << true << 9999.0;
    QTest::newRow("blanks and tabs") << QStringLiteral(" \t 42abc") << true << 42.0;
    QTest::newRow("sign") << QStringLiteral("-12") << true << -12.0;
    QTest::newRow("plus") << QStringLiteral("+7") << true << 7.0;
    QTest::newRow("decimal") << QStringLiteral("849.9") << true << 849.9;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << true << 1.2;
    QTest::newRow("leading point") << QStringLiteral(".5") << true << 0.5;
    QTest::newRow("stops at blank inside") << QStringLiteral("12 34") << true << 12.0;
    QTest::newRow("CR is not skipped") << QStringLiteral("\r12") << false << 0.0;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("garbage") << QStringLiteral("1#?Z") << true << 1.0;
    QTest::newRow("no digit") << QStringLiteral("#?Z\r\n") << false << 0.0;
    QTest::newRow("sign only") << QStringLiteral("-") << false << 0.0;
    QTest::newRow("point only") << QStringLiteral(".") << false << 0.0;
}

void tst_Formats::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(bool, found);
    QFETCH(double, value);
    const auto parsed = parseLeadingNumber(text);
    QCOMPARE(parsed.has_value(), found);
    QCOMPARE(zorneta::leadingNumber(text), value);
    if (found)
        QCOMPARE(*parsed, value);
}

void tst_Formats::reading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("value");
    QTest::newRow("group") << QStringLiteral("0850\r\n") << true << 850.0;
    QTest::newRow("led by LF") << QStringLiteral("\n0123\r") << true << 123.0;
    QTest::newRow("blanks around") << QStringLiteral(" \t12.5 \r") << true << 12.5;
    QTest::newRow("zero") << QStringLiteral("0000\r\n") << true << 0.0;
    QTest::newRow("negative") << QStringLiteral("-012\r\n") << true << -12.0;
    QTest::newRow("garbled tail") << QStringLiteral("1#?Z\r\n") << false << 0.0;
    QTest::newRow("blank inside") << QStringLiteral("12 34\r\n") << false << 0.0;
    QTest::newRow("two points") << QStringLiteral("1.2.3") << false << 0.0;
    QTest::newRow("sign inside") << QStringLiteral("12-3") << false << 0.0;
    QTest::newRow("nothing") << QStringLiteral("\r\n") << false << 0.0;
    QTest::newRow("sign only") << QStringLiteral("-\r\n") << false << 0.0;
}

void tst_Formats::reading() {
    QFETCH(QString, text);
    QFETCH(bool, found);
    QFETCH(double, value);
    const auto parsed = parseReading(text);
    QCOMPARE(parsed.has_value(), found);
    if (found)
        QCOMPARE(*parsed, value);
}

void tst_Formats::colourParts() {
    QCOMPARE(redPart(65280), 0);
    QCOMPARE(greenPart(65280), 255);
    QCOMPARE(bluePart(65280), 0);
    const auto c = rgbColour(10, 20, 200);
    QCOMPARE(c, 0x00C8140A);
    QCOMPARE(redPart(c), 10);
    QCOMPARE(greenPart(c), 20);
    QCOMPARE(bluePart(c), 200);
    QCOMPARE(rgbColour(255, 255, 255), 16777215);
}

void tst_Formats::windows1251Bytes() {
    QCOMPARE(encodeFileText(u"Зорнета"_s), QByteArray::fromHex("c7eef0ede5f2e0"));
    QCOMPARE(encodeFileText(u"Ёё №"_s), QByteArray::fromHex("a8b820b9"));
    QCOMPARE(encodeFileText(QStringLiteral("00:05:17\t0123\n")), QByteArray("00:05:17\t0123\n"));
    // One byte per character.
    QCOMPARE(encodeFileText(u"Только конец"_s).size(), qsizetype(12));
}

void tst_Formats::lineTextDecodesOneCharacterPerByte() {
    const QByteArray bytes("\x30\x38\x35\x30\x0d\x0a\x08\xc7", 8);
    const QString text = decodeLineText(bytes);
    QCOMPARE(text.size(), bytes.size());
    QCOMPARE(text.left(6), QStringLiteral("0850\r\n"));
    QCOMPARE(text.at(6), QChar(u'\b'));
    QCOMPARE(text.at(7), QChar(u'З'));
    QCOMPARE(encodeLineChar(u'A'), 'A');
    QCOMPARE(static_cast<unsigned char>(encodeLineChar(u'З')), 0xC7);
    // A character the code page lacks has no byte; the substitute bytes
    // themselves are characters of their own.
    QCOMPARE(encodeLineChar(u'中'), '\0');
    QCOMPARE(encodeLineChar(QChar(0x1A)), '\x1a');
    QCOMPARE(encodeLineChar(u'?'), '?');
}

void tst_Formats::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 850.0 << QStringLiteral("850");
    QTest::newRow("negative") << -12.0 << QStringLiteral("-12");
    QTest::newRow("fraction") << 1023.5 << QStringLiteral("1023.5");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
}

void tst_Formats::numberText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(zorneta::numberText(value), text);
}

QTEST_APPLESS_MAIN(tst_Formats)
#include "tst_formats.moc"
