#include "platform/qt/PortDirectory.h"
#include "platform/qt/QtSerialPort.h"
#include "simulator/PtyPair.h"
#include "support/ScriptedSerialPort.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <memory>

using namespace zorneta;

namespace {

// Writes all of `data` to the simulated device's side of the line.
void sendFromDevice(int masterFd, const QByteArray &data) {
    qsizetype done = 0;
    int spins = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(masterFd, data.constData() + done, size_t(data.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            QFAIL("write to the pty master failed");
        } else if (++spins > 1000) {
            QFAIL("the pty master does not take the data");
        } else {
            QTest::qWait(1);
        }
    }
}

// What the program sent, as the device reads it.
QByteArray readAtDevice(int masterFd) {
    QByteArray all;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        all.append(buffer, n);
    }
    return all;
}

// A second descriptor on the port's device, opened before the port (which
// then takes the device exclusively): shows the line settings in force and
// how many bytes wait in the input queue, without reading any.
class DeviceProbe {
public:
    explicit DeviceProbe(const QString &path) : m_fd(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY)) {}
    ~DeviceProbe() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DeviceProbe(const DeviceProbe &) = delete;
    DeviceProbe &operator=(const DeviceProbe &) = delete;
    bool isOpen() const { return m_fd >= 0; }
    termios attributes() const {
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        return tio;
    }
    int waiting() const {
        int count = -1;
        ::ioctl(m_fd, FIONREAD, &count);
        return count;
    }

private:
    int m_fd = -1;
};

speed_t ospeed(const DeviceProbe &probe) {
    const termios tio = probe.attributes();
    return cfgetospeed(&tio);
}

// Records every line and fault a port hands over, with the line's bytes, and
// how deeply the delivery was nested in other deliveries.
struct EventLog {
    struct Entry {
        int code = 0;
        QByteArray input;
        int depth = 0;
        bool firstLine = false;
    };

    explicit EventLog(SerialPort &port) : port(port) {
        QObject::connect(&port, &SerialPort::lineReceived, &port, [this](const QByteArray &line, LineFacts facts) {
            onEvent(CommEvents::Receive, line, facts);
        });
        QObject::connect(&port, &SerialPort::lineFault, &port, [this](int code) { onEvent(code, {}, {}); });
    }

    void onEvent(int code, const QByteArray &line, LineFacts facts) {
        ++depth;
        maxDepth = qMax(maxDepth, depth);
        entries.append(Entry{code, line, depth, facts.afterGap});
        if (during)
            during(int(entries.size()) - 1);
        --depth;
    }

    QList<QByteArray> inputs(int code = CommEvents::Receive) const {
        QList<QByteArray> list;
        for (const Entry &entry : entries) {
            if (entry.code == code)
                list.append(entry.input);
        }
        return list;
    }
    int count(int code) const {
        return int(std::count_if(entries.begin(), entries.end(), [code](const Entry &e) { return e.code == code; }));
    }

    SerialPort &port;
    QList<Entry> entries;
    int depth = 0;
    int maxDepth = 0;
    std::function<void(int index)> during;
};

} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT

private:
    // A simulated device on Com1 and a port for it.
    struct Line {
        sim::PtyPair pty;
        std::unique_ptr<QtSerialPort> port;
        std::unique_ptr<EventLog> events;
        bool ready = false;
    };

    static void makeLine(Line &line) {
        QString error;
        QVERIFY2(line.pty.open(&error), qPrintable(error));
        PortDirectory directory = PortDirectory::withCandidates({});
        QVERIFY(directory.bind(1, line.pty.devicePath()));
        line.port = std::make_unique<QtSerialPort>(directory);
        line.events = std::make_unique<EventLog>(*line.port);
        line.ready = true;
    }

    static void openLine(Line &line) {
        makeLine(line);
        QVERIFY(line.ready);
        const Status opened = line.port->setPortOpen(true);
        QVERIFY2(opened.isOk(), qPrintable(opened.description()));
        QVERIFY(line.port->portOpen());
    }

    // Opens and passes the first line, so that what follows is framed.
    static void openSynchronisedLine(Line &line) {
        openLine(line);
        QVERIFY(line.port && line.port->portOpen());
        sendFromDevice(line.pty.masterFd(), "0000\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 1, 5000);
        QCOMPARE(line.events->entries.first().input, QByteArray("0000\r\n"));
        line.events->entries.clear();
        line.events->maxDepth = 0;
    }

private Q_SLOTS:
    void settingsText_data();
    void settingsText();
    void settingsOnOpenPort();
    void refusedSettingsKeepTheOldOnes();
    void settingsRefusedAtOpen();
    void handshaking_data();
    void handshaking();
    void handshakingOutOfRange();

    void groupInPiecesIsOneEvent();
    void openingMidGroupMarksTheFirstLine();
    void inputBeforeOpenIsDiscarded();
    void burstGivesOneEventPerGroup();
    void nestedEventLoopReceivesLaterEvents();
    void closingHandsOverWhatWasReceived();
    void unterminatedDataIsDeliveredWhenIdle();
    void unterminatedDataIsBounded();

    void unpluggedDeviceClosesWithOneErrorEvent();
    void openAndCloseRules();
    void openingMissingDeviceFails();
    void outputArrivesByteExact();
    void outputOnClosedPortFails();
    void outputToUnpluggedDeviceFails();

    void commPortNumbers();
    void commPortWhileOpenFails();
    void bindingOption_data();
    void bindingOption();
    void directoryOrder();
    void directoryScansFolder();
    void directoryBinding();

    void scriptedPortRecordsAndRefuses();
    void scriptedPortDeliversSynchronously();
};

