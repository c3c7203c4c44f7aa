// The graph settings dialog's state and commands, the three period menus and
// the start-up that presets them, on scripted doubles.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

QString key(const QString &k) {
    return u"Зорнета/Properties/"_s + k;
}

const QStringList UpdateItems = {menu::UpdateEvery1,   menu::UpdateEvery10,  menu::UpdateEvery50,
                                 menu::UpdateEvery100, menu::UpdateEvery500, menu::UpdateEvery1000};
const QStringList ReadItems = {menu::ReadEvery1,   menu::ReadEvery5,   menu::ReadEvery20,
                               menu::ReadEvery100, menu::ReadEvery250, menu::ReadEvery500};
const QStringList FixedXItems = {menu::XDivisions1,   menu::XDivisions10,   menu::XDivisions50,  menu::XDivisions100,
                                 menu::XDivisions500, menu::XDivisions1000, menu::XDivisions2500};

QStringList checkedOf(const MemoryMainView &view, const QStringList &family) {
    QStringList out;
    for (const QString &item : family) {
        if (view.itemChecked(item))
            out.append(item);
    }
    return out;
}

} // namespace

class tst_GraphSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpWithAnEmptyStore();
    void savedChoicesOnlyPresetTheDialog();
    void damagedPositionsSelectTheDefault();
    void okAppliesEachPosition_data();
    void okAppliesEachPosition();
    void okOnFirstOpen();
    void okStoresTheKeys();
    void okWithoutSelections();
    void signalTemperatureText_data();
    void signalTemperatureText();
    void optionThenCancel();
    void cutLengthOutOfRange();
    void dialogIsReachedThreeWays_data();
    void dialogIsReachedThreeWays();
    void menuFamiliesKeepOneCheck_data();
    void menuFamiliesKeepOneCheck();
    void menusKeepTheDialogInStep();
    void divisions2500();
    void automaticDivisionsOnAndOff();
    void viewMenuOpensThePopups_data();
    void viewMenuOpensThePopups();
    void chartMouseOpensItsMenus();
};

void tst_GraphSettings::startUpWithAnEmptyStore() {
    LogicRig rig;
    SessionState &s = rig.state();
    QVERIFY(s.autoTickDivision);
    QVERIFY(rig.view.itemChecked(menu::AutoXDivisions));
    for (const QString &item : FixedXItems)
        QVERIFY2(!rig.view.itemEnabled(item), qPrintable(item));
    QCOMPARE(checkedOf(rig.view, UpdateItems), QStringList{menu::UpdateEvery10});
    QCOMPARE(checkedOf(rig.view, ReadItems), QStringList{menu::ReadEvery1});
    QCOMPARE(s.updatePeriod, 10);
    QCOMPARE(s.readPeriod, 1);
    QCOMPARE(s.xTickDivisions, std::int16_t(1));
    QCOMPARE(s.xLabelDivisions, std::int16_t(1));
    GraphSettings &g = rig.logic->graphSettings();
    QVERIFY(g.isLoaded());
    QCOMPARE(GraphSettings::speedEntries().at(g.updatePeriodPosition), u"10 точек"_s);
    QCOMPARE(GraphSettings::passOverEntries().at(g.readPeriodPosition), u"3,12 сек"_s);
    QCOMPARE(GraphSettings::colorEntries().at(g.curveColourPosition), u"Чёрный"_s);
    QCOMPARE(GraphSettings::thinEntries().at(g.curveWidthPosition), u"2  мм"_s);
    QCOMPARE(GraphSettings::vGridEntries().at(g.xDivisionsPosition), u"50 точек"_s);
    QCOMPARE(g.alarmTemperatureText, u"266"_s);
    QCOMPARE(g.cutStartText, u"0"_s);
    QCOMPARE(g.endPointsText, u"0"_s);
    QCOMPARE(g.xAxisOption, 1);
    QCOMPARE(g.y2AxisOption, 1);
    QCOMPARE(g.legendOption, 0);
    // The chart got spacing 1 from the appearance.
    QCOMPARE(rig.chart.divisionsPerTick, 1);
    QCOMPARE(rig.chart.divisionsPerLabel, 1);
}

