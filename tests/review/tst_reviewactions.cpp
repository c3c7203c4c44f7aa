// The review menu's commands on the main window's logic, with every box
// answered from a script: choosing a recording, the live session's CSV
// export (exact bytes) and its report, printed or saved as PDF or PNG.

#include "platform/ReportPrinter.h"
#include "review/ReviewActions.h"
#include "support/LogicRig.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {
// A printer that paints the page into a picture.
class PicturePrinter : public ReportPrinter {
public:
    bool accept = true;
    QStringList titles;
    QImage page;
    bool print(const QString &title, const std::function<void(QPainter &, const QRectF &)> &paint) override {
        titles << title;
        if (!accept)
            return false;
        page = QImage(1400, 990, QImage::Format_RGB32);
        page.fill(Qt::black);
        QPainter painter(&page);
        paint(painter, QRectF(0, 0, 1400, 990));
        return true;
    }
};

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A session on the line: three readings a second apart, the middle one a
// thermocouple break.
void receiveSession(LogicRig &rig) {
    rig.open();
    for (const int value : {850, 9999, 860}) {
        rig.clock.advance(1000);
        rig.reading(value);
    }
    // The break's own box is the reception's business, not the review's.
    QCOMPARE(rig.prompts.shown.size(), 1);
    rig.prompts.shown.clear();
    rig.prompts.unanswered = 0;
}
} // namespace

class tst_ReviewActions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void chooseRecording();
    void sessionCsv();
    void sessionCsvAcrossAReopen();
    void noReadings_data();
    void noReadings();
    void sessionReport_data();
    void sessionReport();

private:
    QTemporaryDir m_dir;
};

void tst_ReviewActions::initTestCase() {
    qputenv("TZ", "Europe/Moscow");
    tzset();
}

void tst_ReviewActions::chooseRecording() {
    LogicRig rig;
    QStringList opened;
    rig.logic->onReviewRecording = [&opened](const QString &path) { opened << path; };
    rig.prompts.fileAnswers.push_back(Prompts::FileChoice{u"/data/furnace.txt"_s, u"furnace.txt"_s});
    QCOMPARE(rig.logic->runMenuItem(menu::ReviewRecording), Command::ReviewRecording);
    rig.logic->runMenuItem(menu::ReviewRecording); // cancelled
    QCOMPARE(opened, QStringList{u"/data/furnace.txt"_s});
    QCOMPARE(rig.prompts.shown.size(), 2);
    QCOMPARE(rig.prompts.shown[0].kind, ScriptedPrompts::Kind::OpenFile);
    QCOMPARE(rig.prompts.shown[0].title, u"Просмотреть запись"_s);
}

void tst_ReviewActions::sessionCsv() {
    LogicRig rig;
    receiveSession(rig);
    const QString out = m_dir.filePath(u"session.csv"_s);
    rig.prompts.fileAnswers.push_back(Prompts::FileChoice{out, u"session.csv"_s});
    QCOMPARE(rig.logic->runMenuItem(menu::ExportSessionCsv), Command::ExportSessionCsv);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown[0].kind, ScriptedPrompts::Kind::SaveFile);
    QCOMPARE(rig.prompts.shown[0].proposed, u"Com1.csv"_s);
    const QByteArray expected = "\xEF\xBB\xBF" +
                                u"Время,\"Прошло, с\",\"Температура, °C\",Сеанс,Обрыв термопары\r\n"_s.toUtf8() +
                                "2026-12-08T14:05:01+03:00,1,850,1,\r\n"
                                "2026-12-08T14:05:02+03:00,2,,1," +
                                u"да"_s.toUtf8() +
                                "\r\n"
                                "2026-12-08T14:05:03+03:00,3,860,1,\r\n";
    QCOMPARE(contents(out), expected);
}