void TestSerialPort::settingsText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("reported");

    QTest::newRow("default") << u"9600,n,8,1"_qs << true << u"9600,n,8,1"_qs;
    QTest::newRow("upper parity") << u"19200,E,7,2"_qs << true << u"19200,e,7,2"_qs;
    QTest::newRow("odd") << u"2400,O,8,1"_qs << true << u"2400,o,8,1"_qs;
    QTest::newRow("mark") << u"1200,M,5,2"_qs << true << u"1200,m,5,2"_qs;
    QTest::newRow("space") << u"300,s,6,1"_qs << true << u"300,s,6,1"_qs;
    QTest::newRow("one and a half") << u"9600,n,8,1.5"_qs << true << u"9600,n,8,1.5"_qs;
    QTest::newRow("four bits") << u"110,n,4,1"_qs << true << u"110,n,4,1"_qs;
    QTest::newRow("blanks") << u" 4800 , N ,8 , 1 "_qs << true << u"4800,n,8,1"_qs;
    QTest::newRow("leading zero") << u"09600,n,8,1"_qs << true << u"9600,n,8,1"_qs;

    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("speed only") << u"9600"_qs << false << QString();
    QTest::newRow("speed not a number") << u"abc,n,8,1"_qs << false << QString();
    QTest::newRow("zero speed") << u"0,n,8,1"_qs << false << QString();
    QTest::newRow("negative speed") << u"-9600,n,8,1"_qs << false << QString();
    QTest::newRow("unknown parity") << u"9600,x,8,1"_qs << false << QString();
    QTest::newRow("parity word") << u"9600,even,8,1"_qs << false << QString();
    QTest::newRow("nine bits") << u"9600,n,9,1"_qs << false << QString();
    QTest::newRow("three bits") << u"9600,n,3,1"_qs << false << QString();
    QTest::newRow("three stop bits") << u"9600,n,8,3"_qs << false << QString();
    QTest::newRow("stop bits comma") << u"9600,n,8,1,5"_qs << false << QString();
    QTest::newRow("missing field") << u"9600,n,,1"_qs << false << QString();
}

void TestSerialPort::settingsText() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, reported);

    QString error;
    const auto parsed = QtSerialPort::parseSettings(text, &error);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(parsed->text(), reported);
    else
        QVERIFY2(error.startsWith(u"Недопустимые параметры порта: "), qPrintable(error));

    // On a closed port the text is only stored.
    QtSerialPort port(PortDirectory::withCandidates({}));
    QCOMPARE(port.settings(), u"9600,n,8,1"_qs);
    QVERIFY(port.setSettings(u"1200,o,7,2"_qs).isOk());
    const Status status = port.setSettings(text);
    QCOMPARE(status.isOk(), valid);
    if (valid) {
        QCOMPARE(port.settings(), reported);
    } else {
        QCOMPARE(status.description(), error);
        QCOMPARE(port.settings(), u"1200,o,7,2"_qs);
    }
}

void TestSerialPort::settingsOnOpenPort() {
    Line line;
    makeLine(line);
    QVERIFY(line.ready);
    DeviceProbe probe(line.pty.devicePath());
    QVERIFY(probe.isOpen());
    QVERIFY(line.port->setSettings(u"19200,n,8,1"_qs).isOk());
    QVERIFY(line.port->setPortOpen(true).isOk());
    QCOMPARE(ospeed(probe), speed_t(B19200));

    // Seven bits with even parity cannot be set on a pseudo-terminal (the
    // kernel keeps 8 bits without parity there); the speed and stop bits are.
    const Status changed = line.port->setSettings(u"4800,E,7,2"_qs);
    QVERIFY2(changed.isOk(), qPrintable(changed.description()));
    QCOMPARE(line.port->settings(), u"4800,e,7,2"_qs);
    const termios tio = probe.attributes();
    QCOMPARE(cfgetospeed(&tio), speed_t(B4800));
    QVERIFY(tio.c_cflag & CSTOPB);
    QVERIFY(line.port->portOpen());
}

