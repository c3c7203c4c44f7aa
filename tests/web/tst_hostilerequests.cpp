// The web endpoint against requests that try to get in, change something or
// wear it out, on real sockets: each is refused with its status (or its
// connection closed) and the endpoint goes on answering the next one.

#include "web/MonitorModel.h"
#include "web/SyntheticFeed.h"
#include "web/WebServer.h"

#include <QElapsedTimer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorneta::web;

namespace {

const QByteArray Token = "k7Qm2xPz9LrT4vWs";
const QByteArray Host = "Host: 127.0.0.1\r\n";

WebServer::Limits smallLimits() {
    WebServer::Limits limits;
    limits.maxConnections = 4;
    limits.maxHeaderBytes = 1024;
    limits.maxHeaders = 10;
    limits.requestTimeoutMs = 400;
    limits.idleTimeoutMs = 800;
    return limits;
}

// Everything the server sends until it closes the connection or a whole
// answer (headers and Content-Length bytes) has come, within `waitMs`.
QByteArray receive(QTcpSocket &socket, int waitMs = 5000) {
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitMs) {
        QTest::qWait(5);
        got += socket.readAll();
        if (socket.state() == QAbstractSocket::UnconnectedState)
            break;
        const qsizetype end = got.indexOf("\r\n\r\n");
        if (end >= 0) {
            const qsizetype at = got.indexOf("Content-Length: ");
            if (at >= 0 && at < end) {
                const qsizetype length = got.mid(at + 16, got.indexOf("\r\n", at) - at - 16).toLongLong();
                if (got.size() >= end + 4 + length)
                    break;
            }
        }
    }
    return got;
}

QByteArray statusLine(const QByteArray &answer) {
    return answer.left(answer.indexOf("\r\n"));
}

bool connectTo(QTcpSocket &socket, quint16 port) {
    socket.connectToHost(QHostAddress::LocalHost, port);
    QElapsedTimer timer;
    timer.start();
    while (socket.state() != QAbstractSocket::ConnectedState && timer.elapsed() < 5000)
        QTest::qWait(5);
    return socket.state() == QAbstractSocket::ConnectedState;
}

QByteArray exchange(quint16 port, const QByteArray &request) {
    QTcpSocket socket;
    if (!connectTo(socket, port))
        return "not connected";
    socket.write(request);
    return receive(socket);
}

QByteArray authorised(const QByteArray &path) {
    return "GET " + path + " HTTP/1.1\r\n" + Host + "Authorization: Bearer " + Token + "\r\n\r\n";
}

} // namespace

class tst_HostileRequests : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void refused_data();
    void refused();
    void tokenInCookie();
    void slowloris();
    void halfOpen();
    void tooManyConnections();
    void eventStreamFollowsTheModel();
    void tls();

private:
    std::unique_ptr<MonitorModel> m_model;
    std::unique_ptr<WebServer> m_server;
    quint16 m_port = 0;
};

void tst_HostileRequests::init() {
    m_model = std::make_unique<MonitorModel>(0);
    m_model->addReading(1000, 777);
    ServeConfig config;
    config.token = Token;
    m_server = std::make_unique<WebServer>(*m_model, config, smallLimits());
    QString error;
    QVERIFY2(m_server->listen(&error), qPrintable(error));
    m_port = m_server->port();
}

void tst_HostileRequests::cleanup() {
    // Whatever was tried, the endpoint still answers.
    const QByteArray answer = exchange(m_port, authorised("/metrics"));
    QCOMPARE(statusLine(answer), QByteArray("HTTP/1.1 200 OK"));
    QVERIFY(answer.contains("\nzorneta_temperature_celsius 777\n"));
    m_server.reset();
    m_model.reset();
}

