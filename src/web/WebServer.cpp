#include "web/WebServer.h"

#include "web/MonitorModel.h"
#include "web/MonitorViews.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>
#include <QUrlQuery>

#include <functional>
#include <list>
#include <map>

namespace zorneta::web {

namespace {

constexpr char CookieName[] = "zorneta_token";
constexpr int PingIntervalMs = 15000;
constexpr int CloseGraceMs = 2000;

// Hands each accepted descriptor to the server before Qt makes a socket of it,
// so TLS and the connection budget start with the first byte.
class Listener : public QTcpServer {
public:
    std::function<void(qintptr)> accept;

protected:
    void incomingConnection(qintptr descriptor) override { accept(descriptor); }
};

bool sameSecret(const QByteArray &given, const QByteArray &expected) {
    // Digests of equal length, compared without an early exit: the time
    // taken says nothing about how much of the token was right.
    const QByteArray a = QCryptographicHash::hash(given, QCryptographicHash::Sha256);
    const QByteArray b = QCryptographicHash::hash(expected, QCryptographicHash::Sha256);
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

bool isToken(QByteArrayView text) {
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
        if (!ok)
            return false;
    }
    return true;
}

bool isVisible(QByteArrayView text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7f)
            return false;
    }
    return true;
}

struct Request {
    QByteArray method;
    QByteArray path;
    QUrlQuery query;
    bool http10 = false;
    std::map<QByteArray, QByteArray> headers; // names in lower case; repeated ones joined by ", "
};

} // namespace

struct WebServer::Impl {
    enum class Phase { Reading, Streaming, Closing };
    struct Connection {
        quint64 id = 0;
        QPointer<QTcpSocket> socket;
        QByteArray buffer;
        QElapsedTimer since; // the request began, or the stream last got something
        bool idle = false;   // waiting for the next request on a kept-alive connection
        Phase phase = Phase::Reading;
        int width = 0;
        quint64 stateSent = 0;
        quint64 curveSent = 0;
        qint64 curveAt = -1'000'000;
    };

    Impl(WebServer *owner, MonitorModel &model, ServeConfig config, Limits limits)
        : q(owner), model(model), config(std::move(config)), limits(limits), views(model, this->config.labels) {}

    WebServer *q;
    MonitorModel &model;
    ServeConfig config;
    Limits limits;
    MonitorViews views;
    Listener listener;
    QSslConfiguration tls;
    std::list<Connection> connections;
    QTimer sweep;
    QTimer publish;
    QElapsedTimer clock;
    quint64 lastId = 0;
    // Payloads built once for every page: the session per revision, the
    // curve per width and revision.
    quint64 sessionRevision = ~quint64(0);
    QByteArray sessionText;
    std::map<int, std::pair<quint64, QByteArray>> curves;

    std::list<Connection>::iterator find(quint64 id) {
        for (auto i = connections.begin(); i != connections.end(); ++i) {
            if (i->id == id)
                return i;
        }
        return connections.end();
    }
    const QByteArray &sessionPayload() {
        if (sessionRevision != model.revision()) {
            sessionText = views.session();
            sessionRevision = model.revision();
        }
        return sessionText;
    }
    const QByteArray &curvePayload(int width) {
        auto &[revision, text] = curves[width];
        if (text.isEmpty() || revision != model.revision()) {
            text = views.curve(width);
            revision = model.revision();
        }
        return text;
    }

    void accept(qintptr descriptor);
    void read(std::list<Connection>::iterator it);
    void handle(std::list<Connection>::iterator it, const Request &request);
    void answer(Connection &c, int status, const QByteArray &type, const QByteArray &body,
                const QList<QByteArray> &extra = {}, bool close = false, bool head = false);
    void refuse(Connection &c, int status, const QByteArray &text, const QList<QByteArray> &extra = {});
    void startStream(Connection &c, int width);
    void sendEvents(Connection &c, bool force);
    void tick();
    void push();
    void drop(std::list<Connection>::iterator it);
    bool authorised(const Request &request) const;
};

WebServer::WebServer(MonitorModel &model, ServeConfig config, QObject *parent)
    : WebServer(model, std::move(config), Limits(), parent) {}

