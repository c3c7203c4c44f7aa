// The communications event handler on scripted doubles: the read-period gate,
// storing, the thermocouple break, the alarm, line faults, the update step,
// the automatic X-axis spacing, and events that arrive while a message box is
// open.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

class tst_ReadingPipeline : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readingsLandInTheirColumns();
    void readPeriodGate();
    void faultsAreReportedWhateverTheReadPeriod();
    void updateStepGrowsAndRedraws();
    void longUpdatePeriodGrowsBeforeStoring();
    void thermocoupleBreak();
    void alarmAtTheSetTemperature();
    void alarmNeedsExactEquality();
    void alarmAtZeroBeforeAnyTemperature();
    void garbageIsShownButNotStored();
    void lineEventTexts_data();
    void lineEventTexts();
    void lineErrorOkKeepsReceiving();
    void lineErrorCancelClosesThePort();
    void eventsDuringAnErrorBoxAreStoredOnce();
    void faultsDuringAnErrorBoxDoNotPileUp();
    void automaticXSpacingDoubles();
    void xSpacingStopsAtTheCountLimit();
    void onlyEndStoresInBothTables();
    void refusedChartStepsAreSkipped();
    void counterPanelFollows();
    void receptionGoesOnWhileBoxesAreUp();
    void alarmWhenTheTemperatureIsPassed_data();
    void alarmWhenTheTemperatureIsPassed();
    void clockTimesSurviveAReopen_data();
    void clockTimesSurviveAReopen();
};

void tst_ReadingPipeline::readingsLandInTheirColumns() {
    LogicRig rig;
    rig.open();
    rig.clock.advance(317'000);
    rig.reading(20);
    rig.clock.advance(640);
    rig.reading(21);
    rig.clock.advance(1000);
    rig.reading(23);
    SessionState &s = rig.state();
    QCOMPARE(s.pointCount, qint64(3));
    // The first reading sits in the title cell until the first update.
    QCOMPARE(s.readings.cell(2, 1), Cell::number(20));
    QCOMPARE(s.readings.cell(2, 2), Cell::number(21));
    QCOMPARE(s.readings.cell(2, 3), Cell::number(23));
    QCOMPARE(s.readings.cell(1, 1).toText(), u"00:05:17"_s);
    QCOMPARE(s.readings.cell(1, 2).toText(), u"00:05:17"_s);
    QCOMPARE(s.readings.cell(1, 3).toText(), u"00:05:18"_s);
    QCOMPARE(s.commEventCount, qint64(3));
    QCOMPARE(rig.view.box.contents, u"0020\r\n0021\r\n0023\r\n"_s);
}

void tst_ReadingPipeline::readPeriodGate() {
    LogicRig rig;
    rig.open();
    rig.state().readPeriod = 5;
    for (int i = 0; i < 12; ++i)
        rig.reading(100 + i);
    SessionState &s = rig.state();
    // Events 0, 5 and 10 became readings.
    QCOMPARE(s.pointCount, qint64(3));
    QCOMPARE(s.readings.number(2, 1), 100.0);
    QCOMPARE(s.readings.number(2, 2), 105.0);
    QCOMPARE(s.readings.number(2, 3), 110.0);
    QCOMPARE(s.commEventCount, qint64(12));
    // Every line is shown (and recorded); the period thins only the table.
    QString shown;
    for (int i = 0; i < 12; ++i)
        shown += u"01%1\r\n"_s.arg(i, 2, 10, QChar(u'0'));
    QCOMPARE(rig.view.box.contents, shown);
}

void tst_ReadingPipeline::faultsAreReportedWhateverTheReadPeriod() {
    // The read period thins the table only: a fault is reported whenever it
    // comes.
    LogicRig rig;
    rig.open();
    rig.state().readPeriod = 5;
    rig.reading(1); // event 0: stored
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    rig.port.deliver(CommEvents::RxOver); // event 1: not a reading's turn
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.beeper.count, 300);
    QCOMPARE(rig.view.panels.value(panel::Status), u"Переполнение буфера приема данных  14:05:00"_s);
}