void tst_HostileRequests::refused_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("status");
    const QByteArray bearer = "Authorization: Bearer " + Token + "\r\n";
    QTest::newRow("garbage request line") << QByteArray("HELLO\r\n\r\n") << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("no version") << QByteArray("GET /\r\n" + Host + "\r\n") << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("unknown version") << QByteArray("GET / HTTP/2.0\r\n" + Host + "\r\n")
                                     << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("target not a path") << QByteArray("GET http://x/ HTTP/1.1\r\n" + Host + "\r\n")
                                       << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("bare LF in headers") << QByteArray("GET / HTTP/1.1\r\nHost: x\nX: y\r\n\r\n")
                                        << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("NUL in a header") << QByteArray("GET / HTTP/1.1\r\n" + Host + QByteArray("X: a\0b\r\n\r\n", 10))
                                     << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("folded header") << QByteArray("GET / HTTP/1.1\r\n" + Host + " folded\r\n\r\n")
                                   << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("no Host") << QByteArray("GET / HTTP/1.1\r\n" + bearer + "\r\n")
                             << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("huge header") << QByteArray("GET / HTTP/1.1\r\n" + Host + "X: " + QByteArray(5000, 'a') + "\r\n\r\n")
                                 << QByteArray("HTTP/1.1 431 Request Header Fields Too Large");
    QByteArray many = "GET / HTTP/1.1\r\n" + Host;
    for (int i = 0; i < 20; ++i)
        many += "X-" + QByteArray::number(i) + ": 1\r\n";
    QTest::newRow("too many headers") << QByteArray(many + "\r\n")
                                      << QByteArray("HTTP/1.1 431 Request Header Fields Too Large");
    QTest::newRow("GET with a body") << QByteArray("GET / HTTP/1.1\r\n" + Host + bearer +
                                                   "Content-Length: 4\r\n\r\nabcd")
                                     << QByteArray("HTTP/1.1 400 Bad Request");
    for (const char *method : {"POST", "PUT", "DELETE", "PATCH", "OPTIONS", "TRACE", "CONNECT"}) {
        QTest::newRow(method) << QByteArray(QByteArray(method) + " /metrics HTTP/1.1\r\n" + Host + bearer +
                                            "Content-Length: 2\r\n\r\n{}")
                              << QByteArray("HTTP/1.1 405 Method Not Allowed");
    }
    QTest::newRow("no token") << QByteArray("GET /metrics HTTP/1.1\r\n" + Host + "\r\n")
                              << QByteArray("HTTP/1.1 401 Unauthorized");
    QTest::newRow("wrong token") << QByteArray("GET /metrics HTTP/1.1\r\n" + Host +
                                               "Authorization: Bearer k7Qm2xPz9LrT4vWS\r\n\r\n")
                                 << QByteArray("HTTP/1.1 401 Unauthorized");
    QTest::newRow("token as Basic") << QByteArray("GET /metrics HTTP/1.1\r\n" + Host + "Authorization: Basic " + Token +
                                                  "\r\n\r\n")
                                    << QByteArray("HTTP/1.1 401 Unauthorized");
    QTest::newRow("wrong token in the address")
        << QByteArray("GET /?token=guess HTTP/1.1\r\n" + Host + "\r\n") << QByteArray("HTTP/1.1 401 Unauthorized");
    QTest::newRow("wrong cookie") << QByteArray("GET /api/session HTTP/1.1\r\n" + Host +
                                                "Cookie: zorneta_token=guess\r\n\r\n")
                                  << QByteArray("HTTP/1.1 401 Unauthorized");
    QTest::newRow("unknown page") << QByteArray("GET /admin HTTP/1.1\r\n" + Host + bearer + "\r\n")
                                  << QByteArray("HTTP/1.1 404 Not Found");
    QTest::newRow("bad numbers") << QByteArray("GET /api/readings?from=-1 HTTP/1.1\r\n" + Host + bearer + "\r\n")
                                 << QByteArray("HTTP/1.1 400 Bad Request");
    QTest::newRow("right token") << authorised("/api/readings?from=0&limit=1") << QByteArray("HTTP/1.1 200 OK");
}

void tst_HostileRequests::refused() {
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, status);
    const QByteArray answer = exchange(m_port, request);
    QCOMPARE(statusLine(answer), status);
    if (status.contains("405"))
        QVERIFY(answer.contains("\r\nAllow: GET, HEAD\r\n"));
    if (status.contains("401"))
        QVERIFY(!answer.contains("777"));
}

void tst_HostileRequests::tokenInCookie() {
    const QByteArray link = exchange(m_port, "GET /?token=" + Token + " HTTP/1.1\r\n" + Host + "\r\n");
    QCOMPARE(statusLine(link), QByteArray("HTTP/1.1 303 See Other"));
    QVERIFY(link.contains("\r\nLocation: /\r\n"));
    const QByteArray cookie = "Set-Cookie: zorneta_token=" + Token + "; Path=/; HttpOnly; SameSite=Strict\r\n";
    QVERIFY2(link.contains(cookie), link.constData());
    const QByteArray page =
        exchange(m_port, "GET / HTTP/1.1\r\n" + Host + "Cookie: other=1; zorneta_token=" + Token + "\r\n\r\n");
    QCOMPARE(statusLine(page), QByteArray("HTTP/1.1 200 OK"));
    QVERIFY(page.contains("<title>Зорнета: наблюдение</title>"));
}

