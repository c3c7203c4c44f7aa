// The main window's logic on the real serial port and a pseudo-terminal under
// a hard line: a device lost and back again a hundred times, garbage mixed
// with groups at 115 200 baud, and a burst far beyond what the port holds.

#include "common/Formats.h"
#include "common/ItemNames.h"
#include "platform/qt/QtSerialPort.h"
#include "shell/TerminalLogic.h"
#include "simulator/LineNoise.h"
#include "simulator/PtyPair.h"
#include "support/LogicRig.h"

#include <QDir>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

const QString LostPrefix = u"Порт потерян ... ожидание подключения  "_s;
const QString QuestionTail = u"\n\nОК - Продолжение программы, Отмена - Прекрашение приема данных и закрытие порта"_s;

int openDescriptors() {
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::Files | QDir::System).size());
}

QByteArray group(int value) {
    return QByteArray::number(value).rightJustified(4, '0') + "\r\n";
}

// A device whose thread writes the given chunks, one every `gap`, and posts
// a marker to the test's thread after each: how many markers at most waited
// unserviced shows whether the event loop kept answering.
class Device : public QObject {
public:
    Device(int fd, QList<QByteArray> chunks, std::chrono::microseconds gap)
        : m_fd(fd), m_chunks(std::move(chunks)), m_gap(gap) {}
    ~Device() override {
        if (m_thread.joinable())
            m_thread.join();
    }

    // Runs the event loop until every chunk is written (or a minute passed).
    bool run() {
        QEventLoop loop;
        m_thread = std::thread([this, &loop] {
            auto due = std::chrono::steady_clock::now();
            for (const QByteArray &chunk : std::as_const(m_chunks)) {
                if (m_stop)
                    break;
                std::this_thread::sleep_until(due);
                due += m_gap;
                if (!sim::writeAllToLine(m_fd, chunk)) {
                    m_failed = true;
                    break;
                }
                const int waiting = ++m_posted - m_serviced;
                m_mostWaiting = std::max(m_mostWaiting.load(), waiting);
                QMetaObject::invokeMethod(
                    this, [this] { ++m_serviced; }, Qt::QueuedConnection);
            }
            m_done = true;
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit); // a safety net only
        loop.exec();
        const bool done = m_done;
        if (!done)
            m_stop = true;
        m_thread.join();
        return done && !m_failed;
    }
    int mostWaiting() const { return m_mostWaiting; }

private:
    int m_fd;
    QList<QByteArray> m_chunks;
    std::chrono::microseconds m_gap;
    std::thread m_thread;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_posted{0};
    std::atomic<int> m_serviced{0};
    std::atomic<int> m_mostWaiting{0};
};

// The logic on doubles around a real port whose Com1 is a link to the
// device, as /dev/serial/by-id/... is.
struct Line {
    QTemporaryDir dir;
    QString link = dir.filePath(u"ttyUSB0"_s);
    QString record = dir.filePath(u"furnace.txt"_s);
    sim::PtyPair pty;
    std::unique_ptr<QtSerialPort> port;
    LogicRig doubles{LogicRig::DoublesOnly};
    std::unique_ptr<TerminalLogic> logic;
    // What the port raised, seen before the logic handles it.
    QList<int> codes;
    QList<qint64> readingsBeforeOverflow;

    bool plugIn() { return pty.open() && QFile::link(pty.devicePath(), link); }
    void pullOut() {
        pty.close();
        QFile::remove(link);
    }
    bool start(const QString &settings = u"9600,n,8,1"_s, bool recording = false) {
        if (!dir.isValid() || !plugIn())
            return false;
        PortDirectory directory = PortDirectory::withCandidates({});
        directory.bind(1, link);
        port = std::make_unique<QtSerialPort>(directory);
        QObject::connect(port.get(), &SerialPort::lineReceived, port.get(),
                         [this] { codes.append(CommEvents::Receive); });
        QObject::connect(port.get(), &SerialPort::lineFault, port.get(), [this](int code) {
            codes.append(code);
            if (code == CommEvents::RxOver)
                readingsBeforeOverflow.append(logic->state().pointCount);
        });
        LogicRig &d = doubles;
        logic = std::make_unique<TerminalLogic>(
            Services{*port, d.chart, d.prompts, d.settings, d.clock, d.beeper, d.install, d.launcher, d.view});
        logic->load();
        if (!port->setSettings(settings))
            return false;
        if (recording && !logic->recording().openAt(record, u"furnace.txt"_s))
            return false;
        logic->portControl().togglePort();
        return port->portOpen();
    }
    SessionState &state() { return logic->state(); }
    bool send(int value) {
        const qint64 before = state().pointCount;
        const QByteArray bytes = group(value);
        return ::write(pty.masterFd(), bytes.constData(), size_t(bytes.size())) == bytes.size() &&
               QTest::qWaitFor([&] { return state().pointCount == before + 1; }, 10000);
    }
    int count(int code) const { return int(codes.count(code)); }
};

} // namespace