void tst_ReadingPipeline::updateStepGrowsAndRedraws() {
    LogicRig rig;
    rig.open();
    const int before = rig.chart.tablesGiven;
    for (int i = 1; i <= 10; ++i)
        rig.reading(800 + i);
    SessionState &s = rig.state();
    QCOMPARE(s.readings.lastColumn(), qint64(50));
    QCOMPARE(s.readings.cell(1, 50).toText(), u"C50"_s);
    QCOMPARE(s.readings.cell(2, 1).toText(), u"08 декабря 14`05"_s);
    QCOMPARE(rig.chart.tablesGiven, before + 1);
    QCOMPARE(rig.chart.table.lastColumn(), qint64(50));
    QCOMPARE(rig.chart.table.number(2, 10), 810.0);
    QVERIFY(rig.chart.calls.contains(u"setCategoryScaleAuto(Y,1)"_s));
    rig.reading(811);
    QCOMPARE(rig.chart.tablesGiven, before + 1); // not redrawn after reading 11
    QCOMPARE(s.readings.number(2, 11), 811.0);
}

void tst_ReadingPipeline::longUpdatePeriodGrowsBeforeStoring() {
    LogicRig rig;
    rig.open();
    rig.state().updatePeriod = 100;
    const int before = rig.chart.tablesGiven;
    for (int i = 1; i <= 99; ++i)
        rig.reading(i);
    SessionState &s = rig.state();
    // Readings 41 to 99 found their columns; no redraw yet.
    QCOMPARE(s.readings.number(2, 41), 41.0);
    QCOMPARE(s.readings.number(2, 99), 99.0);
    QCOMPARE(rig.chart.tablesGiven, before);
    QCOMPARE(s.readings.cell(1, s.readings.lastColumn()).toText(), u"C"_s + QString::number(s.readings.lastColumn()));
    rig.reading(100);
    QCOMPARE(rig.chart.tablesGiven, before + 1);
    QCOMPARE(s.readings.number(2, 100), 100.0);
    QVERIFY(s.readings.lastColumn() >= 200);
}

void tst_ReadingPipeline::thermocoupleBreak() {
    LogicRig rig;
    rig.open();
    rig.reading(850);
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    rig.group("9999\r\n");
    QVERIFY(!rig.port.isOpen);
    QCOMPARE(rig.view.itemChecked(menu::OpenPort), false);
    QCOMPARE(rig.view.connected, false);
    QCOMPARE(rig.view.panels.value(panel::Status), u"Порт закрыт"_s);
    QCOMPARE(rig.prompts.shown.size(), 1);
    const auto &box = rig.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета:  Внимание - неисправность !"_s);
    QCOMPARE(box.text,
             u"Обнаружен обрыв в цепи Термопары. \n\nЗапись в файл  остановлена.  Коммуникационный порт закрыт"_s);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    // The break value is stored like any reading.
    QCOMPARE(rig.state().pointCount, qint64(2));
    QCOMPARE(rig.state().readings.number(2, 2), 9999.0);
    QCOMPARE(rig.view.panels.value(panel::Counter), u"2"_s);
}

