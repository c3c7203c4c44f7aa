#pragma once

#include <QByteArray>
#include <QString>

namespace zorneta {

// Files written by the program are single-byte Windows-1251 text (the Cyrillic
// code page). Characters the code page lacks become '?'.
QByteArray encodeFileText(const QString &text);
// Received serial bytes as text, one character per byte, read as Windows-1251.
QString decodeLineText(const QByteArray &bytes);
// A single character typed by the user as the one byte sent to the line;
// 0 when the code page has no such character.
char encodeLineChar(QChar c);

} // namespace zorneta