void tst_GraphSettings::savedChoicesOnlyPresetTheDialog() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"Speed"_s), u"0"_s}, {key(u"PassOver"_s), u"4"_s}, {key(u"Color"_s), u"0"_s},
                           {key(u"Thin"_s), u"4"_s},  {key(u"VGrid"_s), u"5"_s},    {key(u"SigTemp"_s), u"850"_s}};
    rig.logic->load();
    QCOMPARE(rig.state().updatePeriod, 10);
    QCOMPARE(rig.state().readPeriod, 1);
    QCOMPARE(rig.state().curveRed, 10);
    QCOMPARE(rig.state().curveWidth, 40);
    GraphSettings &g = rig.logic->graphSettings();
    QCOMPARE(g.updatePeriodPosition, 0);
    QCOMPARE(g.readPeriodPosition, 4);
    QCOMPARE(g.curveColourPosition, 0);
    QCOMPARE(g.curveWidthPosition, 4);
    QCOMPARE(g.xDivisionsPosition, 5);
    QCOMPARE(g.alarmTemperatureText, u"850"_s);
    QCOMPARE(checkedOf(rig.view, UpdateItems), QStringList{menu::UpdateEvery10});
}

void tst_GraphSettings::damagedPositionsSelectTheDefault() {
    LogicRig rig(LogicRig::NotLoaded);
    rig.settings.values = {{key(u"Speed"_s), u"6"_s},
                           {key(u"PassOver"_s), u"-1"_s},
                           {key(u"Color"_s), u"blue"_s},
                           {key(u"Thin"_s), u"99"_s},
                           {key(u"VGrid"_s), u""_s}};
    rig.logic->load();
    GraphSettings &g = rig.logic->graphSettings();
    QCOMPARE(g.updatePeriodPosition, 1);
    QCOMPARE(g.readPeriodPosition, 1);
    QCOMPARE(g.curveColourPosition, 3);
    QCOMPARE(g.curveWidthPosition, 1);
    QCOMPARE(g.xDivisionsPosition, 1);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_GraphSettings::okAppliesEachPosition_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("update");
    QTest::addColumn<int>("read");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("tick");
    QTest::addColumn<QString>("updateItem");
    QTest::addColumn<QString>("readItem");
    QTest::addColumn<QString>("xItem");
    QTest::newRow("0") << 0 << 1 << 1 << 10 << 10 << menu::UpdateEvery1 << menu::ReadEvery1 << menu::XDivisions10;
    QTest::newRow("1") << 1 << 10 << 5 << 25 << 50 << menu::UpdateEvery10 << menu::ReadEvery5 << menu::XDivisions50;
    QTest::newRow("2") << 2 << 50 << 20 << 50 << 100 << menu::UpdateEvery50 << menu::ReadEvery20 << menu::XDivisions100;
    QTest::newRow("3") << 3 << 100 << 100 << 100 << 500 << menu::UpdateEvery100 << menu::ReadEvery100
                       << menu::XDivisions500;
    QTest::newRow("4") << 4 << 500 << 250 << 200 << 1000 << menu::UpdateEvery500 << menu::ReadEvery250
                       << menu::XDivisions1000;
    QTest::newRow("5") << 5 << 1000 << 500 << -1 << 5000 << menu::UpdateEvery1000 << menu::ReadEvery500
                       << menu::XDivisions2500;
}

void tst_GraphSettings::okAppliesEachPosition() {
    QFETCH(int, position);
    QFETCH(int, update);
    QFETCH(int, read);
    QFETCH(int, width);
    QFETCH(int, tick);
    QFETCH(QString, updateItem);
    QFETCH(QString, readItem);
    QFETCH(QString, xItem);
    LogicRig rig;
    GraphSettings &g = rig.logic->graphSettings();
    g.updatePeriodPosition = position;
    g.readPeriodPosition = position;
    g.xDivisionsPosition = position;
    if (width >= 0)
        g.curveWidthPosition = position;
    g.curveColourPosition = position % 4;
    QVERIFY(g.confirm());
    SessionState &s = rig.state();
    QCOMPARE(s.updatePeriod, update);
    QCOMPARE(s.readPeriod, read);
    if (width >= 0)
        QCOMPARE(s.curveWidth, width);
    QCOMPARE(s.xTickDivisions, std::int16_t(tick));
    QCOMPARE(s.xLabelDivisions, std::int16_t(2 * tick));
    QCOMPARE(checkedOf(rig.view, UpdateItems), QStringList{updateItem});
    QCOMPARE(checkedOf(rig.view, ReadItems), QStringList{readItem});
    QCOMPARE(checkedOf(rig.view, FixedXItems), QStringList{xItem});
    const int colours[4][3] = {{150, 0, 0}, {0, 130, 0}, {0, 0, 255}, {10, 10, 10}};
    QCOMPARE(s.curveRed, colours[position % 4][0]);
    QCOMPARE(s.curveGreen, colours[position % 4][1]);
    QCOMPARE(s.curveBlue, colours[position % 4][2]);
    QVERIFY(!g.isLoaded());
    // The chart was set up with them.
    QVERIFY(rig.chart.calls.contains(
        QStringLiteral("setSeriesPenColor(%1,%2,%3)").arg(s.curveRed).arg(s.curveGreen).arg(s.curveBlue)));
    QVERIFY(rig.chart.calls.contains(QStringLiteral("setDivisionsPerLabel(%1)").arg(2 * tick)));
}

