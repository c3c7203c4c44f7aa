// The signal temperature: its entry, the alarms it arms, and the alarm window.

#include "common/ItemNames.h"
#include "settings/ui/AlarmWindow.h"
#include "shell/ui/MainWindow.h"
#include "support/LogicRig.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {
const QString EntryTitle = u"       Сигнализация"_s;
}

class tst_AlarmTemperature : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entry_data();
    void entry();
    void inputBox();
    void threeAlarmsThenNone();
    void newEntryReArms();
    void alarmWindow();
    void clickClosesTheAlarmWindow_data();
    void clickClosesTheAlarmWindow();
};

void tst_AlarmTemperature::entry_data() {
    QTest::addColumn<std::optional<QString>>("typed");
    QTest::addColumn<qint64>("temperature");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<bool>("refused");
    const auto typed = [](const QString &s) { return std::optional<QString>(s); };
    // Before each entry: temperature 77, alarm spent, "77  град" shown.
    QTest::newRow("250") << typed(u"250"_s) << qint64(250) << true << false;
    QTest::newRow("250.6") << typed(u"250.6"_s) << qint64(251) << true << false;
    QTest::newRow("250.5 to even") << typed(u"250.5"_s) << qint64(250) << true << false;
    QTest::newRow("251.5 to even") << typed(u"251.5"_s) << qint64(252) << true << false;
    QTest::newRow("blanks inside") << typed(u" 2 5 0"_s) << qint64(250) << true << false;
    QTest::newRow("tabs and sign") << typed(u"\t-1\t2"_s) << qint64(-12) << true << false;
    QTest::newRow("exponent") << typed(u"1e3"_s) << qint64(1000) << true << false;
    QTest::newRow("signed exponent") << typed(u"2.5E+2"_s) << qint64(250) << true << false;
    QTest::newRow("exponent without digits") << typed(u"12e"_s) << qint64(12) << true << false;
    QTest::newRow("text after the number") << typed(u"12abc"_s) << qint64(12) << true << false;
    QTest::newRow("point first") << typed(u".6"_s) << qint64(1) << true << false;
    QTest::newRow("largest") << typed(u"2147483647"_s) << qint64(2147483647) << true << false;
    QTest::newRow("abc") << typed(u"abc"_s) << qint64(9998) << false << false;
    QTest::newRow("0") << typed(u"0"_s) << qint64(9998) << false << false;
    QTest::newRow("rounds to 0") << typed(u"0.4"_s) << qint64(9998) << false << false;
    QTest::newRow("empty") << typed(QString()) << qint64(9998) << false << false;
    QTest::newRow("Cancel") << std::optional<QString>() << qint64(9998) << false << false;
    QTest::newRow("above 32 bits") << typed(u"3e9"_s) << qint64(77) << false << true;
    QTest::newRow("below 32 bits") << typed(u"-2147483649"_s) << qint64(77) << false << true;
    QTest::newRow("beyond a double") << typed(u"1e400"_s) << qint64(77) << false << true;
}

void tst_AlarmTemperature::entry() {
    QFETCH(std::optional<QString>, typed);
    QFETCH(qint64, temperature);
    QFETCH(bool, armed);
    QFETCH(bool, refused);
    LogicRig rig;
    SessionState &s = rig.state();
    s.temperature = 77;
    s.alarmCount = 3;
    rig.view.sig = u"77  град"_s;
    rig.prompts.inputAnswers.push_back(typed);
    rig.logic->runMenuItem(menu::AlarmTemperature);
    QCOMPARE(s.temperature, temperature);
    QCOMPARE(s.alarmCount, armed ? 0 : 3);
    QCOMPARE(rig.view.sig, armed ? QString::number(temperature) + u"  град"_s : u"77  град"_s);
    QCOMPARE(rig.prompts.shown.size(), refused ? 2 : 1);
    if (refused) {
        const auto &box = rig.prompts.shown.last();
        QCOMPARE(box.title, EntryTitle);
        QCOMPARE(box.text, u"Значение температуры вне допустимого диапазона (от -2147483648 до 2147483647): "_s +
                               typed->trimmed() + u"\n\nПрежнее значение сохранено."_s);
        QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    }
}

