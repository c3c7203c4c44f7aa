// A lost line comes back by itself: the logic over a scripted port, and the
// real serial port on a pseudo-terminal behind a symbolic link that goes away
// and comes back while recording.

#include "common/Formats.h"
#include "common/ItemNames.h"
#include "platform/qt/QtSerialPort.h"
#include "shell/TerminalLogic.h"
#include "simulator/PtyPair.h"
#include "support/LogicRig.h"

#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

const QString LostPrefix = u"Порт потерян ... ожидание подключения  "_s;

// The logic on doubles around a real port whose Com1 is a link that stands
// for the device: bound to the link's path (as to /dev/serial/by-id/...), or
// found by the scan of a device directory (as /dev/ttyUSB0 is).
struct LinkedLine {
    explicit LinkedLine(bool scanned = false) : scanned(scanned) {}
    bool scanned;
    QTemporaryDir dir;
    QString link = dir.filePath(u"ttyUSB0"_s);
    QString record = dir.filePath(u"furnace.txt"_s);
    sim::PtyPair pty;
    std::unique_ptr<QtSerialPort> port;
    LogicRig doubles{LogicRig::DoublesOnly};
    std::unique_ptr<TerminalLogic> logic;

    bool plugIn() {
        QString error;
        if (!pty.open(&error)) {
            qWarning("%s", qPrintable(error));
            return false;
        }
        return QFile::link(pty.devicePath(), link);
    }
    void pullOut() {
        pty.close();
        QFile::remove(link);
    }
    bool start() {
        if (!dir.isValid() || !plugIn())
            return false;
        PortDirectory directory = scanned ? PortDirectory::scanning(dir.path()) : PortDirectory::withCandidates({});
        if (!scanned)
            directory.bind(1, link);
        port = std::make_unique<QtSerialPort>(directory);
        LogicRig &d = doubles;
        logic = std::make_unique<TerminalLogic>(
            Services{*port, d.chart, d.prompts, d.settings, d.clock, d.beeper, d.install, d.launcher, d.view});
        logic->load();
        if (!logic->recording().openAt(record, u"furnace.txt"_s))
            return false;
        logic->portControl().togglePort();
        return port->portOpen();
    }
    // One group on the line, one second after the one before, recorded
    // before the next is sent.
    bool send(int value) {
        const qint64 before = logic->state().pointCount;
        doubles.clock.advance(1000);
        const QByteArray group = QByteArray::number(value).rightJustified(4, '0') + "\r\n";
        if (::write(pty.masterFd(), group.constData(), size_t(group.size())) != group.size())
            return false;
        return QTest::qWaitFor([&] { return logic->state().pointCount == before + 1; }, 10000);
    }
    QByteArray recorded() const {
        QFile f(record);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    PortReconnect &reconnect() { return logic->portControl().reconnect(); }
};

} // namespace

class tst_Reconnect : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void faultIsWaitedOutAndEndsWhenTheUserCloses();
    void offStaysClosed();
    void deviceBackBehindItsLinkContinuesTheSession_data();
    void deviceBackBehindItsLinkContinuesTheSession();
    void cancelStopsTheWaiting();
};

void tst_Reconnect::faultIsWaitedOutAndEndsWhenTheUserCloses() {
    LogicRig rig;
    rig.open();
    rig.reading(100);
    // The adapter goes: the port closes and reports the fault.
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    rig.port.failOpen = u"Порт не найден: /dev/ttyUSB0"_s;
    rig.port.loseLine();
    PortReconnect &reconnect = rig.logic->portControl().reconnect();
    QVERIFY(reconnect.waiting());
    QCOMPARE(rig.prompts.shown.size(), 1);
    QTRY_COMPARE(rig.view.panelText(panel::Status), LostPrefix + timeOfDayText(rig.clock.now()));
    // Still missing at the next tries; the port shows open meanwhile.
    QTRY_VERIFY(rig.port.log.count(u"PortOpen=true (отказ)"_s) >= 2);
    QVERIFY(rig.view.itemChecked(menu::OpenPort));
    // The user closes the port: the waiting ends, the closed state shows.
    rig.logic->portControl().togglePort();
    QVERIFY(!reconnect.waiting());
    QVERIFY(!reconnect.pollTimer().isActive());
    QVERIFY(!rig.view.itemChecked(menu::OpenPort));
    QVERIFY(!rig.view.connected);
    QCOMPARE(rig.view.panelText(panel::Status), u"Порт закрыт"_s);
    QVERIFY(rig.view.panelText(panel::ConnectTime).startsWith(u"Длительность приёма  "_s));
}

