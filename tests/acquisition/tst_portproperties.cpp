// The port settings dialog's logic: the preset from the port, OK in its
// steps with every failure path, Cancel, the menu and toolbar commands.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

QString key(const QString &name) {
    return u"Зорнета/Properties/"_s + name;
}

} // namespace

class tst_PortProperties : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void presetFromThePort_data();
    void presetFromThePort();
    void unlistedValueIsKept();
    void portToolTips();
    void okWithoutChange_data();
    void okWithoutChange();
    void changedNumberWhileOpen();
    void reopenFailureLeavesThePortClosed();
    void laterStepRefused_data();
    void laterStepRefused();
    void cancelChangesNothing();
    void menuAndToolbarOpenTheDialog();
};

void tst_PortProperties::presetFromThePort_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("handshaking");
    QTest::addColumn<bool>("echo");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("parity");
    QTest::addColumn<QString>("dataBits");
    QTest::addColumn<QString>("stopBits");
    QTest::newRow("19200,e,7,2") << u"19200,e,7,2"_s << 0 << false << u"19200"_s << u"Even"_s << u"7"_s << u"2"_s;
    QTest::newRow("9600,n,8,1.5") << u"9600,n,8,1.5"_s << 1 << true << u"9600"_s << u"None"_s << u"8"_s << u"1.5"_s;
    QTest::newRow("1200,o,5,1") << u"1200,o,5,1"_s << 2 << false << u"1200"_s << u"Odd"_s << u"5"_s << u"1"_s;
    QTest::newRow("14400,m,4,1.5") << u"14400,m,4,1.5"_s << 3 << true << u"14400"_s << u"Mark"_s << u"4"_s << u"1.5"_s;
    QTest::newRow("2400,s,6,2") << u"2400,s,6,2"_s << 0 << false << u"2400"_s << u"Space"_s << u"6"_s << u"2"_s;
}

void tst_PortProperties::presetFromThePort() {
    QFETCH(QString, settings);
    QFETCH(int, handshaking);
    QFETCH(bool, echo);
    LogicRig rig;
    rig.port.lineSettings = settings;
    rig.port.flowControl = handshaking;
    rig.port.portNumber = 7;
    rig.state().echo = echo;
    PortProperties &p = rig.logic->portProperties();
    p.load();
    QVERIFY(p.isLoaded());
    QFETCH(QString, speed);
    QFETCH(QString, parity);
    QFETCH(QString, dataBits);
    QFETCH(QString, stopBits);
    QCOMPARE(PortProperties::speedEntries().value(p.speedPosition), speed);
    QCOMPARE(PortProperties::parityEntries().value(p.parityPosition), parity);
    QCOMPARE(PortProperties::dataBitsEntries().value(p.dataBitsPosition), dataBits);
    QCOMPARE(PortProperties::stopBitsEntries().value(p.stopBitsPosition), stopBits);
    QCOMPARE(PortProperties::portEntries().value(p.portPosition), u"Com7"_s);
    QCOMPARE(p.flowControlOption, handshaking);
    QCOMPARE(p.handshakingChoice, handshaking);
    QCOMPARE(p.echoOption, echo ? 1 : 0);
    QCOMPARE(p.echoChoice, echo);
    // Unchanged choices give the same line parameters back (parity as its
    // entry's initial).
    QCOMPARE(p.chosenSettings().toLower(), settings);
}

void tst_PortProperties::unlistedValueIsKept() {
    LogicRig rig;
    rig.port.lineSettings = u"38400,n,8,1"_s;
    PortProperties &p = rig.logic->portProperties();
    p.load();
    QCOMPARE(p.speedPosition, -1);
    QCOMPARE(p.unlistedSpeed, u"38400"_s);
    QCOMPARE(p.chosenSettings(), u"38400,N,8,1"_s);
    p.speedPosition = 5;
    QCOMPARE(p.chosenSettings(), u"19200,N,8,1"_s);
}

void tst_PortProperties::portToolTips() {
    LogicRig rig;
    rig.port.devices = {{1, u"/dev/ttyUSB0"_s}, {3, u"/dev/pts/7"_s}};
    const QStringList tips = rig.logic->portProperties().portToolTips();
    QCOMPARE(tips.size(), 16);
    QCOMPARE(tips.at(0), u"/dev/ttyUSB0"_s);
    QCOMPARE(tips.at(1), u"Нет устройства"_s);
    QCOMPARE(tips.at(2), u"/dev/pts/7"_s);
    QCOMPARE(tips.at(15), u"Нет устройства"_s);
}

void tst_PortProperties::okWithoutChange_data() {
    QTest::addColumn<int>("echoOption");
    QTest::addColumn<QString>("storedEcho");
    QTest::newRow("echo on") << 1 << u"True"_s;
    QTest::newRow("echo off") << 0 << u"False"_s;
}

