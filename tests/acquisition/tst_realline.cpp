// The reception spine end to end: the simulated thermoregulator on a real
// pseudo-terminal, the real serial port, and the main window's logic on
// scripted prompts, view and chart.

#include "common/Formats.h"
#include "common/ItemNames.h"
#include "platform/qt/QtSerialPort.h"
#include "simulator/ThermoSimulator.h"
#include "support/Doubles.h"
#include "support/ViewDoubles.h"
#include "shell/TerminalLogic.h"

#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

constexpr int PeriodMs = 20;
constexpr qint64 SimulatedPeriodMs = 640;

// A regulator on a pty, the program's port bound to it as Com1, and the logic.
struct Line {
    sim::ThermoSimulator simulator;
    std::unique_ptr<QtSerialPort> port;
    RecordingChart chart;
    ScriptedPrompts prompts;
    MemorySettingsStore settings;
    FakeClock clock;
    CountingBeeper beeper;
    FixedInstallInfo install;
    RecordingLauncher launcher;
    MemoryMainView view;
    std::unique_ptr<TerminalLogic> logic;

    explicit Line(sim::SimOptions options) : simulator(options) {}

    bool start() {
        QString error;
        if (!simulator.start(&error)) {
            qWarning("%s", qPrintable(error));
            return false;
        }
        PortDirectory directory = PortDirectory::withCandidates({});
        directory.bind(1, simulator.devicePath());
        port = std::make_unique<QtSerialPort>(directory);
        // Each event happens one device period after the one before, on the
        // program's clock (connected before the logic, so it runs first).
        QObject::connect(port.get(), &SerialPort::lineReceived, port.get(),
                         [this] { clock.advance(SimulatedPeriodMs); });
        logic = std::make_unique<TerminalLogic>(
            Services{*port, chart, prompts, settings, clock, beeper, install, launcher, view});
        logic->load();
        // Opened before the first group is on the line.
        logic->portControl().togglePort();
        return port->portOpen();
    }
    SessionState &state() { return logic->state(); }
};

sim::SimOptions options() {
    sim::SimOptions o;
    o.periodMs = PeriodMs;
    o.speedup = 200; // a visible ramp within a few dozen readings
    return o;
}

} // namespace

class tst_RealLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readingsLandInTheirColumns();
    void splitGroupsAndBursts();
    void thermocoupleBreakClosesThePort();
    void unpluggedAdapterIsALineError();
    void everyLineIsShownAndRecordedWhole_data();
    void everyLineIsShownAndRecordedWhole();
};

void tst_RealLine::readingsLandInTheirColumns() {
    Line line(options());
    QVERIFY(line.start());
    QCOMPARE(line.view.panelText(panel::Status), u"Порт открыт"_s);
    QTRY_VERIFY_WITH_TIMEOUT(line.state().pointCount >= 25, 10000);
    line.logic->portControl().togglePort(); // close
    const qint64 n = line.state().pointCount;
    const QList<int> sent = line.simulator.valuesSent();
    QVERIFY(sent.size() >= n);
    const ReadingsTable &r = line.state().readings;
    // Readings 2 to 10 and 11 onwards: every group sent became its column, in order.
    for (qint64 k = 2; k <= n; ++k) {
        QCOMPARE(r.number(2, k), double(sent.at(k - 1)));
        QCOMPARE(r.cell(1, k).toText(), elapsedText(k * SimulatedPeriodMs / 1000));
    }
    // The first update put the title in column 1 and the label of the last column.
    QCOMPARE(r.cell(2, 1).toText(), seriesTitleText(line.state().startTime));
    QCOMPARE(r.cell(1, r.lastColumn()).toText(), u"C"_s + QString::number(r.lastColumn()));
    QCOMPARE(line.view.panelText(panel::Counter), QString::number(n));
    QVERIFY(line.chart.tablesGiven >= 2);
    // The terminal box shows every group as it came.
    QString expected;
    for (qint64 k = 1; k <= n; ++k)
        expected += QString::number(sent.at(k - 1)).rightJustified(4, u'0') + u"\r\n"_s;
    QCOMPARE(line.view.box.contents, expected);
    QCOMPARE(line.prompts.shown.size(), 0);
}

