#include "session/SessionState.h"

namespace zorneta {

QString lastColumnLabel(qint64 column) {
    return u'C' + QString::number(column);
}

ReadingsTable freshReadings() {
    ReadingsTable table(1, InitialColumns);
    (void)table.setText(2, 1, QString::fromUtf16(InitialSeriesTitle));
    (void)table.setText(1, InitialColumns, lastColumnLabel(InitialColumns));
    return table;
}

} // namespace zorneta
