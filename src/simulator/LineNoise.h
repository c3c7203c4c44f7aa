#pragma once

#include <QByteArray>

class QRandomGenerator;

namespace zorneta::sim {

// Writes all of `bytes` to the device's side of a line, waiting for room
// while the program has not taken the earlier bytes yet; meant for a thread
// of the device's own. False when the line refuses a write or stays full for
// ten seconds.
bool writeAllToLine(int fd, const QByteArray &bytes);

// A line of garbage ending in CR LF or LF alone: no digit, sign, point or
// blank, so it never reads as a number, and no CR or LF inside.
QByteArray garbageLine(QRandomGenerator &random);

} // namespace zorneta::sim
