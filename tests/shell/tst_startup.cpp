// The main window's load with the saved preferences: defaults on a first run,
// damaged values, refused port settings; and the commands that store their
// preference at once, into a real settings file.

#include "common/ItemNames.h"
#include "platform/qt/QtSettingsStore.h"
#include "support/LogicRig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {
QString key(const QString &k) {
    return u"Зорнета/Properties/"_s + k;
}
} // namespace

class tst_Startup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void firstRunDefaults();
    void savedValuesAreApplied();
    void damagedValuesFallBack();
    void savedPortSettingsAreApplied();
    void refusedSettingsStopTheLoad();
    void refusedHandshakingStopsTheLoad();
    void refusedPortNumberReportedWithHandshaking();
    void refusedPortNumberAloneIsSilent();
    void numbersBeyondAnIntAreRefusedAsWritten();
    void echoIsNotRestored();
    void commandsWriteTheirKeysAtOnce();
    void legendToggleKeepsBothMarks();

private:
    QTemporaryDir m_dir;
};

void tst_Startup::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

void tst_Startup::firstRunDefaults() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.chart.calls.clear();
    rig.logic->load();
    SessionState &s = rig.state();
    QCOMPARE(rig.view.indicatorBack, 0);
    QCOMPARE(rig.view.indicatorText, 65280);
    QVERIFY(rig.view.clearButton);
    QVERIFY(rig.view.indicator);
    QVERIFY(s.indicatorShown);
    QVERIFY(s.xAxisHidden);
    QVERIFY(s.y2AxisHidden);
    QVERIFY(s.legendShown);
    QVERIFY(rig.view.itemChecked(menu::LegendOnOff));
    QCOMPARE(s.readPeriod, 1);
    QCOMPARE(s.updatePeriod, 10);
    QCOMPARE(s.pointCount, qint64(0));
    QVERIFY(s.autoTickDivision);
    QCOMPARE(s.readings.lastColumn(), qint64(40));
    // The port keeps its own settings: nothing written to it.
    QVERIFY(!rig.port.log.join(u' ').contains(u"Settings="_s));
    QVERIFY(!rig.port.log.join(u' ').contains(u"CommPort="_s));
    QVERIFY(!rig.port.log.join(u' ').contains(u"Handshaking="_s));
    QVERIFY(!rig.port.isOpen);
    QCOMPARE(rig.prompts.shown.size(), 0);
    // Legend and axes set again at the end of the load.
    QCOMPARE(rig.chart.calls.mid(rig.chart.calls.size() - 3),
             (QStringList{u"setShowLegend(1)"_s, u"setAxisScaleHidden(X,1)"_s, u"setAxisScaleHidden(Y2,1)"_s}));
}

void tst_Startup::savedValuesAreApplied() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"GroundColor"_s), u"16777215"_s}, {key(u"PenColor"_s), u"255"_s},
                           {key(u"Indicator"_s), u"False"_s},      {key(u"Button"_s), u"false"_s},
                           {key(u"Opto"_s), u"False"_s},           {key(u"Y2"_s), u"0"_s},
                           {key(u"Legend"_s), u"FALSE"_s}};
    rig.logic->load();
    QCOMPARE(rig.view.indicatorBack, 16777215);
    QCOMPARE(rig.view.indicatorText, 255);
    QVERIFY(!rig.view.indicator);
    QVERIFY(!rig.view.itemChecked(menu::IndicatorOnOff));
    QVERIFY(!rig.view.clearButton);
    QVERIFY(!rig.state().xAxisHidden);
    QVERIFY(!rig.state().y2AxisHidden);
    QVERIFY(!rig.state().legendShown);
    QVERIFY(!rig.view.itemChecked(menu::LegendOnOff));
    QVERIFY(!rig.chart.legend);
}

void tst_Startup::damagedValuesFallBack() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"GroundColor"_s), u"black"_s},
                           {key(u"PenColor"_s), u"-7"_s},
                           {key(u"Indicator"_s), u"perhaps"_s},
                           {key(u"Legend"_s), u""_s},
                           {key(u"Opto"_s), u"2x"_s}};
    rig.logic->load();
    QCOMPARE(rig.view.indicatorBack, 0);
    QCOMPARE(rig.view.indicatorText, 65280);
    QVERIFY(rig.state().indicatorShown);
    QVERIFY(rig.state().legendShown);
    QVERIFY(rig.state().xAxisHidden);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_Startup::savedPortSettingsAreApplied() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {
        {key(u"Settings"_s), u"19200,e,7,2"_s}, {key(u"CommPort"_s), u"3"_s}, {key(u"Handshaking"_s), u"1"_s}};
    rig.logic->load();
    QCOMPARE(rig.port.log, (QStringList{u"Settings=19200,e,7,2"_s, u"CommPort=3"_s, u"Handshaking=1"_s}));
    QVERIFY(!rig.port.isOpen);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_Startup::refusedSettingsStopTheLoad() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {
        {key(u"Settings"_s), u"9600,x,8,1"_s}, {key(u"CommPort"_s), u"3"_s}, {key(u"Handshaking"_s), u"1"_s}};
    rig.port.failSettings = u"Недопустимые параметры порта: 9600,x,8,1"_s;
    rig.chart.calls.clear();
    rig.logic->load();
    QCOMPARE(rig.prompts.shown.size(), 1);
    const auto &box = rig.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета"_s);
    QCOMPARE(box.text, u"Недопустимые параметры порта: 9600,x,8,1"_s);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(rig.port.portNumber, 1);
    QCOMPARE(rig.port.flowControl, 0);
    // The legend and axes of the last step were not set again.
    QCOMPARE(rig.chart.calls.last(), u"setAxisLabelFont(X,1,9)"_s);
}