void tst_AlarmTemperature::inputBox() {
    LogicRig rig;
    rig.prompts.inputAnswers.push_back(u"300"_s);
    QCOMPARE(rig.logic->runToolbarKey(toolbar::AlarmTemperature), commandForMenuItem(menu::AlarmTemperature));
    QCOMPARE(rig.prompts.shown.size(), 1);
    const auto &box = rig.prompts.shown.first();
    QCOMPARE(box.kind, ScriptedPrompts::Kind::InputBox);
    QCOMPARE(box.title, EntryTitle);
    QCOMPARE(box.text, u"      Введите значение температуры, по достижении которой будет выдан сигнал"_s);
    QCOMPARE(box.proposed, u"200"_s);
    // 1600 and 1200 twips from the screen's corner.
    QCOMPARE(box.position, std::optional<QPoint>(QPoint(107, 80)));
    QCOMPARE(rig.state().temperature, qint64(300));
}

void tst_AlarmTemperature::threeAlarmsThenNone() {
    LogicRig rig;
    rig.open();
    rig.prompts.inputAnswers.push_back(u"250"_s);
    rig.logic->runMenuItem(menu::AlarmTemperature);
    rig.clock.current = QDateTime(QDate(2026, 12, 8), QTime(14, 5, 33));
    rig.reading(250);
    QCOMPARE(rig.view.alarmText, u"Достигнута заданная температура   \" 250 \"  градусов в 14.05.33"_s);
    rig.group("249.9\r\n");
    rig.reading(250);
    rig.reading(250);
    QCOMPARE(rig.view.alarmsShown, 3);
    QCOMPARE(rig.beeper.count, 150);
    rig.reading(250);
    QCOMPARE(rig.view.alarmsShown, 3);
    QCOMPARE(rig.beeper.count, 150);
    QCOMPARE(rig.state().alarmCount, 3);
}

void tst_AlarmTemperature::newEntryReArms() {
    LogicRig rig;
    rig.open();
    rig.prompts.inputAnswers = {u"250"_s, u"0"_s, u"251"_s};
    rig.logic->runMenuItem(menu::AlarmTemperature);
    for (int i = 0; i < 4; ++i)
        rig.reading(250);
    QCOMPARE(rig.view.alarmsShown, 3);
    // 0 means no temperature: nothing re-armed, and no reading is 9998.
    rig.logic->runMenuItem(menu::AlarmTemperature);
    QCOMPARE(rig.state().temperature, qint64(9998));
    rig.reading(250);
    QCOMPARE(rig.view.alarmsShown, 3);
    rig.logic->runMenuItem(menu::AlarmTemperature);
    QCOMPARE(rig.view.sig, u"251  град"_s);
    rig.reading(251);
    QCOMPARE(rig.view.alarmsShown, 4);
    QVERIFY(rig.view.alarmText.contains(u"\" 251 \""_s));
}

void tst_AlarmTemperature::alarmWindow() {
    MainWindow window;
    window.show();
    window.showAlarm(u"первый"_s);
    AlarmWindow *alarm = window.alarmWindow();
    QVERIFY(alarm);
    QTRY_VERIFY(alarm->isVisible());
    QVERIFY(!alarm->isModal());
    QCOMPARE(alarm->windowTitle(), u"                  Сигнализации температуры"_s);
    QCOMPARE(alarm->frame()->title(), u"Первичное достижение температуры"_s);
    QCOMPARE(alarm->frame()->objectName(), u"Frame1"_s);
    QCOMPARE(alarm->messageField()->objectName(), u"txtSigTemp"_s);
    QCOMPARE(alarm->messageField()->text(), u"первый"_s);
    // A further alarm rewrites the open window.
    window.showAlarm(u"второй"_s);
    QCOMPARE(window.alarmWindow(), alarm);
    QVERIFY(alarm->isVisible());
    QCOMPARE(alarm->messageField()->text(), u"второй"_s);
    // The main window still takes input.
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_AlarmTemperature::clickClosesTheAlarmWindow_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("background") << u"SigTemp"_s;
    QTest::newRow("frame") << u"Frame1"_s;
    QTest::newRow("text box") << u"txtSigTemp"_s;
}

void tst_AlarmTemperature::clickClosesTheAlarmWindow() {
    QFETCH(QString, target);
    MainWindow window;
    window.show();
    window.showAlarm(u"Достигнута"_s);
    AlarmWindow *alarm = window.alarmWindow();
    QTRY_VERIFY(alarm->isVisible());
    QWidget *clicked = target == alarm->objectName() ? alarm : alarm->findChild<QWidget *>(target);
    QVERIFY(clicked);
    QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(2, 2));
    QTRY_VERIFY(!alarm->isVisible());
    // The next alarm shows it again.
    window.showAlarm(u"снова"_s);
    QTRY_VERIFY(window.alarmWindow()->isVisible());
    QCOMPARE(window.alarmWindow()->messageField()->text(), u"снова"_s);
}

QTEST_MAIN(tst_AlarmTemperature)
#include "tst_alarmtemperature.moc"
