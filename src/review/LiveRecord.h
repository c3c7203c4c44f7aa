#pragma once

#include "common/ReadingsTable.h"
#include "review/FiringRecord.h"

#include <QDateTime>
#include <QList>

namespace zorneta {

// The live session's readings as a firing record, for an export or a report
// while the port is open. Every column of the table whose row 1 holds an
// elapsed-time label and row 2 a number becomes an entry, in column order:
// the label's seconds and the number (9999: a thermocouple break, as on the
// line). A time that steps back opens a new run, as in a recording file.
// runStarts, when given, gets each run's start (the clock time its port
// opened: the clock time of its first reading less its elapsed time), or an
// invalid time where the table does not know it (pasted readings).
FiringRecord liveRecord(const ReadingsTable &table, QList<QDateTime> *runStarts = nullptr);

} // namespace zorneta