void tst_HostileRequests::slowloris() {
    // One header byte every 50 ms: the request never completes in time.
    QTcpSocket socket;
    QVERIFY(connectTo(socket, m_port));
    const QByteArray request = "GET /metrics HTTP/1.1\r\n" + Host + "X-Slow: " + QByteArray(200, 's');
    QByteArray got;
    for (qsizetype i = 0; i < request.size() && socket.state() == QAbstractSocket::ConnectedState; ++i) {
        socket.write(request.mid(i, 1));
        QTest::qWait(50);
        got += socket.readAll();
    }
    got += receive(socket);
    QCOMPARE(statusLine(got), QByteArray("HTTP/1.1 408 Request Timeout"));
    QTRY_COMPARE(socket.state(), QAbstractSocket::UnconnectedState);
}

void tst_HostileRequests::halfOpen() {
    // Connected, never a byte sent and never a byte read back.
    QTcpSocket silent;
    QVERIFY(connectTo(silent, m_port));
    QTRY_COMPARE(m_server->connectionCount(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, 10000);
    QTRY_COMPARE(silent.state(), QAbstractSocket::UnconnectedState);
}

void tst_HostileRequests::tooManyConnections() {
    std::vector<std::unique_ptr<QTcpSocket>> held;
    for (int i = 0; i < 4; ++i) {
        held.push_back(std::make_unique<QTcpSocket>());
        QVERIFY(connectTo(*held.back(), m_port));
    }
    QTRY_COMPARE(m_server->connectionCount(), 4);
    QTcpSocket fifth;
    fifth.connectToHost(QHostAddress::LocalHost, m_port);
    QTRY_COMPARE(fifth.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(fifth.readAll(), QByteArray());
    QCOMPARE(m_server->connectionCount(), 4);
    held.clear();
    QTRY_COMPARE(m_server->connectionCount(), 0);
}

void tst_HostileRequests::eventStreamFollowsTheModel() {
    QTcpSocket page;
    QVERIFY(connectTo(page, m_port));
    page.write(authorised("/events?width=300"));
    QByteArray got;
    QTRY_VERIFY((got += page.readAll()).contains("event: curve\n"));
    QVERIFY(got.startsWith("HTTP/1.1 200 OK\r\nContent-Type: text/event-stream; charset=utf-8\r\n"));
    QVERIFY(got.contains("\"total\":1"));
    SyntheticFeed feed(*m_model);
    feed.start(100);
    // Updates come at most four times a second, each with the newest total.
    const auto newestTotal = [&got, &page] {
        got += page.readAll();
        const qsizetype at = got.lastIndexOf("\"total\":");
        return at < 0 ? 0 : got.mid(at + 8).split('}').value(0).split(',').value(0).toLongLong();
    };
    QTRY_VERIFY(newestTotal() >= 6);
    feed.stop();
    m_model->addReading(2000, 777);
    QCOMPARE(m_server->streamCount(), 1);
}

void tst_HostileRequests::tls() {
    QTemporaryDir dir;
    const QString cert = dir.filePath(QStringLiteral("cert.pem"));
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"),
                   QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-keyout"), key,
                   QStringLiteral("-out"), cert});
    QVERIFY(openssl.waitForFinished(60000));
    QCOMPARE(openssl.exitCode(), 0);
    ServeConfig config;
    config.token = Token;
    config.certificatePath = cert;
    config.keyPath = key;
    WebServer server(*m_model, config, smallLimits());
    QString error;
    QVERIFY2(server.listen(&error), qPrintable(error));

    QSslSocket client;
    client.setPeerVerifyMode(QSslSocket::VerifyNone);
    client.connectToHostEncrypted(QStringLiteral("127.0.0.1"), server.port());
    QTRY_VERIFY(client.isEncrypted());
    client.write("GET /?token=" + Token + " HTTP/1.1\r\n" + Host + "\r\n");
    const QByteArray answer = receive(client);
    QCOMPARE(statusLine(answer), QByteArray("HTTP/1.1 303 See Other"));
    QVERIFY(answer.contains("; HttpOnly; SameSite=Strict; Secure\r\n"));

    // Plain HTTP on the TLS port gets no answer.
    const QByteArray plain = exchange(server.port(), authorised("/metrics"));
    QVERIFY(!plain.contains("HTTP/1.1"));
}

QTEST_GUILESS_MAIN(tst_HostileRequests)
#include "tst_hostilerequests.moc"
