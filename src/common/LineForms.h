#pragma once

#include <QString>
#include <QStringView>

namespace zorneta {

// The two forms a received text takes: what the terminal box shows, and what
// the recording file gets.

// The box's form of received text: backspaces applied (a leading one erases
// the character before the text, reported through erasesPrevious), then every
// line end (CR LF, LF alone or CR alone) written as CR LF. A CR that ended the
// text before and an LF that begins this one are one line end: *afterCr says
// whether the text before ended with a CR, and is updated.
QString boxFormOf(QString text, bool *erasesPrevious = nullptr, bool *afterCr = nullptr);

// The record form of a box-form text: each line with an "hh:nn:ss" stamp and a
// TAB in front and an LF at its end. *atLineStart says whether the record
// stands at the start of a line (a line that has not ended yet goes on in the
// next text without a second stamp), and is updated.
QString recordFormOf(QStringView boxForm, const QString &stamp, bool *atLineStart);

} // namespace zorneta