WebServer::WebServer(MonitorModel &model, ServeConfig config, Limits limits, QObject *parent)
    : QObject(parent), d(std::make_unique<Impl>(this, model, std::move(config), limits)) {
    d->clock.start();
    d->listener.accept = [this](qintptr descriptor) { d->accept(descriptor); };
    d->sweep.setInterval(std::clamp(std::min(limits.requestTimeoutMs, limits.idleTimeoutMs) / 4, 10, 250));
    connect(&d->sweep, &QTimer::timeout, this, [this] { d->tick(); });
    d->publish.setInterval(std::max(limits.eventIntervalMs, 10));
    connect(&d->publish, &QTimer::timeout, this, [this] { d->push(); });
}

WebServer::~WebServer() {
    for (auto &c : d->connections) {
        if (c.socket) {
            c.socket->disconnect(this);
            c.socket->abort();
            delete c.socket.data();
        }
    }
}

bool WebServer::listen(QString *error) {
    if (d->config.tls()) {
        QFile certFile(d->config.certificatePath);
        QFile keyFile(d->config.keyPath);
        if (!certFile.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("--serve-cert: не удалось прочитать файл %1").arg(d->config.certificatePath);
            return false;
        }
        if (!keyFile.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("--serve-key: не удалось прочитать файл %1").arg(d->config.keyPath);
            return false;
        }
        const QList<QSslCertificate> chain = QSslCertificate::fromData(certFile.readAll(), QSsl::Pem);
        const QByteArray keyBytes = keyFile.readAll();
        QSslKey key(keyBytes, QSsl::Rsa, QSsl::Pem);
        if (key.isNull())
            key = QSslKey(keyBytes, QSsl::Ec, QSsl::Pem);
        if (chain.isEmpty() || chain.first().isNull()) {
            *error = QStringLiteral("--serve-cert: в файле %1 нет сертификата PEM").arg(d->config.certificatePath);
            return false;
        }
        if (key.isNull()) {
            *error = QStringLiteral("--serve-key: в файле %1 нет закрытого ключа PEM (RSA или EC) без пароля")
                         .arg(d->config.keyPath);
            return false;
        }
        if (!QSslSocket::supportsSsl()) {
            *error = QStringLiteral("--serve-cert: TLS недоступен в этой системе");
            return false;
        }
        d->tls = QSslConfiguration::defaultConfiguration();
        d->tls.setLocalCertificateChain(chain);
        d->tls.setPrivateKey(key);
        d->tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        d->tls.setProtocol(QSsl::TlsV1_2OrLater);
    }
    d->listener.setMaxPendingConnections(64);
    if (!d->listener.listen(d->config.address, d->config.port)) {
        *error = QStringLiteral("--serve: не удалось принимать соединения на %1:%2: %3")
                     .arg(d->config.address.toString())
                     .arg(d->config.port)
                     .arg(d->listener.errorString());
        return false;
    }
    d->sweep.start();
    return true;
}

quint16 WebServer::port() const {
    return d->listener.serverPort();
}

int WebServer::connectionCount() const {
    return int(d->connections.size());
}

int WebServer::streamCount() const {
    int n = 0;
    for (const auto &c : d->connections)
        n += c.phase == Impl::Phase::Streaming ? 1 : 0;
    return n;
}

void WebServer::Impl::accept(qintptr descriptor) {
    QTcpSocket *socket = config.tls() ? new QSslSocket(q) : new QTcpSocket(q);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    if (int(connections.size()) >= limits.maxConnections) {
        // Over the budget: closed at once, nothing read.
        socket->abort();
        socket->deleteLater();
        return;
    }
    connections.push_back(Connection{});
    auto it = std::prev(connections.end());
    const quint64 id = ++lastId;
    it->id = id;
    it->socket = socket;
    it->since.start();
    socket->setReadBufferSize(limits.maxHeaderBytes + 1);
    if (auto *ssl = qobject_cast<QSslSocket *>(socket)) {
        ssl->setSslConfiguration(tls);
        QObject::connect(ssl, &QSslSocket::sslErrors, ssl, [ssl](const QList<QSslError> &) { ssl->abort(); });
        ssl->startServerEncryption();
    }
    QObject::connect(socket, &QTcpSocket::readyRead, q, [this, id] {
        if (const auto i = find(id); i != connections.end())
            read(i);
    });
    // Queued: a socket may say it is gone in the middle of an answer.
    QObject::connect(
        socket, &QTcpSocket::disconnected, q,
        [this, id] {
            if (const auto i = find(id); i != connections.end())
                drop(i);
        },
        Qt::QueuedConnection);
}

