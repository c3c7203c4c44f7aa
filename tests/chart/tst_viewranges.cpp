// The three view commands on a session filled through the reading pipeline:
// only the end of the graph with its timer, the whole graph, cutting the start.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

const QString SetValue = u"Зорнета:    Установите значение"_s;
const QString NothingYet = u"Зорнета:  Пока ещё нечего рассматривать"_s;
const QString NothingYetText = u"  Смысл увеличения масштаба графика появляется только при слишком большом количестве "
                               u"считанных точек.\r\r   Команда сработает только при числе циклов считывания "
                               u"большем 50."_s;
const QString TooMuch = u"Объем отрезаемого участка превышает количество считанных точек на графике !\n\n   "
                        u"Дождитесь достаточного увеличения количества точек графика или уменьшите размер "
                        u"отрезаемого участка (см. Свойства графика)"_s;

// A rig with `count` readings one second apart; reading k is 100 + k % 50,
// the last one `newest`.
std::unique_ptr<LogicRig> session(qint64 count, int newest = 123, int updatePeriod = 10) {
    auto rig = std::make_unique<LogicRig>();
    rig->state().updatePeriod = updatePeriod;
    rig->open();
    for (qint64 k = 1; k <= count; ++k) {
        rig->clock.advance(1000);
        rig->reading(k == count ? newest : int(100 + k % 50));
    }
    return rig;
}

QStringList titles(const ScriptedPrompts &prompts) {
    QStringList result;
    for (const auto &shown : prompts.shown)
        result << shown.title + u'|' + shown.text;
    return result;
}

} // namespace

class tst_ViewRanges : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void graphEndRefusals_data();
    void graphEndRefusals();
    void graphEndWindow();
    void endSectionLongerThanTheSession();
    void timerEndsTheView();
    void wholeGraph();
    void cut_data();
    void cut();
    void cutInsideTheEndView();
    void longSession();
    void menuAndToolbarRunTheCommands_data();
    void menuAndToolbarRunTheCommands();
};

void tst_ViewRanges::graphEndRefusals_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<int>("endPoints");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<Prompts::Icon>("icon");
    QTest::newRow("50 readings") << qint64(50) << 30 << QStringList{NothingYet + u'|' + NothingYetText}
                                 << Prompts::Icon::Exclamation;
    QTest::newRow("EndPoints 0") << qint64(200) << 0
                                 << QStringList{SetValue + u"|Длина участка конца графика равна 0 !"_s}
                                 << Prompts::Icon::Information;
    QTest::newRow("EndPoints 0, few readings")
        << qint64(5) << 0 << QStringList{SetValue + u"|Длина участка конца графика равна 0 !"_s}
        << Prompts::Icon::Information;
    QTest::newRow("negative EndPoints") << qint64(200) << -5
                                        << QStringList{SetValue +
                                                       u"|Длина участка конца графика не может быть отрицательной !"_s}
                                        << Prompts::Icon::Information;
}

void tst_ViewRanges::graphEndRefusals() {
    QFETCH(qint64, count);
    QFETCH(int, endPoints);
    QFETCH(QStringList, shown);
    QFETCH(Prompts::Icon, icon);
    auto rig = session(count);
    SessionState &s = rig->state();
    s.endPoints = std::int16_t(endPoints);
    const ReadingsTable readings = s.readings;
    const int given = rig->chart.tablesGiven;
    rig->logic->runMenuItem(menu::GraphEndOnly);
    QCOMPARE(titles(rig->prompts), shown);
    QCOMPARE(rig->prompts.shown.first().icon, icon);
    QCOMPARE(s.onlyEnd, false);
    QVERIFY(rig->view.itemEnabled(menu::GraphEndOnly));
    QCOMPARE(rig->chart.tablesGiven, given);
    QCOMPARE(s.readings, readings);
}

void tst_ViewRanges::graphEndWindow() {
    // One more reading than the limit opens the view.
    auto small = session(51);
    small->state().endPoints = 30;
    small->logic->runMenuItem(menu::GraphEndOnly);
    QVERIFY(small->state().onlyEnd);
    QCOMPARE(small->prompts.shown.size(), 0);

    auto rig = session(200, 123);
    SessionState &s = rig->state();
    s.endPoints = 30;
    // The end-view timer runs from start-up.
    QVERIFY(rig->logic->viewRanges().endViewTimer().isActive());
    rig->logic->viewRanges().endViewTimer().stop();
    rig->chart.calls.clear();
    rig->logic->runMenuItem(menu::GraphEndOnly);
    QCOMPARE(rig->prompts.shown.size(), 0);
    QVERIFY(s.onlyEnd);
    QCOMPARE(s.endStart, 170.0f);
    const ReadingsTable &end = s.endReadings;
    QCOMPARE(end.firstColumn(), qint64(170));
    QCOMPARE(end.lastColumn(), qint64(240));
    QCOMPARE(end.cell(2, 170).toText(), u"Только конец"_s);
    QCOMPARE(end.cell(1, 240).toText(), u"C240"_s);
    for (qint64 column : {171, 199, 200}) {
        QCOMPARE(end.cell(1, column), s.readings.cell(1, column));
        QCOMPARE(end.cell(2, column), s.readings.cell(2, column));
    }
    QCOMPARE(end.cell(1, 200).toText(), u"00:03:20"_s);
    QCOMPARE(end.number(2, 200), 123.0);
    QVERIFY(end.cell(2, 201).isEmpty());
    QVERIFY(!rig->view.itemEnabled(menu::GraphEndOnly));
    // Value axis 121..131, major 1, minor 10; then the end table to the chart.
    QCOMPARE(rig->chart.calls, (QStringList{u"setValueScale(Y,0,121,131,1,10)"_s, u"setChartData(170..240)"_s}));
    // The view lasts one period of the end-view timer from now.
    QVERIFY(rig->logic->viewRanges().endViewTimer().isActive());
    QCOMPARE(rig->logic->viewRanges().endViewTimer().interval(), 65535);
    // The readings table itself is untouched.
    QCOMPARE(s.readings.lastColumn(), qint64(240));
}