void tst_Startup::refusedHandshakingStopsTheLoad() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"Handshaking"_s), u"7"_s}};
    rig.chart.calls.clear();
    rig.logic->load();
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().icon, Prompts::Icon::Exclamation);
    QCOMPARE(rig.chart.calls.last(), u"setAxisLabelFont(X,1,9)"_s);
}

void tst_Startup::refusedPortNumberReportedWithHandshaking() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"CommPort"_s), u"5"_s}, {key(u"Handshaking"_s), u"0"_s}};
    rig.port.failCommPort = u"Порт не найден: Com5"_s;
    rig.logic->load();
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().text, u"Порт не найден: Com5"_s);
    QCOMPARE(rig.port.portNumber, 1);
}

void tst_Startup::refusedPortNumberAloneIsSilent() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"CommPort"_s), u"5"_s}};
    rig.port.failCommPort = u"Порт не найден: Com5"_s;
    rig.logic->load();
    QCOMPARE(rig.prompts.shown.size(), 0);
    QVERIFY(rig.chart.calls.contains(u"setShowLegend(1)"_s));
}

void tst_Startup::numbersBeyondAnIntAreRefusedAsWritten() {
    // 4294967298 is 2 once cut to 32 bits: it must not select Com2.
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"CommPort"_s), u"4294967298"_s}, {key(u"Handshaking"_s), u"4294967297"_s}};
    rig.logic->load();
    QCOMPARE(rig.port.portNumber, 1);
    QCOMPARE(rig.port.flowControl, 0);
    QVERIFY2(!rig.port.log.join(u' ').contains(u"CommPort="_s), qPrintable(rig.port.log.join(u' ')));
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().text, u"Недопустимый режим управления потоком: 4294967297"_s);
}

void tst_Startup::echoIsNotRestored() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"Echo"_s), u"True"_s}};
    rig.logic->load();
    QVERIFY(!rig.state().echo);
}

void tst_Startup::commandsWriteTheirKeysAtOnce() {
    const QString file = m_dir.path() + u"/Зорнета/Зорнета.conf"_s;
    QFile::remove(file);
    LogicRig rig(LogicRig::DoublesOnly);
    QtSettingsStore store;
    TerminalLogic logic(
        Services{rig.port, rig.chart, rig.prompts, store, rig.clock, rig.beeper, rig.install, rig.launcher, rig.view});
    logic.load();
    logic.runMenuItem(menu::IndicatorOnOff);
    logic.runToolbarKey(toolbar::Legend);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(f.readAll());
    QVERIFY2(content.contains(u"[Properties]\n"_s), qPrintable(content));
    QVERIFY2(content.contains(u"Button=False\n"_s), qPrintable(content));
    QVERIFY2(content.contains(u"Indicator=False\n"_s), qPrintable(content));
    QVERIFY2(content.contains(u"Legend=False\n"_s), qPrintable(content));
    QVERIFY(!rig.view.indicator);
    QVERIFY(!rig.view.clearButton);
    // A new run reads them back.
    LogicRig again(LogicRig::DoublesOnly);
    TerminalLogic next(Services{again.port, again.chart, again.prompts, store, again.clock, again.beeper, again.install,
                                again.launcher, again.view});
    next.load();
    QVERIFY(!next.state().indicatorShown);
    QVERIFY(!next.state().legendShown);
    QVERIFY(!again.view.clearButton);
    // And back on.
    logic.runMenuItem(menu::IndicatorOnOff);
    QCOMPARE(PersistedSettings(store).text(Keys::Indicator), u"True"_s);
    QCOMPARE(PersistedSettings(store).text(Keys::Button), u"True"_s);
}

void tst_Startup::legendToggleKeepsBothMarks() {
    LogicRig rig;
    for (const QString &command : {menu::LegendOnOff, menu::ChartLegendOnOff}) {
        const bool before = rig.chart.legend;
        rig.logic->runMenuItem(command);
        QCOMPARE(rig.chart.legend, !before);
        QCOMPARE(rig.view.itemChecked(menu::ChartLegendOnOff), !before);
        QCOMPARE(rig.view.itemChecked(menu::LegendOnOff), !before);
        QCOMPARE(rig.settings.values.value(key(u"Legend"_s)), !before ? u"True"_s : u"False"_s);
    }
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