void WebServer::Impl::drop(std::list<Connection>::iterator it) {
    if (it->socket) {
        it->socket->disconnect(q);
        it->socket->abort();
        it->socket->deleteLater();
    }
    connections.erase(it);
}

void WebServer::Impl::read(std::list<Connection>::iterator it) {
    Connection &c = *it;
    QTcpSocket *socket = c.socket;
    if (!socket)
        return;
    if (c.phase != Phase::Reading) {
        // Nothing more is read from a stream or a connection being closed;
        // a client that keeps sending past the budget is cut off.
        const QByteArray extra = socket->read(limits.maxHeaderBytes + 1);
        c.buffer.clear();
        if (c.phase == Phase::Streaming && extra.size() > limits.maxHeaderBytes)
            drop(it);
        return;
    }
    while (c.phase == Phase::Reading) {
        const qint64 room = limits.maxHeaderBytes + 1 - c.buffer.size();
        c.buffer += socket->read(std::max<qint64>(room, 0));
        if (c.idle && !c.buffer.isEmpty()) {
            c.idle = false;
            c.since.start();
        }
        const qsizetype end = c.buffer.indexOf("\r\n\r\n");
        if (end < 0) {
            if (c.buffer.size() > limits.maxHeaderBytes)
                refuse(c, 431, "Слишком длинный запрос");
            else if (c.buffer.size() >= 2 && c.buffer.startsWith("\r\n"))
                refuse(c, 400, "Неверный запрос");
            return;
        }
        const QByteArray head = c.buffer.left(end);
        c.buffer.remove(0, end + 4);
        const QList<QByteArray> lines = head.split('\n');
        Request request;
        bool bad = false;
        // The last line has had its CR LF cut with the blank line.
        const auto stripped = [&lines](qsizetype i) {
            const QByteArray &l = lines[i];
            return i + 1 == lines.size() ? l : l.chopped(1);
        };
        if (lines.size() - 1 > limits.maxHeaders) {
            refuse(c, 431, "Слишком много заголовков");
            return;
        }
        const QByteArray requestLine = stripped(0);
        const QList<QByteArray> parts = requestLine.split(' ');
        if (parts.size() != 3 || !isToken(parts[0]) || !parts[1].startsWith('/') || !isVisible(parts[1]) ||
            (parts[2] != "HTTP/1.1" && parts[2] != "HTTP/1.0") || parts[1].size() > 2048) {
            refuse(c, 400, "Неверная строка запроса");
            return;
        }
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            bad = bad || !lines[i].endsWith('\r');
        request.method = parts[0];
        request.http10 = parts[2] == "HTTP/1.0";
        const qsizetype question = parts[1].indexOf('?');
        request.path = question < 0 ? parts[1] : parts[1].left(question);
        if (question >= 0)
            request.query = QUrlQuery(QString::fromLatin1(parts[1].mid(question + 1)));
        for (qsizetype i = 1; i < lines.size() && !bad; ++i) {
            const QByteArray line = stripped(i);
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0 || !isToken(line.left(colon)) || line.contains('\r') || line.contains('\0')) {
                bad = true;
                break;
            }
            const QByteArray name = line.left(colon).toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            auto [place, fresh] = request.headers.try_emplace(name, value);
            if (!fresh)
                place->second += ", " + value;
        }
        if (bad || (!request.http10 && !request.headers.contains("host"))) {
            refuse(c, 400, "Неверные заголовки запроса");
            return;
        }
        const bool hasBody =
            request.headers.contains("transfer-encoding") ||
            (request.headers.contains("content-length") && request.headers.at("content-length") != "0");
        if (request.method != "GET" && request.method != "HEAD") {
            refuse(c, 405, "Программа только показывает: запросы, меняющие что-либо, не принимаются",
                   {"Allow: GET, HEAD"});
            return;
        }
        if (hasBody) {
            refuse(c, 400, "Запрос GET не может нести тело");
            return;
        }
        handle(it, request);
        c.idle = c.buffer.isEmpty();
        c.since.start();
        if (c.buffer.isEmpty() && socket->bytesAvailable() == 0)
            return;
    }
}

