#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace zorneta {

// "hh:nn:ss" of an elapsed number of seconds, shown as a time of day: it wraps
// after 24 hours (25 hours read 01:00:00). A negative span counts from zero.
QString elapsedText(qint64 seconds);
// Whole seconds from start to now (negative when the clock went back).
qint64 elapsedSeconds(const QDateTime &start, const QDateTime &now);
// "hh:nn:ss" of (now - start).
QString elapsedText(const QDateTime &start, const QDateTime &now);

// Call first thing in main(), before any date or time is handled. While TZ is
// unset, the C library looks at the time zone file again at every local-time
// conversion (a file-system call each time, and the handler makes several a
// reading); with TZ naming the system's zone file it reads it once. A TZ the
// user set is left alone.
void pinLocalTimeZone();

// "hh:nn:ss" of a time of day.
QString timeOfDayText(const QDateTime &moment);
// "hh.mm.ss" of a time of day.
QString timeWithDotsText(const QDateTime &moment);
// "dd mmmm hh`nn": two-digit day, full Russian month name, hours, a back-quote
// and minutes, e.g. "08 декабря 14`05".
QString seriesTitleText(const QDateTime &moment);
// Full Russian month name (1..12) as it reads after a day number.
QString russianMonthName(int month);
// The date and time as the program shows them by default: "dd.MM.yyyy hh:mm:ss".
QString dateTimeText(const QDateTime &moment);

// The number read from the start of a text: leading blanks, tabs and line
// feeds are skipped, then an optional sign, digits and one decimal point are
// read, stopping at the first other character. Empty when no digit is found.
std::optional<double> parseLeadingNumber(QStringView text);
// The same, 0 when there is no leading number.
double leadingNumber(QStringView text);

// The number a received group stands for: the text must read as a number as
// a whole, with only blanks, tabs, CRs and LFs around it ("0850\r\n",
// " 12.5"). Empty for anything else ("1#?Z", "12 34", "").
std::optional<double> parseReading(QStringView text);

// Four digits, CR and LF: a group exactly as the regulator sends it.
bool isWholeGroup(QByteArrayView line);

// A number as text without a leading blank: whole numbers without a decimal
// part, others with a full stop and up to 15 significant digits.
QString numberText(double value);

} // namespace zorneta