// The port closed and opened again in the same session: the elapsed times
// start again and make a second run, and its rows carry their own clock times.
void tst_ReviewActions::sessionCsvAcrossAReopen() {
    LogicRig rig;
    rig.open();
    rig.clock.advance(5'000);
    rig.reading(500);
    rig.open(); // closes the port
    rig.clock.advance(3'600'000);
    rig.prompts.messageAnswers.push_back(Prompts::Answer::No); // the session goes on
    rig.open();
    rig.clock.advance(2'000);
    rig.reading(600);
    rig.prompts.shown.clear();
    const QString out = m_dir.filePath(u"reopened.csv"_s);
    rig.prompts.fileAnswers.push_back(Prompts::FileChoice{out, u"reopened.csv"_s});
    rig.logic->runMenuItem(menu::ExportSessionCsv);
    const QByteArray expected = "\xEF\xBB\xBF" +
                                u"Время,\"Прошло, с\",\"Температура, °C\",Сеанс,Обрыв термопары\r\n"_s.toUtf8() +
                                "2026-12-08T14:05:05+03:00,5,500,1,\r\n"
                                "2026-12-08T15:05:07+03:00,2,600,2,\r\n";
    QCOMPARE(contents(out), expected);
}

void tst_ReviewActions::noReadings_data() {
    QTest::addColumn<QString>("item");
    QTest::newRow("export") << menu::ExportSessionCsv;
    QTest::newRow("report") << menu::ReportSession;
}

void tst_ReviewActions::noReadings() {
    QFETCH(QString, item);
    LogicRig rig;
    rig.logic->runMenuItem(item);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown[0].kind, ScriptedPrompts::Kind::MessageBox);
    QCOMPARE(rig.prompts.shown[0].title, u"Просмотр записи"_s);
    QCOMPARE(rig.prompts.shown[0].text, u"В сеансе ещё нет показаний."_s);
}

void tst_ReviewActions::sessionReport_data() {
    QTest::addColumn<int>("answer"); // to "Напечатать отчёт?"
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("written");
    QTest::newRow("saved as PDF") << int(Prompts::Answer::No) << u"report.pdf"_s << u"report.pdf"_s;
    QTest::newRow("a PDF when the name has no suffix") << int(Prompts::Answer::No) << u"report"_s << u"report.pdf"_s;
    QTest::newRow("saved as PNG") << int(Prompts::Answer::No) << u"report.png"_s << u"report.png"_s;
    QTest::newRow("printed") << int(Prompts::Answer::Yes) << QString() << QString();
    QTest::newRow("cancelled") << int(Prompts::Answer::Cancel) << QString() << QString();
}

void tst_ReviewActions::sessionReport() {
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(QString, written);
    QTemporaryDir dir;
    LogicRig rig;
    PicturePrinter printer;
    rig.logic->setReportPrinter(&printer);
    receiveSession(rig);
    rig.prompts.messageAnswers.push_back(Prompts::Answer(answer));
    if (!file.isEmpty())
        rig.prompts.fileAnswers.push_back(Prompts::FileChoice{dir.filePath(file), file});
    rig.logic->runMenuItem(menu::ReportSession);

    QCOMPARE(rig.prompts.shown[0].text, ReviewActions::reportQuestion());
    QCOMPARE(rig.prompts.unanswered, 0);
    QCOMPARE(printer.titles.size(), Prompts::Answer(answer) == Prompts::Answer::Yes ? 1 : 0);
    if (Prompts::Answer(answer) == Prompts::Answer::Yes) {
        QCOMPARE(printer.titles[0], u"Отчёт об обжиге"_s);
        // The page was painted: white paper over the black the printer began with.
        QCOMPARE(printer.page.pixel(700, 495), qRgb(255, 255, 255));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), written.isEmpty() ? QStringList() : QStringList{written});
    if (written.endsWith(u".png"_s)) {
        QCOMPARE(QImage(dir.filePath(written)).size(), QSize(1684, 1190));
    } else if (written.endsWith(u".pdf"_s)) {
        QProcess text;
        text.start(u"pdftotext"_s, {dir.filePath(written), u"-"_s});
        QVERIFY(text.waitForFinished(60000));
        const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString &line :
             {u"Отчёт об обжиге"_s, u"Источник: Com1, сеанс 1 из 1"_s, u"Начало: 08.12.2026 14:05:01"_s,
              u"Конец: 08.12.2026 14:05:03"_s, u"Длительность: 00:00:02"_s,
              u"Наибольшая температура: 860 °C, 08.12.2026 14:05:03"_s, u"Показаний: 2, пропущено строк: 0"_s,
              u"Обрывы термопары: 1 (08.12.2026 14:05:02)"_s})
            QVERIFY2(pdf.contains(line), qPrintable(line + u" not in: "_s + pdf));
    }
}

QTEST_MAIN(tst_ReviewActions)
#include "tst_reviewactions.moc"
