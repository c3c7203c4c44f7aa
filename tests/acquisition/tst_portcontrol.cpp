// Opening and closing the port, the new-session question, the connection
// timer, and the window's unload.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

class tst_PortControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openAndClose();
    void openFailureShowsThePlatformText();
    void newSessionQuestion_data();
    void newSessionQuestion();
    void noQuestionWithOneReading();
    void readingsWaitForTheAnswer();
    void connectionTime();
    void bothToolbarKeysToggle();
    void unloadClosesEverything();
};

void tst_PortControl::openAndClose() {
    LogicRig rig;
    rig.chart.calls.clear();
    rig.open();
    QVERIFY(rig.port.isOpen);
    QVERIFY(rig.view.itemChecked(menu::OpenPort));
    QVERIFY(rig.view.connected);
    QCOMPARE(rig.view.panels.value(panel::Settings), u"Настройки Порта: 9600,n,8,1"_s);
    QCOMPARE(rig.view.panels.value(panel::Status), u"Порт открыт"_s);
    QCOMPARE(rig.state().startTime, rig.clock.current);
    QVERIFY(rig.logic->portControl().connectionTimer().isActive());
    QVERIFY(rig.chart.calls.contains(u"setSeriesPenColor(10,10,200)"_s)); // the appearance again
    rig.clock.advance(3'723'000);
    rig.open(); // toggles: closes
    QVERIFY(!rig.port.isOpen);
    QVERIFY(!rig.view.itemChecked(menu::OpenPort));
    QVERIFY(!rig.view.connected);
    QCOMPARE(rig.view.panels.value(panel::Status), u"Порт закрыт"_s);
    QCOMPARE(rig.view.panels.value(panel::ConnectTime), u"Длительность приёма  01:02:03 "_s);
    QVERIFY(!rig.logic->portControl().connectionTimer().isActive());
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_PortControl::openFailureShowsThePlatformText() {
    LogicRig rig;
    rig.port.failOpen = u"Порт не найден: /dev/ttyUSB0"_s;
    rig.open();
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().title, u"Зорнета"_s);
    QCOMPARE(rig.prompts.shown.front().text, u"Порт не найден: /dev/ttyUSB0"_s);
    QCOMPARE(rig.prompts.shown.front().icon, Prompts::Icon::Exclamation);
    QVERIFY(!rig.view.itemChecked(menu::OpenPort));
    QVERIFY(!rig.view.connected);
    QCOMPARE(rig.view.panels.value(panel::Status), u"Порт закрыт"_s);
}

void tst_PortControl::newSessionQuestion_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<qint64>("countAfter");
    QTest::addColumn<qint64>("nextColumn");
    QTest::addColumn<qint64>("columns"); // Yes clears the old session's cells, as a new session does
    QTest::newRow("Yes") << true << qint64(0) << qint64(1) << qint64(40);
    QTest::newRow("No") << false << qint64(120) << qint64(121) << qint64(200);
}

void tst_PortControl::newSessionQuestion() {
    QFETCH(bool, yes);
    QFETCH(qint64, countAfter);
    QFETCH(qint64, nextColumn);
    QFETCH(qint64, columns);
    LogicRig rig;
    rig.state().pointCount = 120;
    QVERIFY(rig.state().readings.resize(1, 200));
    rig.prompts.messageAnswers.push_back(yes ? Prompts::Answer::Yes : Prompts::Answer::No);
    rig.open();
    QCOMPARE(rig.prompts.shown.size(), 1);
    const auto &box = rig.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета       Новый сеанс приема данных"_s);
    QCOMPARE(
        box.text,
        u"   В предыдущем сеансе Вы считали 120 точек !\r\r   Обнулить число циклов считывания нового сеанса приёма данных"_s);
    QCOMPARE(box.icon, Prompts::Icon::Question);
    QCOMPARE(box.buttons, Prompts::Buttons::YesNo);
    QCOMPARE(box.defaultButton, Prompts::DefaultButton::Second);
    QCOMPARE(rig.state().pointCount, countAfter);
    QCOMPARE(rig.state().readings.lastColumn(), columns);
    rig.reading(555);
    QCOMPARE(rig.state().readings.number(2, nextColumn), 555.0);
}

void tst_PortControl::noQuestionWithOneReading() {
    LogicRig rig;
    rig.state().pointCount = 1;
    rig.open();
    QCOMPARE(rig.prompts.shown.size(), 0);
    QCOMPARE(rig.state().pointCount, qint64(1));
}

void tst_PortControl::readingsWaitForTheAnswer() {
    LogicRig rig;
    rig.state().pointCount = 120;
    QVERIFY(rig.state().readings.resize(1, 200));
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Yes);
    rig.prompts.whileShown = [&](const ScriptedPrompts::Shown &) {
        // Readings arrive while the user thinks about the answer.
        rig.clock.advance(5000);
        rig.reading(701);
        rig.reading(702);
    };
    const QDateTime opened = rig.clock.current;
    rig.open();
    // They were shown at once and went to the session the answer chose,
    // stamped from the open.
    SessionState &s = rig.state();
    QCOMPARE(rig.view.box.contents, u"0701\r\n0702\r\n"_s);
    QCOMPARE(s.pointCount, qint64(2));
    QCOMPARE(s.readings.number(2, 1), 701.0);
    QCOMPARE(s.readings.number(2, 2), 702.0);
    QCOMPARE(s.readings.cell(1, 2).toText(), u"00:00:05"_s);
    QCOMPARE(s.startTime, opened);
}

void tst_PortControl::connectionTime() {
    LogicRig rig;
    rig.open();
    rig.clock.advance(25 * 3600 * 1000LL);
    rig.logic->portControl().showConnectionTime();
    QCOMPARE(rig.view.panels.value(panel::ConnectTime), u"Время с начала приёма  01:00:00 "_s);
    rig.clock.advance(59'000);
    rig.logic->portControl().showConnectionTime();
    QCOMPARE(rig.view.panels.value(panel::ConnectTime), u"Время с начала приёма  01:00:59 "_s);
}

void tst_PortControl::bothToolbarKeysToggle() {
    LogicRig rig;
    QCOMPARE(rig.logic->runToolbarKey(toolbar::ClosePort), commandForMenuItem(menu::OpenPort));
    QVERIFY(rig.port.isOpen);
    QCOMPARE(rig.logic->runToolbarKey(toolbar::PortOpen), commandForMenuItem(menu::OpenPort));
    QVERIFY(!rig.port.isOpen);
    QCOMPARE(rig.logic->runToolbarKey(u"portopen"_s), commandForMenuItem(QString()));
    QVERIFY(!rig.port.isOpen);
}

void tst_PortControl::unloadClosesEverything() {
    LogicRig rig;
    rig.open();
    rig.logic->unload();
    QVERIFY(!rig.port.isOpen);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

QTEST_GUILESS_MAIN(tst_PortControl)
#include "tst_portcontrol.moc"
