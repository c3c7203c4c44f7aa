#include "simulator/LineNoise.h"

#include <QRandomGenerator>

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace zorneta::sim {

bool writeAllToLine(int fd, const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, 10000) <= 0)
            return false;
    }
    return true;
}

QByteArray garbageLine(QRandomGenerator &random) {
    static const QByteArray forbidden("0123456789+-. \t\r\n");
    QByteArray line;
    const int length = int(random.bounded(1, 300));
    while (line.size() < length) {
        const char c = char(random.bounded(256));
        if (!forbidden.contains(c))
            line.append(c);
    }
    return line + (random.bounded(2) ? "\r\n" : "\n");
}

} // namespace zorneta::sim
