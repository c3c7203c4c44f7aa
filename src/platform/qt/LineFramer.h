#pragma once

#include <QByteArray>
#include <QList>

namespace zorneta {

// Cuts the bytes received from the line into chunks, one per event: each
// chunk ends with a line feed, except that bytes without one are handed out
// as a chunk of their own when more than MaxUnterminatedBytes pile up, or
// when the port sees nothing more arrive for a while (takeHeld()). Every
// byte received is in exactly one chunk, in order.
class LineFramer {
public:
    static constexpr int MaxUnterminatedBytes = 256;

    // Takes newly received bytes; returns the chunks they complete.
    QList<QByteArray> receive(const QByteArray &data);
    // The bytes held back waiting for a line feed, handed out as a chunk.
    QByteArray takeHeld();
    // Bytes are held back waiting for a line feed.
    bool holding() const { return !m_held.isEmpty(); }
    qsizetype heldBytes() const { return m_held.size(); }
    void clear() { m_held.clear(); }

private:
    QByteArray m_held;
};

} // namespace zorneta