class tst_LineStress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyLossIsOneQuestionAndIsWaitedOut();
    void floodOfGarbageKeepsEveryGroup();
    void burstBeyondThePortLosesNothing();
};

void tst_LineStress::everyLossIsOneQuestionAndIsWaitedOut() {
    constexpr int Losses = 100;
    const int closedDescriptors = openDescriptors();
    Line line;
    QVERIFY(line.start());
    line.logic->portControl().reconnect().setPollInterval(5);
    QVERIFY(line.send(100));
    const int openedDescriptors = openDescriptors();

    for (int loss = 1; loss <= Losses; ++loss) {
        line.doubles.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
        line.pullOut();
        QVERIFY(QTest::qWaitFor([&] { return line.doubles.prompts.shown.size() == loss; }, 10000));
        QVERIFY(
            QTest::qWaitFor([&] { return line.doubles.view.panelText(panel::Status).startsWith(LostPrefix); }, 10000));
        QVERIFY(line.plugIn());
        QVERIFY(QTest::qWaitFor([&] { return line.port->portOpen(); }, 10000));
        QCOMPARE(line.doubles.view.panelText(panel::Status),
                 u"Порт восстановлен  "_s + timeOfDayText(line.doubles.clock.now()));
        QVERIFY(line.send(100 + loss));
    }
    QCOMPARE(line.doubles.prompts.shown.size(), Losses);
    for (const ScriptedPrompts::Shown &box : std::as_const(line.doubles.prompts.shown)) {
        QCOMPARE(box.title, u"Зорнета:   Ошибка коммуникационного Порта"_s);
        QCOMPARE(box.text, u"Ошибка выполнения"_s + QuestionTail);
    }
    QCOMPARE(line.doubles.beeper.count, 300 * Losses);
    QCOMPARE(line.count(CommEvents::Overrun), Losses);
    // The same session went on throughout.
    QCOMPARE(line.state().pointCount, qint64(Losses + 1));
    for (int k = 2; k <= Losses + 1; ++k)
        QCOMPARE(line.state().readings.number(2, k), double(99 + k));
    QCOMPARE(openDescriptors(), openedDescriptors);

    // The last loss is answered with Cancel: the port ends closed.
    line.doubles.prompts.messageAnswers.push_back(Prompts::Answer::Cancel);
    line.pullOut();
    QVERIFY(QTest::qWaitFor([&] { return line.doubles.prompts.shown.size() == Losses + 1; }, 10000));
    QVERIFY(!line.port->portOpen());
    QVERIFY(!line.logic->portControl().reconnect().waiting());
    QCOMPARE(line.doubles.view.panelText(panel::Status), u"Порт закрыт "_s + dateTimeText(line.doubles.clock.now()));
    QVERIFY(!line.doubles.view.connected);
    QCOMPARE(openDescriptors(), closedDescriptors);
}

