#include "review/LiveRecord.h"

#include <limits>

namespace zorneta {

FiringRecord liveRecord(const ReadingsTable &table) {
    FiringRecord record;
    for (qint64 c = table.firstColumn(); c <= table.lastColumn(); ++c) {
        const qint64 seconds = table.elapsedSeconds(1, c);
        if (seconds < 0 || seconds > std::numeric_limits<qint32>::max() || !table.isNumber(2, c))
            continue;
        if (!record.appendEntry(qint32(seconds), table.number(2, c)))
            break;
    }
    return record;
}

} // namespace zorneta