void tst_PortProperties::okWithoutChange() {
    QFETCH(int, echoOption);
    LogicRig rig;
    rig.open();
    rig.port.log.clear();
    PortProperties &p = rig.logic->portProperties();
    p.load();
    p.chooseEcho(echoOption);
    QVERIFY(p.confirm());
    QVERIFY(!p.isLoaded());
    // Same number: neither closed nor reopened; the same parameters again.
    QCOMPARE(rig.port.log, (QStringList{u"Settings=9600,N,8,1"_s, u"Handshaking=0"_s}));
    QVERIFY(rig.port.isOpen);
    QCOMPARE(rig.state().echo, echoOption == 1);
    QCOMPARE(rig.settings.values.size(), 4);
    QCOMPARE(rig.settings.values.value(key(u"Settings"_s)), u"9600,N,8,1"_s);
    QCOMPARE(rig.settings.values.value(key(u"CommPort"_s)), u"1"_s);
    QCOMPARE(rig.settings.values.value(key(u"Handshaking"_s)), u"0"_s);
    QFETCH(QString, storedEcho);
    QCOMPARE(rig.settings.values.value(key(u"Echo"_s)), storedEcho);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_PortProperties::changedNumberWhileOpen() {
    LogicRig rig;
    rig.open();
    rig.port.log.clear();
    PortProperties &p = rig.logic->portProperties();
    p.load();
    p.portPosition = 1;
    p.speedPosition = 5;
    p.chooseFlowControl(2);
    QVERIFY(p.confirm());
    QCOMPARE(rig.port.log, (QStringList{u"PortOpen=false"_s, u"CommPort=2"_s, u"PortOpen=true"_s,
                                        u"Settings=19200,N,8,1"_s, u"Handshaking=2"_s}));
    QVERIFY(rig.port.isOpen);
    QVERIFY(rig.view.itemChecked(menu::OpenPort));
    QCOMPARE(rig.settings.values.value(key(u"CommPort"_s)), u"2"_s);
    QCOMPARE(rig.settings.values.value(key(u"Handshaking"_s)), u"2"_s);
}

void tst_PortProperties::reopenFailureLeavesThePortClosed() {
    LogicRig rig;
    rig.open();
    rig.port.log.clear();
    rig.port.failOpen = u"Не удалось открыть порт Com2 (/dev/ttyUSB1): Устройство занято"_s;
    PortProperties &p = rig.logic->portProperties();
    p.load();
    p.portPosition = 1;
    p.chooseEcho(1);
    QVERIFY(!p.confirm());
    QVERIFY(p.isLoaded());
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().title, u"Зорнета"_s);
    QCOMPARE(rig.prompts.shown.front().text, rig.port.failOpen);
    QCOMPARE(rig.prompts.shown.front().icon, Prompts::Icon::Exclamation);
    QCOMPARE(rig.port.log,
             (QStringList{u"PortOpen=false"_s, u"CommPort=2"_s, u"PortOpen=true (отказ)"_s, u"CommPort=1"_s}));
    QCOMPARE(rig.port.portNumber, 1);
    QVERIFY(!rig.port.isOpen);
    // The main window shows the port closed, and its timer stops.
    QVERIFY(!rig.view.itemChecked(menu::OpenPort));
    QVERIFY(!rig.view.connected);
    QCOMPARE(rig.view.panels.value(panel::Status), u"Порт закрыт"_s);
    QVERIFY(!rig.logic->portControl().connectionTimer().isActive());
    QVERIFY(rig.settings.values.isEmpty());
    QVERIFY(rig.state().echo); // taken before the failing step
}

void tst_PortProperties::laterStepRefused_data() {
    QTest::addColumn<bool>("refuseSettings");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("settings") << true << QStringList{u"Settings=9600,N,8,1 (отказ)"_s};
    QTest::newRow("handshaking") << false << QStringList{u"Settings=9600,N,8,1"_s, u"Handshaking=1 (отказ)"_s};
}

void tst_PortProperties::laterStepRefused() {
    QFETCH(bool, refuseSettings);
    LogicRig rig;
    rig.port.log.clear();
    (refuseSettings ? rig.port.failSettings : rig.port.failHandshaking) = u"Недопустимое значение свойства"_s;
    PortProperties &p = rig.logic->portProperties();
    p.load();
    p.chooseFlowControl(1);
    QVERIFY(!p.confirm());
    QVERIFY(p.isLoaded());
    QFETCH(QStringList, log);
    QCOMPARE(rig.port.log, log);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().text, u"Недопустимое значение свойства"_s);
    QCOMPARE(rig.prompts.shown.front().icon, Prompts::Icon::Exclamation);
    QVERIFY(rig.settings.values.isEmpty());
    // Corrected, OK goes through.
    rig.port.failSettings.clear();
    rig.port.failHandshaking.clear();
    QVERIFY(p.confirm());
    QCOMPARE(rig.settings.values.value(key(u"Handshaking"_s)), u"1"_s);
}

void tst_PortProperties::cancelChangesNothing() {
    LogicRig rig;
    rig.port.log.clear();
    PortProperties &p = rig.logic->portProperties();
    p.load();
    p.portPosition = 3;
    p.speedPosition = 0;
    p.chooseEcho(1);
    p.chooseFlowControl(3);
    p.cancel();
    QVERIFY(!p.isLoaded());
    QVERIFY(rig.port.log.isEmpty());
    QVERIFY(!rig.state().echo);
    QVERIFY(rig.settings.values.isEmpty());
    // The next opening shows the port as it is.
    p.load();
    QCOMPARE(p.portPosition, 0);
    QCOMPARE(p.echoOption, 0);
    QCOMPARE(p.flowControlOption, 0);
}

void tst_PortProperties::menuAndToolbarOpenTheDialog() {
    LogicRig rig;
    rig.port.lineSettings = u"19200,e,7,2"_s;
    int shownLoaded = 0;
    rig.view.whilePortPropertiesShown = [&](PortProperties &p) {
        shownLoaded += p.isLoaded() && p.speedPosition == 5 ? 1 : 0;
        p.cancel();
    };
    rig.logic->runMenuItem(menu::PortSettings);
    QCOMPARE(rig.logic->runToolbarKey(toolbar::Properties), commandForMenuItem(menu::PortSettings));
    QCOMPARE(rig.view.portDialogsShown, 2);
    QCOMPARE(shownLoaded, 2);
}

QTEST_MAIN(tst_PortProperties)
#include "tst_portproperties.moc"