void tst_GraphSettings::okOnFirstOpen() {
    LogicRig rig;
    QVERIFY(rig.logic->graphSettings().confirm());
    SessionState &s = rig.state();
    QCOMPARE(s.updatePeriod, 10);
    QCOMPARE(s.readPeriod, 5);
    QCOMPARE(s.curveRed, 10);
    QCOMPARE(s.curveGreen, 10);
    QCOMPARE(s.curveBlue, 10);
    QCOMPARE(s.curveWidth, 25);
    QCOMPARE(s.xTickDivisions, std::int16_t(50));
    QCOMPARE(s.xLabelDivisions, std::int16_t(100));
    QCOMPARE(rig.view.sig, u"266  град"_s);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_GraphSettings::okStoresTheKeys() {
    LogicRig rig;
    GraphSettings &g = rig.logic->graphSettings();
    g.updatePeriodPosition = 3;
    g.readPeriodPosition = 2;
    g.curveColourPosition = 0;
    g.curveWidthPosition = 4;
    g.xDivisionsPosition = 5;
    g.alarmTemperatureText = u"abc"_s;
    g.chooseXAxisOption(0);
    g.chooseLegendOption(1);
    QVERIFY(g.confirm());
    const auto &v = rig.settings.values;
    QCOMPARE(v.value(key(u"SigTemp"_s)), u"abc"_s);
    QCOMPARE(v.value(key(u"Speed"_s)), u"3"_s);
    QCOMPARE(v.value(key(u"PassOver"_s)), u"2"_s);
    QCOMPARE(v.value(key(u"Color"_s)), u"0"_s);
    QCOMPARE(v.value(key(u"Thin"_s)), u"4"_s);
    QCOMPARE(v.value(key(u"VGrid"_s)), u"5"_s);
    QCOMPARE(v.value(key(u"Opto"_s)), u"False"_s);
    QCOMPARE(v.value(key(u"Y2"_s)), u"True"_s);
    QCOMPARE(v.value(key(u"Legend"_s)), u"False"_s);
    QCOMPARE(rig.view.sig, u"2500  град"_s);
    QVERIFY(rig.chart.calls.contains(u"setAxisScaleHidden(X,0)"_s));
    QVERIFY(rig.chart.calls.contains(u"setShowLegend(0)"_s));
}

void tst_GraphSettings::okWithoutSelections() {
    LogicRig rig;
    GraphSettings &g = rig.logic->graphSettings();
    g.updatePeriodPosition = g.readPeriodPosition = g.curveColourPosition = g.curveWidthPosition =
        g.xDivisionsPosition = -1;
    QVERIFY(g.confirm());
    SessionState &s = rig.state();
    QCOMPARE(s.updatePeriod, 10);
    QCOMPARE(s.readPeriod, 5);
    QCOMPARE(s.curveRed + s.curveGreen + s.curveBlue, 0);
    QCOMPARE(s.curveWidth, 0);
    QCOMPARE(s.xTickDivisions, std::int16_t(10));
    QCOMPARE(s.xLabelDivisions, std::int16_t(20));
    QCOMPARE(rig.settings.values.value(key(u"Speed"_s)), u"-1"_s);
}

void tst_GraphSettings::signalTemperatureText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0.5") << u"0.5"_s << u"2500  град"_s;
    QTest::newRow("300") << u"300"_s << u"300  град"_s;
    QTest::newRow("text") << u"жарко"_s << u"2500  град"_s;
    QTest::newRow("fraction") << u"850.5"_s << u"850,5  град"_s;
    QTest::newRow("leading number") << u"1200 градусов"_s << u"1200  град"_s;
}

