// The colour commands: the colour dialog, the part each one paints, what is
// stored and what a new chart set-up undoes.

#include "common/Colour.h"
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
using Backdrop = ChartSurface::Backdrop;
} // namespace

class tst_ColourCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colourParts_data();
    void colourParts();
    void chartCommands_data();
    void chartCommands();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void dialogOpensOnTheLastColour();
    void backdropCommands();
    void indicatorColoursSurviveARestart();
    void curveColourUndoneByRefresh();
};

void tst_ColourCommands::colourParts_data() {
    QTest::addColumn<qint64>("colour");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("0x00336699") << qint64(0x00336699) << 153 << 102 << 51;
    QTest::newRow("pure red") << qint64(255) << 255 << 0 << 0;
    QTest::newRow("white") << qint64(16777215) << 255 << 255 << 255;
}

void tst_ColourCommands::colourParts() {
    QFETCH(qint64, colour);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(redPart(colour), red);
    QCOMPARE(greenPart(colour), green);
    QCOMPARE(bluePart(colour), blue);
}

void tst_ColourCommands::chartCommands_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("call");
    QTest::newRow("Ось Х") << menu::XAxisColour << u"setAxisPenColor(X,153,102,51)"_s;
    QTest::newRow("Ось Y") << menu::YAxisColour << u"setAxisPenColor(Y,153,102,51)"_s;
    QTest::newRow("Ось Y2") << menu::Y2AxisColour << u"setAxisPenColor(Y2,153,102,51)"_s;
    QTest::newRow("Кривая нагрева") << menu::CurveColour << u"setSeriesPenColor(153,102,51)"_s;
}

void tst_ColourCommands::chartCommands() {
    QFETCH(QString, command);
    QFETCH(QString, call);
    LogicRig rig;
    rig.chart.calls.clear();
    const auto stored = rig.settings.values;
    rig.prompts.colorAnswers.push_back(0x00336699);
    rig.logic->runMenuItem(command);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown[0].kind, ScriptedPrompts::Kind::Color);
    QCOMPARE(rig.chart.calls, QStringList{call});
    QCOMPARE(rig.settings.values, stored);
    QCOMPARE(rig.state().curveBlue, 200);
}

void tst_ColourCommands::cancelChangesNothing_data() {
    QTest::addColumn<QString>("command");
    for (const QString &c :
         {menu::XAxisColour, menu::YAxisColour, menu::Y2AxisColour, menu::CurveColour, menu::LegendColour,
          menu::PlotColour, menu::ChartColour, menu::IndicatorBackColour, menu::IndicatorTextColour})
        QTest::newRow(qPrintable(c)) << c;
}

void tst_ColourCommands::cancelChangesNothing() {
    QFETCH(QString, command);
    LogicRig rig;
    rig.chart.calls.clear();
    const auto stored = rig.settings.values;
    rig.prompts.colorAnswers.push_back(std::nullopt);
    rig.logic->runMenuItem(command);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.chart.calls, QStringList());
    QCOMPARE(rig.settings.values, stored);
    QCOMPARE(rig.view.indicatorBack, 0);
    QCOMPARE(rig.view.indicatorText, 65280);
    QCOMPARE(rig.view.pointBack, -1);
}

void tst_ColourCommands::dialogOpensOnTheLastColour() {
    LogicRig rig;
    rig.prompts.colorAnswers = {0x123456, std::nullopt, 0x00FF00};
    rig.logic->runMenuItem(menu::YAxisColour);
    rig.logic->runMenuItem(menu::PlotColour);
    rig.logic->runMenuItem(menu::IndicatorTextColour);
    QCOMPARE(rig.prompts.shown.size(), 3);
    QCOMPARE(rig.prompts.shown[0].preselectedColor, 0);
    QCOMPARE(rig.prompts.shown[1].preselectedColor, 0x123456);
    QCOMPARE(rig.prompts.shown[2].preselectedColor, 0x123456);
}

void tst_ColourCommands::backdropCommands() {
    LogicRig rig;
    rig.prompts.colorAnswers = {0x0000FF, 0x00FF00, 0x336699};
    // Legend: the colour only, its fill style as it was.
    rig.logic->runMenuItem(menu::LegendColour);
    auto legend = rig.chart.backdrop(Backdrop::Legend);
    QCOMPARE(legend.fillStyle, 0);
    QCOMPARE(legend.fillRed, 255);
    QCOMPARE(legend.fillBlue, 0);
    // Plot area: filled with the colour.
    rig.logic->runMenuItem(menu::PlotColour);
    auto plot = rig.chart.backdrop(Backdrop::Plot);
    QCOMPARE(plot.fillStyle, 1);
    QCOMPARE(plot.fillGreen, 255);
    QCOMPARE(plot.fillRed, 0);
    // Chart field: plot area stays filled with its colour, the chart's own
    // backdrop takes the colour, and so does the point value field.
    rig.logic->runMenuItem(menu::ChartColour);
    plot = rig.chart.backdrop(Backdrop::Plot);
    QCOMPARE(plot.fillStyle, 1);
    QCOMPARE(plot.fillGreen, 255);
    const auto chart = rig.chart.backdrop(Backdrop::Chart);
    QCOMPARE(chart.fillStyle, 1);
    QCOMPARE(chart.fillRed, 0x99);
    QCOMPARE(chart.fillGreen, 0x66);
    QCOMPARE(chart.fillBlue, 0x33);
    QCOMPARE(rig.view.pointBack, 0x336699);
}

void tst_ColourCommands::indicatorColoursSurviveARestart() {
    MemorySettingsStore store;
    {
        LogicRig rig;
        rig.prompts.colorAnswers = {16777215, 0x0000FF};
        rig.logic->runMenuItem(menu::IndicatorBackColour);
        QCOMPARE(rig.view.indicatorBack, 16777215);
        QCOMPARE(rig.view.indicatorText, 65280);
        rig.logic->runMenuItem(menu::IndicatorTextColour);
        QCOMPARE(rig.view.indicatorText, 0x0000FF);
        QCOMPARE(rig.settings.values.value(key(u"GroundColor"_s)), u"16777215"_s);
        QCOMPARE(rig.settings.values.value(key(u"PenColor"_s)), u"255"_s);
        store.values = rig.settings.values;
    }
    LogicRig next(LogicRig::NotLoaded);
    next.settings.values = store.values;
    next.logic->load();
    QCOMPARE(next.view.indicatorBack, 16777215);
    QCOMPARE(next.view.indicatorText, 255);
    QCOMPARE(next.state().indicatorBackColor, 16777215);
}

void tst_ColourCommands::curveColourUndoneByRefresh() {
    LogicRig rig;
    rig.prompts.colorAnswers = {0x00FF00};
    rig.logic->runMenuItem(menu::CurveColour);
    rig.chart.calls.clear();
    rig.logic->chart().redrawChart();
    QVERIFY(rig.chart.calls.contains(u"setSeriesPenColor(10,10,200)"_s));
    QVERIFY(rig.chart.calls.contains(u"setAxisPenColor(X,0,0,0)"_s));
}

QTEST_GUILESS_MAIN(tst_ColourCommands)
#include "tst_colourcommands.moc"
