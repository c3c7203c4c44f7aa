// The snapshot on the chart and the chart's data on the clipboard, with the
// real chart under the offscreen platform: paste and erase of the snapshot,
// the live curve taking the chart back, copy and insert.

#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "support/LogicRig.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

const QString SeriesTitle = u"08 декабря 14`05"_s;

// The main window's logic on the real chart and scripted doubles.
struct ChartRig {
    LogicRig doubles{LogicRig::DoublesOnly};
    QtChartSurface chart;
    TerminalLogic logic{Services{doubles.port, chart, doubles.prompts, doubles.settings, doubles.clock, doubles.beeper,
                                 doubles.install, doubles.launcher, doubles.view}};

    ChartRig() { logic.load(); }

    // The open port with `count` readings, one a second: reading k is 100 + k.
    void readings(int count) {
        if (!doubles.port.portOpen())
            logic.portControl().togglePort();
        for (int k = 0; k < count; ++k) {
            doubles.clock.advance(1000);
            doubles.reading(100 + static_cast<int>(logic.state().pointCount) + 1);
        }
    }
    void snapshot(bool allData, const QString &from = QString(), const QString &to = QString()) {
        SnapshotDialog &d = logic.snapshotDialog();
        logic.runMenuItem(menu::TakeSnapshot);
        d.chooseRange(allData ? 0 : 1);
        d.setFirstPoint(from);
        d.setLastPoint(to);
        d.confirm();
    }
    QList<QPointF> drawnPoints() const {
        auto *view = qobject_cast<QChartView *>(chart.widget());
        const auto series = view->chart()->series();
        return series.size() == 1 ? qobject_cast<QLineSeries *>(series.first())->points() : QList<QPointF>();
    }
};

// The table without its label column's cells: the series title and the
// label above it, which the chart shows as no category.
ReadingsTable untitled(ReadingsTable table) {
    (void)table.clearCell(1, table.firstColumn());
    (void)table.clearCell(2, table.firstColumn());
    return table;
}

} // namespace

class tst_SnapshotChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pasteAfterErase();
    void pasteOfASection();
    void liveCurveTakesTheChartBack();
    void freshLiveTableReplacesAPastedSnapshot();
    void copyThenInsertRoundTrip();
    void copyWhileASnapshotIsShown();
    void insertOfOtherTextIsRefused();
    void insertBeyondLimitsIsRefused_data();
    void insertBeyondLimitsIsRefused();
};

void tst_SnapshotChart::pasteAfterErase() {
    ChartRig rig;
    rig.readings(10);
    // Nothing to paste before the first snapshot: the message, the chart kept.
    rig.logic.runMenuItem(menu::PasteSnapshot);
    QCOMPARE(rig.doubles.prompts.shown.size(), 1);
    QCOMPARE(rig.doubles.prompts.shown.front().text,
             u"Снимок делается с реального графика и вставляется только при наличии в Нём данных!"_s);
    QCOMPARE(rig.doubles.prompts.shown.front().icon, Prompts::Icon::None);
    QCOMPARE(rig.chart.table(), rig.logic.state().readings);
    rig.doubles.prompts.shown.clear();

    rig.snapshot(true);
    QCOMPARE(rig.logic.runToolbarKey(toolbar::DeleteSnap), commandForMenuItem(menu::EraseSnapshot));
    QCOMPARE(rig.logic.snapshots().snapReadings(), Snapshots::cleanSnapshot());
    QCOMPARE(rig.chart.table(), rig.logic.state().readings); // not redrawn
    QCOMPARE(rig.logic.runToolbarKey(toolbar::PasteSnap), commandForMenuItem(menu::PasteSnapshot));

    const ReadingsTable &shown = rig.chart.table();
    QCOMPARE(shown.firstColumn(), 1);
    QCOMPARE(shown.lastColumn(), 2);
    QCOMPARE(shown.cell(1, 2).toText(), u"Нет данных"_s);
    QVERIFY(shown.cell(2, 2).isEmpty());
    QCOMPARE(rig.chart.rowLabel(1), u"Снимок "_s + SeriesTitle);
    QTRY_VERIFY(rig.drawnPoints().isEmpty());
    QCOMPARE(rig.doubles.prompts.shown.size(), 0);
}

