// "Начать новый сеанс": the two questions, the fresh session, and what it
// leaves alone (the terminal on Cancel, the recording file, the view state).

#include "common/Formats.h"
#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

const QString Title = u"Зорнета       Новый сеанс приема данных"_s;
const QDateTime Opened(QDate(2026, 12, 8), QTime(14, 5, 0));
const QDateTime Asked(QDate(2026, 12, 8), QTime(14, 7, 0));

// 30 readings one second apart from 14:05:00, then the clock at 14:07:00.
void thirtyReadings(LogicRig &rig) {
    rig.open();
    for (int k = 1; k <= 30; ++k) {
        rig.clock.advance(1000);
        rig.reading(400 + k);
    }
    rig.clock.current = Asked;
}

} // namespace

class tst_NewSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cancelChangesNothing();
    void newSession_data();
    void newSession();
    void readingsDuringTheQuestionsJoinTheNewSession();
    void recordingKeepsGrowing();
    void titledNowBeforeThePortWasOpened();
};

void tst_NewSession::cancelChangesNothing() {
    LogicRig rig;
    thirtyReadings(rig);
    const ReadingsTable readings = rig.state().readings;
    const QString terminal = rig.view.box.contents;
    QVERIFY(!terminal.isEmpty());
    rig.chart.calls.clear();
    rig.prompts.messageAnswers = {Prompts::Answer::Cancel};
    QCOMPARE(rig.logic->runToolbarKey(toolbar::NewSession), commandForMenuItem(menu::NewSession));
    QCOMPARE(rig.prompts.shown.size(), 1);
    const auto &box = rig.prompts.shown.first();
    QCOMPARE(box.title, Title);
    const QStringList paragraphs = {
        u"   Вы уверены, что хотите начать новый сеанс приёма данных? Все предыдущие данные, накопленные в "
        u"оперативной памяти для построения графика, будут уничтожены и поле графика очищено. "_s,
        u"   Однако, если Вы записываете данные в файл, то запись продолжится и предыдущие данные, записанные в "
        u"этот файл, сохранятся. Освободится оперативная память для дальнейшей работы."_s,
        u"   Если Вы сомневаетесь в целесообразности данной операции, то перед тем, как её осуществить, сделайте "
        u"снимок графика с записью в файл."_s,
        u"Уничтожить данные из оперативной памяти?"_s,
    };
    QCOMPARE(box.text, paragraphs.join(u"\n\n"_s));
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(box.defaultButton, Prompts::DefaultButton::Second);
    QCOMPARE(rig.state().readings, readings);
    QCOMPARE(rig.state().pointCount, qint64(30));
    QCOMPARE(rig.state().startTime, Opened);
    QCOMPARE(rig.view.box.contents, terminal);
    QCOMPARE(rig.chart.calls, QStringList());
}

void tst_NewSession::newSession_data() {
    QTest::addColumn<Prompts::Answer>("restart");
    QTest::addColumn<QDateTime>("startTime");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("nextLabel");
    QTest::newRow("No keeps the start") << Prompts::Answer::No << Opened << u"08 декабря 14`05"_s << u"00:02:05"_s;
    QTest::newRow("Yes restarts it") << Prompts::Answer::Yes << Asked << u"08 декабря 14`07"_s << u"00:00:05"_s;
}

