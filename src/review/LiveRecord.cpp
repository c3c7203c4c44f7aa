#include "review/LiveRecord.h"

#include <limits>

namespace zorneta {

FiringRecord liveRecord(const ReadingsTable &table, QList<QDateTime> *runStarts) {
    FiringRecord record;
    if (runStarts)
        runStarts->clear();
    for (qint64 c = table.firstColumn(); c <= table.lastColumn(); ++c) {
        const qint64 seconds = table.elapsedSeconds(1, c);
        if (seconds < 0 || seconds > std::numeric_limits<qint32>::max() || !table.isNumber(2, c))
            continue;
        const std::size_t runs = record.runs().size();
        if (!record.appendEntry(qint32(seconds), table.number(2, c)))
            break;
        if (runStarts && record.runs().size() > runs) {
            const QDateTime clock = table.clockTime(c);
            runStarts->append(clock.isValid() ? clock.addSecs(-seconds) : QDateTime());
        }
    }
    return record;
}

} // namespace zorneta