void tst_RealLine::splitGroupsAndBursts() {
    sim::SimOptions o = options();
    o.split = true;
    o.burstAt = 5;
    o.burstCount = 4;
    o.garbleAt = {9};
    Line line(o);
    QVERIFY(line.start());
    QTRY_VERIFY_WITH_TIMEOUT(line.simulator.groupsSent() >= 15, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(line.state().commEventCount >= 15, 10000);
    line.logic->portControl().togglePort();
    const QList<int> sent = line.simulator.valuesSent();
    // One event per group, split or not; the garbled one is no reading.
    QList<double> expected;
    for (int v : sent.mid(0, int(line.state().commEventCount))) {
        if (v >= 0)
            expected.append(v);
    }
    QCOMPARE(line.state().pointCount, qint64(expected.size()));
    // Column 1 holds the title since the first update.
    for (qint64 k = 2; k <= line.state().pointCount; ++k)
        QCOMPARE(line.state().readings.number(2, k), expected.at(k - 1));
    QVERIFY(line.view.box.contents.contains(u"1#?Z\r\n"_s));
}

void tst_RealLine::thermocoupleBreakClosesThePort() {
    sim::SimOptions o = options();
    o.breakAt = 12;
    Line line(o);
    QVERIFY(line.start());
    line.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    QTRY_VERIFY_WITH_TIMEOUT(line.prompts.shown.size() == 1, 10000);
    QVERIFY(!line.port->portOpen());
    const auto &box = line.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета:  Внимание - неисправность !"_s);
    QCOMPARE(box.text,
             u"Обнаружен обрыв в цепи Термопары. \n\nЗапись в файл  остановлена.  Коммуникационный порт закрыт"_s);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(line.state().pointCount, qint64(12));
    QCOMPARE(line.state().readings.number(2, 12), 9999.0);
    QCOMPARE(line.view.panelText(panel::Status), u"Порт закрыт"_s);
    QVERIFY(!line.view.itemChecked(menu::OpenPort));
    QVERIFY(!line.view.connected);
    // Nothing more arrives on the closed port.
    QTest::qWait(10 * PeriodMs);
    QCOMPARE(line.state().pointCount, qint64(12));
}

void tst_RealLine::unpluggedAdapterIsALineError() {
    Line line(options());
    QVERIFY(line.start());
    QTRY_VERIFY_WITH_TIMEOUT(line.state().pointCount >= 5, 10000);
    line.prompts.messageAnswers.push_back(Prompts::Answer::Cancel);
    line.simulator.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(line.prompts.shown.size() == 1, 10000);
    const auto &box = line.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета:   Ошибка коммуникационного Порта"_s);
    QCOMPARE(box.text,
             u"Ошибка выполнения\n\nОК - Продолжение программы, Отмена - Прекрашение приема данных и закрытие порта"_s);
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(line.beeper.count, 300);
    QVERIFY(!line.port->portOpen());
    QCOMPARE(line.view.panelText(panel::Status), u"Порт закрыт "_s + dateTimeText(line.clock.now()));
    QVERIFY(line.view.panelText(panel::ConnectTime).startsWith(u"Длительность приёма  "_s));
    QVERIFY(!line.view.connected);
    QVERIFY(!line.view.itemChecked(menu::OpenPort));
    // The readings before the fault stay.
    QVERIFY(line.state().readings.isNumber(2, 5));
}

void tst_RealLine::everyLineIsShownAndRecordedWhole_data() {
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<qint64>("readings");
    // Line k arrives 640 ms after line k - 1: lines 1, 2 and 3 are stamped
    // 00:00:00, 00:00:01 and 00:00:01.
    QTest::newRow("groups") << QByteArrayList{"0100\r\n", "0101\r\n", "0102\r\n"}
                            << QByteArray("00:00:00\t0100\n00:00:01\t0101\n00:00:01\t0102\n") << qint64(3);
    QTest::newRow("long line") << QByteArrayList{"0100\r\n", "xx9999yy\r\n", "0200\r\n"}
                               << QByteArray("00:00:00\t0100\n00:00:01\txx9999yy\n00:00:01\t0200\n") << qint64(2);
    QTest::newRow("ten digits") << QByteArrayList{"0100\r\n", "1234567890\r\n", "0300\r\n"}
                                << QByteArray("00:00:00\t0100\n00:00:01\t1234567890\n00:00:01\t0300\n") << qint64(2);
    QTest::newRow("LF alone") << QByteArrayList{"0100\r\n", "0444\n", "0500\r\n"}
                              << QByteArray("00:00:00\t0100\n00:00:01\t0444\n00:00:01\t0500\n") << qint64(3);
    QTest::newRow("CR inside") << QByteArrayList{"0100\r\n", "0789\r0333\r\n", "0600\r\n"}
                               << QByteArray("00:00:00\t0100\n00:00:01\t0789\n00:00:01\t0333\n00:00:01\t0600\n")
                               << qint64(2);
    QTest::newRow("first line no group") << QByteArrayList{"abcdefgh\r\n", "0100\r\n"}
                                         << QByteArray("00:00:00\tabcdefgh\n00:00:01\t0100\n") << qint64(1);
    QTest::newRow("first line a tail") << QByteArrayList{"50\r\n", "0100\r\n"}
                                       << QByteArray("00:00:00\t50\n00:00:01\t0100\n") << qint64(1);
}

void tst_RealLine::everyLineIsShownAndRecordedWhole() {
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArray, record);
    QFETCH(qint64, readings);
    sim::SimOptions o = options();
    o.periodMs = 3'600'000; // the test writes every line itself
    Line line(o);
    QVERIFY(line.start());
    QTemporaryDir dir;
    const QString path = dir.filePath(u"record.txt"_s);
    QVERIFY(line.logic->recording().openAt(path, u"record.txt"_s));
    qint64 events = 0;
    QString shown;
    for (const QByteArray &bytes : std::as_const(lines)) {
        QVERIFY(line.simulator.writeRaw(bytes));
        ++events;
        QTRY_COMPARE_WITH_TIMEOUT(line.state().commEventCount, events, 10000);
        shown +=
            QString::fromLatin1(bytes).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u"\n"_s, u"\r\n"_s);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), record);
    QCOMPARE(line.view.box.contents, shown);
    QCOMPARE(line.state().pointCount, readings);
    QCOMPARE(line.view.panelText(panel::Counter), QString::number(readings));
}

QTEST_GUILESS_MAIN(tst_RealLine)
#include "tst_realline.moc"
