// Recording files as the program writes them, for the review tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace samples {

// Two runs: the first crosses midnight (23:59:48 to 00:00:06 of the next
// day) with garbage, a thermocouple break, a long line and a bad stamp; the
// second starts again at 00:00:00 with the tail of a group, a reading with
// blanks and one with a decimal point.
inline QByteArray twoRuns() {
    return QByteArray("garbage before the first stamp\n"
                      "23:59:48\t0850\n"
                      "23:59:52\t0855\r\n"
                      "23:59:59\t1#?Z\n"
                      "00:00:03\t0860\n"
                      "00:00:04\t9999\n"
                      "00:00:05\t12345678\n"
                      "00:00:06\t0870\n"
                      "25:00:00\t0900\n"
                      "00:00:00\t45\n"
                      "00:00:01\t0020\n"
                      "00:00:02\t 21\n"
                      "00:00:05\t12.5\n");
}

inline bool write(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// "hh:nn:ss" TAB text LF.
inline QByteArray line(qint64 seconds, const QByteArray &text) {
    seconds %= 24 * 3600;
    return QByteArray::number(seconds / 3600).rightJustified(2, '0') + ':' +
           QByteArray::number(seconds / 60 % 60).rightJustified(2, '0') + ':' +
           QByteArray::number(seconds % 60).rightJustified(2, '0') + '\t' + text + '\n';
}

} // namespace samples