void tst_ReadingPipeline::alarmAtTheSetTemperature() {
    LogicRig rig;
    rig.open();
    rig.state().temperature = 850;
    rig.clock.current = QDateTime(QDate(2026, 12, 8), QTime(16, 7, 9));
    rig.reading(850);
    QCOMPARE(rig.view.alarmsShown, 1);
    QCOMPARE(rig.view.alarmText, u"Достигнута заданная температура   \" 850 \"  градусов в 16.07.09"_s);
    QCOMPARE(rig.beeper.count, 50);
    QCOMPARE(rig.state().alarmCount, 1);
    rig.reading(851);
    rig.reading(850);
    rig.reading(850);
    QCOMPARE(rig.view.alarmsShown, 3);
    rig.reading(850); // the fourth equal reading
    QCOMPARE(rig.view.alarmsShown, 3);
    QCOMPARE(rig.beeper.count, 150);
    QCOMPARE(rig.state().alarmCount, 3);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_ReadingPipeline::alarmNeedsExactEquality() {
    LogicRig rig;
    rig.open();
    rig.state().temperature = 850;
    rig.group("849.9\r");
    QCOMPARE(rig.view.alarmsShown, 0);
    QCOMPARE(rig.state().readings.number(2, 1), 849.9);
}

void tst_ReadingPipeline::alarmAtZeroBeforeAnyTemperature() {
    LogicRig rig;
    rig.open();
    rig.reading(0);
    QCOMPARE(rig.view.alarmsShown, 1);
    QVERIFY(rig.view.alarmText.contains(u"\" 0 \""_s));
}

void tst_ReadingPipeline::garbageIsShownButNotStored() {
    LogicRig rig;
    rig.open();
    rig.reading(20);
    rig.group("#?Z!\r\n");
    rig.group("1#?Z\r\n"); // a spoiled group is no reading of 1 degree
    rig.reading(21);
    SessionState &s = rig.state();
    QCOMPARE(s.pointCount, qint64(2));
    QCOMPARE(s.readings.number(2, 2), 21.0);
    QCOMPARE(rig.view.alarmsShown, 0); // a text without a number is no 0 degrees
    QVERIFY(rig.port.isOpen);
    QCOMPARE(rig.view.box.contents, u"0020\r\n#?Z!\r\n1#?Z\r\n0021\r\n"_s);
}

void tst_ReadingPipeline::lineEventTexts_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("1001") << 1001
                          << u"Получен сигнал о Вкл/Выкл питания терморегулятора или о подключении в цепи данных"_s;
    QTest::newRow("1002") << 1002 << u"Ошибка по времени CTSTO"_s;
    QTest::newRow("1003") << 1003 << u"Ошибка по времени DSRTO"_s;
    QTest::newRow("1004") << 1004 << u"Ошибка кадрирования принимаемых данных"_s;
    QTest::newRow("1006") << 1006 << u"Ошибка выполнения"_s;
    QTest::newRow("1007") << 1007 << u"Ошибка по времени CDTO"_s;
    QTest::newRow("1008") << 1008 << u"Переполнение буфера приема данных"_s;
    QTest::newRow("1009") << 1009 << u"Ошибка четности"_s;
    // The second word holds a Latin e.
    QTest::newRow("1010") << 1010 << u"Буфер п"_s + QChar(0x65) + u"редачи полон"_s;
    QTest::newRow("1011") << 1011 << u"Ошибка высвобождения DCB"_s;
    QTest::newRow("CTS change") << 3 << u"Неизвестная ошибка или событие"_s;
    QTest::newRow("ring") << 6 << u"Неизвестная ошибка или событие"_s;
    QTest::newRow("1005") << 1005 << u"Неизвестная ошибка или событие"_s;
}

void tst_ReadingPipeline::lineEventTexts() {
    QFETCH(int, code);
    QFETCH(QString, text);
    LogicRig rig;
    rig.open();
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    rig.port.deliver(code);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().text,
             text + u"\n\nОК - Продолжение программы, Отмена - Прекрашение приема данных и закрытие порта"_s);
    QCOMPARE(rig.view.panels.value(panel::Status), text + u"  14:05:00"_s);
}

void tst_ReadingPipeline::lineErrorOkKeepsReceiving() {
    LogicRig rig;
    rig.open();
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    rig.port.deliver(CommEvents::RxOver);
    const auto &box = rig.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета:   Ошибка коммуникационного Порта"_s);
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(rig.beeper.count, 300);
    QVERIFY(rig.port.isOpen);
    rig.reading(30);
    QCOMPARE(rig.state().pointCount, qint64(1));
}

