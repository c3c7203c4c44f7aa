#include "platform/qt/LineFramer.h"

#include <utility>

namespace zorneta {

QList<QByteArray> LineFramer::receive(const QByteArray &data) {
    QList<QByteArray> chunks;
    m_held.append(data);
    qsizetype start = 0;
    for (qsizetype lineFeed = m_held.indexOf('\n', start); lineFeed >= 0; lineFeed = m_held.indexOf('\n', start)) {
        chunks.append(m_held.mid(start, lineFeed + 1 - start));
        start = lineFeed + 1;
    }
    m_held.remove(0, start);
    if (m_held.size() > MaxUnterminatedBytes)
        chunks.append(takeHeld());
    return chunks;
}

QByteArray LineFramer::takeHeld() {
    return std::exchange(m_held, QByteArray());
}

} // namespace zorneta