void tst_GraphSettings::signalTemperatureText() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    LogicRig rig;
    rig.logic->graphSettings().alarmTemperatureText = typed;
    QVERIFY(rig.logic->graphSettings().confirm());
    QCOMPARE(rig.view.sig, shown);
    QCOMPARE(rig.settings.values.value(key(u"SigTemp"_s)), typed);
    QCOMPARE(rig.state().temperature, qint64(0)); // the alarm temperature is not this
}

void tst_GraphSettings::optionThenCancel() {
    LogicRig rig;
    GraphSettings &g = rig.logic->graphSettings();
    g.chooseLegendOption(1);
    QVERIFY(!rig.state().legendShown);
    g.cancel();
    QVERIFY(!g.isLoaded());
    QVERIFY(!rig.state().legendShown);
    QVERIFY(!rig.settings.values.contains(key(u"Legend"_s)));
    rig.logic->openGraphSettings();
    QCOMPARE(g.legendOption, 0);
    QVERIFY(rig.state().legendShown);
}

void tst_GraphSettings::cutLengthOutOfRange() {
    LogicRig rig;
    GraphSettings &g = rig.logic->graphSettings();
    g.cutStartText = u"40000"_s;
    g.endPointsText = u"30"_s;
    g.updatePeriodPosition = 0;
    QVERIFY(!g.confirm());
    QVERIFY(g.isLoaded());
    QCOMPARE(rig.prompts.shown.size(), 1);
    const auto &box = rig.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета"_s);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QVERIFY(box.text.contains(u"40000"_s));
    QVERIFY(box.text.contains(u"32767"_s));
    // What was applied stays; nothing was stored.
    QCOMPARE(rig.state().endPoints, std::int16_t(30));
    QCOMPARE(rig.state().cutStartPoints, std::int16_t(0));
    QCOMPARE(rig.state().updatePeriod, 1);
    QVERIFY(!rig.settings.values.contains(key(u"Speed"_s)));
    // Corrected, OK closes.
    g.cutStartText = u"100"_s;
    QVERIFY(g.confirm());
    QCOMPARE(rig.state().cutStartPoints, std::int16_t(100));
    QCOMPARE(rig.settings.values.value(key(u"Speed"_s)), u"0"_s);
}

void tst_GraphSettings::dialogIsReachedThreeWays_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << menu::GraphSettings;
    QTest::newRow("context menu") << menu::ChartGraphSettings;
    QTest::newRow("toolbar") << toolbar::GraphSettings;
}

void tst_GraphSettings::dialogIsReachedThreeWays() {
    QFETCH(QString, how);
    LogicRig rig;
    rig.view.whileGraphSettingsShown = [](GraphSettings &g) {
        g.updatePeriodPosition = 5;
        g.confirm();
    };
    if (how == toolbar::GraphSettings)
        rig.logic->runToolbarKey(how);
    else
        rig.logic->runMenuItem(how);
    QCOMPARE(rig.view.graphDialogsShown, 1);
    QCOMPARE(rig.state().updatePeriod, 1000);
}

void tst_GraphSettings::menuFamiliesKeepOneCheck_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("update");
    QTest::addColumn<int>("read");
    for (int i = 0; i < 6; ++i) {
        const int periods[] = {1, 10, 50, 100, 500, 1000};
        QTest::addRow("%s", qPrintable(UpdateItems[i])) << UpdateItems[i] << periods[i] << 1;
    }
    for (int i = 0; i < 6; ++i) {
        const int periods[] = {1, 5, 20, 100, 250, 500};
        QTest::addRow("%s", qPrintable(ReadItems[i])) << ReadItems[i] << 10 << periods[i];
    }
}

void tst_GraphSettings::menuFamiliesKeepOneCheck() {
    QFETCH(QString, item);
    QFETCH(int, update);
    QFETCH(int, read);
    LogicRig rig;
    rig.logic->runMenuItem(item);
    QCOMPARE(rig.state().updatePeriod, update);
    QCOMPARE(rig.state().readPeriod, read);
    QCOMPARE(checkedOf(rig.view, UpdateItems).size(), 1);
    QCOMPARE(checkedOf(rig.view, ReadItems).size(), 1);
    QVERIFY(rig.view.itemChecked(item));
    QVERIFY(rig.settings.values.isEmpty()); // nothing stored
}