void TestSerialPort::refusedSettingsKeepTheOldOnes() {
    Line line;
    makeLine(line);
    QVERIFY(line.ready);
    DeviceProbe probe(line.pty.devicePath());
    QVERIFY(probe.isOpen());
    QVERIFY(line.port->setSettings(u"4800,n,8,2"_qs).isOk());
    QVERIFY(line.port->setPortOpen(true).isOk());

    for (const QString &refused : {u"19200,n,8,1.5"_qs, u"19200,n,4,1"_qs}) {
        const Status status = line.port->setSettings(refused);
        QVERIFY2(!status.isOk(), qPrintable(refused));
        QVERIFY2(status.description().contains(u"не принимает параметры"), qPrintable(status.description()));
        QCOMPARE(line.port->settings(), u"4800,n,8,2"_qs);
        const termios tio = probe.attributes();
        QCOMPARE(cfgetospeed(&tio), speed_t(B4800));
        QVERIFY(tio.c_cflag & CSTOPB);
        QVERIFY(line.port->portOpen());
    }
    const Status garbled = line.port->setSettings(u"fast,n,8,1"_qs);
    QVERIFY(!garbled.isOk());
    QVERIFY(garbled.description().startsWith(u"Недопустимые параметры порта: fast,n,8,1"));
    QCOMPARE(line.port->settings(), u"4800,n,8,2"_qs);
    QCOMPARE(ospeed(probe), speed_t(B4800));
}

void TestSerialPort::settingsRefusedAtOpen() {
    Line line;
    makeLine(line);
    QVERIFY(line.ready);
    QVERIFY(line.port->setSettings(u"9600,n,8,1.5"_qs).isOk());
    const Status opened = line.port->setPortOpen(true);
    QVERIFY(!opened.isOk());
    QVERIFY2(opened.description().startsWith(u"Не удалось открыть порт Com1 ("_qs + line.pty.devicePath() + u"): "_qs),
             qPrintable(opened.description()));
    QVERIFY(opened.description().contains(u"стоповых"));
    QVERIFY(!line.port->portOpen());
    // The device was left free: with settings it takes, it opens.
    QVERIFY(line.port->setSettings(u"9600,n,8,1"_qs).isOk());
    QVERIFY(line.port->setPortOpen(true).isOk());
}

void TestSerialPort::handshaking_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("rtsCts");
    QTest::addColumn<bool>("xonXoff");
    QTest::newRow("none") << 0 << false << false;
    QTest::newRow("XOn/XOff") << 1 << false << true;
    QTest::newRow("RTS/CTS") << 2 << true << false;
    QTest::newRow("both becomes RTS/CTS") << 3 << true << false;
}

void TestSerialPort::handshaking() {
    QFETCH(int, mode);
    QFETCH(bool, rtsCts);
    QFETCH(bool, xonXoff);

    Line line;
    makeLine(line);
    QVERIFY(line.ready);
    DeviceProbe probe(line.pty.devicePath());
    QVERIFY(probe.isOpen());
    QCOMPARE(line.port->handshaking(), 0);

    // Stored while closed and applied at the open...
    QVERIFY(line.port->setHandshaking(mode).isOk());
    QCOMPARE(line.port->handshaking(), mode);
    QVERIFY(line.port->setPortOpen(true).isOk());
    termios tio = probe.attributes();
    QCOMPARE(bool(tio.c_cflag & CRTSCTS), rtsCts);
    QCOMPARE(bool(tio.c_iflag & IXON), xonXoff);
    QCOMPARE(bool(tio.c_iflag & IXOFF), xonXoff);

    // ...and applied at once while open.
    QVERIFY(line.port->setHandshaking(0).isOk());
    tio = probe.attributes();
    QVERIFY(!(tio.c_cflag & CRTSCTS));
    QVERIFY(!(tio.c_iflag & IXON));
    QVERIFY(line.port->setHandshaking(mode).isOk());
    tio = probe.attributes();
    QCOMPARE(bool(tio.c_cflag & CRTSCTS), rtsCts);
    QCOMPARE(bool(tio.c_iflag & IXON), xonXoff);
}

void TestSerialPort::handshakingOutOfRange() {
    QtSerialPort port(PortDirectory::withCandidates({}));
    QVERIFY(port.setHandshaking(2).isOk());
    for (int mode : {-1, 4, 100}) {
        const Status status = port.setHandshaking(mode);
        QVERIFY(!status.isOk());
        QVERIFY2(status.description().startsWith(u"Недопустимый режим управления потоком"),
                 qPrintable(status.description()));
        QCOMPARE(port.handshaking(), 2);
    }
}