void tst_ReadingPipeline::lineErrorCancelClosesThePort() {
    LogicRig rig;
    rig.open();
    rig.clock.advance(65'000);
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Cancel);
    rig.port.deliver(CommEvents::RxOver);
    QVERIFY(!rig.port.isOpen);
    QCOMPARE(rig.view.connected, false);
    QCOMPARE(rig.view.panels.value(panel::Status), u"Порт закрыт 08.12.2026 14:06:05"_s);
    QCOMPARE(rig.view.panels.value(panel::ConnectTime), u"Длительность приёма  00:01:05 "_s);
    QVERIFY(!rig.logic->portControl().connectionTimer().isActive());
    QVERIFY(!rig.view.itemChecked(menu::OpenPort));
}

void tst_ReadingPipeline::eventsDuringAnErrorBoxAreStoredOnce() {
    LogicRig rig;
    rig.open();
    rig.reading(100);
    bool nested = false;
    rig.prompts.whileShown = [&](const ScriptedPrompts::Shown &) {
        if (nested)
            return;
        nested = true;
        // The user looks at the box while readings keep arriving.
        rig.reading(101);
        rig.reading(102);
    };
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    rig.port.deliver(CommEvents::Frame);
    rig.reading(103);
    SessionState &s = rig.state();
    QCOMPARE(s.pointCount, qint64(4));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(s.readings.number(2, i + 1), 100.0 + i);
    QCOMPARE(s.commEventCount, qint64(5));
    QCOMPARE(rig.view.box.contents, u"0100\r\n0101\r\n0102\r\n0103\r\n"_s);
    QCOMPARE(rig.view.panels.value(panel::Counter), u"4"_s);
}

void tst_ReadingPipeline::faultsDuringAnErrorBoxDoNotPileUp() {
    LogicRig rig;
    rig.open();
    int depth = 0;
    rig.prompts.whileShown = [&](const ScriptedPrompts::Shown &) {
        ++depth;
        if (depth == 1) {
            rig.clock.advance(2000);
            rig.port.deliver(CommEvents::Frame);
            rig.port.deliver(CommEvents::RxParity);
        }
    };
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    rig.port.deliver(CommEvents::RxOver);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.beeper.count, 300);
    // The later faults are still visible on the status bar.
    QCOMPARE(rig.view.panels.value(panel::Status), u"Ошибка четности  14:05:02"_s);
    QVERIFY(rig.port.isOpen);
}

void tst_ReadingPipeline::automaticXSpacingDoubles() {
    LogicRig rig;
    rig.open();
    SessionState &s = rig.state();
    QVERIFY(s.autoTickDivision);
    QVERIFY(s.readings.growBy(20)); // 60 columns
    rig.reading(1);
    QCOMPARE(s.xTickDivisions, std::int16_t(2));
    QCOMPARE(s.xLabelDivisions, std::int16_t(2));
    QCOMPARE(rig.chart.divisionsPerTick, 2);
    QCOMPARE(rig.chart.divisionsPerLabel, 2);
    rig.reading(2);
    QCOMPARE(s.xTickDivisions, std::int16_t(2)); // 60 div 2 = 30
    QVERIFY(s.readings.growBy(50));              // 110 columns: 110 div 2 = 55
    rig.reading(3);
    QCOMPARE(s.xTickDivisions, std::int16_t(4));
    QCOMPARE(rig.chart.divisionsPerLabel, 4);
    // The order of the chart calls: ticks first, then labels.
    const auto ticks = rig.chart.calls.lastIndexOf(u"setDivisionsPerTick(4)"_s);
    const auto labels = rig.chart.calls.lastIndexOf(u"setDivisionsPerLabel(4)"_s);
    QVERIFY(ticks >= 0 && labels == ticks + 1);
}

void tst_ReadingPipeline::xSpacingStopsAtTheCountLimit() {
    LogicRig rig;
    rig.open();
    SessionState &s = rig.state();
    s.xTickDivisions = 16384;
    s.xLabelDivisions = 16384;
    QVERIFY(s.readings.resize(1, 16384 * 51 + 1));
    rig.reading(1);
    // Doubling would leave the 16-bit range: the spacing stays.
    QCOMPARE(s.xTickDivisions, std::int16_t(16384));
    QCOMPARE(s.pointCount, qint64(1));
}