void tst_Reconnect::offStaysClosed() {
    LogicRig rig;
    rig.logic->portControl().reconnect().setEnabled(false);
    rig.open();
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    rig.port.loseLine();
    QVERIFY(!rig.logic->portControl().reconnect().waiting());
    QCOMPARE(rig.view.panelText(panel::Status).left(19), u"Ошибка выполнения  "_s);
}

void tst_Reconnect::deviceBackBehindItsLinkContinuesTheSession_data() {
    QTest::addColumn<bool>("scanned");
    QTest::addColumn<bool>("answerFirst"); // OK to the error question before the line is back
    QTest::newRow("same path") << false << false;
    QTest::newRow("same number") << true << false;
    QTest::newRow("answered before the line is back") << false << true;
}

void tst_Reconnect::deviceBackBehindItsLinkContinuesTheSession() {
    QFETCH(bool, scanned);
    QFETCH(bool, answerFirst);
    LinkedLine line(scanned);
    QVERIFY(line.start());
    const QDateTime started = line.logic->state().startTime;
    for (int value : {100, 101, 102})
        QVERIFY(line.send(value));

    // Pulled out; plugged in again, with the error question still open or
    // answered already: once the line is back, the status says so, and an
    // answer that comes later does not change it.
    line.doubles.prompts.keepBoxesOpen = true;
    line.pullOut();
    QTRY_VERIFY_WITH_TIMEOUT(line.reconnect().waiting(), 5000);
    QTRY_VERIFY(line.doubles.view.panelText(panel::Status).startsWith(LostPrefix));
    QCOMPARE(line.doubles.prompts.openBoxes.size(), 1);
    if (answerFirst)
        line.doubles.prompts.answerOpenBox(Prompts::Answer::Ok);
    QVERIFY(line.plugIn());
    QTRY_VERIFY_WITH_TIMEOUT(line.port->portOpen(), 10000);
    const QString restored = u"Порт восстановлен  "_s + timeOfDayText(line.doubles.clock.now());
    QCOMPARE(line.doubles.view.panelText(panel::Status), restored);
    QVERIFY(line.send(103));
    line.doubles.prompts.answerOpenBox(Prompts::Answer::Ok);
    QCOMPARE(line.doubles.view.panelText(panel::Status), restored);
    QCOMPARE(line.doubles.prompts.shown.size(), 1);
    QCOMPARE(line.doubles.prompts.shown.front().text.left(17), u"Ошибка выполнения"_s);
    QVERIFY(!line.reconnect().waiting());
    QVERIFY(line.doubles.view.connected);
    QVERIFY(line.doubles.view.itemChecked(menu::OpenPort));
    QVERIFY(line.logic->portControl().connectionTimer().isActive());

    // The same session goes on: no new-session question, the counter and
    // the start time as they were, the same file.
    QVERIFY(line.send(104));
    QCOMPARE(line.doubles.prompts.shown.size(), 1);
    QCOMPARE(line.logic->state().pointCount, qint64(5));
    QCOMPARE(line.logic->state().startTime, started);
    QCOMPARE(line.logic->state().readings.number(2, 5), 104.0);
    QCOMPARE(line.recorded(), QByteArray("00:00:01\t0100\n00:00:02\t0101\n00:00:03\t0102\n"
                                         "00:00:04\t0103\n00:00:05\t0104\n"));
}

void tst_Reconnect::cancelStopsTheWaiting() {
    LinkedLine line;
    QVERIFY(line.start());
    QVERIFY(line.send(100));
    line.doubles.prompts.messageAnswers.push_back(Prompts::Answer::Cancel);
    line.pullOut();
    QTRY_COMPARE_WITH_TIMEOUT(line.doubles.prompts.shown.size(), 1, 10000);
    QVERIFY(!line.reconnect().waiting());
    QVERIFY(!line.reconnect().pollTimer().isActive());
    QCOMPARE(line.doubles.view.panelText(panel::Status), u"Порт закрыт "_s + dateTimeText(line.doubles.clock.now()));
    // The device comes back, and nothing reopens it.
    QVERIFY(line.plugIn());
    QTest::qWait(3 * PortReconnect::PollIntervalMs);
    QVERIFY(!line.port->portOpen());
    QCOMPARE(line.doubles.view.panelText(panel::Status).left(12), u"Порт закрыт "_s);
    QCOMPARE(line.recorded(), QByteArray("00:00:01\t0100\n"));
}

QTEST_GUILESS_MAIN(tst_Reconnect)
#include "tst_reconnect.moc"