bool WebServer::Impl::authorised(const Request &request) const {
    if (config.token.isEmpty())
        return true;
    bool ok = false;
    if (const auto a = request.headers.find("authorization"); a != request.headers.end()) {
        const QByteArray value = a->second;
        if (value.startsWith("Bearer "))
            ok = sameSecret(value.mid(7).trimmed(), config.token) || ok;
    }
    if (const auto cookie = request.headers.find("cookie"); cookie != request.headers.end()) {
        for (const QByteArray &piece : cookie->second.split(';')) {
            const QByteArray p = piece.trimmed();
            if (p.startsWith(QByteArray(CookieName) + '='))
                ok = sameSecret(p.mid(qsizetype(sizeof CookieName)), config.token) || ok;
        }
    }
    return ok;
}

void WebServer::Impl::handle(std::list<Connection>::iterator it, const Request &request) {
    Connection &c = *it;
    const bool head = request.method == "HEAD";
    const bool keep = !request.http10 && !(request.headers.contains("connection") &&
                                           request.headers.at("connection").toLower().contains("close"));
    if (!config.token.isEmpty() && request.path == "/" && request.query.hasQueryItem(QStringLiteral("token"))) {
        // The token from a link: kept in a cookie, then out of the address bar.
        const QByteArray given = request.query.queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded).toUtf8();
        if (!sameSecret(given, config.token)) {
            refuse(c, 401, "Неверный ключ доступа", {"WWW-Authenticate: Bearer"});
            return;
        }
        QByteArray cookie =
            "Set-Cookie: " + QByteArray(CookieName) + '=' + config.token + "; Path=/; HttpOnly; SameSite=Strict";
        if (config.tls())
            cookie += "; Secure";
        answer(c, 303, "text/plain; charset=utf-8", "", {cookie, "Location: /"}, !keep, head);
        return;
    }
    if (!authorised(request)) {
        refuse(c, 401, "Нужен ключ доступа", {"WWW-Authenticate: Bearer"});
        return;
    }
    const auto number = [&request](const char *name, qint64 fallback, bool *ok) {
        if (!request.query.hasQueryItem(QString::fromLatin1(name)))
            return fallback;
        return request.query.queryItemValue(QString::fromLatin1(name)).toLongLong(ok);
    };
    if (request.path == "/") {
        answer(c, 200, "text/html; charset=utf-8", MonitorViews::page(),
               {"Content-Security-Policy: default-src 'none'; script-src 'unsafe-inline'; style-src "
                "'unsafe-inline'; connect-src 'self'; img-src 'self'",
                "X-Frame-Options: DENY", "Referrer-Policy: no-referrer"},
               !keep, head);
    } else if (request.path == "/metrics") {
        answer(c, 200, "text/plain; version=0.0.4; charset=utf-8", views.metrics(QDateTime::currentMSecsSinceEpoch()),
               {}, !keep, head);
    } else if (request.path == "/api/session") {
        answer(c, 200, "application/json", views.session(), {}, !keep, head);
    } else if (request.path == "/api/readings") {
        bool okFrom = true, okLimit = true;
        const qint64 from = number("from", 0, &okFrom);
        const qint64 limit = number("limit", 1000, &okLimit);
        if (!okFrom || !okLimit || from < 0 || limit < 0)
            refuse(c, 400, "from и limit: нужны неотрицательные целые числа");
        else
            answer(c, 200, "application/json", views.readings(from, limit), {}, !keep, head);
    } else if (request.path == "/events") {
        bool ok = true;
        const qint64 width = number("width", 800, &ok);
        if (!ok)
            refuse(c, 400, "width: нужно целое число");
        else if (head)
            answer(c, 200, "text/event-stream", "", {}, !keep, true);
        else
            startStream(c, int(std::clamp<qint64>(width, MonitorViews::MinWidth, MonitorViews::MaxWidth)));
    } else {
        answer(c, 404, "text/plain; charset=utf-8", "Нет такой страницы\n", {}, !keep, head);
    }
}

