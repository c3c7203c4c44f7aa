// Toolbar keys and menu items reach their commands: a key runs exactly what
// its menu item runs, the two port buttons share one toggle, an unknown key
// does nothing, and "Выход" runs the shutdown.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

template <typename Map> QString sortedPairs(const Map &map) {
    QStringList out;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        out.append(it.key() + u'=' + QVariant(it.value()).toString());
    std::sort(out.begin(), out.end());
    return out.join(u',');
}

// Everything a command can change that the doubles can see.
QStringList fingerprint(LogicRig &rig) {
    QStringList f;
    for (const auto &shown : rig.prompts.shown)
        f << u"prompt %1|%2|%3"_s.arg(int(shown.kind)).arg(shown.title, shown.text);
    f << u"port "_s + rig.port.log.join(u',');
    f << u"popups "_s + rig.view.popups.join(u',');
    f << u"checked "_s + sortedPairs(rig.view.checkedItems);
    f << u"enabled "_s + sortedPairs(rig.view.enabledItems);
    f << u"panels "_s + sortedPairs(rig.view.panels);
    f << u"dialogs %1 %2 %3 %4 %5"_s.arg(rig.view.graphDialogsShown)
             .arg(rig.view.aboutShown)
             .arg(rig.view.alarmsShown)
             .arg(rig.view.portDialogsShown)
             .arg(rig.view.snapshotDialogsShown);
    f << u"opened "_s + rig.launcher.opened.join(u',') + u" help "_s + rig.launcher.helpShown.join(u',');
    f << u"chart "_s + rig.chart.calls.join(u',');
    f << u"box "_s + rig.view.box.contents;
    f << u"flags %1 %2 %3"_s.arg(rig.state().legendShown).arg(rig.state().indicatorShown).arg(rig.state().pointCount);
    return f;
}

} // namespace

class tst_CommandDispatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void toolbarKeyRunsItsMenuCommand_data();
    void toolbarKeyRunsItsMenuCommand();
    void portButtonsShareTheToggle_data();
    void portButtonsShareTheToggle();
    void exitRunsTheShutdown();
    void exploringItemsReachTheChart_data();
    void exploringItemsReachTheChart();

private:
    QTemporaryDir m_install;
};

void tst_CommandDispatch::initTestCase() {
    QFile help(m_install.filePath(u"Zorneta.hlp"_s));
    QVERIFY(help.open(QIODevice::WriteOnly));
}

void tst_CommandDispatch::toolbarKeyRunsItsMenuCommand_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("command");
    // Whether the command shows an effect on the doubles (closing a recording
    // that is not open, or erasing a snapshot never taken, does nothing).
    QTest::addColumn<bool>("acts");
    QTest::newRow("OpenLogFile") << toolbar::OpenLogFile << menu::OpenRecording << true;
    QTest::newRow("CloseLogFile") << toolbar::CloseLogFile << menu::CloseRecording << false;
    QTest::newRow("DialPhoneNumber") << toolbar::AlarmTemperature << menu::AlarmTemperature << true;
    QTest::newRow("HangUpPhone") << toolbar::GraphSettings << menu::GraphSettings << true;
    QTest::newRow("Properties") << toolbar::Properties << menu::PortSettings << true;
    QTest::newRow("CopySnap") << toolbar::CopySnap << menu::TakeSnapshot << true;
    QTest::newRow("PortOpen") << toolbar::PortOpen << menu::OpenPort << true;
    QTest::newRow("Help") << toolbar::Help << menu::HelpContents << true;
    QTest::newRow("PasteSnap") << toolbar::PasteSnap << menu::PasteSnapshot << true;
    QTest::newRow("ClosePort") << toolbar::ClosePort << menu::OpenPort << true;
    QTest::newRow("Copy") << toolbar::Copy << menu::CopyData << true;
    QTest::newRow("Paste") << toolbar::Paste << menu::InsertData << true;
    QTest::newRow("DeleteSnap") << toolbar::DeleteSnap << menu::EraseSnapshot << false;
    QTest::newRow("GraphStart") << toolbar::GraphStart << menu::CutGraphStart << true;
    QTest::newRow("GraphEnd") << toolbar::GraphEnd << menu::GraphEndOnly << true;
    QTest::newRow("GraphAll") << toolbar::GraphAll << menu::WholeGraph << true;
    QTest::newRow("NewSession") << toolbar::NewSession << menu::NewSession << true;
    QTest::newRow("Legend") << toolbar::Legend << menu::LegendOnOff << true;
    QTest::newRow("unknown key") << u"Exit"_s << QString() << false;
    QTest::newRow("letter case counts") << u"help"_s << QString() << false;
    QTest::newRow("empty key") << QString() << QString() << false;
}