void tst_GraphSettings::menusKeepTheDialogInStep() {
    LogicRig rig;
    GraphSettings &g = rig.logic->graphSettings();
    g.cancel(); // unloaded
    rig.logic->runMenuItem(menu::UpdateEvery1000);
    QVERIFY(g.isLoaded()); // loaded hidden to take the position
    QCOMPARE(g.updatePeriodPosition, 5);
    rig.logic->runMenuItem(menu::ReadEvery250);
    QCOMPARE(g.readPeriodPosition, 4);
    rig.logic->runMenuItem(menu::AutoXDivisions); // off: fixed items usable
    rig.logic->runMenuItem(menu::XDivisions100);
    QCOMPARE(g.xDivisionsPosition, 2);
    QCOMPARE(rig.state().xTickDivisions, std::int16_t(100));
    QCOMPARE(rig.state().xLabelDivisions, std::int16_t(100));
    QCOMPARE(checkedOf(rig.view, FixedXItems), QStringList{menu::XDivisions100});
}

void tst_GraphSettings::divisions2500() {
    LogicRig rig;
    rig.logic->runMenuItem(menu::AutoXDivisions);
    rig.chart.calls.clear();
    rig.logic->runMenuItem(menu::XDivisions2500);
    QCOMPARE(rig.chart.calls, (QStringList{u"setDivisionsPerTick(5000)"_s, u"setDivisionsPerLabel(10000)"_s}));
    QCOMPARE(rig.state().xTickDivisions, std::int16_t(5000));
    QCOMPARE(rig.state().xLabelDivisions, std::int16_t(5000));
    QCOMPARE(rig.logic->graphSettings().xDivisionsPosition, 5);
    QCOMPARE(checkedOf(rig.view, FixedXItems), QStringList{menu::XDivisions2500});
    QVERIFY(!rig.view.itemChecked(menu::AutoXDivisions));
}

void tst_GraphSettings::automaticDivisionsOnAndOff() {
    LogicRig rig;
    rig.logic->runMenuItem(menu::AutoXDivisions);
    QVERIFY(!rig.state().autoTickDivision);
    QVERIFY(!rig.view.itemChecked(menu::AutoXDivisions));
    for (const QString &item : FixedXItems)
        QVERIFY(rig.view.itemEnabled(item));
    QCOMPARE(checkedOf(rig.view, FixedXItems), QStringList{menu::XDivisions10});
    QCOMPARE(rig.state().xTickDivisions, std::int16_t(10));
    rig.logic->runMenuItem(menu::AutoXDivisions);
    QVERIFY(rig.state().autoTickDivision);
    QVERIFY(rig.view.itemChecked(menu::AutoXDivisions));
    for (const QString &item : FixedXItems)
        QVERIFY(!rig.view.itemEnabled(item));
    QCOMPARE(checkedOf(rig.view, FixedXItems), QStringList{menu::XDivisions10});
    QCOMPARE(rig.chart.divisionsPerTick, 10);
}

void tst_GraphSettings::viewMenuOpensThePopups_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("popup");
    QTest::newRow("update") << menu::ViewUpdatePeriods << menu::UpdatePeriodMenu;
    QTest::newRow("read") << menu::ViewReadPeriods << menu::ReadPeriodMenu;
    QTest::newRow("x axis") << menu::ViewXDivisions << menu::XDivisionsMenu;
    QTest::newRow("colour") << menu::ViewColours << menu::ColourMenu;
}

void tst_GraphSettings::viewMenuOpensThePopups() {
    QFETCH(QString, item);
    QFETCH(QString, popup);
    LogicRig rig;
    rig.logic->runMenuItem(item);
    QCOMPARE(rig.view.popups, QStringList{popup});
}

void tst_GraphSettings::chartMouseOpensItsMenus() {
    LogicRig rig;
    rig.logic->chartMouseDown(1);
    rig.logic->chartAxisSelected(1);
    rig.logic->chartAxisSelected(2);
    QVERIFY(rig.view.popups.isEmpty());
    rig.logic->chartMouseDown(2);
    rig.logic->chartAxisSelected(0);
    QCOMPARE(rig.view.popups, (QStringList{menu::ChartMenu, menu::XAxisMenu}));
}

QTEST_GUILESS_MAIN(tst_GraphSettings)
#include "tst_graphsettings.moc"