void tst_SnapshotChart::pasteOfASection() {
    ChartRig rig;
    rig.readings(10);
    rig.snapshot(false, u"3"_s, u"8"_s);
    QVERIFY(rig.logic.snapshots().snapReadings().cell(2, 3).toText().startsWith(u"Снимок графика "_s));
    rig.logic.runMenuItem(menu::PasteSnapshot);

    const ReadingsTable &snap = rig.logic.snapshots().snapReadings();
    QCOMPARE(snap.cell(2, 3).toText(), u"Снимок "_s + SeriesTitle);
    QCOMPARE(rig.chart.table(), snap);
    QCOMPARE(rig.chart.rowLabel(1), u"Снимок "_s + SeriesTitle);
    // Point 3 is the label column; points 4 to 8 are drawn.
    QTRY_COMPARE(rig.drawnPoints(), (QList<QPointF>{{1, 104}, {2, 105}, {3, 106}, {4, 107}, {5, 108}}));
    QCOMPARE(rig.chart.table().cell(1, 3).toText(), u"00:00:03"_s);
}

void tst_SnapshotChart::liveCurveTakesTheChartBack() {
    ChartRig rig;
    rig.readings(10);
    rig.snapshot(false, u"2"_s, u"5"_s);
    rig.logic.runMenuItem(menu::PasteSnapshot);
    QCOMPARE(rig.chart.table().firstColumn(), 2);
    rig.readings(9);
    QCOMPARE(rig.chart.table().firstColumn(), 2); // until the next update
    rig.readings(1);
    QCOMPARE(rig.chart.table(), rig.logic.state().readings);
    QCOMPARE(rig.chart.rowLabel(1), SeriesTitle);
    QTRY_COMPARE(rig.drawnPoints().size(), 19);
}

void tst_SnapshotChart::freshLiveTableReplacesAPastedSnapshot() {
    ChartRig rig;
    rig.readings(10);
    rig.snapshot(true);
    rig.logic.runMenuItem(menu::PasteSnapshot);
    QTRY_COMPARE(rig.drawnPoints().size(), 9);
    // A new session starts a fresh table and hands it to the chart.
    SessionState &s = rig.logic.state();
    s.readings = freshReadings();
    s.pointCount = 0;
    rig.logic.chart().redrawChart();
    QCOMPARE(rig.chart.table(), freshReadings());
    QCOMPARE(rig.chart.rowLabel(1), u"МЛ512"_s);
    QTRY_VERIFY(rig.drawnPoints().isEmpty());
    // The snapshot itself stays in memory.
    QCOMPARE(rig.logic.snapshots().snapReadings().lastColumn(), 10);
}

void tst_SnapshotChart::copyThenInsertRoundTrip() {
    ChartRig rig;
    rig.readings(12);
    rig.logic.chart().redrawChart();
    const ReadingsTable live = rig.chart.table();
    QCOMPARE(live, rig.logic.state().readings);
    QCOMPARE(rig.logic.runToolbarKey(toolbar::Copy), commandForMenuItem(menu::CopyData));
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasText());
    QVERIFY(data->text().startsWith(u"\t00:00:02\t"_s));
    QVERIFY(data->hasImage()); // a picture of the chart beside the data

    // Something else on the chart, then the clipboard back into it.
    rig.chart.setChartData(Snapshots::cleanSnapshot());
    QCOMPARE(rig.logic.runToolbarKey(toolbar::Paste), commandForMenuItem(menu::InsertData));
    QCOMPARE(untitled(rig.chart.table()), untitled(live));
    QCOMPARE(rig.chart.rowLabel(1), u"Вставка из буфера"_s);
    QTRY_COMPARE(rig.drawnPoints().size(), 11);
    QCOMPARE(rig.drawnPoints().first(), QPointF(1, 102));
    QCOMPARE(rig.doubles.prompts.shown.size(), 0);
}

void tst_SnapshotChart::copyWhileASnapshotIsShown() {
    ChartRig rig;
    rig.readings(10);
    rig.snapshot(false, u"4"_s, u"6"_s);
    rig.logic.runMenuItem(menu::PasteSnapshot);
    rig.logic.runMenuItem(menu::CopyData);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             u"\t00:00:05\t00:00:06\r\nСнимок "_s + SeriesTitle + u"\t105\t106\r\n"_s);
}