void tst_ViewRanges::endSectionLongerThanTheSession() {
    auto rig = session(60);
    SessionState &s = rig->state();
    s.endPoints = 100;
    rig->logic->runMenuItem(menu::GraphEndOnly);
    QVERIFY(s.onlyEnd);
    QCOMPARE(s.endStart, 1.0f);
    QCOMPARE(s.endReadings.firstColumn(), qint64(1));
    QCOMPARE(s.endReadings.lastColumn(), qint64(170));
    QCOMPARE(s.endReadings.cell(2, 1).toText(), u"Только конец"_s);
    QCOMPARE(s.endReadings.cell(2, 2), s.readings.cell(2, 2));
    QCOMPARE(s.endReadings.number(2, 60), 123.0);
    QCOMPARE(rig->chart.calls.last(), u"setChartData(1..170)"_s);
}

void tst_ViewRanges::timerEndsTheView() {
    auto rig = session(200);
    SessionState &s = rig->state();
    s.endPoints = 30;
    rig->logic->runMenuItem(menu::GraphEndOnly);
    const ReadingsTable end = s.endReadings;
    rig->chart.calls.clear();
    // A tick, without waiting a whole period for it.
    rig->logic->viewRanges().endViewTimer().setSingleShot(true);
    rig->logic->viewRanges().endViewTimer().start(0);
    QTRY_COMPARE(s.onlyEnd, false);
    QVERIFY(rig->view.itemEnabled(menu::GraphEndOnly));
    QCOMPARE(rig->chart.calls, QStringList{u"setValueScale(Y,1,121,131,1,10)"_s});
    QCOMPARE(s.endReadings, end);
    // The next update step draws the whole curve again.
    for (int k = 0; k < 10; ++k)
        rig->reading(500);
    QCOMPARE(rig->chart.calls.last(), u"setCategoryScaleAuto(Y,1)"_s);
    QVERIFY(rig->chart.calls.contains(u"setChartData(1..250)"_s));
}

void tst_ViewRanges::wholeGraph() {
    auto rig = session(200);
    SessionState &s = rig->state();
    s.endPoints = 30;
    rig->logic->runMenuItem(menu::GraphEndOnly);
    rig->chart.calls.clear();
    rig->logic->runMenuItem(menu::WholeGraph);
    QCOMPARE(s.onlyEnd, false);
    QVERIFY(rig->view.itemEnabled(menu::GraphEndOnly));
    QCOMPARE(s.endReadings.firstColumn(), qint64(0));
    QCOMPARE(s.endReadings.lastColumn(), qint64(1));
    QVERIFY(s.endReadings.cell(2, 1).isEmpty());
    QCOMPARE(rig->chart.calls, (QStringList{u"setValueScale(Y,1,121,131,1,10)"_s, u"setChartData(1..240)"_s,
                                            u"ResetZoom"_s, u"setCategoryScaleAuto(Y,1)"_s, u"Refresh"_s}));
    QCOMPARE(rig->prompts.shown.size(), 0);
}

void tst_ViewRanges::cut_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<int>("cut");
    QTest::addColumn<qint64>("remaining");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("100 of 300") << qint64(300) << 100 << qint64(200) << QStringList();
    QTest::newRow("0 of 300") << qint64(300) << 0 << qint64(300)
                              << QStringList{SetValue + u"|Размер отрезаемого участка равен 0 !"_s};
    QTest::newRow("299 of 300") << qint64(300) << 299 << qint64(1) << QStringList();
    QTest::newRow("300 of 300") << qint64(300) << 300 << qint64(300)
                                << QStringList{u"Зорнета:    Внимание|"_s + TooMuch};
    QTest::newRow("400 of 300") << qint64(300) << 400 << qint64(300)
                                << QStringList{u"Зорнета:    Внимание|"_s + TooMuch};
    QTest::newRow("0 of 0") << qint64(0) << 0 << qint64(0)
                            << QStringList{u"Зорнета:    Внимание|"_s + TooMuch,
                                           SetValue + u"|Размер отрезаемого участка равен 0 !"_s};
    QTest::newRow("negative") << qint64(300) << -5 << qint64(300)
                              << QStringList{SetValue + u"|Размер отрезаемого участка не может быть отрицательным !"_s};
}

