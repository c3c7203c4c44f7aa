// The recorder without a window writes the same file as the window, from the
// same stream at the same moments, and ends on a thermocouple break.

#include "platform/qt/QtSerialPort.h"
#include "shell/HeadlessRecorder.h"
#include "shell/TerminalLogic.h"
#include "simulator/PtyPair.h"
#include "support/LogicRig.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<QtSerialPort> portOn(const sim::PtyPair &pty) {
    PortDirectory directory = PortDirectory::withCandidates({});
    directory.bind(1, pty.devicePath());
    return std::make_unique<QtSerialPort>(directory);
}

bool put(const sim::PtyPair &pty, const QByteArray &bytes) {
    return ::write(pty.masterFd(), bytes.constData(), size_t(bytes.size())) == bytes.size();
}

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_Headless : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordsWhatTheWindowRecords();
    void thermocoupleBreakEndsTheRecording();
};

void tst_Headless::recordsWhatTheWindowRecords() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    sim::PtyPair windowLine;
    sim::PtyPair headlessLine;
    QVERIFY(windowLine.open());
    QVERIFY(headlessLine.open());

    // The window's recorder: the main window's logic, its window stood in for.
    const QString windowFile = dir.filePath(u"window.txt"_s);
    auto windowPort = portOn(windowLine);
    LogicRig window(LogicRig::DoublesOnly);
    TerminalLogic logic(Services{*windowPort, window.chart, window.prompts, window.settings, window.clock,
                                 window.beeper, window.install, window.launcher, window.view});
    logic.load();
    QVERIFY(logic.recording().openAt(windowFile, u"window.txt"_s));
    logic.portControl().togglePort();
    QVERIFY(windowPort->portOpen());

    // The headless recorder, on a clock set to the same moment.
    const QString headlessFile = dir.filePath(u"headless.txt"_s);
    auto headlessPort = portOn(headlessLine);
    FakeClock clock;
    QBuffer out;
    QBuffer errors;
    QVERIFY(out.open(QIODevice::WriteOnly));
    QVERIFY(errors.open(QIODevice::WriteOnly));
    HeadlessRecorder recorder(*headlessPort, clock, out, errors);
    QString error;
    QVERIFY2(recorder.start({1, QString(), headlessFile, true}, &error), qPrintable(error));

    // The tail of a group caught by the opening, whole groups, a group in
    // two pieces, a burst, a short value, garbage, a backspace and a line
    // ended by LF alone; one second between pieces.
    const QList<QByteArray> stream{"23\r\n",           "0100\r\n", "0101\r\n", "01",         "02\r\n",
                                   "0103\r\n0104\r\n", "  99\r\n", "abcd\r\n", "012\b3\r\n", "0105\n"};
    qsizetype lines = 0;
    for (const QByteArray &piece : stream) {
        window.clock.advance(1000);
        clock.advance(1000);
        QVERIFY(put(windowLine, piece));
        QVERIFY(put(headlessLine, piece));
        lines += piece.count('\n');
        if (piece.endsWith('\n')) {
            QTRY_COMPARE(window.view.box.text().count(u'\n'), lines);
            QTRY_COMPARE(out.data().count('\n'), lines);
        }
    }
    recorder.stop();
    logic.unload();

    const QByteArray expected("00:00:01\t23\n00:00:02\t0100\n00:00:03\t0101\n00:00:05\t0102\n00:00:06\t0103\n"
                              "00:00:06\t0104\n00:00:07\t  99\n00:00:08\tabcd\n00:00:09\t013\n00:00:10\t0105\n");
    QCOMPARE(contents(windowFile), expected);
    QCOMPARE(contents(headlessFile), contents(windowFile));
    QCOMPARE(out.data(), QByteArray("23\n0100\n0101\n0102\n0103\n0104\n  99\nabcd\n013\n0105\n"));
    // The tail is shown and recorded, not stored; the rest as in the window.
    QCOMPARE(recorder.core().state().pointCount, qint64(7));
    QCOMPARE(recorder.core().state().pointCount, logic.state().pointCount);
    QCOMPARE(QString::fromUtf8(errors.data()), u"zorneta: Порт открыт\n"_s);
    QVERIFY(!headlessPort->portOpen());
}

void tst_Headless::thermocoupleBreakEndsTheRecording() {
    QTemporaryDir dir;
    sim::PtyPair line;
    QVERIFY(line.open());
    auto port = portOn(line);
    FakeClock clock;
    QBuffer out;
    QBuffer errors;
    QVERIFY(out.open(QIODevice::WriteOnly));
    QVERIFY(errors.open(QIODevice::WriteOnly));
    HeadlessRecorder recorder(*port, clock, out, errors);
    QSignalSpy ended(&recorder, &HeadlessRecorder::ended);
    QString error;
    QVERIFY2(recorder.start({1, u"9600,n,8,1"_s, dir.filePath(u"f.txt"_s), true}, &error), qPrintable(error));
    clock.advance(2000);
    QVERIFY(put(line, "0850\r\n9999\r\n"));
    QTRY_COMPARE(ended.size(), 1);
    QCOMPARE(ended.front().front().toInt(), HeadlessRecorder::ThermocoupleBreak);
    QVERIFY(!port->portOpen());
    QCOMPARE(contents(dir.filePath(u"f.txt"_s)), QByteArray("00:00:02\t0850\n00:00:02\t9999\n"));
    QCOMPARE(QString::fromUtf8(errors.data()),
             u"zorneta: Порт открыт\nzorneta: Порт закрыт\nzorneta: Зорнета:  Внимание - неисправность ! "
             "Обнаружен обрыв в цепи Термопары. Запись в файл  остановлена.  Коммуникационный порт закрыт\n"_s);
}

QTEST_GUILESS_MAIN(tst_Headless)
#include "tst_headless.moc"