void tst_SnapshotChart::insertOfOtherTextIsRefused() {
    ChartRig rig;
    rig.readings(10);
    rig.logic.chart().redrawChart();
    const ReadingsTable before = rig.chart.table();
    for (const QString &text : {u"Температура печи 850"_s, u"a\tb\r\nc\td\r\n"_s, QString()}) {
        rig.doubles.prompts.shown.clear();
        QGuiApplication::clipboard()->setText(text);
        rig.logic.runMenuItem(menu::InsertData);
        QCOMPARE(rig.doubles.prompts.shown.size(), 1);
        const auto &box = rig.doubles.prompts.shown.front();
        QCOMPARE(box.title, u"Зорнета"_s);
        QCOMPARE(box.icon, Prompts::Icon::Exclamation);
        QCOMPARE(box.text, u"В буфере обмена нет данных графика. Вставить можно только данные, скопированные "
                           u"командой \"Копировать данные\": строку подписей точек и строку значений, "
                           u"разделённых табуляцией. График не изменён."_s);
        QCOMPARE(rig.chart.table(), before);
        QCOMPARE(rig.chart.rowLabel(1), SeriesTitle);
    }
}

void tst_SnapshotChart::insertBeyondLimitsIsRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("40 MB of text") << QString(40 * 1024 * 1024, u'7')
                                   << u"В буфере обмена слишком много текста: 40,0 МБ. Вставить можно не больше "
                                      u"32 МБ — это около двух недель записи. График не изменён."_s;
    QTest::newRow("two million points and one")
        << u"\r\nt"_s + u"\t1"_s.repeated(2000001)
        << u"В буфере обмена слишком много точек: 2000001. Вставить можно не больше двух миллионов — это около "
           u"двух недель записи. График не изменён."_s;
    QTest::newRow("a 20 MB label") << u"\t"_s + QString(20 * 1024 * 1024, u'x') + u"\r\nt\t1\r\n"_s
                                   << u"В буфере обмена слишком длинная ячейка: строка 1, столбец 2 (символов: "
                                      u"20971520). Ячейка может быть не длиннее 255 символов. График не изменён."_s;
    const QString notDrawable = u"В буфере обмена число, которое нельзя показать на графике: строка 2, столбец %1 "
                                u"(«%2»). Показать можно числа по модулю не больше 10¹⁵. График не изменён."_s;
    QTest::newRow("1e308") << u"\t00:00:01\t00:00:02\r\nt\t20\t1e308\r\n"_s << notDrawable.arg(3).arg(u"1e308"_s);
    QTest::newRow("-1e308") << u"\t00:00:01\t00:00:02\r\nt\t-1e308\t20\r\n"_s << notDrawable.arg(2).arg(u"-1e308"_s);
    QTest::newRow("inf") << u"\t00:00:01\r\nt\tinf\r\n"_s << notDrawable.arg(2).arg(u"inf"_s);
}

void tst_SnapshotChart::insertBeyondLimitsIsRefused() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    ChartRig rig;
    rig.readings(10);
    rig.logic.chart().redrawChart();
    QTRY_COMPARE(rig.drawnPoints().size(), 9);
    const ReadingsTable before = rig.chart.table();
    const QList<QPointF> drawnBefore = rig.drawnPoints();
    const ChartSurface::ValueScale scaleBefore = rig.chart.valueScale(ChartSurface::Axis::Y);

    QGuiApplication::clipboard()->setText(text);
    QCOMPARE(rig.logic.runToolbarKey(toolbar::Paste), commandForMenuItem(menu::InsertData));
    QCOMPARE(rig.doubles.prompts.shown.size(), 1);
    const auto &box = rig.doubles.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета"_s);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.text, message);
    // The chart exactly as it was: its data, title, curve and value axis.
    QCOMPARE(rig.chart.table(), before);
    QCOMPARE(rig.chart.rowLabel(1), SeriesTitle);
    QCoreApplication::processEvents();
    QCOMPARE(rig.drawnPoints(), drawnBefore);
    const ChartSurface::ValueScale scale = rig.chart.valueScale(ChartSurface::Axis::Y);
    QCOMPARE(scale.minimum, scaleBefore.minimum);
    QCOMPARE(scale.maximum, scaleBefore.maximum);
    QGuiApplication::clipboard()->clear();
}

QTEST_MAIN(tst_SnapshotChart)
#include "tst_snapshotchart.moc"