void tst_ReadingPipeline::onlyEndStoresInBothTables() {
    LogicRig rig;
    rig.open();
    SessionState &s = rig.state();
    s.onlyEnd = true;
    s.endStart = 1;
    s.endReadings = ReadingsTable(1, 30);
    for (int i = 1; i <= 10; ++i)
        rig.reading(1000);
    QCOMPARE(s.endReadings.number(2, 5), 1000.0);
    QCOMPARE(s.endReadings.lastColumn(), qint64(40));
    QCOMPARE(s.endReadings.cell(1, 40).toText(), u"C40"_s);
    QCOMPARE(s.endReadings.cell(2, 1).toText(), u"Только конец"_s);
    // The chart got the end table and a value range around 1000.
    QCOMPARE(rig.chart.title, u"Только конец"_s);
    QCOMPARE(rig.chart.scale.automatic, false);
    QCOMPARE(rig.chart.scale.minimum, 980.0);
    QCOMPARE(rig.chart.scale.maximum, 1020.0);
    QCOMPARE(rig.chart.scale.minorDivision, 40);
    QCOMPARE(rig.chart.scale.majorDivision, 1);
    // The readings table grew too, with its title, without being drawn.
    QCOMPARE(s.readings.lastColumn(), qint64(50));
    QCOMPARE(s.readings.cell(2, 1).toText(), u"08 декабря 14`05"_s);
}

void tst_ReadingPipeline::refusedChartStepsAreSkipped() {
    LogicRig rig;
    rig.open();
    rig.chart.refuse = QStringList{u"setCategoryScaleAuto"_s, u"setDivisionsPerTick"_s};
    QVERIFY(rig.state().readings.growBy(20));
    for (int i = 1; i <= 10; ++i)
        rig.reading(i);
    // Everything after the refused calls still ran.
    QCOMPARE(rig.state().pointCount, qint64(10));
    QCOMPARE(rig.chart.divisionsPerLabel, 2);
    QCOMPARE(rig.view.panels.value(panel::Counter), u"10"_s);
}

void tst_ReadingPipeline::counterPanelFollows() {
    LogicRig rig;
    rig.open();
    rig.state().pointCount = 3'000'000'000LL;
    QVERIFY(rig.state().readings.resize(1, 40));
    rig.reading(5);
    QCOMPARE(rig.view.panels.value(panel::Counter), u"3000000001"_s);
}

void tst_ReadingPipeline::receptionGoesOnWhileBoxesAreUp() {
    // A line error's question and the break's message stay open while lines
    // keep arriving: each is recorded, shown and stored as it comes.
    LogicRig rig;
    QTemporaryDir dir;
    const QString file = dir.filePath(u"r.txt"_s);
    QVERIFY(rig.logic->recording().openAt(file, u"r.txt"_s));
    rig.open();
    rig.prompts.keepBoxesOpen = true;
    rig.port.deliver(CommEvents::Frame);
    rig.clock.advance(1000);
    rig.reading(101);
    rig.reading(9999);
    QCOMPARE(rig.prompts.openBoxes.size(), 2);
    QCOMPARE(rig.prompts.shown.at(0).title, u"Зорнета:   Ошибка коммуникационного Порта"_s);
    QCOMPARE(rig.prompts.shown.at(1).title, u"Зорнета:  Внимание - неисправность !"_s);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("00:00:01\t0101\n00:00:01\t9999\n"));
    QCOMPARE(rig.state().pointCount, qint64(2));
    QCOMPARE(rig.view.box.contents, u"0101\r\n9999\r\n"_s);
    QVERIFY(!rig.port.isOpen);
    // The answers come later and change nothing of what was received.
    rig.prompts.answerOpenBox(Prompts::Answer::Cancel);
    rig.prompts.answerOpenBox(Prompts::Answer::Ok);
    QCOMPARE(rig.state().pointCount, qint64(2));
    QCOMPARE(rig.view.panels.value(panel::Status).left(12), u"Порт закрыт "_s);
}

