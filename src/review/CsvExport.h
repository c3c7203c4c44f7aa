#pragma once

#include "review/ReviewStatus.h"

#include <QDateTime>
#include <QIODevice>
#include <QList>
#include <QStringList>

namespace zorneta {

class FiringRecord;

// How a recording goes out to a spreadsheet.
struct CsvOptions {
    // ',' (a full stop in numbers) or ';' (a decimal comma, for spreadsheets
    // set to one).
    QChar separator = u',';
    // The clock time the stamps of run startRun count from (the moment its
    // port opened); invalid when unknown. Only that run's rows get a time.
    QDateTime start;
    int startRun = 1;
    // Where every run's start is known (a live session keeps the clock time
    // of each reading): the start of run n at index n - 1; an invalid entry
    // falls back on start and startRun.
    QList<QDateTime> runStarts;

    QDateTime startOf(int run) const {
        if (run >= 1 && run <= runStarts.size() && runStarts[run - 1].isValid())
            return runStarts[run - 1];
        return run == startRun ? start : QDateTime();
    }
};

// The header row's texts.
QStringList csvHeader();

// Writes the readings of a record as CSV: UTF-8 with a byte-order mark, a
// header row, CR LF after every row, fields quoted as RFC 4180 has it. One row
// per reading and per thermocouple break, in the order they came:
//   time    ISO 8601 local time with its offset (2026-12-08T10:00:03+03:00),
//           empty where the start is not known
//   elapsed seconds since the port opened (past 24 hours as they grow)
//   °C      the temperature; empty on a break row
//   run     the run number, from 1
//   break   "да" on a break row, empty otherwise
// The rows are written as they are made, a block at a time.
ReviewStatus exportCsv(const FiringRecord &record, const CsvOptions &options, QIODevice &out);
// The same from a recording file.
ReviewStatus exportCsv(const QString &recordPath, const CsvOptions &options, QIODevice &out);

} // namespace zorneta
