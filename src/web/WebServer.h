#pragma once

#include "web/ServeConfig.h"

#include <QObject>
#include <QString>

#include <memory>

namespace zorneta::web {

class MonitorModel;

// The read-only web endpoint over one model: the live page (/), its event
// stream (/events), /metrics, /api/session and /api/readings. Everything of
// HTTP lives here: a small strict HTTP/1.1 reader on a plain TCP listener
// (TLS on the same sockets when a certificate is given), so every
// connection is budgeted in bytes and time from its first byte on, and no
// request can change anything (GET and HEAD only).
class WebServer : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int maxConnections = 256;         // more are closed at once
        int maxHeaderBytes = 8192;        // request line and headers together
        int maxHeaders = 40;              // header lines
        int requestTimeoutMs = 10000;     // a whole request must arrive within this
        int idleTimeoutMs = 30000;        // an idle kept-alive connection is closed
        int eventIntervalMs = 250;        // a page gets at most one update this often
        int curveIntervalMs = 1000;       // and a new curve at most this often
        qint64 maxPendingBytes = 1 << 20; // a page that reads slower misses updates
    };

    WebServer(MonitorModel &model, ServeConfig config, Limits limits, QObject *parent = nullptr);
    WebServer(MonitorModel &model, ServeConfig config, QObject *parent = nullptr);
    ~WebServer() override;

    // Starts listening. False with a Russian *error (address taken, a
    // certificate that cannot be read, ...).
    bool listen(QString *error);
    // The port listened on (the one chosen when the configuration says 0).
    quint16 port() const;
    // Connections open now, and pages receiving the event stream.
    int connectionCount() const;
    int streamCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zorneta::web
