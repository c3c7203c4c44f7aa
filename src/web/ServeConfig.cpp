#include "web/ServeConfig.h"

#include <QFile>
#include <QRegularExpression>

namespace zorneta::web {

bool ServeConfig::parseListen(const QString &text, QHostAddress *address, quint16 *port, QString *error) {
    QString host;
    QString portText = text;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(QStringLiteral("]:"));
        if (close < 0) {
            *error = QStringLiteral("--serve: нужно [АДРЕС:]ПОРТ, например 127.0.0.1:8080");
            return false;
        }
        host = text.mid(1, close - 1);
        portText = text.mid(close + 2);
    } else if (const qsizetype colon = text.lastIndexOf(u':'); colon >= 0) {
        host = text.left(colon);
        portText = text.mid(colon + 1);
    }
    bool ok = false;
    const uint number = portText.toUInt(&ok);
    if (!ok || number == 0 || number > 65535) {
        *error = QStringLiteral("--serve: нужен номер порта от 1 до 65535");
        return false;
    }
    QHostAddress parsed(QHostAddress::LocalHost);
    if (!host.isEmpty() && !parsed.setAddress(host)) {
        *error = QStringLiteral("--serve: адрес \"%1\" не распознан (нужен IP-адрес)").arg(host);
        return false;
    }
    *address = parsed;
    *port = quint16(number);
    return true;
}

bool ServeConfig::parseLabel(const QString &text, QPair<QString, QString> *label, QString *error) {
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,63}$"));
    const qsizetype eq = text.indexOf(u'=');
    const QString key = eq < 0 ? text : text.left(eq);
    const QString value = eq < 0 ? QString() : text.mid(eq + 1);
    if (eq < 0 || !name.match(key).hasMatch() || key.startsWith(QStringLiteral("__")) ||
        key == QStringLiteral("code") || key == QStringLiteral("state")) {
        *error = QStringLiteral("--serve-label: нужно ИМЯ=ЗНАЧЕНИЕ, имя из латинских букв, цифр и \"_\" "
                                "(не \"code\", не \"state\", не с \"__\" в начале)");
        return false;
    }
    bool control = false;
    for (const QChar c : value)
        control = control || c.category() == QChar::Other_Control;
    if (value.isEmpty() || value.size() > 128 || control) {
        *error = QStringLiteral("--serve-label: значение метки должно быть непустым, не длиннее 128 знаков и без "
                                "управляющих символов");
        return false;
    }
    *label = {key, value};
    return true;
}

bool ServeConfig::readToken(const QString &path, QByteArray *token, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("--serve-token-file: не удалось прочитать файл %1").arg(path);
        return false;
    }
    const QByteArray first = file.read(4096).split('\n').value(0).trimmed();
    bool printable = !first.isEmpty();
    for (const char c : first)
        printable = printable && c > ' ' && c < 127 && c != ';' && c != ',' && c != '"' && c != '\\';
    if (!printable || first.size() < 16) {
        *error = QStringLiteral("--serve-token-file: в первой строке файла %1 нужен ключ доступа не короче 16 "
                                "знаков, из латинских букв, цифр и знаков без пробелов")
                     .arg(path);
        return false;
    }
    *token = first;
    return true;
}

} // namespace zorneta::web
