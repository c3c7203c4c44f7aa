#include "review/CsvExport.h"

#include "common/Formats.h"
#include "common/SystemErrors.h"
#include "review/FiringRecord.h"

#include <QDate>
#include <QFileDevice>

#include <cmath>

namespace zorneta {

namespace {
constexpr qint64 FlushBytes = 256 * 1024;
constexpr qint64 SecondsPerDay = 24 * 60 * 60;
// Time zones change their offset at most once in this many seconds.
constexpr qint64 SteadyOffsetSeconds = 15 * 60;
constexpr qint64 UnixEpochJulianDay = 2440588;

void appendInt(QByteArray &out, qint64 n, int width = 1) {
    char digits[24];
    int k = 0;
    const bool negative = n < 0;
    quint64 u = negative ? quint64(0) - quint64(n) : quint64(n);
    do {
        digits[k++] = char('0' + u % 10);
        u /= 10;
    } while (u != 0);
    while (k < width)
        digits[k++] = '0';
    if (negative)
        out += '-';
    while (k > 0)
        out += digits[--k];
}

// "yyyy-MM-ddTHH:mm:ss+hh:mm" of moments after a start, in this machine's
// local time. The offset is asked of the system once per quarter of an hour
// of the record, when it is the same at both ends of it.
class LocalTimeText {
public:
    explicit LocalTimeText(const QDateTime &start) : m_start(start.toSecsSinceEpoch()) {}

    void append(QByteArray &out, qint64 elapsed) {
        const qint64 utc = m_start + elapsed;
        const int offset = offsetAt(utc);
        const qint64 local = utc + offset;
        qint64 days = local / SecondsPerDay;
        qint64 inDay = local % SecondsPerDay;
        if (inDay < 0) {
            inDay += SecondsPerDay;
            --days;
        }
        const QDate date = QDate::fromJulianDay(days + UnixEpochJulianDay);
        appendInt(out, date.year(), 4);
        out += '-';
        appendInt(out, date.month(), 2);
        out += '-';
        appendInt(out, date.day(), 2);
        out += 'T';
        appendInt(out, inDay / 3600, 2);
        out += ':';
        appendInt(out, inDay / 60 % 60, 2);
        out += ':';
        appendInt(out, inDay % 60, 2);
        const int minutes = (offset < 0 ? -offset : offset) / 60;
        out += offset < 0 ? '-' : '+';
        appendInt(out, minutes / 60, 2);
        out += ':';
        appendInt(out, minutes % 60, 2);
    }

private:
    int offsetAt(qint64 utc) {
        if (utc >= m_steadyFrom && utc <= m_steadyTo)
            return m_offset;
        const int offset = QDateTime::fromSecsSinceEpoch(utc).offsetFromUtc();
        const qint64 to = utc + SteadyOffsetSeconds - 1;
        if (QDateTime::fromSecsSinceEpoch(to).offsetFromUtc() == offset) {
            m_steadyFrom = utc;
            m_steadyTo = to;
            m_offset = offset;
        }
        return offset;
    }

    qint64 m_start;
    qint64 m_steadyFrom = 1, m_steadyTo = 0;
    int m_offset = 0;
};

QByteArray field(const QString &text, QChar separator) {
    QString cell = text;
    if (cell.contains(separator) || cell.contains(u'"') || cell.contains(u'\r') || cell.contains(u'\n'))
        cell = u'"' + cell.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return cell.toUtf8();
}

QString deviceName(const QIODevice &out) {
    if (const auto *file = qobject_cast<const QFileDevice *>(&out); file && !file->fileName().isEmpty())
        return file->fileName();
    return QStringLiteral("(вывод)");
}

ReviewStatus writeAll(QIODevice &out, QByteArray &buffer) {
    const char *p = buffer.constData();
    qint64 left = buffer.size();
    while (left > 0) {
        const qint64 n = out.write(p, left);
        if (n <= 0)
            return ReviewStatus::failure(fileFailureText(FileAction::Write, deviceName(out), out.errorString()));
        p += n;
        left -= n;
    }
    buffer.clear();
    return ReviewStatus::ok();
}
} // namespace

QStringList csvHeader() {
    return {QStringLiteral("Время"), QStringLiteral("Прошло, с"), QStringLiteral("Температура, °C"),
            QStringLiteral("Сеанс"), QStringLiteral("Обрыв термопары")};
}

ReviewStatus exportCsv(const FiringRecord &record, const CsvOptions &options, QIODevice &out) {
    const char separator = char(options.separator.unicode());
    const bool decimalComma = options.separator != u',';
    QByteArray buffer;
    buffer.reserve(FlushBytes + 256);
    buffer += "\xEF\xBB\xBF";
    const QStringList header = csvHeader();
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (i > 0)
            buffer += separator;
        buffer += field(header[i], options.separator);
    }
    buffer += "\r\n";
    const QByteArray breakMark = field(QStringLiteral("да"), options.separator);
    for (const RecordRun &run : record.runs()) {
        std::optional<LocalTimeText> clock;
        if (const QDateTime start = options.startOf(run.number); start.isValid())
            clock.emplace(start);
        const bool timed = clock.has_value();
        const qint64 end = run.first + run.count;
        for (qint64 i = run.first; i < end; ++i) {
            const qint32 seconds = record.seconds(i);
            if (timed)
                clock->append(buffer, seconds);
            buffer += separator;
            appendInt(buffer, seconds);
            buffer += separator;
            const bool isBreak = record.isBreak(i);
            if (!isBreak) {
                const double v = record.value(i);
                if (v == std::trunc(v) && std::fabs(v) < 1e9) {
                    appendInt(buffer, qint64(v));
                } else {
                    QByteArray number = numberText(v).toLatin1();
                    if (decimalComma)
                        number.replace('.', ',');
                    buffer += number;
                }
            }
            buffer += separator;
            appendInt(buffer, run.number);
            buffer += separator;
            if (isBreak)
                buffer += breakMark;
            buffer += "\r\n";
            if (buffer.size() >= FlushBytes) {
                if (ReviewStatus written = writeAll(out, buffer); !written)
                    return written;
            }
        }
    }
    return writeAll(out, buffer);
}

ReviewStatus exportCsv(const QString &recordPath, const CsvOptions &options, QIODevice &out) {
    FiringRecord record;
    if (ReviewStatus loaded = record.load(recordPath); !loaded)
        return loaded;
    return exportCsv(record, options, out);
}

} // namespace zorneta
