#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>

namespace zorneta::web {

// How the web endpoint is served: where, to whom, with which labels.
struct ServeConfig {
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 0;
    // Labels added to every series of /metrics, in the order given.
    QList<QPair<QString, QString>> labels;
    // The token every request must carry; empty: none is asked for
    // (allowed only on the loopback address).
    QByteArray token;
    // PEM files of the certificate and its key: TLS when both are given.
    QString certificatePath;
    QString keyPath;

    bool tls() const { return !certificatePath.isEmpty(); }

    // "[ADDR:]PORT" (an IPv6 address in brackets). False with a Russian *error.
    static bool parseListen(const QString &text, QHostAddress *address, quint16 *port, QString *error);
    // "name=value": a Prometheus label name of our own choice and a value.
    static bool parseLabel(const QString &text, QPair<QString, QString> *label, QString *error);
    // The token is the file's first line, spaces around it dropped.
    static bool readToken(const QString &path, QByteArray *token, QString *error);
};

} // namespace zorneta::web