void tst_ViewRanges::cut() {
    QFETCH(qint64, count);
    QFETCH(int, cut);
    QFETCH(qint64, remaining);
    QFETCH(QStringList, shown);
    auto rig = session(count);
    SessionState &s = rig->state();
    s.cutStartPoints = std::int16_t(cut);
    const ReadingsTable before = s.readings;
    const bool cuts = cut >= 0 && cut < count;
    rig->chart.calls.clear();
    rig->logic->runMenuItem(menu::CutGraphStart);
    QCOMPARE(titles(rig->prompts), shown);
    for (const auto &box : rig->prompts.shown)
        QCOMPARE(box.icon, Prompts::Icon::Information);
    QCOMPARE(s.pointCount, remaining);
    if (!cuts) {
        QCOMPARE(s.readings, before);
        QCOMPARE(rig->chart.calls, QStringList());
        return;
    }
    QCOMPARE(s.readings.firstColumn(), qint64(1));
    QCOMPARE(s.readings.lastColumn(), before.lastColumn() - cut);
    for (qint64 column = 1; column <= s.readings.lastColumn(); ++column) {
        QCOMPARE(s.readings.cell(1, column), before.cell(1, column + cut));
        QCOMPARE(s.readings.cell(2, column), before.cell(2, column + cut));
    }
    QCOMPARE(s.endReadings.columnCount(), qint64(0));
    QCOMPARE(rig->chart.calls, QStringList{u"setChartData(1..%1)"_s.arg(s.readings.lastColumn())});
    if (cut == 100) {
        // The curve begins at the label of the former column 101.
        QCOMPARE(s.readings.cell(1, 1).toText(), u"00:01:41"_s);
        QCOMPARE(s.readings.number(2, 200), 123.0);
    }
}

void tst_ViewRanges::cutInsideTheEndView() {
    auto rig = session(300);
    SessionState &s = rig->state();
    s.endPoints = 30;
    s.cutStartPoints = 100;
    rig->logic->runMenuItem(menu::GraphEndOnly);
    rig->logic->runMenuItem(menu::CutGraphStart);
    QCOMPARE(s.pointCount, qint64(200));
    QCOMPARE(s.onlyEnd, false);
    QVERIFY(rig->view.itemEnabled(menu::GraphEndOnly));
    QCOMPARE(rig->chart.scale.automatic, true);
    // Readings go on into the shortened session, drawn whole.
    for (int k = 0; k < 10; ++k)
        rig->reading(700);
    QCOMPARE(s.pointCount, qint64(210));
    QCOMPARE(s.readings.number(2, 210), 700.0);
    QCOMPARE(rig->chart.calls.last(), u"setCategoryScaleAuto(Y,1)"_s);
    QCOMPARE(rig->chart.title, u"08 декабря 14`05"_s);
    QCOMPARE(s.endReadings.columnCount(), qint64(0));
}

void tst_ViewRanges::longSession() {
    auto rig = session(33000, 400, 1000);
    SessionState &s = rig->state();
    s.endPoints = 32767;
    rig->logic->runMenuItem(menu::GraphEndOnly);
    QCOMPARE(s.endReadings.firstColumn(), qint64(33000 - 32767));
    QCOMPARE(s.endReadings.lastColumn(), qint64(33000 + 32767 + 1000));
    QCOMPARE(s.endReadings.number(2, 33000), 400.0);
    QCOMPARE(s.endReadings.cell(1, 33000).toText(), u"09:10:00"_s);
    s.cutStartPoints = 32767;
    rig->logic->runMenuItem(menu::CutGraphStart);
    QCOMPARE(s.pointCount, qint64(233));
    QCOMPARE(s.readings.number(2, 233), 400.0);
    QCOMPARE(s.readings.cell(1, 1).toText(), u"09:06:08"_s);
    QCOMPARE(rig->prompts.shown.size(), 0);
}

void tst_ViewRanges::menuAndToolbarRunTheCommands_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("item");
    QTest::newRow("GraphEnd") << toolbar::GraphEnd << menu::GraphEndOnly;
    QTest::newRow("GraphAll") << toolbar::GraphAll << menu::WholeGraph;
    QTest::newRow("GraphStart") << toolbar::GraphStart << menu::CutGraphStart;
}

void tst_ViewRanges::menuAndToolbarRunTheCommands() {
    QFETCH(QString, key);
    QFETCH(QString, item);
    QStringList effects;
    for (bool toolbar : {false, true}) {
        auto rig = session(300);
        rig->state().endPoints = 30;
        rig->state().cutStartPoints = 100;
        rig->chart.calls.clear();
        if (toolbar)
            QCOMPARE(rig->logic->runToolbarKey(key), commandForMenuItem(item));
        else
            rig->logic->runMenuItem(item);
        QVERIFY(!rig->chart.calls.isEmpty());
        effects << rig->chart.calls.join(u';') + u'/' + QString::number(rig->state().pointCount);
    }
    QCOMPARE(effects.first(), effects.last());
}

QTEST_MAIN(tst_ViewRanges)
#include "tst_viewranges.moc"