void tst_CommandDispatch::toolbarKeyRunsItsMenuCommand() {
    QFETCH(QString, key);
    QFETCH(QString, command);
    QFETCH(bool, acts);
    LogicRig idle, byKey, byMenu;
    for (LogicRig *rig : {&idle, &byKey, &byMenu})
        rig->install.directory = m_install.path() + u'/';
    const QStringList before = fingerprint(idle);

    QCOMPARE(byKey.logic->runToolbarKey(key), commandForMenuItem(command));
    if (!command.isEmpty())
        byMenu.logic->runMenuItem(command);

    QCOMPARE(fingerprint(byKey), fingerprint(byMenu));
    if (acts)
        QVERIFY(fingerprint(byKey) != before);
    if (command.isEmpty())
        QCOMPARE(fingerprint(byKey), before);
}

void tst_CommandDispatch::portButtonsShareTheToggle_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("openBefore");
    QTest::newRow("PortOpen opens") << toolbar::PortOpen << false;
    QTest::newRow("PortOpen closes an open port") << toolbar::PortOpen << true;
    QTest::newRow("ClosePort opens a closed port") << toolbar::ClosePort << false;
    QTest::newRow("ClosePort closes") << toolbar::ClosePort << true;
}

void tst_CommandDispatch::portButtonsShareTheToggle() {
    QFETCH(QString, key);
    QFETCH(bool, openBefore);
    LogicRig rig;
    if (openBefore)
        rig.open();
    QCOMPARE(rig.port.portOpen(), openBefore);
    rig.logic->runToolbarKey(key);
    QCOMPARE(rig.port.portOpen(), !openBefore);
    QCOMPARE(rig.view.connectedShown(), !openBefore);
}

void tst_CommandDispatch::exitRunsTheShutdown() {
    QTemporaryDir dir;
    LogicRig rig;
    int exits = 0;
    rig.logic->onExit = [&] {
        // The window closes only after the port and the file are done with.
        QVERIFY(!rig.port.portOpen());
        QVERIFY(!rig.logic->recording().isOpen());
        ++exits;
    };
    rig.open();
    QVERIFY(rig.logic->recording().openAt(dir.filePath(u"run.txt"_s), u"run.txt"_s));
    rig.reading(123);
    rig.logic->runMenuItem(menu::Exit);
    QCOMPARE(exits, 1);
    QVERIFY(!rig.port.portOpen());
    QVERIFY(!rig.logic->recording().isOpen());
    QFile recorded(dir.filePath(u"run.txt"_s));
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    QVERIFY(recorded.readAll().endsWith("\t0123\n"));
    // Closing the window afterwards does not shut down twice.
    rig.logic->unload();
    QCOMPARE(rig.prompts.unanswered, 0);
}

void tst_CommandDispatch::exploringItemsReachTheChart_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("chartCalls");
    QTest::addColumn<bool>("clockChecked");
    QTest::newRow("Вся кривая") << QStringList{menu::WholeCurve} << QStringList{u"ResetZoom"_s} << false;
    QTest::newRow("Время по часам on") << QStringList{menu::ClockTimeAxis} << QStringList{u"ClockTimeAxis(1)"_s}
                                       << true;
    QTest::newRow("Время по часам on and off") << QStringList{menu::ClockTimeAxis, menu::ClockTimeAxis}
                                               << QStringList{u"ClockTimeAxis(1)"_s, u"ClockTimeAxis(0)"_s} << false;
}

void tst_CommandDispatch::exploringItemsReachTheChart() {
    QFETCH(QStringList, items);
    QFETCH(QStringList, chartCalls);
    QFETCH(bool, clockChecked);
    LogicRig rig;
    rig.chart.calls.clear();
    for (const QString &item : items)
        rig.logic->runMenuItem(item);
    QCOMPARE(rig.chart.calls, chartCalls);
    QCOMPARE(rig.view.itemChecked(menu::ClockTimeAxis), clockChecked);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

QTEST_GUILESS_MAIN(tst_CommandDispatch)
#include "tst_commanddispatch.moc"
