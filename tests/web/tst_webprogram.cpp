// The recorder without a window serving its web endpoint, on a real
// pseudo-terminal: the metrics and the readings follow the line, a
// thermocouple break is reported there while the program goes on serving,
// and an endpoint that would be open to the network without a key is refused.

#include "simulator/PtyPair.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The body of a GET on the endpoint, empty when it does not answer.
QByteArray get(quint16 port, const QByteArray &path) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray got;
    while (socket.waitForReadyRead(5000))
        got += socket.readAll();
    got += socket.readAll();
    return got.mid(got.indexOf("\r\n\r\n") + 4);
}

void sendGroup(int fd, const QByteArray &group) {
    const QByteArray bytes = group + "\r\n";
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
}

} // namespace

class tst_WebProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void servesTheLine();
    void windowServes();
    void refused_data();
    void refused();
};

void tst_WebProgram::servesTheLine() {
    QTemporaryDir dir;
    sim::PtyPair line;
    QVERIFY(line.open());
    const quint16 port = freePort();
    QProcess program;
    program.start(QStringLiteral(ZORNETA_BINARY),
                  {u"--headless"_s, u"--com"_s, u"1="_s + line.devicePath(), u"--record"_s,
                   dir.filePath(u"furnace.txt"_s), u"--no-reconnect"_s, u"--serve"_s, QString::number(port),
                   u"--serve-label"_s, u"furnace=7"_s});
    QVERIFY(program.waitForStarted(10000));
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += program.readAllStandardError()).contains("Порт открыт"), 20000);

    for (const QByteArray group : {"0020", "0512", "0813"})
        sendGroup(line.masterFd(), group);
    QTRY_VERIFY_WITH_TIMEOUT(get(port, "/metrics").contains("zorneta_readings_total{furnace=\"7\"} 3\n"), 20000);
    QByteArray metrics = get(port, "/metrics");
    QVERIFY(metrics.contains("\nzorneta_temperature_celsius{furnace=\"7\"} 813\n"));
    QVERIFY(metrics.contains("\nzorneta_line_state{furnace=\"7\",state=\"open\"} 1\n"));
    // Three stamped lines of 14 bytes ("hh:nn:ss", TAB, the group, LF).
    QTRY_VERIFY_WITH_TIMEOUT(get(port, "/metrics").contains("\nzorneta_recording_bytes{furnace=\"7\"} 42\n"), 20000);
    const QJsonArray readings =
        QJsonDocument::fromJson(get(port, "/api/readings?from=1&limit=5")).object().value(u"readings"_s).toArray();
    QCOMPARE(readings.size(), 2);
    QCOMPARE(readings.at(0).toObject().value(u"celsius"_s).toDouble(), 512.0);
    QCOMPARE(readings.at(1).toObject().value(u"seq"_s).toInteger(), 2);

    // A break: the port closes, the program stays and says so.
    sendGroup(line.masterFd(), "9999");
    QTRY_VERIFY_WITH_TIMEOUT(get(port, "/metrics").contains("zorneta_reception_ended{furnace=\"7\"} 1\n"), 20000);
    metrics = get(port, "/metrics");
    QVERIFY(metrics.contains("\nzorneta_thermocouple_break{furnace=\"7\"} 1\n"));
    QVERIFY(metrics.contains("\nzorneta_line_state{furnace=\"7\",state=\"closed\"} 1\n"));
    QVERIFY(metrics.contains("\nzorneta_temperature_celsius{furnace=\"7\"} 813\n"));
    QVERIFY(!metrics.contains("9999"));
    const QJsonObject session = QJsonDocument::fromJson(get(port, "/api/session")).object();
    QCOMPARE(session.value(u"ended"_s).toString(), u"обрыв в цепи термопары, порт закрыт"_s);
    QCOMPARE(program.state(), QProcess::Running);

    program.terminate();
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
}

void tst_WebProgram::windowServes() {
    QTemporaryDir dir;
    sim::PtyPair line;
    QVERIFY(line.open());
    const quint16 port = freePort();
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, dir.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZORNETA_BINARY), {u"--com"_s, u"1="_s + line.devicePath(), u"--open-port"_s,
                                                   u"--serve"_s, u"127.0.0.1:"_s + QString::number(port)});
    QVERIFY(program.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(get(port, "/metrics").contains("\nzorneta_line_state{state=\"open\"} 1\n"), 20000);
    sendGroup(line.masterFd(), "0345");
    QTRY_VERIFY_WITH_TIMEOUT(get(port, "/metrics").contains("\nzorneta_temperature_celsius 345\n"), 20000);
    QVERIFY(get(port, "/").contains("<title>Зорнета: наблюдение</title>"));
    program.terminate();
    QVERIFY(program.waitForFinished(10000));
}

void tst_WebProgram::refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("network without a key")
        << QStringList{u"--serve"_s, u"0.0.0.0:8080"_s}
        << u"zorneta: --serve: на адресе 0.0.0.0 страница была бы открыта всем в сети; укажите ключ доступа "
           "(--serve-token-file ФАЙЛ) или адрес 127.0.0.1"_s;
    QTest::newRow("no port") << QStringList{u"--serve"_s, u"127.0.0.1:"_s}
                             << u"zorneta: --serve: нужен номер порта от 1 до 65535"_s;
    QTest::newRow("label name") << QStringList{u"--serve"_s, u"8080"_s, u"--serve-label"_s, u"1furnace=3"_s}
                                << u"zorneta: --serve-label: нужно ИМЯ=ЗНАЧЕНИЕ, имя из латинских букв, цифр и \"_\" "
                                   "(не \"code\", не \"state\", не с \"__\" в начале)"_s;
    QTest::newRow("certificate alone") << QStringList{u"--serve"_s, u"8080"_s, u"--serve-cert"_s, u"c.pem"_s}
                                       << u"zorneta: --serve-cert и --serve-key задаются только вместе"_s;
    QTest::newRow("label without serving")
        << QStringList{u"--serve-label"_s, u"furnace=3"_s}
        << u"zorneta: --serve-label, --serve-token-file, --serve-cert и --serve-key действуют только вместе с "
           "--serve"_s;
}

void tst_WebProgram::refused() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QProcess program;
    program.start(QStringLiteral(ZORNETA_BINARY),
                  QStringList{u"--headless"_s, u"--simulate"_s, u"--record"_s, u"/dev/null"_s} + arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), 2);
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), message + u'\n');
}

QTEST_GUILESS_MAIN(tst_WebProgram)
#include "tst_webprogram.moc"
