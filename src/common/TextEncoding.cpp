#include "common/TextEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zorneta {

namespace {
constexpr const char *CodePage = "windows-1251";
}

QByteArray encodeFileText(const QString &text) {
    QStringEncoder encoder(CodePage);
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray bytes = encoder.encode(text);
    return bytes;
}

QString decodeLineText(const QByteArray &bytes) {
    QStringDecoder decoder(CodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    QString text = decoder.decode(bytes);
    return text;
}

char encodeLineChar(QChar c) {
    const QByteArray bytes = encodeFileText(QString(c));
    // The encoder puts a substitute byte ('?' or SUB) for what the code page
    // lacks: only a byte that reads back as the same character stands for it.
    if (bytes.size() != 1 || decodeLineText(bytes) != QString(c))
        return 0;
    return bytes[0];
}

} // namespace zorneta