void tst_NewSession::newSession() {
    QFETCH(Prompts::Answer, restart);
    QFETCH(QDateTime, startTime);
    QFETCH(QString, title);
    QFETCH(QString, nextLabel);
    LogicRig rig;
    thirtyReadings(rig);
    SessionState &s = rig.state();
    // Views are left as they are.
    s.onlyEnd = true;
    s.endStart = 5;
    s.endReadings = ReadingsTable(5, 50);
    const ReadingsTable end = s.endReadings;
    s.autoTickDivision = false;
    s.xTickDivisions = 4;
    rig.chart.calls.clear();
    rig.prompts.messageAnswers = {Prompts::Answer::Ok, restart};
    rig.logic->runMenuItem(menu::NewSession);

    QCOMPARE(rig.prompts.shown.size(), 2);
    const auto &second = rig.prompts.shown.last();
    QCOMPARE(second.title, Title);
    QCOMPARE(second.text, u"   Обнулить время начала нового сеанса приёма данных"_s);
    QCOMPARE(second.icon, Prompts::Icon::Question);
    QCOMPARE(second.buttons, Prompts::Buttons::YesNo);
    QCOMPARE(second.defaultButton, Prompts::DefaultButton::Second);

    QCOMPARE(s.startTime, startTime);
    QCOMPARE(s.pointCount, qint64(0));
    QCOMPARE(s.readings.firstColumn(), qint64(1));
    QCOMPARE(s.readings.lastColumn(), qint64(40));
    QCOMPARE(s.readings.cell(2, 1).toText(), title);
    QCOMPARE(s.readings.cell(1, 40).toText(), u"C40"_s);
    QVERIFY(s.readings.cell(2, 2).isEmpty());
    QVERIFY(rig.chart.calls.contains(u"setChartData(1..40)"_s));
    QCOMPARE(rig.chart.title, title);
    QCOMPARE(rig.view.box.contents, QString());
    // The X-axis division is automatic again.
    QVERIFY(s.autoTickDivision);
    QCOMPARE(s.xTickDivisions, std::int16_t(10));
    QVERIFY(rig.view.itemChecked(menu::AutoXDivisions));
    QVERIFY(!rig.view.itemEnabled(menu::XDivisions10));
    QCOMPARE(s.onlyEnd, true);
    QCOMPARE(s.endReadings, end);
    QVERIFY(rig.port.isOpen);

    // The next reading is the session's first, stamped from its start.
    rig.clock.advance(5000);
    rig.reading(555);
    QCOMPARE(s.pointCount, qint64(1));
    QCOMPARE(s.readings.cell(1, 1).toText(), nextLabel);
    QCOMPARE(rig.view.box.contents, u"0555\r\n"_s);
}

void tst_NewSession::readingsDuringTheQuestionsJoinTheNewSession() {
    LogicRig rig;
    thirtyReadings(rig);
    rig.prompts.messageAnswers = {Prompts::Answer::Ok, Prompts::Answer::Yes};
    rig.prompts.whileShown = [&rig](const ScriptedPrompts::Shown &) {
        rig.clock.advance(1000);
        rig.reading(600 + int(rig.prompts.shown.size()));
    };
    rig.logic->runMenuItem(menu::NewSession);
    QCOMPARE(rig.state().pointCount, qint64(2));
    QCOMPARE(rig.state().readings.number(2, 2), 602.0);
    // The clock restarted at the answer, before the held readings were stored.
    QCOMPARE(rig.state().readings.cell(1, 2).toText(), u"00:00:00"_s);
    // Each line was shown as it came; the box was cleared at the confirmation.
    QCOMPARE(rig.view.box.contents, u"0602\r\n"_s);
    QVERIFY(!rig.logic->pipeline().readingsHeld());
}

void tst_NewSession::recordingKeepsGrowing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"nagrev.txt"_s);
    LogicRig rig;
    QVERIFY(rig.logic->recording().openAt(path, u"nagrev.txt"_s));
    thirtyReadings(rig);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    QVERIFY(before.endsWith("00:00:30\t0430\n"));
    rig.prompts.messageAnswers = {Prompts::Answer::Ok, Prompts::Answer::Yes};
    rig.logic->runMenuItem(menu::NewSession);
    QVERIFY(rig.logic->recording().isOpen());
    rig.clock.advance(5000);
    rig.reading(777);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before + "00:00:05\t0777\n");
}

void tst_NewSession::titledNowBeforeThePortWasOpened() {
    // No session has started yet: the curve is titled with the moment the
    // new session began.
    LogicRig rig;
    rig.prompts.messageAnswers = {Prompts::Answer::Ok, Prompts::Answer::No};
    rig.logic->run(Command::StartNewSession);
    QCOMPARE(rig.state().readings.cell(2, 1).toText(), u"08 декабря 14`05"_s);
}

QTEST_MAIN(tst_NewSession)
#include "tst_newsession.moc"