void TestSerialPort::groupInPiecesIsOneEvent() {
    Line line;
    openSynchronisedLine(line);
    QVERIFY(line.port && line.port->portOpen());

    sendFromDevice(line.pty.masterFd(), "08");
    QTest::qWait(100);
    sendFromDevice(line.pty.masterFd(), "50\r");
    QTest::qWait(100);
    QCOMPARE(line.events->entries.size(), 0);
    sendFromDevice(line.pty.masterFd(), "\n");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 1, 5000);
    QCOMPARE(line.events->entries.first().code, CommEvents::Receive);
    QCOMPARE(line.events->entries.first().input, QByteArray("0850\r\n"));

    // Nothing more comes of it.
    QTest::qWait(300);
    QCOMPARE(line.events->entries.size(), 1);
}

void TestSerialPort::openingMidGroupMarksTheFirstLine() {
    Line line;
    openLine(line);
    QVERIFY(line.port && line.port->portOpen());

    // The tail of a group caught by the open is delivered, marked as the
    // first line since the open; the whole group after it is not marked.
    sendFromDevice(line.pty.masterFd(), "50\r\n0851\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 2, 5000);
    QCOMPARE(line.events->inputs(), (QList<QByteArray>{"50\r\n", "0851\r\n"}));
    QVERIFY(line.events->entries.at(0).firstLine);
    QVERIFY(!line.events->entries.at(1).firstLine);
}

void TestSerialPort::inputBeforeOpenIsDiscarded() {
    Line line;
    makeLine(line);
    QVERIFY(line.ready);
    DeviceProbe probe(line.pty.devicePath());
    QVERIFY(probe.isOpen());

    sendFromDevice(line.pty.masterFd(), "0001\r\n0002\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(probe.waiting(), 12, 5000);
    QVERIFY(line.port->setPortOpen(true).isOk());
    QCOMPARE(probe.waiting(), 0);

    // Had the old bytes stayed, 0001 and 0002 would be delivered. A whole
    // group that begins after the open is a reading like any other.
    sendFromDevice(line.pty.masterFd(), "0003\r\n0004\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 2, 5000);
    QCOMPARE(line.events->inputs(), (QList<QByteArray>{"0003\r\n", "0004\r\n"}));
    QTest::qWait(300);
    QCOMPARE(line.events->entries.size(), 2);
}

void TestSerialPort::burstGivesOneEventPerGroup() {
    Line line;
    openSynchronisedLine(line);
    QVERIFY(line.port && line.port->portOpen());

    sendFromDevice(line.pty.masterFd(), "0001\r\n0002\r\n0003\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 3, 5000);
    const QList<QByteArray> expected{"0001\r\n", "0002\r\n", "0003\r\n"};
    QCOMPARE(line.events->inputs(), expected);
    QCOMPARE(line.events->maxDepth, 1);
    QTest::qWait(300);
    QCOMPARE(line.events->entries.size(), 3);
}

void TestSerialPort::nestedEventLoopReceivesLaterEvents() {
    // A listener that runs an event loop of its own still gets every line once
    // and in order.
    Line line;
    openSynchronisedLine(line);
    QVERIFY(line.port && line.port->portOpen());
    const int master = line.pty.masterFd();

    bool boxShown = false;
    line.events->during = [&](int index) {
        if (index != 0)
            return;
        boxShown = true;
        QEventLoop box;
        QTimer::singleShot(100, &box, [&] { ::write(master, "0004\r\n", 6); });
        QTimer::singleShot(200, &box, [&] { ::write(master, "0005\r\n00", 8); });
        QTimer::singleShot(300, &box, [&] { ::write(master, "06\r\n", 4); });
        QTimer::singleShot(800, &box, &QEventLoop::quit);
        box.exec();
    };

    sendFromDevice(master, "0001\r\n0002\r\n0003\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(boxShown, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 6, 5000);
    const QList<QByteArray> expected{"0001\r\n", "0002\r\n", "0003\r\n", "0004\r\n", "0005\r\n", "0006\r\n"};
    QCOMPARE(line.events->inputs(), expected);
    QTest::qWait(300);
    QCOMPARE(line.events->entries.size(), 6);
}

void TestSerialPort::closingHandsOverWhatWasReceived() {
    // Closing while lines wait hands them over first, the unfinished one too,
    // and the port is closed meanwhile.
    Line line;
    openSynchronisedLine(line);
    QVERIFY(line.port && line.port->portOpen());
    QList<bool> openDuring;
    line.events->during = [&](int index) {
        openDuring.append(line.port->portOpen());
        if (index == 0)
            QVERIFY(line.port->setPortOpen(false).isOk());
    };
    sendFromDevice(line.pty.masterFd(), "0001\r\n0002\r\n0003\r\nPART");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 4, 5000);
    QTest::qWait(300);
    QCOMPARE(line.events->inputs(), (QList<QByteArray>{"0001\r\n", "0002\r\n", "0003\r\n", "PART"}));
    QCOMPARE(openDuring, (QList<bool>{true, false, false, false}));
    QVERIFY(!line.port->portOpen());

    // Open again: framing starts afresh, no event left over from before.
    line.events->during = nullptr;
    QVERIFY(line.port->setPortOpen(true).isOk());
    sendFromDevice(line.pty.masterFd(), "0007\r\n0008\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 6, 5000);
    QCOMPARE(line.events->entries.at(4).input, QByteArray("0007\r\n"));
    QCOMPARE(line.events->entries.at(5).input, QByteArray("0008\r\n"));
}

void TestSerialPort::unterminatedDataIsDeliveredWhenIdle() {
    Line line;
    openSynchronisedLine(line);
    QVERIFY(line.port && line.port->portOpen());

    sendFromDevice(line.pty.masterFd(), "12");
    // Held for a while (the limit is a second without bytes)...
    QTest::qWait(200);
    QCOMPARE(line.events->entries.size(), 0);
    // ...then delivered as it is.
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 1, 5000);
    QCOMPARE(line.events->entries.first().input, QByteArray("12"));
    // The stream goes on framed as before.
    sendFromDevice(line.pty.masterFd(), "0850\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 2, 5000);
    QCOMPARE(line.events->entries.at(1).input, QByteArray("0850\r\n"));
}

void TestSerialPort::unterminatedDataIsBounded() {
    Line line;
    openSynchronisedLine(line);
    QVERIFY(line.port && line.port->portOpen());

    // Bytes without a line feed keep coming, never a second apart: they are
    // delivered once more than MaxUnterminatedBytes have piled up.
    const QByteArray piece(30, 'x');
    const int pieces = 20;
    for (int i = 0; i < pieces; ++i) {
        sendFromDevice(line.pty.masterFd(), piece);
        QTest::qWait(50);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!line.events->entries.isEmpty(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(line.events->inputs().join(), piece.repeated(pieces), 5000);
    const QList<QByteArray> chunks = line.events->inputs();
    QVERIFY(chunks.size() >= 2);
    for (int i = 0; i + 1 < chunks.size(); ++i)
        QVERIFY2(chunks.at(i).size() > QtSerialPort::MaxUnterminatedBytes, QByteArray::number(chunks.at(i).size()));
}

void TestSerialPort::unpluggedDeviceClosesWithOneErrorEvent() {
    Line line;
    openSynchronisedLine(line);
    QVERIFY(line.port && line.port->portOpen());
    sendFromDevice(line.pty.masterFd(), "0850\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 1, 5000);

    bool openDuringEvent = true;
    line.events->during = [&](int index) {
        if (line.events->entries.at(index).code == CommEvents::Overrun)
            openDuringEvent = line.port->portOpen();
    };
    line.pty.close();
    QTRY_COMPARE_WITH_TIMEOUT(line.events->count(CommEvents::Overrun), 1, 5000);
    QVERIFY(!line.port->portOpen());
    QVERIFY(!openDuringEvent);
    QVERIFY(!line.port->lastErrorText().isEmpty());
    QVERIFY2(line.port->lastErrorText().contains(u"Com1"), qPrintable(line.port->lastErrorText()));
    // The hang-up itself, not whatever errno an earlier call left behind.
    QVERIFY2(line.port->lastErrorText().contains(u"линия отключена (ошибка ввода-вывода на устройстве)"_qs),
             qPrintable(line.port->lastErrorText()));
    QTest::qWait(500);
    QCOMPARE(line.events->entries.size(), 2);
    QCOMPARE(line.events->entries.last().code, CommEvents::Overrun);

    // The port is usable again for a device that comes back.
    sim::PtyPair again;
    QVERIFY(again.open());
    QVERIFY(line.port->directory().bind(1, again.devicePath()));
    const Status reopened = line.port->setPortOpen(true);
    QVERIFY2(reopened.isOk(), qPrintable(reopened.description()));
    sendFromDevice(again.masterFd(), "0900\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(line.events->entries.size(), 3, 5000);
    QCOMPARE(line.events->entries.last().input, QByteArray("0900\r\n"));
}

void TestSerialPort::openAndCloseRules() {
    Line line;
    openLine(line);
    QVERIFY(line.port && line.port->portOpen());
    const Status twice = line.port->setPortOpen(true);
    QVERIFY(!twice.isOk());
    QCOMPARE(twice.description(), u"Порт уже открыт"_qs);
    QVERIFY(line.port->portOpen());
    QVERIFY(line.port->setPortOpen(false).isOk());
    QVERIFY(!line.port->portOpen());
    QVERIFY(line.port->setPortOpen(false).isOk());
    QVERIFY(!line.port->portOpen());
    QVERIFY(line.port->setPortOpen(true).isOk());
    QCOMPARE(line.port->deviceName(), line.pty.devicePath());
}

void TestSerialPort::openingMissingDeviceFails() {
    // The device is reached through a link, as udev names adapters; removing
    // the link takes the device away (a pseudo-terminal's own number may be
    // taken again at once by another program).
    Line line;
    makeLine(line);
    QVERIFY(line.ready);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"ttyLink0"_qs);
    QVERIFY(QFile::link(line.pty.devicePath(), path));
    QVERIFY(line.port->directory().bind(1, path));
    QVERIFY(line.port->setCommPort(1).isOk());
    QCOMPARE(line.port->deviceName(), path);
    QVERIFY(QFile::remove(path));
    const Status opened = line.port->setPortOpen(true);
    QVERIFY(!opened.isOk());
    QVERIFY2(opened.description().startsWith(u"Не удалось открыть порт Com1 ("_qs + path + u"): "_qs),
             qPrintable(opened.description()));
    QVERIFY(!line.port->portOpen());

    // Back again: it opens.
    QVERIFY(QFile::link(line.pty.devicePath(), path));
    const Status back = line.port->setPortOpen(true);
    QVERIFY2(back.isOk(), qPrintable(back.description()));
    QVERIFY(line.port->setPortOpen(false).isOk());

    // A number nothing stands for.
    QtSerialPort nowhere(PortDirectory::withCandidates({}));
    const Status none = nowhere.setPortOpen(true);
    QVERIFY(!none.isOk());
    QCOMPARE(none.description(), u"Порт не найден: Com1"_qs);
    QVERIFY(!nowhere.portOpen());
}

void TestSerialPort::outputArrivesByteExact() {
    Line line;
    openLine(line);
    QVERIFY(line.port && line.port->portOpen());
    readAtDevice(line.pty.masterFd());
    const QByteArray sent("R\r\n\x00\x7f\x80\xff 0850\r\n", 13);
    const Status status = line.port->output(sent);
    QVERIFY2(status.isOk(), qPrintable(status.description()));
    QByteArray received;
    QTRY_COMPARE_WITH_TIMEOUT((received += readAtDevice(line.pty.masterFd())), sent, 5000);
}

void TestSerialPort::outputOnClosedPortFails() {
    Line line;
    makeLine(line);
    QVERIFY(line.ready);
    const Status status = line.port->output("R\r\n");
    QVERIFY(!status.isOk());
    QCOMPARE(status.description(), u"Порт закрыт"_qs);
    QTest::qWait(50);
    QCOMPARE(readAtDevice(line.pty.masterFd()), QByteArray());
}

void TestSerialPort::outputToUnpluggedDeviceFails() {
    Line line;
    openLine(line);
    QVERIFY(line.port && line.port->portOpen());
    line.pty.close();
    const Status status = line.port->output("R\r\n");
    QVERIFY(!status.isOk());
    QVERIFY2(status.description().startsWith(u"Не удалось передать данные в порт Com1"_qs),
             qPrintable(status.description()));
    QTRY_COMPARE_WITH_TIMEOUT(line.events->count(CommEvents::Overrun), 1, 5000);
    QVERIFY(!line.port->portOpen());
    QTest::qWait(300);
    QCOMPARE(line.events->entries.size(), 1);
}

void TestSerialPort::commPortNumbers() {
    sim::PtyPair pty;
    QVERIFY(pty.open());
    PortDirectory directory = PortDirectory::withCandidates({});
    QVERIFY(directory.bind(2, pty.devicePath()));
    QVERIFY(directory.bind(5, u"/nonexistent/ttyUSB9"_qs));
    QtSerialPort port(directory);
    QCOMPARE(port.commPort(), 1);

    for (int number : {0, 17, -1, 100}) {
        const Status status = port.setCommPort(number);
        QVERIFY(!status.isOk());
        QVERIFY2(status.description().startsWith(u"Недопустимый номер порта"), qPrintable(status.description()));
        QCOMPARE(port.commPort(), 1);
    }
    const Status unbound = port.setCommPort(3);
    QVERIFY(!unbound.isOk());
    QCOMPARE(unbound.description(), u"Порт не найден: Com3"_qs);
    const Status missing = port.setCommPort(5);
    QVERIFY(!missing.isOk());
    QCOMPARE(missing.description(), u"Порт не найден: /nonexistent/ttyUSB9"_qs);
    QCOMPARE(port.commPort(), 1);

    QVERIFY(port.setCommPort(2).isOk());
    QCOMPARE(port.commPort(), 2);
    QCOMPARE(port.deviceName(), pty.devicePath());
}

void TestSerialPort::commPortWhileOpenFails() {
    Line line;
    openLine(line);
    QVERIFY(line.port && line.port->portOpen());
    sim::PtyPair other;
    QVERIFY(other.open());
    QVERIFY(line.port->directory().bind(2, other.devicePath()));
    const Status status = line.port->setCommPort(2);
    QVERIFY(!status.isOk());
    QCOMPARE(status.description(), u"Порт уже открыт"_qs);
    QCOMPARE(line.port->commPort(), 1);
    QCOMPARE(line.port->deviceName(), line.pty.devicePath());
    QVERIFY(line.port->setPortOpen(false).isOk());
    QVERIFY(line.port->setCommPort(2).isOk());
    QCOMPARE(line.port->deviceName(), other.devicePath());
}

void TestSerialPort::bindingOption_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("path");

    QTest::newRow("pty") << u"3=/dev/pts/4"_qs << true << 3 << u"/dev/pts/4"_qs;
    QTest::newRow("first") << u"1=/dev/ttyUSB0"_qs << true << 1 << u"/dev/ttyUSB0"_qs;
    QTest::newRow("last, blanks") << u" 16 = /tmp/ttyV0 "_qs << true << 16 << u"/tmp/ttyV0"_qs;
    QTest::newRow("zero") << u"0=/dev/ttyS0"_qs << false << 0 << QString();
    QTest::newRow("seventeen") << u"17=/dev/ttyS0"_qs << false << 0 << QString();
    QTest::newRow("negative") << u"-1=/dev/ttyS0"_qs << false << 0 << QString();
    QTest::newRow("no number") << u"=/dev/ttyS0"_qs << false << 0 << QString();
    QTest::newRow("not a number") << u"x=/dev/ttyS0"_qs << false << 0 << QString();
    QTest::newRow("no path") << u"3="_qs << false << 0 << QString();
    QTest::newRow("blank path") << u"3=  "_qs << false << 0 << QString();
    QTest::newRow("no equals") << u"/dev/ttyS0"_qs << false << 0 << QString();
    QTest::newRow("empty") << QString() << false << 0 << QString();
}

void TestSerialPort::bindingOption() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, number);
    QFETCH(QString, path);

    int parsedNumber = -7;
    QString parsedPath = u"untouched"_qs;
    QString error;
    QCOMPARE(PortDirectory::parseBinding(text, &parsedNumber, &parsedPath, &error), valid);
    if (valid) {
        QCOMPARE(parsedNumber, number);
        QCOMPARE(parsedPath, path);
        QVERIFY(error.isEmpty());
    } else {
        QVERIFY(!error.isEmpty());
        QCOMPARE(parsedNumber, -7);
        QCOMPARE(parsedPath, u"untouched"_qs);
    }
}

void TestSerialPort::directoryOrder() {
    const PortDirectory directory = PortDirectory::withCandidates({
        u"/dev/ttyS10"_qs,
        u"/dev/ttyS2"_qs,
        u"/dev/ttyACM1"_qs,
        u"/dev/ttyUSB10"_qs,
        u"/dev/tty0"_qs,
        u"/dev/ttyUSB2"_qs,
        u"/dev/ttyS0"_qs,
        u"/dev/console"_qs,
        u"/dev/ttyACM0"_qs,
        u"/dev/ttyUSB"_qs,
        u"/dev/ttySx"_qs,
    });
    const QStringList expected{u"/dev/ttyUSB2"_qs, u"/dev/ttyUSB10"_qs, u"/dev/ttyACM0"_qs, u"/dev/ttyACM1"_qs,
                               u"/dev/ttyS0"_qs,   u"/dev/ttyS2"_qs,    u"/dev/ttyS10"_qs};
    QCOMPARE(directory.scannedDevices(), expected);
    for (int n = 1; n <= expected.size(); ++n)
        QCOMPARE(directory.devicePath(n), expected.at(n - 1));
    QCOMPARE(directory.devicePath(8), QString());
    QCOMPARE(directory.devicePath(0), QString());
    QCOMPARE(directory.devicePath(17), QString());
    QCOMPARE(directory.describe(1), u"Com1 (/dev/ttyUSB2)"_qs);
    QCOMPARE(directory.describe(8), u"Com8 (нет устройства)"_qs);
}

void TestSerialPort::directoryScansFolder() {
    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const char *name : {"ttyS1", "ttyS0", "ttyACM0", "ttyUSB1", "ttyUSB0", "ttyS11", "random", "ttyprintk"}) {
        QFile file(root.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const PortDirectory directory = PortDirectory::scanning(root.path());
    const QStringList expected{root.filePath(u"ttyUSB0"_qs), root.filePath(u"ttyUSB1"_qs), root.filePath(u"ttyACM0"_qs),
                               root.filePath(u"ttyS0"_qs),   root.filePath(u"ttyS1"_qs),   root.filePath(u"ttyS11"_qs)};
    QCOMPARE(directory.scannedDevices(), expected);

    // A device that appears later is found by the next look-up.
    QFile added(root.filePath(u"ttyACM1"_qs));
    QVERIFY(added.open(QIODevice::WriteOnly));
    QCOMPARE(directory.devicePath(4), root.filePath(u"ttyACM1"_qs));
    QCOMPARE(directory.devicePath(5), root.filePath(u"ttyS0"_qs));
}

void TestSerialPort::directoryBinding() {
    PortDirectory directory = PortDirectory::withCandidates({u"/dev/ttyUSB0"_qs, u"/dev/ttyS0"_qs});
    QString error;
    QVERIFY(directory.bind(1, u"/dev/pts/7"_qs, &error));
    QCOMPARE(directory.devicePath(1), u"/dev/pts/7"_qs);
    QCOMPARE(directory.devicePath(2), u"/dev/ttyS0"_qs);
    QVERIFY(directory.bind(16, u"/tmp/ttyV1"_qs));
    QCOMPARE(directory.devicePath(16), u"/tmp/ttyV1"_qs);
    QCOMPARE(directory.describe(16), u"Com16 (/tmp/ttyV1)"_qs);

    QVERIFY(!directory.bind(0, u"/dev/ttyS1"_qs, &error));
    QVERIFY2(error.startsWith(u"Недопустимый номер порта"), qPrintable(error));
    error.clear();
    QVERIFY(!directory.bind(17, u"/dev/ttyS1"_qs, &error));
    QVERIFY(!error.isEmpty());
    error.clear();
    QVERIFY(!directory.bind(3, QString(), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(directory.devicePath(3), QString());

    directory.unbind(1);
    QCOMPARE(directory.devicePath(1), u"/dev/ttyUSB0"_qs);
}

void TestSerialPort::scriptedPortRecordsAndRefuses() {
    testing::ScriptedSerialPort port;
    QVERIFY(port.setCommPort(2).isOk());
    QVERIFY(port.setSettings(u"19200,e,7,2"_qs).isOk());
    port.failHandshaking = u"отказ устройства"_qs;
    const Status refused = port.setHandshaking(2);
    QVERIFY(!refused.isOk());
    QCOMPARE(refused.description(), u"отказ устройства"_qs);
    QCOMPARE(port.handshaking(), 0);
    QVERIFY(!port.output("x").isOk());
    QVERIFY(port.setPortOpen(true).isOk());
    QCOMPARE(port.setPortOpen(true).description(), u"Порт уже открыт"_qs);
    QCOMPARE(port.setCommPort(3).description(), u"Порт уже открыт"_qs);
    QVERIFY(!port.setCommPort(17).isOk());
    QVERIFY(port.output("R\r\n").isOk());
    QCOMPARE(port.commPort(), 2);
    QCOMPARE(port.settings(), u"19200,e,7,2"_qs);
    QCOMPARE(port.outputs, QList<QByteArray>{"R\r\n"});
    const QStringList expected{
        u"CommPort=2"_qs,         u"Settings=19200,e,7,2"_qs, u"Handshaking=2 (отказ)"_qs,
        u"Output=x (отказ)"_qs,   u"PortOpen=true"_qs,        u"PortOpen=true (отказ)"_qs,
        u"CommPort=3 (отказ)"_qs, u"CommPort=17 (отказ)"_qs,  u"Output=R\r\n"_qs,
    };
    QCOMPARE(port.log, expected);

    port.failOpen = u"занято"_qs;
    QVERIFY(port.setPortOpen(false).isOk());
    QCOMPARE(port.setPortOpen(true).description(), u"занято"_qs);
    QVERIFY(!port.portOpen());
}

void TestSerialPort::scriptedPortDeliversSynchronously() {
    testing::ScriptedSerialPort port;
    EventLog events(port);
    events.during = [&](int index) {
        if (index == 0)
            port.deliver(CommEvents::Overrun);
    };
    port.receive("0850\r\n");
    port.receive("0851\r\n");
    QCOMPARE(events.entries.size(), 3);
    QCOMPARE(events.entries.at(0).input, QByteArray("0850\r\n"));
    QCOMPARE(events.entries.at(1).code, CommEvents::Overrun);
    QCOMPARE(events.entries.at(1).depth, 2);
    QCOMPARE(events.entries.at(2).input, QByteArray("0851\r\n"));
    QCOMPARE(port.deliveries, 3);
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
