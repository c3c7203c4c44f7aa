#pragma once

#include "common/ReadingsTable.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace zorneta {

// The chart's data as the clipboard carries it: two lines, each ended by
// CR LF, cells separated by TAB, one column per column of the table.
//
//   line 1: an empty corner cell, then row 1 (the X-axis labels);
//   line 2: the series title, then row 2 (the temperatures; a point without
//           a reading is an empty cell).
//
// Numbers are written plainly (see numberText): a full stop as the decimal
// separator, no thousands separator, whole numbers without a decimal part.

// Limits of what a paste takes. Copied data of the program is about 14
// characters a point (an "hh:nn:ss" label, a four-digit reading, two TABs):
// a week of readings at 0.64 s, about 10^6 points, is some 13 MB of text.
// The limits let in a little over two weeks of such data.
//
// The text as a whole, in characters (32 MB).
inline constexpr qsizetype ChartDataMaxTextLength = qsizetype(32) * 1024 * 1024;
// Points after the title column: two weeks at 0.64 s are 1.9 million.
inline constexpr qint64 ChartDataMaxPoints = 2000000;
// Any one cell (a label, the title, a value), in characters. The program
// writes labels of eight or so characters and titles of a few dozen.
inline constexpr qsizetype ChartDataMaxCellLength = 255;
// The largest magnitude of a value: readings are at most six characters
// long, and well beyond this the value axis cannot be laid out.
inline constexpr double ChartDataMaxValue = 1e15;

// The table as text.
QString chartDataText(const ReadingsTable &table);

// What reading a text back came to: the table, or the reason it was refused
// as the user reads it (Russian, ending with "График не изменён.").
struct ChartDataReading {
    std::optional<ReadingsTable> table;
    QString refusal;
};

// The table read back from a text, its first column numbered firstColumn.
// Line ends may be CR LF, LF or CR alone; empty lines after the second are
// ignored; a decimal comma is read too; labels "hh:nn:ss" become elapsed-time
// labels. Refused: text longer than ChartDataMaxTextLength (checked before
// anything else is done with it), other than two lines with a TAB in one of
// them, with more than ChartDataMaxPoints points, a cell longer than
// ChartDataMaxCellLength, a value cell that is not a number, or a number
// that is not finite or beyond ChartDataMaxValue.
ChartDataReading readChartDataText(QStringView text, qint64 firstColumn = 1);

// The refusal of text that is not chart data at all.
QString notChartDataText();

} // namespace zorneta