void WebServer::Impl::answer(Connection &c, int status, const QByteArray &type, const QByteArray &body,
                             const QList<QByteArray> &extra, bool close, bool head) {
    static const std::map<int, QByteArray> reasons{{200, "OK"},
                                                   {303, "See Other"},
                                                   {400, "Bad Request"},
                                                   {401, "Unauthorized"},
                                                   {404, "Not Found"},
                                                   {405, "Method Not Allowed"},
                                                   {408, "Request Timeout"},
                                                   {431, "Request Header Fields Too Large"}};
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasons.at(status) + "\r\n";
    out += "Content-Type: " + type + "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n";
    for (const QByteArray &line : extra)
        out += line + "\r\n";
    if (close)
        out += "Connection: close\r\n";
    out += "\r\n";
    if (!head)
        out += body;
    c.socket->write(out);
    if (close) {
        c.phase = Phase::Closing;
        c.since.start();
        c.socket->disconnectFromHost();
    }
}

void WebServer::Impl::refuse(Connection &c, int status, const QByteArray &text, const QList<QByteArray> &extra) {
    c.buffer.clear();
    answer(c, status, "text/plain; charset=utf-8", text + '\n', extra, true);
}

void WebServer::Impl::startStream(Connection &c, int width) {
    c.phase = Phase::Streaming;
    c.width = width;
    c.since.start();
    c.socket->setReadBufferSize(4096);
    c.socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/event-stream; charset=utf-8\r\nCache-Control: "
                    "no-store\r\nX-Content-Type-Options: nosniff\r\n\r\nretry: 2000\n\n");
    sendEvents(c, true);
    publish.start();
}

void WebServer::Impl::sendEvents(Connection &c, bool force) {
    if (!c.socket || c.socket->bytesToWrite() > limits.maxPendingBytes)
        return; // a slow page skips updates; it gets the newest state later
    const quint64 revision = model.revision();
    const qint64 now = clock.elapsed();
    if (force || c.stateSent != revision) {
        c.socket->write("event: state\ndata: " + sessionPayload() + "\n\n");
        c.stateSent = revision;
        c.since.start();
    }
    if (force || (c.curveSent != revision && now - c.curveAt >= limits.curveIntervalMs)) {
        c.socket->write("event: curve\ndata: " + curvePayload(c.width) + "\n\n");
        c.curveSent = revision;
        c.curveAt = now;
        c.since.start();
    }
}

void WebServer::Impl::push() {
    bool streams = false;
    for (auto &c : connections) {
        if (c.phase != Phase::Streaming)
            continue;
        streams = true;
        sendEvents(c, false);
    }
    if (curves.size() > 32)
        curves.clear();
    if (!streams)
        publish.stop();
}

void WebServer::Impl::tick() {
    for (auto it = connections.begin(); it != connections.end();) {
        auto next = std::next(it);
        Connection &c = *it;
        const qint64 age = c.since.elapsed();
        if (!c.socket) {
            connections.erase(it);
        } else if (c.phase == Phase::Reading && !c.idle && age > limits.requestTimeoutMs) {
            refuse(c, 408, "Запрос не пришёл вовремя");
        } else if (c.phase == Phase::Reading && c.idle && age > limits.idleTimeoutMs) {
            drop(it);
        } else if (c.phase == Phase::Closing && age > CloseGraceMs) {
            drop(it);
        } else if (c.phase == Phase::Streaming && c.socket->bytesToWrite() > limits.maxPendingBytes &&
                   age > limits.idleTimeoutMs) {
            drop(it); // a page that stopped reading
        } else if (c.phase == Phase::Streaming && age > PingIntervalMs &&
                   c.socket->bytesToWrite() <= limits.maxPendingBytes) {
            c.socket->write(": \n\n");
            c.since.start();
        }
        it = next;
    }
}

} // namespace zorneta::web
