#include "common/TextEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zorneta {

namespace {
constexpr const char *CodePage = "windows-1251";
}

QByteArray EncodeFileText(const QString &text) {
    QStringEncoder encoder(CodePage);
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray bytes = encoder.encode(text);
    return bytes;
}

QString DecodeLineText(const QByteArray &bytes) {
    QStringDecoder decoder(CodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    QString text = decoder.decode(bytes);
    return text;
}

char EncodeLineChar(QChar c) {
    const QByteArray bytes = EncodeFileText(QString(c));
    // The encoder puts a substitute byte ('?' or SUB) for what the code page
    // lacks: only a byte that reads back as the same character stands for it.
    if (bytes.size() != 1 || DecodeLineText(bytes) != QString(c))
        return 0;
    return bytes[0];
}

} // namespace zorneta