void tst_LineStress::floodOfGarbageKeepsEveryGroup() {
    // A few seconds of a 115 200 baud line, about 11 520 bytes a second,
    // garbage lines and groups at random.
    constexpr int Seconds = 3;
    constexpr int ChunksPerSecond = 100;
    constexpr int BytesPerChunk = 115200 / 10 / ChunksPerSecond;
    Line line;
    QVERIFY(line.start(u"115200,n,8,1"_s, true));

    QRandomGenerator random(20261208);
    QList<int> groups;
    QList<QByteArray> chunks;
    QByteArray stream;
    while (chunks.size() < Seconds * ChunksPerSecond) {
        if (random.bounded(2)) {
            // Neither the break value nor the alarm temperature (0).
            groups.append(int(random.bounded(1, 9999)));
            stream += group(groups.last());
        } else {
            stream += sim::garbageLine(random);
        }
        while (stream.size() >= BytesPerChunk) {
            chunks.append(stream.left(BytesPerChunk));
            stream.remove(0, BytesPerChunk);
        }
    }
    chunks.append(stream);

    Device device(line.pty.masterFd(), chunks, std::chrono::microseconds(1000000 / ChunksPerSecond));
    QVERIFY(device.run());
    // The event loop answered throughout: a marker posted after each chunk
    // waited behind at most a few more (half a second of the line).
    QVERIFY2(device.mostWaiting() <= 50, QByteArray::number(device.mostWaiting()));

    QTRY_COMPARE_WITH_TIMEOUT(line.state().pointCount, qint64(groups.size()), 20000);
    QCOMPARE(line.count(CommEvents::RxOver), 0);
    QCOMPARE(line.doubles.prompts.shown.size(), 0);
    QCOMPARE(line.doubles.view.panelText(panel::Counter), QString::number(groups.size()));
    // Column 1 holds the title since the first update.
    for (qint64 k = 2; k <= groups.size(); ++k)
        QCOMPARE(line.state().readings.number(2, k), double(groups.at(k - 1)));
    // The memory the session holds is the readings it stored.
    QTRY_COMPARE_WITH_TIMEOUT(line.port->heldInputBytes(), 0, 20000);
    QVERIFY(line.state().readings.lastColumn() <= groups.size() + line.state().updatePeriod + 40);

    // Every group is in the record, in order, each on a line of its own.
    QFile file(line.record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    static const QRegularExpression stampedGroup(u"^\\d\\d:\\d\\d:\\d\\d\\t(\\d{4})$"_s);
    QList<int> recorded;
    for (const QByteArray &l : file.readAll().split('\n')) {
        const QRegularExpressionMatch m = stampedGroup.match(QString::fromLatin1(l));
        if (m.hasMatch())
            recorded.append(m.captured(1).toInt());
    }
    QCOMPARE(recorded, groups);
}

void tst_LineStress::burstBeyondThePortLosesNothing() {
    // Far more than the port lets wait, in one go: a pseudo-terminal holds the
    // sender back while the program catches up, so nothing is lost.
    constexpr int Groups = 2 * 1024 * 1024 / 6;
    Line line;
    QVERIFY(line.start(u"9600,n,8,1"_s, true));
    line.state().updatePeriod = 1000;
    QVERIFY(line.port->senderHeldBack());

    // Values 1 to 9998 over and over: never the break value or 0.
    QList<QByteArray> chunks;
    QByteArray chunk;
    for (int k = 0; k < Groups; ++k) {
        chunk += group(1 + k % 9998);
        if (chunk.size() >= 60000 || k + 1 == Groups) {
            chunks.append(chunk);
            chunk.clear();
        }
    }
    qsizetype mostHeld = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { mostHeld = std::max(mostHeld, line.port->heldInputBytes()); });
    watch.start(1);
    Device device(line.pty.masterFd(), chunks, std::chrono::microseconds(0));
    QVERIFY(device.run());
    QTRY_COMPARE_WITH_TIMEOUT(line.state().pointCount, qint64(Groups), 60000);
    QCOMPARE(line.count(CommEvents::RxOver), 0);
    QCOMPARE(line.doubles.prompts.shown.size(), 0);
    QCOMPARE(line.port->droppedInputBytes(), 0);
    QVERIFY2(mostHeld <= QtSerialPort::MaxWaitingBytes, QByteArray::number(mostHeld));
    const ReadingsTable &r = line.state().readings;
    for (qint64 k = 2; k <= Groups; ++k)
        QCOMPARE(r.number(2, k), double((k - 1) % 9998 + 1));
    // Every group is in the record too.
    QFile file(line.record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count('\n'), qsizetype(Groups));
}

QTEST_GUILESS_MAIN(tst_LineStress)
#include "tst_linestress.moc"
