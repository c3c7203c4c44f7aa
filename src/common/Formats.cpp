#include "common/Formats.h"

#include <QLocale>

#include <cmath>
#include <ctime>

namespace zorneta {

namespace {
constexpr qint64 SecondsPerDay = 24 * 60 * 60;

QString twoDigits(qint64 n) {
    return QString::number(n).rightJustified(2, u'0');
}
} // namespace

QString elapsedText(qint64 seconds) {
    if (seconds < 0)
        seconds = -seconds;
    seconds %= SecondsPerDay;
    return twoDigits(seconds / 3600) + u':' + twoDigits(seconds / 60 % 60) + u':' + twoDigits(seconds % 60);
}

qint64 elapsedSeconds(const QDateTime &start, const QDateTime &now) {
    const qint64 ms = start.msecsTo(now);
    // Whole seconds, rounding toward zero.
    return ms / 1000;
}

void pinLocalTimeZone() {
    if (qEnvironmentVariableIsSet("TZ"))
        return;
    qputenv("TZ", ":/etc/localtime");
    tzset();
}

QString elapsedText(const QDateTime &start, const QDateTime &now) {
    return elapsedText(elapsedSeconds(start, now));
}

QString timeOfDayText(const QDateTime &moment) {
    return moment.time().toString(QStringLiteral("hh:mm:ss"));
}

QString timeWithDotsText(const QDateTime &moment) {
    return moment.time().toString(QStringLiteral("hh.mm.ss"));
}

QString russianMonthName(int month) {
    static const char16_t *const names[12] = {u"января", u"февраля", u"марта",    u"апреля",  u"мая",    u"июня",
                                              u"июля",   u"августа", u"сентября", u"октября", u"ноября", u"декабря"};
    if (month < 1 || month > 12)
        return QString();
    return QString::fromUtf16(names[month - 1]);
}

QString seriesTitleText(const QDateTime &moment) {
    const QDate d = moment.date();
    const QTime t = moment.time();
    return twoDigits(d.day()) + u' ' + russianMonthName(d.month()) + u' ' + twoDigits(t.hour()) + u'`' +
           twoDigits(t.minute());
}

QString dateTimeText(const QDateTime &moment) {
    return moment.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

std::optional<double> parseLeadingNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    double whole = 0.0;
    double scale = 1.0;
    bool digits = false;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits = true;
            const int d = c.unicode() - u'0';
            if (point) {
                scale /= 10.0;
                whole += d * scale;
            } else {
                whole = whole * 10.0 + d;
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    return negative ? -whole : whole;
}

std::optional<double> parseReading(QStringView text) {
    auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    qsizetype from = 0, to = text.size();
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    const QStringView core = text.sliced(from, to - from);
    for (qsizetype i = 0; i < core.size(); ++i) {
        const QChar c = core[i];
        const bool sign = (c == u'+' || c == u'-') && i == 0;
        if (!sign && c != u'.' && !(c >= u'0' && c <= u'9'))
            return std::nullopt;
    }
    if (core.count(u'.') > 1)
        return std::nullopt;
    return parseLeadingNumber(core);
}

double leadingNumber(QStringView text) {
    return parseLeadingNumber(text).value_or(0.0);
}

QString numberText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

bool isWholeGroup(QByteArrayView line) {
    if (line.size() != 6 || line[4] != '\r' || line[5] != '\n')
        return false;
    for (qsizetype i = 0; i < 4; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return false;
    }
    return true;
}

} // namespace zorneta