void tst_ReadingPipeline::alarmWhenTheTemperatureIsPassed_data() {
    // Readings ("x": a line that is no reading, "T": the temperature entered
    // again, "N": a new session) and the alarms they raise at 700.
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("alarms");
    QTest::addColumn<int>("temperature");
    QTest::newRow("equal") << u"700"_s << 1 << 700;
    QTest::newRow("up across") << u"698 702"_s << 1 << 700;
    QTest::newRow("down across") << u"702 698"_s << 1 << 700;
    QTest::newRow("up to it, no further") << u"698 699"_s << 0 << 700;
    QTest::newRow("garbage is no side") << u"698 x 702"_s << 1 << 700;
    QTest::newRow("at most three") << u"698 702 698 702 698"_s << 3 << 700;
    QTest::newRow("forgotten when entered") << u"698 T 702"_s << 0 << 700;
    QTest::newRow("forgotten by a new session") << u"698 N 702"_s << 0 << 700;
    QTest::newRow("no temperature: equality only") << u"-5 5 0"_s << 1 << 0;
}

void tst_ReadingPipeline::alarmWhenTheTemperatureIsPassed() {
    QFETCH(QString, script);
    QFETCH(int, alarms);
    QFETCH(int, temperature);
    LogicRig rig;
    rig.open();
    rig.state().temperature = temperature;
    for (const QString &step : script.split(u' ')) {
        if (step == u"x") {
            rig.group("ab\r\n");
        } else if (step == u"T") {
            rig.prompts.inputAnswers.push_back(QString::number(temperature));
            rig.logic->run(Command::EnterAlarmTemperature);
        } else if (step == u"N") {
            rig.prompts.messageAnswers = {Prompts::Answer::Ok, Prompts::Answer::No};
            rig.logic->run(Command::StartNewSession);
        } else {
            rig.group(step.toLatin1() + "\r\n");
        }
    }
    QCOMPARE(rig.view.alarmsShown, alarms);
    QCOMPARE(rig.beeper.count, alarms * 50);
}

void tst_ReadingPipeline::clockTimesSurviveAReopen_data() {
    QTest::addColumn<bool>("newSession");
    QTest::addColumn<qint64>("firstOfSecond"); // the column of the second opening's first reading
    QTest::newRow("session goes on") << false << qint64(3);
    QTest::newRow("new session") << true << qint64(1);
}

// The elapsed labels start again with every opening of the port; the clock
// time of each reading is its own.
void tst_ReadingPipeline::clockTimesSurviveAReopen() {
    QFETCH(bool, newSession);
    QFETCH(qint64, firstOfSecond);
    LogicRig rig;
    SessionState &s = rig.state();
    const QDateTime start = rig.clock.now();
    rig.open();
    rig.clock.advance(5'000);
    rig.reading(500);
    rig.clock.advance(2'000);
    rig.reading(501);
    rig.open(); // closes the port
    rig.clock.advance(3'600'000);
    rig.prompts.messageAnswers.push_back(newSession ? Prompts::Answer::Yes : Prompts::Answer::No);
    rig.open();
    rig.clock.advance(4'000);
    rig.reading(600);
    rig.clock.advance(1'000);
    rig.reading(601);

    QCOMPARE(s.readings.number(2, firstOfSecond), 600.0);
    QCOMPARE(s.readings.cell(1, firstOfSecond).toText(), u"00:00:04"_s);
    QCOMPARE(s.readings.clockTime(firstOfSecond), start.addSecs(3600 + 5 + 2 + 4));
    QCOMPARE(s.readings.clockTime(firstOfSecond + 1), start.addSecs(3600 + 5 + 2 + 4 + 1));
    if (!newSession) {
        QCOMPARE(s.readings.cell(1, 2).toText(), u"00:00:07"_s);
        QCOMPARE(s.readings.clockTime(1), start.addSecs(5));
        QCOMPARE(s.readings.clockTime(2), start.addSecs(7));
    }
    // Past the newest reading no clock time is known.
    QVERIFY(!s.readings.clockTime(firstOfSecond + 2).isValid());
}

QTEST_GUILESS_MAIN(tst_ReadingPipeline)
#include "tst_readingpipeline.moc"
